#include "core/table2d.h"

#include <algorithm>
#include <new>
#include <numeric>

#include "core/delimited_lists.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "core/vb_format.h"

namespace core {

void Table2D::redim(long rowLo, long rowHi, long colLo, long colHi) {
    if (rowHi < rowLo || colHi < colLo) sys::raise(sys::kErrSubscript, "ReDim");
    std::vector<Cell> cells(static_cast<std::size_t>(rowHi - rowLo + 1) *
                            static_cast<std::size_t>(colHi - colLo + 1));
    cells_ = std::move(cells);
    r0_ = rowLo;
    c0_ = colLo;
    rows_ = rowHi - rowLo + 1;
    cols_ = colHi - colLo + 1;
    bounded_ = true;
}

void Table2D::redimPreserveCols(long colHi) {
    if (!bounded_ || colHi < c0_) sys::raise(sys::kErrSubscript, "ReDim");
    long cols = colHi - c0_ + 1;
    std::vector<Cell> cells(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols));
    long kept = std::min(cols, cols_);
    for (long r = 0; r < rows_; ++r)
        for (long c = 0; c < kept; ++c)
            cells[static_cast<std::size_t>(r * cols + c)] =
                std::move(cells_[static_cast<std::size_t>(r * cols_ + c)]);
    cells_ = std::move(cells);
    cols_ = cols;
}

void Table2D::growRows(long rowHi) {
    if (!bounded_ || rowHi < rowUBound()) sys::raise(sys::kErrSubscript, "ReDim");
    const long lo = std::min(0L, r0_);
    const std::size_t width = static_cast<std::size_t>(cols_);
    // Spare rows in front first, then the amortised growth of the vector at the end.
    cells_.insert(cells_.begin(), static_cast<std::size_t>(r0_ - lo) * width, Cell());
    cells_.resize(static_cast<std::size_t>(rowHi - lo + 1) * width);
    r0_ = lo;
    rows_ = rowHi - lo + 1;
}

void Table2D::erase() { *this = Table2D(); }

std::size_t Table2D::offset(long row, long col) const {
    if (!inBounds(row, col)) sys::raise(sys::kErrSubscript);
    return static_cast<std::size_t>((row - r0_) * cols_ + (col - c0_));
}

}  // namespace core

using core::Cell;
using core::Table2D;

namespace {

bool isNumeric(const Cell& c) {
    return std::holds_alternative<long>(c) || std::holds_alternative<double>(c) ||
           std::holds_alternative<bool>(c) || std::holds_alternative<core::DateTime>(c);
}

double numericValue(const Cell& c) {
    if (auto* l = std::get_if<long>(&c)) return static_cast<double>(*l);
    if (auto* d = std::get_if<double>(&c)) return *d;
    if (auto* b = std::get_if<bool>(&c)) return *b ? -1.0 : 0.0;
    if (auto* d = std::get_if<core::DateTime>(&c)) return d->serial;
    return 0.0;  // Empty
}

// VB's "=" between two variants: numbers by value, texts exactly, Empty as 0 or "",
// a number never equal to a text.
bool variantEqual(const Cell& a, const Cell& b) {
    const bool aEmpty = std::holds_alternative<std::monostate>(a);
    const bool bEmpty = std::holds_alternative<std::monostate>(b);
    if ((isNumeric(a) || aEmpty) && (isNumeric(b) || bEmpty))
        return numericValue(a) == numericValue(b);
    if (isNumeric(a) || isNumeric(b)) return false;
    return core::vbCStr(a) == core::vbCStr(b);
}

bool cellMatches(const Cell& cell, const Cell& value, bool matchCase, long itemNo) {
    const Cell* compared = &cell;
    Cell item;
    if (itemNo != -1) {
        item = CHUNKS_GetEx(itemNo, "|", kChunksNoExclusion, core::vbCStr(cell), "");
        compared = &item;
    }
    if (matchCase) return variantEqual(*compared, value);
    return TXT_IsEqual(core::vbCStr(*compared), core::vbCStr(value), false);
}

struct Span {
    long lo, hi;
    bool empty() const { return lo > hi; }
};

Span clip(long first, long last, long lo, long hi) {
    return {std::max(first, lo), std::min(last, hi)};
}

// The table's rows in the given order of row offsets.
Table2D permutedRows(const Table2D& t, const std::vector<long>& order) {
    Table2D out;
    out.redim(t.rowLBound(), t.rowUBound(), t.colLBound(), t.colUBound());
    for (std::size_t k = 0; k < order.size(); ++k) {
        long to = t.rowLBound() + static_cast<long>(k), from = t.rowLBound() + order[k];
        for (long c = t.colLBound(); c <= t.colUBound(); ++c) out.set(to, c, t(from, c));
    }
    return out;
}

}  // namespace

bool ARR_HasBounds(const Table2D& table) { return table.hasBounds(); }

std::string ARR_Item2D(const Table2D& table, long row, long col) {
    return table.inBounds(row, col) ? core::vbCStr(table(row, col)) : std::string();
}

bool ARR_Find2D(const Table2D& table, const Cell& value, long& rowFound, long& colFound,
                long firstRow, long firstCol, long lastRow, long lastCol, bool matchCase,
                long itemNo) {
    rowFound = -1;
    colFound = -1;
    if (!table.hasBounds()) return false;
    Span rows = clip(firstRow, lastRow, table.rowLBound(), table.rowUBound());
    Span cols = clip(firstCol, lastCol, table.colLBound(), table.colUBound());
    for (long r = rows.lo; r <= rows.hi; ++r)
        for (long c = cols.lo; c <= cols.hi; ++c)
            if (cellMatches(table(r, c), value, matchCase, itemNo)) {
                rowFound = r;
                colFound = c;
                return true;
            }
    return false;
}

void ARR_AddRowUnique(Table2D& table, long row, long col, const Cell& value, long dupTable,
                      long dupRow, long dupCol, bool& stored) {
    constexpr long kAll = 2147483647;
    if (gArrGrowRows < 1) gArrGrowRows = 30;
    if (!table.hasBounds()) table.redim(0, 0, 0, 0);
    stored = false;
    struct Check {
        long mode, firstRow, firstCol, lastRow, lastCol;
    };
    const Check checks[] = {
        {dupTable, -1, -1, kAll, kAll}, {dupRow, row, -1, row, kAll}, {dupCol, -1, col, kAll, col}};
    for (const Check& c : checks) {
        long r = -1, k = -1;
        if (c.mode != 0 && ARR_Find2D(table, value, r, k, c.firstRow, c.firstCol, c.lastRow,
                                      c.lastCol, c.mode == 1, -1))
            return;
    }
    stored = true;
    if (row > table.rowUBound()) table.growRows(row - 1 + gArrGrowRows);
    if (col > table.colUBound()) table.redimPreserveCols(col - 1 + gArrGrowRows);
    table.set(row, col, value);
}

void ARR_Copy2DRange(const Table2D& source, Table2D& target, bool transpose, long firstRow,
                     long firstCol, long lastRow, long lastCol) {
    if (!source.hasBounds()) return;
    Span rows = clip(firstRow, lastRow, source.rowLBound(), source.rowUBound());
    Span cols = clip(firstCol, lastCol, source.colLBound(), source.colUBound());
    if (rows.empty() || cols.empty()) return;
    Table2D copy;
    if (transpose)
        copy.redim(cols.lo, cols.hi, rows.lo, rows.hi);
    else
        copy.redim(rows.lo, rows.hi, cols.lo, cols.hi);
    for (long r = rows.lo; r <= rows.hi; ++r)
        for (long c = cols.lo; c <= cols.hi; ++c)
            transpose ? copy.set(c, r, source(r, c)) : copy.set(r, c, source(r, c));
    target = std::move(copy);
}

void ARR_Copy2DWidths(const Table2D& source, Table2D& target, bool transpose,
                      core::LngArray& widths) {
    if (!source.hasBounds()) return;
    Table2D copy;
    ARR_Copy2DRange(source, copy, transpose, source.rowLBound(), source.colLBound(),
                    source.rowUBound(), source.colUBound());
    core::LngArray w;
    w.redim(copy.colLBound(), copy.colUBound());
    for (long c = copy.colLBound(); c <= copy.colUBound(); ++c) {
        long widest = 0;
        for (long r = copy.rowLBound(); r <= copy.rowUBound(); ++r)
            widest = std::max(widest, static_cast<long>(core::vbCStr(copy(r, c)).size()));
        w.set(c, widest);
    }
    target = std::move(copy);
    widths = std::move(w);
}

void ARR_Sort2D(Table2D& table, const core::LngArray& keyCols, long overflowMode) {
    if (!table.hasBounds()) return;
    try {
        const long rows = table.rowUBound() - table.rowLBound() + 1;
        // keys[row offset] = the texts of its key columns, in the order given, joined with
        // nothing between them and lower-cased; byte order of those puts "_" before letters.
        std::vector<std::string> keys(static_cast<std::size_t>(rows));
        for (long k = 0; k < rows; ++k) {
            for (long col : keyCols.items()) keys[k] += ARR_Item2D(table, table.rowLBound() + k, col);
            keys[k] = core::lowerAscii(keys[k]);
        }
        std::vector<long> order(static_cast<std::size_t>(rows));
        std::iota(order.begin(), order.end(), 0L);
        std::stable_sort(order.begin(), order.end(), [&](long a, long b) { return keys[a] < keys[b]; });
        table = permutedRows(table, order);
    } catch (const std::bad_alloc&) {
        if (overflowMode == 1) sys::raise(18232, "ARR_Sort2D");
        if (overflowMode == 2) core::ui().info("Overflow when try to sort array", "");
    }
}
