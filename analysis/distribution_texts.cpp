#include "analysis/distribution_texts.h"

#include <algorithm>

#include "core/vb_format.h"

namespace {

struct Line {
    std::string text;
    std::int64_t count;
};

std::string lineOf(const std::string& item, std::int64_t count, std::int64_t total) {
    const double pct = static_cast<double>(count) / static_cast<double>(std::max<std::int64_t>(1, total)) * 100;
    return item + " " + std::to_string(count) + " [" + TXT_FormatDbl(pct, "0") + "%]";
}

std::string joinMostFrequentFirst(std::vector<Line> lines, long maxLength) {
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.count > b.count; });
    std::string text;
    for (const Line& line : lines) {
        if (static_cast<long>(text.size()) > maxLength) break;
        text += line.text + "\r\n";
    }
    if (static_cast<long>(text.size()) > maxLength) text += "...";
    return text;
}

}  // namespace

void STTA_PairColumnGet(const analysis::PairTable& table, long b, std::vector<long>& outA,
                        std::vector<std::int64_t>& outAmounts) {
    outA.assign(1, 0);
    outAmounts.assign(1, 0);
    for (const auto& [a, amount] : table.column(b)) {
        outA.push_back(a);
        outAmounts.push_back(amount);
    }
}

void STTA_PairColumnAdd(const analysis::PairTable& table, long b, std::vector<std::int64_t>& counts) {
    for (const auto& [a, amount] : table.column(b)) {
        if (static_cast<std::size_t>(a) >= counts.size()) counts.resize(static_cast<std::size_t>(a) + 1, 0);
        counts[static_cast<std::size_t>(a)] += amount;
    }
}

std::string STTA_DistTextPairs(const STTA_ValueList& list, long b, std::int64_t total, long maxLength) {
    std::vector<Line> lines;
    for (const auto& [a, amount] : list.PairCnt.column(b))
        if (amount > 0 && static_cast<std::size_t>(a) < list.Items.size())
            lines.push_back({lineOf(list.Items[static_cast<std::size_t>(a)], amount, total), amount});
    return joinMostFrequentFirst(std::move(lines), maxLength);
}

std::string STTA_DistText(const std::vector<std::string>& items, const std::vector<std::int64_t>& counts,
                          std::int64_t total, long maxLength) {
    std::vector<Line> lines;
    for (std::size_t a = 0; a < counts.size() && a < items.size(); ++a)
        if (counts[a] > 0) lines.push_back({lineOf(items[a], counts[a], total), counts[a]});
    return joinMostFrequentFirst(std::move(lines), maxLength);
}
