#include "logimport/filter_descriptions.h"

#include <vector>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/text.h"
#include "logimport/filter_store.h"

namespace {

// The filter's conditions as a "|" list, and whether it is a multiple filter.
bool readConds(const std::string& name, const std::string& iniFile, core::StrArray& ruleNames,
               bool& any) {
    std::string list;
    const bool multiple = FLTR_ReadConds(name, iniFile, list, any);
    CHUNKS_Split(list, ruleNames, 1);
    return multiple;
}

void startList(core::StrArray& a) { a.redim(0, 0); }

}  // namespace

namespace fltr {

bool isProtected(const std::string& name, const std::string& protectedNames) {
    return !protectedNames.empty() &&
           CHUNKS_Contains(name, protectedNames, "|", kChunksNoExclusion, false);
}

core::StrArray listNames(const std::string& listEntry, const std::string& iniFile) {
    core::StrArray names;
    CHUNKS_IniGet("Filters", listEntry, iniFile, "|", kChunksNoExclusion, names, 1, 3);
    return names;
}

}  // namespace fltr

std::string FLTR_FilterRuleText(const FltrRule& rule, long colType, const core::StrArray& captions) {
    return LLIST_StrArrItem(captions, colType, "") + " " + FLTR_RuleText(rule);
}

std::string FLTR_FilterRuleText(const std::string& name, const std::string& iniFile,
                                const core::StrArray& captions) {
    FltrRule rule;
    FLTR_ReadRule(name, iniFile, rule, 1);
    const double colType = INI_GetNumVar(name, "ColType", iniFile, kIniMissingEmpty);
    return FLTR_FilterRuleText(rule, static_cast<long>(colType), captions);
}

std::string FLTR_CondsArrText(const core::StrArray& ruleNames, const std::string& iniFile,
                              const core::StrArray& captions, bool any) {
    std::string text;
    for (long i = 1; i <= ruleNames.ubound(); ++i) {
        if (!text.empty()) text += any ? " / " : " & ";
        text += "<" + FLTR_FilterRuleText(ruleNames[i], iniFile, captions) + ">";
    }
    return text;
}

std::string FLTR_CondsText(const std::string& name, const std::string& iniFile,
                           const core::StrArray& captions) {
    core::StrArray ruleNames;
    bool any = false;
    readConds(name, iniFile, ruleNames, any);
    return FLTR_CondsArrText(ruleNames, iniFile, captions, any);
}

void FLTR_FilterDescsBuild(const core::StrArray& names, const std::string& iniFile,
                           const core::StrArray& captions, const std::string& protectedNames,
                           bool rulesOnly, core::StrArray& keptNames, core::StrArray& descs) {
    startList(keptNames);
    startList(descs);
    for (long i = 1; i <= names.ubound(); ++i) {
        const std::string& name = names[i];
        std::string desc;
        if (fltr::isProtected(name, protectedNames)) {
            if (rulesOnly) continue;
            desc = name;
        } else {
            core::StrArray ruleNames;
            bool any = false;
            if (readConds(name, iniFile, ruleNames, any)) {
                if (rulesOnly) continue;
                desc = FLTR_CondsArrText(ruleNames, iniFile, captions, any);
            } else {
                desc = FLTR_FilterRuleText(name, iniFile, captions);
            }
        }
        keptNames.append(name);
        descs.append(desc);
    }
}

void FLTR_FilterListDescs(const std::string& listEntry, const std::string& iniFile,
                          const core::StrArray& captions, const std::string& protectedNames,
                          bool rulesOnly, core::StrArray& names, core::StrArray& descs) {
    FLTR_FilterDescsBuild(fltr::listNames(listEntry, iniFile), iniFile, captions, protectedNames,
                          rulesOnly, names, descs);
}

core::StrArray FLTR_DescsToNames(const core::StrArray& oldNames, const core::StrArray& oldDescs,
                                 const core::StrArray& newDescs, const std::string& listEntry,
                                 const std::string& iniFile) {
    std::vector<bool> taken(static_cast<std::size_t>(oldDescs.ubound() + 1), false);
    core::StrArray names;
    startList(names);
    for (long i = 1; i <= newDescs.ubound(); ++i) {
        for (long k = 1; k <= oldDescs.ubound() && k <= oldNames.ubound(); ++k) {
            if (taken[static_cast<std::size_t>(k)] || oldDescs[k] != newDescs[i]) continue;
            taken[static_cast<std::size_t>(k)] = true;
            names.append(oldNames[k]);
            break;
        }
    }
    CHUNKS_IniPut("Filters", listEntry, iniFile, names, "|", kChunksNoExclusion, 1, false);
    return names;
}

std::string FLTR_MultiUseFind(const std::string& ruleName, const core::StrArray& names,
                              const std::string& iniFile, const core::StrArray& captions,
                              std::string& description) {
    description.clear();
    for (long i = 1; i <= names.ubound(); ++i) {
        core::StrArray ruleNames;
        bool any = false;
        if (!readConds(names[i], iniFile, ruleNames, any)) continue;
        if (ruleNames.find(ruleName, 1, core::Match::IgnoreCase) < 0) continue;
        description = FLTR_CondsArrText(ruleNames, iniFile, captions, any);
        return names[i];
    }
    return {};
}
