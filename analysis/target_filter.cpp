#include "analysis/target_filter.h"

#include "core/numbers.h"
#include "core/user_interface.h"

namespace {

// The number typed into an input box; Cancel leaves no text.
long askNumber(const std::string& message) {
    std::string value;
    if (core::ui().inputBox(message, "&OK|&Cancel", "", "", value) != 1) value.clear();
    return core::wholeOf<long>(core::vbVal(value));
}

}  // namespace

void STTA_TargetFilterAsk(STTA_Results& results) {
    const long target = askNumber("select only items that satisfy target no [-1 for none]");
    long kind = askNumber(
        "select search term=1, start page=2, SearchTermPLUSStartPage=3  ExitPage=4  Tracks=5  VisitedPages=6  "
        "VisitedDirs=7  NonSErefr=8  Summary=9 none=10");
    if (kind < kRkSearchTerm || kind > kRkTargetsReached) kind = kRkSearchTerm;
    results.pSvCustomRepParms = std::to_string(target) + "|" + std::to_string(kind);
}
