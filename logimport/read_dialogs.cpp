#include "logimport/read_dialogs.h"

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "dialogs/option_strings.h"
#include "dialogs/paged_list_dialog.h"
#include "dialogs/ready_dialogs.h"
#include "logimport/read_record.h"

namespace {

std::string siteName() { return INI_Get("Main", "Parm", gIniDbDef, 7, ""); }

std::string flagState(bool on) { return on ? "1" : "0"; }

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
    }
}

bool STTA_FltrChoose(const std::string& intro, const std::string& title) {
    const MB_ShowExArgs args{.controls = {.section = "Main",
                                          .entry = "AddLogData_SelFltrs",
                                          .iniFile = gIniScreens,
                                          .valuesFile = "::*"}};
    const std::string options = MB_OptMinWidth(9000) + MB_OptDfltButton(4);
    for (;;) {
        const std::string selected = TXT_FitLen(INI_Get("Filters", "Fltr Sel", gIniLdLnFltr, 7, ""), 450, " ...");
        const std::string message = intro + "Filter selected:" + gCR + selected + gCR;
        long extra = 0;
        const long r = MB_ShowEx(message, "1", options, title + " Site DB: " + siteName(), args, nullptr, &extra);
        if (r == extra + 1) return true;
        if (r == extra + 2) return false;
    }
}
