#pragma once
// The report of targets reached (kind 10) counts only the visits that reached one
// target, and counts for them the values of another report kind; both are asked for
// before the analysis.
#include "analysis/results.h"

// Asks for the target number (-1 for none) and the kind of value to count, and keeps
// them as items 1 and 2 of the record's pSvCustomRepParms. A kind outside 1 to 10
// becomes 1; an answer that is no number, or Cancel, counts as 0.
void STTA_TargetFilterAsk(STTA_Results& results);
