#pragma once
// The deviation columns of a report: for each item row, the item's average users per
// day in recent periods of the analysed days (the last N days, this, last and the
// previous month, this and last year) and how these averages differ from each other
// and from all days. A period is a run of the record's day list, found from the day
// texts rather than by calendar arithmetic, so it never reaches outside the analysis.
//
// The periods and the options live in the record's deviation part (results.h),
// filled on first use after each report's copy of its record.
#include <string>
#include <vector>

#include "analysis/report_table.h"
#include "analysis/results.h"

inline constexpr int kDevColumns = 26;

enum class DevMode {
    ItemCells = 1,  // the 26 cells of an item row
    Captions = 2,   // the 26 captions, into row 0
    Flags = 3,      // nothing written; only the band-start and hidden flags of one column
};

// [Main] DevShow; a missing entry counts as set.
bool STTA_DevShow();

// Fills the deviation part of the record from [Main] and its day list.
void STTA_DevOptionsLoad(const STTA_Results& results);

// The index of the first day of the month, or of the year, of day `day` of the list,
// never before the list's first day (index 0).
long STTA_DevMonthStart(long day, const std::vector<std::string>& days);
long STTA_DevYearStart(long day, const std::vector<std::string>& days);

// The item's average users per day over days start..end. With days (end >= 0) `sum`
// and `days` get the period's sum and length; without, they keep their values and
// the average is 0.
double STTA_DevPeriodAvg(long item, const STTA_Results& results, long start, long end, double& sum, long& days,
                         bool& hasDays);

// The change of average a against average b, in percent, as the report shows it.
std::string STTA_DevChgText(double a, double b, const STTA_Results& results);

// True when the format is usable for a number (not the missing-entry text).
bool STTA_DevFmtValid(const std::string& format);

// Writes at columns table.col.Deviation + k, k = 0..25 (see DevMode). For Flags,
// `column` is k; `bandStart` tells whether k starts a colour band and `hidden`
// whether it is a change column whose periods lack days.
void STTA_DevCellsWrite(DevMode mode, const STTA_Results& results, ReportTable& table, long item, long row,
                        int column, bool& bandStart, bool& hidden);

// Captions, widths and the alternating band colours of the 26 columns.
void STTA_DevBandsColour(const STTA_Results& results, ReportTable& table);
