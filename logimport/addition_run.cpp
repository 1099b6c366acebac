#include "logimport/addition_run.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/dates.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "core/vb_format.h"
#include "logimport/addition_history.h"
#include "logimport/engine_summary.h"
#include "logimport/filter_store.h"
#include "logimport/import_run.h"
#include "logimport/logline_store.h"
#include "logimport/raw_log_reader.h"
#include "logimport/visit_building.h"

namespace {

std::string count(double n) { return core::vbFormat(n, "#,###,###,###,##0"); }

}  // namespace

namespace logimport {

bool siteTakesData(dao::Database& db) {
    const std::string found = db.damage();
    if (found.empty()) return true;
    core::ui().msgBox("Log data cannot be added: the site database is damaged." + gCRCR + "Database: " + db.path() +
                          gCR + "Fault found: " + found + gCRCR +
                          "Nothing was read. Put back a copy of the database file from a backup (with the program "
                          "ended), or make a new site and add the log files to it.",
                      "0", "", "Add Log Data");
    return false;
}

double nowToMinute() {
    const double now = core::vbNow();
    return static_cast<double>(static_cast<long>(now)) + std::floor((now - static_cast<long>(now)) * 1440) / 1440;
}

bool robotFindingRead(dao::Database& db, const std::string& fileSpec, ReadRec& rec, bool& dated) {
    ImportRun run;
    STTA_TestReadInit(fileSpec, rec.Test, true, false, false, -1);
    rec.ErrStatusInTest = true;
    STTA_NotFoundListReset(rec);
    STTA_BotFindFltrLoad(rec);
    dated = false;
    const bool read =
        RawLog_AddData_ReadLogFiles_OK(db, fileSpec, "Preprocessing - Check for new robots.", "Preprocessing. ", dated, rec, run);
    rec.Test.Active = false;
    return read;
}

MainPassResult additionMainPass(dao::Database& db, const std::string& fileSpec, const std::string& title,
                                const std::string& preprocessingTime, ReadRec& rec, ImportRun& run) {
    MainPassResult out;
    const double start = nowToMinute();
    run.VisitsWhileReading = true;  // the visits are built right after
    out.read = RawLog_AddData_ReadLogFiles_OK(db, fileSpec, title, "Add. Step 1/3: ", out.dated, rec, run);
    bool partial = false;
    if (out.read ||
        core::ui().msgBox("Read log file stopped. Do you want to add visit data for log records processed so far?",
                          "&Yes|&No", "", "") == 1)
        out.visits = LogLnRaw_Add(db, rec, run, partial);
    out.mainTime = TXT_ElapsedText(start, nowToMinute());
    out.engineDays = std::move(run.engineDays());
    if (out.engineDays.Keys.hasBounds()) seDayKeysSort(out.engineDays.Keys, out.engineDays.Counts);
    // The completion speaks of the whole run, not of the file read last; the reader
    // counts a stopped file's stored lines in the run's totals.
    runTotalsToFileCounters(rec, run);
    if (out.read)
        STTA_AddDataLogWrite(fileSpec, out.mainTime, rec, run, preprocessingTime,
                             partial ? "** Part Done **" : kHistoryDone, "** End ADD ** Totals. All Files.",
                             {.summary = &out.engineDays, .counters = true, .options = true, .filters = true,
                              .problems = true},
                             "", "", std::to_string(out.visits));
    return out;
}

// The totals of all files of the run, for the closing record and the completion text.
void runTotalsToFileCounters(ReadRec& rec, ImportRun& run) {
    auto toLong = [](double hits) {
        return static_cast<long>(std::clamp(hits, 0.0, static_cast<double>(std::numeric_limits<long>::max())));
    };
    run.File = run.Run;
    rec.MainSet.Hits = toLong(run.RunMainHits);
    rec.RobotSet.Hits = toLong(run.RunRobotHits);
    rec.CompSet.Hits = toLong(run.RunCompHits);
}

}  // namespace logimport

bool STTA_ResultsReadyCheck() { return true; }

std::string STTA_AddCompletionText(const std::string& fileSpec, const std::string& mainTime, const ReadRec& rec,
                                   const logimport::ImportRun& run, const std::string& preprocessingTime,
                                   const std::string& statusText) {
    std::string skippedText, detail;
    double skipped = 0;
    STTA_SkipStatsText(skippedText, detail, rec, run, true, skipped);
    const double added = run.File.LinesAccepted;
    std::string text = "Total log lines read: " + count(skipped + added) + " in " + mainTime + ".";
    if (!preprocessingTime.empty()) text += " [Preprocessing: " + preprocessingTime + "]";
    text += gCR + (statusText.empty() ? "Added: " + count(added) + gCRCR : statusText) + skippedText + gCRCR + detail +
            gCRCR + STTA_FltrChoiceText(fileSpec, rec) + gCRCR;
    // A run that added nothing has no dates (never the zero date, 30 Dec 1899).
    if (added > 0 && run.File.FirstStamp != 0)
        text += "Data from " + core::vbFormat(core::DateTime{run.File.FirstStamp}, "dd mmm yyyy") + " to " +
                core::vbFormat(core::DateTime{run.File.LastStamp}, "dd mmm yyyy") + gCR;
    text += "Total bandwidth for all lines read: " + core::vbFormat(static_cast<double>(run.File.BytesMatched) / 1024 / 1024, "#,##0.0") +
            " Meg.";
    if (run.File.Unmatched > 0)
        text += gCR + "Lines that did not match the log format (skipped): " + count(double(run.File.Unmatched)) + ".";
    // The site skips them before the filters, so the read's total does not hold them.
    if (run.File.ErrorStatus > 0)
        text += gCR + "Lines with an HTTP error status, 4xx or 5xx (skipped): " + count(double(run.File.ErrorStatus)) + ".";
    for (const std::string& note : rec.FormatNotes) text += gCRCR + note;
    return text;
}

