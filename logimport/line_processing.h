#pragma once
// Every line a read takes in passes here once, in file order: it is split by the
// compiled log formats, counted, tested against the status rule and the three filter
// sets of the read, and then stored as a new logline row (an adding run) or handed to
// the test-read tally (a test read, which stores nothing). Unmatched lines go to the
// problem list of the file and, unless switched off, to a prompt whose Cancel stops
// the read (error 1066).
#include <string>
#include <string_view>
#include <vector>

#include "logimport/format_fit.h"
#include "logimport/log_format.h"
#include "logimport/read_record.h"
#include "platform/dao/database.h"

class VisitStream;
namespace logimport {
class ImportRun;
class QueuedDatabase;
}

// What the per-line processing works with during one read. The field array is reused
// from line to line, so a line costs no allocation once the fields have grown.
struct LineReadContext {
    logimport::QueuedDatabase* site = nullptr;  // unused by a test read
    const LogFmtCompiled* formats = nullptr;
    ReadRec* rec = nullptr;
    logimport::ImportRun* run = nullptr;
    VisitStream* visits = nullptr;  // builds the visits of stored lines while reading
    LogFields fields;
    // Yields and the skip summary are due by time, never per line.
    double nextYield = 0;
    bool statusDue = true;
    logimport::FormatFit fit;  // signs that the format reads the wrong places
};

// Seconds between two yields of the per-line processing.
inline constexpr double kLineYieldInterval = 0.1;

// Processes line `index` of the block. Always 0.
long STTA_LogLineProcess(LineReadContext& ctx, const std::vector<std::string_view>& lines, long index,
                         std::string& statusText);
// The problem entry and, unless switched off, the prompt; Cancel raises 1066.
void STTA_LogLineNoMatch(LineReadContext& ctx, std::string_view line);
// Adds a problem text to the list of the run's current file, once.
void STTA_ProblemAdd(ReadRec& rec, const logimport::ImportRun& run, const std::string& text);
// True when the line is to be skipped.
bool STTA_LogLineFilter(const LogFields& fields, std::string& statusText, ReadRec& rec, logimport::ImportRun& run,
                        bool statusDue);

// A line of nothing but blanks, tabs and carriage returns.
bool STTA_LineIsBlank(std::string_view line);
