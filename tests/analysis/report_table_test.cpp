#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "analysis/report_names.h"
#include "analysis/report_table.h"
#include "core/numbers.h"
#include "core/vb_format.h"
#include "core/progress.h"
#include "platform/sys/rt_error.h"
#include "tests/analysis/main_settings.h"
#include "tests/support/fake_user_interface.h"

namespace {

// Four terms with users, stays, pages, one target and the engines they came from.
STTA_Results handMadeResults() {
    STTA_Results r;
    r.Analyzed_Field = kRkSearchTerm;
    r.AnalOpts.ShowDist1 = true;
    r.DayList->assign({"01 Mar 2026", "02 Mar 2026"});
    STTA_ValueListAlloc(*r.Vals, 4, 2, 4, {});
    STTA_ValueListAlloc(*r.Dist1Vals, 2, 2, 4, {});
    const struct {
        const char* item;
        std::int64_t users, stayed, pages, target;
    } items[] = {{"shoes", 10, 4, 8, 10}, {"boots", 5, 0, 0, 1}, {"hats", 2, 1, 3, 0}, {"socks", 1, 0, 0, 0}};
    for (const auto& it : items) {
        ValueListIncrements inc;
        inc.cnt = it.users;
        inc.counters = {it.stayed, it.pages, it.target, 0, 0, 0};
        STTA_ValueListAdd(-1, *r.Vals, it.item, inc, -1);
    }
    STTA_ValueListAddPair(-1, 1, *r.Dist1Vals, "google", 6, 0, false);
    STTA_ValueListAddPair(-1, 1, *r.Dist1Vals, "bing", 4, 0, false);
    STTA_ValueListAddPair(-1, 2, *r.Dist1Vals, "google", 5, 0, false);
    TargetSpec buy;
    buy.Typ = 4;
    buy.Rules.push_back(FltrRule{});
    buy.Rules.back().Val = "buy.html";
    r.Targets.push_back(buy);
    return r;
}

std::vector<std::string> rowOf(const ReportTable& t, long row, int cols) {
    std::vector<std::string> cells;
    for (int c = 0; c < cols; ++c) cells.push_back(t.text(row, c));
    return cells;
}

TEST(ReportTable, TopReportCellByCell) {
    const testsupport::MainSettings withoutDeviationColumns("DevShow=False\n");
    const STTA_Results r = handMadeResults();
    ReportTable t;
    STTA_ReportGridSetup(r.Targets, t, r.Analyzed_Field, r.AnalOpts);
    ASSERT_TRUE(STTA_TopRowsWrite(r, t, 2));
    STTA_TargetBandsColour(r, t);
    ASSERT_EQ(t.cells.cols(), 11);
    ASSERT_EQ(t.rows(), 6);
    using Row = std::vector<std::string>;
    const Row expected[] = {
        {"Search Term", "Visitors (Users)", "Stayed", "stay %", "Avg htm pages", "% of Ttl Visitors", "buy.html",
         "% of total", "% of stays", "", "Srch Engine"},
        {"shoes", "10", "4", "40 %", "2.0", "55.6 %", "10", "100 %", "250 %", "", "google 6 [60%]\r\nbing 4 [40%]\r\n"},
        {"boots", "5", "0", "0 %", "na", "27.8 %", "1", "20 %", "na %", "", "google 5 [100%]\r\n"},
        {".. Rest ..", "3", "1", "33 %", "3.0", "16.7 %", "0", "0 %", "0 %", "", ""},
        {"", "", "", "", "", "", "", "", "", "", ""},
        {".. Total ..", "18", "5", "28 %", "2.2", "", "11", "61 %", "220 %", "", ""},
    };
    for (long row = 0; row < 6; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(rowOf(t, row, 11), expected[row]);
    }
    // The rows remember their items, whatever order the sort left them in.
    EXPECT_EQ(t.GetSTs4Row(1), "1");
    EXPECT_EQ(t.GetSTs4Row(3), "0|3|4");
    EXPECT_EQ(t.plotStartEndDate, "01 Mar 2026|02 Mar 2026");
    // The target band is coloured, its narrow column striped.
    EXPECT_EQ(t.cells.backColor(5, 6), 0x00FFC0C0u);
    EXPECT_EQ(t.cells.backColor(0, 9), 65535u);
    EXPECT_EQ(t.cells.backColor(1, 5), 0u);
}

TEST(ReportTable, TracksAndDistributionColumnsGetTallRowsWhenWritten) {
    const testsupport::MainSettings withoutDeviationColumns("DevShow=False\n");
    const struct {
        long kind;
        bool dist1, dist2, clickThru, tall;
    } cases[] = {{kRkSearchTerm, false, false, false, false}, {kRkTrack, false, false, false, true},
                 {kRkSearchTerm, true, false, false, true},   {kRkSearchTerm, false, true, false, true},
                 {kRkSearchTerm, false, false, true, true}};
    for (const auto& c : cases) {
        STTA_Results r = handMadeResults();
        r.Analyzed_Field = c.kind;
        r.AnalOpts.ShowDist1 = c.dist1;
        r.AnalOpts.ShowDist2 = c.dist2;
        r.AnalOpts.ShowClickThru = c.clickThru;
        ReportTable t;
        STTA_ReportGridSetup(r.Targets, t, r.Analyzed_Field, r.AnalOpts);
        STTA_AllRowsWrite(r, t);
        STTA_TargetBandsColour(r, t);
        EXPECT_EQ(t.thickRows, c.tall) << c.kind << c.dist1 << c.dist2 << c.clickThru;
    }
}

// The File Type column names the type of the row's page, never a part of its term.
TEST(ReportTable, FileTypeIsThatOfThePageEvenBesideATerm) {
    const testsupport::MainSettings withoutDeviationColumns("DevShow=False\n");
    const struct {
        long kind;
        const char* item;
        const char* type;
    } cases[] = {{kRkSearchTermStartPage, "/index.html - statistics download seo", "html"},
                 {kRkSearchTermStartPage, "/v2.0/page - a.b - c.d", ""},
                 {kRkSearchTermStartPage, " - a.term", ""},
                 {kRkStartPage, "/docs/guide.pdf", "pdf"},
                 {kRkStartPage, "/v2.0/page", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        STTA_Results r;
        r.Analyzed_Field = c.kind;
        STTA_ValueListAlloc(*r.Vals, 1, 1, 0, {});
        ValueListIncrements inc;
        const long item = STTA_ValueListAdd(-1, *r.Vals, c.item, inc, -1);
        ReportTable t;
        STTA_ReportGridSetup(r.Targets, t, r.Analyzed_Field, r.AnalOpts);
        ASSERT_GE(t.col.Ftype, 0);
        long row = 0;
        t.cells.setRows(2);
        STTA_ItemRowWrite(r, t, item, row);
        EXPECT_EQ(t.text(row, t.col.Ftype), c.type);
    }
}

TEST(ReportTable, AllReportAndMoreRowsAskedThanItems) {
    const testsupport::MainSettings withoutDeviationColumns("DevShow=False\n");
    const STTA_Results r = handMadeResults();
    ReportTable all;
    STTA_ReportGridSetup(r.Targets, all, r.Analyzed_Field, r.AnalOpts);
    STTA_AllRowsWrite(r, all);
    // Every item (the empty one too), sorted by users, a blank row and the total.
    ASSERT_EQ(all.rows(), 5 + 1 + 2);
    EXPECT_EQ(all.text(1, 0), "shoes");
    EXPECT_EQ(all.text(4, 0), "socks");
    EXPECT_EQ(all.text(5, 1), "0");
    EXPECT_EQ(all.text(7, 1), "18");

    ReportTable top;
    STTA_ReportGridSetup(r.Targets, top, r.Analyzed_Field, r.AnalOpts);
    ASSERT_TRUE(STTA_TopRowsWrite(r, top, 50));
    EXPECT_EQ(top.rows(), 5 + 1 + 2);  // no Rest row
    EXPECT_EQ(top.text(7, 0), ".. Total ..");
}

TEST(ReportTable, GroupRowsSumTheirMembersAndAZeroGroupShowsNa) {
    const testsupport::MainSettings withoutDeviationColumns("DevShow=False\n");
    const STTA_Results r = handMadeResults();
    ReportTable t;
    STTA_ReportGridSetup(r.Targets, t, r.Analyzed_Field, r.AnalOpts);
    t.cells.setRows(1);
    STTA_GroupRowWrite({"shoes", "hats", "gloves"}, "1|3", r, t, "clothes", true);
    STTA_GroupRowWrite({"gloves"}, "", r, t, "", true);
    EXPECT_EQ(rowOf(t, 1, 5), (std::vector<std::string>{"clothes", "12", "5", "42 %", "2.2"}));
    EXPECT_EQ(t.text(1, 10), "google 6 [50%]\r\nbing 4 [33%]\r\n");
    EXPECT_EQ(rowOf(t, 2, 5), (std::vector<std::string>{"gloves", "0", "0", "na %", "na"}));
}

// The count of top rows is the user's; one past any whole number is as many as there are.
TEST(ReportTable, TopCountOfAnyNumberTheOptionMayHold) {
    struct Case {
        const char* stored;
        long count;
    } cases[] = {{"40", 40}, {"2.9", 2}, {"0", 25}, {"-1e30", 25},  // 25: the default
                 {"1e30", std::numeric_limits<long>::max()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        const testsupport::MainSettings settings("CntTopVals=" + std::string(c.stored) + "\n");
        EXPECT_EQ(STTA_TopCount(), c.count);
    }
}

TEST(ReportNames, TitlesAndDistributionColumns) {
    std::string col2 = "kept", col1;
    EXPECT_EQ(STTA_ReportTypeName(1, col2, col1), "Search Term");
    EXPECT_EQ(col1, "Srch Engine");
    EXPECT_EQ(col2, "First Page (Found)");
    col2 = "kept";
    EXPECT_EQ(STTA_ReportTypeName(10, col2, col1), "");
    EXPECT_EQ(col2, "kept");
    EXPECT_EQ(STTA_ReportTypeName(99, col2, col1), "");
    EXPECT_EQ(STTA_ReportTypeName(3, col2, col1), "Search Term // Page Found");
    EXPECT_EQ(col2, "");
    EXPECT_EQ(STTA_ReportTypeName(11, col2, col1), "Srch Engine");
    EXPECT_EQ(col1, "Search Term");
    EXPECT_EQ(STTA_GroupListName(8), "NonSERefrgrps");
    EXPECT_EQ(STTA_ReportKindList(1), "11|1|2|3|5|4|6|12|13|14|15|16|17|18|19|20|21");
    EXPECT_EQ(STTA_ReportKindList(2), "12|13|14|15|16|17|18|19|20|21");
}

TEST(ReportNames, CaptionPluralsOfTitlesThatEndInSOrHoldABracket) {
    const std::pair<long, const char*> plurals[] = {
        {kRkSearchTerm, "Search Terms"},
        {kRkStartPage, "Pages Found"},
        {kRkSearchTermStartPage, "Search Term // Pages Found"},
        {kRkSingleWords, "Search Term Words [single words from all keywords]"},
        {16, "2-word Search Term Phrases"},
        {kRkWordsAndPhrases, "Search Term Words n Phrases [up to 7 words]"},
        {kRkVisitedPage, "Visited Pages"},
        {kRkVisitedFolder, "Visited Dirs (any Page in folder)"},
        {kRkReferrer, "Referrers (NonSE)"},
        {kRkSearchEngine, "Srch Engines"},
        {kRkTargetsReached, ""},
    };
    for (const auto& [kind, plural] : plurals) EXPECT_EQ(STTA_ReportTitlePlural(kind), plural) << kind;
}

// Two rows of one label (the empty value and the blank row above the total; a group
// named like an item) each keep their own items.
TEST(ReportTable, RowsOfTheSameLabelKeepTheirOwnItems) {
    const testsupport::MainSettings withoutDeviationColumns("DevShow=False\n");
    STTA_Results r = handMadeResults();
    ValueListIncrements inc;
    inc.cnt = 20;
    STTA_ValueListAdd(-1, *r.Vals, "", inc, -1);  // item 0 counted, as visitor groups count
    ReportTable top;
    STTA_ReportGridSetup(r.Targets, top, r.Analyzed_Field, r.AnalOpts);
    ASSERT_TRUE(STTA_TopRowsWrite(r, top, 2));
    ASSERT_EQ(top.text(1, 0), "");
    ASSERT_EQ(top.text(4, 0), "");
    EXPECT_EQ(top.GetSTs4Row(1), "0");
    EXPECT_EQ(top.GetSTs4Row(4), "");  // the blank row stands for nothing
    EXPECT_EQ(top.text(5, 4), "2.2");  // the total's pages are the rows' own

    ReportTable grouped;
    STTA_ReportGridSetup(r.Targets, grouped, r.Analyzed_Field, r.AnalOpts);
    grouped.cells.setRows(1);
    STTA_GroupRowWrite({"shoes", "hats"}, "1|3", r, grouped, "boots", true);
    long row = grouped.rows() - 1;
    grouped.cells.setRows(grouped.rows() + 1);
    STTA_ItemRowWrite(r, grouped, 2, row);
    grouped.cells.sortRows(1, 2, 1, 1, grid::kSortNumericAscending);
    ASSERT_EQ(grouped.text(1, 0), "boots");
    ASSERT_EQ(grouped.text(2, 0), "boots");
    EXPECT_EQ(grouped.GetSTs4Row(1), "2");
    EXPECT_EQ(grouped.GetSTs4Row(2), "1|3");
}

// A group of more than 301 members shows the summing in a progress report, and Stop
// ends the summing with the sums so far.
class StopAfter : public core::ProgressReports {
public:
    explicit StopAfter(int updates) : left_(updates) {}
    void start(const std::string& message, const std::string&, int64_t total, const std::string&, long& reportNo,
               double, int, bool, const std::string&) override {
        started.push_back(message);
        this->total = total;
        reportNo = 1;
    }
    void update(int64_t& done, const std::string&, long, PIS_UpdateFlags flags) override {
        if (flags.increment) ++done;
        if (--left_ == 0) sys::raise(sys::kErrUserAbort, "PIS_Update");
    }
    void end(long, bool) override { ++ended; }
    void closeAll() override {}
    std::vector<std::string> started;
    int64_t total = 0;
    int ended = 0;

private:
    int left_;
};

TEST(ReportTable, ALongGroupShowsItsSummingAndStopKeepsTheSumsSoFar) {
    const testsupport::MainSettings withoutDeviationColumns("DevShow=False\n");
    testsupport::FakeUserInterface ui;
    STTA_Results r = handMadeResults();
    std::vector<std::string> members;
    for (int n = 0; n < 400; ++n) {
        members.push_back("term " + std::to_string(n));
        STTA_ValueListAdd(-1, *r.Vals, members.back(), ValueListIncrements{}, -1);
    }
    struct Case {
        std::size_t members;
        int stopAt;  // 0: no Stop
        bool progress;
        const char* users;
    } cases[] = {{301, 0, false, "301"}, {302, 0, true, "302"}, {400, 100, true, "99"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.members);
        StopAfter reports(c.stopAt);
        core::setProgressReports(&reports);
        ReportTable t;
        STTA_ReportGridSetup(r.Targets, t, r.Analyzed_Field, r.AnalOpts);
        t.cells.setRows(1);
        const std::vector<std::string> group(members.begin(), members.begin() + static_cast<long>(c.members));
        STTA_GroupRowWrite(group, "", r, t, "many", true);
        core::setProgressReports(nullptr);
        EXPECT_EQ(reports.started,
                  c.progress ? std::vector<std::string>{"Calculating totals for Search Terms."} : std::vector<std::string>{});
        if (c.progress) {
            EXPECT_EQ(reports.total, static_cast<int64_t>(c.members) - 1);
            EXPECT_EQ(reports.ended, 1);
        }
        EXPECT_EQ(t.text(1, 1), c.users);
    }
}

}  // namespace

namespace {

TEST(TargetLabel, JoinsRuleValuesByTheTargetsKind) {
    struct Case {
        const char* name;
        long typ;
        std::vector<std::string> values;
        std::string label;
    };
    const std::vector<Case> cases = {
        {"any rule, empty middle value skipped", 2, {"/buy", "", "/thanks"}, "/buy / /thanks"},
        {"all rules", 3, {"/buy", "", "/thanks"}, "/buy & /thanks"},
        {"page with a minimum size", 1, {"/big.pdf"}, "*B /big.pdf"},
        {"one page rule", 4, {"/buy"}, "/buy"},
        {"no rules", 1, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TargetSpec target;
        target.Typ = c.typ;
        for (const std::string& v : c.values) target.Rules.push_back(FltrRule{.Typ = 1, .Val = v});
        EXPECT_EQ(STTA_TargetLabel(target), c.label);
    }
}

}  // namespace

namespace {

// The ratio cells of count rows are worked in whole numbers; they must read as the
// formatted quotients do, ties and all.
TEST(ReportTable, RatioCellsOfCountsReadAsTheFormattedQuotients) {
    const testsupport::MainSettings withoutDeviationColumns("DevShow=False\n");
    STTA_Results r;
    r.Analyzed_Field = kRkSearchTerm;
    STTA_ValueListAlloc(*r.Vals, 400, 1, 0, {});
    for (std::int64_t users = 1; users <= 40; ++users)
        for (std::int64_t stayed = 0; stayed <= users; stayed += 3) {
            ValueListIncrements inc;
            inc.cnt = users;
            inc.counters = {stayed, stayed * 7 + 1, 0, 0, 0, 0};
            STTA_ValueListAdd(-1, *r.Vals, std::to_string(users) + "/" + std::to_string(stayed), inc, -1);
        }
    ReportTable t;
    STTA_ReportGridSetup(r.Targets, t, r.Analyzed_Field, r.AnalOpts);
    STTA_AllRowsWrite(r, t);
    double total = 0;
    for (long row = 1; row < t.rows() - 2; ++row) total += TXT_Val(t.text(row, 1));
    for (long row = 1; row < t.rows() - 2; ++row) {
        const double users = TXT_Val(t.text(row, 1)), stayed = TXT_Val(t.text(row, 2));
        if (users == 0) continue;
        SCOPED_TRACE(t.text(row, 0));
        EXPECT_EQ(t.text(row, 3), core::vbFormat(stayed * 100 / users, "0") + " %");
        if (stayed > 0) {
            EXPECT_EQ(t.text(row, 4), core::vbFormat((stayed * 7 + 1) / stayed, "0.0"));
        }
        EXPECT_EQ(t.text(row, 5), core::vbFormat(users * 100 / total, "0.0") + " %");
    }
}

}  // namespace
