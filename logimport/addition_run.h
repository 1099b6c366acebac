#pragma once
// The passes of an addition of log data, without the dialogs around them: the read of
// the lines that identify robots before an addition, and the main pass that reads the
// log files into the site, builds their visits and records the run in the history.
#include <string>

#include "logimport/read_record.h"
#include "platform/dao/database.h"

namespace logimport {

class ImportRun;

// True when the site's database may take new data. A damaged one (SQLite's quick
// check finds a fault) is refused, and the user is told what to do.
bool siteTakesData(dao::Database& db);

// Now, to the minute, as the run's times are kept.
double nowToMinute();

// A test read of the lines the robot-finding filter selects, collecting their user
// agents; HTTP errors reach the filters, and the robot and component sets are off.
// False when the read was stopped or failed; `dated` as the read sets it.
bool robotFindingRead(dao::Database& db, const std::string& fileSpec, ReadRec& rec, bool& dated);

struct MainPassResult {
    bool read = false;   // the read ran through
    bool dated = false;  // a log file could be read
    long visits = 0;     // lines given a visit
    std::string mainTime;
    EngineDayTally engineDays;  // the run's search-engine visits per day and engine, sorted
};
// Reads the files and builds the visits of the lines stored, as the import run given
// (a fresh one); after a stopped read the user is asked first. The run's summary per
// engine is ordered, the run's totals become its per-file counters, and a read that
// ran through gets its closing history record.
MainPassResult additionMainPass(dao::Database& db, const std::string& fileSpec, const std::string& title,
                                const std::string& preprocessingTime, ReadRec& rec, ImportRun& run);

// The run's totals in place of the last file's counters.
void runTotalsToFileCounters(ReadRec& rec, ImportRun& run);

}  // namespace logimport

// The body of the completion message of a run.
std::string STTA_AddCompletionText(const std::string& fileSpec, const std::string& mainTime, const ReadRec& rec,
                                   const logimport::ImportRun& run, const std::string& preprocessingTime,
                                   const std::string& statusText);
// Always true: the reports may be filled.
bool STTA_ResultsReadyCheck();
