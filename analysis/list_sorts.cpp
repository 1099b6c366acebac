#include "analysis/list_sorts.h"

#include <algorithm>
#include <unordered_map>

#include "core/text.h"
#include "core/vb_format.h"

namespace {

std::vector<std::string> toVector(const core::StrArray& items) {
    std::vector<std::string> out;
    if (!items.hasBounds()) return out;
    out.reserve(static_cast<std::size_t>(items.ubound() - items.lbound() + 1));
    for (long i = items.lbound(); i <= items.ubound(); ++i) out.push_back(items[i]);
    return out;
}

std::string formatNumbersInList(const std::string& list, const std::string& numberFormat) {
    std::string out;
    std::size_t from = 0;
    while (true) {
        const std::size_t bar = list.find('|', from);
        out += TXT_FormatStr(list.substr(from, bar == std::string::npos ? std::string::npos : bar - from), numberFormat);
        if (bar == std::string::npos) break;
        out += '|';
        from = bar + 1;
    }
    return out;
}

// Outputs sized to n (0 to n - 1), filled from the positions of `order` in turn.
long resultCount(long count, std::size_t available) {
    return count >= 0 ? count : static_cast<long>(available);
}

}  // namespace

void LISTX_SortStrArr(core::StrArray& items, const std::string& format) {
    if (!items.hasBounds()) return;
    std::vector<std::string> texts = toVector(items);
    if (!format.empty())
        for (std::string& t : texts) t = TXT_FormatStr(t, format);
    core::sortIgnoringCase(texts);
    for (std::size_t k = 0; k < texts.size(); ++k) items.set(items.lbound() + static_cast<long>(k), std::move(texts[k]));
}

double LISTX_LngArrSum(const core::LngArray& values, double dflt, long first, long last, bool average,
                       double& outAverage) {
    if (!values.hasBounds()) return dflt;
    if (first == -1) first = values.lbound();
    if (last == -1) last = values.ubound();
    first = std::max(first, values.lbound());
    last = std::min(last, values.ubound());
    double sum = 0;
    long summed = 0;
    for (long i = first; i <= last; ++i, ++summed) sum += static_cast<double>(values[i]);
    if (average) outAverage = sum / std::max(1L, summed);
    return sum;
}

void LISTX_LngCountDistinct(const core::LngArray& values, core::LngArray& outValues, core::LngArray& outCounts) {
    outValues.redim(0, 0);
    outCounts.redim(0, 0);
    std::unordered_map<long, long> at;
    std::vector<long> distinct{0}, counts{0};
    for (long i = values.lbound(); values.hasBounds() && i <= values.ubound(); ++i) {
        auto [it, fresh] = at.try_emplace(values[i], static_cast<long>(distinct.size()));
        if (fresh) {
            distinct.push_back(values[i]);
            counts.push_back(0);
        }
        ++counts[static_cast<std::size_t>(it->second)];
    }
    outValues.redim(0, static_cast<long>(distinct.size()) - 1);
    outCounts.redim(0, static_cast<long>(counts.size()) - 1);
    for (std::size_t k = 0; k < distinct.size(); ++k) {
        outValues.set(static_cast<long>(k), distinct[k]);
        outCounts.set(static_cast<long>(k), counts[k]);
    }
}

void LISTX_SortLngArr(const core::LngArray& values, core::LngArray& sortedValues, core::LngArray& order,
                      bool descending, long count, const std::string& keyFormat, bool cutOff, bool& done) {
    (void)keyFormat;
    (void)cutOff;
    done = true;
    std::vector<long> idx;
    for (long i = values.lbound(); values.hasBounds() && i <= values.ubound(); ++i) idx.push_back(i);
    auto before = [&](long a, long b) {
        if (values[a] != values[b]) return descending ? values[a] > values[b] : values[a] < values[b];
        return a < b;
    };
    const long n = resultCount(count, idx.size());
    const auto take = std::min<std::size_t>(static_cast<std::size_t>(std::max(0L, n)), idx.size());
    std::partial_sort(idx.begin(), idx.begin() + static_cast<std::ptrdiff_t>(take), idx.end(), before);
    sortedValues.erase();
    order.erase();
    if (n <= 0) return;
    sortedValues.redim(0, n - 1);
    order.redim(0, n - 1);
    for (std::size_t k = 0; k < take; ++k) {
        order.set(static_cast<long>(k), idx[k]);
        sortedValues.set(static_cast<long>(k), values[idx[k]]);
    }
}

void LISTX_SortStrArrList(const core::StrArray& items, core::StrArray& sortedKeys, core::LngArray& order,
                          bool descending, long count, const std::string& format, const std::string& numberFormat) {
    std::vector<std::string> keys = toVector(items);
    for (std::string& k : keys) {
        if (!numberFormat.empty()) k = formatNumbersInList(k, numberFormat);
        if (!format.empty()) k = TXT_FormatStr(k, format);
    }
    const std::vector<std::size_t> sorted = core::orderIgnoringCase(keys, descending);
    sortedKeys.erase();
    order.erase();
    const long n = resultCount(count, keys.size());
    if (n <= 0) return;
    sortedKeys.redim(0, n - 1);
    order.redim(0, n - 1);
    for (long k = 0; k < n && static_cast<std::size_t>(k) < sorted.size(); ++k) {
        const std::size_t i = sorted[static_cast<std::size_t>(k)];
        sortedKeys.set(k, keys[i]);
        order.set(k, items.lbound() + static_cast<long>(i));
    }
}

void LISTX_SortStrArrPaired(core::StrArray& items, core::LngArray& companion, bool descending, long count,
                            const std::string& format, const std::string& numberFormat) {
    core::StrArray keys;
    core::LngArray order;
    LISTX_SortStrArrList(items, keys, order, descending, count, format, numberFormat);
    core::LngArray carried;
    if (order.hasBounds()) {
        carried.redim(order.lbound(), order.ubound());
        for (long k = order.lbound(); k <= order.ubound(); ++k)
            carried.set(k, companion.inBounds(order[k]) ? companion[order[k]] : 0);
    }
    items = keys;
    companion = carried;
}
