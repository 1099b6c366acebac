// The list boxes that core's callers reach through the user interface.
#include "core/delimited_lists.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "dialogs/msgbox.h"
#include "platform/grid/flex_grid.h"
#include "platform/ui/forms.h"
#include "tests/dialogs_qt/box_fixture.h"
#include "window/grid_operations.h"

using testsupport::Answer;
using testsupport::ScriptedResponder;

namespace {

class InterfaceListTest : public dlgtest::BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        TXT_CrLfInit();
        dlg::installMessageBoxes();
    }
    void TearDown() override {
        core::setUserInterface(nullptr);
        BoxTest::TearDown();
    }
};

long loadedBoxes() {
    long n = 0;
    for (QWidget* f : ui::loadedForms()) n += CHUNKS_Get(1, ui::tag(f)) == "MsgBxForm";
    return n;
}

}  // namespace

TEST_F(InterfaceListTest, ListPickGivesThePressedButtonAmongTheCallersAndTheChosenItem) {
    const std::vector<std::string> sites = {"alpha", "beta", "gamma"};
    struct Case {
        const char* name;
        std::string buttons, chosenIn;
        int row;  // grid row to choose; row 0 is the fixed header row, and 0 chooses nothing
        std::string press;
        std::vector<std::string> shownButtons;
        std::string shownRow;
        int result;
        std::string chosenOut;
    };
    const Case cases[] = {
        {"another item and a middle button", "&OK|R&emove |&Cancel", "beta", 3, "R&emove ",
         {"&OK", "R&emove ", "&Cancel"}, "2", 2, "gamma"},
        {"a standard set", "1", "beta", 0, "&Cancel", {"&OK", "&Cancel"}, "2", 2, "beta"},
        {"nothing chosen", "&OK|&Cancel", "", 0, "&OK", {"&OK", "&Cancel"}, "0", 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedResponder responder;
        responder.expect({.press = c.press, .act = [row = c.row](const core::DlgView&, core::DlgDriver& d) {
                              if (row) d.choose(1, {row});
                          }});
        std::string chosen = c.chosenIn;
        EXPECT_EQ(core::ui().listPick(sites, "Site DB", "|||||||||1||{7800}|{1}", c.buttons,
                                      "Current Site DB is: beta", "Select site database", chosen),
                  c.result);
        EXPECT_EQ(chosen, c.chosenOut);
        const core::DlgView& v = responder.shown().at(0);
        EXPECT_EQ(v.buttons, c.shownButtons);
        EXPECT_NE(v.caption.find("Select site database"), std::string::npos);
        EXPECT_EQ(v.ctls.at(0).items, sites);
        EXPECT_EQ(v.ctls.at(0).selection, c.shownRow);
        EXPECT_EQ(v.ctls.at(1).caption, "Current Site DB is: beta");
        EXPECT_EQ(loadedBoxes(), 0);  // the kept box goes with the dialog
    }
}

TEST_F(InterfaceListTest, EscAndTheCloseBoxPressTheCallersCancelOrElseItsLastButton) {
    struct Case {
        const char* name;
        std::string buttons;
        bool closeBox;
        int result;
    };
    const Case cases[] = {
        {"Esc on a site list", "&OK|R&emove |Show Op&tions for Site DB|&Cancel", false, 4},
        {"the close box of a site list", "&OK|R&emove |Show Op&tions for Site DB|&Cancel", true, 4},
        {"Esc on a single button", "&Continue", false, 1},
        {"Esc on the previous analyses, Cancel in the middle",
         "&OK - Use selected analysis to make new report|&Cancel|Enter options for ne&w analysis", false, 2},
        {"the close box there", "&OK - Use selected analysis to make new report|&Cancel|Enter options for ne&w analysis",
         true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedResponder responder;
        responder.expect({.act = [&c](const core::DlgView&, core::DlgDriver& d) {
            if (c.closeBox)
                d.closeBox();
            else
                d.key(27, 0);
        }});
        std::string chosen = "beta";
        EXPECT_EQ(core::ui().listPick({"alpha", "beta"}, "Site DB", "|||||||||1||{7800}|{1}", c.buttons, "Sites",
                                      "Select site database", chosen),
                  c.result);
        EXPECT_EQ(responder.shown().at(0).escButton, c.result);
        EXPECT_EQ(loadedBoxes(), 0);
    }
}

TEST_F(InterfaceListTest, EnterPressesTheCallersOkButtonWhenThereIsOne) {
    struct Case {
        const char* name;
        std::string buttons;
        int result;  // 0: Enter pressed nothing, the test pressed the last button
    };
    const Case cases[] = {
        {"a site list", "&OK|R&emove |Show Op&tions for Site DB|&Cancel", 1},
        {"no OK", "&Continue|&Back", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedResponder responder;
        responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
            d.key(13, 0);
            if (!gMBForm->resultWritten()) d.press(static_cast<int>(v.buttons.size()));
        }});
        std::string chosen = "beta";
        const int r = core::ui().listPick({"alpha", "beta"}, "Site DB", "|||||||||1||{7800}|{1}", c.buttons, "Sites",
                                          "Select site database", chosen);
        EXPECT_EQ(r == 1 ? 1 : 0, c.result);
    }
}

TEST_F(InterfaceListTest, ListDlgShowsTheRowsInTheirColumnsUnderTheHeader) {
    ScriptedResponder responder;
    std::string header;
    responder.expect({.press = "&Continue", .act = [&header](const core::DlgView&, core::DlgDriver&) {
                          for (grid::FlexGrid* g : gMBForm->findChildren<grid::FlexGrid*>())
                              if (g->isVisibleTo(gMBForm))
                                  header = GRDFLX_CellText(*g, 0, 1) + "|" + GRDFLX_CellText(*g, 0, 2);
                      }});
    EXPECT_EQ(core::ui().listDlg({"10\t2", "20\t5"}, "%\tSecs", "3900|9000||||||||1|1|{450|540}", "&Continue",
                                 "Timings so far", ""),
              1);
    const core::DlgView& v = responder.shown().at(0);
    EXPECT_EQ(v.buttons, std::vector<std::string>{"&Continue"});
    EXPECT_EQ(header, "%|Secs");
    EXPECT_EQ(v.ctls.at(0).type, "Grid");
    EXPECT_EQ(v.ctls.at(0).items, (std::vector<std::string>{"10\t2", "20\t5"}));  // under the fixed header
    EXPECT_EQ(v.ctls.at(1).caption, "Timings so far");
}

TEST_F(InterfaceListTest, AnEmptyListStillOffersTheButtons) {
    ScriptedResponder responder;
    responder.expect({.press = "&Cancel"});
    std::string chosen = "gone";
    EXPECT_EQ(core::ui().listPick({}, "Site DB", "", "&OK|&Cancel", "No sites", "Sites", chosen), 2);
    EXPECT_EQ(chosen, "");
    // Without fixed rows in the grid layout the header shows as the first row.
    EXPECT_EQ(responder.shown().at(0).ctls.at(0).items, std::vector<std::string>{"Site DB"});
}

TEST_F(InterfaceListTest, SequenceBoxGivesBackTheOrderShownAndTheCallersButton) {
    struct Case {
        const char* name;
        std::vector<std::string> presses;  // Up and Down act on the second item, chosen first
        std::vector<std::string> order;
        int result;
    };
    const Case cases[] = {
        {"moved up, then confirmed", {"&Up", "&Yes"}, {"b.log", "a.log", "c.log"}, 1},
        {"cancelled as shown", {"&Cancel"}, {"a.log", "b.log", "c.log"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedResponder responder;
        for (std::size_t n = 0; n < c.presses.size(); ++n)
            responder.expect({.press = c.presses[n], .act = [n](const core::DlgView&, core::DlgDriver& d) {
                                  if (n == 0) d.choose(1, {1});
                              }});
        std::vector<std::string> files = {"a.log", "b.log", "c.log"};
        EXPECT_EQ(core::ui().sequenceBox("Files to read", "Confirm", files, "9400|6000", "&Yes|&Cancel"), c.result);
        EXPECT_EQ(files, c.order);
        EXPECT_EQ(responder.shown().at(0).caption, "Confirm");
        EXPECT_EQ(loadedBoxes(), 0);
    }
}
