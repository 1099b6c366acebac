#include "analysis/forms/target_dialogs.h"

#include <fstream>
#include <iterator>

#include "analysis/report_table.h"
#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "dialogs/edit_list_dialog.h"
#include "dialogs/ready_dialogs.h"
#include "logimport/targets.h"

namespace {

// The targets file as it stands; targets are written as they are edited.
std::string targetsFileText() {
    std::ifstream in(gIniTargets, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string kCaption = "Enter Target Specification.";
const std::string kTmpVals = "TmpVals";
const std::string kFirstRule = "TagOpFlst0";
const std::string kItemSep = " : ";

// Button numbers of both definition dialogs.
constexpr int kOk = 1, kSwitch = 2, kCancel = 3;

// The simple dialog: the first rule's page name. Returns the pressed button.
int simpleDialogShow() {
    const std::string message =
        "Enter filename for page(s) required to achieve target." + gCRCR +
        "Any part of the path and file name is sufficient. Any filename containing the name entered will be accepted "
        "as satisfying the target. E.g. A target page of \"buynow\" will be satisfied for all pages: buynow.htm, "
        "buynow.html, buynow1.htm, buynow/list1.htm, etc.";
    std::string value = INI_Get(kTmpVals, kFirstRule, gIniScreens, kIniMissingEmpty);
    const int r = core::ui().inputBox(message, "&OK|Com&plex Target|&Cancel", kCaption, "", value);
    if (r == kOk || r == kSwitch) INI_Put(kTmpVals, kFirstRule, value, gIniScreens);
    return r;
}

// The complex dialog: the type of target, the minimum bytes and the rules, all
// controls of the definition DefTgt. Returns the pressed button.
int complexDialogShow() {
    const std::string message =
        "Select type of target and enter the names of the target pages below. Any part of the path and file name "
        "is sufficient unless the name must equal the whole page name.";
    const MB_ShowExArgs args{.controls = {.section = "DefTgt", .entry = "Xctls", .iniFile = gIniScreens},
                             .dfltButton = kOk,
                             .escButton = kCancel};
    return static_cast<int>(MB_ShowEx(message, "&OK|Sim&ple Target|&Cancel", "", kCaption, args));
}

std::string itemLabel(const std::string& item) {
    const size_t cut = item.rfind(kItemSep);
    return cut == std::string::npos ? std::string() : item.substr(cut + kItemSep.size());
}

// Where the targets list keeps its comments.
constexpr const char* kCommentEntry = "LstCmnts";

// The targets list as items 1..n.
core::StrArray listedTargets() {
    core::StrArray items;
    const std::string list = INI_Get("Main", "LstTgts", gIniTargets, kIniMissingEmpty);
    if (!list.empty()) CHUNKS_SplitEx(list, "|", kChunksNoExclusion, items, 1);
    return items;
}

// The edited item takes the place of the old one, so the targets keep their numbers
// (reports and analyses name targets by number).
void listReplace(const std::string& old, const std::string& item) {
    core::StrArray items = listedTargets();
    const long at = items.find(old, 1, core::Match::Exact);
    if (at < 1) return;
    items.set(at, item);
    INI_Put("Main", "LstTgts", CHUNKS_JoinEx(items, "|", kChunksNoExclusion, 1, false), gIniTargets);
    // The comment stays with the target.
    if (const std::string note = MB_ListComment("Main", kCommentEntry, gIniTargets, old); !note.empty()) {
        MB_ListCommentPut("Main", kCommentEntry, gIniTargets, old, "");
        MB_ListCommentPut("Main", kCommentEntry, gIniTargets, item, note);
    }
}

void listAdd(const std::string& item) {
    bool ok = false;
    CHUNKS_IniAdd("Main", "LstTgts", gIniTargets, item, "|", kChunksNoExclusion, 0, true, false, ok, 3, 0);
}

// A copy of the item's target in a new section, under the same label.
std::string targetCopy(const std::string& item) {
    TargetSpec target;
    if (const std::string section = STTA_TargetItemSection(item); !section.empty()) STTA_FltrLstLoad(section, target);
    core::StrArray ruleNames;
    const std::string section = STTA_TargetSectionNew(ruleNames);
    STTA_FltrLstSave(section, target);
    return section + kItemSep + itemLabel(item);
}

}  // namespace

void STTA_TargetDefine(std::string& item) {
    TargetSpec target;
    std::string section = STTA_TargetItemSection(item);
    if (section.empty())
        target.Typ = 4;
    else
        STTA_FltrLstLoad(section, target);
    // Every rule line of the dialog gets a value, so none keeps one from an earlier target.
    if (target.Rules.size() < static_cast<size_t>(kTargetDialogRules)) target.Rules.resize(kTargetDialogRules);
    STTA_TagOpsSave(gIniScreens, target);

    bool simple = target.Typ == 4;
    for (;;) {
        const int r = simple ? simpleDialogShow() : complexDialogShow();
        if (r == kOk) break;
        if (r != kSwitch) return;
        simple = !simple;
    }
    STTA_TagOpsLoad(gIniScreens, target);
    if (simple) target.Typ = 4;
    if (section.empty()) {
        core::StrArray ruleNames;
        section = STTA_TargetSectionNew(ruleNames);
    }
    STTA_FltrLstSave(section, target);
    item = section + kItemSep + STTA_TargetLabel(target);
}

long STTA_TargetsEdit() {
    const std::string before = targetsFileText();
    MB_ListDlgArgs list;
    list.itemWord = "Target";
    list.title = "Target Pages or Files";
    list.further = true;
    // Each change is stored as it is made: the way out says so rather than "Cancel".
    list.furtherCaption = "&Done";
    dlg::useStandardListButtons(list);
    list.commentEntry = kCommentEntry;
    for (;;) {
        const long result = MB_EditList("Main", "LstTgts", gIniTargets, list);
        switch (result) {
        case dlg::kListFurther:
        case dlg::kListOK: return targetsFileText() == before ? 1 : 2;
        case dlg::kListAdded: {
            std::string item;
            STTA_TargetDefine(item);
            if (!item.empty()) {
                listAdd(item);
                list.selection = item;
                list.state.clear();
            }
            break;
        }
        case dlg::kListActionA: {
            const std::string chosen = list.selection;
            if (chosen.empty()) break;
            std::string item = chosen;
            STTA_TargetDefine(item);
            if (item != chosen) listReplace(chosen, item);
            list.selection = item;
            list.state.clear();
            break;
        }
        case dlg::kListActionB: {
            const std::string chosen = CHUNKS_Get(1, list.selection);
            if (chosen.empty()) break;
            std::string item = targetCopy(chosen);
            STTA_TargetDefine(item);
            listAdd(item);
            list.selection = item;
            list.state.clear();
            break;
        }
        default: break;
        }
    }
}
