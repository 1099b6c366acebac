#include "dialogs/dialog_options.h"

#include <gtest/gtest.h>

#include "platform/sys/rt_error.h"

namespace {

using dlg::Icon;
using dlg::parseOptions;

TEST(DialogOptions, StyleNumbersGiveTheIconInItsOrderAndTheDefaultButton) {
    struct Case {
        const char* options;
        Icon icon;
        std::optional<long> dflt;
    } cases[] = {
        {"64", Icon::Information, {}}, {"48", Icon::Exclamation, {}},
        {"32", Icon::Question, {}},    {"16", Icon::Stop, {}},
        {"80", Icon::Information, {}}, {"0", Icon::None, {}},
        {"256", Icon::None, 2},        {"512", Icon::None, 3},
        {"768", Icon::None, 2},        {"16|32", Icon::Question, {}},
        {"48|256", Icon::Exclamation, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        auto o = parseOptions(c.options);
        EXPECT_EQ(o.icon, c.icon);
        EXPECT_EQ(o.dfltButton, c.dflt);
    }
    EXPECT_EQ(parseOptions(48L).icon, Icon::Exclamation);
}

TEST(DialogOptions, LaterItemsWinAndNamesKeepTheirCase) {
    EXPECT_EQ(parseOptions("256|DfltButton=1").dfltButton, 1);
    EXPECT_EQ(parseOptions("DfltButton=1|256").dfltButton, 2);
    auto lower = parseOptions("esc=2|nokeys|no show");
    EXPECT_FALSE(lower.escButton);
    EXPECT_EQ(lower.formOptions, "");
    EXPECT_FALSE(lower.noShow);
    auto esc0 = parseOptions("Esc=0");
    ASSERT_TRUE(esc0.escButton);
    EXPECT_EQ(*esc0.escButton, 0);
}

TEST(DialogOptions, BracesKeepAMultiPartValueWhole) {
    auto braced = parseOptions("{KeyHides=2|67}");
    EXPECT_EQ(braced.optionsInTag, "|KeyHides|2|67");
    EXPECT_EQ(braced.icon, Icon::None);
    // Unbraced, the key code becomes a style item of its own: 67 has the 64 bit.
    auto bare = parseOptions("KeyHides=2|67");
    EXPECT_EQ(bare.optionsInTag, "|KeyHides|2");
    EXPECT_EQ(bare.icon, Icon::Information);
}

TEST(DialogOptions, NamedItemsFillTheRecordAndTheProtocolTexts) {
    auto o = parseOptions(
        "FocBut=2|MBButtspec.MaxBpl=4|{BoldButts=1|3}|ItiButts=2|{Buttons gap/gap betw lines=60|30}|"
        "Buttons At Bottom|BUnderTextOnly|Controls under msg|TextBold|TextSize=10|TextFont=Mono|"
        "Fixed Width=7000|Default and Min Width=5000|{Fixed Height=3000|True}|MinHt=2000|"
        "{Top, left of form=100|200}|BackColor=&HFF|ForeColor=255|NoKeys|FndLastVal=abc|"
        "Any Key Hides|{NoHide=Check it|-1|0}|No show|Unknown=3||");
    EXPECT_EQ(o.focBut, 2);
    EXPECT_EQ(o.maxBpl, 4);
    EXPECT_EQ(o.boldButts, "|1|3|");
    EXPECT_EQ(o.itiButts, "|2|");
    EXPECT_EQ(o.buttGap, 60);
    EXPECT_EQ(o.lineGap, 30);
    EXPECT_EQ(o.topGap, 0);  // a missing part is 0
    EXPECT_TRUE(o.buttonsAtBottom && o.buttonsNextToIcon && o.controlsUnderMsg && o.textBold);
    EXPECT_EQ(o.textSize, 10);
    EXPECT_EQ(o.textFont, "Mono");
    EXPECT_EQ(o.fixedWidth, 7000);
    EXPECT_EQ(o.defaultMinWidth, 5000);
    EXPECT_EQ(o.fixedHeight, 3000);
    EXPECT_TRUE(o.fixedHeightExact);
    EXPECT_EQ(o.minHt, 2000);
    EXPECT_EQ(o.top, 100);
    EXPECT_EQ(o.left, 200);
    EXPECT_EQ(o.backColor, 255);
    EXPECT_EQ(o.foreColor, 255);
    EXPECT_EQ(o.formOptions, "|NoKeys|FndLastVal|abc");
    EXPECT_EQ(o.optionsInTag, "|Any Key Hides|NoHide");
    EXPECT_TRUE(o.noHide);
    EXPECT_EQ(o.noHideText, "Check it");
    EXPECT_TRUE(o.noHideUnloadOthers);
    EXPECT_FALSE(o.noHideBackdrop);
    EXPECT_TRUE(o.noShow);
}

TEST(DialogOptions, AColourThatIsNotANumberIsATypeMismatch) {
    try {
        parseOptions("BackColor=red");
        FAIL() << "no error";
    } catch (const sys::RtError& e) {
        EXPECT_EQ(e.number(), 13);
    }
}

TEST(DialogOptions, ApplyingWritesTheButtonRowButNotAFixedWidthAfterItWasForced) {
    MBButtspec spec;
    dlg::applyOptions(parseOptions("Esc=2|DfltButton=3|MBButtspec.MaxBpl=5|Fixed Width=4000|"
                                   "Buttons At Bottom|{Buttons gap/gap betw lines=10|20|30}"),
                      spec);
    EXPECT_EQ(spec.EscButton, 2);
    EXPECT_EQ(spec.DfltButton, 3);
    EXPECT_EQ(spec.MaxBpl, 5);
    EXPECT_EQ(spec.FixedWidth, 4000);
    EXPECT_TRUE(spec.AtBottom);
    EXPECT_EQ(spec.ButtGap, 10);
    EXPECT_EQ(spec.LineGap, 20);
    EXPECT_EQ(spec.TopGap, 30);

    MBButtspec forced;
    forced.FixedWidth = 19200;
    forced.WidthForced = true;
    dlg::applyOptions(parseOptions("Fixed Width=4000"), forced);
    EXPECT_EQ(forced.FixedWidth, 19200);
}

TEST(DialogOptions, FocusButtonBeyondTheLastButtonFallsBackToTheDefault) {
    EXPECT_EQ(dlg::initialFocusButton(9, 1, 3), 1);
    EXPECT_EQ(dlg::initialFocusButton(2, 1, 3), 2);
    EXPECT_EQ(dlg::initialFocusButton(0, -1, 3), 0);
}

}  // namespace
