#include "logimport/engine_summary.h"

#include <algorithm>
#include <numeric>

#include "core/text.h"
#include "core/vb_format.h"

namespace logimport {

namespace {

struct DayKey {
    std::string day, engine;
};

DayKey splitKey(const std::string& key) {
    const size_t bar = key.find('|');
    if (bar == std::string::npos) return {key, ""};
    return {key.substr(0, bar), key.substr(bar + 1)};
}

long countAt(const core::LngArray& counts, long i) { return counts.inBounds(i) ? counts[i] : 0; }

bool blank(const std::string& key) { return core::trimBlanks(key).empty(); }

std::string visitors(double n) { return core::vbFormat(n, "#,###,##0"); }

}  // namespace

void seDayKeysSort(core::StrArray& keys, core::LngArray& counts) {
    if (!keys.hasBounds() || keys.ubound() < 1) return;
    std::vector<std::pair<std::string, long>> items;
    for (long i = 1; i <= keys.ubound(); ++i) items.emplace_back(keys[i], countAt(counts, i));
    std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) {
        const DayKey ka = splitKey(a.first), kb = splitKey(b.first);
        return std::tie(ka.engine, ka.day) < std::tie(kb.engine, kb.day);
    });
    if (!counts.hasBounds()) counts.redim(0, 0);
    counts.redimPreserve(keys.ubound());
    for (long i = 1; i <= keys.ubound(); ++i) {
        keys.set(i, items[static_cast<size_t>(i - 1)].first);
        counts.set(i, items[static_cast<size_t>(i - 1)].second);
    }
}

std::vector<std::string> seEngines(const core::StrArray& keys) {
    std::vector<std::string> engines;
    if (!keys.hasBounds()) return engines;
    for (long i = keys.lbound(); i <= keys.ubound(); ++i) {
        if (blank(keys[i])) continue;
        const std::string engine = splitKey(keys[i]).engine;
        if (engines.empty() || engines.back() != engine) engines.push_back(engine);
    }
    return engines;
}

std::vector<std::string> seSummaryRows(const core::StrArray& keys, const core::LngArray& counts) {
    std::vector<std::string> rows;
    if (!keys.hasBounds()) return rows;
    double total = 0;
    for (long i = keys.lbound(); i <= keys.ubound(); ++i)
        if (!blank(keys[i])) total += countAt(counts, i);
    long i = keys.lbound();
    while (i <= keys.ubound()) {
        if (blank(keys[i])) {
            ++i;
            continue;
        }
        const std::string engine = splitKey(keys[i]).engine;
        const std::string first = splitKey(keys[i]).day;
        std::string last = first;
        long days = 0;
        double sum = 0;
        for (; i <= keys.ubound() && !blank(keys[i]) && splitKey(keys[i]).engine == engine; ++i) {
            ++days;
            sum += countAt(counts, i);
            last = splitKey(keys[i]).day;
        }
        const double share = total > 0 ? sum / total : 0;
        rows.push_back(engine + "\t" + std::to_string(days) + " days. [" + core::vbFormat(first, "@@@@-@@-@@") +
                       " to " + core::vbFormat(last, "@@@@-@@-@@ ]") + "\t" + visitors(sum) + "\t" +
                       core::vbFormat(sum / days, "0.0") + "\t" + core::vbFormat(share, "0.0 %"));
    }
    return rows;
}

std::vector<std::string> seDetailRows(const core::StrArray& keys, const core::LngArray& counts,
                                      const std::string& engine, double& average) {
    std::vector<std::pair<std::string, long>> days;
    if (keys.hasBounds())
        for (long i = keys.lbound(); i <= keys.ubound(); ++i)
            if (!blank(keys[i]) && splitKey(keys[i]).engine == engine)
                days.emplace_back(splitKey(keys[i]).day, countAt(counts, i));
    double sum = 0;
    for (const auto& d : days) sum += d.second;
    average = days.empty() ? 0 : sum / static_cast<double>(days.size());
    std::vector<std::string> rows;
    for (const auto& [day, n] : days) {
        const double deviation = average > 0 ? (n - average) / average : 0;
        rows.push_back(engine + "\t" + core::vbFormat(day, "@@@@-@@-@@") + "\t" + visitors(n) + "\t" +
                       (deviation > 0 ? "+" : "") + core::vbFormat(deviation, "0 %"));
    }
    return rows;
}

}  // namespace logimport
