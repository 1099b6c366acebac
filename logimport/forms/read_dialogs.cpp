#include "logimport/forms/read_dialogs.h"

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "dialogs/msgbox.h"
#include "dialogs/option_strings.h"
#include "dialogs/paged_list_dialog.h"
#include "dialogs/ready_dialogs.h"
#include "logimport/filter_descriptions.h"
#include "logimport/forms/filter_dialogs.h"
#include "logimport/forms/component_filter_check.h"
#include "logimport/read_record.h"
#include "logimport/forms/test_reads.h"

namespace {

std::string siteName() { return INI_Get("Main", "Parm", gIniDbDef, kIniMissingDefault, ""); }

std::string flagState(bool on) { return on ? "1" : "0"; }

// The filter list of one filter file, with the column-code captions.
FltrListEditArgs listArgs(const std::string& iniFile, const std::string& selEntry, const std::string& listEntry,
                          const std::string& itemWord, const std::string& title) {
    FltrListEditArgs a;
    STTA_FltrColTypeCaptions(a.captions);
    a.iniFile = iniFile;
    a.selEntry = selEntry;
    a.listEntry = listEntry;
    a.itemWord = itemWord;
    a.title = title;
    return a;
}

// The list's own buttons, defined in the screens file under [Main] `entry`.
void withButtons(FltrListEditArgs& a, const std::string& entry) {
    a.ctlIniFile = gIniScreens;
    a.ctlSection = "Main";
    a.ctlEntry = entry;
}

// The selected main filters, each by its description, one a line.
std::string selectedMainFilters() {
    core::StrArray names, kept, descs, captions;
    CHUNKS_Split(INI_Get("Filters", "Fltr Sel", gIniLdLnFltr, kIniMissingDefault, ""), names, 1);
    STTA_FltrColTypeCaptions(captions);
    FLTR_FilterDescsBuild(names, gIniLdLnFltr, captions, "", false, kept, descs);
    std::string text;
    for (long i = 1; i <= descs.ubound(); ++i) {
        if (descs[i].empty()) continue;
        if (!text.empty()) text += gCR;
        text += descs[i];
    }
    return text;
}

}  // namespace

void STTA_ReadLogOptionsEdit() {
    ReadRec& rec = gReadRec;
    for (;;) {
        core::StrArray items;
        items.redim(0, 3);
        items.set(1, "No prompt for in&valid log lines. - Ignore log lines that cannot be interpreted, skip "
                     "files with no valid lines");
        items.set(2, "No prompt when log file has d&ates which overlap existing data. - Process file, check "
                     "for duplicates");
        items.set(3, "Keep List of &404 filenames. [Keep all filenames for raw log lines with HTTP status 4xx "
                     "or 5xx.]");
        std::string states = flagState(rec.NoPromptInvalid) + "|" + flagState(rec.NoPromptOverlap) + "|" +
                             flagState(rec.Keep404List);
        MB_PagedListArgs args;
        args.message = "Options for read log file" + gCR;
        args.caption = "Read Log Options";
        args.typeWords = "CheckBox";
        const bool listed = rec.ListedNames.inBounds(0) && rec.ListedNames[0] == "404";
        // After OK, so that Esc keeps the options rather than opening the list.
        if (listed) args.furtherCaptions = "&List 404s.";
        MB_CtlEntry controls;
        long result = 0;
        MB_CheckListPaged(args, items, states, controls, result);
        rec.NoPromptInvalid = CHUNKS_Get(1, states) == "1";
        rec.NoPromptOverlap = CHUNKS_Get(2, states) == "1";
        rec.Keep404List = CHUNKS_Get(3, states) == "1";
        if (!listed || result != 2) return;
        STTA_PageNamesList("List of filenames for raw log lines with HTTP status 4xx or 5xx. "
                           "[for raw log file(s) read last]",
                           rec.ListedNames, rec.ListedCounts, INI_GetFlag("Main", "RemQuery", gIniDbDef, kIniMissingEmpty),
                           INI_GetFlag("Main", "RemFrag", gIniDbDef, kIniMissingEmpty), false);
    }
}

bool STTA_FltrChoose(const std::string& intro, const std::string& title) {
    const MB_ShowExArgs args{.controls = {.section = "Main",
                                          .entry = "AddLogData_SelFltrs",
                                          .iniFile = gIniScreens,
                                          .valuesFile = "::*"}};
    const std::string options = MB_OptMinWidth(9000) + MB_OptDfltButton(4);
    for (;;) {
        const std::string selected = TXT_FitLen(selectedMainFilters(), 450, " ...");
        const std::string message = intro + "Filter selected:" + gCR + selected + gCR;
        long extra = 0;
        const long r = MB_ShowEx(message, "1", options, title + " Site DB: " + siteName(), args, nullptr, &extra);
        if (r == extra + 1) {
            // Without "Add all log lines" the read needs a main filter; an empty choice
            // would add every line as if the box were ticked.
            if (INI_GetFlag("Main", "All", "::*", kIniMissingTrue) || !selectedMainFilters().empty()) return true;
            MB_Info("No main filter is selected. Choose one with \"Main Filter ...\", or tick \"Add all log "
                    "lines\".");
            continue;
        }
        if (r == extra + 2) return false;
        if (r == 1) STTA_LdLnFltrListEdit();
        if (r == 2) STTA_FltrBotsListEdit(gIniFltrBots);
        if (r == 3) STTA_FltrFilesListEdit();
    }
}

void STTA_LdLnFltrListEdit() {
    FltrListEditArgs a = listArgs(gIniLdLnFltr, "Fltr Sel", "SelLst", "Filter",
                                  "Main Filter to add/exclude lines [Site DB: " + siteName() + "]");
    a.allowMultiple = true;
    long choice = 0;
    FLTR_FilterListEdit(a, choice);
}

void STTA_FltrFilesListEdit() {
    FltrListEditArgs a = listArgs(gIniFltrFiles, "Fltr Sel", "SelLst", "Filter",
                                  "Filter to identify files to be SKIPPED. [Site DB: " + siteName() + "]");
    a.allowMultiple = true;
    bool firstMode = true;
    for (;;) {
        if (firstMode) {
            withButtons(a, "DefFltrFiles");
            a.instruction = "Select a single filter in this list";
        } else {
            withButtons(a, "");
            a.instruction = "Use new filter & choose \"multiple conditions\" to use more than one rule.";
        }
        long choice = 0;
        const int r = FLTR_FilterListEdit(a, choice);
        if (r == 7 && choice == 1) {
            STTA_FileFltrCheck(false);
        } else if (r == 7 && choice == 2) {
            firstMode = !firstMode;
        } else {
            if (firstMode) return;
            firstMode = true;
        }
    }
}

void STTA_PPFindBotsListEdit() {
    FltrListEditArgs a = listArgs(gIniPPFindBots, "Fltr Sel", "SelLst", "filter",
                                  "filter used to identify user agent strings that are bots [All Site DBs]");
    a.allowMultiple = true;
    long choice = 0;
    FLTR_FilterListEdit(a, choice);
}

void STTA_FltrBotsListEdit(const std::string& iniFile) {
    FltrListEditArgs a = listArgs(iniFile, "FltrBotsUASel", "SkipRobotUserAgents", "Bot Filter",
                                  "filters used to exclude robots and crawlers. This list used for all Site DBs." +
                                      std::string(150, ' ') + gCRCR +
                                      "NB **ALL** filters are Applied when option to exlude robots is checked." +
                                      gCR + "Change filters as required");
    withButtons(a, "DefFltrBotsUA");
    for (;;) {
        long choice = 0;
        if (FLTR_FilterListEdit(a, choice) != 7 || choice != 1) return;
        STTA_UACheck();
    }
}
