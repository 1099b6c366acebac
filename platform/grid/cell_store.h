#pragma once
// The cells of a grid: text and back colour per cell. No Qt; the widget (flex_grid.h)
// adds geometry, scrolling and painting. Indexes are checked by the widget; the store
// trusts them.
//
// Texts live in one byte pool and each cell is an 8-byte reference into it, row by
// row, so that a million-row report costs a few allocations and little memory, and a
// sort moves small fixed-size records. A cell that is overwritten with a longer text
// leaves its old bytes behind; the pool is compacted when half of it is such garbage.
#include <cstdint>
#include <string>
#include <string_view>
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
    long rows() const { return rows_; }
    int cols() const { return cols_; }
    // Growing adds empty rows or columns; shrinking drops their cells.
    void setRows(long count);
    void setCols(int count);

    // Valid until the next change of the store.
    std::string_view text(long row, int col) const;
    void setText(long row, int col, std::string_view text);
    // VB colour (BGR); 0 stands for the grid's default.
    std::uint32_t backColor(long row, int col) const;
    void setBackColor(long row, int col, std::uint32_t bgr);

    // A number kept with each row (the grid's RowData): it moves with its row when rows
    // are sorted, inserted or removed, so a caller finds what a row stands for after
    // any sort. 0 until set.
    long rowData(long row) const;
    void setRowData(long row, long value);

    // A new row at `at` (rows() appends) holding the tab-separated fields from column 0;
    // fields beyond the last column are dropped.
    void insertRow(long at, std::string_view tabbedFields);
    void removeRow(long at);
    // Every text and colour emptied; the size stays.
    void clearCells();

    // Stable sort of rows first..last (inclusive) on the key columns keyFirst..keyLast,
    // compared left to right. Gives the former row of each row from first on, for
    // whatever else moves with the rows (empty when nothing was sorted).
    std::vector<long> sortRows(long first, long last, int keyFirst, int keyLast, SortCode code);

private:
    struct Cell {
        std::uint32_t offset = 0;  // into pool_
        std::uint32_t length = 0;
    };

    std::size_t index(long row, int col) const { return static_cast<std::size_t>(row) * cols_ + col; }
    Cell store(std::string_view text);
    void forget(const Cell& cell) { garbage_ += cell.length; }
    void compactIfWasteful();
    // -1, 0, 1 for the ascending order of two cells of one column.
    int compareCells(long a, long b, int col, SortCode code) const;

    long rows_ = 0;
    int cols_ = 0;
    std::string pool_;
    std::size_t garbage_ = 0;
    std::vector<Cell> cells_;             // rows_ x cols_, row by row
    std::vector<std::uint32_t> colors_;   // likewise, or empty while no cell has one
    std::vector<long> rowData_;           // by row, or empty while no row has a number
};

}  // namespace grid
