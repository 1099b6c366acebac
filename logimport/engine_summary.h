#pragma once
// The summary per search engine of an addition: the visit building tallies search-engine
// visitors per day under keys "yyyymmdd|engine"; here they become one row per engine
// (days, date range, visitors, average per day, share of all) and, for one engine, one
// row per day with its deviation from the engine's average.
#include <string>
#include <vector>

#include "core/typed_array.h"

namespace logimport {

// Orders the keys (items from 1) by engine, then day, keeping each count with its key.
void seDayKeysSort(core::StrArray& keys, core::LngArray& counts);
// The engines in order of first appearance; blank keys are skipped.
std::vector<std::string> seEngines(const core::StrArray& keys);
// One tab-separated row per engine: engine, "n days. [first to last ]", visitors,
// average per day, share of all visitors. A zero total gives a share of 0.
std::vector<std::string> seSummaryRows(const core::StrArray& keys, const core::LngArray& counts);
// One row per day of the engine: engine, day, visitors, deviation from the average;
// `average` gets the engine's average visitors per day (0 when it has no days).
std::vector<std::string> seDetailRows(const core::StrArray& keys, const core::LngArray& counts,
                                      const std::string& engine, double& average);

}  // namespace logimport
