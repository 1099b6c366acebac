#include "platform/grid/cell_store.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace grid {

namespace {

const std::string kEmpty;

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Key of one cell for the numeric and generic codes.
struct NumKey {
    bool isNumber;
    double value;
};

NumKey numKey(const std::string& text)
{
    NumKey k{false, 0.0};
    k.isNumber = readNumber(text, k.value);
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

bool readNumber(const std::string& text, double& value)
{
    std::size_t i = 0, end = text.size();
    while (i < end && isBlank(text[i])) ++i;
    while (end > i && isBlank(text[end - 1])) --end;
    std::string plain;
    if (i < end && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    bool digits = false;
    while (i < end && (isDigit(text[i]) || (text[i] == ',' && digits))) {
        if (text[i] != ',') plain += text[i];
        digits = true;
        ++i;
    }
    if (i < end && text[i] == '.') {
        plain += text[i++];
        while (i < end && isDigit(text[i])) {
            plain += text[i++];
            digits = true;
        }
    }
    if (!digits) return false;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        plain += text[i++];
        if (i < end && (text[i] == '+' || text[i] == '-')) plain += text[i++];
        if (i >= end || !isDigit(text[i])) return false;
        while (i < end && isDigit(text[i])) plain += text[i++];
    }
    if (i != end) return false;
    value = std::strtod(plain.c_str(), nullptr);
    return true;
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
        r.cells.resize(col + 1);
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

void CellStore::sortRows(long first, long last, int keyFirst, int keyLast, SortCode code)
{
    if (last <= first || keyLast < keyFirst) return;
    const std::size_t n = static_cast<std::size_t>(last - first + 1);
    const std::size_t keys = static_cast<std::size_t>(keyLast - keyFirst + 1);
    const bool stringOnly = code == kSortStringAscending || code == kSortStringDescending;

    // Numbers are read once per cell, not once per comparison.
    std::vector<NumKey> num;
    if (!stringOnly) {
        num.reserve(n * keys);
        for (std::size_t i = 0; i < n; ++i)
            for (int c = keyFirst; c <= keyLast; ++c) num.push_back(numKey(text(first + i, c)));
    }

    auto compare = [&](std::size_t a, std::size_t b) {
        for (std::size_t k = 0; k < keys; ++k) {
            const int col = keyFirst + static_cast<int>(k);
            int c = 0;
            switch (code) {
            case kSortNumericAscending: case kSortNumericDescending:
                c = compareNumeric(num[a * keys + k].value, num[b * keys + k].value);
                break;
            case kSortGenericAscending: case kSortGenericDescending:
                c = compareGeneric(num[a * keys + k], text(first + a, col),
                                   num[b * keys + k], text(first + b, col));
                break;
            default:
                c = compareBytes(text(first + a, col), text(first + b, col));
            }
            if (c != 0) return c;
        }
        return 0;
    };

    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    const bool descending = isDescending(code);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return descending ? compare(b, a) < 0 : compare(a, b) < 0;
    });

    std::vector<Row> sorted;
    sorted.reserve(n);
    for (std::size_t i : order) sorted.push_back(std::move(rows_[first + i]));
    std::move(sorted.begin(), sorted.end(), rows_.begin() + first);
}

}  // namespace grid
