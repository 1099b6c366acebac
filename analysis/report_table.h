#pragma once
// The table a results window shows for one report, written from the current results
// record: a Top report (the N items with most users, a Rest row, a Total row), a
// Grouped report (one row per named group), an All report, or the rows of a list of
// items. The table is plain cells, widths and colours, so a report is written and
// checked without any window; the window shows it in its grid.
#include <array>
#include <string>
#include <unordered_map>
#include <vector>

#include "analysis/results.h"
#include "platform/grid/cell_store.h"

// Where the optional columns are (-1 when a report has none).
struct ReportColumns {
    int Dist0 = -1;          // Dist1Vals
    int DistAlternate = -1;  // Dist2Vals
    int DistClickThru = -1;
    int Ftype = -1;
    int Deviation = -1;
};

struct ReportTable {
    grid::CellStore cells;  // row 0 holds the captions
    std::vector<int> colWidth;      // twips
    std::vector<int> colAlignment;  // the grid's alignment codes
    int fixedCols = 3;
    int captionRowHeight = 450;
    ReportColumns col;
    std::string plotStartEndDate;
    // What the window says beside the grid: the site and how the analysis was made.
    std::string extractDesc;
    // Rows tall enough for multi-line cells (tracks, distribution columns).
    bool thickRows = false;

    // Row bookkeeping, found by a row's label so that it survives sorting: the items a
    // row stands for ("3" or "3|17|42"), and the pages of its visits (for the total's
    // average).
    void PutST(long row, const std::string& value);
    std::string GetSTs4Row(long row) const;
    // The same for a row's label, wherever the row stands now.
    std::string valuesForLabel(const std::string& label) const;
    std::string allSTs;  // "|" + value of every row, in writing order

    long rows() const { return cells.rows(); }
    std::string text(long row, int col) const;
    void setText(long row, int col, const std::string& text);

    std::unordered_map<std::string, std::string> rowValues;  // escaped label -> value
    std::unordered_map<std::string, double> rowPages;       // escaped label -> pages
};

// The sums of a group row or the total row.
struct STTA_RowTotals {
    double Users = 0;
    double Pages = 0;
    std::array<double, 7> Sums{};  // 1 stayed, 3..6 targets 1..4
};

// The one-line label of a target: its rule values joined.
std::string STTA_TargetLabel(const TargetSpec& target);

void STTA_ReportGridSetup(const std::vector<TargetSpec>& targets, ReportTable& table, long kind,
                          const STTA_AnalOpts& options);
// Top report of the n items with most users; false when there is nothing to show.
bool STTA_TopRowsWrite(const STTA_Results& results, ReportTable& table, long n);
void STTA_AllRowsWrite(const STTA_Results& results, ReportTable& table);
// One row per index >= 0 (a negative index leaves a blank row).
void STTA_IndexRowsWrite(const std::vector<long>& indexes, const STTA_Results& results, ReportTable& table);
// Adds 1 to row and writes item i there.
void STTA_ItemRowWrite(const STTA_Results& results, ReportTable& table, long item, long& row);
// Appends a row summing the items whose text is a member; an empty label joins the
// members.
void STTA_GroupRowWrite(const std::vector<std::string>& members, const std::string& indexList,
                        const STTA_Results& results, ReportTable& table, const std::string& label,
                        bool withDistributions);
// A blank row and the total row; column 5 of every data row becomes its share of it.
void STTA_TotalRowWrite(const STTA_Results& results, ReportTable& table, const std::string& label);
void STTA_TotalCellsWrite(ReportTable& table, long row, const STTA_RowTotals& totals);
// Grouped report from the group lists of the kind in `section` of the site's
// parameters.
void STTA_GroupedReportWrite(STTA_Results& results, ReportTable& table, const std::string& section);
// Target band colours and stripes; tall rows where cells run over several lines.
void STTA_TargetBandsColour(const STTA_Results& results, ReportTable& table);
