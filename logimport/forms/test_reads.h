#pragma once
// Test reads: a log file goes through the same reading and filtering path as an
// addition, but no line is stored. The lines that pass every filter are tallied
// instead (distinct values of a chosen field with their line counts), and the checks
// built on that show the tallies: referrers that the search-engine definitions cannot
// read, the user agents each robot filter rejects, and the values of one field.
#include <string>

#include "core/typed_array.h"
#include "logimport/read_record.h"
#include "platform/dao/database.h"


// The test-read driver: the dialog in which the user picks the log file, the filters
// and the read options, then the read. `kind` is a field number: 7 checks referrers,
// 5 user agents, any other lists that field's values. With `startAtOnce` the dialog is
// skipped the first time. True once a read ran (also a stopped one); False for Done.
bool STTA_TestReadRun(long kind, bool robotTally, bool startAtOnce);

// A test read of the HTTP status, then its values with their line counts.
void STTA_LogFldValuesList();

// The referrer check on the last test read's data; a new read when it has none.
void STTA_SERefCheck();
// A new referrer test read, then the list of referrers that gave no search term.
void STTA_SERefCheckRead();
// The three result lists of a referrer test read, each from index 0: one row per
// definition whose URL spec matched referrers that gave no term ("spec<tab>list"), and
// the hosts of referrers that no spec matched, with their referrers at the same index.
void STTA_SERefCheckLists(const ReadRec& rec, core::StrArray& undefinedRows,
                          core::StrArray& referrersPerHost, core::StrArray& unknownHosts);

// The user-agent check on the last test read's data; a new read when it has none.
void STTA_UACheck();
// A new user-agent test read that tallies the robot filters' rejects, then their list.
void STTA_UACheckRead();

namespace logimport {

// The open site database the shell names; error 91 while none is open.
dao::Database& siteDatabase();

// The log-file entry test reads use ([Main] "PAFNlog"); "" while none has been chosen,
// which is no error on a new site.
std::string testReadLogEntry();
void testReadLogEntrySet(const std::string& entry);

// The read of a test read without its dialog: the entry of [Main] "PAFNlog", the test
// fields set up for the kind, the filters chosen for an addition, then every file of
// the entry read into the tallies. A user-agent read with `robotTally` switches the
// robot filters on for this read only. False when the read was stopped or failed.
bool testReadExecute(long kind, bool robotTally, dao::Database& db, ReadRec& rec = gReadRec);

// Lines the last test read tallied, a file whose read was stopped included.
double testReadLines(const ReadRec& rec);

// The message of the driver dialog for a kind.
std::string testReadMessage(long kind);

// One row per tally index from 0: the value, a tab and its count.
core::StrArray valueCountRows(const core::StrArray& values, const core::LngArray& counts);

// Sets a remembered option of [Main] ("::*") for the life of the guard, then puts back
// what was stored before (a missing entry is erased again), also when an error ends
// the work early.
class RememberedOptionOverride {
public:
    RememberedOptionOverride(const std::string& entry, bool value);
    ~RememberedOptionOverride();
    RememberedOptionOverride(const RememberedOptionOverride&) = delete;
    RememberedOptionOverride& operator=(const RememberedOptionOverride&) = delete;

private:
    std::string entry_;
    std::string saved_;
};

}  // namespace logimport
