#include "logimport/forms/filter_dialogs.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/stored_text.h"
#include "core/table2d.h"
#include "core/text.h"
#include "dialogs/edit_list_dialog.h"
#include "dialogs/msgbox.h"
#include "dialogs/option_strings.h"
#include "dialogs/ready_dialogs.h"
#include "dialogs/two_list_selector.h"
#include "logimport/filter_descriptions.h"
#include "logimport/filter_store.h"

namespace {

constexpr int kOkButton = 1;

// Kinds in the order the editor lists them.
constexpr std::array<long, 6> kKindOrder = {kFltrStartsWith, kFltrContains, kFltrEquals,
                                            kFltrGreater,    kFltrLess,     kFltrIsNumber};

// A stored kind outside 1-6 (a missing entry reads 31313) is no option at all.
bool offered(long kind, const FltrKindOffers& offers) {
    switch (kind) {
    case kFltrStartsWith:
    case kFltrContains: return true;
    case kFltrEquals: return offers.equals;
    case kFltrGreater:
    case kFltrLess: return offers.greaterLess;
    case kFltrIsNumber: return offers.number;
    default: return false;
    }
}

// "Con&tains ...": the kind caption with its access letter marked.
std::string optionCaption(long kind) {
    FltrRule rule;
    rule.Typ = kind;
    std::string letter;
    std::string caption = FLTR_KindCaption(rule, letter);
    return TXT_AccelCaption(caption, letter);
}

std::string trimmed(const std::string& text) { return std::string(core::trimBlanks(text)); }

// The chosen position of a list control after the box, -1 when none.
long chosenPosition(const MB_CtlEntry& ctl, long entry) {
    const std::string cell = ARR_Item2D(ctl.rows, entry, 0);
    return cell.empty() ? -1 : core::wholeOf<long>(TXT_Val(cell));
}

const std::string kFilters = "Filters";

// The name a filter is saved under. A typed one is required, and unique in the list
// unless it differs from the filter's own only in case and blanks; the list gains an
// accepted new name and loses the old one. A filter whose name is not typed keeps its
// own, or gets a dated one when new. "" when the user must try again.
std::string acceptedName(const std::string& listEntry, const std::string& iniFile, bool nameFixed,
                         const std::string& typed, const std::string& old) {
    std::string message;
    if (nameFixed) return old.empty() ? INI_UniqueDatedName(kFilters, listEntry, iniFile, 0, message, false) : old;
    if (trimmed(typed).empty()) {
        MB_Info("Name is required. Enter a description to be shown when rules are listed.");
        return {};
    }
    if (TXT_IsEqual(trimmed(typed), trimmed(old), false)) return old;
    if (!INI_CheckUniqueName(kFilters, listEntry, iniFile, typed, true, message, false)) return {};
    if (!old.empty()) CHUNKS_IniDelete(kFilters, listEntry, iniFile, old, "|", kChunksNoExclusion, false, 3);
    return trimmed(typed);
}

core::StrArray listedNames(const FltrListEditArgs& a) { return fltr::listNames(a.listEntry, a.iniFile); }

void addAtEnd(const FltrListEditArgs& a, const std::string& name) {
    bool ok = false;
    CHUNKS_IniAdd(kFilters, a.listEntry, a.iniFile, name, "|", kChunksNoExclusion, 2, false, false, ok, 3, 0);
}

void dropFromList(const FltrListEditArgs& a, const std::string& name) {
    CHUNKS_IniDelete(kFilters, a.listEntry, a.iniFile, name, "|", kChunksNoExclusion, false, 3);
}

bool isMultiple(const std::string& name, const std::string& iniFile) {
    std::string conds;
    bool any = false;
    return FLTR_ReadConds(name, iniFile, conds, any);
}

bool editSingle(const FltrListEditArgs& a, std::string& name) {
    return FLTR_FilterEdit(name, a.captions, a.iniFile, a.lastField, a.whereCaption, a.flagSpec, a.offers,
                           a.descriptions, a.listEntry);
}

// Whether another filter of the list is described as `name` is. The filter itself is
// left out, so that renaming it or changing only its flag is not refused.
bool identicalInList(const FltrListEditArgs& a, const std::string& name) {
    const std::string desc = FLTR_FilterRuleText(name, a.iniFile, a.captions);
    core::StrArray names, descs;
    FLTR_FilterListDescs(a.listEntry, a.iniFile, a.captions, a.protectedNames, false, names, descs);
    for (long i = 1; i <= descs.ubound(); ++i)
        if (descs[i] == desc && !TXT_IsEqual(names[i], name, false)) return true;
    return false;
}

// Whether the user wants a filter of several rules ("&Multiple Conditions"); any other
// way of closing the question makes a single one.
bool askMultiple(const FltrListEditArgs& a) {
    const std::string field = LLIST_StrArrItem(a.captions, 1, "");
    const std::string message = "Use a single condition" + gCR + "E.g. " + field + " equals xxx" + gCRCR +
                                "or a multi-condition criteria" + gCR + "E.g. " + field +
                                " equals xxx OR starts with yyy";
    // Closing the question any other way than by the second button means a single condition.
    return MB_MsgBox(message, "&Single condition|&Multiple Conditions", MB_OptEsc(1), "- New " + a.itemWord) == 2;
}

void identicalRefused() {
    MB_Info("Edits not allowed. Already have an identical condition in the list." + gCRCR +
            "Changes have not been saved.");
}

}  // namespace

namespace fltr {

void listRemoved(const FltrListEditArgs& a, const std::string& name) {
    if (name.empty()) return;
    if (isProtected(name, a.protectedNames)) {
        addAtEnd(a, name);
        MB_Info("Cannot delete that line. It has been re-added at the end.");
        return;
    }
    std::string desc;
    if (!isMultiple(name, a.iniFile) && !FLTR_MultiUseFind(name, listedNames(a), a.iniFile, a.captions, desc).empty()) {
        addAtEnd(a, name);
        MB_Info("Cannot delete that rule. It is used in a multi rule condition." + gCRCR +
                "First (Multi rule where it is used:" + gCR + desc + gCRCR + "The Rule has been re-added at the end.");
        return;
    }
    INI_EraseSection(name, a.iniFile);
    // A selection naming a filter that is gone would load as a rule that never matches.
    if (TXT_IsEqual(INI_Get(kFilters, a.selEntry, a.iniFile, kIniMissingEmpty), name, false))
        INI_Put(kFilters, a.selEntry, "", a.iniFile);
}

std::string listNew(const FltrListEditArgs& a) {
    std::string name;
    if (a.allowMultiple && askMultiple(a)) {
        bool any = false;
        return FLTR_MultiCondSelect(name, a, any) == 2 ? name : std::string();
    }
    if (!editSingle(a, name)) return {};
    if (!identicalInList(a, name)) return name;
    INI_EraseSection(name, a.iniFile);
    dropFromList(a, name);
    identicalRefused();
    return {};
}

void listEdit(const FltrListEditArgs& a, const std::string& name) {
    if (isProtected(name, a.protectedNames)) return;
    std::string edited = name;
    bool any = false;
    if (isMultiple(name, a.iniFile)) {
        if (FLTR_MultiCondSelect(edited, a, any) != 2) return;
    } else {
        const std::string list = INI_Get(kFilters, a.listEntry, a.iniFile, kIniMissingEmpty);
        FLTR_FilterCopy(name, kFltrEditSection, a.iniFile, a.flagSpec, 6);
        if (!editSingle(a, edited)) return;
        if (identicalInList(a, edited)) {
            if (!TXT_IsEqual(edited, name, false)) INI_EraseSection(edited, a.iniFile);
            FLTR_FilterCopy(kFltrEditSection, name, a.iniFile, a.flagSpec, 6);
            INI_Put(kFilters, a.listEntry, list, a.iniFile);
            identicalRefused();
            return;
        }
    }
    // The selection follows a renamed filter rather than keep naming its old section.
    if (!TXT_IsEqual(edited, name, false) && TXT_IsEqual(INI_Get(kFilters, a.selEntry, a.iniFile, kIniMissingEmpty), name, false))
        INI_Put(kFilters, a.selEntry, edited, a.iniFile);
}

void listCopy(const FltrListEditArgs& a, const std::string& name) {
    if (isProtected(name, a.protectedNames)) return;
    const std::string copy = LLIST_UniqueName(listedNames(a), 1, name + ".", "");
    addAtEnd(a, copy);
    std::string conds;
    bool any = false;
    if (FLTR_ReadConds(name, a.iniFile, conds, any)) {
        INI_Put(copy, "CDSCndns", conds, a.iniFile);
        INI_Put(copy, "Any", any, a.iniFile);
        return;
    }
    FLTR_FilterCopy(name, copy, a.iniFile, a.flagSpec, 6);
    std::string edited = copy;
    // A copy left as it was is as identical as one edited back to the original.
    editSingle(a, edited);
    if (!identicalInList(a, edited)) {
        if (!TXT_IsEqual(edited, copy, false)) INI_EraseSection(copy, a.iniFile);
        return;
    }
    INI_EraseSection(copy, a.iniFile);
    if (!TXT_IsEqual(edited, copy, false)) INI_EraseSection(edited, a.iniFile);
    dropFromList(a, edited);
    dropFromList(a, copy);
    identicalRefused();
}

}  // namespace fltr

bool FLTR_FilterCopy(const std::string& source, const std::string& target,
                     const std::string& iniFile, const std::string& flagSpec, int notFoundMode) {
    if (notFoundMode == 6 && INI_Get(source, "Val", iniFile, kIniMissingMarker) == kIniNotFound) return false;
    if (TXT_IsEqual(source, target, false)) return true;
    // Left-over entries of an earlier filter under the target name would survive a
    // copy that skips missing entries.
    INI_EraseSection(target, iniFile);
    std::vector<std::string> entries = {"Typ", "Val", "MC", "ColType"};
    const std::string flagEntry = CHUNKS_Get(2, flagSpec);
    if (!flagEntry.empty()) entries.push_back(flagEntry);
    for (const std::string& entry : entries) {
        std::string toSection = target, toEntry = entry, toFile = iniFile;
        INI_CopyEntry(source, entry, iniFile, notFoundMode, toSection, toEntry, toFile);
    }
    return true;
}

int FLTR_RuleEnter(FltrRule& rule, MB_CtlEntry& ctl, const std::string& message,
                   const FltrKindOffers& offers) {
    const bool reset = !ctl.entries.hasBounds();
    const long current = offered(rule.Typ, offers) ? rule.Typ : kFltrStartsWith;
    std::array<long, 7> optionOf{};  // entry of each kind's option button, 0 when not offered
    bool first = reset;
    for (long kind : kKindOrder) {
        if (!offered(kind, offers)) continue;
        optionOf[static_cast<std::size_t>(kind)] =
            MB_AddControl("OptionButton", MB_SpecToTagForm(optionCaption(kind)),
                          kind == current ? "True" : "False", ctl, first);
        first = false;
    }
    const long valueBox = MB_AddControl("TextBox", "", rule.Val, ctl, false);
    const long caseBox = MB_AddControl("CheckBox", MB_SpecToTagForm("&Match Case"), rule.MC ? "1" : "0", ctl, false);
    MB_AddControl("Shape", MB_SpecToTagForm("2|200"), "", ctl, false);

    std::string state;
    Msgbxform* form = nullptr;
    const int pressed = MB_Show(message, "1", "", "- Enter Rule", ctl, state, form);
    if (pressed != kOkButton) return pressed;

    rule.Typ = kFltrStartsWith;
    for (long kind : {kFltrContains, kFltrEquals, kFltrGreater, kFltrLess, kFltrIsNumber}) {
        const long entry = optionOf[static_cast<std::size_t>(kind)];
        if (entry != 0 && SYS32_StrIsTrue(ctl.values[entry])) {
            rule.Typ = kind;
            break;
        }
    }
    rule.Val = ctl.values[valueBox];
    rule.MC = TXT_Val(ctl.values[caseBox]) != 0;
    return pressed;
}

bool FLTR_FilterEdit(std::string& section, const core::StrArray& captions, const std::string& iniFile,
                     long lastField, const std::string& whereCaption, const std::string& flagSpec,
                     const FltrKindOffers& offers, bool nameFixed, const std::string& listEntry) {
    const long last = lastField < 0 ? captions.ubound() : std::min(lastField, captions.ubound());
    const std::string flagCaption = CHUNKS_Get(1, flagSpec);
    const std::string flagEntry = CHUNKS_Get(2, flagSpec);

    FltrRule rule;
    rule.Typ = kFltrStartsWith;
    long colType = 0;
    bool flag = false;
    if (!section.empty()) {
        FLTR_ReadRule(section, iniFile, rule, 3);
        colType = core::wholeOf<long>(INI_GetNumVar(section, "ColType", iniFile, kIniMissingEmpty));
        if (!flagEntry.empty()) flag = INI_GetFlag(section, flagEntry, iniFile, kIniMissingEmpty);
    }
    std::string where = whereCaption.empty() ? "Where [w]" : whereCaption;
    if (!whereCaption.empty() && whereCaption.find('[') == std::string::npos && flagSpec.empty())
        where += " [w]:";
    std::string name = section;

    for (;;) {
        MB_CtlEntry ctl;
        long nameBox = 0, flagBox = 0, fieldList = 0;
        if (!nameFixed) {
            MB_AddControl("Label", "", "Name on List [n]:", ctl, true);
            nameBox = MB_AddControl("TextBox", "6000", name, ctl, false);
        }
        MB_AddControl("Label", "", where, ctl, nameFixed);
        if (!flagEntry.empty())
            flagBox = MB_AddControl("CheckBox", MB_SpecToTagForm(flagCaption), flag ? "1" : "0", ctl, false);
        if (last >= 2) {
            const std::string spec = last > 9 ? "4500|2500" : "4500|1500";
            fieldList = MB_AddListCtl(captions, "", colType, "ListBox", MB_SpecToTagForm(spec), ctl, false, 0, last);
        } else {
            // Nothing to choose: the box names the one field, which the filter then tests.
            MB_AddControl("TextBox", MB_SpecToTagForm("||||||||||||False"),
                          "where value of " + LLIST_StrArrItem(captions, std::max(last, 0L), ""), ctl, false);
            colType = std::max(last, 0L);
        }
        if (FLTR_RuleEnter(rule, ctl, "", offers) != kOkButton) return false;

        if (flagBox != 0) flag = TXT_Val(ctl.values[flagBox]) != 0;
        if (fieldList != 0) {
            const long position = chosenPosition(ctl, fieldList);
            if (position >= 0 && position <= last) colType = position;
        }
        const std::string target =
            acceptedName(listEntry, iniFile, nameFixed, nameFixed ? std::string() : ctl.values[nameBox], section);
        if (target.empty()) {
            if (!nameFixed) name = ctl.values[nameBox];
            continue;
        }
        FLTR_WriteRule(target, iniFile, rule);
        INI_Put(target, "ColType", static_cast<int>(colType), iniFile);
        if (!flagEntry.empty()) INI_Put(target, flagEntry, flag, iniFile);
        section = target;
        return true;
    }
}

namespace {

// The names of the list in the order the dialog left it. Showing descriptions, the
// dialog changed only `memList`: its order is carried over to the names, and the
// names whose descriptions it dropped are returned in `dropped`.
core::StrArray namesAfterList(const FltrListEditArgs& a, const MB_ListDlgArgs& list, const core::StrArray& oldNames,
                              const core::StrArray& oldDescs, std::vector<std::string>& dropped) {
    dropped.clear();
    if (!a.descriptions) return listedNames(a);
    core::StrArray descs;
    CHUNKS_SplitEx(list.memList, "|", kChunksNoExclusion, descs, 1);
    core::StrArray names = FLTR_DescsToNames(oldNames, oldDescs, descs, a.listEntry, a.iniFile);
    for (long i = 1; i <= oldNames.ubound(); ++i)
        if (names.find(oldNames[i], 1, core::Match::IgnoreCase) < 0) dropped.push_back(oldNames[i]);
    return names;
}

}  // namespace

int FLTR_FilterListEdit(const FltrListEditArgs& a, long& extraButton) {
    MB_ListDlgArgs list;
    list.itemWord = a.itemWord;
    list.title = a.title;
    list.message = a.message;
    list.instruction = a.instruction;
    list.remembered.iniFile = a.ctlIniFile;
    list.remembered.section = a.ctlSection;
    list.remembered.entry = a.ctlEntry;
    list.ok = true;
    list.further = true;
    list.furtherCaption = "&Cancel";
    dlg::useStandardListButtons(list);

    // The filter to show chosen: the selected one at first, then a filter just made, so
    // that OK selects it.
    std::string toChoose = INI_Get(kFilters, a.selEntry, a.iniFile, kIniMissingEmpty);
    for (bool first = true;; first = false) {
        core::StrArray names, descs;
        if (a.descriptions) {
            FLTR_FilterListDescs(a.listEntry, a.iniFile, a.captions, a.protectedNames, false, names, descs);
            list.memList = CHUNKS_JoinEx(descs, "|", kChunksNoExclusion, 1, false);
        }
        if (!first) list.instruction.clear();
        if (first || !toChoose.empty()) {
            list.selection = toChoose;
            list.state.clear();
            if (a.descriptions) {
                const long at = names.find(toChoose, 1, core::Match::IgnoreCase);
                list.selection = at > 0 ? descs[at] : std::string();
            }
            toChoose.clear();
        }

        const long result = a.descriptions ? MB_EditList({}, {}, {}, list) : MB_EditList(kFilters, a.listEntry, a.iniFile, list);
        std::vector<std::string> dropped;
        const core::StrArray current = namesAfterList(a, list, names, descs, dropped);
        const long pos = core::wholeOf<long>(TXT_Val(list.state));
        const std::string chosen = pos >= 0 && pos < current.ubound() ? current[pos + 1] : std::string();

        switch (result) {
        case dlg::kListFurther: return 1;
        case dlg::kListOK:
        case dlg::kListOther:
            if (!chosen.empty()) INI_Put(kFilters, a.selEntry, chosen, a.iniFile);
            if (result == dlg::kListOK) return 2;
            extraButton = list.pressed;
            return 7;
        case dlg::kListDeleted: {
            if (!a.descriptions) {
                fltr::listRemoved(a, list.selection);
                break;
            }
            // Equal descriptions all left the list; only the first name was meant.
            for (std::size_t i = 1; i < dropped.size(); ++i) addAtEnd(a, dropped[i]);
            if (!dropped.empty()) fltr::listRemoved(a, dropped.front());
            break;
        }
        case dlg::kListAdded: toChoose = fltr::listNew(a); break;
        case dlg::kListActionA:
            if (!chosen.empty()) fltr::listEdit(a, chosen);
            break;
        case dlg::kListActionB:
            if (!chosen.empty()) fltr::listCopy(a, chosen);
            break;
        }
    }
}

int FLTR_MultiCondSelect(std::string& name, const FltrListEditArgs& a, bool& any) {
    // The rules on offer, and the filter's own, which may include rules not listed.
    core::StrArray ruleNames, ruleDescs, listed, ownNames, ownDescs;
    FLTR_FilterListDescs(a.listEntry, a.iniFile, a.captions, a.protectedNames, true, ruleNames, ruleDescs);
    any = false;
    std::string conds;
    if (!name.empty()) FLTR_ReadConds(name, a.iniFile, conds, any);
    CHUNKS_Split(conds, listed, 1);
    FLTR_FilterDescsBuild(listed, a.iniFile, a.captions, {}, false, ownNames, ownDescs);

    core::StrArray selected = ownDescs;
    core::LngArray order;
    order.redim(0, ruleDescs.ubound());
    for (long i = 1; i <= ruleDescs.ubound(); ++i) order.set(i, i);
    core::StrArray skip;
    skip.redim(0, 0);

    MBX_SelectParams p;
    p.itemWord = "Rule";
    p.message = "in which selected rules are checked.";
    p.bottomText = "Press OK to save changes.";
    p.bottomText2 = " Press Cancel to ignore changes and keep original selection.";
    p.hideNumbers = true;
    p.matchCase = true;
    p.minWidth = 12000;
    MB_CtlEntry ctl;
    long nameBox = 0;
    if (!a.descriptions) {
        MB_AddControl("Label", "", "Name on List [n]:", ctl, true);
        nameBox = MB_AddControl("TextBox", "6000", name, ctl, false);
    }
    MB_AddControl("Label", "", "To satisfy condition, satisfy: ", ctl, a.descriptions);
    MB_AddControl("OptionButton", MB_SpecToTagForm("A&ll rules selected"), any ? "False" : "True", ctl, false);
    const long anyOption = MB_AddControl("_OptionButton", MB_SpecToTagForm("An&y rule selected"), any ? "True" : "False", ctl, false);

    for (;;) {
        p.ctlEntries = ctl.entries;
        p.ctlValues = ctl.values;
        p.ctlRows = ctl.rows;
        const int pressed = MBX_TwoListSelect(selected, ruleDescs, order, skip, p);
        if (pressed != 2) return pressed;
        ctl.values = p.ctlValues;
        const std::string target =
            acceptedName(a.listEntry, a.iniFile, a.descriptions, nameBox ? ctl.values[nameBox] : std::string(), name);
        if (target.empty()) continue;

        any = SYS32_StrIsTrue(ctl.values[anyOption]);
        core::StrArray chosen;
        chosen.redim(0, 0);
        for (long i = selected.lbound(); i <= selected.ubound(); ++i) {
            if (selected[i].empty()) continue;
            long at = ruleDescs.find(selected[i], 1, core::Match::Exact);
            if (at > 0) {
                chosen.append(ruleNames[at]);
            } else if ((at = ownDescs.find(selected[i], 1, core::Match::Exact)) > 0) {
                chosen.append(ownNames[at]);
            }
        }
        INI_Put(target, "CDSCndns", CHUNKS_JoinEx(chosen, "|", kChunksNoExclusion, 1, false), a.iniFile);
        INI_Put(target, "Any", any, a.iniFile);
        name = target;
        return pressed;
    }
}
