#include "logimport/forms/robot_filters.h"

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "dialogs/list_dialog.h"
#include "dialogs/msgbox.h"
#include "dialogs/two_list_selector.h"
#include "logimport/filter_descriptions.h"
#include "logimport/forms/filter_dialogs.h"
#include "logimport/filter_store.h"
#include "logimport/log_format.h"
#include "logimport/read_record.h"

namespace {

const std::string kSkipFiltersEntry = "skipFtrs";

// One rule per listed skip filter, from 1; a missing section never matches.
FltrRules skipRules() {
    const core::StrArray names = fltr::listNames(kSkipFiltersEntry, gIniPPFindBotsSkipUAs);
    FltrRules rules(1);
    for (long i = 1; i <= names.ubound(); ++i) FLTR_ReadRule(names[i], gIniPPFindBotsSkipUAs, rules.emplace_back(), 1);
    return rules;
}

// The stored field code of the field a loaded rule tests; -1 for none.
long colTypeOfField(long field) {
    switch (field) {
    case kFldReferrer: return 0;
    case kFldFileName: return 1;
    case kFldUserAgent: return 2;
    case kFldStatus: return 3;
    default: return -1;
    }
}

// The example of a generic user agent is a made-up one: it shows the shape of a
// browser's user agent without naming any real browser or system.
std::string chooseMessage() {
    return "The following user agents were found for log lines with selected filter [usually file robots.txt]." +
           gCRCR + "1. Select user agents to exclude from list on the left." + gCR +
           "2. Click Add to move items to the list on the right." + gCR +
           "3. Press OK to create filters for items selected on the right. " + gCR +
           "4. After User-Agent-Robot-Filters have been created, you can edit the complete filter list." + gCRCR +
           "Do NOT select generic type user agent names [E.g. Agent/5.0 (Desktop; OS 10.1) Engine/20061204 "
           "Browser/2.0.0.1] even though these may have been used sometimes to access file robots.txt. If you do "
           "so, you will reject real users." +
           gCRCR + "For convenience, user agent names can be added to a skip list or filtered here." + gCR +
           "Items removed from (ONLY) this list when EITHER in the skip list OR satisfy a skip filter." + gCR;
}

}  // namespace

namespace fltr {

std::vector<std::string> botHitsRows(const FltrSet& robots, const core::StrArray& values,
                                     const core::LngArray& counts) {
    core::StrArray captions;
    STTA_FltrColTypeCaptions(captions);
    std::vector<std::string> rows;
    for (long i = 1; i <= FLTR_RuleUBound(robots.Rules); ++i) {
        const long count = LLIST_LngArrItem(counts, i, 0);
        if (count <= 0) continue;
        const long field = i < static_cast<long>(robots.ColTypes.size()) ? robots.ColTypes[static_cast<std::size_t>(i)] : 0;
        rows.push_back(FLTR_FilterRuleText(robots.Rules[static_cast<std::size_t>(i)], colTypeOfField(field), captions) +
                       "\t" + LLIST_StrArrItem(values, i, "") + "\t" + std::to_string(count));
    }
    return rows;
}

}  // namespace fltr

int STTA_BotUAsChoose(const core::StrArray& userAgents, const core::LngArray& counts, core::StrArray& chosen) {
    chosen.erase();
    for (;;) {
        core::StrArray offered = userAgents;
        core::LngArray offeredCounts = counts;
        STTA_SkipUAsApply(offered, offeredCounts);
        core::StrArray skip;
        CHUNKS_IniGet("Main", "SkipUA", gIniPPFindBotsSkipUAs, "|", kChunksNoExclusion, skip, 1, 3);

        MBX_SelectParams p;
        p.itemWord = "user agent string from HTTP request";
        p.message = chooseMessage();
        p.minWidth = 15000;
        p.bottomText = "Press OK to create filters for items selected on the right";
        p.bottomText2 = "Press Cancel to skip filter creation.";
        p.extraButtons = "Change Ski&p Filters";
        p.copyToSkipCaption = "&";
        const int pressed = MBX_TwoListSelect(chosen, offered, offeredCounts, skip, p);

        CHUNKS_IniPut("Main", "SkipUA", gIniPPFindBotsSkipUAs, skip, "|", kChunksNoExclusion, 1, true);
        if (pressed == 7 && p.pressedExtraButton == 1) {
            STTA_SkipFltrsEdit();
            continue;
        }
        if (pressed != 2) chosen.erase();
        return pressed;
    }
}

void STTA_SkipUAsApply(core::StrArray& userAgents, core::LngArray& counts) {
    const FltrRules rules = skipRules();
    // Downwards, so the items still to test keep their indices.
    for (long i = userAgents.ubound(); i >= 1; --i) {
        if (!FLTR_EvalValueRules(userAgents[i], rules, true)) continue;
        userAgents.removeAt(i);
        if (counts.inBounds(i)) counts.removeAt(i);
    }
}

int STTA_SkipFltrsEdit() {
    const std::string both =
        "NB Both Skip Filter and Skip List are used only in preprocessing. They suppress standard user agents "
        "usually used as browsers but which were also used to request robots.txt." +
        gCRCR + "This gives a shorter list of user agents to potentially add as robot-identifiers.";
    FltrListEditArgs a;
    a.captions.redim(0, 0);
    a.captions.set(0, "User agent [Browser]");
    a.iniFile = gIniPPFindBotsSkipUAs;
    a.selEntry = "not used";
    a.listEntry = kSkipFiltersEntry;
    a.itemWord = "Skip Filter";
    a.message = "Define Skip Filter." + gCRCR + both + gCRCR + "Do not show Items";
    a.instruction = "Skip Filter" + gCRCR + both + gCRCR +
                    "Return to List of user agents found to edit Skip List. Change Skip Filters here";
    long extra = 0;
    return FLTR_FilterListEdit(a, extra);
}

void STTA_BotFltrHitsShow(const core::StrArray& values, const core::LngArray& counts, std::string& message) {
    if (message.empty())
        message = "List of user agent strings that will cause line to be skipped." + gCRCR +
                  "Check each robot filter to make sure it is not skipping lines for real visitors (user agent "
                  "strings for commonly used browsers).";
    const std::vector<std::string> rows = fltr::botHitsRows(gReadRec.RobotSet, values, counts);
    if (rows.empty()) {
        MB_Info("No filters used");
        return;
    }
    core::StrArray items;
    items.redim(1, static_cast<long>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) items.set(static_cast<long>(i) + 1, rows[i]);

    MB_ListDlgArgs table;
    table.itemWord = "filter to see values as a list";
    table.message = message;
    table.pickOnly = true;
    table.further = true;
    table.furtherCaption = "&Back to definitions";
    table.furtherCaptions = "Lis&t User Agents [for selected filter]";
    table.needChoice = "|x";  // the list button needs a chosen filter
    table.gridSpec = "11000|||||||||1||{5000|4800|600}";
    table.header = "Filter\tUser Agent Values\t# Found";
    while (MB_ListDlg(items, table) == dlg::kListOther) {
        core::StrArray agents;
        CHUNKS_Split(CHUNKS_GetEx(2, "\t", kChunksNoExclusion, table.selection, ""), agents, 1);
        MB_ListDlgArgs list;
        list.itemWord = "browser [user agent] string";
        list.pickOnly = true;
        list.ok = true;
        list.gridSpec = "|||||||||1";  // a fixed header row, not a blank first value
        list.header = "User Agent Values";
        MB_ListDlg(agents, list);
    }
}
