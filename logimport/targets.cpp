#include "logimport/targets.h"

#include <algorithm>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "logimport/filter_store.h"
#include "logimport/page_table.h"

namespace {

const std::string kTmpVals = "TmpVals";
const std::string kTypeAll = "TagOpAll ";  // the stored key ends in a blank

// The "|" list as items from `lowerBound`; an empty text is an empty list.
void splitList(const std::string& text, core::StrArray& items, long lowerBound) {
    items = core::StrArray();
    if (!text.empty()) CHUNKS_Split(text, items, lowerBound);
}

std::string joinList(const core::StrArray& items) {
    std::string s;
    for (long i = items.lbound(); i <= items.ubound(); ++i) s += (i > items.lbound() ? "|" : "") + items[i];
    return s;
}

bool flagOf(const std::string& entry, const std::string& iniFile) {
    bool value = false;
    INI_GetBoolVar(kTmpVals, entry, value, iniFile, kIniMissingEmpty);
    return value;
}

long pageBytes(const core::LngArray& bytes, long i) { return bytes.inBounds(i) ? bytes[i] : 0; }

}  // namespace

void STTA_TagOpsSave(const std::string& iniFile, const TargetSpec& target) {
    INI_Put(kTmpVals, "TagOpB_sz", false, iniFile);
    INI_Put(kTmpVals, "TagOpAny", false, iniFile);
    INI_Put(kTmpVals, kTypeAll, false, iniFile);
    INI_Put(kTmpVals, target.Typ == 1 ? "TagOpB_sz" : target.Typ == 3 ? kTypeAll : "TagOpAny", true, iniFile);
    INI_Put(kTmpVals, "TagOpBytes", target.TagOpBytes, iniFile);
    for (size_t n = 0; n < target.Rules.size(); ++n) {
        const FltrRule& r = target.Rules[n];
        std::string no = std::to_string(n);
        INI_Put(kTmpVals, "TagOpFlst" + no, r.Val, iniFile);
        INI_Put(kTmpVals, "TagOpMC" + no, r.MC, iniFile);
        INI_Put(kTmpVals, "TagOpEQ" + no, r.Typ == kFltrEquals, iniFile);
    }
}

void STTA_TagOpsLoad(const std::string& iniFile, TargetSpec& target) {
    if (flagOf("TagOpB_sz", iniFile))
        target.Typ = 1;
    else if (flagOf("TagOpAny", iniFile))
        target.Typ = 2;
    else if (flagOf(kTypeAll, iniFile))
        target.Typ = 3;
    target.TagOpBytes = TXT_Val(INI_Get(kTmpVals, "TagOpBytes", iniFile, kIniMissingEmpty));
    target.Rules.assign(kTargetDialogRules, FltrRule{});
    for (long n = 0; n < kTargetDialogRules; ++n) {
        FltrRule& r = target.Rules[static_cast<size_t>(n)];
        std::string no = std::to_string(n);
        r.MC = flagOf("TagOpMC" + no, iniFile);
        r.Val = INI_Get(kTmpVals, "TagOpFlst" + no, iniFile, kIniMissingEmpty);
        // Rules without match case hold their value in lower case, as stored rules do.
        if (!r.MC) r.Val = core::lowerAscii(r.Val);
        r.Typ = flagOf("TagOpEQ" + no, iniFile) ? kFltrEquals : kFltrContains;
    }
}

void STTA_FltrLstSave(const std::string& section, const TargetSpec& target) {
    INI_Put(section, "Typ", target.Typ, gIniTargets);
    INI_Put(section, "TagOpBytes", target.TagOpBytes, gIniTargets);
    core::StrArray names;
    splitList(INI_Get(section, "FltrLst", gIniTargets, kIniMissingEmpty), names, 0);
    if (names.count() < static_cast<long>(target.Rules.size())) {
        for (long n = names.count(); n < static_cast<long>(target.Rules.size()); ++n)
            names.append(section + "TFltr" + std::to_string(n));
        INI_Put(section, "FltrLst", joinList(names), gIniTargets);
    }
    for (size_t n = 0; n < target.Rules.size(); ++n)
        FLTR_WriteRule(names[names.lbound() + static_cast<long>(n)], gIniTargets, target.Rules[n]);
}

bool STTA_FltrLstLoad(const std::string& section, TargetSpec& target) {
    target.Typ = core::wholeOf<long>(TXT_Val(INI_Get(section, "Typ", gIniTargets, kIniMissingEmpty)));
    core::StrArray names;
    splitList(INI_Get(section, "FltrLst", gIniTargets, kIniMissingEmpty), names, 0);
    target.TagOpBytes = TXT_Val(INI_Get(section, "TagOpBytes", gIniTargets, kIniMissingEmpty));
    target.Rules.assign(static_cast<size_t>(names.count()), FltrRule{});
    for (long n = 0; n < names.count(); ++n)
        FLTR_ReadRule(names[names.lbound() + n], gIniTargets, target.Rules[static_cast<size_t>(n)], 3);
    return names.count() > 0;
}

std::string STTA_TargetSectionNew(core::StrArray& ruleNames) {
    std::string section;
    do {
        section = "Target " + std::to_string(INI_CounterNext("Main", "Parm", gIniTargets, true, 7, 0, 0));
    } while (INI_Get(section, "FltrLst", gIniTargets, kIniMissingMarker) != kIniNotFound);
    const std::string rule = section + "TFltr0";
    INI_Put(section, "FltrLst", rule, gIniTargets);
    splitList(rule, ruleNames, 0);
    return section;
}

std::string STTA_TargetItemSection(const std::string& item) {
    const size_t cut = item.find(" : ");
    return cut == std::string::npos ? std::string() : item.substr(0, cut);
}

void STTA_TargetsLoad(std::vector<TargetSpec>& targets) {
    targets.assign(1, TargetSpec{});
    if (!INI_GetFlag("Main", "AnalTgt", gIniTargets, kIniMissingTrue)) return;
    long wanted = core::wholeOf<long>(TXT_Val(INI_Get("Main", "CntTgt", gIniTargets, kIniMissingEmpty)));
    if (wanted == 0) wanted = kTargetsMax;
    wanted = std::clamp(wanted, 0L, kTargetsMax);
    core::StrArray items;
    splitList(INI_Get("Main", "LstTgts", gIniTargets, kIniMissingEmpty), items, 1);
    long n = std::min(wanted, items.count());
    targets.resize(static_cast<size_t>(n) + 1);
    for (long i = 1; i <= n; ++i) {
        const std::string section = STTA_TargetItemSection(items[items.lbound() + i - 1]);
        if (!section.empty()) STTA_FltrLstLoad(section, targets[static_cast<size_t>(i)]);
    }
}

bool STTA_TargetMatchVisit(dao::Database& db, const TargetSpec& target, const core::LngArray& pageIDs,
                           const core::LngArray& bytes) {
    if (target.Typ < 1 || target.Typ > 4) return false;
    auto matches = [&](const FltrRule& rule, long i) {
        return FLTR_RuleMatches(STTA_PageNameByID(db, pageIDs[i]), rule);
    };
    if (target.Typ == 3) {
        // Every rule that has a value must match some page of the visit.
        bool anyRule = false;
        for (const FltrRule& rule : target.Rules) {
            if (rule.Val.empty()) continue;
            anyRule = true;
            bool hit = false;
            for (long i = pageIDs.lbound(); i <= pageIDs.ubound() && !hit; ++i) hit = matches(rule, i);
            if (!hit) return false;
        }
        return anyRule;
    }
    size_t rules = target.Typ == 2 ? target.Rules.size() : std::min<size_t>(1, target.Rules.size());
    for (size_t r = 0; r < rules; ++r) {
        const FltrRule& rule = target.Rules[r];
        if (rule.Val.empty()) continue;
        for (long i = pageIDs.lbound(); i <= pageIDs.ubound(); ++i) {
            if (!matches(rule, i)) continue;
            // A minimum-size target is decided by the first matching page.
            return target.Typ == 1 ? pageBytes(bytes, i) >= target.TagOpBytes : true;
        }
    }
    return false;
}

void STTA_VisitTargetsFlag(dao::Database& db, const core::LngArray& pageIDs, const core::LngArray& bytes,
                           const std::vector<TargetSpec>& targets, core::LngArray& flags) {
    long n = static_cast<long>(targets.size()) - 1;
    flags.redim(0, std::max(kTargetsMax, n));
    for (long i = 1; i <= n; ++i)
        flags.set(i, STTA_TargetMatchVisit(db, targets[static_cast<size_t>(i)], pageIDs, bytes) ? 1 : 0);
}

void STTA_TargetArrCopy(const std::vector<TargetSpec>& source, std::vector<TargetSpec>& target) {
    target.assign(source.size(), TargetSpec{});
    for (size_t i = 0; i < source.size(); ++i) {
        target[i].Typ = source[i].Typ;
        target[i].TagOpBytes = source[i].TagOpBytes;
        target[i].Rules.resize(source[i].Rules.size());
        for (size_t r = 0; r < source[i].Rules.size(); ++r) FLTR_CopyRule(source[i].Rules[r], target[i].Rules[r]);
    }
}

bool STTA_TargetFilterPass(const core::LngArray& flags, long targetNo, long reportKind, long& kind) {
    bool pass = targetNo == -1 || (flags.inBounds(targetNo) && flags[targetNo] != 0);
    if (pass) kind = reportKind;
    return pass;
}
