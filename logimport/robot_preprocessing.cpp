#include "logimport/robot_preprocessing.h"

#include <vector>

#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "logimport/filter_store.h"

namespace {

constexpr long kUserAgentColType = 2;

}  // namespace

void STTA_RobotsFind(const ReadRec& rec, core::StrArray& candidates, core::LngArray& counts) {
    FltrRules rules;
    std::vector<std::string> colTexts;
    bool any = true;
    FLTR_LoadFilterRules("Filters", kRobotFilterList, gIniFltrBots, rules, colTexts, any);
    candidates.redim(0, 0);
    counts.redim(0, 0);
    const core::StrArray& agents = rec.Test.UserAgents;
    if (!agents.hasBounds()) return;
    std::vector<bool> onAgent(rules.size(), false);
    bool anyOtherField = false;
    for (size_t j = 1; j < rules.size(); ++j) {
        onAgent[j] = j < colTexts.size() && core::wholeOf<long>(TXT_Val(colTexts[j])) == kUserAgentColType;
        if (!onAgent[j]) anyOtherField = true;
    }
    // The note matters only when user agents were tested against the rules.
    const bool otherField = anyOtherField && agents.ubound() >= 1;
    std::vector<std::string> values(rules.size());
    for (long i = 1; i <= agents.ubound(); ++i) {
        for (size_t j = 1; j < rules.size(); ++j) values[j] = onAgent[j] ? agents[i] : kRobotNoDataMarker;
        long index = 0;
        if (FLTR_RuleUBound(rules) >= 1 && FLTR_EvalFieldRules(values, rules, true, index)) continue;
        candidates.append(agents[i]);
        counts.append(rec.Test.UserAgentCounts.inBounds(i) ? rec.Test.UserAgentCounts[i] : 0);
    }
    if (otherField)
        core::ui().info("You have added exclude robot filter(s) which test something other than User Agent (browser)." +
                            gCRCR +
                            "This function will not apply those filters (it may list user agents for robots.txt "
                            "records that would be rejected). The filter(s) WILL be applied when you add records to "
                            "the site database.",
                        "");
}

long STTA_RobotFiltersWrite(core::StrArray& userAgents, const std::string& iniFile, const std::string& listName,
                            long colType, long ruleKind, bool matchCase) {
    long written = 0;
    if (!userAgents.hasBounds()) return 0;
    for (long i = userAgents.lbound(); i <= userAgents.ubound(); ++i) {
        const std::string agent(core::trimBlanks(userAgents[i]));
        userAgents.set(i, agent);
        if (agent.empty()) continue;
        std::string message;
        const std::string name = INI_UniqueDatedName("Filters", listName, iniFile, 0, message, false);
        if (name.empty()) continue;
        FLTR_WriteRule(name, iniFile, FltrRule{ruleKind, agent, matchCase});
        INI_Put(name, "ColType", colType, iniFile);
        if (++written == 1) INI_Put("Filters", "FltrBotsUASel", name, iniFile);
    }
    return written;
}
