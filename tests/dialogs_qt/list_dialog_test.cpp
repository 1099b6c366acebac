#include "dialogs/list_dialog.h"

#include <QFontMetricsF>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "dialogs/option_strings.h"
#include "platform/grid/flex_grid.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "tests/dialogs_qt/box_fixture.h"
#include "tests/support/temp_home.h"

using testsupport::Answer;
using testsupport::ScriptedResponder;

namespace {

using Act = std::function<void(const core::DlgView&, core::DlgDriver&)>;

// A grid dialog over the INI list [L] Items of a temporary file.
class ListDlgTest : public dlgtest::BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        TXT_CrLfInit();
        dlg::installMessageBoxes();
        ini = home / "lists.ini";
        INI_Put("L", "Items", std::string("a|b|c"), ini);
    }
    void TearDown() override {
        core::setUserInterface(nullptr);
        BoxTest::TearDown();
    }

    std::string stored() { return INI_Get("L", "Items", ini, 3); }
    long run() { return MB_ListDlgIni("L", "Items", ini, args); }

    // Chooses grid row r (the header is row 0), then presses the button.
    static Answer pick(long r, std::string button) {
        return {.press = std::move(button),
                .act = [r](const core::DlgView&, core::DlgDriver& d) { d.choose(1, {static_cast<int>(r)}); }};
    }
    static Answer press(std::string button) { return {.press = std::move(button)}; }

    testsupport::TempHome home;
    std::string ini;
    MB_ListDlgArgs args{.itemWord = "item",
                        .ok = true,
                        .further = true,
                        .furtherCaption = "&Cancel",
                        .add = "&Add",
                        .del = "&Delete",
                        .up = "Move &Up",
                        .down = "Move Do&wn",
                        .addAllowed = true};
};

const core::CtlView& gridOf(const core::DlgView& v) { return v.ctls.at(0); }

}  // namespace

TEST_F(ListDlgTest, ColumnsAreSplitAtTheSeparatorAndTheKeyColumnIsShown) {
    struct Case {
        const char* name;
        std::string stored, delimiter, header, separator;
        long keyColumn;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {"semicolon", "x;1|y;2", "|", "Name;Count", ";", 0, {"Name\tCount", "x\t1", "y\t2"}},
        // The driver shows every cell of a row, so shorter rows end in a tab.
        {"tab word keeps the items", "x;1|y\t2", "|", "Name", "tab", 0, {"Name\t", "x;1\t", "y\t2"}},
        {"key column", "x|1|p~~y|2", "~~", "Key", "tab", 2, {"Key", "1", "2"}},
        {"missing list", "", "|", "Name", "tab", 0, {"Name"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        INI_Put("L", "Items", c.stored, ini);
        args.delimiter = c.delimiter;
        args.header = c.header;
        args.separator = c.separator;
        args.keyColumn = c.keyColumn;
        args.state.clear();
        ScriptedResponder responder;
        responder.expect(pick(static_cast<long>(c.shown.size()) - 1, "&OK"));
        EXPECT_EQ(run(), dlg::kListOK);
        EXPECT_EQ(gridOf(responder.shown().at(0)).items, c.shown);
        if (c.keyColumn) {
            EXPECT_EQ(args.selection, "y|2");  // the whole item, not its key
        }
    }
}

TEST_F(ListDlgTest, EachButtonHasItsResult) {
    args.actionA = "&Edit";
    args.actionB = "Cop&y";
    struct Case {
        std::string button;
        long result;
    };
    const Case cases[] = {{"&OK", dlg::kListOK}, {"&Cancel", dlg::kListFurther}, {"&Edit", dlg::kListActionA},
                          {"Cop&y", dlg::kListActionB}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        args.state.clear();
        ScriptedResponder responder;
        responder.expect(pick(3, c.button));
        EXPECT_EQ(run(), c.result);
        EXPECT_EQ(args.selection, "c");
    }
    EXPECT_EQ(stored(), "a|b|c");
}

TEST_F(ListDlgTest, MessageCaptionAndButtonsInTheirOrder) {
    args.actionA = "&Edit";
    args.actionB = "Cop&y";
    args.captionSuffix = " Item";
    args.sort = true;
    args.furtherCaptions = "E&xtra";
    ScriptedResponder responder;  // the Sort notice is for developers: no box
    responder.expect(press("&Cancel"));
    EXPECT_EQ(run(), dlg::kListFurther);
    const core::DlgView& v = responder.shown().at(0);
    EXPECT_EQ(v.caption.substr(v.caption.size() - 13), "- Select item");
    EXPECT_EQ(v.buttons, (std::vector<std::string>{"&OK", "&Edit Item", "&Add Item", "&Delete Item", "Cop&y Item",
                                                   "Move &Up", "Move Do&wn", "&Sort", "&Cancel", "E&xtra"}));
    EXPECT_EQ(v.dfltButton, 1);
    EXPECT_EQ(v.escButton, 9);
    EXPECT_EQ(v.ctls.at(1).caption, "Select item and press OK.\rUse Edit, Delete, Copy, Add to change or add item.\r"
                                    "Up and Down will change the sequence on this list.\r");
}

TEST_F(ListDlgTest, PickOnlyShowsNoMaintenanceButtons) {
    args.pickOnly = true;
    ScriptedResponder responder;
    responder.expect(press("&OK"));
    EXPECT_EQ(run(), dlg::kListOK);
    const core::DlgView& v = responder.shown().at(0);
    EXPECT_EQ(v.buttons, (std::vector<std::string>{"&OK", "&Cancel"}));
    EXPECT_EQ(v.ctls.at(1).caption, "Select item and press OK.\r");
}

TEST_F(ListDlgTest, ChangesOfTheIniListAreWrittenAtOnce) {
    {
        SCOPED_TRACE("moves stay when the user then cancels");
        ScriptedResponder responder;
        responder.expect(pick(3, "Move &Up"));      // c above b
        responder.expect(press("Move &Up"));        // and above a
        responder.expect(press("Move &Up"));        // c is first: nothing moves
        responder.expect(pick(3, "Move Do&wn"));    // b is last: nothing moves
        responder.expect(press("&Cancel"));
        EXPECT_EQ(run(), dlg::kListFurther);
        EXPECT_EQ(stored(), "c|a|b");
        EXPECT_EQ(gridOf(responder.shown().at(1)).selection, "2");  // the chosen row follows the item
        EXPECT_EQ(gridOf(responder.shown().at(2)).selection, "1");
    }
    {
        SCOPED_TRACE("delete");
        ScriptedResponder responder;
        responder.expect(pick(2, "&Delete"));
        EXPECT_EQ(run(), dlg::kListDeleted);
        EXPECT_EQ(stored(), "c|b");
    }
    {
        SCOPED_TRACE("add, then an add cancelled in the input box");
        ScriptedResponder responder;
        responder.expect(press("&Add"));
        responder.expect({.expectMessage = "Enter item to add, seperate columns with tab", .sets = {{"#1", "d"}},
                          .press = "&OK"});
        EXPECT_EQ(run(), dlg::kListAdded);
        EXPECT_EQ(stored(), "c|b|d");
        responder.expect(press("&Add"));
        responder.expect({.expectMessage = "Enter item to add", .press = "&Cancel"});
        EXPECT_EQ(run(), dlg::kListAdded);
        EXPECT_EQ(stored(), "c|b|d");
    }
}

TEST_F(ListDlgTest, AnInMemoryListIsChangedInsteadOfAnIniFile) {
    args.memList = "p|q|q";
    ScriptedResponder responder;
    responder.expect(pick(2, "&Delete"));
    EXPECT_EQ(MB_ListDlgIni("", "", "", args), dlg::kListDeleted);
    EXPECT_EQ(args.memList, "p");  // every equal item goes
    EXPECT_EQ(stored(), "a|b|c");
}

TEST_F(ListDlgTest, AUniqueAddRefusesADuplicate) {
    args.addUnique = true;
    ScriptedResponder responder;
    responder.expect(press("&Add"));
    responder.expect({.expectMessage = "Enter item to add", .sets = {{"#1", "b"}}, .press = "&OK"});
    responder.expect({.expectMessage = "Item already exists", .press = "&OK"});
    EXPECT_EQ(run(), dlg::kListAdded);
    EXPECT_EQ(stored(), "a|b|c");
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(ListDlgTest, AButtonThatNeedsAChosenRowAsksForOne) {
    args.furtherCaptions = "&Show|&Info";
    args.needChoice = "||||||1";  // button 7, "&Show"
    // The instruction panel is closed with its own OK before a button can be pressed.
    auto pressAfterNotice = [](std::string button) {
        return Answer{.act = [button](const core::DlgView&, core::DlgDriver& d) {
            d.press("OK");
            d.press(button);
        }};
    };
    ScriptedResponder responder;
    responder.expect(press("&Delete"));
    responder.expect(pressAfterNotice("&Show"));
    responder.expect(pressAfterNotice("&Info"));
    EXPECT_EQ(run(), dlg::kListOther);
    EXPECT_EQ(args.pressed, 8);
    EXPECT_EQ(responder.shown().at(0).notice, "");
    EXPECT_EQ(responder.shown().at(1).notice, "Select a item and press Delete again.");
    EXPECT_EQ(responder.shown().at(2).notice, "Select a item and press Show again.");
    EXPECT_EQ(stored(), "a|b|c");
}

TEST_F(ListDlgTest, ProtectedItemsAreNotDeleted) {
    args.protectedItems = "b";
    ScriptedResponder responder;
    responder.expect(pick(2, "&Delete"));
    responder.expect({.expectMessage = "Not allowed to delete b.", .press = "&OK"});
    responder.expect(pick(1, "&Delete"));
    EXPECT_EQ(run(), dlg::kListDeleted);
    EXPECT_EQ(stored(), "b|c");
}

TEST_F(ListDlgTest, SeveralChosenRowsAreDeletedTogether) {
    args.gridSpec = std::string(15, '|') + "True";  // grid spec field 16: several rows
    ScriptedResponder responder;
    responder.expect({.press = "&Delete", .act = [](const core::DlgView&, core::DlgDriver& d) {
                          d.choose(1, {1});
                          auto* member = (*gMBForm->arrayOfKind(6))[static_cast<int>(
                              CHUNKS_GetNum(2, gMBForm->entryMap[1]))];
                          static_cast<grid::FlexGrid*>(member)->setRowSel(3);
                      }});
    EXPECT_EQ(run(), dlg::kListDeleted);
    EXPECT_EQ(stored(), "");
}

TEST_F(ListDlgTest, TheChoiceIsPutBackWhenShownAgain) {
    struct Case {
        const char* name;
        std::string state, selection;
        bool startAtEnd;
        std::string shownRow;
    };
    const Case cases[] = {
        {"nothing given", "", "", false, "0"},
        {"selection text", "", "b;1", false, "2"},
        {"selection with tabs for the separator", "", "b\t1", false, "2"},
        {"start at the end", "", "", true, "3"},
        {"state wins", "3|0|3|0|3|0|1|1", "a", false, "3"},
    };
    INI_Put("L", "Items", std::string("a;0|b;1|c;2"), ini);
    args.separator = ";";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        args.state = c.state;
        args.selection = c.selection;
        args.startAtEnd = c.startAtEnd;
        ScriptedResponder responder;
        responder.expect(press("&OK"));
        run();
        EXPECT_EQ(gridOf(responder.shown().at(0)).selection, c.shownRow);
    }

    // A state read back after one call opens the next where the user left.
    args.state.clear();
    ScriptedResponder responder;
    responder.expect(pick(2, "&OK"));
    responder.expect(press("&OK"));
    EXPECT_EQ(run(), dlg::kListOK);
    EXPECT_EQ(args.selection, "b;1");
    EXPECT_EQ(CHUNKS_Get(1, args.state), "2");
    args.selection.clear();
    EXPECT_EQ(run(), dlg::kListOK);
    EXPECT_EQ(gridOf(responder.shown().at(1)).selection, "2");
    EXPECT_EQ(args.selection, "b;1");
}

TEST_F(ListDlgTest, CallersArrayIsForPickingAndItsButtonsAreNumberedAfterTheDialogs) {
    core::StrArray items;
    CHUNKS_Split("r1\tx|r2\ty", items, 0);
    args.header = "One\tTwo";
    args.furtherCaptions = "&First|&Second";
    struct Case {
        const char* name;
        Answer answer;
        long result, pressed;
    };
    const Case cases[] = {
        {"OK", pick(2, "&OK"), dlg::kListOK, 0},
        {"Esc presses the further button", {.act = [](const core::DlgView&, core::DlgDriver& d) { d.closeBox(); }},
         dlg::kListFurther, 0},
        {"a caller's button", press("&Second"), dlg::kListOther, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        args.pressed = 0;
        ScriptedResponder responder;
        responder.expect(c.answer);
        EXPECT_EQ(MB_ListDlg(items, args), c.result);
        EXPECT_EQ(args.pressed, c.pressed);
        const core::DlgView& v = responder.shown().at(0);
        EXPECT_EQ(v.buttons, (std::vector<std::string>{"&OK", "&Cancel", "&First", "&Second"}));
        EXPECT_EQ(gridOf(v).items, (std::vector<std::string>{"One\tTwo", "r1\tx", "r2\ty"}));
    }
    EXPECT_EQ(args.add, "&Add");  // the caller's record keeps its captions
}

TEST_F(ListDlgTest, TheDialogUnloadsItsBoxesButNoOuterOne) {
    ScriptedResponder responder;
    responder.expect(press("&OK"));
    Msgbxform* outer = nullptr;
    MB_Show("Outer", "0", MB_OptNoHide("", 0, 0), "", ctl, state, outer);
    ASSERT_NE(outer, nullptr);

    responder.expect(pick(1, "Move Do&wn"));
    responder.expect(press("&OK"));
    EXPECT_EQ(run(), dlg::kListOK);
    long boxes = 0;
    for (QWidget* f : ui::loadedForms()) boxes += CHUNKS_Get(1, ui::tag(f)) == "MsgBxForm";
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(ui::isLoaded(outer));
}

TEST_F(ListDlgTest, RememberedControlsAreLoadedAndSavedAfterEachShowing) {
    testsupport::writeFile(home / "dlg.ini",
                           "[Dlg]\nDefs=Ctls|List\n7=Vals|Name\n[Ctls]\nList={TextBox|NameSpec|NameVal|7|}\n"
                           "NameSpec=2000\n[Vals]\nName=abc\n");
    args.remembered = {.section = "Dlg", .entry = "Defs", .iniFile = home / "dlg.ini"};
    ScriptedResponder responder;
    responder.expect({.sets = {{"#3", "xyz"}}, .press = "&Delete"});  // no row: shown again
    responder.expect({.press = "&Cancel", .act = [](const core::DlgView&, core::DlgDriver& d) { d.press("OK"); }});
    EXPECT_EQ(run(), dlg::kListFurther);
    EXPECT_EQ(responder.shown().at(0).ctls.at(2).value, "abc");
    EXPECT_EQ(responder.shown().at(1).ctls.at(2).value, "xyz");
    EXPECT_EQ(INI_Get("Vals", "Name", home / "dlg.ini", 3), "xyz");
}

TEST_F(ListDlgTest, AnInMemoryListIsMergedOnlyIntoAPickOnlyDisplay) {
    args.memList = "m1|m2";
    args.pickOnly = true;
    ScriptedResponder responder;
    responder.expect(pick(5, "&OK"));
    EXPECT_EQ(run(), dlg::kListOK);
    EXPECT_EQ(gridOf(responder.shown().at(0)).items, (std::vector<std::string>{"", "a", "b", "c", "m1", "m2"}));
    EXPECT_EQ(args.selection, "m2");

    // A list the user may change is shown without it; the developers' notice shows no box.
    args.pickOnly = false;
    args.state.clear();
    responder.expect(press("&OK"));
    EXPECT_EQ(run(), dlg::kListOK);
    EXPECT_EQ(gridOf(responder.shown().at(1)).items, (std::vector<std::string>{"", "a", "b", "c"}));
    EXPECT_EQ(stored(), "a|b|c");
}

TEST_F(ListDlgTest, RememberedButtonsComeFirstAndKeepTheDialogsNumbersApart) {
    testsupport::writeFile(home / "dlg.ini", "[Dlg]\nDefs=Ctls|List\n[Ctls]\nList={CommandButton||BtnVal|10|}\n"
                                             "BtnVal=&One\n");
    args.remembered = {.section = "Dlg", .entry = "Defs", .iniFile = home / "dlg.ini"};
    struct Case {
        std::string button;
        long result, pressed;
    };
    const Case cases[] = {{"&One", dlg::kListOther, 1}, {"&OK", dlg::kListOK, 0}, {"&Cancel", dlg::kListFurther, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        args.pressed = 0;
        ScriptedResponder responder;
        responder.expect(press(c.button));
        EXPECT_EQ(run(), c.result);
        EXPECT_EQ(args.pressed, c.pressed);
        EXPECT_EQ(responder.shown().at(0).buttons.at(0), "&One");
        EXPECT_EQ(responder.shown().at(0).escButton, 7);
    }
}

// A column narrower than its header caption is widened to show the whole caption.
TEST_F(ListDlgTest, HeaderCaptionsAreNeverCut) {
    core::StrArray items;
    CHUNKS_Split("bot\tBot/1.0\t12", items, 1);
    args.header = "Filter\tUser Agent Values\t# Found";
    args.gridSpec = "11000|||||||||1||{5000|4800|600}";
    args.pickOnly = true;
    ScriptedResponder responder;
    responder.expect({.act = [](const core::DlgView&, core::DlgDriver& d) {
        auto* g = gMBForm->findChild<grid::FlexGrid*>();
        ASSERT_NE(g, nullptr);
        const QFontMetricsF metrics(g->font());
        EXPECT_GE(g->ColWidth(3), metrics.horizontalAdvance("# Found") * 15);
        EXPECT_EQ(g->ColWidth(2), 4800);  // wide enough already
        d.closeBox();
    }});
    MB_ListDlg(items, args);
}
