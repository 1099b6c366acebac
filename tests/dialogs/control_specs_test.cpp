#include "dialogs/control_spec.h"

#include <gtest/gtest.h>

#include "platform/sys/rt_error.h"

namespace {

using namespace dlg;

// An entry in its Tag form: the type word, then spec fields 1, 2, ...
std::string entry(std::string_view type, std::initializer_list<std::string_view> fields = {}) {
    std::string e(type);
    for (auto f : fields) (e += kFieldSep) += f;
    return e;
}

// An entry whose spec sets only field m.
std::string entryWith(std::string_view type, int m, std::string_view value) {
    std::string e(type);
    for (int k = 1; k < m; ++k) e += kFieldSep;
    return e + std::string(kFieldSep) + std::string(value);
}

TEST(ControlSpec, TypeWordAndSpecFieldsChooseTheControlArray) {
    struct Case {
        std::string entry;
        std::string type;
        bool sameRow;
        KindCode kind;
    } cases[] = {
        {entry("TextBox"), "TextBox", false, kKindTextBox},
        {entryWith("TextBox", kSfVariant, "True"), "TextBox", false, kKindTextBoxM},
        {entryWith("TextBox", kSfVariant, "1"), "TextBox", false, kKindTextBoxM},
        {entryWith("TextBox", kSfVariant, "0"), "TextBox", false, kKindTextBox},
        {entryWith("TextBox", kSfVariant, "False"), "TextBox", false, kKindTextBox},
        {entryWith("ListBox", kSfVariant, "2"), "ListBox", false, kKindListMulti2},
        {entryWith("ListBox", kSfVariant, "1"), "ListBox", false, kKindListMulti1},
        {entryWith("ListBox", kSfVariant, "3"), "ListBox", false, kKindList},
        {entry("ListBox"), "ListBox", false, kKindList},
        {entry("ComboBox"), "ComboBox", false, kKindCombo},
        {entryWith("ComboBox", kSfVariant, "0"), "ComboBox", false, kKindComboStyle0},
        {entryWith("ComboBox", kSfVariant, "2"), "ComboBox", false, kKindCombo},
        {entry("_TextBox"), "TextBox", true, kKindTextBox},
        {entry("ListBox_"), "ListBox", true, kKindList},
        {entry("OptionButton", {"Yes"}), "OptionButton", false, kKindOption},
        {entry("CheckBox"), "CheckBox", false, kKindCheck},
        {entry("Label"), "Label", false, kKindLabel},
        {entry("Shape"), "Shape", false, kKindShape},
        {entry("Grid"), "Grid", false, kKindGrid},
        {entry("CommandButton"), "CommandButton", false, kKindButton},
        {entry("Line"), "Line", false, kKindLine},
        {entry("JustAddHeight", {"", "500"}), "JustAddHeight", false, kKindNone},
        {entry("Image"), "Image", false, kKindNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        auto spec = MB_CtlSpec::parse(c.entry);
        EXPECT_EQ(spec.type, c.type);
        EXPECT_EQ(spec.sameRow, c.sameRow);
        EXPECT_EQ(spec.kind(), c.kind);
    }
    EXPECT_EQ(MB_CtlSpec::parse(entry("CommandButton", {"", "", "", "", "", "", "", "", "p.png"}))
                  .kind(true),
              kKindImage);
}

TEST(ControlSpec, FieldsAreReadByPositionWithDefaults) {
    auto spec = MB_CtlSpec::parse(entry("TextBox", {"2000", "", "True", "x"}));
    EXPECT_EQ(spec.fieldCount(), 4);
    EXPECT_EQ(spec.text(kSfWidth), "2000");
    EXPECT_TRUE(spec.flag(kSfBold));
    EXPECT_FALSE(spec.flag(kSfFocus));  // beyond the end
    EXPECT_EQ(spec.number(kSfItalic), 0);  // not a number
    EXPECT_EQ(entryField(kSfFocus), 8);
    EXPECT_EQ(entryField(kSfEnabling), 23);
}

TEST(ControlSpec, WidthIsScaledForLargeFontsAndKeptInsideTheColumn) {
    struct Case {
        const char* name;
        std::string field1;
        double fontSize, expected;
    } cases[] = {
        {"empty: the whole column", "", 8, 8640},
        {"too wide", "20000", 8, 8640},
        {"fits", "3000", 8, 3000},
        {"12 pt scales by 1.5", "3000", 12, 4500},
        {"9 pt stays", "3000", 9, 3000},
        {"negative", "-5", 8, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto spec = MB_CtlSpec::parse(entry("TextBox", {c.field1}));
        EXPECT_EQ(spec.width(9000, 120, c.fontSize), c.expected);
    }
    EXPECT_EQ(MB_CtlSpec::parse(entry("TextBox")).height(), 285);
    EXPECT_EQ(MB_CtlSpec::parse(entry("TextBox", {"", "500"})).height(), 500);
    EXPECT_EQ(MB_CtlSpec::parse(entry("CommandButton", {"", "0"})).height(345), 345);
    EXPECT_EQ(MB_CtlSpec::parse(entry("JustAddHeight", {""})).spacerHeight(), 285);
    EXPECT_EQ(MB_CtlSpec::parse("JustAddHeight").spacerHeight(), 285);
    EXPECT_EQ(MB_CtlSpec::parse(entry("JustAddHeight", {"", "500"})).spacerHeight(), 500);
    EXPECT_EQ(MB_CtlSpec::parse(entry("JustAddHeight", {"", ""})).spacerHeight(), 0);
    EXPECT_EQ(MB_CtlSpec::parse(entry("JustAddHeight", {"", "-10"})).spacerHeight(), 0);
}

TEST(ControlSpec, ListActionsKeepButtonsAndKnownCodesOnly) {
    struct Case {
        const char* field;
        long dblClick, click;
    } cases[] = {
        {"", -2, -1}, {"3", 3, 3},   {"7", -2, -1}, {"-1", -1, -1}, {"-2", -2, -1},
        {"-3", -3, -1}, {"-4", -2, -4}, {"1.5", -2, -1}, {"abc", -2, -1}, {"0", -2, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(listDoubleClickAction(c.field, 3), c.dblClick);
        EXPECT_EQ(listClickAction(c.field, 3), c.click);
    }
}

TEST(ControlSpec, ListAndGridTagItems) {
    using Items = std::vector<std::pair<int, std::string>>;
    EXPECT_EQ(MB_CtlSpec::parse(entry("ListBox")).listTagItems(2),
              (Items{{6, "-2"}, {9, "-1"}, {7, "False"}, {8, "True"}}));
    EXPECT_EQ(MB_CtlSpec::parse(entryWith("ComboBox", kSfCountFrom1, "True")).listTagItems(2),
              (Items{{6, "-2"}, {9, "-1"}, {7, "False"}, {8, "True"}, {10, "True"}}));
    EXPECT_EQ(MB_CtlSpec::parse(entryWith("ListBox", kSfSelStart, "True")).listTagItems(2)[3],
              (std::pair<int, std::string>{8, "False"}));
    EXPECT_EQ(MB_CtlSpec::parse(entryWith("Grid", kSfSkipBlank, "True")).listTagItems(2),
              (Items{{6, "-2"}, {9, "-1"}, {7, "True"}}));
}

TEST(ControlSpec, TextSelectionNeedsAPositiveLength) {
    auto sel = [](std::string_view start, std::string_view length, long textLength) {
        return MB_CtlSpec::parse(entry("TextBox", {"", "", "", "", "", "", "", "", "", "", start,
                                                   length}))
            .textSelection(textLength);
    };
    EXPECT_EQ(sel("2", "5", 10), (std::pair<long, long>{2, 5}));
    EXPECT_EQ(sel("8", "5", 10), (std::pair<long, long>{8, 2}));
    EXPECT_EQ(sel("", "3", 10), (std::pair<long, long>{0, 3}));
    EXPECT_FALSE(sel("2", "0", 10));
    EXPECT_FALSE(sel("-1", "3", 10));
}

TEST(ControlSpec, ShapesAreCentredInTheirRow) {
    EXPECT_EQ(MB_ShapeFit(300, 50), (std::pair<double, double>{150, 75}));
    EXPECT_EQ(MB_ShapeFit(285, 0), (std::pair<double, double>{0, 142}));
}

TEST(ControlSpec, LinesContinueFromThePreviousLine) {
    MB_LineState state;
    auto twoThousand = MB_CtlSpec::parse(entryWith("Line", kSfVariant, "2000"));
    auto first = MB_LinePlace(twoThousand, state, false, 6000, 4000);
    auto second = MB_LinePlace(twoThousand, state, false, 6000, 4000);
    EXPECT_EQ(second.x1 - first.x1, 3000);
    EXPECT_EQ(first.borderWidth, 1);
    EXPECT_EQ(first.borderStyle, 1);
    EXPECT_EQ(first.y2, 4000);  // the form's height downwards

    MB_LineState fresh;
    auto opening = MB_LinePlace(MB_CtlSpec::parse(entry("Line", {"0", "500"})), fresh, true, 6000,
                                4000);
    EXPECT_EQ(opening.x1, 3000);
    EXPECT_EQ(opening.x2, 3000);
    EXPECT_EQ(opening.y2, 500);
    EXPECT_EQ(opening.borderWidth, 1);
    auto placed = MB_LinePlace(
        MB_CtlSpec::parse(entry("Line", {"3", "", "100", "10", "900", "20", "2", "255"})), fresh,
        false, 6000, 4000);
    EXPECT_EQ(placed.borderWidth, 3);
    EXPECT_EQ(placed.x1, 100);
    EXPECT_EQ(placed.y1, 10);
    EXPECT_EQ(placed.x2, 900);
    EXPECT_EQ(placed.y2, 20);
    EXPECT_EQ(placed.borderStyle, 2);
    EXPECT_EQ(placed.borderColor, 255);
}

TEST(ControlSpec, GridSortColumnsAndRowHeights) {
    EXPECT_EQ(MB_GridSortColumns("1_3", 5), (std::pair<long, long>{1, 3}));
    EXPECT_EQ(MB_GridSortColumns("3_1", 5), (std::pair<long, long>{3, 3}));
    EXPECT_EQ(MB_GridSortColumns("2_9", 5), (std::pair<long, long>{2, 2}));
    EXPECT_EQ(MB_GridSortColumns("2", 5), (std::pair<long, long>{2, 2}));
    EXPECT_FALSE(MB_GridSortColumns("5_5", 5));
    EXPECT_FALSE(MB_GridSortColumns("-1", 5));

    auto all = MB_GridRowHeights("{400}", 10);
    EXPECT_EQ(all.height, 400);
    EXPECT_EQ(all.first, 0);
    EXPECT_EQ(all.last, 9);
    auto some = MB_GridRowHeights("0|-3|50", 10);
    EXPECT_EQ(some.height, 1);
    EXPECT_EQ(some.first, 0);
    EXPECT_EQ(some.last, 9);
}

TEST(ControlSpec, ComboColumnZeroIsATextOrAPosition) {
    auto text = MB_ComboChoiceParse("CBtxtabc");
    EXPECT_TRUE(text.isText);
    EXPECT_EQ(text.text, "abc");
    auto pos = MB_ComboChoiceParse("2|x");
    EXPECT_FALSE(pos.isText);
    EXPECT_EQ(pos.position, 2);
    EXPECT_EQ(MB_ComboChoiceParse("").position, 0);
}

TEST(ControlSpec, ParseNums8RoundsHalvesToEvenAndAddsOneToEveryItem) {
    std::array<long, 8> nums{};
    std::string rest;
    long next = 0;
    std::string list = "2.5|3.5|-1|x|5|6|7|8|9|10.5";
    EXPECT_EQ(MB_ParseNums8(list, nums, rest, next, false), 2);
    EXPECT_EQ(nums, (std::array<long, 8>{2, 4, -1, 0, 5, 6, 7, 8}));
    EXPECT_EQ(rest, "9|10.5");
    EXPECT_EQ(next, 3);
    EXPECT_EQ(list, "2.5|3.5|-1|x|5|6|7|8|9|10.5");

    EXPECT_EQ(MB_ParseNums8(list, nums, rest, next, true), 3);
    EXPECT_EQ(nums, (std::array<long, 8>{3, 5, 0, 1, 6, 7, 8, 9}));
    EXPECT_EQ(next, 3);  // taken before the flag acts
    EXPECT_EQ(list, "3.5|4.5|0|1|6|7|8|9|10|11.5");
    EXPECT_EQ(rest, "10|11.5");

    std::string shortList = "4|1";
    MB_ParseNums8(shortList, nums, rest, next, false);
    EXPECT_EQ(nums, (std::array<long, 8>{4, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(rest, "");
}

TEST(ControlSpec, GridStateIsReadFromTheRowsTable) {
    core::Table2D rows;
    rows.redim(0, 2, 0, 1);
    rows.set(2, 0, std::string("3|1|4|2|9|2|1|1"));
    std::array<long, 8> nums{};
    std::string rest;
    long next = 0;
    EXPECT_EQ(MB_GridStateParse(rows, 2, 0, nums, rest, next, false), 3);
    EXPECT_EQ(nums, (std::array<long, 8>{3, 1, 4, 2, 9, 2, 1, 1}));
    // Outside the table the state is all zeros.
    EXPECT_EQ(MB_GridStateParse(rows, 7, 0, nums, rest, next, false), 0);
    EXPECT_EQ(next, 1);
}

}  // namespace
