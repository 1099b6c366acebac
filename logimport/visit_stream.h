#pragma once
// The visits of an addition built while its lines are read, with the same rules and
// the same outcome as the visit building's scan over the stored lines: every IP's
// lines are taken in file order, the open visit of each IP and every visit this run
// made are kept in memory, and visits stored by earlier additions are looked up in
// the table only where a line may continue one.
//
// A visit's lines wait in memory until the read has moved well past its end; then
// they are stored with their visit number and the visit row is written once. With
// EraseNonSE, the lines of a visit that has no search term by then are stored marked
// erased at once and the visit row is never written; a late line that gives the
// visit a term takes them back. A day later the visit itself goes to a spill file,
// to come back only if a line that old turns up. So memory stays flat however long
// the log, and no line is written twice or read back.
//
// What a sweep releases is written on the queue of the read's site connection
// (QueuedDatabase) while the next lines are split, as one job with the lines in
// number order; this side reaches the connection only through that guard, which
// waits for the queue first.
//
// Visits are numbered in the order they begin in the read, not in IP order. A read
// that overlaps stored data switches to storing every line at once (its duplicate
// check looks in the table); the visits whose lines gained repeats there are written
// again at the end.
#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <tuple>
#include <utility>
#include <string>
#include <unordered_map>
#include <vector>

#include "logimport/import_run.h"
#include "logimport/log_format.h"
#include "logimport/logline_store.h"
#include "logimport/queued_database.h"
#include "logimport/read_record.h"
#include "logimport/visit_building.h"
#include "platform/dao/database.h"

class VisitStream {
public:
    // A read can build its visits when it stores lines (no test read), its caller asked
    // for it, and no stored line waits for its visit (those take the scan).
    static bool usable(dao::Database& db, const ReadRec& rec);

    // Writes through the read's queued connection; the run keeps the engine/day tally.
    VisitStream(logimport::QueuedDatabase& site, ReadRec& rec, logimport::ImportRun& run);
    ~VisitStream();
    VisitStream(const VisitStream&) = delete;
    VisitStream& operator=(const VisitStream&) = delete;

    // The accepted line becomes the next LogLnID in its visit.
    void add(const LogFields& fields, double serial);
    // Whether a line read so far and not stored yet is stamped between the two stamps
    // (yyyymmddhhnnss): such lines count as stored data for the overlap check.
    bool holdsLineBetween(std::int64_t first, std::int64_t last);
    // From now on every line is stored as it is read, and what waits is stored now.
    void storeAsRead();
    // Stores the lines still held with their visits (which may go on) and rewrites the
    // rows that are behind their lines, so that a commit holds every line read so far.
    void storeHeld();
    // A repeat was counted on a stored line of the visit: its pages change.
    void repeatCounted(long visitID);
    // Stores every visit and what waits; the visit building then only cleans up.
    void finish();
    // After a write failed and its transaction was rolled back (with what waited in
    // the queue): nothing more is written, so that no visit outlives the lines it lost.
    void abandon();

private:
    struct HeldLine {
        long LogLnID = 0;
        LogLineRow Row;
    };
    struct Visit {
        VisitRow Row;
        std::vector<HeldLine> Held;  // lines not stored yet
        std::vector<long> Erased;    // lines of a dropped visit, stored marked erased
        bool Active = true;       // may still be continued before the read moves on
        bool Dropped = false;     // without a term when released: lines erased
        bool Written = false;     // has a row in the table
        bool LinesStored = false; // some of its lines are in the table
        bool SaveDue = false;     // its row must be written again
    };
    struct IpVisits {
        long Open = 0;             // the visit the IP's previous line went to
        std::vector<long> Visits;  // every visit of the IP held in memory
    };
    // The vectors that hold visits' lines come back emptied from the writing queue
    // with their room kept, so that once the first visits are written a line is held
    // without a heap allocation of its own. Shared with the queued jobs, which may
    // outlive the stream.
    class HeldLinePool {
    public:
        std::vector<HeldLine> take();
        void give(std::vector<HeldLine>&& lines);  // on either thread

    private:
        std::mutex mutex_;
        std::vector<std::vector<HeldLine>> spare_;
    };

    // What a sweep releases: the lines of each visit and, for a visit saved, its row.
    // Written as one job, the lines in number order, so that the inserts walk each
    // tree from left to right instead of jumping between the visits' pages.
    struct VisitSave {
        VisitRow Row;
        bool PagesInMemory = false, NewRow = false;
        std::string Pages, Bytes;
    };
    struct VisitWrite {
        std::vector<HeldLine> Lines;
        long LinesVisitID = 0;
        std::unique_ptr<VisitSave> Save;  // none for the lines of a dropped visit
    };
    static void writeBatch(dao::Database& db, std::vector<VisitWrite>& batch, bool keepValues,
                           HeldLinePool& pool);
    void queueWrite(VisitWrite&& w);
    void flushBatch();
    // The connection, once what the stream has queued is written.
    logimport::QueuedDatabase::Lease db();
    std::string termOf(const LogFields& fields, const LogLineRow& row, std::string& engine);
    Visit* find(long visitID);
    long findStored(IpVisits& ip, const VisitLine& line, const std::string& term, const std::string& engine,
                    bool& earlier);
    long newVisit(IpVisits& ip);
    void reopen(Visit& visit);
    void robotLine(HeldLine&& line);
    void sweep();
    void release(Visit& visit);
    void evict(Visit& visit);
    void reloadEvicted();
    void save(Visit& visit);
    // Runs database work on the writing thread while visits are built in memory,
    // at once when every line is stored as it is read.
    void write(std::function<void(dao::Database&)> job);
    void storeLines(std::vector<HeldLine>&& lines, long visitID);
    long long spill(const std::string& bytes);

    logimport::QueuedDatabase& site_;
    ReadRec& rec_;
    logimport::ImportRun& run_;
    bool keepValues_ = false;
    bool eraseNonSE_ = false;
    long limit_ = 1000;
    long lastVisitID_ = 0;
    long firstVisitID_ = 1;      // visits numbered from here were made by this read
    bool storedVisits_ = false;  // earlier additions left visits to continue
    bool storeAsRead_ = false;
    bool finished_ = false;
    std::int64_t cursor_ = 0;    // the latest stamp read
    long sinceSweep_ = 0;
    std::unordered_map<long, Visit> visits_;  // by number
    std::unordered_map<std::string, IpVisits> ips_;
    std::vector<long> active_;    // visits not released, roughly by end
    std::deque<long> released_;   // released visits in the order released
    std::vector<long long> evicted_;  // where the evicted visits wait
    std::int64_t evictedEnd_ = 0;     // the latest end of an evicted visit
    std::int64_t evictedReach_ = 0;   // a line stamped up to this may continue one
    SearchTermCache terms_;
    std::unordered_map<std::string, std::pair<std::string, std::string>> rawTerms_;
    std::shared_ptr<HeldLinePool> heldPool_ = std::make_shared<HeldLinePool>();
    std::vector<std::tuple<std::int64_t, long, const VisitRow*>> candidates_;  // of findStored
    std::vector<VisitRow> storedNear_;                                         // of findStored
    std::vector<VisitPageLine> pageLines_;                                     // of save
    std::vector<VisitWrite> batch_;
    std::vector<char> spillBuffer_;  // the spill file's, while it is open
    std::FILE* spill_ = nullptr;
    long long spillEnd_ = 0;
    bool spillAtEnd_ = false;  // the file position is at its end
};
