#include <algorithm>

#include "dialogs/edit_list_dialog.h"

#include "core/ini_store.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "tests/dialogs_qt/box_fixture.h"
#include "tests/support/temp_home.h"

using testsupport::Answer;
using testsupport::ScriptedResponder;

namespace {

// The list box dialog over [G] Names of a temporary INI file.
class EditListTest : public dlgtest::BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        TXT_CrLfInit();
        dlg::installMessageBoxes();
        ini = home / "groups.ini";
        INI_Put("G", "Names", std::string("beta|Alpha|gamma"), ini);
    }
    void TearDown() override {
        core::setUserInterface(nullptr);
        BoxTest::TearDown();
    }

    std::string stored() { return INI_Get("G", "Names", ini, 3); }
    long run() { return MB_EditList("G", "Names", ini, args); }

    static Answer pick(int position, std::string button) {
        return {.sets = {{"#1", std::to_string(position)}}, .press = std::move(button)};
    }
    static Answer press(std::string button) { return {.press = std::move(button)}; }

    testsupport::TempHome home;
    std::string ini;
    MB_ListDlgArgs args{.itemWord = "group",
                        .ok = true,
                        .sort = true,
                        .further = true,
                        .furtherCaption = "&Cancel",
                        .actionA = "Edi&t ",
                        .add = "&New ",
                        .del = "R&emove ",
                        .actionB = "Cop&y ",
                        .up = "Move &Up",
                        .down = "Move Do&wn",
                        .addAllowed = true};
};

const core::CtlView& listOf(const core::DlgView& v) { return v.ctls.at(0); }

}  // namespace

TEST_F(EditListTest, ShowsTheListWithItsButtonsAndReturnsTheirResults) {
    struct Case {
        const char* name;
        Answer answer;
        long result;
        std::string selection;
    };
    const Case cases[] = {
        {"OK", pick(2, "&OK"), dlg::kListOK, "gamma"},
        {"further button", press("&Cancel"), dlg::kListFurther, "beta"},
        {"action A", pick(1, "Edi&t "), dlg::kListActionA, "Alpha"},
        {"double-click presses action A",
         {.act = [](const core::DlgView&, core::DlgDriver& d) { d.dblClick(1, 0); }}, dlg::kListActionA, "beta"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        args.selection = "beta";
        args.state.clear();
        ScriptedResponder responder;
        responder.expect(c.answer);
        EXPECT_EQ(run(), c.result);
        EXPECT_EQ(args.selection, c.selection);
        const core::DlgView& v = responder.shown().at(0);
        EXPECT_EQ(listOf(v).items, (std::vector<std::string>{"beta", "Alpha", "gamma"}));
        EXPECT_EQ(v.buttons, (std::vector<std::string>{"&OK", "Edi&t ", "&New ", "R&emove ", "Cop&y ", "Move &Up",
                                                       "Move Do&wn", "&Sort", "&Cancel"}));
        EXPECT_EQ(v.escButton, 9);
    }
    EXPECT_EQ(stored(), "beta|Alpha|gamma");
}

TEST_F(EditListTest, SortAndMovesAreWrittenAtOnceAndTheChoiceFollows) {
    ScriptedResponder responder;
    responder.expect(pick(0, "&Sort"));         // beta is chosen
    responder.expect(press("Move &Up"));        // beta above Alpha
    responder.expect(press("Move &Up"));        // first: stays
    responder.expect(pick(2, "Move Do&wn"));    // last: stays
    responder.expect(press("&Cancel"));
    EXPECT_EQ(run(), dlg::kListFurther);
    EXPECT_EQ(stored(), "beta|Alpha|gamma");
    EXPECT_EQ(listOf(responder.shown().at(1)).items, (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    EXPECT_EQ(listOf(responder.shown().at(1)).selection, "1");  // beta after the sort
    EXPECT_EQ(listOf(responder.shown().at(2)).selection, "0");
    EXPECT_EQ(listOf(responder.shown().at(4)).selection, "2");
}

TEST_F(EditListTest, DeleteAddAndCopy) {
    {
        SCOPED_TRACE("deleting the first item leaves position 0");
        ScriptedResponder responder;
        responder.expect(pick(0, "R&emove "));
        EXPECT_EQ(run(), dlg::kListDeleted);
        EXPECT_EQ(stored(), "Alpha|gamma");
        EXPECT_EQ(args.state, "0");
    }
    {
        SCOPED_TRACE("add");
        ScriptedResponder responder;
        responder.expect(press("&New "));
        responder.expect({.expectMessage = "Enter item to add", .sets = {{"#1", "delta"}}, .press = "&OK"});
        EXPECT_EQ(run(), dlg::kListAdded);
        EXPECT_EQ(stored(), "Alpha|gamma|delta");
    }
    {
        SCOPED_TRACE("copy names the first free number");
        INI_Put("G", "Names", std::string("A|a.1|B"), ini);
        args.state.clear();
        ScriptedResponder responder;
        responder.expect(pick(0, "Cop&y "));
        EXPECT_EQ(run(), dlg::kListActionB);
        EXPECT_EQ(args.selection, "A|A.2");
        EXPECT_EQ(stored(), "A|a.1|B");
    }
}

TEST_F(EditListTest, AButtonThatNeedsAChoiceAsksForOne) {
    ScriptedResponder responder;
    responder.expect(press("R&emove "));
    responder.expect({.act = [](const core::DlgView&, core::DlgDriver& d) {
        d.press("OK");  // closes the instruction
        d.press("&Cancel");
    }});
    EXPECT_EQ(run(), dlg::kListFurther);
    EXPECT_EQ(responder.shown().at(1).notice, "Select a group and press Remove  again.");
    EXPECT_EQ(stored(), "beta|Alpha|gamma");
}

TEST_F(EditListTest, AnInMemoryListIsChangedAndTheIniFileIsNot) {
    args.memList = "x|y";
    ScriptedResponder responder;
    responder.expect(pick(1, "R&emove "));
    EXPECT_EQ(MB_EditList("", "", "", args), dlg::kListDeleted);
    EXPECT_EQ(args.memList, "x");
    EXPECT_EQ(stored(), "beta|Alpha|gamma");

    // An empty list shows no line.
    args.memList.clear();
    responder.expect(press("&Cancel"));
    EXPECT_EQ(MB_EditList("", "", "", args), dlg::kListFurther);
    EXPECT_TRUE(listOf(responder.shown().at(1)).items.empty());
}

TEST_F(EditListTest, CommentsShowBesideTheirItemsAndFollowThemWhenMovedOrRemoved) {
    args.commentEntry = "Notes";
    ScriptedResponder responder;
    // A comment for gamma, then gamma moved up: the comment goes with it.
    responder.expect(pick(2, "Co&mment"));
    responder.expect({.expectMessage = "Comment for group: gamma", .sets = {{"#1", "the | third"}}, .press = "&OK"});
    responder.expect(pick(2, "Move &Up"));
    responder.expect(pick(1, "&OK"));
    EXPECT_EQ(run(), dlg::kListOK);
    EXPECT_EQ(stored(), "beta|gamma|Alpha");
    EXPECT_EQ(MB_ListComment("G", "Notes", ini, "gamma"), "the | third");
    const auto& shown = responder.shown();
    EXPECT_EQ(listOf(shown.at(2)).items, (std::vector<std::string>{"beta", "Alpha", "gamma   [the | third]"}));
    EXPECT_EQ(listOf(shown.at(3)).items, (std::vector<std::string>{"beta", "gamma   [the | third]", "Alpha"}));

    // Cancel in the comment box keeps the comment; removing the item drops it.
    ScriptedResponder again;
    again.expect(pick(1, "Co&mment"));
    again.expect({.expectMessage = "Comment for group: gamma", .sets = {{"#1", "changed"}}, .press = "&Cancel"});
    again.expect(pick(1, "R&emove "));
    EXPECT_EQ(run(), dlg::kListDeleted);
    EXPECT_EQ(stored(), "beta|Alpha");
    EXPECT_EQ(MB_ListComment("G", "Notes", ini, "gamma"), "");
    EXPECT_EQ(again.pending(), 0u);

    // A list without a comment entry has no Comment button.
    args.commentEntry.clear();
    ScriptedResponder plain;
    plain.expect(press("&Cancel"));
    run();
    const std::vector<std::string>& buttons = plain.shown().at(0).buttons;
    EXPECT_EQ(std::find(buttons.begin(), buttons.end(), "Co&mment"), buttons.end());
}
