#include "dialogs/button_rows.h"

#include <gtest/gtest.h>

#include "core/delimited_lists.h"

namespace {

// 100 twips a character, 10 more in bold.
class FixedPitch : public dlg::TextMeasurer {
public:
    double textWidth(std::string_view text, const dlg::TextStyle& style) const override {
        return static_cast<double>(text.size()) * (style.bold ? 110 : 100);
    }
};

class RecordingHost : public dlg::ButtonHost {
public:
    double width = 1000, height = 345, inner = 5000;
    std::vector<dlg::PlacedButton> placed;
    bool patternHidden = false;

    double patternWidth() const override { return width; }
    double patternHeight() const override { return height; }
    double scaleHeight() const override { return inner; }
    void placeButton(const dlg::PlacedButton& b) override { placed.push_back(b); }
    void hidePattern() override { patternHidden = true; }
};

core::StrArray captions(int n) {
    core::StrArray c;
    c.redim(1, n);
    for (int i = 1; i <= n; ++i) c.set(i, "B" + std::to_string(i));
    return c;
}

TEST(ButtonRows, SevenButtonsThreeALineShareOneCentredLeftEdge) {
    RecordingHost host;
    MBLayoutRec layout;
    layout.FormW = 9000;
    layout.NextTop = 1000;
    MBButtspec spec;
    spec.MaxBpl = 3;
    MB_PlaceButtons(host, layout, spec, captions(7));

    ASSERT_EQ(host.placed.size(), 7u);
    const double centred = (9000 - 3 * 1000 - 2 * 120) / 2.0;
    const double lineStep = 345 + 120;
    for (std::size_t i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        long line = static_cast<long>(i) / 3, column = static_cast<long>(i) % 3;
        EXPECT_EQ(host.placed[i].number, static_cast<long>(i) + 1);
        EXPECT_EQ(host.placed[i].left, centred + column * 1120);
        EXPECT_EQ(host.placed[i].top, 1000 + line * lineStep);
    }
    EXPECT_EQ(spec.LeftX, centred);
    EXPECT_EQ(spec.LastButton, 7);
    EXPECT_EQ(layout.NextTop, 1000 + 2 * lineStep + 345 + 120);
    EXPECT_TRUE(host.patternHidden);
}

TEST(ButtonRows, AFormTooNarrowForOneButtonStillPutsOneOnEachLine) {
    RecordingHost host;
    MBLayoutRec layout;
    layout.FormW = 500;
    MBButtspec spec;
    MB_PlaceButtons(host, layout, spec, captions(3));
    ASSERT_EQ(host.placed.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(host.placed[i].left, 120);
        EXPECT_EQ(host.placed[i].top, static_cast<double>(i) * 465);
    }
}

TEST(ButtonRows, CancelDefaultAndStylesFollowTheButtonNumbers) {
    struct Case {
        const char* name;
        long esc, dflt;
        std::vector<bool> cancel, isDefault;
    } cases[] = {
        {"no cancel, default among the extra buttons", 0, 1, {false, false, false}, {false, false, false}},
        {"esc 6, default 5", 6, 5, {false, true, false}, {true, false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingHost host;
        MBLayoutRec layout;
        layout.FormW = 9000;
        MBButtspec spec;
        spec.LastButton = 4;  // two extra buttons came first
        spec.EscButton = c.esc;
        spec.DfltButton = c.dflt;
        spec.BoldButts = "|6|";
        spec.UndrButts = "|56|";
        MB_PlaceButtons(host, layout, spec, captions(3));
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(host.placed[i].number, 5 + static_cast<long>(i));
            EXPECT_EQ(host.placed[i].cancel, c.cancel[i]);
            EXPECT_EQ(host.placed[i].isDefault, c.isDefault[i]);
            EXPECT_EQ(host.placed[i].style.bold, i == 1);
            EXPECT_FALSE(host.placed[i].style.underline);  // "|56|" names no button
        }
        EXPECT_EQ(spec.LastButton, 7);
    }
}

TEST(ButtonRows, ABottomBlockAfterEarlierButtonsKeepsEveryLineInsideTheForm) {
    RecordingHost host;
    MBLayoutRec layout;
    layout.FormW = 9000;
    layout.NextTop = 1000;
    MBButtspec spec;
    spec.AtBottom = true;
    spec.MaxBpl = 2;
    spec.LastButton = 2;
    MB_PlaceButtons(host, layout, spec, captions(4));
    ASSERT_EQ(host.placed.size(), 4u);
    EXPECT_EQ(host.placed.front().top, 5000 - 2 * (345 + 120));
    EXPECT_LE(host.placed.back().top + host.placed.back().height, host.inner);
}

TEST(ButtonRows, MeasuringTakesTheWidestCaptionAndTheMarkedStyle) {
    FixedPitch pitch;
    MBButtspec spec;
    core::StrArray array;
    double width = 0;

    MB_MeasureCaptions(pitch, spec, "&OK|&Cancel|Abort now", false, array, width);
    EXPECT_EQ(array.lbound(), 1);
    EXPECT_EQ(array.items(), (std::vector<std::string>{"&OK", "&Cancel", "Abort now"}));
    EXPECT_EQ(width, 900);

    MB_MeasureCaptions(pitch, spec, "", false, array, width);
    EXPECT_EQ(array.items(), std::vector<std::string>{""});  // one button
    EXPECT_EQ(width, spec.MinCaptW);

    spec.BoldButts = "|3|";
    MB_MeasureCaptions(pitch, spec, "Abort now|x", false, array, width);
    EXPECT_EQ(width, 900);  // buttons 1 and 2 are not bold
    spec.LastButton = 2;
    MB_MeasureCaptions(pitch, spec, "Abort now|x", false, array, width);
    EXPECT_EQ(width, 990);
    spec.LastButton = 0;
    MB_MeasureCaptions(pitch, spec, "Abort now|x", true, array, width);
    EXPECT_EQ(width, 990);  // styled whenever a list is set
}

}  // namespace

TEST(ButtonRows, TheWayOutIsTheCaptionThatReadsAsOne) {
    struct Case {
        const char* name;
        const char* captions;
        long wayOut;
    };
    const Case cases[] = {
        {"cancel among others", "&OK|Com&plex Target|&Cancel", 3},
        {"exit with its blank", "&Select Database|Create Ne&w Database|E&xit ", 3},
        {"cancel before no", "&Yes|&No|Yes to &All|&Cancel (skip rest)", 4},
        {"no of yes and no", "&Yes|&No", 2},
        {"done", "Sta&rt. Read Log File|Don&e|Read O&ptions", 2},
        {"ok when nothing else", "&OK|Show SE Summar&y", 1},
        {"a lone button", "Sho&w", 1},
        {"nothing reads as a way out", "&Abort|&Retry|&Ignore", 0},
        {"a word that only starts like one", "&Nothing|Okay then", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        core::StrArray list;
        CHUNKS_Split(c.captions, list, 1);
        EXPECT_EQ(dlg::wayOutButton(list), c.wayOut);
    }
}
