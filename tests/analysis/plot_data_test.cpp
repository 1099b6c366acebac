#include <gtest/gtest.h>

#include "analysis/plot_data.h"
#include "core/dates.h"
#include "core/vb_format.h"

namespace {

// One term seen `perDay` users a day (half of them stayed) over `days` days from
// 1 March 2026.
STTA_Results termOverDays(long days, long perDay) {
    STTA_Results r;
    r.Analyzed_Field = kRkSearchTerm;
    const double first = core::vbDateSerial(2026, 3, 1);
    for (long d = 0; d < days; ++d) r.DayList->push_back(core::vbFormat(core::DateTime{first + d}, "dd mmm yyyy"));
    r.DayRange = std::to_string(static_cast<long>(first)) + "|" + std::to_string(static_cast<long>(first) + days - 1);
    STTA_ValueListAlloc(*r.Vals, 1, days, 1, {});
    ValueListIncrements inc;
    inc.cnt = perDay;
    inc.counters[0] = perDay / 2;
    inc.dayTables = {true, true, false, false, false, false, false};
    for (long d = 0; d < days; ++d) STTA_ValueListAdd(d, *r.Vals, "shoes", inc, -1);
    return r;
}

PlotRequest plotOf(long period = 1) {
    PlotRequest req;
    req.items = {1};
    req.periodDays = period;
    return req;
}

TEST(PlotData, PeriodsAreWidenedToAbout55AndLabelled) {
    struct Case {
        long days, period, expectPeriod, expectRows;
    } cases[] = {{100, 1, 2, 50}, {56, 1, 1, 56}, {10, 3, 3, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.days);
        const STTA_Results r = termOverDays(c.days, 2);
        PlotRequest req = plotOf(c.period);
        const PlotTable plot = PlotTtl4IndexesSTByDate(r, req);
        EXPECT_EQ(req.periodDays, c.expectPeriod);
        EXPECT_EQ(plot.table.rowUBound(), c.expectRows);
        EXPECT_EQ(ARR_Item2D(plot.table, 1, 1), std::to_string(2 * c.expectPeriod));
        EXPECT_EQ(ARR_Item2D(plot.table, 0, 1), "Total Users for selected (group of) Search Terms");
        EXPECT_EQ(ARR_Item2D(plot.table, 0, 6), "  [Use menu item Analysis Options - Targets to Analyse [Optional] to define target(s)]");
    }
    // 10 days in periods of 3: the last period has one day and says so.
    const STTA_Results r = termOverDays(10, 2);
    PlotRequest req = plotOf(3);
    const PlotTable plot = PlotTtl4IndexesSTByDate(r, req);
    EXPECT_EQ(ARR_Item2D(plot.table, 1, 0), "01 Mar [6]");
    EXPECT_EQ(ARR_Item2D(plot.table, 4, 0), "10 Mar [2 /1d.]");
    EXPECT_EQ(plot.columnLabels.substr(0, 26), " 3 d. from 01 Mar [6] 2026");
}

TEST(PlotData, OneValueIsPlottedByItsNumberAndANumberOutsideTheListPlotsNothing) {
    const STTA_Results r = termOverDays(10, 2);
    PlotRequest all = plotOf(), one = plotOf();
    one.items.clear();
    const PlotTable byNumber = STTA_PlotSTs(r, 1, one);
    EXPECT_EQ(one.items, std::vector<long>{1});
    EXPECT_EQ(byNumber.columnLabels, PlotTtl4IndexesSTByDate(r, all).columnLabels);
    EXPECT_EQ(ARR_Item2D(byNumber.table, 1, 1), "2");
    for (long outside : {-1L, static_cast<long>(r.Vals->Items.size())}) {
        PlotRequest none = plotOf();
        const PlotTable nothing = STTA_PlotSTs(r, outside, none);
        EXPECT_TRUE(nothing.columnLabels.empty());
        EXPECT_EQ(none.items, std::vector<long>{1});  // the request is left as it was
    }
}

TEST(PlotData, SmallCountsGetAScaleValue) {
    struct Case {
        long perDay;
        const char* scale;
    } cases[] = {{0, "10"}, {15, "20"}, {20, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.perDay);
        const STTA_Results r = termOverDays(5, c.perDay);
        PlotRequest req = plotOf();
        const PlotTable plot = PlotTtl4IndexesSTByDate(r, req);
        EXPECT_EQ(ARR_Item2D(plot.table, 5, 7), c.scale);
    }
}

TEST(PlotData, PercentViewAndRemovedColumns) {
    STTA_Results r = termOverDays(2, 4);
    // The second day had no users at all.
    *r.Vals = STTA_ValueList{};
    STTA_ValueListAlloc(*r.Vals, 1, 2, 1, {});
    ValueListIncrements inc;
    inc.cnt = 4;
    inc.counters[0] = 1;
    inc.dayTables = {true, true, false, false, false, false, false};
    STTA_ValueListAdd(0, *r.Vals, "shoes", inc, -1);
    PlotRequest req = plotOf();
    req.removedColumns = 1;
    req.percentView = true;
    const PlotTable plot = PlotTtl4IndexesSTByDate(r, req);
    EXPECT_EQ(ARR_Item2D(plot.table, 0, 1), " .. removed ..");
    EXPECT_EQ(ARR_Item2D(plot.table, 1, 1), "0");
    EXPECT_EQ(ARR_Item2D(plot.table, 1, 2), "25");  // 1 of 4 stayed
    EXPECT_EQ(ARR_Item2D(plot.table, 2, 2), "0");   // no base: the count stays
    EXPECT_EQ(ARR_Item2D(plot.table, 0, 2), "Pct. of total who Stayed on site - surfed to other pages");

    core::Table2D table = plot.table;
    // Column 1 holds "0" texts after the replot but stays removed: the next removal
    // takes the stayed column.
    ASSERT_TRUE(STTA_PlotRemoveFirstCol(table));
    EXPECT_EQ(ARR_Item2D(table, 1, 1), "0");
    EXPECT_EQ(ARR_Item2D(table, 1, 2), "");
    EXPECT_EQ(ARR_Item2D(table, 0, 2), " .. removed ..");
    core::Table2D empty;
    empty.redim(0, 2, 0, 2);
    EXPECT_FALSE(STTA_PlotRemoveFirstCol(empty));
}

TEST(PlotData, DateRangesAreClippedToTheAvailableDays) {
    struct Case {
        const char* requested;
        bool whole;
        const char* message;
        bool clippedEmpty;
    } cases[] = {
        {"2026-03-02|2026-03-03", true, "", false},
        {"2026-02-01|2026-03-03", false, "Start date is before available dates.\r", false},
        {"2026-03-02|2026-04-30", false, "End date is after available dates.\r", false},
        {"2025-01-01|2025-01-31", false, "Entire date range is not available.\r", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.requested);
        std::string message, clipped;
        EXPECT_EQ(STTA_DateRangeClip(c.requested, "2026-03-01|2026-03-10", message, clipped), c.whole);
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(clipped.empty(), c.clippedEmpty);
    }
    // A range wholly outside the data plots every day and says so.
    const STTA_Results r = termOverDays(3, 1);
    PlotRequest req = plotOf();
    req.dateRange = "2025-01-01|2025-01-31";
    const PlotTable plot = PlotTtl4IndexesSTByDate(r, req);
    EXPECT_NE(plot.notice.find("No log data available in that range."), std::string::npos);
    EXPECT_EQ(req.dateRange, "01 Mar 2026|03 Mar 2026");
    EXPECT_EQ(plot.table.rowUBound(), 3);
}

}  // namespace
