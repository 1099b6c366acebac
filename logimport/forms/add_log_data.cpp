#include "logimport/forms/add_log_data.h"

#include "core/dates.h"
#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "dialogs/msgbox.h"
#include "dialogs/option_strings.h"
#include "dialogs/ready_dialogs.h"
#include "logimport/addition_run.h"
#include "logimport/forms/component_filter_check.h"
#include "logimport/forms/engine_summary_dialogs.h"
#include "logimport/filter_store.h"
#include "logimport/forms/log_file_lists.h"
#include "logimport/forms/read_dialogs.h"
#include "logimport/forms/robot_filters.h"
#include "logimport/forms/test_reads.h"
#include "logimport/log_format.h"
#include "logimport/robot_preprocessing.h"
#include "logimport/visit_building.h"

namespace {

std::string siteName() { return INI_Get("Main", "Parm", gIniDbDef, kIniMissingDefault, ""); }

// Item 1 of the stored list, kept a list of its own so that a "|" in a file name stays.
std::string logFileSpec() {
    std::string spec, defName;
    STTA_LogFileEntrySplit(CHUNKS_Get(1, INI_Get("Main", "PAFNlog", "::*", kIniMissingEmpty)), spec, defName);
    return STTA_LogFileEntryJoin(spec, defName);
}

// Confirms the filters of the main pass; false when the user cancelled. After a
// preprocessing pass the failed-request list it collected is kept.
bool confirmFilters(std::string& status, bool preprocessed) {
    for (;;) {
        STTA_FltrSetsLoad(gReadRec);
        gReadRec.Test.Active = false;
        gReadRec.Test.TallyRobotRejects = false;
        if (preprocessed)
            gReadRec.ListedStatus = 0;
        else
            STTA_NotFoundListReset(gReadRec);
        std::string message;
        if (!status.empty()) message = "Preprocessing [check robots] - Done. " + status + gCRCR + "----------" + gCRCR;
        message += "Main Processing [add lines]. - To Do Next." + gCRCR +
                   "Confirm selections and press OK to add data now." + gCRCR +
                   STTA_FltrChoiceText(logFileSpec(), gReadRec) + gCRCR +
                   "To preread and list PageNames that do not yet exist on the site DB, press \"List PageNames\" "
                   "[same as: Check filter vs. log file]" + gCR + "Press OK to continue with add data.";
        const int r = MB_MsgBox(message, "&OK|&Cancel|Edi&t Filters|List &PageNames",
                                MB_OptDfltButton(1) + MB_OptEsc(2),
                                "Confirm Filters for main processing. Add to Site DB: " + siteName());
        if (r == 1) return true;
        if (r == 2) return false;
        if (r == 3 && !STTA_FltrChoose("Confirm selection of filters for main processing and press OK to continue." +
                                           gCRCR,
                                       "Main Processing - Add log lines to database.")) {
            status = "Add log to database cancelled ";
            return false;
        }
        if (r == 4) STTA_FileFltrCheck(true);
    }
}

// The preprocessing pass: a test read of the lines that identify robots, then the
// choice of their user agents as new robot filters. False when the read could not
// date any log file, which turns the main pass off for this run.
bool preprocessingPass(std::string& status) {
    bool dated = false;
    if (!logimport::robotFindingRead(logimport::siteDatabase(), logFileSpec(), gReadRec, dated))
        status = "Read raw log data cancelled or failed.";
    core::StrArray candidates, chosen;
    core::LngArray counts;
    STTA_RobotsFind(gReadRec, candidates, counts);
    status = "No new filters created.";
    if (LLIST_StrArrHasNonBlank(candidates, true)) {
        STTA_BotUAsChoose(candidates, counts, chosen);
        if (LLIST_StrArrHasNonBlank(chosen, true)) {
            status = "New filters for robot and crawler user agents created successfully.";
            STTA_RobotFiltersWrite(chosen, gIniFltrBots, kRobotFilterList, 2, kFltrStartsWith, false);
            STTA_FltrBotsListEdit(gIniFltrBots);
        }
    }
    return dated;
}

// The main pass, then its completion message.
void mainPass(std::string& status, const std::string& preprocessingTime) {
    const std::string spec = logFileSpec();
    if (core::trimBlanks(spec).empty()) {
        status = "Choose the log file to add first (Log File ...).";
        return;
    }
    const std::string title = "Add Log Data to Site DB: " + siteName();
    logimport::MainPassResult pass =
        logimport::additionMainPass(logimport::siteDatabase(), spec, title, preprocessingTime, gReadRec);
    gReadRec.LastRunSEDays = std::move(pass.engineDays);
    if (!pass.read)
        status = "Read raw log data cancelled or failed.";
    else if (pass.dated)
        status = "Data added." + gCRCR + "Press Done and select a report from the Reports menu to analyse data.";
    else  // no file could be read: nothing was added, whatever the read says
        status = "No lines added: no log file could be read." + gCRCR +
                 "Press \"List Problem Files for last read\" to see why.";
    if (MB_MsgBox(title + gCRCR + STTA_AddCompletionText(spec, pass.mainTime, gReadRec, preprocessingTime, ""),
                  "&OK|Show SE Summar&y", MB_OptDfltButton(1) + MB_OptEsc(1),
                  "Read Log Data Complete. Site DB: " + siteName()) == 2)
        STTA_SESummaryShow(gReadRec.LastRunSEDays.Keys, gReadRec.LastRunSEDays.Counts);
}

void run(std::string& status) {
    status.clear();
    if (!logimport::siteTakesData(logimport::siteDatabase())) {
        status = "Log data not added: the site database is damaged.";
        return;
    }
    bool mainWanted = INI_GetFlag("Main", "DoAdd", "::*", kIniMissingEmpty);
    gReadRec.ProblemFiles.redim(0, 0);
    gReadRec.ProblemTexts.redim(0, 0);
    const double start = logimport::nowToMinute();
    const bool preprocess = INI_GetFlag("Main", "newbots", "::*", kIniMissingEmpty);
    if (preprocess && !preprocessingPass(status)) mainWanted = false;
    const std::string preprocessingTime = preprocess ? TXT_ElapsedText(start, logimport::nowToMinute()) : std::string();
    if (!mainWanted) return;
    if (!confirmFilters(status, preprocess)) return;
    mainPass(status, preprocessingTime);
}

}  // namespace

void STTA_AddLogData() {
    long visits = 0;
    STTA_IncompleteAddFinish(logimport::siteDatabase(), gReadRec, visits);
    const MB_ShowExArgs args{.controls = {.section = "Main", .entry = "AddLogData", .iniFile = gIniScreens,
                                          .valuesFile = "::*"}};
    std::string status;
    for (;;) {
        const std::string site = siteName();
        std::string message = "Select File to add, Processing to be done, Filters to be used." + gCRCR +
                              "Current Site DB: " + site + gCR;
        if (!status.empty()) message += gCR + status;
        std::string buttons = "Sta&rt. Read Log File|Don&e|O&ptions|SE Summar&y";
        if (LLIST_StrArrUBound(gReadRec.ProblemFiles, -1) > 0) buttons += "|List Proble&m Files for last read";
        long extra = 0;
        const long r = MB_ShowEx(message, buttons,
                                 MB_OptMinWidth(11000) + MB_OptDfltButton(4) + MB_OptEsc(5),
                                 "Add Log Data to Database. Select File, Processing to do, Filters. Site DB: " + site,
                                 args, nullptr, &extra);
        status.clear();
        if (r == extra + 2 || r <= 0) return;
        if (r == 1) {
            std::string entry = INI_Get("Main", "PAFNlog", "::*", kIniMissingEmpty);
            STTA_LogFileSpecChoose(entry);
            INI_Put("Main", "PAFNlog", entry, "::*");
        } else if (r == 2) {
            STTA_PPFindBotsListEdit();
        } else if (r == 3) {
            STTA_FltrChoose("", "Main Processing - Add log lines to database.");
        } else if (r == extra + 1) {
            run(status);
        } else if (r == extra + 3) {
            STTA_ReadLogOptionsEdit();
        } else if (r == extra + 4) {
            STTA_SESummaryShow(gReadRec.LastRunSEDays.Keys, gReadRec.LastRunSEDays.Counts);
        } else if (r == extra + 5) {
            STTA_ProblemFilesShow(gReadRec.ProblemFiles, gReadRec.ProblemTexts);
        }
    }
}
