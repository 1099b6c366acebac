#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "analysis/report_show.h"
#include "analysis/visit_analysis.h"
#include "analysis/visit_values.h"
#include "core/ini_store.h"
#include "core/progress.h"
#include "platform/sys/rt_error.h"
#include "shell/hooks.h"
#include "tests/logimport/generated_site.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"

namespace {

// A small site worked out by hand: five pages (one image, one missing page), six
// visits over three days.
class VisitAnalysis : public ::testing::Test {
protected:
    void SetUp() override {
        core::setShellHooks(&hooks);
        for (auto [id, name] : std::vector<std::pair<long, const char*>>{
                 {1, "index.html"}, {2, "products/shoes.html"}, {3, "img/logo.gif"}, {4, "contact.html"},
                 {5, ".. Page does not exist .."}})
            site.db.execute("INSERT INTO page (PageID, Filename) VALUES (?, ?)",
                            {dao::Value(static_cast<long long>(id)), dao::Value(std::string(name))});
        struct Visit {
            long id, start;
            long long stamp;
            const char *further, *bytes, *term, *engine;
        } visits[] = {
            {1, 1, 20260301100000, "2|3", "900|100", "red shoes", "google"},
            {2, 1, 20260301110000, "4", "500", "red shoes", "bing"},
            {3, 2, 20260302090000, "", "", "red shoes", "google"},
            {4, 1, 20260302100000, "2", "800", "blue shoes", "google"},
            {5, 5, 20260303080000, "4", "400", "", ""},
            {6, 2, 20260303090000, "2|4", "10|20", "red shoes", "google"},
        };
        for (const Visit& v : visits)
            site.db.execute(
                "INSERT INTO visit (VisitID, StartPageID, StartTimeStamp, EndTimeStamp, CDSClickFurtherPageIDs, "
                "CDSBytesClickFurtherPageIDs, StzdSearchTerm, SearchEngine, NONSERefr) VALUES (?,?,?,?,?,?,?,?,'')",
                {dao::Value(static_cast<long long>(v.id)), dao::Value(static_cast<long long>(v.start)),
                 dao::Value(v.stamp), dao::Value(v.stamp + 500), dao::Value(std::string(v.further)),
                 dao::Value(std::string(v.bytes)), dao::Value(std::string(v.term)),
                 dao::Value(std::string(v.engine))});
        setMain("AnalStartEnd", "2026-03-01|2026-03-03");
        setMain("CDSNoCntSurfToFileTypes", "gif|jpg");
        setMain("CDSCntAsPageForAvgPages", "html");
        setMain("ShowNotSEitem", "True");
        setMain("ShowDist1", "True");
        setMain("ThresholdST", "2");
        setMain("ThresholdPg", "1");
        setMain("ThresholdWrd", "1");
        setMain("ThresholdTrk", "1");
    }
    void TearDown() override { core::setShellHooks(nullptr); }
    void setMain(const std::string& entry, const std::string& value) { INI_Put("Main", entry, value, "::*"); }

    STTA_Results analyse(long kind) {
        STTA_Results r;
        EXPECT_TRUE(STTA_VisitsAnalyse(site.db, r, 10, kind));
        return r;
    }
    static std::int64_t cnt(const STTA_Results& r, const std::string& item) {
        const long i = r.Vals->find(item);
        return i < 0 ? -1 : r.Vals->Cnt[static_cast<std::size_t>(i)];
    }

    testsupport::TempSite site;
    shell::AppShellHooks hooks;
    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder responder;
};

TEST_F(VisitAnalysis, SearchTermsPassTheirThresholdAndCountStaysDaysAndEngines) {
    const STTA_Results r = analyse(kRkSearchTerm);
    EXPECT_EQ(r.VisitCount, 6);
    EXPECT_EQ(r.AnalOpts.MinCount, 1);
    EXPECT_EQ(*r.DayList, (std::vector<std::string>{"01 Mar 2026", "02 Mar 2026", "03 Mar 2026"}));
    // "red shoes" enters at its second sighting with both counted; "blue shoes" and the
    // visit without a term are seen once only.
    EXPECT_EQ(r.Vals->Items, (std::vector<std::string>{"", "red shoes"}));
    EXPECT_EQ(cnt(r, "red shoes"), 4);
    EXPECT_EQ(STTA_ValueList::at(r.Vals->CntStay(), 1), 2);   // visits 2 and 6 went on to a page
    EXPECT_EQ(STTA_ValueList::at(r.Vals->CntPages(), 1), 2);
    EXPECT_EQ(r.Vals->DayCnt[0].sum(1, 0, 0), 2);
    EXPECT_EQ(r.Vals->DayCnt[0].sum(1, 1, 2), 2);
    const long bing = r.Dist1Vals->find("bing"), google = r.Dist1Vals->find("google");
    ASSERT_GT(bing, 0);
    EXPECT_EQ(r.Dist1Vals->PairCnt.get(bing, 1), 2);
    EXPECT_EQ(r.Dist1Vals->PairCnt.get(google, 1), 2);
}

TEST_F(VisitAnalysis, EachKindCountsItsValues) {
    struct Case {
        long kind;
        std::vector<std::pair<std::string, std::int64_t>> counts;
    } cases[] = {
        {kRkVisitedPage, {{"index.html", 3}, {"products/shoes.html", 4}, {"contact.html", 3}, {"img/logo.gif", -1}}},
        {kRkVisitedFolder, {{"products/", 4}, {"", 5}}},
        {kRkStartPage, {{"index.html", 3}, {"products/shoes.html", 2}, {"contact.html", 1}}},
        {kRkExitPage, {{"products/shoes.html", 3}, {"contact.html", 3}}},
        {kRkSearchEngine, {{"google", 4}, {"bing", 1}, {kNotSearchEngine, 1}}},
        {kRkSingleWords, {{"red", 4}, {"shoes", 5}, {"blue", 1}}},
        {kRkPhraseOf2, {{"red shoes", 4}, {"blue shoes", 1}, {"shoes", -1}}},
        {kRkTrack, {{"index.html\rproducts/shoes.html\r", 2}, {"contact.html\r", 1}, {"products/shoes.html\r", 1}}},
        {kRkSearchTermStartPage, {{"index.html - red shoes", 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        const STTA_Results r = analyse(c.kind);
        for (const auto& [item, count] : c.counts) EXPECT_EQ(cnt(r, item), count) << item;
    }
}

TEST_F(VisitAnalysis, AnEmptyRangeSaysSoAndKeepsThePreviousResults) {
    STTA_Results r = analyse(kRkSearchEngine);
    setMain("AnalStartEnd", "2025-01-01|2025-01-31");
    responder.press("No log data in date range selected", "&OK");
    EXPECT_FALSE(STTA_VisitsAnalyse(site.db, r, 10, kRkSearchTerm));
    EXPECT_EQ(r.Analyzed_Field, kRkSearchEngine);
    EXPECT_EQ(cnt(r, "google"), 4);
}

// Stop pressed in the progress window while the analysis runs.
class StopDuringVisits : public core::ProgressReports {
public:
    void start(const std::string&, const std::string&, int64_t, const std::string&, long& reportNo, double, int,
               bool, const std::string&) override {
        reportNo = 1;
    }
    void update(int64_t&, const std::string& message, long, PIS_UpdateFlags) override {
        if (message.find("Complete") != std::string::npos) sys::raise(sys::kErrUserAbort, "PIS_Update");
    }
    void end(long, bool) override {}
    void closeAll() override { ++closed; }
    int closed = 0;
};

TEST_F(VisitAnalysis, StopLeavesThePreviousResultsAsTheyWere) {
    STTA_Results r = analyse(kRkSearchEngine);
    StopDuringVisits stop;
    core::setProgressReports(&stop);
    struct Restore {
        ~Restore() { core::setProgressReports(nullptr); }
    } restore;
    try {
        STTA_VisitsAnalyse(site.db, r, 10, kRkVisitedPage);
        FAIL() << "no stop";
    } catch (const sys::RtError& e) {
        EXPECT_EQ(e.number(), sys::kErrUserAbort);
    }
    EXPECT_EQ(stop.closed, 1);
    EXPECT_EQ(r.Analyzed_Field, kRkSearchEngine);
    EXPECT_EQ(cnt(r, "google"), 4);
}

TEST_F(VisitAnalysis, AReportCommandAnalysesAndWritesItsTable) {
    setMain("AnalStartEnd", "");  // a first report takes the whole stored range
    ReportTable table;
    std::string caption;
    ASSERT_TRUE(STTA_ReportPrepare(site.db, kRkSearchEngine, kReportTop, table, caption));
    EXPECT_EQ(caption, "Top Srch Engines. Site: Test Site");
    EXPECT_EQ(INI_Get("Main", "AnalStartEnd", "::*", 3), "2026-03-01|2026-03-03");
    // The empty engine item, google, bing and the visit from no engine, then the total.
    ASSERT_EQ(table.rows(), 1 + 4 + 2);
    EXPECT_EQ(table.text(1, 0), "google");
    EXPECT_EQ(table.text(1, 1), "4");
    EXPECT_EQ(table.text(6, 0), ".. Total ..");
    EXPECT_EQ(table.text(6, 1), "6");
    EXPECT_EQ(gResults.Analyzed_Field, kRkSearchEngine);
}

TEST_F(VisitAnalysis, ASiteAreaWithoutPagesGivesAnEmptyReport) {
    setMain("ShowOnlySelSiteArea", "True");
    setMain("ShowOnlySelSiteAreaParm", "nowhere");
    const STTA_Results r = analyse(kRkSearchEngine);
    EXPECT_EQ(r.Vals->Items.size(), 1u);
}

// A generated log added as a user would: the analysis counts per search term and per
// engine what the generator wrote.
TEST(VisitAnalysisOfAGeneratedLog, CountsTermsAndEnginesAsWritten) {
    testsupport::TempSite site;
    testsupport::FakeUserInterface ui;
    shell::AppShellHooks hooks;
    core::setShellHooks(&hooks);
    struct Restore {
        ~Restore() { core::setShellHooks(nullptr); }
    } restore;
    const testsupport::SearchTruth truth = testsupport::addGeneratedLog(site, 4000, 11).truth;
    ASSERT_GT(truth.size(), 100u);
    INI_Put("Main", "AnalStartEnd", "2000-01-01|2099-12-31", "::*");
    INI_Put("Main", "ThresholdST", "1", "::*");

    STTA_Results terms;
    ASSERT_TRUE(STTA_VisitsAnalyse(site.db, terms, 10, kRkSearchTerm));
    std::map<std::string, std::int64_t> perTerm;
    for (const auto& [key, visit] : truth) ++perTerm[visit.term];
    EXPECT_EQ(terms.Vals->Items.size(), perTerm.size() + 1);
    for (const auto& [term, n] : perTerm) {
        const long i = terms.Vals->find(term);
        ASSERT_GT(i, 0) << term;
        EXPECT_EQ(terms.Vals->Cnt[static_cast<std::size_t>(i)], n) << term;
    }

    STTA_Results engines;
    ASSERT_TRUE(STTA_VisitsAnalyse(site.db, engines, 10, kRkSearchEngine));
    std::int64_t total = 0;
    for (std::size_t i = 1; i < engines.Vals->Items.size(); ++i) {
        const std::string engine = core::lowerAscii(engines.Vals->Items[i]);
        const auto written = std::count_if(truth.begin(), truth.end(), [&](const auto& t) {
            return t.second.engineHost.find(engine) != std::string::npos;
        });
        EXPECT_EQ(engines.Vals->Cnt[i], written) << engine;
        total += engines.Vals->Cnt[i];
    }
    EXPECT_EQ(total, static_cast<std::int64_t>(truth.size()));
}

TEST(Phrases, WordsAreCleanedAndPhrasesTakenInOrder) {
    struct Case {
        const char* term;
        long kind;
        std::vector<std::string> values;
    } cases[] = {
        {"(red shoes)!", kRkSingleWords, {"red", "shoes"}},
        {"(red shoes)!", kRkPhraseOf2, {"red shoes"}},
        {"shoes", kRkPhraseOf2, {}},
        {"shoes", kRkPhrases2, {}},
        {"big red shoes", kRkWordsAndPhrases, {"big", "red", "shoes", "big red", "red shoes", "big red shoes"}},
        {"red red", kRkSingleWords, {"red"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.term);
        std::vector<std::string> values;
        STTA_PhraseValuesForKind(c.term, c.kind, values);
        EXPECT_EQ(values, c.values);
    }
}

}  // namespace
