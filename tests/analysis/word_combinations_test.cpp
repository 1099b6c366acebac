#include "analysis/word_combinations.h"

#include <gtest/gtest.h>

#include "logimport/visit_building.h"

namespace {

TEST(WordCombinations, TotalTheUsersOfEveryTermHoldingACombination) {
    const std::vector<WordComboRow> rows = {
        {"red shoes", 4},  {"Red boots", 2},   {"blue shoes", 2}, {kNotSearchEngine, 9},
        {".. Total ..", 26}, {".. Rest ..", 3}, {"shoes", 5},      {"RED SHOES", 2},
    };
    struct Case {
        int n;
        std::vector<std::string> lines;
    } cases[] = {
        // "red" and "RED" are one word; ties stay in the order first met.
        {1, {"shoes - 13", "red - 8", "boots - 2", "blue - 2"}},
        {2, {"red shoes - 6", "Red boots - 2", "blue shoes - 2"}},
        {3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(STTA_WordCombosList(rows, c.n), c.lines);
    }
}

}  // namespace
