#pragma once
// The read record: what readings of log files (an addition or a test read) are
// steered by, and what the dialogs show of the last one. One program-wide instance
// lives for the whole run of the program; the options and filter sets keep their
// values between reads. What one run counts and numbers lives in its ImportRun.
#include <cstdint>
#include <string>
#include <vector>

#include "core/typed_array.h"
#include "logimport/filter_rules.h"

// One day and engine per key ("yyyymmdd|engine"), with the search-engine visits
// counted for it by a run's visit building; read by the per-engine summary.
struct EngineDayTally {
    core::StrArray Keys;
    core::LngArray Counts;
};

// The test-read part of the read record: what a test read tallies instead of storing
// lines. Tallies keep item 0 for the empty value and merge values ignoring case.
struct TestReadRec {
    std::string LogFileSpec;  // the log-file entry the test read reads
    bool Active = false;      // a test read is set up or running: nothing is stored
    bool ListUserAgents = false;
    bool CheckReferrers = false;
    bool TallyRobotRejects = false;  // per robot rule: lines rejected and the texts matched
    bool ListFieldValues = false;
    long FieldNo = -1;  // the field tallied under ListFieldValues; -1 for none
    core::StrArray UserAgents;
    core::LngArray UserAgentCounts;
    core::StrArray Referrers;
    core::LngArray ReferrerCounts;
    core::StrArray FieldValues;
    core::LngArray FieldValueCounts;
    core::LngArray RobotRejectCounts;   // by robot rule number
    core::StrArray RobotRejectAgents;   // by robot rule number, each a "|" list
    std::int64_t Lines = 0;             // lines that passed every filter, once the read has ended
};

// Line and byte counts of one file, or of a whole run, exact however large the run.
// Stamps are date serials.
struct ReadCounters {
    double LastStamp = 0;
    double FirstStamp = 0;
    std::int64_t LinesMatched = 0;
    std::int64_t BytesMatched = 0;
    std::int64_t LinesAccepted = 0;
    std::int64_t BytesAccepted = 0;
    std::int64_t Duplicates = 0;
    std::int64_t Unmatched = 0;  // lines the log format did not match (or could not date)
    std::int64_t ErrorStatus = 0;  // lines skipped for an HTTP status of 400 to 599
};

// What a read that built the visits of its lines leaves to the visit building: its
// clean-up and the counts it reports.
struct ReadVisits {
    bool CleanUpDue = false;
    long Lines = 0;  // lines given a visit (or found a probable robot's)
};

struct ReadRec {
    // Site options, loaded by the read from the site's dbdef.ini.
    int LastKeepVal = 0;
    bool Skip404 = false;  // skip lines whose HTTP status is 400 to 599
    bool RemQuery = false;
    bool RemFrag = false;

    // Read Log Options.
    bool NoPromptInvalid = false;
    bool NoPromptOverlap = false;
    bool Keep404List = false;

    // Files with problems in the last read and, parallel, a "|" list of texts per file.
    core::StrArray ProblemFiles;
    core::StrArray ProblemTexts;
    // What the last read found about its log formats (a format that seems to read the
    // wrong places of a file, one without a referrer field), for its summary.
    std::vector<std::string> FormatNotes;

    FltrSet MainSet;   // lines to add or to exclude
    FltrSet RobotSet;  // robot and crawler user agents to skip
    FltrSet CompSet;   // page components (files) to skip

    TestReadRec Test;
    long ListedStatus = 0;         // 404 while failed requests are listed, else 0
    bool ErrStatusInTest = false;  // a test read lets status 400-599 reach the filters
    // Item 0 holds "404" while the list is collected; then file names of requests with
    // status 400 to 599, and their counts.
    core::StrArray ListedNames;
    core::LngArray ListedCounts;

    // The summary per engine of the last addition, for the add-data dialog (as the
    // problem files of the last read are).
    EngineDayTally LastRunSEDays;
};

inline ReadRec gReadRec;

// Sets the test-read fields up for a new read of the entry: test read on, the three
// flags as given, ListFieldValues exactly when a field number is given (not -1), and
// every tally 0 to 0 with one empty item, which stands for the empty value.
void STTA_TestReadInit(const std::string& logFileSpec, TestReadRec& test, bool listUserAgents,
                       bool checkReferrers, bool tallyRobotRejects, long fieldNo);
// Starts the list of failed requests (status 400 to 599) when the option keeps it.
void STTA_NotFoundListReset(ReadRec& rec);

// "No", or "Yes - 3 user agent filters. Log line skipped when satisfy any."
std::string STTA_FltrSetText(const FltrSet& set, const std::string& kind);
// The file pattern and the three filter sets, one line each.
std::string STTA_FltrChoiceText(const std::string& fileSpec, const ReadRec& rec);

// The fields a filter may test, in the order of their stored codes (ColType 0 to 3).
inline const std::string kFltrColTypeCaptions =
    "Referrer|File Name|User agent (browser)|RC (200=OK, 404=Page not found, etc.)";
// The captions of the filter column codes 0 to 3, from item 0.
void STTA_FltrColTypeCaptions(core::StrArray& captions);
// The caption of a log field ("" for fields without one).
std::string STTA_LogFieldCaption(long fieldNo);
