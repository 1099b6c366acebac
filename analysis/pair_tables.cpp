#include "analysis/pair_tables.h"

#include <algorithm>

#include "core/numbers.h"

namespace analysis {

namespace {

// The bucket of a number: n / 50 + 1, rounded half to even.
long bucketOf(long n) { return static_cast<long>(core::roundHalfEven(n / 50.0 + 1)); }

}  // namespace

std::size_t SumMap::slotOf(std::uint64_t key) const {
    std::uint64_t h = key * 0x9E3779B97F4A7C15ull;
    h ^= h >> 32;
    return static_cast<std::size_t>(h) & (slots_.size() - 1);
}

void SumMap::grow(std::size_t capacity) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(capacity, Slot{});
    for (const Slot& s : old) {
        if (s.key == kEmpty) continue;
        std::size_t i = slotOf(s.key);
        while (slots_[i].key != kEmpty) i = (i + 1) & (slots_.size() - 1);
        slots_[i] = s;
    }
}

void SumMap::reserve(std::size_t entries) {
    std::size_t capacity = 16;
    while (capacity < entries * 2) capacity *= 2;
    if (capacity > slots_.size()) grow(capacity);
}

std::int64_t& SumMap::operator[](std::uint64_t key) {
    if ((size_ + 1) * 2 > slots_.size()) grow(std::max<std::size_t>(16, slots_.size() * 2));
    std::size_t i = slotOf(key);
    while (slots_[i].key != kEmpty && slots_[i].key != key) i = (i + 1) & (slots_.size() - 1);
    if (slots_[i].key == kEmpty) {
        slots_[i].key = key;
        ++size_;
    }
    return slots_[i].value;
}

const std::int64_t* SumMap::find(std::uint64_t key) const {
    if (slots_.empty()) return nullptr;
    std::size_t i = slotOf(key);
    while (slots_[i].key != kEmpty) {
        if (slots_[i].key == key) return &slots_[i].value;
        i = (i + 1) & (slots_.size() - 1);
    }
    return nullptr;
}

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
    const std::int64_t* sum = sums_.find(key(a, b));
    return sum ? *sum : 0;
}

void PairTable::buildColumns() const {
    columns_.clear();
    sums_.forEach([this](std::uint64_t k, std::int64_t amount) {
        columns_[static_cast<long>(k & 0xffffffffu)].emplace_back(static_cast<long>(k >> 32), amount);
    });
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

std::vector<std::int64_t> DayTable::perDay(const std::vector<long>& items, long days) const {
    std::vector<std::int64_t> totals(static_cast<std::size_t>(std::max(0L, days)), 0);
    for (long item : items) {
        if (item < 0 || static_cast<std::size_t>(item) >= items_.size()) continue;
        const ItemDays& d = items_[static_cast<std::size_t>(item)];
        for (std::size_t k = 0; k < d.days.size(); ++k)
            if (d.days[k] < days) totals[static_cast<std::size_t>(d.days[k])] += d.counts[k];
    }
    return totals;
}

}  // namespace analysis
