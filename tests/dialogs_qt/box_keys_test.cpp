#include "dialogs/box_keys.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <algorithm>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/text.h"
#include "platform/grid/flex_grid.h"
#include "tests/dialogs_qt/box_fixture.h"
#include "tests/support/temp_home.h"
#include "window/grid_operations.h"

using dlgtest::BoxTest;
using dlgtest::spec;

namespace {

QWidget* controlOf(long entry) {
    const std::string map = gMBForm->entryMap[entry];
    return (*gMBForm->arrayOfKind(static_cast<int>(CHUNKS_GetNum(1, map))))[static_cast<int>(CHUNKS_GetNum(2, map))];
}

}  // namespace

TEST_F(BoxTest, HotKeysPressButtonsUnlessTextIsTypedOrAltIsHeld) {
    struct Case {
        const char* name;
        bool textBoxHasFocus;
        int keyCode, shift;
        int expected;  // 2: nothing happened and Cancel was pressed after
    } cases[] = {
        {"letter", false, 82, 0, 1},
        {"keypadDigit", false, 101, 0, 3},   // keypad 5 is "5"
        {"typedIntoTextBox", true, 82, 0, 2},
        {"altLeftToQt", false, 82, 4, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        MB_AddControl("TextBox", c.textBoxHasFocus ? spec({{7, "True"}}) : "", "", ctl, true);
        const int r = show("Keys", "&Retry|&Cancel|&5", "", "", [&](const core::DlgView&, core::DlgDriver& d) {
            if (!c.textBoxHasFocus) gMBForm->fButton[2]->setFocus();
            d.key(c.keyCode, c.shift);
            if (gMBForm->fLastData_OUT->text().isEmpty()) d.press("&Cancel");
        });
        EXPECT_EQ(r, c.expected);
        TearDown();
    }
}

TEST_F(BoxTest, LabelHotKeyMovesTheFocusToTheNextControl) {
    MB_AddControl("Label", "", "Name [n]", ctl, true);
    const long name = MB_AddControl("TextBox", "", "", ctl, false);
    MB_AddControl("CheckBox", spec({{1, "Other"}, {7, "True"}}), "0", ctl, false);
    show("Label", "0", "", "", [&](const core::DlgView&, core::DlgDriver& d) {
        EXPECT_NE(gMBForm->focusWidget(), controlOf(name));
        d.key(78, 0);
        EXPECT_EQ(gMBForm->focusWidget(), controlOf(name));
        d.press("&OK");
    });
}

TEST_F(BoxTest, CheckBoxHotKeyTogglesItAndItsRules) {
    const long check = MB_AddControl("CheckBox", spec({{1, "&Proxy"}}), "0", ctl, true);
    const long host = MB_AddControl("TextBox", spec({{22, "1"}}), "", ctl, false);
    show("Check", "0", "", "", [&](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_FALSE(v.ctls.at(host - 1).enabled);
        gMBForm->fButton[1]->setFocus();
        d.key(80, 0);
        EXPECT_TRUE(controlOf(host)->isEnabled());
        EXPECT_EQ(gMBForm->focusWidget(), controlOf(check));
        d.press("&OK");
    });
    EXPECT_EQ(ctl.values[check], "1");
}

TEST_F(BoxTest, FontKeysRebuildTheBoxButPlainLettersAreTypedInTextBoxes) {
    testsupport::TempHome home;
    TXT_CrLfInit();
    gMBIniFile = home / "screens.ini";
    MB_AddControl("TextBox", spec({{7, "True"}}), "", ctl, true);
    testsupport::ScriptedResponder responder;
    responder.expect({.act = [](const core::DlgView&, core::DlgDriver& d) {
        d.key(68, 0);  // typed
        EXPECT_TRUE(gMBForm->fLastData_OUT->text().isEmpty());
        d.key(68, 2);  // Ctrl+D: smaller font, box rebuilt
    }});
    responder.expect({.press = "&OK"});
    Msgbxform* form = nullptr;
    EXPECT_EQ(MB_Show("Font", "0", "", "", ctl, state, form), 1);
    EXPECT_EQ(responder.shown().size(), 2u);
    EXPECT_NE(INI_Get("MB formats", "MB all Size", gMBIniFile, 1), kIniNotFound);
    gMBIniFile.clear();
}

TEST_F(BoxTest, DoubleClickOnAListActsByItsAction) {
    struct Case {
        const char* name;
        std::string field9;
        int expected;
        bool showsText;
    } cases[] = {{"default", "", 1, true}, {"button", "2", 2, false}, {"nothing", "-1", 1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        core::StrArray items;
        CHUNKS_Split("a|b", items, 0);
        MB_AddListCtl(items, "", 0, "ListBox", spec({{9, c.field9}}), ctl, true);
        testsupport::ScriptedResponder responder;
        responder.expect({.act = [](const core::DlgView&, core::DlgDriver& d) {
            Msgbxform* box = gMBForm;  // a nested box takes gMBForm over
            d.dblClick(1, 1);
            if (box->fLastData_OUT->text().isEmpty()) d.press("&OK");
        }});
        if (c.showsText) responder.press("b", "&OK");
        Msgbxform* form = nullptr;
        EXPECT_EQ(MB_Show("Pick", "1", "", "", ctl, state, form), c.expected);
        EXPECT_EQ(responder.pending(), 0u);
        TearDown();
    }
}

TEST_F(BoxTest, CtrlDoubleClickShowsTheItemText) {
    core::StrArray items;
    CHUNKS_Split("first|second item", items, 0);
    MB_AddListCtl(items, "", 1, "ListBox", spec({{9, "2"}}), ctl, true);
    testsupport::ScriptedResponder responder;
    responder.expect({.act = [](const core::DlgView&, core::DlgDriver& d) {
        MB_FormListDblClick(gMBForm, controlOf(1), 2, false);
        d.press("&OK");
    }});
    responder.press("second item", "&OK");
    Msgbxform* form = nullptr;
    // The list's own action (2) does not close the box.
    EXPECT_EQ(MB_Show("Pick", "0", "", "", ctl, state, form), 1);
    EXPECT_EQ(responder.shown().at(1).message, "second item");
}

TEST_F(BoxTest, ShownTextWithManyLinesOpensAsALineList) {
    TXT_CrLfInit();
    struct Case {
        const char* name;
        int lineBreaks;
        bool lineList;
    } cases[] = {{"45 line breaks: information box", 45, false}, {"46 line breaks: line list", 46, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        std::string text = "line 0";
        for (int n = 1; n <= c.lineBreaks; ++n) text += gCR + "line " + std::to_string(n);
        core::StrArray items;
        items.append(text);
        MB_AddListCtl(items, "", 0, "ListBox", spec({{9, "-2"}}), ctl, true);
        testsupport::ScriptedResponder responder;
        responder.expect({.act = [](const core::DlgView&, core::DlgDriver& d) {
            d.dblClick(1, 0);
            d.press("&OK");
        }});
        if (c.lineList) {
            responder.expect({.press = "&Cancel", .act = [](const core::DlgView& v, core::DlgDriver&) {
                EXPECT_EQ(v.buttons, (std::vector<std::string>{"Edi&t ", "&New ", "R&emove ", "Cop&y ", "Move &Up",
                                                               "Move Do&wn", "&Cancel"}));
                ASSERT_EQ(v.ctls.at(0).items.size(), 47u);
                EXPECT_EQ(v.ctls.at(0).items.back(), "line 46");
                EXPECT_EQ(v.ctls.at(1).caption, "Select item and press Ctrl+Z to view the whole message.");
            }});
        } else {
            responder.press("line 45", "&OK");
        }
        Msgbxform* form = nullptr;
        EXPECT_EQ(MB_Show("Pick", "0", "", "", ctl, state, form), 1);
        EXPECT_EQ(responder.pending(), 0u);
        EXPECT_EQ(responder.shown().at(1).kind, "MB");
        EXPECT_EQ(responder.shown().at(1).message.empty(), c.lineList);  // the list box holds the lines
        TearDown();
    }
}

TEST_F(BoxTest, OptionButtonRulesAndAGreyCheckBox) {
    MB_AddControl("OptionButton", spec({{1, "One"}}), "True", ctl, true);
    const long two = MB_AddControl("OptionButton", spec({{1, "Two"}}), "False", ctl, false);
    const long a = MB_AddControl("TextBox", spec({{22, "2"}}), "", ctl, false);
    const long b = MB_AddControl("TextBox", spec({{22, "2"}}), "", ctl, false);
    MB_AddControl("CheckBox", spec({{1, "Grey"}}), "2", ctl, false);
    const long c = MB_AddControl("TextBox", spec({{22, "5"}}), "", ctl, false);
    show("Rules", "0", "", "", [&](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_FALSE(v.ctls.at(a - 1).enabled);
        EXPECT_FALSE(v.ctls.at(b - 1).enabled);
        EXPECT_FALSE(v.ctls.at(c - 1).enabled);  // grey counts as clear
        // Both rules live in one list and one click updates both.
        EXPECT_NE(gMBForm->dDynamicEna_OptionAcs_SWithSQC.find("|~~|"), std::string::npos);
        d.setCheck(static_cast<int>(two), 1);
        EXPECT_TRUE(controlOf(a)->isEnabled());
        EXPECT_TRUE(controlOf(b)->isEnabled());
        d.press("&OK");
    });
}

class GridFindTest : public BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        TXT_CrLfInit();
        grid = static_cast<grid::FlexGrid*>(form.fGrid[0]);
        grid->setRows(3);
        grid->setCols(2);
        const char* cells[3][2] = {{"h1", "h2"}, {"apple", "Pear"}, {"plum", "fig"}};
        for (long r = 0; r < 3; ++r)
            for (int c = 0; c < 2; ++c) GRDFLX_CellSet(*grid, r, c, cells[r][c]);
    }
    Msgbxform form;
    grid::FlexGrid* grid = nullptr;
};

TEST_F(GridFindTest, FindsAfterTheCurrentCellWrapsOnceAndReportsAMiss) {
    testsupport::ScriptedResponder responder;
    struct Case {
        const char* name;
        long startRow;
        int startCol;
        std::string text;
        long row;
        int col;
        bool notFound;
    } cases[] = {
        {"sameRowNextColumn", 1, 0, "PEAR", 1, 1, false},
        {"wrapsToTheTop", 2, 1, "apple", 1, 0, false},
        {"missFromTheTop", 0, 0, "kiwi", 0, 0, true},
        {"missAfterWrapRestoresTheRow", 2, 0, "kiwi", 2, 0, true},
        {"emptyAnswerLooksForNothing", 1, 0, "", 1, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->setRow(c.startRow);
        grid->setCol(c.startCol);
        form.dGridFindText.clear();
        responder.expect({.expectMessage = "Enter Text To Find:", .sets = {{"#1", c.text}}, .press = "&OK"});
        if (c.notFound) responder.press("Not found >>" + c.text + "<<", "&OK");
        MB_FormGridFind(&form, *grid);
        EXPECT_EQ(responder.pending(), 0u);
        EXPECT_EQ(grid->Row(), c.row);
        EXPECT_EQ(grid->Col(), c.col);
    }
}

TEST_F(GridFindTest, F2OffersToSaveTheGrid) {
    testsupport::ScriptedResponder responder;
    responder.expect({.expectMessage = "", .sets = {}, .press = "&Cancel",
                      .act = [](const core::DlgView& v, core::DlgDriver&) {
                          bool offersGrid = false;
                          for (const auto& c : v.ctls) offersGrid = offersGrid || c.caption == "Save contents of grid.";
                          EXPECT_TRUE(offersGrid);
                      }});
    form.fGrid_KeyDown(0, 113, 0);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(responder.shown().size(), 1u);
}

TEST_F(BoxTest, HeaderDoubleClickSortsAGridThatAllowsItAndRemembersTheColumns) {
    core::StrArray items;
    CHUNKS_Split("cherry|apple|banana", items, 0);
    MB_AddListCtl(items, "", -1, "Grid", spec({{16, "True"}}), ctl, true);
    // Without leave to sort, the header takes the grid's own action (here none).
    MB_AddListCtl(items, "", -1, "Grid", spec({{9, "-1"}}), ctl, false);
    show("Sort", "0", "", "", [](const core::DlgView& v, core::DlgDriver& d) {
        for (int entry : {1, 2}) {
            auto* g = static_cast<grid::FlexGrid*>(controlOf(entry));
            EXPECT_FALSE(std::is_sorted(v.ctls.at(entry - 1).items.begin(), v.ctls.at(entry - 1).items.end()));
            d.dblClick(entry, -1);
            std::vector<std::string> after;
            for (long r = g->FixedRows(); r < g->Rows(); ++r) after.push_back(GRDFLX_CellText(*g, r, g->Col()));
            SCOPED_TRACE(entry);
            const int member = ui::controlIndex(g);
            ASSERT_EQ(after.size(), 3u);
            if (entry == 1) {
                EXPECT_TRUE(std::is_sorted(after.begin(), after.end()));
                EXPECT_EQ(gMBForm->gridSortCols[member], std::to_string(g->Col()) + "|" + std::to_string(g->ColSel()));
            } else {
                EXPECT_EQ(after, v.ctls.at(entry - 1).items);
                EXPECT_EQ(gMBForm->gridSortCols.count(member), 0u);
            }
        }
        d.press(1);
    });
}

TEST_F(BoxTest, TypeAheadMovesTheListOnceAndKeepsTheKeyFromIt) {
    testsupport::TempHome home;
    gMBIniFile = home / "screens.ini";
    core::StrArray items;
    CHUNKS_Split("apple|banana|berry", items, 0);
    MB_AddListCtl(items, "", 0, "ListBox", spec({{7, "True"}}), ctl, true);
    show("List", "0", "", "", [](const core::DlgView&, core::DlgDriver& d) {
        auto* list = qobject_cast<QListWidget*>(controlOf(1));
        ASSERT_EQ(gMBForm->focusWidget(), list);
        for (int expected : {1, 2, 1}) {
            // Ctrl+B: plain letters are left to the list under the default mask.
            int code = 66, shift = 2;
            gMBForm->Form_KeyDown(code, shift);
            EXPECT_EQ(code, 0);
            EXPECT_EQ(list->currentRow(), expected);
        }
        d.press("&OK");
    });
    gMBIniFile.clear();
}
