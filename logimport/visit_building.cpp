#include "logimport/visit_building.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/dates.h"
#include "core/error_handler.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/program_paths.h"
#include "core/progress.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "core/vb_format.h"
#include "core/url_routines.h"
#include "logimport/addition_history.h"
#include "logimport/line_processing.h"
#include "logimport/import_run.h"
#include "logimport/search_engine_store.h"
#include "logimport/visit_pages.h"
#include "platform/dao/errors.h"
#include "platform/sys/clock.h"
#include "platform/sys/rt_error.h"

namespace {

// Lengths of the visit's text columns.
constexpr long kIPLen = 50, kIPsLen = 250, kTermLen = 250, kEngineLen = 150;
// Lines read whole per query; the next query starts after the last line read.
constexpr long kLineChunk = 50000;
// Lines between two commits. A commit writes the lines held back first, so fewer
// commits also mean fewer lines updated only to be erased by the clean-up.
constexpr long kCommitBatch = 2000000;
constexpr double kProgressRedraw = 0.1;  // seconds between progress updates

const char* const kVisitColumns =
    "VisitID, FirstIP, StartLogLnID, StartPageID, StartTimeStamp, EndTimeStamp, Files, CDSIPs, SearchTerm, "
    "StzdSearchTerm, SearchEngine";

std::optional<std::string> optText(const dao::Value& v) {
    if (v.isNull()) return std::nullopt;
    return v.asText();
}


long asLong(const dao::Value& v) { return v.isNull() ? 0 : static_cast<long>(v.asInteger()); }
std::int64_t asInt64(const dao::Value& v) { return v.isNull() ? 0 : v.asInteger(); }

VisitRow visitFromRow(const dao::Statement& s) {
    VisitRow v;
    v.VisitID = asLong(s.column(0));
    v.FirstIP = s.column(1).isNull() ? std::string() : s.column(1).asText();
    v.StartLogLnID = asLong(s.column(2));
    v.StartPageID = asLong(s.column(3));
    v.StartTimeStamp = asInt64(s.column(4));
    v.EndTimeStamp = asInt64(s.column(5));
    v.Files = asLong(s.column(6));
    v.CDSIPs = s.column(7).isNull() ? std::string() : s.column(7).asText();
    v.SearchTerm = optText(s.column(8));
    v.StzdSearchTerm = optText(s.column(9));
    v.SearchEngine = optText(s.column(10));
    return v;
}

// Seconds of a stamp counted from the date origin. Lines of one addition share few
// days, so the last day's count is kept.
long long stampSeconds(std::int64_t stamp) {
    static thread_local std::int64_t lastDay = -1;
    static thread_local long long lastDaySeconds = 0;
    std::int64_t day = stamp / 1000000;
    if (day != lastDay) {
        lastDaySeconds = core::serialSeconds(
            core::vbDateSerial(static_cast<long>(day / 10000), static_cast<long>(day / 100 % 100), static_cast<long>(day % 100)));
        lastDay = day;
    }
    std::int64_t time = stamp % 1000000;
    return lastDaySeconds + time / 10000 * 3600 + time / 100 % 100 * 60 + time % 100;
}

std::string fitted(const std::string& text, long limit) { return TXT_FitLen(text, limit, ".."); }

bool listHas(const std::string& list, const std::string& item) {
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find('|', start);
        if (end == std::string::npos) end = list.size();
        if (list.compare(start, end - start, item) == 0) return true;
        start = end + 1;
    }
    return false;
}

std::string siteName() { return INI_Get("Main", "Parm", gIniDbDef, kIniMissingDefault, ""); }

// The search term and engine of every line whose referrer waits in the referrer
// store, read from the store in one pass before the scan. The scan takes lines in IP
// order, which jumps between store files; a small number per line keeps that cheap
// without holding every referrer text in memory.
// With line values kept, the store holds only the referrers the Referrer field holds
// cut (`whereStored`): their lines are told apart from those it has nothing for.
class StoredTerms {
public:
    void load(logimport::ReferrerStore& store, SearchTermCache& terms, bool whereStored = false) {
        STTA_RefrStoreEach(store, [&](long logLnID, const std::string& referrer) {
            std::string engine;
            std::string term = terms.termOf(referrer, engine);
            if (term.empty() && !whereStored) return;
            blocks_[logLnID / kBlock][static_cast<size_t>(logLnID % kBlock)] =
                term.empty() ? kStoredNoTerm : pairNo(term, engine);
        });
    }

    // "" when the line's referrer carries no search term.
    const std::string& termOf(long logLnID, std::string& engine) const { return pairOf(logLnID, engine).first; }
    // Whether the store held the line's referrer (loaded `whereStored`).
    bool holds(long logLnID) const {
        auto it = logLnID < 0 ? blocks_.end() : blocks_.find(logLnID / kBlock);
        return it != blocks_.end() && it->second[static_cast<size_t>(logLnID % kBlock)] != 0;
    }

private:
    static constexpr long kBlock = 100;
    static constexpr std::uint32_t kStoredNoTerm = 1;
    const std::pair<std::string, std::string>& pairOf(long logLnID, std::string& engine) const {
        auto it = logLnID < 0 ? blocks_.end() : blocks_.find(logLnID / kBlock);
        const auto& pair = pairs_[it == blocks_.end() ? 0 : it->second[static_cast<size_t>(logLnID % kBlock)]];
        engine = pair.second;
        return pair;
    }
    std::uint32_t pairNo(const std::string& term, const std::string& engine) {
        auto [it, added] = numbers_.try_emplace(term + '\n' + engine, static_cast<std::uint32_t>(pairs_.size()));
        if (added) pairs_.emplace_back(term, engine);
        return it->second;
    }
    std::vector<std::pair<std::string, std::string>> pairs_{{}, {}};  // 0: none, 1: stored without a term
    std::unordered_map<std::string, std::uint32_t> numbers_;
    std::unordered_map<long, std::array<std::uint32_t, kBlock>> blocks_;
};

// The whole referrer: with line values kept, the store has it where the Referrer
// field holds it cut.
std::string lineReferrer(logimport::ReferrerStore& store, bool keepValues, const VisitLine& line) {
    std::string whole = STTA_RefrFetch(store, line.LogLnID);
    return keepValues && whole.empty() ? line.Referrer : whole;
}

// One run of step 2: the scan over the lines without a visit.
class VisitBuilder {
public:
    VisitBuilder(dao::Database& db, ReadRec& rec, logimport::ImportRun& run, long& count)
        : db_(db), rec_(rec), run_(run), count_(count) {
        keepValues_ = rec.LastKeepVal != 0;
        limit_ = core::wholeOf<long>(TXT_Val(INI_Get("Main", "LmtVisitLines", gIniDbDef, kIniMissingDefault, "1000")));
        lastVisitID_ = core::wholeOf<long>(TXT_Val(INI_Get("Main", "LastVisitID", "::*", kIniMissingDefault, "0")),
                                            core::OutOfRange::Overflow);
    }

    // Whatever way out was taken, no line is left without the visit it was given.
    ~VisitBuilder() {
        try {
            writeHeldLines();
        } catch (...) {
        }
    }
    VisitBuilder(const VisitBuilder&) = delete;
    VisitBuilder& operator=(const VisitBuilder&) = delete;

    bool robotSeen() const { return robot_; }

    // False when there was no line to do. The scan's writes stay in an open
    // transaction for the clean-up (settle, then commit).
    bool run() {
        long long total = 0;
        db_.forEachRow("SELECT COUNT(*) FROM logline WHERE VisitID IS NULL", {},
                       [&](const dao::Statement& s) { total = s.column(0).asInteger(); });
        if (total == 0) return false;
        long reportNo = 0;
        PIS_Start("Add Log Data to Site DB: " + siteName() + gCR +
                      "Analysing log records. Creating stats for each visit.",
                  "log line", total, "Add. Step 2/3:", reportNo, 0.5, 1, false);
        storedTerms_.load(run_.referrers(), terms_, keepValues_);
        if (!keepValues_) terms_ = SearchTermCache();  // every line's term is known now
        tx_.emplace(db_, dao::Transaction::OnExit::Commit);
        try {
            scan(total, reportNo);
            if (open_) finishOpen();
        } catch (...) {
            // Whatever stops the scan, every line keeps its visit and the open visit
            // keeps what its lines gave it; the transaction commits on the way out.
            try {
                writeHeldLines();
                if (open_) finishOpen();
            } catch (...) {
            }
            throw;
        }
        PIS_End(reportNo);
        INI_Put("Main", "LastVisitID", lastVisitID_, "::*");
        return true;
    }

    // The lines held back get their visit, or with `eraseNonSE` are marked erased at
    // once when their visit has no term, as the clean-up would do after updating them.
    // Lines of probable robots are marked erased; their number is returned.
    long long settle(bool eraseNonSE) {
        // In table order: neighbouring rows share pages.
        std::vector<long> erased = std::move(heldRobots_);
        heldRobots_.clear();
        const long long robots = static_cast<long long>(erased.size());
        std::vector<std::pair<long, long>> kept;
        for (auto& [visitID, lines] : held_) {
            if (eraseNonSE && noTerm_.count(visitID) > 0)
                erased.insert(erased.end(), lines.begin(), lines.end());
            else
                for (long id : lines) kept.emplace_back(id, visitID);
        }
        held_.clear();
        std::sort(erased.begin(), erased.end());
        std::sort(kept.begin(), kept.end());
        for (long id : erased) lineVisitSet(id, kErasedLineVisitID);
        for (const auto& [id, visitID] : kept) lineVisitSet(id, visitID);
        return robots;
    }

    // Committed here, not by the guard, so that a failed commit is reported.
    void commit() {
        if (tx_) tx_->commit();
        tx_.reset();
    }

private:
    // The next chunk of lines without a visit in the order IP, LogLnID, after the
    // line `last` (none for the first chunk). Lines without an IP come first.
    void readChunk(std::vector<VisitLine>& chunk, const VisitLine* last) {
        const std::string columns = std::string("SELECT LogLnID, IP, PageID, Timestamp, Bytes, CntDupes") +
                                    (keepValues_ ? ", Referrer" : "") + " FROM logline WHERE VisitID IS NULL";
        const std::string order = " ORDER BY IP, LogLnID LIMIT " + std::to_string(kLineChunk);
        auto row = [&](const dao::Statement& s) {
            VisitLine& l = chunk.emplace_back();
            l.LogLnID = static_cast<long>(s.columnInt(0));
            l.IP = s.columnText(1);
            l.PageID = static_cast<long>(s.columnInt(2));
            l.Timestamp = s.columnInt(3);
            l.Bytes = s.columnInt(4);
            l.CntDupes = s.columnInt(5);
            if (keepValues_) l.Referrer = s.columnText(6);
        };
        chunk.clear();
        if (!last) {
            db_.forEachRow(columns + order, {}, row);
        } else if (!lastHasIP_) {
            db_.forEachRow(columns + " AND IP IS NULL AND LogLnID > ?" + order, {last->LogLnID}, row);
            if (chunk.empty()) db_.forEachRow(columns + " AND IP IS NOT NULL" + order, {}, row);
        } else {
            db_.forEachRow(columns + " AND (IP, LogLnID) > (?, ?)" + order, {last->IP, last->LogLnID}, row);
        }
    }

    void scan(long long total, long reportNo) {
        std::vector<VisitLine> chunk;
        const std::string message = "Add Log Data to Site DB: " + siteName() + gCR +
                                    "Analysing log records. Creating stats for each visit.";
        double nextUpdate = 0;
        int64_t done = 0;
        VisitLine last;
        for (readChunk(chunk, nullptr); !chunk.empty(); readChunk(chunk, &last)) {
            for (const VisitLine& line : chunk) {
                double now = sys::clock().monotonicSeconds();
                if (now >= nextUpdate) {
                    PIS_Update(done, message, reportNo);
                    nextUpdate = now + kProgressRedraw;
                }
                addLine(line);
                if (++done % kCommitBatch == 0) {
                    // What is committed must be whole: every line with its visit.
                    writeHeldLines();
                    commit();
                    tx_.emplace(db_, dao::Transaction::OnExit::Commit);
                }
            }
            last = std::move(chunk.back());
            lastHasIP_ = !last.IP.empty();
        }
        // The count was taken before the scan; more lines would mean the order
        // went wrong and a line came twice.
        if (done > total) throw sys::RtError(51, "Log lines were read more than once", "LogLnRaw_Add");
    }

    void addLine(const VisitLine& line) {
        std::string engine;
        std::string term = keepValues_ && !storedTerms_.holds(line.LogLnID) ? terms_.termOf(line.Referrer, engine)
                                                                            : storedTerms_.termOf(line.LogLnID, engine);
        bool earlier = false;
        bool continues = open_ && line.IP == previousIP_ && STTA_VisitTimeFits(visit_, line, earlier) &&
                         STTA_VisitTermsAgree(visit_, term, engine);
        if (!continues) {
            if (open_) finishOpen();
            open_ = false;
            pageLines_.clear();
            linesInMemory_ = false;
            if (STTA_VisitFindStored(line.IP, db_, line, term, engine, visit_, earlier)) {
                writeHeldLines(visit_.VisitID);  // its pages are read back from the table
            } else {
                newVisit();
                linesInMemory_ = true;
                earlier = true;
            }
            open_ = true;
        }
        ++count_;
        long visitID = visit_.VisitID;
        if (!STTA_VisitLineJoin(visit_, line, term, engine, earlier, limit_, rec_, run_)) {
            robot_ = true;
            visitID = -1;
        }
        if (visitID == -1) {
            heldRobots_.push_back(line.LogLnID);
        } else if (linesInMemory_) {
            held_[visitID].push_back(line.LogLnID);
            pageLines_.push_back({line.Timestamp, line.LogLnID, line.PageID,
                                  line.CntDupes > 0 ? line.Bytes + line.Bytes * line.CntDupes : line.Bytes});
        } else {
            lineVisitSet(line.LogLnID, visitID);
        }
        previousIP_ = line.IP;
    }

    // Writes the visit of the lines held back (all, or one visit's).
    void writeHeldLines(long visitID = 0) {
        if (visitID != 0) {
            auto it = held_.find(visitID);
            if (it == held_.end()) return;
            for (long id : it->second) lineVisitSet(id, visitID);
            held_.erase(it);
            return;
        }
        for (const auto& [id, lines] : held_)
            for (long line : lines) lineVisitSet(line, id);
        held_.clear();
        for (long line : heldRobots_) lineVisitSet(line, -1);
        heldRobots_.clear();
    }


    void lineVisitSet(long logLnID, long visitID) {
        dao::Statement& s = db_.prepared("UPDATE logline SET VisitID = ? WHERE LogLnID = ?", true);
        dao::ResetOnExit reset(s);
        s.bindInt(1, visitID);
        s.bindInt(2, logLnID);
        s.step();
    }

    // A new row holding only its number, so that the number is taken at once; a
    // number in use (left by a stopped run) moves past the highest one.
    void newVisit() {
        long id = lastVisitID_ + 1;
        for (;;) {
            try {
                db_.execute("INSERT INTO visit (VisitID, Files) VALUES (?, 0)", {id});
                break;
            } catch (const sys::RtError& e) {
                if (e.number() != dao::kErrDuplicateKey) throw;
                long top = 0;
                db_.forEachRow("SELECT MAX(VisitID) FROM visit", {},
                               [&](const dao::Statement& s) { top = asLong(s.column(0)); });
                id = std::max(id + 1, top + 1);
            }
        }
        lastVisitID_ = id;
        visit_ = VisitRow{};
        visit_.VisitID = id;
    }

    void finishOpen() {
        std::string pages, bytes;
        if (linesInMemory_)
            STTA_VisitPagesOfLines(pageLines_, pages, bytes);
        else
            STTA_VisitPagesCollect(db_, visit_.VisitID, pages, bytes, 0, true);
        pageLines_.clear();
        linesInMemory_ = false;
        STTA_VisitSave(db_, visit_, pages, bytes);
        if (visit_.StzdSearchTerm)
            noTerm_.erase(visit_.VisitID);
        else
            noTerm_.insert(visit_.VisitID);
        open_ = false;
    }

    dao::Database& db_;
    ReadRec& rec_;
    logimport::ImportRun& run_;
    long& count_;
    bool keepValues_ = false;
    long limit_ = 1000;
    long lastVisitID_ = 0;
    bool robot_ = false;
    bool open_ = false;
    VisitRow visit_;
    std::string previousIP_;
    SearchTermCache terms_;
    StoredTerms storedTerms_;
    // The open visit's lines while every line it has came in this scan.
    bool linesInMemory_ = false;
    std::vector<VisitPageLine> pageLines_;
    bool lastHasIP_ = false;
    std::optional<dao::Transaction> tx_;
    // Lines of visits made in this scan wait here for their visit number until the
    // visit's fate is known (see settle); visits finished without a term.
    std::unordered_map<long, std::vector<long>> held_;
    std::vector<long> heldRobots_;
    std::unordered_set<long> noTerm_;
};

void cleanUp(dao::Database& db, ReadRec& rec, logimport::ImportRun& run, VisitBuilder& builder) {
    long reportNo = 0;
    PIS_Start("Add Log Data to Site DB: " + siteName() + gCR + "Clean up and Compact database", "step", 2,
              "Add. Step 3/3.", reportNo, 0, 1, false);
    {
        bool eraseNonSE = false;
        INI_GetBoolVar("Main", "EraseNonSE", eraseNonSE, gIniDbDef, kIniMissingEmpty);
        long long n = builder.settle(eraseNonSE);
        if (eraseNonSE) STTA_NonSEVisitsErase(db);
        // Lines of probable robots left by a stopped run go too.
        n += STTA_LogLinesEraseByVisit(db, -1);
        if (n > 0) STTA_ProblemAdd(rec, run, "Probable Bot. Total log lines ignored: " + std::to_string(n));
        builder.commit();
    }
    if (STTA_CompactionDue(db)) {
        std::string temp = db.path() + ".compact";
        std::remove(temp.c_str());
        db.compact(temp);
    }
    int64_t done = 1;
    PIS_Update(done, "Add Log Data to Site DB: " + siteName() + gCR + "Clean up and Compact database", reportNo);
    STTA_RefrStoreClear(run.referrers());
    PIS_End(reportNo);
}

}  // namespace

bool STTA_CompactionDue(dao::Database& db) {
    const dao::Database::PageUse use = db.pageUse();
    return use.free > 0 && use.free * 4 >= use.pages;
}

long long STTA_StampSecondsBetween(std::int64_t a, std::int64_t b) {
    if (a == b) return 0;
    if (a == 0) return 2147483647;
    if (b == 0) return -2147483647;
    return stampSeconds(b) - stampSeconds(a);
}

std::int64_t STTA_StampMoved(std::int64_t stamp, long long seconds) {
    long long total = stampSeconds(stamp) + seconds;
    long long days = total / 86400, rest = total % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    core::DateParts p = core::dateParts(static_cast<double>(days));
    return ((static_cast<std::int64_t>(p.year) * 100 + p.month) * 100 + p.day) * 1000000 + rest / 3600 * 10000 +
           rest / 60 % 60 * 100 + rest % 60;
}

bool STTA_VisitTimeFits(const VisitRow& visit, const VisitLine& line, bool& earlier) {
    earlier = false;
    long long d = STTA_StampSecondsBetween(visit.EndTimeStamp, line.Timestamp);
    if (d < 0) {
        d = STTA_StampSecondsBetween(visit.StartTimeStamp, line.Timestamp);
        if (d < 0) {
            d = -d;
            earlier = true;
        }
    }
    return d <= kVisitGapSeconds;
}

bool STTA_VisitTermsAgree(const VisitRow& visit, const std::string& searchTerm, const std::string& searchEngine) {
    if (searchTerm.empty() || !visit.StzdSearchTerm || visit.StzdSearchTerm->empty()) return true;
    // Both sides standardised: "red+shoes" and "red shoes" are one search.
    std::string s;
    STTA_StzdSearchTermMake(searchTerm, s);
    if (s.empty()) return true;
    return *visit.StzdSearchTerm == fitted(s, kTermLen) && visit.SearchEngine.value_or("") == fitted(searchEngine, kEngineLen);
}

bool STTA_VisitNear(const VisitRow& visit, std::int64_t timestamp) {
    return visit.EndTimeStamp >= STTA_StampMoved(timestamp, -kVisitGapSeconds) &&
           visit.StartTimeStamp <= STTA_StampMoved(timestamp, kVisitGapSeconds);
}

void STTA_VisitsStoredNear(dao::Database& db, const std::string& ip, std::int64_t timestamp,
                           std::vector<VisitRow>& rows) {
    rows.clear();
    // Through the index on (FirstIP, EndTimeStamp): the start only filters ("+").
    db.forEachRow(std::string("SELECT ") + kVisitColumns +
                      " FROM visit WHERE FirstIP = ? AND EndTimeStamp >= ? AND +StartTimeStamp <= ?"
                      " ORDER BY StartTimeStamp, VisitID",
                  {fitted(ip, kIPLen), static_cast<long long>(STTA_StampMoved(timestamp, -kVisitGapSeconds)),
                   static_cast<long long>(STTA_StampMoved(timestamp, kVisitGapSeconds))},
                  [&](const dao::Statement& s) { rows.push_back(visitFromRow(s)); });
}

bool STTA_VisitFindStored(const std::string& ip, dao::Database& db, const VisitLine& line,
                          const std::string& searchTerm, const std::string& searchEngine, VisitRow& visit,
                          bool& earlier) {
    std::vector<VisitRow> rows;
    STTA_VisitsStoredNear(db, ip, line.Timestamp, rows);
    for (VisitRow& row : rows) {
        bool before = false;
        if (STTA_VisitTimeFits(row, line, before) && STTA_VisitTermsAgree(row, searchTerm, searchEngine)) {
            visit = std::move(row);
            earlier = before;
            return true;
        }
    }
    return false;
}

std::string SearchTermCache::termOf(const std::string& referrer, std::string& engine) {
    engine.clear();
    if (referrer.empty() || referrer == "-") return {};
    auto it = cache_.find(referrer);
    if (it != cache_.end()) {
        engine = it->second.second;
        return it->second.first;
    }
    core::StrArray unmatched;
    bool specMatched = false;
    std::string term = STTA_RefrToSEandST(referrer, unmatched, false, engine, specMatched);
    if (term.empty()) engine.clear();
    if (cache_.size() >= kLimit) cache_.clear();
    cache_.emplace(referrer, std::make_pair(term, engine));
    return term;
}

bool STTA_VisitLineJoin(VisitRow& visit, const VisitLine& line, const std::string& term, const std::string& engine,
                        bool earlier, long limit, ReadRec& rec, logimport::ImportRun& run) {
    if (earlier) {
        visit.FirstIP = fitted(line.IP, kIPLen);
        visit.StartLogLnID = line.LogLnID;
        visit.StartPageID = line.PageID;
        visit.StartTimeStamp = line.Timestamp;
    }
    if (!term.empty()) {
        std::string s;
        STTA_StzdSearchTermMake(term, s);
        if (!s.empty()) {
            bool firstTerm = !visit.StzdSearchTerm || visit.StzdSearchTerm->empty();
            visit.StzdSearchTerm = fitted(s, kTermLen);
            if (term != s) visit.SearchTerm = fitted(term, kTermLen);
            visit.SearchEngine = fitted(engine, kEngineLen);
            // Counted once per visit: the tally is of visits, not of lines.
            if (firstTerm) STTA_SEVisitDayTally(run.engineDays(), engine, line.Timestamp);
        }
    }
    if (!listHas(visit.CDSIPs, line.IP)) {
        std::string ips = visit.CDSIPs.empty() ? line.IP : visit.CDSIPs + "|" + line.IP;
        if (ips.size() <= static_cast<size_t>(kIPsLen)) visit.CDSIPs = ips;
    }
    if (STTA_StampSecondsBetween(visit.EndTimeStamp, line.Timestamp) > 0) visit.EndTimeStamp = line.Timestamp;
    ++visit.Files;
    if (limit > 0 && visit.Files > limit) {
        std::string n = std::to_string(limit);
        STTA_ProblemAdd(rec, run, "Probable Bot. Single visitor accessed more than " + n + " files. Only first " + n +
                                 " log lines saved for that visit. Visit at: " + std::to_string(visit.StartTimeStamp));
        return false;
    }
    return true;
}

void STTA_VisitPagesOfLines(std::vector<VisitPageLine>& lines, std::string& pages, std::string& bytes) {
    std::sort(lines.begin(), lines.end(), [](const VisitPageLine& a, const VisitPageLine& b) {
        return a.Timestamp != b.Timestamp ? a.Timestamp < b.Timestamp : a.LogLnID < b.LogLnID;
    });
    pages.clear();
    bytes.clear();
    bool first = true;
    for (const VisitPageLine& l : lines) {
        if (l.PageID == 0) continue;
        if (!first) {
            pages += '|';
            bytes += '|';
        }
        first = false;
        pages += std::to_string(l.PageID);
        bytes += std::to_string(l.Bytes);
    }
}

void STTA_VisitSave(dao::Database& db, VisitRow& visit, const std::string& pages, const std::string& bytes,
                    bool newRow) {
    if (visit.StzdSearchTerm && *visit.StzdSearchTerm == kNotSearchEngine) visit.StzdSearchTerm = "";
    auto [pageFields, bytesFields] = STTA_VisitFurtherPagesFields(db, visit.VisitID, pages, bytes);
    // Both statements take the values in one order, the number last.
    dao::Statement& s = db.prepared(
        newRow ? "INSERT INTO visit (FirstIP, StartLogLnID, StartPageID, StartTimeStamp, EndTimeStamp, Files, CDSIPs, "
                 "SearchTerm, StzdSearchTerm, SearchEngine, CDSClickFurtherPageIDs, CDSBytesClickFurtherPageIDs, "
                 "VisitID) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
               : "UPDATE visit SET FirstIP = ?, StartLogLnID = ?, StartPageID = ?, StartTimeStamp = ?, "
                 "EndTimeStamp = ?, Files = ?, CDSIPs = ?, SearchTerm = ?, StzdSearchTerm = ?, SearchEngine = ?, "
                 "CDSClickFurtherPageIDs = ?, CDSBytesClickFurtherPageIDs = ? WHERE VisitID = ?",
        true);
    dao::ResetOnExit reset(s);
    // Every text bound lives until the reset.
    auto optText = [&](int i, const std::optional<std::string>& v) { v ? s.bindTextKept(i, *v) : s.bindNull(i); };
    s.bindTextKept(1, visit.FirstIP);
    s.bindInt(2, visit.StartLogLnID);
    s.bindInt(3, visit.StartPageID);
    s.bindInt(4, visit.StartTimeStamp);
    s.bindInt(5, visit.EndTimeStamp);
    s.bindInt(6, visit.Files);
    s.bindTextKept(7, visit.CDSIPs);
    optText(8, visit.SearchTerm);
    optText(9, visit.StzdSearchTerm);
    optText(10, visit.SearchEngine);
    s.bindTextKept(11, pageFields);
    s.bindTextKept(12, bytesFields);
    s.bindInt(13, visit.VisitID);
    s.step();
}

std::string STTA_LineSearchTerm(logimport::ReferrerStore& store, bool keepValues, const VisitLine& line,
                                std::string& searchEngine) {
    searchEngine.clear();
    std::string referrer = lineReferrer(store, keepValues, line);
    if (referrer.empty() || referrer == "-") return {};
    core::StrArray unmatched;
    bool specMatched = false;
    std::string term = STTA_RefrToSEandST(referrer, unmatched, false, searchEngine, specMatched);
    if (term.empty()) searchEngine.clear();
    return term;
}

void STTA_StzdSearchTermMake(const std::string& searchTerm, std::string& standardised) {
    std::string s = searchTerm;
    for (char& c : s)
        if (c == '+') c = ' ';
    HHTML_URLDecode(s);
    standardised = TXT_Normalize(s, "", true, true, false, "", "");
}

void STTA_SEVisitDayTally(EngineDayTally& tally, const std::string& searchEngine, std::int64_t timestamp) {
    char day[16];
    std::snprintf(day, sizeof day, "%08lld", static_cast<long long>(timestamp / 1000000));
    std::string key = std::string(day) + "|" + searchEngine;
    core::StrArray& keys = tally.Keys;
    core::LngArray& counts = tally.Counts;
    if (!keys.hasBounds()) keys.redim(0, 0);
    long i = keys.find(key, keys.lbound(), core::Match::Exact);
    if (i < 0) {
        keys.append(key);
        i = keys.ubound();
    }
    if (!counts.hasBounds()) counts.redim(0, 0);
    if (counts.ubound() < i) counts.redimPreserve(i);
    counts.set(i, counts[i] + 1);
}

void STTA_NonSEVisitsErase(dao::Database& db) {
    // Visit by visit in effect, but one statement per table.
    const char* const visits = "SELECT VisitID FROM visit WHERE StzdSearchTerm IS NULL";
    db.execute(std::string("UPDATE logline SET VisitID = ") + std::to_string(kErasedLineVisitID) +
               " WHERE VisitID IN (" + visits + ")");
    db.execute(std::string("DELETE FROM visitpages WHERE visitID IN (") + visits + ")");
    db.execute("DELETE FROM visit WHERE StzdSearchTerm IS NULL");
}

long long STTA_LogLinesEraseByVisit(dao::Database& db, long visitID) {
    return db.execute("UPDATE logline SET VisitID = ? WHERE VisitID = ?", {kErasedLineVisitID, visitID});
}

void STTA_VisitPagesDeleteByVisit(dao::Database& db, long visitID) {
    db.execute("DELETE FROM visitpages WHERE visitID = ?", {visitID});
}

void STTA_VisitPagesCollect(dao::Database& db, long visitID, std::string& pageIDs, std::string& bytes,
                            long startPageID, bool timestampOrder) {
    pageIDs.clear();
    bytes.clear();
    std::vector<std::pair<long, long long>> pages;
    db.forEachRow(timestampOrder
                      ? "SELECT PageID, Bytes, CntDupes FROM logline WHERE VisitID = ? ORDER BY Timestamp, LogLnID"
                      : "SELECT PageID, Bytes, CntDupes FROM logline WHERE VisitID = ?",
                  {visitID}, [&](const dao::Statement& s) {
                      long pageID = asLong(s.column(0));
                      if (pageID == startPageID) return;  // repeats of a left-out page are left out too
                      long long b = asInt64(s.column(1));
                      long long dupes = asInt64(s.column(2));
                      pages.emplace_back(pageID, dupes > 0 ? b + b * dupes : b);
                  });
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            pageIDs += '|';
            bytes += '|';
        }
        pageIDs += std::to_string(pages[i].first);
        bytes += std::to_string(pages[i].second);
    }
}

long LogLnRaw_Add(dao::Database& db, ReadRec& rec, logimport::ImportRun& run, bool& interrupted) {
    interrupted = true;
    // A read that built the visits of its lines leaves only the clean-up.
    const bool readBuilt = run.Visits.CleanUpDue;
    long count = readBuilt ? run.Visits.Lines : 0;
    if (!readBuilt) run.engineDays() = EngineDayTally{};
    try {
        VisitBuilder builder(db, rec, run, count);
        if (builder.run() || readBuilt) cleanUp(db, rec, run, builder);
        run.Visits = ReadVisits{};
        INI_Put("Main", "AddedLogLns_MustDoVisitsAdd", "", gIniLastVals);
        interrupted = false;
    } catch (const sys::RtError& e) {
        PIS_CloseAll();
        if (e.number() == sys::kErrUserAbort) return count;
        std::string procName = "LogLnRaw_Add", extra = e.description();
        ErrorHandler(e.number(), nullptr, procName, extra);
    }
    return count;
}

long LogLnRaw_Add(dao::Database& db, ReadRec& rec, bool& interrupted) {
    logimport::ImportRun run;
    return LogLnRaw_Add(db, rec, run, interrupted);
}

void STTA_IncompleteAddFinish(dao::Database& db, ReadRec& rec, long& lines) {
    lines = 0;
    std::string added = INI_Get("Main", "AddedLogLns_MustDoVisitsAdd", gIniLastVals, kIniMissingEmpty);
    if (added.empty()) return;
    std::optional<double> when = core::parseDateText(added);
    std::string shown = when ? vbFormat(core::DateTime{*when}, "mmm dd yyyy hh:nn") : added;
    int answer = core::ui().msgBox(
        "Data was added from raw log files but process to create visits data was not completed. Reports will not "
        "include the data until the add process is completed." +
            gCRCR + "Date Last Added: " + shown + gCRCR + "Do you want to complete process to add raw log data now?",
        "&Yes|&No", "", "");
    if (answer != 1) return;
    const double start = core::vbNow();
    rec.LastKeepVal = INI_GetFlag("Main", "LastKeepVal", gIniDbDef, kIniMissingEmpty) ? 1 : 0;
    bool interrupted = true;
    logimport::ImportRun run;
    lines = LogLnRaw_Add(db, rec, run, interrupted);
    rec.LastRunSEDays = std::move(run.engineDays());
    STTA_AddDataLogWrite("**", TXT_ElapsedText(start, core::vbNow()), rec, run, "",
                         std::string("** Incomplete Reads ") + (interrupted ? "Part " : "") + "Done **",
                         "** End Incomplete Reads. Create visits data. **", {},
                         "Analysing log records. Creating stats for each visit.", "", std::to_string(lines));
}
