#include "dialogs/item_groups.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/progress.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "dialogs/edit_list_dialog.h"
#include "dialogs/list_dialog.h"
#include "dialogs/msgbox.h"
#include "dialogs/ready_dialogs.h"

namespace {

constexpr const char* kNotFound = "Not Found";
constexpr const char* kDuplicateMark = "**DUPL**";
constexpr long kAskAbove = 8;
constexpr long kUniqueIgnoringCase = 2;

std::vector<std::string> iniList(const std::string& section, const std::string& entry, const std::string& file) {
    core::StrArray a;
    CHUNKS_IniGet(section, entry, file, "|", kChunksNoExclusion, a, 0, 3);
    std::vector<std::string> out;
    for (const std::string& s : a.items())
        if (!s.empty()) out.push_back(s);
    return out;
}

// Adds the name to the group list unless it is there in any case (which the list's
// own message then says).
bool addGroupName(const std::string& section, const std::string& entry, const std::string& file,
                  const std::string& name) {
    bool ok = true;
    return CHUNKS_IniAdd(section, entry, file, name, "|", kChunksNoExclusion, kUniqueIgnoringCase, true, false, ok,
                         3, 0);
}

std::string joinRows(const std::vector<std::string>& rows) {
    core::StrArray a;
    for (const std::string& r : rows) a.append(r);
    return rows.empty() ? std::string() : CHUNKS_Join(a, 0);
}

std::vector<std::string> splitRows(const std::string& list) {
    std::vector<std::string> rows;
    if (list.empty()) return rows;
    core::StrArray a;
    CHUNKS_Split(list, a, 0);
    for (const std::string& s : a.items())
        if (!s.empty()) rows.push_back(s);
    return rows;
}

std::string tabField(const std::string& row, long n) { return CHUNKS_GetEx(n, "\t", kChunksNoExclusion, row, ""); }

void saveRule(const MBX_SelectParams& p, const FltrRule& rule, const std::string& target) {
    const long n = INI_CounterNext("Main", "MaxNo", p.savedFilterFile, true, 7, 0, 0);
    const std::string file = MBX_FilterFileName(p.savedFilterFile, n);
    FLTR_WriteRule(std::to_string(n), file, rule);
    INI_Put("Main", std::to_string(n), target, file);
}

// A saved rule and where it moves its hits.
struct SavedRule {
    long n = 0;
    FltrRule rule;
    std::string target;
};

std::vector<SavedRule> savedWordRules(const std::string& baseFile) {
    std::vector<SavedRule> rules;
    const long maxNo = core::wholeOf<long>(TXT_Val(INI_Get("Main", "MaxNo", baseFile, kIniMissingDefault, "0")));
    for (long n = 1; n <= maxNo; ++n) {
        const std::string file = MBX_FilterFileName(baseFile, n);
        SavedRule r;
        r.n = n;
        FLTR_ReadRule(std::to_string(n), file, r.rule, 3);
        if (r.rule.Typ != kFltrContains) continue;
        r.target = INI_Get("Main", std::to_string(n), file, kIniMissingEmpty);
        rules.push_back(std::move(r));
    }
    return rules;
}

void removeSavedRule(const std::string& baseFile, long n) {
    const std::string file = MBX_FilterFileName(baseFile, n);
    INI_EraseEntry("Main", std::to_string(n), file);
    INI_EraseSection(std::to_string(n), file);
}

// Asks before each rule of the chosen rows goes; "Yes to &All" stops asking. A rule
// that hit several chosen rows is asked for once.
void removeRulesOfRows(const std::vector<long>& chosen, const std::vector<std::string>& rows,
                       const std::vector<SavedRule>& byHit, const std::string& baseFile) {
    bool all = false;
    std::vector<long> asked;
    const long count = static_cast<long>(chosen.size());
    for (long i = 0; i < count; ++i) {
        const long row = chosen[static_cast<std::size_t>(i)];
        if (row < 1 || row > static_cast<long>(rows.size())) continue;
        const long hit = core::wholeOf<long>(TXT_Val(tabField(rows[static_cast<std::size_t>(row - 1)], 6)));
        if (hit < 1 || hit > static_cast<long>(byHit.size())) continue;
        const SavedRule& r = byHit[static_cast<std::size_t>(hit - 1)];
        if (std::find(asked.begin(), asked.end(), r.n) != asked.end()) continue;
        asked.push_back(r.n);
        if (!all) {
            const int answer = MB_MsgBox("Confirm Remove. " + std::to_string(i + 1) + "/" + std::to_string(count) +
                                             gCRCR + "Rule: " + FLTR_RuleText(r.rule) + gCRCR +
                                             "Do you want to remove the rules permanently from list?",
                                         "&Yes|&No|Yes to &All|&Cancel (skip rest)", "", "");
            if (answer == 4 || answer < 1) return;
            if (answer == 2) continue;
            all = answer == 3;
        }
        removeSavedRule(baseFile, r.n);
    }
}

}  // namespace

void dlg::groupAddItem(const std::string& section, const std::string& group, const std::string& file,
                       const std::string& item) {
    bool ok = true;
    CHUNKS_IniAdd(section, group, file, item, "|", kChunksNoExclusion, kUniqueIgnoringCase, false, false, ok, 3, 0);
}

void dlg::groupRemoveItem(const std::string& section, const std::string& group, const std::string& file,
                          const std::string& item) {
    CHUNKS_IniDelete(section, group, file, item, "|", kChunksNoExclusion, true, 3);
}

std::string dlg::groupTarget(const MBX_SelectParams& p, const std::string& group) {
    return p.groupsSection + "|" + group + "|" + p.groupsFile;
}

std::string MBX_ChooseGroup(const std::string& listSection, const std::string& listEntry,
                            const std::string& listFile, const std::string& kindWord, const std::string& message) {
    MB_ListDlgArgs args{.itemWord = kindWord, .message = message, .ok = true, .further = true,
                        .furtherCaption = "&Cancel", .add = "&New "};
    const long r = MB_EditList(listSection, listEntry, listFile, args);
    if (r == dlg::kListFurther) return {};
    if (r == dlg::kListAdded) {
        std::string name;
        return MBX_NewGroupName(listSection, listEntry, listFile, kindWord, name) ? name : std::string();
    }
    return std::string(core::trimBlanks(args.selection));
}

bool MBX_NewGroupName(const std::string& listSection, const std::string& listEntry, const std::string& listFile,
                      const std::string& kindWord, std::string& name) {
    for (;;) {
        MB_UnloadStray("");
        long button = 0;
        name = MB_InputEx("Enter name for new group of " + kindWord, "", name,
                          {.firstCaption = "&OK", .cancelCaption = "&Cancel"}, button);
        if (name.empty()) return false;
        if (addGroupName(listSection, listEntry, listFile, name)) return true;
    }
}

bool MBX_FindItemGroup(const std::string& text, std::string& group, const MBX_SelectParams& p) {
    for (const std::string& name : iniList(p.groupListSection, p.groupListEntry, p.groupListFile))
        for (const std::string& item : iniList(p.groupsSection, name, p.groupsFile))
            if (item == text) {
                group = name;
                return true;
            }
    group.clear();
    return false;
}

void MBX_FindInAllGroups(const std::string& word, const core::StrArray& all, const MBX_SelectParams& p,
                         std::vector<std::string>& newlyGrouped, std::vector<std::string>& movedOut) {
    const std::vector<std::string> hits = MBX_FindByWord(word, all);
    const std::string message = "Find in all groups. Any of " + std::to_string(all.count()) + " " + p.itemWord +
                                " with word: " + word;
    std::vector<std::string> rows;
    {
        PIS_Scope progress(message, "cats", static_cast<int64_t>(hits.size()), 1.0);
        for (const std::string& hit : hits) {
            std::string group;
            rows.push_back(hit + "\t" + (MBX_FindItemGroup(hit, group, p) ? group : kNotFound));
            progress.step();
        }
        progress.end();
    }

    std::vector<std::string> quick;
    MB_ListDlgArgs args{.itemWord = p.itemWord, .message = message, .ok = true, .further = true,
                        .furtherCaption = "&Cancel",
                        .del = "R&emove from these results", .separator = "tab"};
    args.gridSpec = "12000|6000|||||True|||1||{5400|5400}||||True|||||600";
    const std::string gridSpec = args.gridSpec;
    for (;;) {
        args.memList = joinRows(rows);
        args.furtherCaptions.clear();
        for (std::size_t k = 0; k < quick.size(); ++k)
            args.furtherCaptions += "|&" + std::to_string(k + 1) + " To: " + quick[k];
        args.gridSpec = gridSpec;
        const long r = MB_ListDlgIni("", "", "", args);
        if (r == dlg::kListFurther) return;
        if (r == dlg::kListDeleted) {
            rows = splitRows(args.memList);
            continue;
        }
        std::string target;
        if (r == dlg::kListOK) {
            target = MBX_ChooseGroup(p.groupListSection, p.groupListEntry, p.groupListFile, "Group",
                                     "Move the chosen " + p.itemWord + "s with word >>" + word + "<< to group:");
        } else if (r == dlg::kListOther) {
            // The quick buttons follow OK, the remove button and Cancel.
            const long k = args.pressed - 4;
            if (k >= 0 && k < static_cast<long>(quick.size())) target = quick[static_cast<std::size_t>(k)];
        }
        if (target.empty()) continue;

        std::vector<long> chosen = dlg::listChosenRows(args.state, true);
        std::sort(chosen.begin(), chosen.end());
        chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
        for (long row : chosen) {
            if (row < 1 || row > static_cast<long>(rows.size())) continue;
            const std::string& line = rows[static_cast<std::size_t>(row - 1)];
            const std::string item = tabField(line, 1), group = tabField(line, 2);
            if (group != kNotFound) {
                dlg::groupRemoveItem(p.groupsSection, group, p.groupsFile, item);
                if (group == p.currentGroup) movedOut.push_back(item);
            } else {
                newlyGrouped.push_back(item);
            }
            dlg::groupAddItem(p.groupsSection, target, p.groupsFile, item);
        }
        MBX_SaveWordFilters(true, p, FltrRule{.Typ = kFltrContains, .Val = word, .MC = false}, {},
                            dlg::groupTarget(p, target));
        for (auto it = chosen.rbegin(); it != chosen.rend(); ++it)
            if (*it >= 1 && *it <= static_cast<long>(rows.size())) rows.erase(rows.begin() + (*it - 1));
        if (std::find(quick.begin(), quick.end(), target) == quick.end()) quick.push_back(target);
    }
}

std::string MBX_FilterFileName(const std::string& baseFile, long n) {
    const std::size_t slash = baseFile.rfind('/');
    const std::size_t dot = baseFile.rfind('.');
    const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string stem = hasExt ? baseFile.substr(0, dot) : baseFile;
    const std::string ext = hasExt ? baseFile.substr(dot) : std::string();
    return stem + TXT_FormatLng(n / 100, "000") + ext;
}

void MBX_SaveWordFilters(bool fromFind, const MBX_SelectParams& p, const FltrRule& rule,
                         const std::vector<std::string>& moved, const std::string& target) {
    if (p.savedFilterFile.empty()) return;
    if (fromFind) {
        saveRule(p, rule, target);
        return;
    }
    if (moved.empty()) return;
    bool itemsToo = true, wordOnly = false;
    const long count = static_cast<long>(moved.size());
    if (count > kAskAbove) {
        std::string buttons = "&Yes|&No";
        const bool held = !rule.Val.empty();
        if (held) buttons += "|Sa&ve 1x Select Word Filter: " + FLTR_RuleText(rule);
        const int answer = MB_MsgBox(std::to_string(count) + " values selected." + gCRCR +
                                         "Do you want to add the manually added values to your list of filters?",
                                     buttons, "", "");
        itemsToo = answer == 1;
        wordOnly = held && answer == 3;
    }
    if (wordOnly) saveRule(p, rule, target);
    if (!itemsToo) return;
    for (const std::string& item : moved) saveRule(p, FltrRule{.Typ = kFltrEquals, .Val = item, .MC = false}, target);
}

bool MBX_ApplySavedFilters(const std::vector<std::string>& left, const std::vector<std::string>& right,
                           std::vector<std::string>& hits, std::vector<std::string>& targets,
                           std::vector<long>& sources, const MBX_SelectParams& p) {
    struct Hit {
        std::string item, target;
        long source;
    };
    std::vector<Hit> found;
    std::vector<SavedRule> byHit;
    std::vector<std::string> rows;
    std::unordered_map<std::string, bool> hitBefore;  // "L3" / "R0": an earlier rule hit it
    for (const SavedRule& r : savedWordRules(p.savedFilterFile)) {
        auto test = [&](const std::vector<std::string>& list, bool isLeft) {
            for (std::size_t i = 0; i < list.size(); ++i) {
                if (!FLTR_RuleMatches(list[i], r.rule)) continue;
                const std::string key = (isLeft ? "L" : "R") + std::to_string(i);
                const bool dupl = hitBefore[key];
                hitBefore[key] = true;
                found.push_back({list[i], r.target, isLeft ? static_cast<long>(i) : -1});
                byHit.push_back(r);
                rows.push_back(std::string(dupl ? kDuplicateMark : "") + "\t" + list[i] + "\t" +
                               CHUNKS_Get(2, r.target) + "\t" + (isLeft ? "L" : "R") + "\t" +
                               FLTR_RuleText(r.rule) + "\t" + std::to_string(found.size()));
            }
        };
        test(left, true);
        test(right, false);
    }

    MB_ListDlgArgs args{.itemWord = p.itemWord, .ok = true, .further = true, .furtherCaption = "&Cancel",
                        .actionA = "Edi&t Rule",
                        .add = "Remove &Rule", .del = "R&emove ", .separator = "tab"};
    const std::string gridSpec = "12000|6000||||||||1||{900|4500|2900|300|1500}||||True|True|2|||600";
    for (;;) {
        args.memList = joinRows(rows);
        args.gridSpec = gridSpec;
        args.header = "\tMove Item\tToGroup\t\t\t";
        const long r = MB_ListDlgIni("", "", "", args);
        if (r == dlg::kListFurther) return false;
        if (r == dlg::kListDeleted) {
            rows = splitRows(args.memList);
            continue;
        }
        if (r == dlg::kListAdded) {
            removeRulesOfRows(dlg::listChosenRows(args.state, true), rows, byHit, p.savedFilterFile);
            continue;
        }
        if (r != dlg::kListOK) continue;
        for (const std::string& row : rows) {
            const long h = core::wholeOf<long>(TXT_Val(tabField(row, 6)));
            if (h < 1 || h > static_cast<long>(found.size())) continue;
            const Hit& hit = found[static_cast<std::size_t>(h - 1)];
            const std::string key = core::lowerAscii(hit.item);
            if (std::any_of(hits.begin(), hits.end(), [&](const std::string& s) { return core::lowerAscii(s) == key; }))
                continue;
            hits.push_back(hit.item);
            targets.push_back(hit.target);
            sources.push_back(hit.source);
        }
        return true;
    }
}

int MBX_EditGroupItems(core::StrArray& items, core::StrArray all, core::LngArray numbers, const core::StrArray& skip,
                       MBX_SelectParams& params, const std::string& section, const std::string& group,
                       const std::string& iniFile, long maximum) {
    if (group.empty()) return 0;
    items.erase();
    for (const std::string& s : iniList(section, group, iniFile))
        if (!core::trimBlanks(s).empty()) items.append(s);
    if (all.ubound() > maximum) {
        MB_Info(std::to_string(all.ubound()) + " values. Will be restricted to first " +
                TXT_FormatLng(maximum, "#,###,###,##0"));
        all.redimPreserve(maximum);
        if (numbers.hasBounds() && numbers.ubound() > maximum) numbers.redimPreserve(maximum);
    }
    core::StrArray skipList = skip;
    const int r = MBX_TwoListSelect(items, all, numbers, skipList, params);
    if (r != 2) return r;
    CHUNKS_IniPut(section, group, iniFile, items, "|", kChunksNoExclusion, items.lbound(), true);
    return 2;
}

int MBX_SelectGroup(const std::string& section, const std::string& entry, const core::StrArray& all,
                    const core::LngArray& numbers, MBX_SelectParams& params, const std::string& kindWord,
                    MB_ListDlgArgs& listArgs, std::string& group) {
    const std::string file = "::*";
    const std::string messageAtEntry = params.message;
    auto newName = [&](std::string& name) {
        for (;;) {
            name = MB_Input("Enter name for new " + kindWord);
            if (name.empty()) return false;
            if (addGroupName(section, entry, file, name)) {
                INI_Put(section, name, "", file);
                return true;
            }
        }
    };
    auto edit = [&](const std::string& name) {
        core::StrArray grouped;
        for (const std::string& g : iniList(section, entry, file))
            for (const std::string& item : iniList(section, g, file)) grouped.append(item);
        MBX_SelectParams p = params;
        p.message = messageAtEntry + gCR + "Selected Group: " + name;
        // The selector's group functions work on this list of groups.
        if (p.groupListSection.empty()) {
            p.groupListSection = section;
            p.groupListEntry = entry;
            p.groupListFile = file;
            p.groupsSection = section;
            p.groupsFile = file;
        }
        p.currentGroup = name;
        p.wordFilterTarget = dlg::groupTarget(p, name);
        core::StrArray items;
        MBX_EditGroupItems(items, all, numbers, grouped, p, section, name, file, 10000);
    };
    for (;;) {
        listArgs.selection = group;
        const long r = MB_EditList(section, entry, file, listArgs);
        const std::string chosen(core::trimBlanks(listArgs.selection));
        if (r == dlg::kListFurther || r == dlg::kListOK) {
            if (r == dlg::kListOK) group = chosen;
            MB_UnloadStray("");
            return static_cast<int>(r);
        }
        if (r == dlg::kListAdded) {
            std::string name;
            if (newName(name)) {
                group = name;
                edit(name);
            }
        } else if (r == dlg::kListActionA && !chosen.empty()) {
            group = chosen;
            edit(chosen);
        } else if (r == dlg::kListActionB && !chosen.empty()) {
            const std::string source = CHUNKS_Get(1, listArgs.selection);
            std::string name;
            if (newName(name)) {
                INI_Put(section, name, INI_Get(section, source, file, kIniMissingEmpty), file);
                group = name;
                edit(name);
            }
        }
    }
}
