#include "platform/grid/cell_store.h"

#include <algorithm>
#include <cstring>

#include "core/numbers.h"
#include "platform/sys/rt_error.h"

namespace grid {

namespace {

// A cell read for the numeric and generic codes.
struct NumKey {
    bool isNumber;
    double value;
};

NumKey numKey(std::string_view text)
{
    NumKey k{false, 0.0};
    k.isNumber = core::parseNumber(text, k.value);
    return k;
}

// -1, 0, 1 for the ascending order of one key column.
int compareNumeric(double a, double b) { return a < b ? -1 : (b < a ? 1 : 0); }

int compareBytes(std::string_view a, std::string_view b)
{
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int compareGeneric(const NumKey& ka, std::string_view a, const NumKey& kb, std::string_view b)
{
    if (ka.isNumber && kb.isNumber) return compareNumeric(ka.value, kb.value);
    if (ka.isNumber != kb.isNumber) return ka.isNumber ? -1 : 1;
    return compareBytes(a, b);
}

bool isDescending(SortCode code)
{
    return code == kSortGenericDescending || code == kSortNumericDescending ||
           code == kSortStringDescending;
}

}  // namespace

bool isSortCode(int code)
{
    switch (code) {
    case kSortGenericAscending: case kSortGenericDescending:
    case kSortNumericAscending: case kSortNumericDescending:
    case kSortStringAscending: case kSortStringDescending:
        return true;
    default:
        return false;
    }
}

void CellStore::setRows(long count)
{
    count = std::max(0L, count);
    for (std::size_t i = static_cast<std::size_t>(count) * cols_; i < cells_.size(); ++i) forget(cells_[i]);
    rows_ = count;
    cells_.resize(static_cast<std::size_t>(rows_) * cols_);
    if (!colors_.empty()) colors_.resize(cells_.size(), 0);
    if (!rowData_.empty()) rowData_.resize(static_cast<std::size_t>(rows_), 0);
    compactIfWasteful();
}

void CellStore::setCols(int count)
{
    count = std::max(0, count);
    if (count == cols_) return;
    std::vector<Cell> cells(static_cast<std::size_t>(rows_) * count);
    std::vector<std::uint32_t> colors(colors_.empty() ? 0 : cells.size(), 0);
    const int kept = std::min(cols_, count);
    for (long r = 0; r < rows_; ++r) {
        for (int c = 0; c < cols_; ++c) {
            if (c >= kept) {
                forget(cells_[index(r, c)]);
                continue;
            }
            cells[static_cast<std::size_t>(r) * count + c] = cells_[index(r, c)];
            if (!colors.empty()) colors[static_cast<std::size_t>(r) * count + c] = colors_[index(r, c)];
        }
    }
    cols_ = count;
    cells_ = std::move(cells);
    colors_ = std::move(colors);
    compactIfWasteful();
}

std::string_view CellStore::text(long row, int col) const
{
    const Cell& c = cells_[index(row, col)];
    return std::string_view(pool_.data() + c.offset, c.length);
}

CellStore::Cell CellStore::store(std::string_view text)
{
    if (text.empty()) return {};
    if (pool_.size() + text.size() > UINT32_MAX) {
        garbage_ = pool_.size();  // forces the compaction below
        compactIfWasteful();
        if (pool_.size() + text.size() > UINT32_MAX) throw sys::RtError(7, "Out of memory", "FlexGrid");
    }
    Cell c{static_cast<std::uint32_t>(pool_.size()), static_cast<std::uint32_t>(text.size())};
    pool_.append(text);
    return c;
}

void CellStore::setText(long row, int col, std::string_view text)
{
    // A text taken from this store would move when the pool grows.
    std::string copy;
    if (!text.empty() && text.data() >= pool_.data() && text.data() < pool_.data() + pool_.size()) {
        copy.assign(text);
        text = copy;
    }
    Cell& c = cells_[index(row, col)];
    if (text.size() <= c.length) {
        if (!text.empty()) std::memmove(pool_.data() + c.offset, text.data(), text.size());
        garbage_ += c.length - text.size();
        c.length = static_cast<std::uint32_t>(text.size());
        if (text.empty()) c.offset = 0;
    } else {
        forget(c);
        c = store(text);
    }
    compactIfWasteful();
}

std::uint32_t CellStore::backColor(long row, int col) const
{
    return colors_.empty() ? 0 : colors_[index(row, col)];
}

void CellStore::setBackColor(long row, int col, std::uint32_t bgr)
{
    if (colors_.empty()) {
        if (bgr == 0) return;
        colors_.assign(cells_.size(), 0);
    }
    colors_[index(row, col)] = bgr;
}

long CellStore::rowData(long row) const
{
    return static_cast<std::size_t>(row) < rowData_.size() ? rowData_[static_cast<std::size_t>(row)] : 0;
}

void CellStore::setRowData(long row, long value)
{
    if (rowData_.empty()) {
        if (value == 0) return;
        rowData_.assign(static_cast<std::size_t>(rows_), 0);
    }
    rowData_[static_cast<std::size_t>(row)] = value;
}

void CellStore::insertRow(long at, std::string_view tabbedFields)
{
    std::vector<Cell> row(static_cast<std::size_t>(cols_));
    std::size_t start = 0;
    for (int c = 0; c < cols_; ++c) {
        const std::size_t tab = tabbedFields.find('\t', start);
        row[c] = store(tabbedFields.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    cells_.insert(cells_.begin() + static_cast<std::ptrdiff_t>(index(at, 0)), row.begin(), row.end());
    if (!colors_.empty())
        colors_.insert(colors_.begin() + static_cast<std::ptrdiff_t>(index(at, 0)), cols_, 0u);
    if (!rowData_.empty()) rowData_.insert(rowData_.begin() + at, 0L);
    ++rows_;
}

void CellStore::removeRow(long at)
{
    const auto first = static_cast<std::ptrdiff_t>(index(at, 0));
    for (int c = 0; c < cols_; ++c) forget(cells_[index(at, c)]);
    cells_.erase(cells_.begin() + first, cells_.begin() + first + cols_);
    if (!colors_.empty()) colors_.erase(colors_.begin() + first, colors_.begin() + first + cols_);
    if (!rowData_.empty()) rowData_.erase(rowData_.begin() + at);
    --rows_;
    compactIfWasteful();
}

void CellStore::clearCells()
{
    pool_.clear();
    garbage_ = 0;
    std::fill(cells_.begin(), cells_.end(), Cell{});
    colors_.clear();
}

void CellStore::compactIfWasteful()
{
    if (garbage_ < (1u << 20) || garbage_ * 2 < pool_.size()) return;
    std::string pool;
    pool.reserve(pool_.size() - std::min(garbage_, pool_.size()));
    for (Cell& c : cells_) {
        if (c.length == 0) continue;
        const std::uint32_t offset = static_cast<std::uint32_t>(pool.size());
        pool.append(pool_, c.offset, c.length);
        c.offset = offset;
    }
    pool_ = std::move(pool);
    garbage_ = 0;
}

int CellStore::compareCells(long a, long b, int col, SortCode code) const
{
    const std::string_view ta = text(a, col);
    const std::string_view tb = text(b, col);
    switch (code) {
    case kSortNumericAscending: case kSortNumericDescending:
        return compareNumeric(numKey(ta).value, numKey(tb).value);
    case kSortGenericAscending: case kSortGenericDescending:
        return compareGeneric(numKey(ta), ta, numKey(tb), tb);
    default:
        return compareBytes(ta, tb);
    }
}

std::vector<long> CellStore::sortRows(long first, long last, int keyFirst, int keyLast, SortCode code)
{
    if (last <= first || keyLast < keyFirst) return {};

    // The first key column is read once per row into a compact record, so the sort
    // compares records in memory order; later key columns only break ties.
    struct Item {
        std::uint64_t prefix;  // first 8 bytes, big-endian: orders as the bytes do
        double value;
        bool isNumber;
        long row;
        std::string_view text;
    };
    std::vector<Item> items;
    items.reserve(static_cast<std::size_t>(last - first + 1));
    for (long r = first; r <= last; ++r) {
        const std::string_view t = text(r, keyFirst);
        Item it{0, 0.0, false, r, t};
        for (std::size_t i = 0; i < 8; ++i)
            it.prefix = (it.prefix << 8) | (i < t.size() ? static_cast<unsigned char>(t[i]) : 0u);
        if (code != kSortStringAscending && code != kSortStringDescending)
            it.isNumber = core::parseNumber(t, it.value);
        items.push_back(it);
    }

    auto firstKey = [&](const Item& a, const Item& b) {
        const bool numeric = code == kSortNumericAscending || code == kSortNumericDescending ||
                             ((code == kSortGenericAscending || code == kSortGenericDescending) &&
                              a.isNumber && b.isNumber);
        if (numeric) return compareNumeric(a.value, b.value);
        if (a.isNumber != b.isNumber) return a.isNumber ? -1 : 1;
        if (a.prefix != b.prefix) return a.prefix < b.prefix ? -1 : 1;
        return compareBytes(a.text, b.text);
    };
    auto compare = [&](const Item& a, const Item& b) {
        int c = firstKey(a, b);
        for (int col = keyFirst + 1; c == 0 && col <= keyLast; ++col) c = compareCells(a.row, b.row, col, code);
        return c;
    };
    const bool descending = isDescending(code);
    std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        return descending ? compare(b, a) < 0 : compare(a, b) < 0;
    });

    // Rows move as blocks of cell references; the texts stay where they are.
    std::vector<Cell> cells;
    cells.reserve(items.size() * cols_);
    for (const Item& it : items)
        cells.insert(cells.end(), cells_.begin() + index(it.row, 0), cells_.begin() + index(it.row, 0) + cols_);
    std::copy(cells.begin(), cells.end(), cells_.begin() + index(first, 0));
    if (!colors_.empty()) {
        std::vector<std::uint32_t> colors;
        colors.reserve(items.size() * cols_);
        for (const Item& it : items)
            colors.insert(colors.end(), colors_.begin() + index(it.row, 0), colors_.begin() + index(it.row, 0) + cols_);
        std::copy(colors.begin(), colors.end(), colors_.begin() + index(first, 0));
    }
    if (!rowData_.empty()) {
        std::vector<long> data;
        data.reserve(items.size());
        for (const Item& it : items) data.push_back(rowData_[static_cast<std::size_t>(it.row)]);
        std::copy(data.begin(), data.end(), rowData_.begin() + first);
    }
    std::vector<long> former;
    former.reserve(items.size());
    for (const Item& it : items) former.push_back(it.row);
    return former;
}

}  // namespace grid
