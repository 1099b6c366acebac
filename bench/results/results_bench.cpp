// The results record under an analysis-sized load: 1,000,000 values over 100,000
// distinct items, each with a day and a distribution pair, then what reports read:
// a top-100 sort, the distribution column of each top item and day-range sums.
// The same work done with std::map of strings is the plain peer.
#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "analysis/distribution_texts.h"
#include "analysis/list_sorts.h"
#include "analysis/results.h"
#include "bench/timing.h"
#include "bench/unattended.h"

namespace {

constexpr int kValues = 1'000'000, kItems = 100'000, kDays = 365, kEngines = 100, kTop = 100;

struct Input {
    std::vector<std::string> items, engines;
    std::vector<int> item, engine, day;
};

Input makeInput() {
    Input in;
    for (int i = 0; i < kItems; ++i) in.items.push_back("search term number " + std::to_string(i * 7919 % kItems));
    for (int e = 0; e < kEngines; ++e) in.engines.push_back("engine" + std::to_string(e));
    std::mt19937 rng(42);
    // Few items are frequent, most are rare, as search terms are.
    std::vector<double> weights(kItems);
    for (int i = 0; i < kItems; ++i) weights[static_cast<std::size_t>(i)] = 1.0 / (i + 1);
    std::discrete_distribution<int> rank(weights.begin(), weights.end());
    for (int v = 0; v < kValues; ++v) {
        in.item.push_back(rank(rng));
        in.engine.push_back(static_cast<int>(rng() % kEngines));
        in.day.push_back(v * kDays / kValues);  // visits come in time order
    }
    return in;
}

std::int64_t ours(const Input& in) {
    STTA_ValueList vals, dist;
    STTA_ValueListAlloc(vals, kItems, kDays, kItems, {});
    STTA_ValueListAlloc(dist, kEngines, kDays, kItems, {});
    ValueListIncrements inc;
    inc.dayTables[0] = true;
    for (int v = 0; v < kValues; ++v) {
        const long i = STTA_ValueListAdd(in.day[v], vals, in.items[static_cast<std::size_t>(in.item[v])], inc, -1);
        STTA_ValueListAddPair(-1, i, dist, in.engines[static_cast<std::size_t>(in.engine[v])], 1, 0, false);
    }
    core::LngArray counts, sorted, order;
    counts.redim(0, static_cast<long>(vals.Cnt.size()) - 1);
    for (std::size_t k = 0; k < vals.Cnt.size(); ++k) counts.set(static_cast<long>(k), static_cast<long>(vals.Cnt[k]));
    bool done = false;
    LISTX_SortLngArr(counts, sorted, order, true, kTop, "", true, done);
    std::int64_t check = 0;
    for (long k = 0; k < kTop; ++k) {
        const long item = order[k];
        check += static_cast<std::int64_t>(STTA_DistTextPairs(dist, item, vals.Cnt[static_cast<std::size_t>(item)], 200).size());
        for (int from = 0; from < kDays; from += 30) check += vals.DayCnt[0].sum(item, from, from + 29);
    }
    return check;
}

std::int64_t peer(const Input& in) {
    struct Entry {
        std::int64_t count = 0;
        std::map<int, std::int64_t> days;
        std::map<std::string, std::int64_t> engines;
    };
    std::map<std::string, Entry> vals;
    for (int v = 0; v < kValues; ++v) {
        Entry& e = vals[in.items[static_cast<std::size_t>(in.item[v])]];
        ++e.count;
        ++e.days[in.day[v]];
        ++e.engines[in.engines[static_cast<std::size_t>(in.engine[v])]];
    }
    std::vector<std::pair<std::int64_t, const std::string*>> byCount;
    for (const auto& [text, e] : vals) byCount.emplace_back(e.count, &text);
    std::partial_sort(byCount.begin(), byCount.begin() + kTop, byCount.end(),
                      [](const auto& a, const auto& b) { return a.first > b.first; });
    std::int64_t check = 0;
    for (int k = 0; k < kTop; ++k) {
        const Entry& e = vals[*byCount[static_cast<std::size_t>(k)].second];
        std::vector<std::pair<std::int64_t, std::string>> lines;
        for (const auto& [engine, n] : e.engines) lines.emplace_back(n, engine + " " + std::to_string(n));
        std::stable_sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        std::string text;
        for (const auto& l : lines) {
            if (text.size() > 200) break;
            text += l.second + "\r\n";
        }
        check += static_cast<std::int64_t>(text.size());
        for (int from = 0; from < kDays; from += 30)
            for (auto it = e.days.lower_bound(from); it != e.days.end() && it->first <= from + 29; ++it) check += it->second;
    }
    return check;
}

}  // namespace

int main() {
    const Input in = makeInput();
    const long base = bench::peakMiB();
    std::int64_t a = 0, b = 0;
    const double tOurs = bench::seconds([&] { a = ours(in); });
    const long oursPeak = bench::peakMiB();
    const double tPeer = bench::seconds([&] { b = peer(in); });
    std::printf("results record: %.3f s, peak %ld MiB (input %ld MiB)\n", tOurs, oursPeak, base);
    std::printf("std::map peer:  %.3f s\n", tPeer);
    std::printf("ratio ours/peer: %.2f\n", tOurs / tPeer);
    std::printf("checks: %lld %lld\n", static_cast<long long>(a), static_cast<long long>(b));
    return 0;
}
