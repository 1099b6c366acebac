#pragma once
// Two-dimensional tables of variant-type cells, indexed (row, column) with VB-style
// bounds per dimension, and the ARR_ routines over them. A table without bounds is a
// state of its own, never an error: it reads as empty. Indexing a cell outside
// existing bounds is run-time error 9.
#include <string>
#include <vector>

#include "core/typed_array.h"
#include "core/variant.h"

namespace core {

// A cell: Empty (monostate), Boolean, Long, Double, date or String.
using Cell = Variant;

class Table2D {
public:
    bool hasBounds() const { return bounded_; }
    // 0 and -1 for a table without bounds.
    long rowLBound() const { return bounded_ ? r0_ : 0; }
    long rowUBound() const { return bounded_ ? r0_ + rows_ - 1 : -1; }
    long colLBound() const { return bounded_ ? c0_ : 0; }
    long colUBound() const { return bounded_ ? c0_ + cols_ - 1 : -1; }
    bool inBounds(long row, long col) const {
        return bounded_ && row >= r0_ && row <= rowUBound() && col >= c0_ && col <= colUBound();
    }

    // ReDim: every cell Empty. An upper bound below its lower bound is error 9.
    void redim(long rowLo, long rowHi, long colLo, long colHi);
    // ReDim Preserve of the last dimension: the columns end at colHi, cells kept.
    void redimPreserveCols(long colHi);
    // Rows grow to rowHi, starting from row 0 (or the lower bound when that is below 0);
    // cells keep their indexes. Appending rows one by one costs linear time overall.
    void growRows(long rowHi);
    void erase();

    const Cell& operator()(long row, long col) const { return cells_[offset(row, col)]; }
    void set(long row, long col, Cell value) { cells_[offset(row, col)] = std::move(value); }

private:
    std::size_t offset(long row, long col) const;

    bool bounded_ = false;
    long r0_ = 0, c0_ = 0, rows_ = 0, cols_ = 0;
    std::vector<Cell> cells_;  // row by row
};

}  // namespace core

// Spare rows or columns added when ARR_AddRowUnique grows a table (an index beyond the
// bound grows it to index - 1 + gArrGrowRows); below 1 counts as 30.
inline long gArrGrowRows = 30;

bool ARR_HasBounds(const core::Table2D& table);
// The cell as text (VB's CStr); "" outside the bounds, without bounds, or when empty.
std::string ARR_Item2D(const core::Table2D& table, long row, long col);
// First cell of the range (row by row) equal to the value: compared as variants with
// matchCase (numbers and dates by value, texts exactly, a number never equal to a
// text, Empty equal to 0 and ""), as lower-cased texts without. With itemNo other than -1 the
// cell's "|" list item of that number is compared. The range is clipped to the bounds (pass -1 and
// 2147483647 for the whole extent). Found indexes are -1 when none.
bool ARR_Find2D(const core::Table2D& table, const core::Cell& value, long& rowFound, long& colFound,
                long firstRow, long firstCol, long lastRow, long lastCol, bool matchCase,
                long itemNo);
// Stores the value in cell (row, column), growing the table as needed, unless one of
// the duplicate checks (whole table, the row, the column; 0 none, 1 exact, 2 ignoring
// case) finds it already there. stored tells which happened.
void ARR_AddRowUnique(core::Table2D& table, long row, long col, const core::Cell& value,
                      long dupTable, long dupRow, long dupCol, bool& stored);
// target = the clipped sub-range with the source's indexes, rows and columns exchanged
// with transpose; an empty range or a source without bounds leaves the target alone.
void ARR_Copy2DRange(const core::Table2D& source, core::Table2D& target, bool transpose,
                     long firstRow, long firstCol, long lastRow, long lastCol);
// target = the whole source (optionally transposed); widths over the target's columns
// = the longest cell text of each.
void ARR_Copy2DWidths(const core::Table2D& source, core::Table2D& target, bool transpose,
                      core::LngArray& widths);
// Rows reordered by one key per row: the texts of the key columns joined with nothing
// between them, compared ignoring case; rows with equal keys keep their order. When
// memory runs out the table is left as it was and overflowMode 1 raises error 18232,
// 2 tells the user.
void ARR_Sort2D(core::Table2D& table, const core::LngArray& keyCols, long overflowMode);
