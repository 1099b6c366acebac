#include "analysis/pair_tables.h"

#include <algorithm>

#include "core/numbers.h"

namespace analysis {

namespace {

// The bucket of a number: n / 50 + 1, rounded half to even.
long bucketOf(long n) { return static_cast<long>(core::roundHalfEven(n / 50.0 + 1)); }

}  // namespace

void PairTable::allocate(long maxA, long maxB) {
    maxA_ = std::max(0L, maxA);
    maxB_ = std::max(0L, maxB);
    sums_.reserve(static_cast<std::size_t>(std::min(maxA_ + 1, 1L << 20)));
}

void PairTable::add(long a, long b, std::int64_t amount) {
    sums_[key(a, b)] += amount;
    maxA_ = std::max(maxA_, a);
    maxB_ = std::max(maxB_, b);
    if (columnsReady_) {
        columns_.clear();
        columnsReady_ = false;
    }
}

std::int64_t PairTable::get(long a, long b) const {
    auto it = sums_.find(key(a, b));
    return it == sums_.end() ? 0 : it->second;
}

void PairTable::buildColumns() const {
    columns_.clear();
    for (const auto& [k, amount] : sums_)
        columns_[static_cast<long>(k & 0xffffffffu)].emplace_back(static_cast<long>(k >> 32), amount);
    for (auto& [b, entries] : columns_) std::sort(entries.begin(), entries.end());
    columnsReady_ = true;
}

const std::vector<std::pair<long, std::int64_t>>& PairTable::column(long b) const {
    static const std::vector<std::pair<long, std::int64_t>> none;
    if (!columnsReady_) buildColumns();
    auto it = columns_.find(b);
    return it == columns_.end() ? none : it->second;
}

long PairTable::span(int dimension) const {
    if (dimension == 1) return bucketOf(maxA_) * 50;
    if (dimension == 2) return bucketOf(maxB_) * 50;
    return 0;
}

void DayTable::add(long day, long item, std::int64_t amount) {
    if (item < 0 || day < 0) return;
    if (static_cast<std::size_t>(item) >= items_.size()) items_.resize(static_cast<std::size_t>(item) + 1);
    ItemDays& d = items_[static_cast<std::size_t>(item)];
    d.prefix.clear();
    // Visits come in time order, so the day is nearly always the last one or a new one.
    if (d.days.empty() || d.days.back() < day) {
        d.days.push_back(day);
        d.counts.push_back(amount);
        ++entries_;
        return;
    }
    auto pos = std::lower_bound(d.days.begin(), d.days.end(), day);
    const auto offset = pos - d.days.begin();
    if (pos != d.days.end() && *pos == day) {
        d.counts[static_cast<std::size_t>(offset)] += amount;
        return;
    }
    d.days.insert(pos, day);
    d.counts.insert(d.counts.begin() + offset, amount);
    ++entries_;
}

std::int64_t DayTable::sum(long item, long first, long last) const {
    if (item < 0 || static_cast<std::size_t>(item) >= items_.size() || first > last) return 0;
    const ItemDays& d = items_[static_cast<std::size_t>(item)];
    if (d.days.empty()) return 0;
    if (d.prefix.empty()) {
        d.prefix.resize(d.counts.size() + 1);
        for (std::size_t k = 0; k < d.counts.size(); ++k) d.prefix[k + 1] = d.prefix[k] + d.counts[k];
    }
    const auto from = std::lower_bound(d.days.begin(), d.days.end(), first) - d.days.begin();
    const auto to = std::upper_bound(d.days.begin(), d.days.end(), last) - d.days.begin();
    return d.prefix[static_cast<std::size_t>(to)] - d.prefix[static_cast<std::size_t>(from)];
}

std::int64_t DayTable::sum(const std::vector<long>& items, long first, long last) const {
    std::int64_t total = 0;
    for (long item : items) total += sum(item, first, last);
    return total;
}

}  // namespace analysis
