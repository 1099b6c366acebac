#include "analysis/forms/date_range_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/dates.h"
#include "core/ini_store.h"
#include "core/text.h"
#include "platform/sys/clock.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"

namespace {

using testsupport::Answer;
using testsupport::ScriptedResponder;

constexpr int kStartBox = 1;
constexpr int kEndBox = 2;

double day(int y, int m, int d) { return core::vbDateSerial(y, m, d); }

std::string textOf(const core::DlgView& v, int entry) {
    for (const core::CtlView& c : v.ctls)
        if (c.entry == entry) return c.value;
    return "(no entry " + std::to_string(entry) + ")";
}

// Every test sees 15 April 2026 as today.
class DateRangeDialog : public ::testing::Test {
protected:
    void SetUp() override {
        clock_.setDateTimeSerial(day(2026, 4, 15) + 0.5);
        sys::setClock(&clock_);
    }
    void TearDown() override { sys::setClock(nullptr); }

    static DateRangeEnterArgs available(double first, double last) {
        DateRangeEnterArgs args;
        args.firstAvailable = first;
        args.lastAvailable = last;
        return args;
    }

    sys::ManualClock clock_;
};

TEST_F(DateRangeDialog, TypedDatesAreCheckedAndStoredAsShortDates) {
    struct Case {
        const char* name;
        std::string start, end;
        std::string stored;    // "" refused
        std::string problems;  // shown on the next display
    };
    const std::string notStart = "First value is not a date ." + gCR;
    const std::string notEnd = "Second value is not a date ." + gCR;
    const std::string order = "Second date must be later than first date." + gCR;
    const std::vector<Case> cases = {
        {"iso", "2025-03-01", "2025-03-31", "2025-03-01|2025-03-31", ""},
        {"day first with slashes", "1/3/2025", "31/03/2025", "2025-03-01|2025-03-31", ""},
        {"month names and serials", "1 Mar 2025", "45747", "2025-03-01|2025-03-31", ""},
        {"time of day dropped", " 2025-03-01 18:30 ", "2025-03-31", "2025-03-01|2025-03-31", ""},
        {"same day", "2025-03-01", "1/3/2025 23:59", "2025-03-01|2025-03-01", ""},
        {"outside the data", "2001-01-01", "2030-12-31", "2001-01-01|2030-12-31", ""},
        {"two non-dates", "soon", "", "", notStart + notEnd},
        {"no such day", "2025-02-29", "2025-03-31", "", notStart},
        {"month first is not read", "3/31/2025", "2025-04-01", "", notStart},
        {"end before start", "2025-03-02", "2025-03-01", "", order},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string range = "2025-01-01|2025-01-31";
        MB_CtlEntry ctl;
        ScriptedResponder responder;
        responder.expect({.expectMessage = "Enter date range to analyse",
                          .sets = {{"#1", c.start}, {"#2", c.end}},
                          .press = "&OK"});
        if (!c.problems.empty())
            responder.expect({.act = [&](const core::DlgView& v, core::DlgDriver& d) {
                EXPECT_EQ(v.notice, c.problems);
                // The typed texts stay for correcting.
                EXPECT_EQ(textOf(v, kStartBox), c.start);
                d.press("OK");  // the panel with the problems
                d.press("&Cancel");
            }});
        const int pressed = STTA_DateRangeEnter(range, "to analyse", ctl, available(day(2024, 1, 1), day(2026, 4, 2)));
        EXPECT_EQ(pressed, c.stored.empty() ? 2 : 1);
        EXPECT_EQ(range, c.stored.empty() ? "2025-01-01|2025-01-31" : c.stored);
        EXPECT_EQ(responder.pending(), 0u);
    }
}

TEST_F(DateRangeDialog, QuickButtonsOfferPeriodsWithDataAndNeverClose) {
    struct Quick {
        std::string caption, start, end;
    };
    struct Case {
        const char* name;
        double first, last;
        std::vector<Quick> quick;
    };
    const std::vector<Case> cases = {
        {"data up to this month",
         day(2024, 1, 10),
         day(2026, 4, 2),
         {{"A&ll Dates", "2024-01-10", "2026-04-02"},
          {"This &Year", "2026-01-01", "2026-12-31"},
          {"Last Yea&r", "2025-01-01", "2025-12-31"},
          {"This &Month", "2026-04-01", "2026-04-30"},
          {"Last Mo&nth", "2026-03-01", "2026-03-31"},
          {"La&test Month", "2026-03-02", "2026-04-02"}}},
        {"data ending before last month",
         day(2025, 6, 1),
         day(2026, 2, 28),
         {{"A&ll Dates", "2025-06-01", "2026-02-28"},
          {"This &Year", "2026-01-01", "2026-12-31"},
          {"Last Yea&r", "2025-01-01", "2025-12-31"},
          {"La&test Month", "2026-01-28", "2026-02-28"}}},
        {"latest month ending 31 March of a leap year",
         day(2023, 5, 1),
         day(2024, 3, 31),
         {{"A&ll Dates", "2023-05-01", "2024-03-31"}, {"La&test Month", "2024-02-29", "2024-03-31"}}},
        {"latest month ending 31 March", day(2022, 5, 1), day(2023, 3, 31),
         {{"A&ll Dates", "2022-05-01", "2023-03-31"}, {"La&test Month", "2023-02-28", "2023-03-31"}}},
        {"no data", 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> buttons;
        for (const Quick& q : c.quick) buttons.push_back(q.caption);
        buttons.insert(buttons.end(), {"&OK", "&Cancel"});
        std::string range = "2020-01-01|2020-01-02";
        MB_CtlEntry ctl;
        ScriptedResponder responder;
        // Each quick button fills the dates and shows the dialog again, unchecked.
        for (std::size_t k = 0; k <= c.quick.size(); ++k)
            responder.expect({.act = [&, k](const core::DlgView& v, core::DlgDriver& d) {
                EXPECT_EQ(v.buttons, buttons);
                EXPECT_EQ(v.buttons[static_cast<std::size_t>(v.dfltButton - 1)], "&OK");
                EXPECT_EQ(v.buttons[static_cast<std::size_t>(v.escButton - 1)], "&Cancel");
                if (k > 0) {
                    EXPECT_EQ(textOf(v, kStartBox), c.quick[k - 1].start);
                    EXPECT_EQ(textOf(v, kEndBox), c.quick[k - 1].end);
                }
                d.press(k < c.quick.size() ? c.quick[k].caption : "&OK");
            }});
        EXPECT_EQ(STTA_DateRangeEnter(range, "to plot", ctl, available(c.first, c.last)), 1);
        EXPECT_EQ(range, c.quick.empty() ? "2020-01-01|2020-01-02" : c.quick.back().start + "|" + c.quick.back().end);
        EXPECT_EQ(responder.pending(), 0u);
    }
}

TEST_F(DateRangeDialog, ButtonsCountInTheCallersNumbering) {
    struct Case {
        const char* press;
        int result;
    };
    for (const Case& c : {Case{"Use &previous", 1}, Case{"&OK", 2}, Case{"&Cancel", 3}}) {
        SCOPED_TRACE(c.press);
        MB_CtlEntry ctl;
        MB_AddControl("CommandButton", "", "Use &previous", ctl, true);
        DateRangeEnterArgs args = available(day(2025, 1, 1), day(2026, 4, 2));
        args.reset = false;
        args.okCaption = " &OK - Start New Analysis ";
        std::string range = "2025-02-01|2025-02-28";
        ScriptedResponder responder;
        responder.expect({.act = [&](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(v.buttons.front(), "Use &previous");
            EXPECT_EQ(v.buttons.size(), 1u + 6u + 2u);
            d.press(std::string(c.press) == "&OK" ? " &OK - Start New Analysis " : c.press);
        }});
        EXPECT_EQ(STTA_DateRangeEnter(range, "for new analysis", ctl, args), c.result);
    }
}

TEST_F(DateRangeDialog, OptionControlsFromTheIniAreSavedOnlyWhenAccepted) {
    testsupport::TempHome home;
    const std::string screens = home / "screens.ini";
    const std::string values = home / "LastVals.ini";
    testsupport::writeFile(screens,
                           "[Opts]\nCtls=OptsDefs|Defs\n3=Main|ShowDist1|3\n4=Main|ThresholdST|3\n"
                           "[OptsDefs]\nDefs={CheckBox|DistSpec|DistVal|3}|{TextBox|MinSpec|MinVal|4}\n"
                           "DistSpec=Show &distribution column\nDistVal=0\nMinSpec=900\nMinVal=\n");
    testsupport::writeFile(values, "[Main]\nShowDist1=True\nThresholdST=4\n");
    struct Case {
        const char* press;
        std::string dist, minimum;
    };
    for (const Case& c : {Case{"&Cancel", "True", "4"}, Case{"&OK", "False", "7"}}) {
        SCOPED_TRACE(c.press);
        DateRangeEnterArgs args = available(day(2025, 1, 1), day(2026, 4, 2));
        args.options = {.section = "Opts", .entry = "Ctls", .iniFile = screens, .valuesFile = values};
        std::string range = "2025-02-01|2025-02-28";
        MB_CtlEntry ctl;
        ScriptedResponder responder;
        responder.expect({.act = [&](const core::DlgView& v, core::DlgDriver& d) {
            const core::CtlView& box = v.ctls.back();
            EXPECT_EQ(box.type, "TextBox");
            EXPECT_EQ(box.value, "4");
            d.setCheck(box.entry - 1, 0);
            d.setText(box.entry, "7");
            d.press(c.press);
        }});
        STTA_DateRangeEnter(range, "to analyse", ctl, args);
        EXPECT_EQ(INI_Get("Main", "ShowDist1", values, 3), c.dist);
        EXPECT_EQ(INI_Get("Main", "ThresholdST", values, 3), c.minimum);
    }
}

}  // namespace
