#pragma once
// Test reads: a log file goes through the same reading and filtering path as an
// addition, but no line is stored. The lines that pass every filter are tallied
// instead (distinct values of a chosen field with their line counts), and the checks
// built on that show the tallies: referrers that the search-engine definitions cannot
// read, the user agents each robot filter rejects, and the values of one field.
#include <string>

#include "logimport/test_read.h"

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
// The user-agent check on the last test read's data; a new read when it has none.
void STTA_UACheck();
// A new user-agent test read that tallies the robot filters' rejects, then their list.
void STTA_UACheckRead();

namespace logimport {

// The message of the driver dialog for a kind.
std::string testReadMessage(long kind);

}  // namespace logimport
