#include "dialogs/two_list_selector.h"

#include <array>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/ini_store.h"
#include "core/text.h"
#include "dialogs/ready_dialogs.h"
#include "tests/dialogs_qt/box_fixture.h"
#include "tests/support/arrays.h"
#include "tests/support/temp_home.h"

using testsupport::ScriptedResponder;

namespace {

using Step = std::function<void(const core::DlgView&, core::DlgDriver&)>;
using Texts = std::vector<std::string>;

using testsupport::strArray;
using testsupport::lngArray;

using dlgtest::leftList;
using dlgtest::nth;
using dlgtest::rightList;

class TwoListTest : public dlgtest::BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        TXT_CrLfInit();
        p.itemWord = "Rule";
    }

    // Runs the selector with one step per showing; every step must be used.
    int run(std::initializer_list<Step> steps) {
        ScriptedResponder responder;
        for (const Step& s : steps) responder.expect({.act = s});
        const int r = MBX_TwoListSelect(selected, all, numbers, skip, p);
        EXPECT_EQ(responder.pending(), 0u);
        views = responder.shown();
        return r;
    }

    static Step press(const std::string& caption) {
        return [caption](const core::DlgView&, core::DlgDriver& d) { d.press(caption); };
    }

    MBX_SelectParams p;
    core::StrArray selected, all, skip;
    core::LngArray numbers;
};

}  // namespace

TEST_F(TwoListTest, AddAndRemoveMoveItemsBetweenTheLists) {
    all = strArray({"alpha", "beta", "gamma"});
    numbers = lngArray({7, 3, 5});
    const int r = run({
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_TRUE(TXT_EndsWith(v.caption, " - Select Rules", true)) << v.caption;
            EXPECT_EQ(leftList(v).items, (Texts{"beta - 3", "gamma - 5", "alpha - 7"}));
            EXPECT_EQ(rightList(v).items, Texts{});
            EXPECT_NE(nth(v, "Label", 0).caption.find("Select from 3 Rules:"), std::string::npos);
            EXPECT_NE(nth(v, "Label", 1).caption.find("0 Rule(s) Selected:"), std::string::npos);
            d.choose(leftList(v).entry, {0, 2});
            d.press("&Add -->");
        },
        [](const core::DlgView& v, core::DlgDriver& d) {
            // Moved in list order, bare, and chosen on their new side.
            EXPECT_EQ(leftList(v).items, Texts{"gamma - 5"});
            EXPECT_EQ(leftList(v).selection, "");
            EXPECT_EQ(rightList(v).items, (Texts{"beta", "alpha"}));
            EXPECT_EQ(rightList(v).selection, "0|1");
            d.choose(rightList(v).entry, {0});
            d.press("<-- R&emove");
        },
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(leftList(v).items, (Texts{"gamma - 5", "beta -  ?"}));
            EXPECT_EQ(leftList(v).selection, "1");
            EXPECT_EQ(rightList(v).items, Texts{"alpha"});
            d.press("&OK");
        },
    });
    EXPECT_EQ(r, 2);
    EXPECT_EQ(selected.items(), Texts{"alpha"});
}

TEST_F(TwoListTest, MissingSelectionWarnsAndChangesNothing) {
    all = strArray({"x", "y"});
    selected = strArray({"x"});
    p.sequencing = true;
    p.hideNumbers = true;
    const int r = run({
        press("&Add -->"),
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(v.notice, "First select Rules from the *LEFT* column and press \"Add\" again.");
            EXPECT_EQ(leftList(v).items, Texts{"y"});
            d.press("OK");  // the warning panel's
            d.press("Move &Up");
        },
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(v.notice, "First select Rules from the *RIGHT* column and press \"Remove\" again.");
            EXPECT_EQ(rightList(v).items, Texts{"x"});
            d.press("OK");
            d.press("&OK");
        },
    });
    EXPECT_EQ(r, 2);
    EXPECT_EQ(selected.items(), Texts{"x"});
}

TEST_F(TwoListTest, SkipListHidesItemsAndCopyToSkipExtendsIt) {
    all = strArray({"bot1", "Bot2", "browser", "crawler"});
    skip = strArray({"BOT1"});
    p.hideNumbers = true;
    p.sortByText = true;
    p.copyToSkipCaption = "&";
    const int r = run({
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(leftList(v).items, (Texts{"Bot2", "browser", "crawler"}));
            d.choose(leftList(v).entry, {1, 2});
            d.press("Cop&y selected to Skip List");
        },
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(leftList(v).items, Texts{"Bot2"});
            EXPECT_EQ(leftList(v).selection, "0");  // the item above the first one taken
            EXPECT_EQ(rightList(v).items, Texts{});
            d.press("&Cancel");
        },
    });
    // The skip list keeps its additions whatever closes the box.
    EXPECT_EQ(r, 1);
    EXPECT_EQ(skip.items(), (Texts{"BOT1", "browser", "crawler"}));
}

TEST_F(TwoListTest, MoveUpAndDownKeepItemsPackedAtTheEndsAndTheSelection) {
    selected = strArray({"a", "b", "c", "d"});
    all = selected;
    p.sequencing = true;
    const int r = run({
        [](const core::DlgView& v, core::DlgDriver& d) {
            d.choose(rightList(v).entry, {0, 1, 3});
            d.press("Move &Up");
        },
        [](const core::DlgView& v, core::DlgDriver& d) {
            // a and b are at the top already; only d moves.
            EXPECT_EQ(rightList(v).items, (Texts{"a", "b", "d", "c"}));
            EXPECT_EQ(rightList(v).selection, "0|1|2");
            d.choose(rightList(v).entry, {0, 3});
            d.press("Move Do&wn");
        },
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(rightList(v).items, (Texts{"b", "a", "d", "c"}));
            EXPECT_EQ(rightList(v).selection, "1|3");
            d.press("&OK");
        },
    });
    EXPECT_EQ(r, 2);
    EXPECT_EQ(selected.items(), (Texts{"b", "a", "d", "c"}));
}

TEST_F(TwoListTest, CancelGivesTheOriginalSelectionBack) {
    all = strArray({"a", "b"});
    selected = strArray({"a"});
    p.hideNumbers = true;
    const int r = run({
        [](const core::DlgView& v, core::DlgDriver& d) {
            d.choose(leftList(v).entry, {0});
            d.press("&Add -->");
        },
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(rightList(v).items, (Texts{"a", "b"}));
            d.choose(rightList(v).entry, {0});
            d.press("<-- R&emove");
        },
        press("&Cancel"),
    });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(selected.items(), Texts{"a"});
    EXPECT_EQ(gMBCancelNo, 5);  // Add, Remove, Find, then OK and Cancel
}

TEST_F(TwoListTest, ButtonsAreNumberedAfterTheCallersControls) {
    all = strArray({"r1"});
    p.sequencing = true;
    p.extraButtons = "&Edit|Sk&ip";
    p.enterItemCaption = "&";
    // A caller's options and own button, as the filter choosers pass them.
    p.ctlEntries.redim(0, 0);
    p.ctlValues.redim(0, 0);
    p.ctlRows.redim(0, 0, 0, 0);
    MB_CtlEntry own;
    own.entries = p.ctlEntries;
    own.values = p.ctlValues;
    own.rows = p.ctlRows;
    const long all1 = MB_AddControl("OptionButton", MB_SpecToTagForm("A&ll rules selected"), "True", own, false);
    const long any = MB_AddControl("OptionButton", MB_SpecToTagForm("An&y rule selected"), "False", own, false);
    std::array<long, 6> ownNumbers{};
    MB_AddButtonCtl(true, "", "&Help", own, false, false, ownNumbers);
    p.ctlEntries = own.entries;
    p.ctlValues = own.values;
    p.ctlRows = own.rows;

    const int r = run({
        [any](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(v.buttons, (Texts{"&Help", "&Add -->", "<-- R&emove", "Move &Up", "Move Do&wn",
                                        "Find all Rules with Wo&rd", "&OK", "&Edit", "Sk&ip", "&Cancel",
                                        "Enter Ite&m To Add"}));
            EXPECT_EQ(v.escButton, 10);
            d.setCheck(static_cast<int>(any), 1);
            d.press("Sk&ip");
        },
    });
    EXPECT_EQ(r, 7);
    EXPECT_EQ(p.pressedExtraButton, 2);
    EXPECT_EQ(gMBCancelNo, 10);
    EXPECT_EQ(p.ctlValues[all1], "False");
    EXPECT_EQ(p.ctlValues[any], "True");
    EXPECT_EQ(p.ctlEntries.ubound(), any + 1);  // the selector's controls stay out of the caller's arrays
}

TEST_F(TwoListTest, StopWhenEmptyShowsNothing) {
    all = strArray({"a"});
    skip = strArray({"A"});
    p.stopWhenEmpty = true;
    EXPECT_EQ(run({}), 1);
    EXPECT_TRUE(views.empty());
}

TEST_F(TwoListTest, DoubleClickMovesWhenClickMovesIsSet) {
    all = strArray({"a", "b"});
    p.hideNumbers = true;
    p.clickMoves = true;
    const int r = run({
        [](const core::DlgView& v, core::DlgDriver& d) { d.dblClick(leftList(v).entry, 1); },
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(leftList(v).items, Texts{"a"});
            EXPECT_EQ(rightList(v).items, Texts{"b"});
            d.dblClick(rightList(v).entry, 0);
        },
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(leftList(v).items, (Texts{"a", "b"}));
            d.press("&OK");
        },
    });
    EXPECT_EQ(r, 2);
    EXPECT_EQ(selected.items(), Texts{""});
}

TEST_F(TwoListTest, FindByWordSelectsInBothListsAndKeepsTheWord) {
    selected = strArray({"Googlebot"});
    all = strArray({"googlebot", "googlebot-image", "msnbot", "Slurp"});
    p.hideNumbers = true;
    const int r = run({
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(leftList(v).items, (Texts{"googlebot-image", "msnbot", "Slurp"}));
            d.setText(nth(v, "TextBox", 0).entry, "BOT");
            d.press("Find all Rules with Wo&rd");
        },
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(leftList(v).selection, "0|1");
            EXPECT_EQ(rightList(v).selection, "0");
            EXPECT_EQ(nth(v, "TextBox", 0).value, "BOT");
            d.press("&OK");
        },
    });
    EXPECT_EQ(r, 2);
}

TEST_F(TwoListTest, EnteredItemLeavesTheLeftListAndCancelAddsNothing) {
    all = strArray({"a", "b"});
    numbers = lngArray({1, 2});
    p.enterItemCaption = "&";
    const Step enter = press("Enter Ite&m To Add");
    const int r = run({
        enter,
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_NE(v.message.find("Enter Value to Add to List (RHS)."), std::string::npos);
            d.press("&Cancel");
        },
        [enter](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(rightList(v).items, Texts{});
            enter(v, d);
        },
        [](const core::DlgView& v, core::DlgDriver& d) {
            d.setText(nth(v, "TextBox", 0).entry, "B");
            d.press("&OK");
        },
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(leftList(v).items, Texts{"a - 1"});
            EXPECT_EQ(rightList(v).items, Texts{"B"});
            d.press("&OK");
        },
    });
    EXPECT_EQ(r, 2);
    EXPECT_EQ(selected.items(), Texts{"B"});
}

TEST_F(TwoListTest, SelectThenAddPicksFromTheSelectedItemsInANestedSelector) {
    all = strArray({"c", "a", "b"});
    numbers = lngArray({3, 1, 2});
    p.selectThenAddCaption = "&";
    const int r = run({
        [](const core::DlgView& v, core::DlgDriver& d) {
            d.choose(leftList(v).entry, {1, 2});
            d.press("Selec&t then Add -->");
        },
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_NE(v.message.find("Create List to add."), std::string::npos);
            EXPECT_EQ(leftList(v).items, (Texts{"b", "c"}));
            d.choose(leftList(v).entry, {1});
            d.press("&Add -->");
        },
        press("&OK"),
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(leftList(v).items, (Texts{"a - 1", "b - 2"}));
            EXPECT_EQ(rightList(v).items, Texts{"c"});
            d.press("&OK");
        },
    });
    EXPECT_EQ(r, 2);
    EXPECT_EQ(selected.items(), Texts{"c"});
}

TEST_F(TwoListTest, OlderCallMapsItsArgumentsOntoTheRecord) {
    all = strArray({"b", "a"});
    numbers = lngArray({1, 2});
    core::StrArray entries, values;
    core::Table2D rows;
    long pressed = 0;
    ScriptedResponder responder;
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        // Numbers shown, sorted by text, no find row, no second bottom line.
        EXPECT_EQ(leftList(v).items, (Texts{"a:2", "b:1"}));
        EXPECT_EQ(v.buttons, (Texts{"&Add -->", "<-- R&emove", "&OK", "&Later", "&Cancel"}));
        EXPECT_EQ(nth(v, "Label", 2).caption, "Choose.");
        d.press("&Later");
    }});
    const int r = OLDMBX_TwoListSelect(selected, all, numbers, skip, "Rule", entries, values, rows, "Msg", true, ":",
                                       false, false, false, false, "", 0, false, false, "Choose.", "", "&Later",
                                       pressed, false);
    EXPECT_EQ(r, 7);
    EXPECT_EQ(pressed, 1);
}

TEST_F(TwoListTest, EditedSkipListReplacesTheSkipListAndRebuildsTheLeftList) {
    all = strArray({"a", "b", "c"});
    skip = strArray({"b", "c"});
    p.hideNumbers = true;
    p.skipEditCaption = "&";
    const int r = run({
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(leftList(v).items, Texts{"a"});
            d.press("Edit S&kip List");
        },
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(v.ctls.at(0).items, (Texts{"b", "c"}));
            d.choose(v.ctls.at(0).entry, {0});
            d.press("R&emove ");
        },
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(v.ctls.at(0).items, Texts{"c"});
            d.press("&OK");
        },
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(leftList(v).items, (Texts{"a", "b"}));
            d.press("&OK");
        },
    });
    EXPECT_EQ(r, 2);
    EXPECT_EQ(skip.items(), Texts{"c"});
}

TEST_F(TwoListTest, SeveralValuesEnteredAtOnceStartingFromTheSelection) {
    all = strArray({"a", "b", "c"});
    numbers = lngArray({1, 2, 3});
    p.enterItemCaption = "&";
    const Step enter = press("Enter Ite&m To Add");
    const int r = run({
        [enter](const core::DlgView& v, core::DlgDriver& d) {
            d.choose(leftList(v).entry, {0});
            enter(v, d);
        },
        press("Cop&y Selected"),
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(v.ctls.at(0).value, "a");  // the selected item, without its number
            d.setText(v.ctls.at(1).entry, "x");
            d.press("&Add Line");
        },
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(v.ctls.at(1).value, "x");
            d.setText(v.ctls.at(2).entry, "C");
            d.press("&OK");
        },
        [enter](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(leftList(v).items, Texts{"b - 2"});
            EXPECT_EQ(rightList(v).items, (Texts{"a", "x", "C"}));
            enter(v, d);
        },
        press("&More"),
        [](const core::DlgView& v, core::DlgDriver& d) {
            d.setText(v.ctls.at(0).entry, "b");
            d.press("&Cancel");
        },
        press("&OK"),
    });
    EXPECT_EQ(r, 2);
    EXPECT_EQ(selected.items(), (Texts{"a", "x", "C"}));
}

TEST_F(TwoListTest, RememberedControlsShowTheirValuesAndSaveThemAfterEachShowing) {
    testsupport::TempHome home;
    const std::string ini = home / "sel.ini";
    testsupport::writeFile(ini,
                           "[Sel]\n"
                           "Ctls=Defs|List\n"
                           "3=Vals|Flag\n"
                           "[Defs]\n"
                           "List={CheckBox|FlagSpec|FlagVal|3}\n"
                           "FlagSpec=&Flag\n"
                           "[Vals]\n"
                           "Flag=True\n");
    all = strArray({"a"});
    p.rememberedFile = ini;
    p.rememberedSection = "Sel";
    p.rememberedEntry = "Ctls";
    const int r = run({
        [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(v.ctls.at(0).type, "CheckBox");
            EXPECT_EQ(v.ctls.at(0).value, "1");
            EXPECT_EQ(v.buttons.at(0), "&Add -->");
            d.setCheck(v.ctls.at(0).entry, 0);
            d.press("&Cancel");
        },
    });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(INI_Get("Vals", "Flag", ini, 1), "False");
}
