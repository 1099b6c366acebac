#pragma once
// The history of additions of raw log data: adddata.log in the site's param folder,
// one "?"-separated record of 36 fields per line, appended by the read (run and file
// records), by finishing an incomplete addition and by the add-data command (the
// closing record of a run). Three companion files beside it keep what a closing record
// refers to: a copy of the robot filter file as used, the run's problem lists and its
// summary per search engine.
#include <string>
#include <vector>

#include "core/typed_array.h"
#include "logimport/read_record.h"

namespace logimport {
class ImportRun;
}

inline constexpr int kHistoryFields = 36;
inline const std::string kHistoryDone = "** Done **";
inline const std::string kHistoryStartRead = "Start Read File: ";
inline const std::string kHistoryDoneRead = "Done. Read File. ";

// Which parts of a record are written; the others stay empty.
struct AddDataLogParts {
    const EngineDayTally* summary = nullptr;  // the run's summary per search engine, into a new file
    bool counters = false;     // line, byte and filter counts (fields 7 to 18)
    bool options = false;      // the site's read options (fields 19 to 22)
    bool filters = false;      // the filters used (fields 29 to 34)
    bool problems = false;     // the problem lists, into AddLog_Errs.ini
};

// Appends one record. Nothing is written during a test read. Non-empty first- and
// last-date texts stand in for the run's stamps. A record that cannot be written is
// reported and the addition goes on.
void STTA_AddDataLogWrite(const std::string& fileSpec, const std::string& mainTime, const ReadRec& rec,
                          const logimport::ImportRun& run,
                          const std::string& preprocessingTime, const std::string& action,
                          const std::string& secondText, const AddDataLogParts& parts,
                          const std::string& firstDate, const std::string& lastDate,
                          const std::string& visitsCount);
// The copy of the robot filter file that matches the filters in use: the last copy
// when the file is unchanged, else a new one. "" when none could be made.
std::string STTA_AddDataBotsCopy();
// Stores the read record's problem lists as a new section of AddLog_Errs.ini; its
// number, or 0 when nothing was stored.
long STTA_AddDataErrsSave(const ReadRec& rec);
std::string STTA_AddLogErrsPath();
// The problem files (from 1) and their "|" lists of problems stored in the section.
void STTA_AddDataSectionRead(const std::string& section, core::StrArray& files, core::StrArray& texts);
// The summary per search engine a closing record saved: keys and counts from 0.
bool STTA_AddDataSummaryRead(const std::string& path, core::StrArray& keys, core::LngArray& counts);

namespace logimport {

std::string additionHistoryPath();
// A field as stored: "?" would split the record and a line break would end it.
std::string historyField(const std::string& text);
// The records of adddata.log, each split into its fields (padded to 36); none when the
// file is missing or unreadable.
std::vector<std::vector<std::string>> historyRecords();
// The records without each start-of-file record that the record after it closes.
std::vector<size_t> historyShownRows(const std::vector<std::vector<std::string>>& records, bool hideStartLines);

}  // namespace logimport
