#include "logimport/forms/test_reads.h"

#include <algorithm>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "dialogs/msgbox.h"
#include "dialogs/option_strings.h"
#include "dialogs/ready_dialogs.h"
#include "logimport/filter_store.h"
#include "logimport/forms/log_file_lists.h"
#include "logimport/log_format.h"
#include "logimport/forms/read_dialogs.h"
#include "logimport/forms/robot_filters.h"
#include "logimport/forms/test_read_lists.h"

namespace {

const std::string kCheckCaption = "Check Definitions of SE Referrer Strings VS. Log File";
const std::string kNewReadCaption = "Ne&w Read - Chk another log or Read Again with Other Filters";

// Counts as the checks show them: whole numbers without grouping.
std::string plainCount(double n) { return TXT_FormatDbl(n, "0"); }

std::string checkOptions() { return MB_OptEsc(1) + MB_OptDfltButton(1) + MB_OptMaxButtonsPerLine(2); }

// Every distinct value of the last test read, one per row.
void listAll(const core::StrArray& values, long fieldNo, const std::string& word) {
    // Item 0 is the tally's empty starting item, not a value found.
    core::StrArray rows;
    for (long i = 0; i <= values.ubound(); ++i)
        if (i > 0 || !values[i].empty()) rows.append(values[i]);
    logimport::ResultList list{.header = STTA_LogFieldCaption(fieldNo),
                               .layout = "|||||||||1||{7800}||||True",
                               .back = fieldNo == kFldReferrer ? "&Cancel" : "&Back to definitions",
                               .hint = word + " and use Ctrl + Double-Click to view in full"};
    long chosen = 0;
    logimport::showResultList(rows, list, chosen);
}

// What each robot filter rejected in the last test read.
void robotRejectsShow() {
    std::string message;
    STTA_BotFltrHitsShow(gReadRec.Test.RobotRejectAgents, gReadRec.Test.RobotRejectCounts, message);
}

std::string withoutAccessKeys(const std::string& caption) { return TXT_Replace(caption, "&", "", true); }

// What the read found about its log format, before its results.
void formatNotesShow(const ReadRec& rec) {
    if (rec.FormatNotes.empty()) return;
    std::string text = "Test read finished. The log format may not fit the log file:";
    for (const std::string& note : rec.FormatNotes) text += gCRCR + note;
    MB_Info(text);
}

}  // namespace

namespace logimport {

std::string testReadMessage(long kind) {
    std::string text;
    if (kind == kFldReferrer)
        text = "Read Log file to find search engine referrer strings that cannot be interpreted.";
    else if (kind == kFldUserAgent)
        text = "Read Log file to list user agent [browser] strings that cause log lines to be skipped by each "
               "robots filter.";
    else
        text = "Read Log file to find " + STTA_LogFieldCaption(kind) + "s.";
    text += gCRCR + "The selected log file[s] will be read using the same filters you have specified for add log lines.";
    if (kind == kFldReferrer)
        text += gCR + "All referrer strings identified as search engines will be checked for a search term." + gCRCR +
                "When read of log file is complete you will be shown a list of referrers that could not be "
                "interpreted. You can use this list to improve the definitions for search engine referrer strings.";
    else if (kind == kFldUserAgent)
        text += gCR + "All user agent strings will be checked by each robot filter." + gCRCR +
                "When read of log file is complete you will be shown a list of user agents that were skipped for "
                "each filter. You can use this list to improve the filters.";
    return text + gCRCR + "To get started select an *uncompressed* log file and specify it's format.";
}

}  // namespace logimport

bool STTA_TestReadRun(long kind, bool robotTally, bool startAtOnce) {
    const MB_ShowExArgs args{.controls = {.section = "LogDataTstRefr", .entry = "Ctls", .iniFile = gIniScreens},
                             .shift = true,
                             .dfltButton = 1,
                             .escButton = 2};
    for (;;) {
        long pressed = 1;
        if (startAtOnce) {
            startAtOnce = false;
        } else {
            long extras = 0;
            pressed = MB_ShowEx(logimport::testReadMessage(kind), "Sta&rt. Read Log File|Don&e|Read O&ptions",
                                MB_OptMinWidth(11000), "", args, nullptr, &extras);
            if (pressed <= 0) {
                // The buttons of the dialog definition come first: the log file, the filters.
                if (pressed + extras == 1) {
                    std::string entry = logimport::testReadLogEntry();
                    STTA_LogFileSpecChoose(entry);
                    logimport::testReadLogEntrySet(entry);
                } else if (pressed + extras == 2) {
                    STTA_FltrChoose("", "Check SE referrer definitions against log file. Filter lines to check.");
                }
                continue;
            }
        }
        if (pressed == 2) return false;
        if (pressed == 3) {
            STTA_ReadLogOptionsEdit();
            continue;
        }
        if (pressed != 1) continue;
        dao::Database& db = logimport::siteDatabase();
        if (core::trimBlanks(logimport::testReadLogEntry()).empty()) {
            // Reading nothing would look like a log without findings.
            MB_Info("Choose the log file to read first.");
            continue;
        }
        logimport::testReadExecute(kind, robotTally, db);
        formatNotesShow(gReadRec);
        return true;
    }
}

void STTA_LogFldValuesList() {
    if (!STTA_TestReadRun(kFldStatus, false, false)) return;
    core::StrArray rows = logimport::valueCountRows(gReadRec.Test.FieldValues, gReadRec.Test.FieldValueCounts);
    logimport::ResultList list{.header = STTA_LogFieldCaption(kFldStatus) + "\tLogLines",
                               .layout = "9500|||||||||1||{7800|900}||||True|True|1",
                               .back = "&Back to definitions",
                               .hint = "filename and use Ctrl + Double-Click to view in full"};
    long chosen = 0;
    logimport::showResultList(rows, list, chosen);
}

void STTA_SERefCheckRead() {
    if (!STTA_TestReadRun(kFldReferrer, false, false)) return;
    core::StrArray undefinedRows, referrersPerHost, unknownHosts;
    STTA_SERefCheckLists(gReadRec, undefinedRows, referrersPerHost, unknownHosts);
    STTA_UndefinedSTList(undefinedRows, referrersPerHost, unknownHosts);
}

void STTA_SERefCheck() {
    const TestReadRec& test = gReadRec.Test;
    if (test.Referrers.ubound() <= 0) {
        STTA_SERefCheckRead();
        return;
    }
    for (;;) {
        core::StrArray undefinedRows, referrersPerHost, unknownHosts;
        STTA_SERefCheckLists(gReadRec, undefinedRows, referrersPerHost, unknownHosts);
        const std::string message =
            "Last Read Found " + std::to_string(std::max(0L, test.Referrers.ubound())) + " referrers in " +
            plainCount(logimport::testReadLines(gReadRec)) + " log lines." + gCRCR +
            withoutAccessKeys(kUndefinedSTCaption) + ": " + std::to_string(undefinedRows.count()) + gCR +
            withoutAccessKeys(kUnknownSECaption) + ": " + std::to_string(unknownHosts.count()) + gCRCR +
            "Press button to display unknown referrers from last read data or to read another log file.";
        const std::string buttons = CHUNKS_ListOf("&Back to Definitions", kNewReadCaption,
                                                  "Lis&t All Referrer strings", kUndefinedSTCaption,
                                                  kUnknownSECaption);
        switch (MB_MsgBox(message, buttons, checkOptions(), kCheckCaption)) {
            case 2:
                STTA_SERefCheckRead();
                break;
            case 3:
                listAll(gReadRec.Test.Referrers, kFldReferrer, "referrer");
                break;
            case 4:
                STTA_UndefinedSTList(undefinedRows, referrersPerHost, unknownHosts);
                break;
            case 5:
                STTA_UnknownSEList(undefinedRows, referrersPerHost, unknownHosts);
                break;
            default:
                return;
        }
    }
}

void STTA_UACheckRead() {
    if (!STTA_TestReadRun(kFldUserAgent, true, false)) return;
    robotRejectsShow();
}

void STTA_UACheck() {
    const TestReadRec& test = gReadRec.Test;
    if (test.UserAgents.ubound() <= 0) {
        STTA_UACheckRead();
        return;
    }
    for (;;) {
        const std::string message =
            "Last Read Found " + std::to_string(std::max(0L, test.UserAgents.ubound())) + " user agent strings in " +
            plainCount(logimport::testReadLines(gReadRec)) + " log lines." + gCRCR + "Robot Filters Used: " +
            std::to_string(std::max(0L, test.RobotRejectAgents.ubound())) + gCRCR +
            "Press button to display entire user agent strings for each filter used from last read data." + gCR +
            "Press \"New Read\" to read another log file.";
        const std::string buttons = CHUNKS_ListOf("&Back to Definitions", kNewReadCaption,
                                                  "Lis&t All User Agent [Browser] strings",
                                                  "User Agents Re&jected by each Robot Filter");
        switch (MB_MsgBox(message, buttons, checkOptions(), kCheckCaption)) {
            case 2:
                STTA_UACheckRead();
                break;
            case 3:
                listAll(gReadRec.Test.UserAgents, kFldUserAgent, "user agent");
                break;
            case 4:
                robotRejectsShow();
                break;
            default:
                return;
        }
    }
}
