#pragma once
// Steps 2 and 3 of an addition of log data: every stored line without a visit is
// grouped into a visit (continuing visits stored by earlier additions where they
// fit), the visit gets its search engine, search term and further pages, lines of
// probable robots are dropped, and the database is cleaned up and compacted.
//
// An addition builds the visits of its lines while it reads them (visit_stream.h),
// with the same rules; then only the clean-up and compaction are left here. The scan
// below is for lines left without a visit (an addition stopped before its visits, or
// a read whose caller builds them later).
//
// The lines are taken in one scan ordered by IP, then LogLnID, in chunks, with the
// open visit held in memory and written once when it is finished. Lines of visits
// made in the scan get their visit number at the end, so that the clean-up can
// delete the lines it would erase instead of updating them first. Writes run in one
// transaction committed in large batches and on every way out; what is committed
// always has every line with its visit, and a Stop saves the open visit, so no
// visit is left blank and no line is lost or counted twice when the addition is
// finished later.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/typed_array.h"
#include "logimport/read_record.h"
#include "platform/dao/database.h"

inline constexpr long kVisitGapSeconds = 7200;
inline const std::string kNotSearchEngine = " .. NOT SEARCH ENGINE .. ";

namespace logimport {
class ReferrerStore;
}

// A visit row as visit building works on it. An absent term is Null in the table.
struct VisitRow {
    long VisitID = 0;
    std::string FirstIP;
    long StartLogLnID = 0;
    long StartPageID = 0;
    std::int64_t StartTimeStamp = 0;
    std::int64_t EndTimeStamp = 0;
    long Files = 0;
    std::string CDSIPs;
    std::optional<std::string> SearchTerm;
    std::optional<std::string> StzdSearchTerm;
    std::optional<std::string> SearchEngine;
};

// A logline row as visit building reads it.
struct VisitLine {
    long LogLnID = 0;
    std::string IP;
    long PageID = 0;
    std::int64_t Timestamp = 0;
    std::int64_t Bytes = 0;
    std::int64_t CntDupes = 0;
    std::string Referrer;  // only when the site keeps line values
};

// Seconds from stamp a to stamp b ("yyyymmddhhnnss" numbers); 0 when equal,
// 2147483647 when only a is 0, -2147483647 when only b is 0.
long long STTA_StampSecondsBetween(std::int64_t a, std::int64_t b);
// The stamp moved by the seconds.
std::int64_t STTA_StampMoved(std::int64_t stamp, long long seconds);

// True when the line lies at most 7200 s after the visit's end or, when it lies
// before the end, at most 7200 s from its start; `earlier` is set for a line before
// the start.
bool STTA_VisitTimeFits(const VisitRow& visit, const VisitLine& line, bool& earlier);
// False only when both the visit and the line have a term and the standardised
// terms or the engines differ.
bool STTA_VisitTermsAgree(const VisitRow& visit, const std::string& searchTerm, const std::string& searchEngine);
// The stored visits of the IP that the time rule may let a line of the stamp join:
// those that end at most 7200 s before it and start at most 7200 s after it, by
// start, then number. Found by their end, as a visit within one file is joined on
// its last line, so a visit never depends on where the log was rotated.
bool STTA_VisitNear(const VisitRow& visit, std::int64_t timestamp);
void STTA_VisitsStoredNear(dao::Database& db, const std::string& ip, std::int64_t timestamp,
                           std::vector<VisitRow>& rows);
// A stored visit of the IP that starts at most 7200 s before the line and ends less
// than 14400 s after it, and that the line fits by time and term.
bool STTA_VisitFindStored(const std::string& ip, dao::Database& db, const VisitLine& line,
                          const std::string& searchTerm, const std::string& searchEngine, VisitRow& visit,
                          bool& earlier);
// The search term the line's referrer carries ("" when none) and its engine. The
// referrer is the line's own field when line values are kept, else the stored one.
std::string STTA_LineSearchTerm(logimport::ReferrerStore& store, bool keepValues, const VisitLine& line,
                                std::string& searchEngine);
// The search term and engine of each referrer text, worked out once per run: most
// lines of a site share a few referrers (its own pages), and matching every
// definition costs far more than a look-up.
class SearchTermCache {
public:
    std::string termOf(const std::string& referrer, std::string& engine);

private:
    static constexpr size_t kLimit = 200000;
    std::unordered_map<std::string, std::pair<std::string, std::string>> cache_;
};

// The line joins the visit: it becomes the start when `earlier`, its term and IP are
// taken in, the end moves on and the files are counted. False when the visit then
// holds more than `limit` files (a probable robot; the problem is reported), so the
// line is not kept.
bool STTA_VisitLineJoin(VisitRow& visit, const VisitLine& line, const std::string& term, const std::string& engine,
                        bool earlier, long limit, ReadRec& rec);

// A line of a visit, for its further pages; Bytes include the repeats (CntDupes).
struct VisitPageLine {
    std::int64_t Timestamp;
    long LogLnID;
    long PageID;
    long long Bytes;
};
// The further pages of lines held in memory, as STTA_VisitPagesCollect reads them
// back from the table: in time order, root page left out. Sorts `lines`.
void STTA_VisitPagesOfLines(std::vector<VisitPageLine>& lines, std::string& pages, std::string& bytes);
// Writes the visit's row with its further pages: a new row, or the one stored.
void STTA_VisitSave(dao::Database& db, VisitRow& visit, const std::string& pages, const std::string& bytes,
                    bool newRow = false);

// "+" to blank, %xx decoded, lower case, trimmed.
void STTA_StzdSearchTermMake(const std::string& searchTerm, std::string& standardised);
void STTA_SEVisitDayTally(EngineDayTally& tally, const std::string& searchEngine, std::int64_t timestamp);

// VisitID of a line the clean-up took out (a probable robot's, or one of a visit
// without a search term). The row stays, so that reading the same line again finds
// it as stored and neither stores it anew nor counts later repeats on it.
inline constexpr long kErasedLineVisitID = -2;

// Deletes the visits without a standardised term with their visit pages; their lines
// are marked erased.
void STTA_NonSEVisitsErase(dao::Database& db);
// Marks the lines of the visit (-1: of probable robots) erased; the number marked.
long long STTA_LogLinesEraseByVisit(dao::Database& db, long visitID);
void STTA_VisitPagesDeleteByVisit(dao::Database& db, long visitID);
// The pages of the visit's lines other than the start page, as "|" lists of page IDs
// and bytes; the bytes of a line's repeats (CntDupes) count on that line's own entry.
void STTA_VisitPagesCollect(dao::Database& db, long visitID, std::string& pageIDs, std::string& bytes,
                            long startPageID, bool timestampOrder);

// Compacting rewrites the whole file, so the clean-up compacts only when a real share
// of it is free pages: a quarter or more, as erased visits or a removed site area
// leave. A plain addition frees next to nothing and keeps its file as written.
bool STTA_CompactionDue(dao::Database& db);

// Builds the visits of every line that has none yet and cleans up, in the run of the
// read record (one of its own when there is none). Returns the lines
// given a visit (or -1) by this call; `interrupted` stays true unless both steps
// complete. A Stop (1066) returns quietly; other errors go to the error handler.
long LogLnRaw_Add(dao::Database& db, ReadRec& rec, bool& interrupted);

// When an earlier addition stopped before its visits were built ([Main]
// AddedLogLns_MustDoVisitsAdd of LastVals.ini is set), offers to build them now and
// does so on the first answer, as a run of its own whose summary per engine becomes
// the record's LastRunSEDays. The visit count is returned in `lines`.
void STTA_IncompleteAddFinish(dao::Database& db, ReadRec& rec, long& lines);
