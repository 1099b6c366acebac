#include "analysis/word_combinations.h"

#include <unordered_map>

#include "analysis/list_sorts.h"
#include "core/text.h"
#include "logimport/visit_building.h"

namespace {

bool standsForATerm(const std::string& text) {
    return !text.empty() && text != kNotSearchEngine && text != ".. Total .." && text != ".. Rest ..";
}

std::vector<std::string> wordsOf(const std::string& text) {
    std::vector<std::string> words;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t to = text.find(' ', from);
        if (to == std::string::npos) to = text.size();
        if (to > from) words.push_back(text.substr(from, to - from));
        from = to + 1;
    }
    return words;
}

}  // namespace

std::vector<std::string> STTA_WordCombosList(const std::vector<WordComboRow>& rows, int n) {
    std::vector<std::string> combos;
    std::vector<long> totals;
    std::unordered_map<std::string, long> index;  // lower-case combination -> position
    for (const auto& [text, users] : rows) {
        if (!standsForATerm(text)) continue;
        const std::vector<std::string> words = wordsOf(text);
        for (std::size_t i = 0; i + static_cast<std::size_t>(n) <= words.size(); ++i) {
            std::string combo = words[i];
            for (std::size_t k = 1; k < static_cast<std::size_t>(n); ++k) combo += " " + words[i + k];
            auto [at, added] = index.try_emplace(core::lowerAscii(combo), static_cast<long>(combos.size()));
            if (added) {
                combos.push_back(combo);
                totals.push_back(0);
            }
            totals[static_cast<std::size_t>(at->second)] += static_cast<long>(users);
        }
    }
    core::LngArray values, sorted, order;
    for (long total : totals) values.append(total);
    bool done = false;
    LISTX_SortLngArr(values, sorted, order, true, -1, "", false, done);
    std::vector<std::string> lines;
    for (long k = 0; order.hasBounds() && k <= order.ubound(); ++k)
        lines.push_back(combos[static_cast<std::size_t>(order[k])] + " - " + std::to_string(sorted[k]));
    return lines;
}
