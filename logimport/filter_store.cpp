#include "logimport/filter_store.h"

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/program_paths.h"
#include "core/progress.h"
#include "core/text.h"

namespace {

// Field number of a stored ColType code.
long fieldOfColType(const std::string& text) {
    double code = TXT_Val(text);
    if (code == 0) return kFldReferrer;
    if (code == 1) return kFldFileName;
    if (code == 2) return kFldUserAgent;
    if (code == 3) return kFldStatus;
    return 0;
}

bool isBlank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

}  // namespace

bool FLTR_ReadConds(const std::string& filterName, const std::string& iniFile, std::string& names,
                    bool& any) {
    std::string conds = INI_Get(filterName, "CDSCndns", iniFile, kIniMissingMarker);
    if (conds == kIniNotFound) {
        names = filterName;
        return false;
    }
    names = conds;
    any = INI_GetFlag(filterName, "Any", iniFile, kIniMissingEmpty);
    return true;
}

void FLTR_LoadFilterRules(const std::string& section, const std::string& entry,
                          const std::string& iniFile, FltrRules& rules,
                          std::vector<std::string>& colTexts, bool& any) {
    std::string name = INI_Get(section, entry, iniFile, kIniMissingEmpty);
    std::string list;
    FLTR_ReadConds(name, iniFile, list, any);
    rules.assign(1, FltrRule{});
    colTexts.assign(1, std::string());
    if (isBlank(list)) return;
    core::StrArray names;
    CHUNKS_Split(list, names, 1);
    long report = 0;
    PIS_Start("Reading Filter Lists", "rules", names.ubound(), "", report, 0.3, 1, false);
    for (long i = 1; i <= names.ubound(); ++i) {
        FltrRule rule;
        FLTR_ReadRule(names[i], iniFile, rule, 1);
        rules.push_back(std::move(rule));
        colTexts.push_back(INI_Get(names[i], "ColType", iniFile, kIniMissingMarker));
        int64_t done = i;
        PIS_Update(done, "", report);
    }
    PIS_End(report);
}

void STTA_FltrSetLoad(const std::string& iniFile, FltrSet& set, const std::string& selEntry,
                      bool active, bool negate) {
    set.Active = active;
    if (!active) return;
    set.Negate = negate;
    std::vector<std::string> colTexts;
    FLTR_LoadFilterRules("Filters", selEntry, iniFile, set.Rules, colTexts, set.Any);
    set.ColTypes.assign(1, 0);
    for (std::size_t i = 1; i < colTexts.size(); ++i)
        set.ColTypes.push_back(fieldOfColType(colTexts[i]));
}

void STTA_BotFindFltrLoad(ReadRec& rec) {
    STTA_FltrSetLoad(gIniPPFindBots, rec.MainSet, "Fltr Sel", true, true);
    rec.RobotSet.Active = false;
    rec.CompSet.Active = false;
}

void STTA_FltrSetsLoad(ReadRec& rec) {
    bool all = INI_GetFlag("Main", "All", "::*", kIniMissingTrue);
    bool filter = INI_GetFlag("Main", "Filter", "::*", kIniMissingTrue);
    bool nobots = INI_GetFlag("Main", "nobots", "::*", kIniMissingTrue);
    bool nocomp = INI_GetFlag("Main", "nocomp", "::*", kIniMissingEmpty);
    STTA_FltrSetLoad(gIniLdLnFltr, rec.MainSet, "Fltr Sel", !all, filter);
    STTA_FltrSetLoad(gIniFltrBots, rec.RobotSet, "SkipRobotUserAgents", nobots, false);
    rec.RobotSet.Any = true;
    STTA_FltrSetLoad(gIniFltrFiles, rec.CompSet, "Fltr Sel", nocomp, false);
}
