#include <gtest/gtest.h>

#include <chrono>
#include <map>

#include "analysis/deviation_columns.h"
#include "analysis/plot_data.h"
#include "analysis/report_table.h"
#include "analysis/visit_analysis.h"
#include "core/dates.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/progress.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "shell/hooks.h"
#include "tests/analysis/hand_made_site.h"
#include "tests/analysis/main_settings.h"
#include "tests/logimport/generated_site.h"
#include "tests/support/fake_user_interface.h"

namespace {

// Consecutive day texts from an ISO date.
std::vector<std::string> daysFrom(const char* first, long count) {
    const double serial = *core::parseDateText(first);
    std::vector<std::string> days;
    for (long d = 0; d < count; ++d) days.push_back(core::vbFormat(core::DateTime{serial + d}, "dd mmm yyyy"));
    return days;
}

class DeviationColumns : public ::testing::Test {
protected:
    static void setMain(const std::string& entry, const std::string& value) { INI_Put("Main", entry, value, "::*"); }

    testsupport::MainSettings settings;
};

// A period as the texts of its first and last day; empty when it has no days.
struct Span {
    std::string first, last;
};

Span spanOf(const STTA_Results& r, long start, long end) {
    if (end < 0) return {};
    return {(*r.DayList)[static_cast<std::size_t>(start)], (*r.DayList)[static_cast<std::size_t>(end)]};
}

bool operator==(const Span& a, const Span& b) { return a.first == b.first && a.last == b.last; }

void PrintTo(const Span& s, std::ostream* os) { *os << "[" << s.first << " .. " << s.last << "]"; }

TEST_F(DeviationColumns, PeriodsAtTheEndsOfMonthsAndOfJanuary) {
    struct Case {
        const char* name;
        const char* first;
        long days;
        const char* devDays;
        Span last, prev, thisMo, lastMo, prevMo, thisYr, lastYr;
        long lastDays, prevDays, thisMoDays, thisYrDays;
    } cases[] = {
        // A day early in January starts its year on 1 January, not a year before.
        {"ends on 10 January", "2025-11-15", 57, "5", {"06 Jan 2026", "10 Jan 2026"}, {"01 Jan 2026", "05 Jan 2026"},
         {"01 Jan 2026", "10 Jan 2026"}, {"01 Dec 2025", "31 Dec 2025"}, {"15 Nov 2025", "30 Nov 2025"},
         {"01 Jan 2026", "10 Jan 2026"}, {"15 Nov 2025", "31 Dec 2025"}, 5, 5, 10, 10},
        {"ends on 27 January", "2024-06-01", 606, "30", {"29 Dec 2025", "27 Jan 2026"},
         {"29 Nov 2025", "28 Dec 2025"}, {"01 Jan 2026", "27 Jan 2026"}, {"01 Dec 2025", "31 Dec 2025"},
         {"01 Nov 2025", "30 Nov 2025"}, {"01 Jan 2026", "27 Jan 2026"}, {"01 Jan 2025", "31 Dec 2025"}, 30, 30, 27,
         27},
        {"ends on 31 January", "2024-12-01", 427, "30", {"02 Jan 2026", "31 Jan 2026"},
         {"03 Dec 2025", "01 Jan 2026"}, {"01 Jan 2026", "31 Jan 2026"}, {"01 Dec 2025", "31 Dec 2025"},
         {"01 Nov 2025", "30 Nov 2025"}, {"01 Jan 2026", "31 Jan 2026"}, {"01 Jan 2025", "31 Dec 2025"}, 30, 30, 31,
         31},
        // Starting on the 1st of a month, inside one year, shorter than N days.
        {"February alone", "2026-02-01", 28, "30", {"01 Feb 2026", "28 Feb 2026"}, {}, {"01 Feb 2026", "28 Feb 2026"},
         {}, {}, {"01 Feb 2026", "28 Feb 2026"}, {}, 28, 0, 28, 28},
        {"ends on 31 December", "2025-03-10", 297, "7", {"25 Dec 2025", "31 Dec 2025"},
         {"18 Dec 2025", "24 Dec 2025"}, {"01 Dec 2025", "31 Dec 2025"}, {"01 Nov 2025", "30 Nov 2025"},
         {"01 Oct 2025", "31 Oct 2025"}, {"10 Mar 2025", "31 Dec 2025"}, {}, 7, 7, 31, 297},
        {"ends on 29 February, a leap year", "2023-12-15", 77, "30", {"31 Jan 2024", "29 Feb 2024"},
         {"01 Jan 2024", "30 Jan 2024"}, {"01 Feb 2024", "29 Feb 2024"}, {"01 Jan 2024", "31 Jan 2024"},
         {"15 Dec 2023", "31 Dec 2023"}, {"01 Jan 2024", "29 Feb 2024"}, {"15 Dec 2023", "31 Dec 2023"}, 30, 30, 29,
         60},
        {"one day", "2026-01-01", 1, "", {"01 Jan 2026", "01 Jan 2026"}, {}, {"01 Jan 2026", "01 Jan 2026"}, {}, {},
         {"01 Jan 2026", "01 Jan 2026"}, {}, 1, 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setMain("DevDays", c.devDays);
        STTA_Results r;
        *r.DayList = daysFrom(c.first, c.days);
        STTA_DevOptionsLoad(r);
        EXPECT_TRUE(r.DevReady);
        EXPECT_EQ(r.DevDayCount, c.days);
        EXPECT_EQ(spanOf(r, r.DevLastStart, r.DevLastEnd), c.last);
        EXPECT_EQ(spanOf(r, r.DevPrevStart, r.DevPrevEnd), c.prev);
        EXPECT_EQ(spanOf(r, r.DevThisMoStart, r.DevThisMoEnd), c.thisMo);
        EXPECT_EQ(spanOf(r, r.DevLastMoStart, r.DevLastMoEnd), c.lastMo);
        EXPECT_EQ(spanOf(r, r.DevPrevMoStart, r.DevPrevMoEnd), c.prevMo);
        EXPECT_EQ(spanOf(r, r.DevThisYrStart, r.DevThisYrEnd), c.thisYr);
        EXPECT_EQ(spanOf(r, r.DevLastYrStart, r.DevLastYrEnd), c.lastYr);
        EXPECT_EQ(r.DevHasPrev, !c.prev.first.empty());
        EXPECT_EQ(r.DevHasLastMo, !c.lastMo.first.empty());
        EXPECT_EQ(r.DevHasPrevMo, !c.prevMo.first.empty());
        EXPECT_EQ(r.DevHasLastYr, !c.lastYr.first.empty());
        EXPECT_EQ((std::vector<long>{r.DevLastDays, r.DevPrevDays, r.DevThisMoDays, r.DevThisYrDays}),
                  (std::vector<long>{c.lastDays, c.prevDays, c.thisMoDays, c.thisYrDays}));
    }
}

TEST_F(DeviationColumns, OptionsFallBackToTheirDefaults) {
    struct Case {
        const char *devDays, *fmtVD, *fmtPct;
        long days;
        std::string vd, pct;
    } cases[] = {
        {nullptr, nullptr, nullptr, 5, "#,###,##0.00", "0"},
        {"0", "0.0", "0.00", 5, "0.0", "0.00"},
        {"-3", "0.00E+00", "0E+00", 5, "#,###,##0.00", "0"},
        {"45", "", "0.0", 45, "", "0.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.days);
        const std::pair<const char*, const char*> entries[] = {
            {"DevDays", c.devDays}, {"DevFmtVD", c.fmtVD}, {"DevFmtPct", c.fmtPct}};
        for (const auto& [entry, value] : entries) {
            if (value) setMain(entry, value);
            else INI_EraseEntry("Main", entry, "::*");
        }
        STTA_Results r;
        *r.DayList = daysFrom("2026-03-01", 10);
        STTA_DevOptionsLoad(r);
        EXPECT_EQ(r.DevDays, c.days);
        EXPECT_EQ(r.DevFmtVD, c.vd);
        EXPECT_EQ(r.DevFmtPct, c.pct);
    }
}

TEST_F(DeviationColumns, ChangeTexts) {
    struct Case {
        double a, b;
        const char *fmtPct, *nonePct, *from0;
        std::string text;
    } cases[] = {
        {4, 2, "0", "", "", "+100 %"},
        {1, 2, "0", "", "", "-50 %"},
        {2, 2, "0", "", "", "0 %"},
        {4, 3, "0.0", "", "", "+33.3 %"},
        {3, 0, "0", "n/a", "new", "new"},   // a rise from nothing
        {0, 0, "0", "n/a", "new", "n/a %"},
        {0, 0, "0", "", "new", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        STTA_Results r;
        r.DevFmtPct = c.fmtPct;
        r.DevTxtNonePct = c.nonePct;
        r.DevTxtFrom0Pct = c.from0;
        EXPECT_EQ(STTA_DevChgText(c.a, c.b, r), c.text);
    }
}

// Three weeks from 20 December: "shoes" every day, more in January; "boots" only in
// the last five days.
STTA_Results twoItemsOverNewYear() {
    STTA_Results r;
    r.Analyzed_Field = kRkSearchTerm;
    *r.DayList = daysFrom("2025-12-20", 21);
    ValueListParts parts;
    parts.dayCnt = true;
    STTA_ValueListAlloc(*r.Vals, 2, 21, 0, parts);
    const std::int64_t shoes[21] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 3, 2, 2, 2, 2, 3, 4, 4, 4, 6};
    for (long day = 0; day < 21; ++day) {
        ValueListIncrements inc;
        inc.cnt = shoes[day];
        inc.dayTables[0] = true;
        STTA_ValueListAdd(day, *r.Vals, "shoes", inc, -1);
        if (day >= 16) STTA_ValueListAdd(day, *r.Vals, "boots", {.dayTables = {true}, .cnt = 1}, -1);
    }
    return r;
}

TEST_F(DeviationColumns, ItemRowsCaptionsAndBandsOfAReport) {
    setMain("DevShow", "True");
    setMain("DevDays", "5");
    setMain("DevTxtNoneVD", "-");
    setMain("DevTxtNonePct", "n/a");
    setMain("DevTxtFrom0Pct", "new");
    const STTA_Results r = twoItemsOverNewYear();
    ReportTable t;
    STTA_ReportGridSetup(r.Targets, t, r.Analyzed_Field, r.AnalOpts);
    ASSERT_EQ(t.col.Deviation, 6);
    ASSERT_EQ(t.cells.cols(), 6 + kDevColumns);
    ASSERT_TRUE(STTA_TopRowsWrite(r, t, 2));
    STTA_TargetBandsColour(r, t);
    ASSERT_EQ(t.rows(), 6);  // captions, shoes, boots, rest, blank, total

    using Row = std::vector<std::string>;
    auto deviationCells = [&](long row) {
        Row cells;
        for (int k = 0; k < kDevColumns; ++k) cells.push_back(t.text(row, t.col.Deviation + k));
        return cells;
    };
    // Last 5 days 5 to 9 January; the 5 before from 31 December; this month and this
    // year 9 days; last month and last year the 12 December days; no month before.
    const Row captions = {
        "last 5 d. avg users per day", "+/- all days", "+/- rest days", "+/- prev 5 days",
        "prev 5 d. avg users per day", "+/- all days", "this mo 9 d. avg users per day", "+/- all days",
        "+/- last mo", "", "+/- this yr", "+/- last yr", "last mo. avg users per day", "+/- all days", "",
        "+/- this yr", "+/- last yr", "no prev mo. data", "", "", "this yr.9 d. avg users per day", "+/- all days",
        "+/- last yr", "last yr. avg users per day", "+/- all days", "all days. avg users per day"};
    // shoes: last 21/5, all 43/21, rest 22/16, prev 11/5, this month and year 29/9,
    // last month and year 14/12.
    const Row shoes = {"4.20", "+105 %", "+205 %", "+91 %", "2.20", "+7 %", "3.22", "+57 %", "+176 %", "",
                       "0 %", "+176 %", "1.17", "-43 %", "", "-64 %", "0 %", "", "", "", "3.22", "+57 %",
                       "+176 %", "1.17", "-43 %", "2.05"};
    // boots: 1 a day in the last 5 days, nothing before.
    const Row boots = {"1.00", "+320 %", "new", "new", "-", "-100 %", "0.56", "+133 %", "new", "", "0 %", "new",
                       "-", "-100 %", "", "-100 %", "n/a %", "", "", "", "0.56", "+133 %", "new", "-",
                       "-100 %", "0.24"};
    EXPECT_EQ(deviationCells(0), captions);
    ASSERT_EQ(t.text(1, 0), "shoes");
    EXPECT_EQ(deviationCells(1), shoes);
    ASSERT_EQ(t.text(2, 0), "boots");
    EXPECT_EQ(deviationCells(2), boots);
    for (long row : {3L, 5L}) EXPECT_EQ(deviationCells(row), Row(kDevColumns)) << t.text(row, 0);

    // Bands start at each average and alternate green and orange; a change column
    // whose period has no days is hidden.
    const std::uint32_t green = 0x00C0FFC0, orange = 0x00C0E0FF;
    for (int k = 0; k < kDevColumns; ++k) {
        SCOPED_TRACE(k);
        const bool band = k == 0 || k == 4 || k == 6 || k == 12 || k == 17 || k == 20 || k == 23 || k == 25;
        const bool hidden = k == 9 || k == 14 || k == 18 || k == 19;
        EXPECT_EQ(t.colWidth[static_cast<std::size_t>(t.col.Deviation + k)], band ? 900 : hidden ? 1 : 660);
        const int bandNo = (k >= 4) + (k >= 6) + (k >= 12) + (k >= 17) + (k >= 20) + (k >= 23) + (k >= 25);
        EXPECT_EQ(t.cells.backColor(0, t.col.Deviation + k), bandNo % 2 == 0 ? green : orange);
        EXPECT_EQ(t.cells.backColor(5, t.col.Deviation + k), bandNo % 2 == 0 ? green : orange);
    }
}

TEST_F(DeviationColumns, OnlyUngroupedReportsWithTheOptionSetGetThem) {
    const STTA_Results r = twoItemsOverNewYear();
    struct Case {
        const char* devShow;
        bool grouped;
        bool shown;
    } cases[] = {{nullptr, false, true}, {"True", false, true}, {"False", false, false}, {"True", true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.devShow ? c.devShow : "missing") + (c.grouped ? " grouped" : ""));
        if (c.devShow) setMain("DevShow", c.devShow);
        else INI_EraseEntry("Main", "DevShow", "::*");
        STTA_AnalOpts options = r.AnalOpts;
        options.ValIsGroupedRep = c.grouped;
        ReportTable t;
        STTA_ReportGridSetup(r.Targets, t, r.Analyzed_Field, options);
        EXPECT_EQ(t.col.Deviation, c.shown ? 6 : -1);
        EXPECT_EQ(t.cells.cols(), c.shown ? 6 + kDevColumns : 6);
        EXPECT_EQ(t.text(0, 6), c.shown ? "Deviation Cols" : "");
    }
}

// A generated log of about 400 days from 1 January 2026, analysed up to the ends of months
// and of January and to a day early in January: each top search term's averages and
// changes are worked out here by calendar from what the generator wrote.
namespace calendar {

using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::year_month_day;

sys_days isoDay(const std::string& iso) {
    return sys_days{year_month_day{std::chrono::year{std::stoi(iso.substr(0, 4))},
                                   std::chrono::month{static_cast<unsigned>(std::stoi(iso.substr(5, 2)))},
                                   std::chrono::day{static_cast<unsigned>(std::stoi(iso.substr(8, 2)))}}};
}

sys_days stampDay(const std::string& stamp) {
    return isoDay(stamp.substr(0, 4) + "-" + stamp.substr(4, 2) + "-" + stamp.substr(6, 2));
}

sys_days monthStart(sys_days d) {
    const year_month_day ymd{d};
    return sys_days{ymd.year() / ymd.month() / 1};
}

sys_days yearStart(sys_days d) { return sys_days{year_month_day{d}.year() / 1 / 1}; }

struct Period {
    sys_days first, last;
    bool has = true;
    long length() const { return has ? (last - first).count() + 1 : 0; }
};

Span spanText(const Period& p) {
    if (!p.has) return {};
    const sys_days serialZero{std::chrono::year{1899} / 12 / 30};
    auto text = [&](sys_days d) {
        return core::vbFormat(core::DateTime{static_cast<double>((d - serialZero).count())}, "dd mmm yyyy");
    };
    return {text(p.first), text(p.last)};
}

// The days a..b of the analysis that starts on `start`.
Period within(sys_days start, sys_days a, sys_days b) { return {std::max(start, a), b, b >= start}; }

}  // namespace calendar

// Every day of January 2026 and into February has visits for one term, and each day's
// last visit runs past midnight. The analysed days end with the chosen range all the
// same, so the deviation cells and the plot agree with the calendar of the range.
class LastVisitPastMidnight : public testsupport::HandMadeSite {
protected:
    static constexpr long kDays = 41;  // 1 January to 10 February
    static int usersOn(long day) { return 1 + static_cast<int>(day * 7 % 5); }

    void SetUp() override {
        HandMadeSite::SetUp();
        long id = 100;
        for (long d = 0; d < kDays; ++d) {
            const double serial = *core::parseDateText("2026-01-01") + static_cast<double>(d);
            const long long day = std::stoll(core::vbFormat(core::DateTime{serial}, "yyyymmdd")) * 1000000;
            for (int n = 0; n < usersOn(d); ++n) {
                const bool last = n == usersOn(d) - 1;
                const long long start = day + (last ? 235000 : 100000 + n * 10000);
                // 00:15 of the next day for the last visit.
                const long long end = last ? std::stoll(core::vbFormat(core::DateTime{serial + 1}, "yyyymmdd")) *
                                                     1000000 + 1500
                                           : start + 500;
                site.db.execute(
                    "INSERT INTO visit (VisitID, StartPageID, StartTimeStamp, EndTimeStamp, CDSClickFurtherPageIDs, "
                    "CDSBytesClickFurtherPageIDs, StzdSearchTerm, SearchEngine, NONSERefr) "
                    "VALUES (?,1,?,?,'','','january shoes','google','')",
                    {dao::Value(static_cast<long long>(++id)), dao::Value(start), dao::Value(end)});
            }
        }
        setMain("ThresholdST", "1");
        setMain("DevShow", "True");
        setMain("DevDays", "5");
    }
};

// Records the name of the analysis's progress report.
class ReportNames : public core::ProgressReports {
public:
    void start(const std::string& message, const std::string&, int64_t, const std::string& actionName,
               long& reportNo, double, int, bool, const std::string&) override {
        if (message.starts_with("Read visits")) visitsReport = actionName;
        reportNo = 1;
    }
    void update(int64_t&, const std::string&, long, PIS_UpdateFlags) override {}
    void end(long, bool) override {}
    void closeAll() override {}
    std::string visitsReport;
};

TEST_F(LastVisitPastMidnight, DeviationCellsAndPlotFollowTheCalendarOfTheRange) {
    using namespace calendar;
    const sys_days january1 = isoDay("2026-01-01");
    struct Case {
        const char* range;
        const char* progressName;
    } cases[] = {{"2026-01-01|2026-01-11", "Dates: 01 Jan 26 to 11 Jan 26"},
                 {"2026-01-01|2026-01-31", "Dates: 01 Jan 26 to 31 Jan 26"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.range);
        setMain("AnalStartEnd", c.range);
        ReportNames names;
        core::setProgressReports(&names);
        STTA_Results r = analyse(kRkSearchTerm);
        core::setProgressReports(nullptr);
        EXPECT_EQ(names.visitsReport, c.progressName);

        const sys_days last = isoDay(std::string(c.range).substr(11));
        const Period all{january1, last}, last5{last - days{4}, last}, thisMo{monthStart(last), last};
        auto users = [&](const Period& p) {
            double n = 0;
            for (sys_days d = p.first; d <= p.last; d += days{1}) n += usersOn((d - january1).count());
            return n;
        };
        ASSERT_EQ(r.DayList->size(), static_cast<std::size_t>(all.length()));
        EXPECT_EQ(r.DayList->back(), spanText(all).last);

        ReportTable t;
        STTA_ReportGridSetup(r.Targets, t, r.Analyzed_Field, r.AnalOpts);
        ASSERT_TRUE(STTA_TopRowsWrite(r, t, 5));
        STTA_TargetBandsColour(r, t);
        ASSERT_EQ(t.text(1, 0), "january shoes");
        auto cell = [&](long row, int k) { return t.text(row, t.col.Deviation + k); };
        const double avgLast = users(last5) / 5, avgAll = users(all) / static_cast<double>(all.length());
        const double avgMonth = users(thisMo) / static_cast<double>(thisMo.length());
        EXPECT_EQ(cell(0, 6), "this mo " + std::to_string(thisMo.length()) + " d. avg users per day");
        EXPECT_EQ(cell(1, 0), core::vbFormat(avgLast, "#,###,##0.00"));
        EXPECT_EQ(cell(1, 6), core::vbFormat(avgMonth, "#,###,##0.00"));
        const double change = (avgLast - avgAll) * 100 / avgAll;
        EXPECT_EQ(cell(1, 1), (change > 0 ? "+" : "") + core::vbFormat(change, "0") + " %");
        EXPECT_EQ(cell(1, 25), core::vbFormat(avgAll, "#,###,##0.00"));

        PlotRequest plot;
        plot.items = {r.Vals->find("january shoes")};
        const PlotTable table = PlotTtl4IndexesSTByDate(r, plot);
        ASSERT_EQ(table.table.rowUBound(), all.length());
        double plotted = 0;
        for (long row = 1; row <= table.table.rowUBound(); ++row) plotted += core::vbVal(ARR_Item2D(table.table, row, 1));
        EXPECT_EQ(plotted, users(all));
        EXPECT_EQ(ARR_Item2D(table.table, all.length(), 0),
                  core::vbFormat(core::DateTime{*core::parseDateText(std::string(c.range).substr(11))}, "dd mmm") +
                      " [" + std::to_string(usersOn(all.length() - 1)) + "]");
    }
}

TEST(DeviationColumnsOfAGeneratedLog, AveragesAndChangesAgreeWithTheCalendar) {
    using namespace calendar;
    testsupport::TempSite site;
    testsupport::FakeUserInterface ui;
    shell::AppShellHooks hooks;
    core::ScopedShellHooks installed(&hooks);
    // The generator spreads its lines over a little more than half the days asked
    // for, so this log covers about 400 days, into February 2027.
    const testsupport::SearchTruth truth = testsupport::addGeneratedLog(site, 48000, 5, 740).truth;
    std::map<std::string, std::map<sys_days, int>> usersPerDay;  // term -> day -> users
    for (const auto& [key, visit] : truth) ++usersPerDay[visit.term][stampDay(key.second)];
    for (const auto& [entry, value] : std::vector<std::pair<const char*, const char*>>{
             {"ThresholdST", "1"}, {"DevShow", "True"}, {"DevDays", "30"}, {"DevTxtNoneVD", "-"},
             {"DevTxtNonePct", "="}, {"DevTxtFrom0Pct", "new"}})
        INI_Put("Main", entry, value, "::*");

    enum P { Last, All, Rest, Prev, ThisMo, LastMo, PrevMo, ThisYr, LastYr, None };
    const std::pair<P, P> columns[kDevColumns] = {
        {Last, None},   {Last, All},     {Last, Rest},    {Last, Prev},    {Prev, None},    {Prev, All},
        {ThisMo, None}, {ThisMo, All},   {ThisMo, LastMo}, {ThisMo, PrevMo}, {ThisMo, ThisYr}, {ThisMo, LastYr},
        {LastMo, None}, {LastMo, All},   {LastMo, PrevMo}, {LastMo, ThisYr}, {LastMo, LastYr}, {PrevMo, None},
        {PrevMo, All},  {PrevMo, LastYr}, {ThisYr, None},  {ThisYr, All},   {ThisYr, LastYr}, {LastYr, None},
        {LastYr, All},  {All, None}};

    for (const char* end : {"2026-02-28", "2026-12-31", "2027-01-15", "2027-01-31"}) {
        SCOPED_TRACE(end);
        INI_Put("Main", "AnalStartEnd", std::string("2026-01-01|") + end, "::*");
        STTA_Results r;
        ASSERT_TRUE(STTA_VisitsAnalyse(site.db, r, 10, kRkSearchTerm));
        const sys_days first = isoDay("2026-01-01"), last = isoDay(end);
        ASSERT_EQ(r.DayList->front(), "01 Jan 2026");
        ASSERT_EQ(r.DayList->back(), core::vbFormat(core::DateTime{*core::parseDateText(end)}, "dd mmm yyyy"));

        Period periods[None];
        periods[Last] = within(first, last - days{29}, last);
        periods[Prev] = within(first, last - days{59}, last - days{30});
        periods[All] = periods[Rest] = {first, last};
        periods[ThisMo] = within(first, monthStart(last), last);
        const sys_days lastMoEnd = monthStart(last) - days{1};
        periods[LastMo] = within(first, monthStart(lastMoEnd), lastMoEnd);
        const sys_days prevMoEnd = monthStart(lastMoEnd) - days{1};
        periods[PrevMo] = within(first, monthStart(prevMoEnd), prevMoEnd);
        periods[ThisYr] = within(first, yearStart(last), last);
        const sys_days lastYrEnd = yearStart(last) - days{1};
        periods[LastYr] = within(first, yearStart(lastYrEnd), lastYrEnd);

        ReportTable t;
        STTA_ReportGridSetup(r.Targets, t, r.Analyzed_Field, r.AnalOpts);
        ASSERT_TRUE(STTA_TopRowsWrite(r, t, 5));
        STTA_TargetBandsColour(r, t);
        const std::pair<P, std::pair<long, long>> bounds[] = {
            {Last, {r.DevLastStart, r.DevLastEnd}},       {Prev, {r.DevPrevStart, r.DevPrevEnd}},
            {ThisMo, {r.DevThisMoStart, r.DevThisMoEnd}}, {LastMo, {r.DevLastMoStart, r.DevLastMoEnd}},
            {PrevMo, {r.DevPrevMoStart, r.DevPrevMoEnd}}, {ThisYr, {r.DevThisYrStart, r.DevThisYrEnd}},
            {LastYr, {r.DevLastYrStart, r.DevLastYrEnd}}};
        for (const auto& [p, startEnd] : bounds)
            EXPECT_EQ(spanOf(r, startEnd.first, startEnd.second), spanText(periods[p])) << "period " << p;
        auto cell = [&](long row, int k) { return t.text(row, t.col.Deviation + k); };
        const auto withDays = [](const char* head, const Period& p, const char* tail) {
            return head + std::to_string(p.length()) + tail;
        };
        EXPECT_EQ(cell(0, 0), withDays("last ", periods[Last], " d. avg users per day"));
        EXPECT_EQ(cell(0, 4), periods[Prev].has ? withDays("prev ", periods[Prev], " d. avg users per day")
                                                : "no prev days data");
        EXPECT_EQ(cell(0, 6), withDays("this mo ", periods[ThisMo], " d. avg users per day"));
        EXPECT_EQ(cell(0, 12), periods[LastMo].has ? "last mo. avg users per day" : "no last mo. data");
        EXPECT_EQ(cell(0, 17), periods[PrevMo].has ? "prev mo. avg users per day" : "no prev mo. data");
        EXPECT_EQ(cell(0, 20), withDays("this yr.", periods[ThisYr], " d. avg users per day"));
        EXPECT_EQ(cell(0, 23), periods[LastYr].has ? "last yr. avg users per day" : "no last yr. data");

        int termsChecked = 0;
        for (long row = 1; row <= 5; ++row) {
            const auto term = usersPerDay.find(t.text(row, 0));
            if (term == usersPerDay.end()) continue;
            SCOPED_TRACE(term->first);
            ++termsChecked;
            auto sum = [&](const Period& p) {
                int n = 0;
                for (const auto& [day, users] : term->second)
                    if (p.has && day >= p.first && day <= p.last) n += users;
                return static_cast<double>(n);
            };
            double avg[None];
            for (int p = 0; p < None; ++p) avg[p] = periods[p].has ? sum(periods[p]) / periods[p].length() : 0;
            avg[Rest] = (sum(periods[All]) - sum(periods[Last])) /
                        static_cast<double>(periods[All].length() - periods[Last].length());
            for (int k = 0; k < kDevColumns; ++k) {
                SCOPED_TRACE(k);
                const auto [of, against] = columns[k];
                const std::string text = cell(row, k);
                if (!periods[of].has || (against != None && !periods[against].has)) {
                    EXPECT_EQ(text, "");
                } else if (against == None) {
                    if (avg[of] == 0) {
                        EXPECT_EQ(text, k == 25 ? "none" : "-");
                    } else {
                        EXPECT_NEAR(core::vbVal(text), avg[of], 0.0051);
                    }
                } else if (avg[against] == 0) {
                    EXPECT_EQ(text, avg[of] > 0 ? "new" : "= %");
                } else {
                    const double change = (avg[of] - avg[against]) * 100 / avg[against];
                    ASSERT_TRUE(text.ends_with(" %")) << text;
                    EXPECT_EQ(text[0] == '+', avg[of] > avg[against]) << text;
                    EXPECT_NEAR(core::vbVal(text.substr(text[0] == '+' ? 1 : 0)), change, 0.51);
                }
            }
        }
        EXPECT_GE(termsChecked, 3);
    }
}

}  // namespace
