#include "logimport/visit_stream.h"

#include <algorithm>
#include <cerrno>
#include <tuple>
#include <utility>

#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/program_paths.h"
#include "logimport/referrer_store.h"
#include "logimport/visit_pages.h"
#include "platform/sys/rt_error.h"

namespace {

// Lines read between two looks for visits to release.
constexpr long kSweepLines = 4096;
// Batches the writer may still have to write when a sweep begins.
constexpr size_t kBatchesBehind = 1;
// A visit is released this long after the visit gap has passed its end, so that
// lines logged a little out of order still find it in memory.
constexpr long kReleaseSlack = 4 * 3600;
// A released visit stays in memory this long after its end, for late lines.
constexpr long kEvictAfter = 24 * 3600;
// The held-line vectors: the room a new one starts with, the most room one may keep
// for reuse, and how many wait for reuse (about the visits released between sweeps).
constexpr size_t kHeldRoomFirst = 8;
constexpr size_t kHeldRoomKept = 32;
constexpr size_t kHeldVectorsKept = 1024;
constexpr size_t kSpillBuffer = 1 << 20;

long long queryNumber(dao::Database& db, const char* sql) {
    long long n = 0;
    db.forEachRow(sql, {}, [&](const dao::Statement& s) { n = s.columnInt(0); });
    return n;
}

// A visit in the spill file: the numbers, then each text with its length before it.
void putNumber(std::string& out, std::int64_t n) { out.append(reinterpret_cast<const char*>(&n), sizeof n); }
void putText(std::string& out, const std::string& s) {
    putNumber(out, static_cast<std::int64_t>(s.size()));
    out += s;
}

}  // namespace

bool VisitStream::usable(dao::Database& db, const ReadRec& rec, const logimport::ImportRun& run) {
    if (!run.VisitsWhileReading || rec.Test.Active) return false;
    return queryNumber(db, "SELECT EXISTS (SELECT 1 FROM logline WHERE VisitID IS NULL)") == 0;
}

VisitStream::VisitStream(logimport::QueuedDatabase& site, ReadRec& rec, logimport::ImportRun& run)
    : site_(site), rec_(rec), run_(run) {
    auto lease = site.use();
    dao::Database& db = *lease;
    keepValues_ = rec.LastKeepVal != 0;
    limit_ = core::wholeOf<long>(TXT_Val(INI_Get("Main", "LmtVisitLines", gIniDbDef, 7, "1000")));
    INI_GetBoolVar("Main", "EraseNonSE", eraseNonSE_, gIniDbDef, 3);
    // Numbers past any in use, so that no line or visit has to move later.
    lastVisitID_ = std::max(core::wholeOf<long>(TXT_Val(INI_Get("Main", "LastVisitID", "::*", 7, "0")),
                                                core::OutOfRange::Overflow),
                            static_cast<long>(queryNumber(db, "SELECT MAX(VisitID) FROM visit")));
    firstVisitID_ = lastVisitID_ + 1;
    run.LastLogLnID = std::max(run.LastLogLnID, static_cast<long>(queryNumber(db, "SELECT MAX(LogLnID) FROM logline")));
    storedVisits_ = queryNumber(db, "SELECT EXISTS (SELECT 1 FROM visit)") != 0;
    run.engineDays() = EngineDayTally{};
}

VisitStream::~VisitStream() {
    if (spill_) std::fclose(spill_);
}

logimport::QueuedDatabase::Lease VisitStream::db() {
    flushBatch();
    return site_.use();
}

void VisitStream::write(std::function<void(dao::Database&)> job) {
    flushBatch();
    if (storeAsRead_) {
        auto db = site_.use();
        job(*db);
    } else {
        site_.post(std::move(job));
    }
}

std::string VisitStream::termOf(const LogFields& fields, const LogLineRow& row, std::string& engine) {
    // The scan reads the referrer back from the store where it stored it (every one
    // without kept values, those kept cut with): the same text is used here.
    const std::string& raw = fields[kFldReferrer];
    if (keepValues_ && row.Kept && row.Kept->Referrer == raw) return terms_.termOf(raw, engine);
    auto it = rawTerms_.find(raw);
    if (it == rawTerms_.end()) {
        std::string e;
        std::string term = terms_.termOf(STTA_RefrAsFetched(run_.referrers(), raw), e);
        if (rawTerms_.size() >= 200000) rawTerms_.clear();
        it = rawTerms_.emplace(raw, std::make_pair(std::move(term), std::move(e))).first;
    }
    engine = it->second.second;
    return it->second.first;
}

VisitStream::Visit* VisitStream::find(long visitID) {
    auto it = visits_.find(visitID);
    return it == visits_.end() ? nullptr : &it->second;
}

void VisitStream::add(const LogFields& fields, double serial) {
    HeldLine held;
    held.LogLnID = run_.LastLogLnID + 1;
    // A page met for the first time is added to the table by this thread.
    long pageID = STTA_LogLinePageKnown(fields[kFldFileName], rec_, run_, site_.path());
    if (pageID < 0) {
        auto db = this->db();
        pageID = STTA_LogLinePageOf(fields[kFldFileName], rec_, run_, true, *db);
    }
    held.Row = STTA_LogLineRowMake(fields, rec_, run_, pageID, serial);
    run_.LastLogLnID = held.LogLnID;
    std::string engine;
    const std::string term = termOf(fields, held.Row, engine);
    VisitLine line;
    line.LogLnID = held.LogLnID;
    line.IP = held.Row.IP;
    line.PageID = held.Row.PageID;
    line.Timestamp = held.Row.Timestamp;
    line.Bytes = held.Row.Bytes;
    cursor_ = std::max(cursor_, line.Timestamp);
    // A line old enough to reach a visit sent to the spill file brings them all back.
    if (evictedEnd_ != 0 && line.Timestamp <= evictedReach_) reloadEvicted();

    IpVisits& ip = ips_[line.IP];
    bool earlier = false;
    // An evicted open visit ended too long before this line to be continued.
    Visit* open = ip.Open != 0 ? find(ip.Open) : nullptr;
    const bool continues = open && STTA_VisitTimeFits(open->Row, line, earlier) &&
                           STTA_VisitTermsAgree(open->Row, term, engine);
    long v = ip.Open;
    Visit* joined = open;
    if (!continues) {
        if (open && open->Row.StzdSearchTerm && *open->Row.StzdSearchTerm == kNotSearchEngine)
            open->Row.StzdSearchTerm = "";
        v = findStored(ip, line, term, engine, earlier);
        if (v == 0) {
            v = newVisit(ip);
            earlier = true;
        }
        ip.Open = v;
        joined = find(v);
    }
    Visit& visit = *joined;
    if (!visit.Active) reopen(visit);
    ++run_.Visits.Lines;
    if (!STTA_VisitLineJoin(visit.Row, line, term, engine, earlier, limit_, rec_, run_)) {
        // The join still counted the line on the row.
        if (visit.Written) visit.SaveDue = true;
        robotLine(std::move(held));
    } else if (storeAsRead_) {
        auto db = this->db();
        STTA_LogLineRowInsert(*db, held.LogLnID, held.Row, keepValues_, visit.Row.VisitID);
        visit.LinesStored = visit.SaveDue = true;
    } else {
        visit.Held.push_back(std::move(held));
    }
    if (++sinceSweep_ >= kSweepLines) sweep();
}

long VisitStream::findStored(IpVisits& ip, const VisitLine& line, const std::string& term, const std::string& engine,
                             bool& earlier) {
    // The candidates the scan's query would give: this read's visits from memory,
    // earlier additions' from the table unless one is held here with newer values.
    auto& found = candidates_;
    found.clear();
    for (long id : ip.Visits) {
        const VisitRow& r = find(id)->Row;
        if (STTA_VisitNear(r, line.Timestamp)) found.emplace_back(r.StartTimeStamp, r.VisitID, &r);
    }
    std::vector<VisitRow>& rows = storedNear_;
    rows.clear();
    if (storedVisits_) {
        auto db = this->db();
        STTA_VisitsStoredNear(*db, line.IP, line.Timestamp, rows);
        for (const VisitRow& r : rows)
            if (r.VisitID < firstVisitID_ && !find(r.VisitID)) found.emplace_back(r.StartTimeStamp, r.VisitID, &r);
    }
    std::sort(found.begin(), found.end());
    for (const auto& [start, id, r] : found) {
        bool before = false;
        if (!STTA_VisitTimeFits(*r, line, before) || !STTA_VisitTermsAgree(*r, term, engine)) continue;
        earlier = before;
        if (!find(id)) {
            // A visit of an earlier addition: its lines are in the table already.
            Visit& old = visits_[id];
            old.Row = *r;
            old.Active = false;
            old.Written = old.LinesStored = true;
            ip.Visits.push_back(id);
        }
        return id;
    }
    return 0;
}

long VisitStream::newVisit(IpVisits& ip) {
    const long id = ++lastVisitID_;
    Visit& visit = visits_[id];
    visit.Row.VisitID = id;
    visit.Held = heldPool_->take();
    ip.Visits.push_back(id);
    active_.push_back(id);
    return id;
}

void VisitStream::reopen(Visit& visit) {
    visit.Active = true;
    active_.push_back(visit.Row.VisitID);
    if (!visit.Dropped) return;
    // Revived: its erased lines are its own again.
    visit.LinesStored = visit.LinesStored || !visit.Erased.empty();
    write([lines = std::exchange(visit.Erased, {}), visitID = visit.Row.VisitID](dao::Database& db) {
        for (long id : lines) {
            dao::Statement& s = db.prepared("UPDATE logline SET VisitID = ? WHERE LogLnID = ?", true);
            dao::ResetOnExit reset(s);
            s.bindInt(1, visitID);
            s.bindInt(2, id);
            s.step();
        }
    });
    visit.Dropped = false;
}

void VisitStream::robotLine(HeldLine&& line) {
    // The clean-up marks them erased and counts them.
    std::vector<HeldLine> lines = heldPool_->take();
    lines.push_back(std::move(line));
    storeLines(std::move(lines), -1);
}

void VisitStream::sweep() {
    sinceSweep_ = 0;
    // Memory stays flat: what the sweeps before the last handed over is written before
    // more is. The writer may be a batch behind, so that neither side waits for the
    // other at every sweep.
    flushBatch();
    site_.lagAtMost(kBatchesBehind);
    const std::int64_t before = STTA_StampMoved(cursor_, -(kVisitGapSeconds + kReleaseSlack));
    size_t kept = 0;
    for (long id : active_) {
        Visit* visit = find(id);
        if (!visit || !visit->Active) continue;
        if (visit->Row.EndTimeStamp < before)
            release(*visit);
        else
            active_[kept++] = id;
    }
    active_.resize(kept);
    flushBatch();
    if (storeAsRead_) return;  // repeats may still change any visit
    const std::int64_t evictBefore = STTA_StampMoved(cursor_, -kEvictAfter);
    while (!released_.empty()) {
        Visit* visit = find(released_.front());
        if (visit && !visit->Active) {
            if (visit->Row.EndTimeStamp >= evictBefore) break;
            evict(*visit);
        }
        released_.pop_front();
    }
}

void VisitStream::release(Visit& visit) {
    visit.Active = false;
    released_.push_back(visit.Row.VisitID);
    if (!storeAsRead_ && eraseNonSE_ && !visit.Row.StzdSearchTerm && !visit.LinesStored) {
        // The clean-up would erase it: its lines are stored erased, their numbers
        // kept in case a late line gives it a term.
        visit.Erased.reserve(visit.Held.size());
        for (const HeldLine& l : visit.Held) visit.Erased.push_back(l.LogLnID);
        storeLines(std::exchange(visit.Held, {}), kErasedLineVisitID);
        visit.Dropped = true;
        return;
    }
    // Unchanged since a commit stored it, as the end of each file does.
    if (visit.Written && visit.Held.empty() && !visit.SaveDue) return;
    save(visit);
}

void VisitStream::evict(Visit& visit) {
    const VisitRow& r = visit.Row;
    auto ip = ips_.find(r.FirstIP);
    std::string out;
    putNumber(out, r.VisitID);
    putNumber(out, r.StartLogLnID);
    putNumber(out, r.StartPageID);
    putNumber(out, r.StartTimeStamp);
    putNumber(out, r.EndTimeStamp);
    putNumber(out, r.Files);
    putText(out, r.FirstIP);
    putText(out, r.CDSIPs);
    for (const auto* t : {&r.SearchTerm, &r.StzdSearchTerm, &r.SearchEngine}) {
        putNumber(out, t->has_value());
        putText(out, t->value_or(""));
    }
    putNumber(out, static_cast<std::int64_t>(visit.Erased.size()));
    for (long id : visit.Erased) putNumber(out, id);
    putNumber(out, visit.Dropped);
    putNumber(out, visit.Written);
    putNumber(out, visit.LinesStored);
    putNumber(out, ip != ips_.end() && ip->second.Open == r.VisitID);
    evicted_.push_back(spill(out));
    if (r.EndTimeStamp > evictedEnd_) {
        evictedEnd_ = r.EndTimeStamp;
        evictedReach_ = STTA_StampMoved(evictedEnd_, kVisitGapSeconds);
    }
    const long id = r.VisitID;
    visits_.erase(id);
    if (ip != ips_.end()) {
        auto& list = ip->second.Visits;
        list.erase(std::remove(list.begin(), list.end(), id), list.end());
        // Nothing left for the IP's next line to continue or find.
        if (list.empty() && !find(ip->second.Open)) ips_.erase(ip);
    }
}

void VisitStream::reloadEvicted() {
    auto fail = [] { sys::raiseErrno(errno ? errno : EIO, "Spill file", "VisitStream"); };
    if (!evicted_.empty() && std::fflush(spill_) != 0) fail();
    auto number = [&] {
        std::int64_t n = 0;
        if (std::fread(&n, sizeof n, 1, spill_) != 1) fail();
        return n;
    };
    auto text = [&] {
        std::string t(static_cast<size_t>(number()), '\0');
        if (!t.empty() && std::fread(t.data(), 1, t.size(), spill_) != t.size()) fail();
        return t;
    };
    spillAtEnd_ = false;
    for (long long at : evicted_) {
        if (fseeko(spill_, at, SEEK_SET) != 0) fail();
        const long id = static_cast<long>(number());
        Visit& visit = visits_[id];
        VisitRow& r = visit.Row;
        r.VisitID = id;
        r.StartLogLnID = static_cast<long>(number());
        r.StartPageID = static_cast<long>(number());
        r.StartTimeStamp = number();
        r.EndTimeStamp = number();
        r.Files = static_cast<long>(number());
        r.FirstIP = text();
        r.CDSIPs = text();
        for (auto* t : {&r.SearchTerm, &r.StzdSearchTerm, &r.SearchEngine}) {
            const bool has = number() != 0;
            std::string value = text();
            if (has) *t = std::move(value);
        }
        visit.Erased.resize(static_cast<size_t>(number()));
        for (long& id : visit.Erased) id = static_cast<long>(number());
        visit.Dropped = number() != 0;
        visit.Written = number() != 0;
        visit.LinesStored = number() != 0;
        visit.Active = false;
        IpVisits& ip = ips_[r.FirstIP];
        ip.Visits.push_back(id);
        if (number() != 0 && ip.Open == 0) ip.Open = id;
    }
    evicted_.clear();
    evictedEnd_ = evictedReach_ = 0;
}

void VisitStream::save(Visit& visit) {
    // As the row is written; a later continuation sees the same.
    if (visit.Row.StzdSearchTerm && *visit.Row.StzdSearchTerm == kNotSearchEngine) visit.Row.StzdSearchTerm = "";
    const bool pagesInMemory = !visit.LinesStored;
    std::string pages, bytes;
    if (pagesInMemory) {
        pageLines_.clear();
        for (const HeldLine& l : visit.Held)
            pageLines_.push_back({l.Row.Timestamp, l.LogLnID, l.Row.PageID, l.Row.Bytes});
        STTA_VisitPagesOfLines(pageLines_, pages, bytes);
    }
    auto saved = std::make_unique<VisitSave>(VisitSave{visit.Row, pagesInMemory, !visit.Written, std::move(pages),
                                                         std::move(bytes)});
    queueWrite({std::exchange(visit.Held, {}), visit.Row.VisitID, std::move(saved)});
    visit.LinesStored = visit.Written = true;
    visit.SaveDue = false;
}

void VisitStream::storeLines(std::vector<HeldLine>&& lines, long visitID) {
    queueWrite({std::move(lines), visitID, nullptr});
}

void VisitStream::queueWrite(VisitWrite&& w) {
    if (storeAsRead_) {
        std::vector<VisitWrite> one;
        one.push_back(std::move(w));
        auto db = site_.use();
        writeBatch(*db, one, keepValues_, *heldPool_);
        return;
    }
    batch_.push_back(std::move(w));
}

void VisitStream::flushBatch() {
    if (batch_.empty()) return;
    // Shared: a queued job must be copyable, and held lines are not.
    auto batch = std::make_shared<std::vector<VisitWrite>>(std::exchange(batch_, {}));
    site_.post([keepValues = keepValues_, batch, pool = heldPool_](dao::Database& db) {
        writeBatch(db, *batch, keepValues, *pool);
    });
}

void VisitStream::writeBatch(dao::Database& db, std::vector<VisitWrite>& batch, bool keepValues, HeldLinePool& pool) {
    std::vector<LogLineInsert> lines;
    size_t count = 0;
    for (const VisitWrite& w : batch) count += w.Lines.size();
    lines.reserve(count);
    for (const VisitWrite& w : batch)
        for (const HeldLine& l : w.Lines) lines.push_back({l.LogLnID, &l.Row, w.LinesVisitID});
    std::sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return a.LogLnID < b.LogLnID; });
    STTA_LogLineRowsInsert(db, lines, keepValues);
    for (VisitWrite& w : batch) {
        pool.give(std::move(w.Lines));
        if (!w.Save) continue;
        VisitSave& v = *w.Save;
        if (!v.PagesInMemory) STTA_VisitPagesCollect(db, v.Row.VisitID, v.Pages, v.Bytes, 0, true);
        STTA_VisitSave(db, v.Row, v.Pages, v.Bytes, v.NewRow);
    }
}

void VisitStream::storeAsRead() {
    if (storeAsRead_) return;
    db();  // what waits in the queue goes first
    storeAsRead_ = true;
    reloadEvicted();
    // The duplicate check looks in the table: every line read so far goes there.
    for (auto& [id, visit] : visits_) {
        if (visit.Held.empty()) continue;
        storeLines(std::exchange(visit.Held, {}), id);
        visit.LinesStored = visit.SaveDue = true;
    }
}

bool VisitStream::holdsLineBetween(std::int64_t first, std::int64_t last) {
    // Only visits not yet released hold lines back.
    for (long id : active_) {
        const Visit* visit = find(id);
        if (!visit) continue;
        for (const HeldLine& l : visit->Held)
            if (l.Row.Timestamp >= first && l.Row.Timestamp <= last) return true;
    }
    return false;
}

void VisitStream::repeatCounted(long visitID) {
    if (Visit* visit = find(visitID)) visit->SaveDue = true;
}

void VisitStream::storeHeld() {
    if (finished_) return;
    for (auto& [id, visit] : visits_)
        if (!visit.Dropped && (visit.SaveDue || !visit.Held.empty())) save(visit);
    flushBatch();
}

void VisitStream::finish() {
    if (finished_) return;
    finished_ = true;
    logimport::QueuedTransaction tx(site_);
    try {
        for (long id : active_)
            if (Visit* visit = find(id); visit && visit->Active) release(*visit);
        active_.clear();
        for (auto& [id, visit] : visits_)
            if (visit.SaveDue && !visit.Dropped) save(visit);
        db();  // a failed write is raised before the run is marked built
    } catch (...) {
        // A failed write (a full disk) must not leave lines whose visit it never
        // stored: all this last write did goes back, and adding the file again
        // stores it.
        tx.rollback();
        throw;
    }
    INI_Put("Main", "LastVisitID", lastVisitID_, "::*");
    run_.Visits.CleanUpDue = true;
    tx.commit();
    if (spill_) std::fclose(spill_);
    spill_ = nullptr;
}

void VisitStream::abandon() {
    finished_ = true;
    batch_.clear();
    if (spill_) std::fclose(spill_);
    spill_ = nullptr;
}

std::vector<VisitStream::HeldLine> VisitStream::HeldLinePool::take() {
    {
        std::lock_guard lock(mutex_);
        if (!spare_.empty()) {
            std::vector<HeldLine> lines = std::move(spare_.back());
            spare_.pop_back();
            return lines;
        }
    }
    std::vector<HeldLine> lines;
    lines.reserve(kHeldRoomFirst);
    return lines;
}

void VisitStream::HeldLinePool::give(std::vector<HeldLine>&& lines) {
    // A robot's thousand lines keep no room: most visits are short.
    if (lines.capacity() > kHeldRoomKept) return;
    lines.clear();
    std::lock_guard lock(mutex_);
    if (spare_.size() < kHeldVectorsKept) spare_.push_back(std::move(lines));
}

long long VisitStream::spill(const std::string& bytes) {
    if (!spill_) {
        if (!(spill_ = std::tmpfile())) sys::raiseErrno(errno ? errno : EIO, "Spill file", "VisitStream");
        // Visits go out by the ten thousand: in large writes, not one per 4 KiB.
        spillBuffer_.resize(kSpillBuffer);
        std::setvbuf(spill_, spillBuffer_.data(), _IOFBF, spillBuffer_.size());
    }
    const long long at = spillEnd_;
    // A seek would empty the write buffer each time: only after reading back.
    if ((!spillAtEnd_ && fseeko(spill_, at, SEEK_SET) != 0) ||
        std::fwrite(bytes.data(), 1, bytes.size(), spill_) != bytes.size())
        sys::raiseErrno(errno ? errno : EIO, "Spill file", "VisitStream");
    spillAtEnd_ = true;
    spillEnd_ += static_cast<long long>(bytes.size());
    return at;
}
