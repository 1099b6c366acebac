#pragma once
// The logic of a test read: a log file goes through the same reading and filtering path
// as an addition, but no line is stored; the lines that pass every filter are tallied
// instead (distinct values of a chosen field with their line counts). The checks that
// show the tallies are forms (logimport/forms/test_reads.h).
#include <cstdint>
#include <string>

#include "core/typed_array.h"
#include "logimport/read_record.h"
#include "platform/dao/database.h"

// The three result lists of a referrer test read, each from index 0: one row per
// definition whose URL spec matched referrers that gave no term ("spec<tab>list"), and
// the hosts of referrers that no spec matched, with their referrers at the same index.
void STTA_SERefCheckLists(const ReadRec& rec, core::StrArray& undefinedRows,
                          core::StrArray& referrersPerHost, core::StrArray& unknownHosts);

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
std::int64_t testReadLines(const ReadRec& rec);

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
