#include "logimport/robot_filters.h"

#include "core/program_paths.h"
#include "logimport/filter_descriptions.h"
#include "logimport/filter_store.h"

namespace {

const std::string kSkipFiltersEntry = "skipFtrs";

// One rule per listed skip filter, from 1; a missing section never matches.
FltrRules skipRules() {
    const core::StrArray names = fltr::listNames(kSkipFiltersEntry, gIniPPFindBotsSkipUAs);
    FltrRules rules(1);
    for (long i = 1; i <= names.ubound(); ++i) FLTR_ReadRule(names[i], gIniPPFindBotsSkipUAs, rules.emplace_back(), 1);
    return rules;
}

}  // namespace

void STTA_SkipUAsApply(core::StrArray& userAgents, core::LngArray& counts) {
    const FltrRules rules = skipRules();
    // Downwards, so the items still to test keep their indices.
    for (long i = userAgents.ubound(); i >= 1; --i) {
        if (!FLTR_EvalValueRules(userAgents[i], rules, true)) continue;
        userAgents.removeAt(i);
        if (counts.inBounds(i)) counts.removeAt(i);
    }
}
