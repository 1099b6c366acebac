#pragma once
// The summary of an analysis that its data form shows on request: visits selected
// and targets reached over the whole analysed period and over its last 30 days.
#include <string>

#include "analysis/results.h"

// The text of the summary box, lines separated by gCR.
std::string STTA_ResultsSummary(const STTA_Results& results);
