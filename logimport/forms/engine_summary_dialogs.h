#pragma once
// The summary per search engine of an addition, with a table per day for a chosen
// engine, and the log files that had problems in the last read with their problems.
#include <string>
#include <vector>

#include "core/typed_array.h"

// Keys "yyyymmdd|engine" grouped by engine, days ascending, with their visitor counts.
void STTA_SESummaryShow(const core::StrArray& keys, const core::LngArray& counts);
void STTA_SEDetailShow(const core::StrArray& keys, const core::LngArray& counts, const std::string& engine);
// Problem files from index 1 and, at the same index, a "|" list of their problems.
void STTA_ProblemFilesShow(const core::StrArray& files, const core::StrArray& texts);

namespace logimport {
// Rows from 1, so that the row chosen in a grid is its index.
core::StrArray rowsFromOne(const std::vector<std::string>& rows);
}  // namespace logimport
