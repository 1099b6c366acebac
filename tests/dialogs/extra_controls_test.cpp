#include "dialogs/extra_controls.h"

#include <gtest/gtest.h>

#include "core/vb_format.h"
#include "dialogs/control_spec.h"
#include "dialogs/option_strings.h"
#include "tests/support/arrays.h"

namespace {

using testsupport::strArray;

std::string cell(const MB_CtlEntry& ctl, long row, long col) {
    return ctl.rows.inBounds(row, col) ? core::vbCStr(ctl.rows(row, col)) : "<none>";
}

bool cellIsLong(const MB_CtlEntry& ctl, long row, long col) {
    return std::holds_alternative<long>(ctl.rows(row, col));
}

TEST(ExtraControls, EntriesAreNumberedFromOneAndValuesFollowThem) {
    MB_CtlEntry ctl;
    EXPECT_EQ(MB_AddControl("Label", "", "Name:", ctl, true), 1);
    EXPECT_EQ(MB_AddListCtlStr("a|b", "", 0, "Grid", "", ctl, false), 2);
    EXPECT_EQ(MB_AddControl("TextBox", "2000", "typed", ctl, false), 3);

    EXPECT_EQ(ctl.entries[0], "");
    EXPECT_EQ(ctl.entries[1], "Label|~~|");
    EXPECT_EQ(ctl.entries[3], "TextBox|~~|2000");
    EXPECT_EQ(ctl.values.ubound(), 3);
    EXPECT_EQ(ctl.values[0], "");
    EXPECT_EQ(ctl.values[2], "");  // lists keep their items in rows
    EXPECT_EQ(ctl.values[3], "typed");
    EXPECT_EQ(ctl.rows.rowUBound(), 2);  // rows grow exactly, for list kinds only
    EXPECT_EQ(ctl.rows.colUBound(), 2);
    EXPECT_EQ(cell(ctl, 2, 1), "a");
    EXPECT_EQ(cell(ctl, 2, 2), "b");
    EXPECT_EQ(cell(ctl, 0, 1), "");

    // A reset starts a new dialog at entry 1.
    EXPECT_EQ(MB_AddControl("CheckBox", "Tick", "1", ctl, true), 1);
    EXPECT_EQ(ctl.entries.ubound(), 1);
    EXPECT_EQ(ctl.rows.rowUBound(), 0);
}

TEST(ExtraControls, BlankItemsAreLeftOutOnlyWhenTheSpecAsks) {
    const auto items = strArray({"", "a", " ", "b"}, 1);
    struct Case {
        const char* name;
        std::string spec;
        std::vector<std::string> columns;
    } cases[] = {
        {"skip blanks", MB_ValueAtField(15, "True") + "|~~|True", {"a", "b"}},
        {"keep blanks", MB_ValueAtField(16, "False"), {"", "a", " ", "b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MB_CtlEntry ctl;
        long k = MB_AddListCtl(items, "", -1, "ListBox", c.spec, ctl, true);
        EXPECT_EQ(ctl.rows.colUBound(), static_cast<long>(c.columns.size()));
        for (std::size_t i = 0; i < c.columns.size(); ++i)
            EXPECT_EQ(cell(ctl, k, static_cast<long>(i) + 1), c.columns[i]);
        // The item count counts the blank items too.
        EXPECT_EQ(MB_CtlSpec::parse(ctl.entries[k]).text(dlg::kSfSelectAll), "4");
    }
}

TEST(ExtraControls, ListsOfOneDialogShareTheRowsAtTheWidestListsWidth) {
    MB_CtlEntry ctl;
    const long wide = MB_AddListCtlStr("a|b|c", "", -1, "ListBox", "", ctl, true);
    const long narrow = MB_AddListCtlStr("x", "", -1, "ComboBox", "", ctl, false);
    EXPECT_EQ(ctl.rows.colUBound(), 3);
    EXPECT_EQ(cell(ctl, wide, 3), "c");
    EXPECT_EQ(cell(ctl, narrow, 1), "x");
    EXPECT_EQ(cell(ctl, narrow, 2), "");

    const long wider = MB_AddListCtlStr("p|q|r|s", "", -1, "Grid", "", ctl, false);
    EXPECT_EQ(ctl.rows.colUBound(), 4);
    EXPECT_EQ(cell(ctl, wide, 3), "c");
    EXPECT_EQ(cell(ctl, wider, 4), "s");
}

TEST(ExtraControls, MarkedItemsAreRecordedInItemOrder) {
    const auto items = strArray({"a", "b", "c"});
    MB_CtlEntry ctl;
    long k = MB_AddListCtl(items, "b|a", -1, "ListBox", "", ctl, true);
    EXPECT_EQ(cell(ctl, k, 0), "0|1");
    EXPECT_EQ(MB_CtlSpec::parse(ctl.entries[k]).text(dlg::kSfSelectAll), "3");

    k = MB_AddListCtl(items, "c", -1, "ListBox", "", ctl, true);
    EXPECT_TRUE(cellIsLong(ctl, k, 0));  // one mark stays a number
    EXPECT_EQ(cell(ctl, k, 0), "2");

    k = MB_AddListCtl(items, "b|a", -1, "ComboBox", MB_ValueAtField(15, "True"), ctl, true);
    EXPECT_EQ(cell(ctl, k, 0), "1|2");

    k = MB_AddListCtl(items, "z", 1, "ListBox", "", ctl, true);
    EXPECT_EQ(cell(ctl, k, 0), "");  // with marks the chosen index is ignored
}

TEST(ExtraControls, AChosenIndexBecomesAPositionInTheListsCounting) {
    const auto items = strArray({"x", "a", "b", "c"});
    struct Case {
        const char* name;
        long chosen, first;
        std::string spec;
        std::string column0;
    } cases[] = {
        {"from 0", 2, 1, "", "1"},
        {"from 1 under field 15", 2, 1, MB_ValueAtField(15, "True"), "2"},
        {"beyond the items", 5, 1, "", ""},
        {"nothing", -1, 1, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MB_CtlEntry ctl;
        long k = MB_AddListCtl(items, "", c.chosen, "ListBox", c.spec, ctl, true, c.first, 3);
        EXPECT_EQ(cell(ctl, k, 1), "a");
        EXPECT_EQ(cell(ctl, k, 0), c.column0);
    }
}

TEST(ExtraControls, ResultTextReadsTheChosenItem) {
    MB_CtlEntry ctl;
    long k = MB_AddListCtlStr("a|b|c", "", 2, "ListBox", "", ctl, true);
    EXPECT_EQ(MB_ResultText(k, ctl.rows, "none"), "c");
    ctl.rows.set(k, 0, -1L);
    EXPECT_EQ(MB_ResultText(k, ctl.rows, "none"), "none");
    ctl.rows.set(k, 0, std::string("1"));  // a text from the copy-back
    EXPECT_EQ(MB_ResultText(k, ctl.rows, "none"), "b");
}

TEST(ExtraControls, ButtonEntriesNumberTheirCaptionsAfterEarlierOnes) {
    MB_CtlEntry ctl;
    std::array<long, 6> numbers{-7, -7, -7, -7, -7, -7};
    gMBListCount = 3;
    EXPECT_EQ(MB_AddButtonCtl(false, "", "A|B", ctl, true, false, numbers), "4|5");
    EXPECT_EQ(numbers, (std::array<long, 6>{4, 5, -7, -7, -7, -7}));
    EXPECT_EQ(gMBListCount, 5);
    EXPECT_EQ(ctl.values[1], "A|B");

    EXPECT_EQ(MB_AddButtonCtl(true, "", "", ctl, false, true, numbers), "1");
    EXPECT_EQ(ctl.entries[2], "_CommandButton|~~|");
    EXPECT_EQ(gMBListCount, 1);

    // An empty caption list is one button for the count too, so the main buttons that
    // follow are numbered after it.
    EXPECT_EQ(MB_ExtraButtonCount(ctl), 3);
    MB_AddControl("CommandButton_", "", "x|y|z", ctl, false);
    MB_AddControl("TextBox", "", "a|b", ctl, false);
    EXPECT_EQ(MB_ExtraButtonCount(ctl), 6);
}

TEST(ExtraControls, CaptionListsNumberFromTheirReset) {
    std::string list = "old";
    bool reset = true;
    EXPECT_EQ(MB_AddToList("&OK", list, reset), 1);
    EXPECT_EQ(list, "&OK");
    EXPECT_FALSE(reset);
    EXPECT_EQ(MB_AddToList("&Cancel", list, reset), 2);
    EXPECT_EQ(list, "&OK|&Cancel");
}

TEST(ExtraControls, MarkingMovesTheFocusRequestAndLeavesOtherFieldsAlone) {
    MB_CtlEntry ctl;
    MB_AddControl("TextBox", "100|~~|200", "", ctl, true);
    MB_AddControl("TextBox", MB_ValueAtField(7, "True") + "|~~|x", "", ctl, false);
    MB_AddControl("Label", "", "", ctl, false);

    MB_MarkEntry(1, ctl.entries);
    EXPECT_EQ(ctl.entries[1], "TextBox|~~|100|~~|200|~~||~~||~~||~~||~~|True");
    EXPECT_EQ(ctl.entries[2], "TextBox|~~||~~||~~||~~||~~||~~||~~||~~|x");
    EXPECT_EQ(ctl.entries[3], "Label|~~|");

    MB_MarkEntry(0, ctl.entries);
    EXPECT_FALSE(MB_CtlSpec::parse(ctl.entries[1]).flag(dlg::kSfFocus));
    EXPECT_EQ(ctl.entries[3], "Label|~~|");
}

TEST(ExtraControls, EntryTypeAndCaption) {
    core::StrArray fields;
    EXPECT_EQ(MB_EntryType("_CheckBox|~~|Remember me|~~|300", fields), "CheckBox");
    EXPECT_EQ(fields.ubound(), 2);
    EXPECT_EQ(MB_EntryCaption(fields, "1"), "Remember me");
    MB_EntryType("Label|~~|", fields);
    EXPECT_EQ(MB_EntryCaption(fields, "Fish & #H160#Chips"), "Fish && &Chips");
    MB_EntryType("TextBox", fields);
    EXPECT_EQ(MB_EntryCaption(fields, "x"), "");
}

TEST(ExtraControls, LastFindTextComesFromTheFormOptions) {
    bool found = false;
    long position = 0;
    EXPECT_EQ(MB_FindLastValue("|NoKeys|FndLastVal|abc", found, position), "abc");
    EXPECT_TRUE(found);
    EXPECT_EQ(position, 3);
    EXPECT_EQ(MB_FindLastValue("|NoKeys", found, position), "");
    EXPECT_FALSE(found);
    EXPECT_EQ(position, -1);
}

TEST(ExtraControls, ResultsAddColGrowsTheLastRow) {
    // The results table is filled after a control add, which sets the grow step to 1.
    struct GrowStep {
        long saved = gArrGrowRows;
        GrowStep() { gArrGrowRows = 1; }
        ~GrowStep() { gArrGrowRows = saved; }
    } growStep;
    core::Table2D table;
    table.redim(0, 2, 0, 1);
    MB_ResultsAddCol("x", -1, table);
    EXPECT_EQ(table.colUBound(), 2);
    EXPECT_EQ(core::vbCStr(table(2, 2)), "x");
    MB_ResultsAddCol("y", 0, table);
    EXPECT_EQ(core::vbCStr(table(2, 0)), "y");
}

}  // namespace
