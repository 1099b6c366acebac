#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "analysis/visit_analysis.h"
#include "analysis/visit_values.h"
#include "core/ini_store.h"
#include "core/progress.h"
#include "platform/sys/rt_error.h"
#include "shell/hooks.h"
#include "tests/analysis/hand_made_site.h"
#include "tests/logimport/generated_site.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"

namespace {

class VisitAnalysis : public testsupport::HandMadeSite {};

TEST_F(VisitAnalysis, SearchTermsPassTheirThresholdAndCountStaysDaysAndEngines) {
    const STTA_Results r = analyse(kRkSearchTerm);
    EXPECT_EQ(r.VisitCount, 6);
    EXPECT_EQ(r.AnalOpts.MinCount, 1);
    EXPECT_EQ(*r.DayList, (std::vector<std::string>{"01 Mar 2026", "02 Mar 2026", "03 Mar 2026"}));
    // "red shoes" enters at its second sighting, and its first is counted too, as the
    // visit it was; "blue shoes" and the visit without a term are seen once only.
    EXPECT_EQ(r.Vals->Items, (std::vector<std::string>{"", "red shoes"}));
    EXPECT_EQ(cnt(r, "red shoes"), 4);
    EXPECT_EQ(STTA_ValueList::at(r.Vals->CntStay(), 1), 3);   // visits 1, 2 and 6 went on to a page
    EXPECT_EQ(STTA_ValueList::at(r.Vals->CntPages(), 1), 3);
    EXPECT_EQ(r.Vals->DayCnt[0].sum(1, 0, 0), 2);
    EXPECT_EQ(r.Vals->DayCnt[0].sum(1, 1, 2), 2);
    EXPECT_EQ(r.Vals->DayCnt[1].sum(1, 0, 0), 2);
    const long bing = r.Dist1Vals->find("bing"), google = r.Dist1Vals->find("google");
    ASSERT_GT(bing, 0);
    EXPECT_EQ(r.Dist1Vals->PairCnt.get(bing, 1), 1);
    EXPECT_EQ(r.Dist1Vals->PairCnt.get(google, 1), 3);
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

// A scan of stored lines, or an addition of older lines, numbers visits out of start
// order; they are still counted in start order, which decides the items' order.
TEST_F(VisitAnalysis, VisitsNumberedOutOfStartOrderAreCountedInStartOrder) {
    const long kinds[] = {kRkStartPage, kRkTrack, kRkSearchTerm};
    std::vector<STTA_Results> inOrder;
    for (long kind : kinds) inOrder.push_back(analyse(kind));
    site.db.execute("UPDATE visit SET VisitID = 100 - VisitID");
    for (std::size_t k = 0; k < std::size(kinds); ++k) {
        SCOPED_TRACE(kinds[k]);
        const STTA_Results r = analyse(kinds[k]);
        EXPECT_EQ(r.Vals->Items, inOrder[k].Vals->Items);
        EXPECT_EQ(r.Vals->Cnt, inOrder[k].Vals->Cnt);
        EXPECT_EQ(r.Vals->Counters, inOrder[k].Vals->Counters);
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
    core::ScopedShellHooks installed(&hooks);
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

// The distribution of one value over a pair list, by the list's texts.
std::map<std::string, std::int64_t> pairsOf(const STTA_ValueList& list, long item) {
    std::map<std::string, std::int64_t> pairs;
    for (const auto& [a, amount] : list.PairCnt.column(item)) pairs[list.Items[static_cast<std::size_t>(a)]] = amount;
    return pairs;
}

// On a generated log, a value listed at its threshold has every count, day table and
// distribution it has when every value is listed at its first sighting, and a value seen
// less often than the threshold is not listed.
TEST(VisitAnalysisOfAGeneratedLog, AListedValueCountsWhatItsVisitsCountWithoutAThreshold) {
    testsupport::TempSite site;
    testsupport::FakeUserInterface ui;
    shell::AppShellHooks hooks;
    core::ScopedShellHooks installed(&hooks);
    testsupport::addGeneratedLog(site, 4000, 23);
    for (const auto& [entry, value] : std::vector<std::pair<const char*, const char*>>{
             {"AnalStartEnd", "2000-01-01|2099-12-31"}, {"ShowDist1", "True"}, {"ShowDist2", "True"},
             {"ShowClickThru", "True"}})
        INI_Put("Main", entry, value, "::*");
    struct Case {
        long kind;
        const char* threshold;
        std::int64_t minimum;
    } cases[] = {{kRkSearchTerm, "ThresholdST", 4}, {kRkSingleWords, "ThresholdWrd", 4}, {kRkTrack, "ThresholdTrk", 2}};
    for (const auto& [kind, threshold, minimum] : cases) {
        SCOPED_TRACE(threshold);
        INI_Put("Main", threshold, "1", "::*");
        STTA_Results every;
        ASSERT_TRUE(STTA_VisitsAnalyse(site.db, every, 10, kind));
        INI_Put("Main", threshold, std::to_string(minimum), "::*");
        STTA_Results held;
        ASSERT_TRUE(STTA_VisitsAnalyse(site.db, held, 10, kind));
        const long days = static_cast<long>(held.DayList->size());
        std::size_t listed = 0;
        for (std::size_t e = 1; e < every.Vals->Items.size(); ++e) {
            const std::string& value = every.Vals->Items[e];
            const long h = held.Vals->find(value);
            if (every.Vals->Cnt[e] < minimum) {
                EXPECT_EQ(h, -1) << value;
                continue;
            }
            ++listed;
            ASSERT_GT(h, 0) << value;
            const auto i = static_cast<std::size_t>(h);
            EXPECT_EQ(held.Vals->Cnt[i], every.Vals->Cnt[e]) << value;
            for (std::size_t k = 0; k < kExtraCounters; ++k)
                EXPECT_EQ(held.Vals->Counters[k][i], every.Vals->Counters[k][e]) << value << " counter " << k;
            for (std::size_t k = 0; k < kDayTables; ++k)
                EXPECT_EQ(held.Vals->DayCnt[k].perDay({h}, days), every.Vals->DayCnt[k].perDay({static_cast<long>(e)}, days))
                    << value << " day table " << k;
            EXPECT_EQ(pairsOf(*held.Dist1Vals, h), pairsOf(*every.Dist1Vals, static_cast<long>(e))) << value;
            EXPECT_EQ(pairsOf(*held.Dist2Vals, h), pairsOf(*every.Dist2Vals, static_cast<long>(e))) << value;
            EXPECT_EQ(pairsOf(*held.ClickThruVals, h), pairsOf(*every.ClickThruVals, static_cast<long>(e))) << value;
        }
        EXPECT_EQ(held.Vals->Items.size(), listed + 1);
        EXPECT_GT(listed, 0u);  // not an empty comparison
    }
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
