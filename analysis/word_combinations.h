#pragma once
// The word-combination report of a search-term report: for every combination of n
// consecutive words of the listed terms, the users of all terms holding it.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A report row as the report shows it: the term and its users.
using WordComboRow = std::pair<std::string, std::int64_t>;

// The combinations of n words, as "combination - users" lines, most users first
// (equal totals in the order first met). Combinations are told apart ignoring ASCII
// case, the spelling first met is kept. Rows that stand for no single term (the
// non-engine, total and rest rows) and terms of fewer than n words add nothing.
std::vector<std::string> STTA_WordCombosList(const std::vector<WordComboRow>& rows, int n);
