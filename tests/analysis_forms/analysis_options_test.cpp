#include "analysis/forms/analysis_options.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/dates.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "platform/sys/clock.h"
#include "shell/hooks.h"
#include "tests/logimport/temp_site.h"
#include "tests/support/scripted_responder.h"

namespace {

using testsupport::ScriptedResponder;

const core::CtlView& ctlCaptioned(const core::DlgView& v, const std::string& caption) {
    for (const core::CtlView& c : v.ctls)
        if (c.caption.find(caption) != std::string::npos) return c;
    throw std::logic_error("no control captioned " + caption);
}

// The text box beside a label.
const core::CtlView& boxAfter(const core::DlgView& v, const std::string& label) {
    for (const core::CtlView& c : v.ctls)
        if (c.type == "TextBox" && c.labelBefore.find(label) != std::string::npos) return c;
    throw std::logic_error("no text box after " + label);
}

// A site with visits from 1 to 3 March 2026, the shipped screens.ini, "::*" routed
// as the program routes it, and 15 April 2026 as today.
class AnalysisOptions : public ::testing::Test {
protected:
    void SetUp() override {
        clock_.setDateTimeSerial(core::vbDateSerial(2026, 4, 15));
        sys::setClock(&clock_);
        gIniScreens = site_.home / "screens.ini";
        testsupport::writeFile(gIniScreens, testsupport::readFile(std::string(std::getenv("DRAVOLIN_SOURCE_DIR")) +
                                                                  "/resources/param/screens.ini"));
        long id = 0;
        for (long long stamp : {20260301100000LL, 20260302100000LL, 20260303235000LL})
            site_.db.execute("INSERT INTO visit (VisitID, StartPageID, StartTimeStamp, EndTimeStamp) VALUES (?,1,?,?)",
                             {dao::Value(static_cast<long long>(++id)), dao::Value(stamp), dao::Value(stamp + 500)});
    }
    void TearDown() override {
        sys::setClock(nullptr);
        gIniScreens.clear();
    }
    static std::string mainValue(const std::string& entry) { return INI_Get("Main", entry, "::*", 3); }

    testsupport::TempSite site_;
    shell::AppShellHooks hooks_;
    core::ScopedShellHooks hooksInstalled_{&hooks_};
    sys::ManualClock clock_;
};

TEST_F(AnalysisOptions, DateRangeAndOptionsAreWrittenToTheSiteWhenAccepted) {
    INI_Put("Main", "AnalStartEnd", "2026-03-01|2026-03-03", "::*");
    INI_Put("Main", "ShowDist1", "True", "::*");
    struct Case {
        const char* press;
        std::string range, dist1, minimum;
    };
    for (const Case& c : {Case{"&Cancel", "2026-03-01|2026-03-03", "True", "4"},
                          Case{"&OK", "2026-03-02|2026-03-03", "False", "9"}}) {
        SCOPED_TRACE(c.press);
        ScriptedResponder responder;
        responder.expect({.expectMessage = "Enter date range to analyse",
                          .act = [&](const core::DlgView& v, core::DlgDriver& d) {
                              EXPECT_EQ(ctlCaptioned(v, "[Data available:").caption,
                                        "[Data available: 2026-03-01 to 2026-03-03]");
                              EXPECT_EQ(v.buttons, (std::vector<std::string>{"A&ll Dates", "This &Year", "Last Mo&nth",
                                                                             "La&test Month", "&OK", "&Cancel"}));
                              // Missing thresholds are filled with their defaults first.
                              EXPECT_EQ(boxAfter(v, "Search terms").value, "4");
                              EXPECT_EQ(ctlCaptioned(v, "1st distribution").value, "1");
                              d.setText(1, "2/3/2026");
                              d.setCheck(ctlCaptioned(v, "1st distribution").entry, 0);
                              d.setText(boxAfter(v, "Search terms").entry, "9");
                              d.press(c.press);
                          }});
        EXPECT_EQ(STTA_AnalysisOptionsEnter(site_.db), std::string(c.press) == "&OK");
        EXPECT_EQ(mainValue("AnalStartEnd"), c.range);
        EXPECT_EQ(mainValue("ShowDist1"), c.dist1);
        EXPECT_EQ(mainValue("ThresholdST"), c.minimum);
    }
}

TEST_F(AnalysisOptions, OptionsTheSiteDatabaseDecidedCannotBeChanged) {
    struct Case {
        const char* code;
        const char* flag;
        std::string caption;
    };
    for (const Case& c : {Case{"SD", "EraseNonSE", "Include visitors not from search engines"},
                          Case{"report", "EraseNonSE", "Include visitors not from search engines"},
                          Case{"SC", "RemQuery", "different query"}, Case{"SC", "RemFrag", "different fragment"}}) {
        for (bool decided : {true, false}) {
            SCOPED_TRACE(std::string(c.flag) + (decided ? " set" : " clear"));
            for (const char* flag : {"EraseNonSE", "RemQuery", "RemFrag"}) INI_Put("Main", flag, false, gIniDbDef);
            INI_Put("Main", c.flag, decided, gIniDbDef);
            ScriptedResponder responder;
            responder.expect({.act = [&](const core::DlgView& v, core::DlgDriver& d) {
                EXPECT_EQ(ctlCaptioned(v, c.caption).enabled, !decided);
                d.press("&Cancel");
            }});
            if (std::string(c.code) == "SD") EXPECT_FALSE(STTA_AnalysisOptionsEnter(site_.db));
            else if (std::string(c.code) == "report") EXPECT_FALSE(STTA_ReportDatesEnter(site_.db, "&OK", "to analyse"));
            else EXPECT_EQ(STTA_OptionsDialogShow(c.code), 2);
            EXPECT_EQ(responder.pending(), 0u);
        }
    }
}

TEST_F(AnalysisOptions, ANewAnalysisForAReportConfirmsItsDatesAndColumns) {
    INI_Put("Main", "AnalStartEnd", "2026-03-01|2026-03-03", "::*");
    ScriptedResponder responder;
    responder.expect({.expectMessage = "Enter date range for new analysis below",
                      .act = [](const core::DlgView& v, core::DlgDriver& d) {
                          EXPECT_EQ(v.buttons.at(static_cast<std::size_t>(v.dfltButton - 1)), " &OK - Start New Analysis ");
                          d.setText(2, "2026-03-02");
                          d.setCheck(ctlCaptioned(v, "Surf thru to page column").entry, 1);
                          d.press(" &OK - Start New Analysis ");
                      }});
    EXPECT_TRUE(STTA_ReportDatesEnter(site_.db, " &OK - Start New Analysis ", "for new analysis below"));
    EXPECT_EQ(mainValue("AnalStartEnd"), "2026-03-01|2026-03-02");
    EXPECT_EQ(mainValue("ShowClickThru"), "True");
}

TEST_F(AnalysisOptions, ReportOptionsAreCheckedBeforeTheyAreKept) {
    ScriptedResponder responder;
    responder.expect({.expectCaption = "- Enter Report Options.", .act = [](const core::DlgView& v, core::DlgDriver& d) {
                          // Missing entries show what they mean to the reports.
                          EXPECT_EQ(ctlCaptioned(v, "Show deviation columns").value, "1");
                          EXPECT_EQ(boxAfter(v, "Days in the").value, "5");
                          EXPECT_EQ(boxAfter(v, "Format of users per day").value, "#,###,##0.00");
                          EXPECT_EQ(boxAfter(v, "Format of changes in percent").value, "0");
                          d.setText(boxAfter(v, "Number of values in Top reports").entry, "many");
                          d.press("&OK");
                      }});
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(v.notice, "The number of top values must be a number");
        d.press("OK");  // the panel with the problem
        d.setText(boxAfter(v, "Number of values in Top reports").entry, "40");
        d.press("&OK");
    }});
    EXPECT_EQ(STTA_OptionsDialogShow("ER"), 1);
    EXPECT_EQ(mainValue("CntTopVals"), "40");
    EXPECT_EQ(mainValue("DevShow"), "True");
    // OK keeps the formats the reports used, so that they still read as before.
    EXPECT_EQ(mainValue("DevFmtPct"), "0");
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(AnalysisOptions, ProgramOptionsKeepTheFileTypes) {
    INI_Put("Main", "CDSNoCntSurfToFileTypes", "gif|jpg", "::*");
    ScriptedResponder responder;
    responder.expect({.expectCaption = "- Enter Options.", .act = [](const core::DlgView& v, core::DlgDriver& d) {
                          const core::CtlView& skipped = boxAfter(v, "File types not counted");
                          EXPECT_EQ(skipped.value, "gif|jpg");
                          d.setText(skipped.entry, "gif|jpg|png");
                          d.press("&OK");
                      }});
    EXPECT_EQ(STTA_OptionsDialogShow("EO"), 1);
    EXPECT_EQ(mainValue("CDSNoCntSurfToFileTypes"), "gif|jpg|png");
}

}  // namespace
