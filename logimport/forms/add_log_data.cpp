#include "logimport/forms/add_log_data.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/dates.h"
#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "dialogs/msgbox.h"
#include "dialogs/option_strings.h"
#include "dialogs/ready_dialogs.h"
#include "logimport/addition_history.h"
#include "logimport/engine_summary.h"
#include "logimport/forms/component_filter_check.h"
#include "logimport/forms/engine_summary_dialogs.h"
#include "logimport/filter_store.h"
#include "logimport/forms/log_file_lists.h"
#include "logimport/logline_store.h"
#include "logimport/raw_log_reader.h"
#include "logimport/forms/read_dialogs.h"
#include "logimport/forms/robot_filters.h"
#include "logimport/forms/test_reads.h"
#include "logimport/robot_preprocessing.h"
#include "logimport/visit_building.h"

namespace {

std::string siteName() { return INI_Get("Main", "Parm", gIniDbDef, 7, ""); }

std::string logFileSpec() { return CHUNKS_Get(1, INI_Get("Main", "PAFNlog", "::*", 3)); }

// Now, to the minute.
double nowToMinute() {
    const double now = core::vbNow();
    return static_cast<double>(static_cast<long>(now)) + std::floor((now - static_cast<long>(now)) * 1440) / 1440;
}

std::string elapsed(double from) { return TXT_ElapsedText(from, nowToMinute()); }

std::string count(double n) { return core::vbFormat(n, "#,###,###,###,##0"); }

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
                   "To preread and list PageNames that do not yet exist on the site DB, press \"List PageName\" "
                   "[same as: Check vs Log File]" + gCR + "Press OK to continue with add data.";
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
    const std::string spec = logFileSpec();
    STTA_TestReadInit(spec, gReadRec.Test, true, false, false, -1);
    gReadRec.ErrStatusInTest = true;
    STTA_NotFoundListReset(gReadRec);
    STTA_BotFindFltrLoad(gReadRec);
    gReadRec.RobotSet.Active = false;
    gReadRec.CompSet.Active = false;
    bool dated = false;
    if (!RawLog_AddData_ReadLogFiles_OK(logimport::siteDatabase(), spec, "Preprocessing - Check for new robots.",
                                        "Preprocessing. ", dated))
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
    gReadRec.Test.Active = false;
    return dated;
}

// The totals of all files of the run, for the closing record and the completion text.
void runTotalsToFileCounters(ReadRec& rec) {
    auto toLong = [](double hits) {
        return static_cast<long>(std::clamp(hits, 0.0, static_cast<double>(std::numeric_limits<long>::max())));
    };
    rec.File = rec.Run;
    rec.MainSet.Hits = toLong(rec.RunMainHits);
    rec.RobotSet.Hits = toLong(rec.RunRobotHits);
    rec.CompSet.Hits = toLong(rec.RunCompHits);
}

// The main pass: read, visits, history, completion message.
void mainPass(std::string& status, const std::string& preprocessingTime) {
    dao::Database& db = logimport::siteDatabase();
    const std::string spec = logFileSpec();
    if (core::trimBlanks(spec).empty()) {
        status = "Choose the log file to add first (Log File ...).";
        return;
    }
    const double start = nowToMinute();
    const std::string title = "Add Log Data to Site DB: " + siteName();
    bool dated = false;
    gReadRec.VisitsWhileReading = true;  // the visits are built right after
    const bool read = RawLog_AddData_ReadLogFiles_OK(db, spec, title, "Add. Step 1/3: ", dated);
    if (!read) status = "Read raw log data cancelled or failed.";
    bool partial = false;
    long visits = 0;
    if (read || MB_MsgBox("Read log file stopped. Do you want to add visit data for log records processed so far?",
                          "&Yes|&No", "", "") == 1)
        visits = LogLnRaw_Add(db, gReadRec, partial);
    const std::string mainTime = elapsed(start);
    if (gSEDayKeys.hasBounds()) logimport::seDayKeysSort(gSEDayKeys, gSEDayCounts);
    // The completion speaks of the whole run, not of the file read last.
    runTotalsToFileCounters(gReadRec);
    if (read) {
        // A run in which no file could be read has added nothing, whatever the read says.
        status = dated ? "Data added." + gCRCR + "Press Done and select a report from the Reports menu to analyse data."
                       : "No lines added: no log file could be read." + gCRCR +
                             "Press \"List Problem Files for last read\" to see why.";
        STTA_AddDataLogWrite(spec, mainTime, gReadRec, preprocessingTime,
                             partial ? "** Part Done **" : kHistoryDone, "** End ADD ** Totals. All Files.",
                             {.saveSummary = true, .counters = true, .options = true, .filters = true,
                              .problems = true},
                             "", "", std::to_string(visits));
    }
    if (MB_MsgBox(title + gCRCR + STTA_AddCompletionText(spec, mainTime, gReadRec, preprocessingTime, ""),
                  "&OK|Show SE Summar&y", MB_OptDfltButton(1) + MB_OptEsc(1),
                  "Read Log Data Complete. Site DB: " + siteName()) == 2)
        STTA_SESummaryShow(gSEDayKeys, gSEDayCounts);
}

void run(std::string& status) {
    status.clear();
    bool mainWanted = INI_GetFlag("Main", "DoAdd", "::*", 3);
    gReadRec.ProblemFiles.redim(0, 0);
    gReadRec.ProblemTexts.redim(0, 0);
    const double start = nowToMinute();
    const bool preprocess = INI_GetFlag("Main", "newbots", "::*", 3);
    if (preprocess && !preprocessingPass(status)) mainWanted = false;
    const std::string preprocessingTime = preprocess ? elapsed(start) : std::string();
    if (!mainWanted) return;
    if (!confirmFilters(status, preprocess)) return;
    mainPass(status, preprocessingTime);
}

}  // namespace

bool STTA_ResultsReadyCheck() { return true; }

std::string STTA_AddCompletionText(const std::string& fileSpec, const std::string& mainTime, const ReadRec& rec,
                                   const std::string& preprocessingTime, const std::string& statusText) {
    std::string skippedText, detail;
    double skipped = 0;
    STTA_SkipStatsText(skippedText, detail, rec, true, skipped);
    const double added = rec.File.LinesAccepted;
    std::string text = "Total log lines read: " + count(skipped + added) + " in " + mainTime + ".";
    if (!preprocessingTime.empty()) text += " [Preprocessing: " + preprocessingTime + "]";
    text += gCR + (statusText.empty() ? "Added: " + count(added) + gCRCR : statusText) + skippedText + gCRCR + detail +
            gCRCR + STTA_FltrChoiceText(fileSpec, rec) + gCRCR + "Data from " +
            core::vbFormat(core::DateTime{rec.File.FirstStamp}, "dd mmm yyyy") + " to " +
            core::vbFormat(core::DateTime{rec.File.LastStamp}, "dd mmm yyyy") + gCR +
            "Total bandwidth for all lines read: " + core::vbFormat(rec.File.BytesMatched / 1024 / 1024, "#,##0.0") +
            " Meg.";
    return text;
}

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
            std::string entry = INI_Get("Main", "PAFNlog", "::*", 3);
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
            STTA_SESummaryShow(gSEDayKeys, gSEDayCounts);
        } else if (r == extra + 5) {
            STTA_ProblemFilesShow(gReadRec.ProblemFiles, gReadRec.ProblemTexts);
        }
    }
}
