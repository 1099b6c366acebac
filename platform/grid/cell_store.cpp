#include "platform/grid/cell_store.h"

#include <algorithm>

#include "core/numbers.h"

namespace grid {

namespace {

const std::string kEmpty;

// A cell read for the numeric and generic codes.
struct NumKey {
    bool isNumber;
    double value;
};

NumKey numKey(const std::string& text)
{
    NumKey k{false, 0.0};
    k.isNumber = core::parseNumber(text, k.value);
    return k;
}

// -1, 0, 1 for the ascending order of one key column.
int compareNumeric(double a, double b) { return a < b ? -1 : (b < a ? 1 : 0); }

int compareBytes(const std::string& a, const std::string& b)
{
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int compareGeneric(const NumKey& ka, const std::string& a, const NumKey& kb, const std::string& b)
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
    rows_.resize(static_cast<std::size_t>(std::max(0L, count)));
}

void CellStore::setCols(int count)
{
    const int old = cols_;
    cols_ = std::max(0, count);
    if (cols_ >= old) return;
    for (Row& r : rows_) {
        if (r.cells.size() > static_cast<std::size_t>(cols_)) r.cells.resize(cols_);
        if (r.colors.size() > static_cast<std::size_t>(cols_)) r.colors.resize(cols_);
    }
}

const std::string& CellStore::text(long row, int col) const
{
    const Row& r = rows_[row];
    return static_cast<std::size_t>(col) < r.cells.size() ? r.cells[col] : kEmpty;
}

void CellStore::setText(long row, int col, std::string text)
{
    Row& r = rows_[row];
    if (static_cast<std::size_t>(col) >= r.cells.size()) {
        if (text.empty()) return;
        // A row is usually written cell by cell: size it once.
        r.cells.resize(std::max(col + 1, cols_));
    }
    r.cells[col] = std::move(text);
}

std::uint32_t CellStore::backColor(long row, int col) const
{
    const Row& r = rows_[row];
    return static_cast<std::size_t>(col) < r.colors.size() ? r.colors[col] : 0;
}

void CellStore::setBackColor(long row, int col, std::uint32_t bgr)
{
    Row& r = rows_[row];
    if (static_cast<std::size_t>(col) >= r.colors.size()) {
        if (bgr == 0) return;
        r.colors.resize(col + 1, 0);
    }
    r.colors[col] = bgr;
}

void CellStore::insertRow(long at, const std::string& tabbedFields)
{
    Row r;
    std::size_t start = 0;
    for (int c = 0; c < cols_; ++c) {
        const std::size_t tab = tabbedFields.find('\t', start);
        r.cells.push_back(tabbedFields.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    rows_.insert(rows_.begin() + at, std::move(r));
}

void CellStore::removeRow(long at) { rows_.erase(rows_.begin() + at); }

void CellStore::clearCells()
{
    for (Row& r : rows_) {
        r.cells.clear();
        r.colors.clear();
    }
}

int CellStore::compareCells(long a, long b, int col, SortCode code) const
{
    const std::string& ta = text(a, col);
    const std::string& tb = text(b, col);
    switch (code) {
    case kSortNumericAscending: case kSortNumericDescending:
        return compareNumeric(numKey(ta).value, numKey(tb).value);
    case kSortGenericAscending: case kSortGenericDescending:
        return compareGeneric(numKey(ta), ta, numKey(tb), tb);
    default:
        return compareBytes(ta, tb);
    }
}

void CellStore::sortRows(long first, long last, int keyFirst, int keyLast, SortCode code)
{
    if (last <= first || keyLast < keyFirst) return;

    // The first key column is read once per row into a compact record, so the sort
    // compares records in memory order; later key columns only break ties.
    struct Item {
        std::uint64_t prefix;  // first 8 bytes, big-endian: orders as the bytes do
        double value;
        bool isNumber;
        long row;
        const std::string* text;
    };
    std::vector<Item> items;
    items.reserve(static_cast<std::size_t>(last - first + 1));
    for (long r = first; r <= last; ++r) {
        const std::string& t = text(r, keyFirst);
        Item it{0, 0.0, false, r, &t};
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
        return compareBytes(*a.text, *b.text);
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

    std::vector<Row> sorted;
    sorted.reserve(items.size());
    for (const Item& it : items) sorted.push_back(std::move(rows_[it.row]));
    std::move(sorted.begin(), sorted.end(), rows_.begin() + first);
}

}  // namespace grid
