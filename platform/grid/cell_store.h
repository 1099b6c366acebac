#pragma once
// The cells of a grid: text and back colour per cell, one record per row, so that a
// sort moves whole rows and a million rows fill and sort quickly. No Qt; the widget
// (flex_grid.h) adds geometry, scrolling and painting. Indexes are checked by the
// widget; the store trusts them.
#include <cstdint>
#include <string>
#include <vector>

namespace grid {

// Sort codes of the grid's Sort member.
enum SortCode : int {
    kSortNone = 0,
    kSortGenericAscending = 1,   // numbers by value before texts by byte order
    kSortGenericDescending = 2,
    kSortNumericAscending = 3,   // cells read as CDbl does ("12,000" is 12000), else 0
    kSortNumericDescending = 4,
    kSortStringAscending = 7,    // byte order, so case counts
    kSortStringDescending = 8,
};

// True for the codes above except kSortNone.
bool isSortCode(int code);

class CellStore {
public:
    long rows() const { return static_cast<long>(rows_.size()); }
    int cols() const { return cols_; }
    // Growing adds empty rows or columns; shrinking drops their cells.
    void setRows(long count);
    void setCols(int count);

    const std::string& text(long row, int col) const;
    void setText(long row, int col, std::string text);
    // VB colour (BGR); 0 stands for the grid's default.
    std::uint32_t backColor(long row, int col) const;
    void setBackColor(long row, int col, std::uint32_t bgr);

    // A new row at `at` (rows() appends) holding the tab-separated fields from column 0;
    // fields beyond the last column are dropped.
    void insertRow(long at, const std::string& tabbedFields);
    void removeRow(long at);
    // Every text and colour emptied; the size stays.
    void clearCells();

    // Stable sort of rows first..last (inclusive) on the key columns keyFirst..keyLast,
    // compared left to right.
    void sortRows(long first, long last, int keyFirst, int keyLast, SortCode code);

private:
    // -1, 0, 1 for the ascending order of two cells of one column.
    int compareCells(long a, long b, int col, SortCode code) const;

    struct Row {
        std::vector<std::string> cells;      // may be shorter than cols_: the rest is ""
        std::vector<std::uint32_t> colors;   // likewise, 0 = default
    };
    std::vector<Row> rows_;
    int cols_ = 0;
};

}  // namespace grid
