#include "dialogs/option_strings.h"

#include <gtest/gtest.h>

#include "dialogs/dialog_options.h"

namespace {

struct BuilderCase {
    const char* name;
    std::string built;
    std::string expected;
};

TEST(OptionStrings, BuildersGiveTheItemsTheParserReads) {
    dlg::setWorkAreaWidthSource([] { return 19200.0; });
    const BuilderCase cases[] = {
        {"no keys", MB_OptNoKeys(), "NoKeys|"},
        {"esc", MB_OptEsc(3), "Esc=3|"},
        {"default", MB_OptDfltButton(-1), "DfltButton=-1|"},
        {"key hides", MB_OptKeyHides(67, 2), "{KeyHides=2|67}|"},
        {"max per line", MB_OptMaxButtonsPerLine(5), "MBButtspec.MaxBpl=5|"},
        {"no hide", MB_OptNoHide("Fix it", -1, 0), "{NoHide=Fix it|-1|0}|"},
        {"back colour", MB_OptBackColor(16777215), "BackColor=16777215|"},
        {"fore colour", MB_OptForeColor(255), "ForeColor=255|"},
        {"bold", MB_OptTextBold(), "TextBold|"},
        {"font", MB_OptTextFont("Sans Serif"), "TextFont=Sans Serif|"},
        {"top left", MB_OptTopLeft("100|200"), "{Top, left of form=100|200}|"},
        {"min width", MB_OptMinWidth(4500.5f), "Default and Min Width=4500.5|"},
        {"fixed width", MB_OptFixedWidth(6000), "Fixed Width=6000|"},
        {"min width pct", MB_OptMinWidthPct(50), "Default and Min Width=9600|"},
        {"fixed width pct", MB_OptFixedWidthPct(33), "Fixed Width=6336|"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.built, c.expected);
    }
    dlg::setWorkAreaWidthSource({});
}

TEST(OptionStrings, KeyHidesForEveryShiftStateIsEightItems) {
    std::string all = MB_OptKeyHides(27, -1);
    std::string expected;
    for (int s = 0; s <= 7; ++s) expected += "{KeyHides=" + std::to_string(s) + "|27}|";
    EXPECT_EQ(all, expected);
    EXPECT_EQ(dlg::parseOptions(all).optionsInTag,
              "|KeyHides|0|27|KeyHides|1|27|KeyHides|2|27|KeyHides|3|27"
              "|KeyHides|4|27|KeyHides|5|27|KeyHides|6|27|KeyHides|7|27");
}

TEST(OptionStrings, NumbersNeverShowAnExponentOrALocaleComma) {
    EXPECT_EQ(dlg::plainNumber(1e20), "100000000000000000000");
    EXPECT_EQ(dlg::plainNumber(0.0000125), "0.0000125");
    EXPECT_EQ(dlg::plainNumber(-2.5), "-2.5");
    // The product of a percentage is rounded to 15 digits, not shown as 1920.0000000000002.
    EXPECT_EQ(dlg::plainNumber(0.1 * 19200), "1920");
    dlg::setWorkAreaWidthSource([] { return 19201.0; });
    EXPECT_EQ(MB_OptFixedWidthPct(50), "Fixed Width=9600.5|");
    dlg::setWorkAreaWidthSource({});
}

TEST(OptionStrings, ValueAtFieldSetsOnlyThatField) {
    EXPECT_EQ(MB_ValueAtField(3, "x"), "|~~||~~|x");
    EXPECT_EQ(MB_ValueAtField(1, "x"), "x");
    EXPECT_EQ(MB_ValueAtField(0, "x"), "");
}

TEST(OptionStrings, JoiningKeepsEveryItemWhole) {
    // A caller's "16" without a closing bar must not swallow the next item.
    dlg::DialogOptions o = dlg::parseOptions(dlg::joinOptions("16", MB_OptNoKeys() + MB_OptEsc(1)));
    EXPECT_EQ(o.icon, dlg::Icon::Stop);
    EXPECT_EQ(o.formOptions, "|NoKeys");
    EXPECT_EQ(o.escButton, 1);
    EXPECT_EQ(dlg::joinOptions("16|", "NoKeys|"), "16|NoKeys|");
    EXPECT_EQ(dlg::joinOptions("", "NoKeys|"), "NoKeys|");
    EXPECT_EQ(dlg::joinOptions("16", ""), "16");
}

}  // namespace
