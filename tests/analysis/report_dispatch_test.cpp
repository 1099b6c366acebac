#include <gtest/gtest.h>

#include "analysis/report_dispatch.h"
#include "core/text.h"
#include "tests/analysis/hand_made_site.h"

namespace {

// The report commands on the hand-made site: which analysis each report is made from,
// and what the report table holds.
class ReportDispatchTest : public testsupport::HandMadeSite {
protected:
    void SetUp() override {
        HandMadeSite::SetUp();
        dispatch.reportShow = [this](long mode, const IfrmPtr& form, long groupKind) {
            shown.push_back({mode, form, groupKind});
        };
    }
    void TearDown() override {
        gResultsIfrmKey.clear();
        HandMadeSite::TearDown();
    }
    void confirmNewAnalysis() { responder.press("Analyse by: ", " &OK - Start New Analysis "); }

    struct Shown {
        long mode;
        IfrmPtr form;
        long groupKind;
    };
    DataForms forms;
    ReportDispatch dispatch{forms, site.db};
    std::vector<Shown> shown;
};

TEST_F(ReportDispatchTest, AFirstReportAnalysesOnceAndLaterReportsReuseTheAnalysis) {
    setMain("AnalStartEnd", "");  // a first report takes the whole stored range
    confirmNewAnalysis();
    dispatch.runReport(kRkSearchEngine, kReportTop, 0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(INI_Get("Main", "AnalStartEnd", "::*", 3), "2026-03-01|2026-03-03");

    ReportTable table;
    std::string caption;
    ASSERT_TRUE(STTA_ReportShow(shown[0].mode, *shown[0].form, 0, table, caption));
    EXPECT_TRUE(caption.starts_with("Top Srch Engines. Site: Test Site. // ")) << caption;
    // The empty engine item, google, bing and the visit from no engine, then the total.
    ASSERT_EQ(table.rows(), 1 + 4 + 2);
    EXPECT_EQ(table.text(1, 0), "google");
    EXPECT_EQ(table.text(1, 1), "4");
    EXPECT_EQ(table.text(6, 0), ".. Total ..");
    EXPECT_EQ(table.text(6, 1), "6");

    // The one open analysis of the kind is used again without a question.
    dispatch.runReport(kRkSearchEngine, kReportAll, 0);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].form, shown[0].form);
    EXPECT_EQ(forms.size(), 1u);
    EXPECT_EQ(responder.pending(), 0u);

    // With confirmation asked for, the open analysis is offered; a new one can be made.
    INI_Put("Main", "ConfirmRepOps", "False", "::*");
    responder.expect({.expectMessage = "Either Select an analysis", .press = "Read database (ne&w analysis - dates && options as entered below)"});
    confirmNewAnalysis();
    dispatch.runReport(kRkSearchEngine, kReportTop, 0);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_NE(shown[2].form, shown[0].form);
    EXPECT_EQ(forms.size(), 2u);
}

TEST_F(ReportDispatchTest, CancelAndAnEmptyRangeShowNoReport) {
    responder.press("Analyse by: ", "&Cancel");
    dispatch.runReport(kRkSearchTerm, kReportTop, 0);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(forms.size(), 0u);

    setMain("AnalStartEnd", "2027-01-01|2027-01-31");  // no visits in that range
    confirmNewAnalysis();
    responder.press("No log data in date range selected", "&OK");
    dispatch.runReport(kRkSearchTerm, kReportTop, 0);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(forms.size(), 0u);
}

TEST_F(ReportDispatchTest, DataFormsSwapTheirRecordsInOnlyWhenNeeded) {
    IfrmPtr engines = dispatch.STTA_AnalyseForReport(kRkSearchEngine);
    IfrmPtr terms = dispatch.STTA_AnalyseForReport(kRkSearchTerm);
    ASSERT_TRUE(engines && terms);
    EXPECT_EQ(gResultsIfrmKey, "");  // a new analysis for a report copies again
    engines->GetSrchTrmData();
    EXPECT_EQ(gResults.Analyzed_Field, kRkSearchEngine);
    EXPECT_EQ(gResultsIfrmKey, engines->Tag());
    gResults.Analyzed_Field = 99;  // the current record, changed behind the form's back
    engines->GetSrchTrmData();     // already current: not copied again
    EXPECT_EQ(gResults.Analyzed_Field, 99);
    engines->GetSrchTrmData(true);
    EXPECT_EQ(gResults.Analyzed_Field, kRkSearchEngine);
    terms->GetSrchTrmData();
    EXPECT_EQ(gResults.Analyzed_Field, kRkSearchTerm);
    EXPECT_NE(engines->Tag(), terms->Tag());

    // Another site's analyses are never offered.
    EXPECT_EQ(forms.STTA_PrevAnalysesFind(kRkSearchTerm, "Test Site").size(), 1u);
    EXPECT_TRUE(forms.STTA_PrevAnalysesFind(kRkSearchTerm, "Other Site").empty());
}

TEST_F(ReportDispatchTest, TheDescriptionSaysHowTheAnalysisWasMade) {
    IfrmPtr terms = dispatch.STTA_AnalyseForReport(kRkSearchTerm);
    ASSERT_TRUE(terms);
    EXPECT_EQ(terms->GetDataDesc(), "1 values. 6 visits." + gCRCR + "Dates: 2 days" + gCR + " 1 Mar 26 to 3 Mar 26" +
                                        gCRCR + "Incl Non-SE" + gCR +
                                        "Only 2+ visitors (values seen less often are left out, of the Total too)." +
                                        gCR + "Dist Cols: YNN");
    EXPECT_EQ(STTA_PrevAnalysisDescs({terms}, true)[0].substr(0, 40), "Search Term ^ 1 values. 6 visits. ^ Date");
    // The summary: all six visits, four of them for the one term counted; over the
    // last 30 days (here all three) an average per day of 30 days.
    const std::string summary = STTA_ResultsSummaryText(terms->data());
    EXPECT_EQ(summary, "Total Visits: 6" + gCR + "Selected Visits: 4 [67%]" + gCRCR + std::string(60, '-') + gCRCR + gCR +
                           "Last 30 days Selected Visits: 4 [67% Average: 0.1/day]");
}

TEST_F(ReportDispatchTest, AReportWindowSaysWhichAnalysisItShows) {
    IfrmPtr terms = dispatch.STTA_AnalyseForReport(kRkSearchTerm);
    ASSERT_TRUE(terms);
    const std::string desc = terms->GetDataDesc();
    ReportTable table;
    std::string caption;
    ASSERT_TRUE(STTA_ReportShow(kReportTop, *terms, 0, table, caption));
    EXPECT_EQ(table.extractDesc, "Site: Test Site" + gCRCR + desc);
    // The caption carries the description on one line.
    EXPECT_EQ(caption, "Top Search Terms. Site: Test Site. // 1 values. 6 visits. / Dates: 2 days /  1 Mar 26 to "
                       "3 Mar 26 / Incl Non-SE / Only 2+ visitors (values seen less often are left out, of the "
                       "Total too). / Dist Cols: YNN");

    // Only a Grouped report has rows whose members can be listed; a Top report after it
    // of the same analysis has none.
    EXPECT_FALSE(table.grouped);
    ReportTable grouped, topAgain;
    ASSERT_TRUE(STTA_ReportShow(kReportGrouped, *terms, 0, grouped, caption));
    EXPECT_TRUE(grouped.grouped);
    ASSERT_TRUE(STTA_ReportShow(kReportTop, *terms, 0, topAgain, caption));
    EXPECT_FALSE(topAgain.grouped);

    // A mode that is none of Top, All and Grouped writes nothing.
    ReportTable none;
    std::string noCaption;
    EXPECT_FALSE(STTA_ReportShow(7, *terms, 0, none, noCaption));
    EXPECT_EQ(none.rows(), 0);
    EXPECT_EQ(noCaption, "");
}

TEST_F(ReportDispatchTest, AnEmptySiteIsSaidToBeEmptyBeforeAnyReportIsOffered) {
    site.db.execute("DELETE FROM visit", {});
    // Only the box that says so: no "Select Report" and no analysis dialog first.
    responder.press("is empty", "&OK");
    dispatch.STTA_ReportNeedsAnalysis("", "", true, 1);
    EXPECT_EQ(responder.pending(), 0u);
    responder.press("is empty", "&OK");
    dispatch.runReport(kRkSearchTerm, kReportTop, 0);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(forms.size(), 0u);
}

TEST_F(ReportDispatchTest, TheReportListOffersEachKindsModesAndReadsTheChosenLine) {
    EXPECT_EQ(STTA_ReportSelectList("3|1"),
              "3\tTop Search Term // Page Found [Distr: Srch Engine]|3\tAll Search Term // Page Found||"
              "1\tTop Search Term [Distr: Srch Engine & First Page (Found)]|1\tAll Search Term|"
              "1\tGrouped Search Term||");
    long kind = 0, mode = 0;
    const std::pair<std::string, long> lines[] = {
        {"3\tTop Search Term // Page Found [Distr: Srch Engine]", kReportTop},
        {"1\tAll Search Term", kReportAll},
        {"1\tGrouped Search Term", kReportGrouped},
    };
    for (const auto& [line, expected] : lines) {
        ASSERT_TRUE(STTA_ReportLineParse(line, kind, mode)) << line;
        EXPECT_EQ(mode, expected) << line;
    }
    EXPECT_FALSE(STTA_ReportLineParse("", kind, mode));

    // SW: a blank line asks again, then the chosen report is analysed and shown.
    responder.expect({.expectMessage = "", .sets = {{"#1", "2"}}, .press = "&OK"});
    responder.expect({.expectMessage = "Select report to continue", .sets = {{"#1", "1"}}, .press = "&OK"});
    responder.press("Dates to analyse", "&OK");
    dispatch.STTA_ReportNeedsAnalysis("", "", true, 1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].mode, kReportAll);
    EXPECT_EQ(shown[0].groupKind, kRkSearchEngine);
    EXPECT_EQ(shown[0].form->data().Analyzed_Field, kRkSearchEngine);
}

TEST_F(ReportDispatchTest, APreviousAnalysisMakesANewReportWithoutReadingAgain) {
    ASSERT_TRUE(dispatch.STTA_AnalyseForReport(kRkSearchTerm));
    IfrmPtr engines = dispatch.STTA_AnalyseForReport(kRkSearchEngine);
    // The list follows the kinds' order: engines (11) before terms (1).
    responder.expect({.expectMessage = "Select an analysis to use", .sets = {{"#1", "0"}},
                      .press = "&OK - Use selected analysis to make new report"});
    responder.expect({.expectMessage = "Analysis results selected: ", .sets = {{"#1", "1"}}, .press = "&OK"});
    EXPECT_TRUE(dispatch.STTA_PrevAnalysisSelect());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].form, engines);
    EXPECT_EQ(shown[0].mode, kReportAll);
    EXPECT_EQ(forms.size(), 2u);
}

// Two analyses that read alike (same kind, dates and options): the one chosen by its
// place in the list is the one reported from.
TEST_F(ReportDispatchTest, OfTwoAnalysesThatReadAlikeTheChosenLineIsUsed) {
    IfrmPtr first = dispatch.STTA_AnalyseForReport(kRkSearchTerm);
    IfrmPtr second = dispatch.STTA_AnalyseForReport(kRkSearchTerm);
    ASSERT_TRUE(first && second);
    ASSERT_EQ(STTA_PrevAnalysisDescs({first}, false), STTA_PrevAnalysisDescs({second}, false));

    responder.expect({.expectMessage = "Either Select an analysis", .sets = {{"#1", "1"}},
                      .press = "Use selected &analysis (dates && options as selected above)"});
    IfrmPtr form;
    ASSERT_TRUE(dispatch.STTA_AnalysisConfirmDlg(kRkSearchTerm, false, form));
    EXPECT_EQ(form, second);

    responder.expect({.expectMessage = "Select an analysis to use", .sets = {{"#1", "1"}},
                      .press = "&OK - Use selected analysis to make new report"});
    responder.expect({.expectMessage = "Analysis results selected: ", .sets = {{"#1", "0"}}, .press = "&OK"});
    EXPECT_TRUE(dispatch.STTA_PrevAnalysisSelect());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].form, second);
    EXPECT_EQ(responder.pending(), 0u);
}

// The deviation part of the current record is the one of the record copied in last:
// a row detail from a 3-day analysis after a report on a 2-day one counts 3 days.
TEST_F(ReportDispatchTest, DeviationCellsFollowTheRecordCopiedIn) {
    setMain("DevShow", "True");
    IfrmPtr threeDays = dispatch.STTA_AnalyseForReport(kRkSearchEngine);
    setMain("AnalStartEnd", "2026-03-01|2026-03-02");
    IfrmPtr twoDays = dispatch.STTA_AnalyseForReport(kRkSearchEngine);
    ASSERT_TRUE(threeDays && twoDays);
    ReportTable report;
    std::string caption;
    ASSERT_TRUE(STTA_ReportShow(kReportTop, *twoDays, 0, report, caption));
    EXPECT_EQ(report.text(0, report.col.Deviation + 25), "all days. avg users per day");
    EXPECT_EQ(gResults.DevDayCount, 2);

    threeDays->GetSrchTrmData();  // as the row detail of the 3-day report does
    ReportTable detail;
    STTA_ReportGridSetup(gResults.Targets, detail, gResults.Analyzed_Field, gResults.AnalOpts);
    STTA_IndexRowsWrite({gResults.Vals->find("google")}, gResults, detail);
    EXPECT_EQ(gResults.DevDayCount, 3);
    // google: 4 users over the 3 days.
    EXPECT_EQ(detail.text(1, detail.col.Deviation + 25), "1.33");
}

// Visitor groups count every visit at item 0, the empty value; such a record, and the
// custom kind's "none", make a report of that one row.
TEST_F(ReportDispatchTest, EveryVisitAtItemZeroIsAReport) {
    const STTA_Results groups = analyse(kRkVisitorGroup);
    EXPECT_EQ(groups.Vals->Items.size(), 1u);
    EXPECT_EQ(STTA_ValueList::at(groups.Vals->Cnt, 0), 6);

    responder.expect({.expectMessage = "select only items that satisfy target no", .sets = {{"#1", "-1"}}, .press = "&OK"});
    responder.expect({.expectMessage = "select search term=1", .sets = {{"#1", "10"}}, .press = "&OK"});
    IfrmPtr none = dispatch.STTA_AnalyseForReport(kRkTargetsReached);
    ASSERT_TRUE(none);
    ReportTable table;
    std::string caption;
    ASSERT_TRUE(STTA_ReportShow(kReportTop, *none, 0, table, caption));
    EXPECT_EQ(table.text(1, 0), "");
    EXPECT_EQ(table.text(1, 1), "6");
    EXPECT_EQ(table.text(table.rows() - 1, 0), ".. Total ..");
    EXPECT_EQ(responder.pending(), 0u);
}

}  // namespace
