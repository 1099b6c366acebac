#pragma once
// The distribution columns of a report row: which engines, terms, start pages or
// further pages went with the row's value, each with its count and share, most
// frequent first, cut to a length.
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/results.h"

// Every pair of the table whose second number is b: the a's and their amounts, after
// one leading element 0 in each.
void STTA_PairColumnGet(const analysis::PairTable& table, long b, std::vector<long>& outA,
                        std::vector<std::int64_t>& outAmounts);
// counts[a] += amount for every pair (a, b); the array grows as needed. Calls for the
// members of a group sum the group's distribution.
void STTA_PairColumnAdd(const analysis::PairTable& table, long b, std::vector<std::int64_t>& counts);
// Lines "item count [pct%]" by count descending, each ending CR LF, added while the
// text is within maxLength; a text that ran over ends with "...".
std::string STTA_DistTextPairs(const STTA_ValueList& list, long b, std::int64_t total, long maxLength);
std::string STTA_DistText(const std::vector<std::string>& items, const std::vector<std::int64_t>& counts,
                          std::int64_t total, long maxLength);
