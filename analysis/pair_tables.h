#pragma once
// The sparse tables of an analysis: sums per pair of numbers (a, b), and counts per
// day and item. Both answer what the report writers, the plot and the deviation
// columns ask of them (one column of pairs, the sum of a day range) without scanning
// the whole table: a hash map holds the sums, and an index by the second number or
// per-item prefix sums are built on first use and dropped on the next add.
//
// Tables are filled by one analysis and then only read; the lazily built indexes make
// a read non-const in effect, so a table is not read from two threads at once.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace analysis {

// An open-addressing hash from a 64-bit key to a sum: one flat array, no node per
// entry, since an analysis adds a pair for nearly every visit.
class SumMap {
public:
    std::int64_t& operator[](std::uint64_t key);
    const std::int64_t* find(std::uint64_t key) const;
    std::size_t size() const { return size_; }
    void reserve(std::size_t entries);
    template <class F>
    void forEach(F&& f) const {
        for (const Slot& s : slots_)
            if (s.key != kEmpty) f(s.key, s.value);
    }

private:
    static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};
    struct Slot {
        std::uint64_t key = kEmpty;
        std::int64_t value = 0;
    };
    std::size_t slotOf(std::uint64_t key) const;
    void grow(std::size_t capacity);

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
};

// Sums of (a, b) -> amount, a and b 0 or more.
class PairTable {
public:
    // Reserve for the expected largest a and b; the covered span starts there.
    void allocate(long maxA, long maxB);
    void add(long a, long b, std::int64_t amount);
    std::int64_t get(long a, long b) const;
    // Every pair whose second number is b, as (a, amount), a ascending.
    const std::vector<std::pair<long, std::int64_t>>& column(long b) const;
    // The largest a (dimension 1) or b (dimension 2) the table covers, in whole
    // buckets of 50 as the table was sized: grows with what is added.
    long span(int dimension) const;
    bool empty() const { return sums_.size() == 0; }
    std::size_t size() const { return sums_.size(); }

private:
    static std::uint64_t key(long a, long b) {
        return (static_cast<std::uint64_t>(a) << 32) | static_cast<std::uint32_t>(b);
    }
    void buildColumns() const;

    SumMap sums_;
    long maxA_ = 0, maxB_ = 0;
    mutable std::unordered_map<long, std::vector<std::pair<long, std::int64_t>>> columns_;
    mutable bool columnsReady_ = false;
};

// Counts per (day, item), read as sums over a range of days.
class DayTable {
public:
    void add(long day, long item, std::int64_t amount);
    // Sum of the item's counts from day `first` to day `last`, both included.
    std::int64_t sum(long item, long first, long last) const;
    // Sum over several items.
    std::int64_t sum(const std::vector<long>& items, long first, long last) const;
    std::int64_t get(long day, long item) const { return sum(item, day, day); }
    // The counts of the items per day, days 0 to days - 1: one pass over their entries,
    // for sums of many items over many ranges.
    std::vector<std::int64_t> perDay(const std::vector<long>& items, long days) const;
    bool empty() const { return entries_ == 0; }

private:
    struct ItemDays {
        std::vector<long> days;            // ascending
        std::vector<std::int64_t> counts;  // parallel to days
        mutable std::vector<std::int64_t> prefix;  // prefix[k] = counts[0..k-1]; empty = stale
    };
    std::vector<ItemDays> items_;
    std::size_t entries_ = 0;
};

}  // namespace analysis
