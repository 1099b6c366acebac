#pragma once
// The table a results window shows for one report, written from the current results
// record: a Top report (the N items with most users, a Rest row, a Total row), a
// Grouped report (one row per named group), an All report, or the rows of a list of
// items. The table is plain cells, widths and colours, so a report is written and
// checked without any window; the window shows it in its grid.
#include <array>
#include <string>
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
    // A Grouped report: its rows stand for named groups whose members can be listed.
    bool grouped = false;

    // Row bookkeeping: the items a row stands for ("3" or "3|17|42") and the pages of
    // its visits (for the total's average). Each row written gets an entry of its own,
    // numbered in the cells' row data, so two rows of the same label stay apart and
    // the entry follows its row through any sort.
    void PutST(long row, const std::string& value);
    std::string GetSTs4Row(long row) const;
    void setRowPages(long row, double pages);
    double rowPages(long row) const;
    // The items of the entry whose number a row carries (0: none).
    std::string STsOfEntry(long entry) const;
    std::string allSTs;  // "|" + value of every row, in writing order

    long rows() const { return cells.rows(); }
    // Every cell holds the same text as the other table's.
    bool sameCells(const ReportTable& other) const;
    std::string text(long row, int col) const;
    void setText(long row, int col, const std::string& text);

private:
    struct RowEntry {
        std::string items;
        double pages = 0;
    };
    const RowEntry* entryOf(long row) const;
    std::vector<RowEntry> entries_;  // entry n is row data n + 1
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
// Target bands: the captions of a band at column c; the cells of an item row from the
// target's counter; the cells of a group, rest or total row from its totals' Sums
// item sumsIndex.
void STTA_TargetHeaderWrite(ReportTable& table, long row, int c, const TargetSpec& target);
void STTA_TargetCellsWrite(const STTA_Results& results, ReportTable& table, long row, long item,
                           const std::vector<std::int64_t>& counter, int c);
void STTA_TotalTargetCellsWrite(ReportTable& table, long row, const STTA_RowTotals& totals, int sumsIndex, int c);

// "|" list of the index of each name found in the list's items, in the names' order.
std::string STTA_NamesToIndexList(const std::vector<std::string>& names, const STTA_ValueList& searched);
// The items of the indexes joined with the separator; beyond maxLength (when above 0)
// cut to it with the ending.
std::string STTA_IndexesToText(const std::vector<long>& indexes, const std::vector<std::string>& items,
                               const std::string& separator, long maxLength, const std::string& ending);

// [Main] CntTopVals: the rows of a Top report (25 when not set).
long STTA_TopCount();
// The Top report: set-up, the rows of the [Main] CntTopVals items with most users,
// Rest and Total rows, colours; false when there is nothing to show.
bool STTA_TopReportWrite(ReportTable& table, STTA_Results& results);
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
