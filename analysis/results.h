#pragma once
// The results record: what one analysis of the visits of a date range counted, and
// the report parameters that go with it. The analysis fills the global gResults; each
// results data form keeps a copy, and a report copies its form's record back into
// gResults before it reads it.
//
// The counted data (day list and value lists) is large and never changed once the
// analysis is done, so copies share it: a copy of a record copies pointers, and only
// the report parameters and the deviation part, which each report changes, are copied
// by value. Only the analysis that allocated a list writes to it.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "analysis/pair_tables.h"
#include "logimport/targets.h"

// What an analysis counted (the value of Analyzed_Field).
enum ReportKind : long {
    kRkSearchTerm = 1,
    kRkStartPage = 2,
    kRkSearchTermStartPage = 3,
    kRkExitPage = 4,
    kRkTrack = 5,
    kRkVisitedPage = 6,
    kRkVisitedFolder = 7,
    kRkReferrer = 8,
    kRkVisitorGroup = 9,
    kRkTargetsReached = 10,
    kRkSearchEngine = 11,
    kRkWordsAndPhrases = 12,
    kRkPhrases2 = 13,
    kRkPhrases3Plus = 14,
    kRkSingleWords = 15,
    kRkPhraseOf2 = 16,  // 16 to 21: phrases of exactly 2 to 7 words
    kRkPhraseOf7 = 21,
};

// The counters of a value list besides Cnt: CntStay, CntPages, CntTgt1 to CntTgt4.
inline constexpr int kExtraCounters = 6;
// Day tables: one per counter Cnt .. CntTgt4.
inline constexpr int kDayTables = 7;

// The distinct values of one kind with their counters. Items, Cnt and the counters the
// list was allocated for are parallel by item index, so every item has a value in each
// (0 when nothing was added); index 0 is the empty value. A counter the list was not
// allocated for grows only as far as a non-zero increment reached.
struct STTA_ValueList {
    std::vector<std::string> Items;
    std::vector<std::int64_t> Cnt;  // visits counted for the item
    // CntStay, CntPages, CntTgt1 .. CntTgt4, in that order.
    std::array<std::vector<std::int64_t>, kExtraCounters> Counters;
    analysis::PairTable PairCnt;   // (this list's item, the visit's item in Vals) -> sightings
    analysis::PairTable PairCnt2;  // same shape; nothing adds to it in an analysis
    // Day tables of Cnt .. CntTgt4: (day index, item) -> count.
    std::array<analysis::DayTable, kDayTables> DayCnt;
    std::array<bool, kExtraCounters> parallel{};  // the counters kept parallel to Items
    long Flag = 0;
    std::vector<std::string> Notes{""};

    std::vector<std::int64_t>& CntStay() { return Counters[0]; }
    std::vector<std::int64_t>& CntPages() { return Counters[1]; }
    // Target t of 1 to 4.
    std::vector<std::int64_t>& CntTgt(int t) { return Counters[static_cast<std::size_t>(t) + 1]; }
    const std::vector<std::int64_t>& CntStay() const { return Counters[0]; }
    const std::vector<std::int64_t>& CntPages() const { return Counters[1]; }
    const std::vector<std::int64_t>& CntTgt(int t) const { return Counters[static_cast<std::size_t>(t) + 1]; }

    // The item with exactly this text, or -1.
    long find(const std::string& text) const;
    // A counter's value for an item, 0 past the end of its array.
    static std::int64_t at(const std::vector<std::int64_t>& counter, long item) {
        return item >= 0 && static_cast<std::size_t>(item) < counter.size() ? counter[static_cast<std::size_t>(item)] : 0;
    }

    // Index from the exact item text (a value list may hold a million items); texts
    // that differ only in case are items of their own.
    std::unordered_map<std::string, long> index;
};

struct STTA_AnalOpts {
    std::string AnalStartEnd;  // "first day|last day"
    bool SepFrag = false;
    bool SepQuery = false;
    bool ShowDist1 = false;
    bool ShowDist2 = false;
    bool ShowClickThru = false;
    bool ValIsGroupedRep = false;
    long MinCount = 0;  // an item enters Vals at its MinCount + 1-th sighting
};

struct STTA_Results {
    std::string SiteDBName;
    std::string SiteDefPath;
    std::string NoCntSurfToFileTypes;  // "|" list with "|" at both ends
    std::string CntAsPageFileTypes;    // "|" list with "|" at both ends
    bool ShowNotSEitem = false;
    STTA_AnalOpts AnalOpts;
    std::string SiteArea;
    long Analyzed_Field = 0;
    std::string pSvCustomRepParms;
    // Shared between copies (see the file comment).
    std::shared_ptr<std::vector<std::string>> DayList = std::make_shared<std::vector<std::string>>();
    std::shared_ptr<STTA_ValueList> Vals = std::make_shared<STTA_ValueList>();
    std::shared_ptr<STTA_ValueList> Words = std::make_shared<STTA_ValueList>();
    std::shared_ptr<STTA_ValueList> Dist1Vals = std::make_shared<STTA_ValueList>();
    std::shared_ptr<STTA_ValueList> Dist2Vals = std::make_shared<STTA_ValueList>();
    std::shared_ptr<STTA_ValueList> ClickThruVals = std::make_shared<STTA_ValueList>();
    std::string DayRange;  // first and last day serial, "|" between
    double VisitCount = 0;
    std::string RestRowText;
    std::vector<TargetSpec> Targets{TargetSpec{}};  // items 1 to n
    std::string AnalNote;

    // The deviation part, worked out again for each report: what the day list and the
    // [Main] options give, filled on the first deviation cell a report writes. It is a
    // cache of the record's own data, so a writer that only reads the record fills it.
    mutable bool DevReady = false;
    mutable long DevDays = 0;
    mutable std::string DevFmtVD, DevTxtNoneVD, DevTxtNonePct, DevFmtPct, DevTxtFrom0Pct;
    mutable long DevDayCount = 0, DevLastDays = 0, DevPrevDays = 0, DevThisMoDays = 0, DevThisYrDays = 0;
    mutable long DevLastStart = 0, DevLastEnd = 0, DevPrevStart = 0, DevPrevEnd = 0;
    mutable long DevThisMoStart = 0, DevThisMoEnd = 0, DevLastMoStart = 0, DevLastMoEnd = 0;
    mutable long DevPrevMoStart = 0, DevPrevMoEnd = 0, DevThisYrStart = 0, DevThisYrEnd = 0;
    mutable long DevLastYrStart = 0, DevLastYrEnd = 0;
    mutable bool DevHasPrev = false, DevHasLastMo = false, DevHasPrevMo = false, DevHasLastYr = false;
};

// The current record, and the Tag of the data form whose copy it holds.
inline STTA_Results gResults;
inline std::string gResultsIfrmKey;

// A pair's bucket (row a / 50 + 1, column b / 50 + 1, rounded half to even) and key
// "|a;b;", as the sparse tables are laid out in saved results and messages.
void STTA_PairKey(long a, long b, long& row, long& col, std::string& key);
void STTA_PairAdd(analysis::PairTable& table, long a, long b, std::int64_t amount);
// The largest a (dimension 1) or b (dimension 2) the table covers.
long STTA_PairTableSpan(const analysis::PairTable& table, int dimension);

// Which parts of a value list an analysis fills.
struct ValueListParts {
    bool dayCnt = false;                          // day table of Cnt
    std::array<bool, kExtraCounters> counters{};  // CntStay .. CntTgt4 with their day tables
    bool pairCnt2 = false;
};

// A fresh list: one empty item, Cnt one zero, the parts asked for, sized for the
// expected number of items, days and second items.
void STTA_ValueListAlloc(STTA_ValueList& list, long expectedItems, long expectedDays,
                         long expectedSecond, const ValueListParts& parts);

// The increments of one add: counters CntStay .. CntTgt4, and which day tables of
// Cnt .. CntTgt4 take their counter's increment.
struct ValueListIncrements {
    std::array<std::int64_t, kExtraCounters> counters{};
    std::array<bool, kDayTables> dayTables{};
    std::int64_t cnt = 1;
};

// Adds to the item with this text and returns its index. With a known index the item
// there must equal the text (else error 91273); with -1 the item is found by its
// exact text, or appended. A day index below 0 adds to no day table.
long STTA_ValueListAdd(long day, STTA_ValueList& list, const std::string& text,
                       const ValueListIncrements& inc, long knownIndex);
// Adds the text with Cnt + 1 (and to its day table when dayFlag), then the sightings
// to PairCnt at (its index, valsIndex) and the second amount to PairCnt2 when >= 1.
long STTA_ValueListAddPair(long day, long valsIndex, STTA_ValueList& list, const std::string& text,
                           std::int64_t sightings, std::int64_t second, bool dayFlag);

// The name of the custom report parameters in force: always empty.
std::string STTA_CustomRepParmsName();

// Copies the record's head, lists, targets and texts; the deviation part of the
// target stays as it was. The lists are shared, not duplicated (see above).
void STTA_ResultsCopy(const STTA_Results& source, STTA_Results& target);
// A deep copy of one list, for a caller that will change it.
void STTA_ResultsListCopy(const STTA_ValueList& source, STTA_ValueList& target);
