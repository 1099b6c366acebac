#include <QLineEdit>

#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "dialogs/extra_controls.h"
#include "platform/grid/flex_grid.h"
#include "tests/dialogs_qt/box_fixture.h"

using dlgtest::BoxTest;
using dlgtest::spec;

namespace {

std::string cell(const core::Table2D& rows, long i) { return ARR_Item2D(rows, i, 0); }

}  // namespace

// What the caller reads back after the box, per kind of control, after the responder
// changed every control through the box's own routines.
TEST_F(BoxTest, CopyBackEncodesEveryKind) {
    const long text = MB_AddControl("TextBox", "", "old", ctl, true);
    const long multi = MB_AddControl("TextBox", spec({{10, "True"}}), "", ctl, false);
    const long check = MB_AddControl("CheckBox", spec({{1, "Tick"}}), "0", ctl, false);
    const long one = MB_AddControl("OptionButton", spec({{1, "One"}}), "True", ctl, false);
    const long two = MB_AddControl("OptionButton", spec({{1, "Two"}}), "False", ctl, false);
    const long combo = MB_AddListCtlStr("x|y|z", "", 0, "ComboBox", "", ctl, false);
    const long single = MB_AddListCtlStr("a|b|c", "", 1, "ListBox", "", ctl, false);
    const long numbered = MB_AddListCtlStr("a|b|c", "", -1, "ListBox", spec({{15, "True"}}), ctl, false);
    const long multiList = MB_AddListCtlStr("a|b|c", "", -1, "ListBox", spec({{10, "1"}}), ctl, false);
    const long noneChosen = MB_AddListCtlStr("a|b|c", "", -1, "ListBox", spec({{10, "2"}}), ctl, false);
    const long extended = MB_AddListCtlStr("a|b|c", "", -1, "ListBox", spec({{10, "2"}}), ctl, false);
    const long extendedNumbered =
        MB_AddListCtlStr("a|b|c", "", -1, "ListBox", spec({{10, "2"}, {15, "True"}}), ctl, false);

    const int r = show("Copy back", "1", "", "", [&](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(v.ctls.at(text - 1).value, "old");
        d.setText(static_cast<int>(text), "new text");
        d.setText(static_cast<int>(multi), "line 1\r\nline 2");
        d.setCheck(static_cast<int>(check), 1);
        d.setCheck(static_cast<int>(two), 1);
        d.choose(static_cast<int>(combo), {2});
        d.choose(static_cast<int>(single), {2});
        d.choose(static_cast<int>(numbered), {1});
        d.choose(static_cast<int>(multiList), {0, 2});
        d.choose(static_cast<int>(extended), {1});
        d.choose(static_cast<int>(extendedNumbered), {0, 2});
        d.press("&OK");
    });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(ctl.values[text], "new text");
    EXPECT_EQ(ctl.values[multi], "line 1\r\nline 2");
    EXPECT_EQ(ctl.values[check], "1");
    EXPECT_EQ(ctl.values[one], "False");
    EXPECT_EQ(ctl.values[two], "True");
    EXPECT_EQ(cell(ctl.rows, combo), "2|z");
    EXPECT_EQ(ctl.rows(single, 0), core::Cell(2L));
    EXPECT_EQ(ctl.rows(numbered, 0), core::Cell(2L));  // its item number
    EXPECT_EQ(cell(ctl.rows, multiList), "0|2");
    EXPECT_EQ(cell(ctl.rows, noneChosen), "-1");
    // Item numbers only where the items have them: a multi-select list without field
    // 15 gives positions, not zeros.
    EXPECT_EQ(cell(ctl.rows, extended), "1");
    EXPECT_EQ(cell(ctl.rows, extendedNumbered), "1|3");
}

TEST_F(BoxTest, ChosenItemsShowWhenTheBoxOpens) {
    const long combo = MB_AddListCtlStr("x|y|z", "", 1, "ComboBox", "", ctl, true);
    const long typed = MB_AddListCtlStr("x|y", "", -1, "ComboBox", spec({{10, "0"}}), ctl, false);
    ctl.rows.set(typed, 0, std::string("CBtxtabc"));
    const long marked = MB_AddListCtlStr("a|b|c", "c|a", -1, "ListBox", spec({{10, "1"}}), ctl, false);
    show("Chosen", "0", "", "", [&](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(v.ctls.at(combo - 1).value, "y");
        EXPECT_EQ(v.ctls.at(typed - 1).value, "abc");
        EXPECT_EQ(v.ctls.at(marked - 1).selection, "0|2");
        d.press(1);
    });
    // Unchanged choices come back as they went in.
    EXPECT_EQ(cell(ctl.rows, combo), "1|y");
    EXPECT_EQ(cell(ctl.rows, typed), "-1|abc");
    EXPECT_EQ(cell(ctl.rows, marked), "0|2");
}

TEST_F(BoxTest, GridSelectionList) {
    core::StrArray items;
    items.redim(0, 2);
    items.set(0, "r0a\tr0b");
    items.set(1, "r1a\tr1b");
    items.set(2, "r2a\tr2b");
    const long plain = MB_AddListCtl(items, "", -1, "Grid", "", ctl, true);
    // A grid that sorts on its header reports the sorted columns and every selected row.
    const long sortable = MB_AddListCtl(items, "", -1, "Grid", spec({{16, "True"}}), ctl, false);
    show("Grids", "1", "", "", [&](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(v.ctls.at(plain - 1).items.at(1), "r1a\tr1b");
        for (long entry : {plain, sortable}) {
            const std::string map = gMBForm->entryMap[entry];
            auto* g = static_cast<grid::FlexGrid*>(gMBForm->fGrid[static_cast<int>(CHUNKS_GetNum(2, map))]);
            g->setRow(2);
            g->setCol(2);
            g->setRowSel(1);
            g->setColSel(1);
        }
        gMBForm->gridSortCols[static_cast<int>(CHUNKS_GetNum(2, gMBForm->entryMap[sortable]))] = "1|2";
        d.press(1);
    });
    const std::string p = cell(ctl.rows, plain);
    // Row's item, Col - 1, first row's item, first col - 1, last row's item, last col - 1.
    EXPECT_EQ(CHUNKS_Get(1, p) + "," + CHUNKS_Get(2, p) + "," + CHUNKS_Get(3, p) + "," + CHUNKS_Get(4, p) + "," +
                  CHUNKS_Get(5, p) + "," + CHUNKS_Get(6, p),
              "2,1,1,0,2,1");
    EXPECT_EQ(CHUNKS_Count(p), 8);
    const std::string s = cell(ctl.rows, sortable);
    EXPECT_EQ(CHUNKS_Get(3, s) + "," + CHUNKS_Get(5, s), "1,2");
    EXPECT_EQ(CHUNKS_Count(s), 10);
    EXPECT_EQ(CHUNKS_Get(9, s) + "," + CHUNKS_Get(10, s), "1,2");
}

TEST_F(BoxTest, CopyBackNeedsTheCallersRowsForLists) {
    MB_AddListCtlStr("a|b", "", -1, "ListBox", "", ctl, true);
    ctl.rows.redim(0, 0, 0, 2);  // too small for entry 1
    try {
        show("m", "0", "", "", [](const core::DlgView&, core::DlgDriver& d) { d.press(1); });
        FAIL() << "no error";
    } catch (const sys::RtError& e) {
        EXPECT_EQ(e.number(), 9);
    }
}

TEST_F(BoxTest, GridSortedAtLoad) {
    core::StrArray items;
    items.redim(0, 2);
    items.set(0, "cherry");
    items.set(1, "apple");
    items.set(2, "banana");
    MB_AddListCtl(items, "", -1, "Grid", spec({{17, "True"}, {18, "1_1"}}), ctl, true);
    MB_AddListCtl(items, "", -1, "Grid", spec({{17, "True"}}), ctl, false);  // no columns named: unsorted
    show("Sorted", "0", "", "", [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(v.ctls.at(0).items, (std::vector<std::string>{"apple", "banana", "cherry"}));
        EXPECT_EQ(v.ctls.at(1).items, (std::vector<std::string>{"cherry", "apple", "banana"}));
        d.press(1);
    });
}
