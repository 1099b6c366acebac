#pragma once
// The data of a plot of search terms over time: how many users the chosen items had
// in each period of the analysed days, how many stayed, and how many reached each of
// the first four targets; as the table the chart shows (row 0 the series labels,
// column 0 the period labels).
#include <string>
#include <vector>

#include "analysis/results.h"
#include "core/table2d.h"

// Sum of the counts of the items on days first..last (day indexes, both included). The
// day tables keep per-item running sums, so no bucket keys are looked for in texts.
std::int64_t STTA_IdsPerDaySum(const std::vector<long>& items, const analysis::DayTable& table, long first,
                               long last);

// Clips the requested range to the available one (each "start|end" of dates); true
// when the whole request is available. `message` says what was clipped.
bool STTA_DateRangeClip(const std::string& requested, const std::string& available, std::string& message,
                        std::string& clipped);

struct PlotRequest {
    std::vector<long> items;
    long periodDays = 1;      // may be enlarged so that a plot has about 55 periods at most
    std::string dateRange;    // "start|end"; rewritten when it held no data
    long removedColumns = 0;  // leading data columns the user removed
    bool percentView = false;  // [Main] Plotpct
    bool dateTitles = false;   // [Main] ColTitDt
    bool numberTitles = false; // [Main] ColTitNum
    std::string targetsMenuCaption = "Analysis Options - Targets to Analyse [Optional]";
};

struct PlotTable {
    core::Table2D table;
    std::string columnLabels;  // "|" list, one entry per period
    std::string notice;        // shown to the user before the plot, when not empty
};

// Builds the plot of the items from the results record: the table the chart shows, with
// the period length, the date range and the removed columns of the request.
PlotTable PlotTtl4IndexesSTByDate(const STTA_Results& results, PlotRequest& request);
// The plot of one value of the list, by its number: a row keeps the number of its own
// value, as texts may repeat (a group named like a value, the empty value). Nothing
// (an empty table) for a number outside the list.
PlotTable STTA_PlotSTs(const STTA_Results& results, long item, PlotRequest& request);
// In place: every later column of a row as a percentage of the row's value in
// `column`; rows where that value is 0 or less keep their counts.
void STTA_PlotPctOfCol(core::Table2D& table, long column);
// Removes the first plotted data column of a chart's table; false when none is left.
bool STTA_PlotRemoveFirstCol(core::Table2D& table);
// The text shown beside a plot: the percentage note, the date range when it is not the
// whole analysed period, and the report's title.
std::string STTA_PlotDescText(const STTA_Results& results, const std::string& dates, long removedCols,
                              bool percentView);
