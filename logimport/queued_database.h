#pragma once
// The site database while a work queue writes to it on a thread of its own. A job
// gets the connection as its argument; this side reaches it only through a lease
// from use(), which first waits for every job posted and raises a failed one's
// error, so the connection is never used by two threads at once. Nothing may be
// posted while a lease is held (checked in debug and sanitizer builds): the job
// would write through the connection the lease still lends.
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "logimport/work_queue.h"
#include "platform/dao/database.h"

namespace logimport {

class QueuedDatabase {
public:
    // The connection lent to this side for as long as the lease lives. Reached only
    // through a named lease, so that what it lends cannot outlive it unnoticed.
    class Lease {
    public:
        Lease(Lease&& other) noexcept : site_(std::exchange(other.site_, nullptr)) {}
        Lease& operator=(Lease&&) = delete;
        ~Lease() {
            if (site_) --site_->lent_;
        }
        dao::Database& operator*() & { return site_->db_; }
        dao::Database* operator->() & { return &site_->db_; }
        dao::Database& operator*() && = delete;
        dao::Database* operator->() && = delete;

    private:
        friend class QueuedDatabase;
        explicit Lease(QueuedDatabase& site) : site_(&site) { ++site.lent_; }
        QueuedDatabase* site_;
    };

    explicit QueuedDatabase(dao::Database& db) : db_(db) {}
    // Waits for what was posted; a failure then is already on its way or reported.
    ~QueuedDatabase();
    QueuedDatabase(const QueuedDatabase&) = delete;
    QueuedDatabase& operator=(const QueuedDatabase&) = delete;

    // Jobs after a failed one are dropped: they build on what it wrote.
    void post(std::function<void(dao::Database&)> job);
    Lease use();
    // Returns once at most `jobs` posted jobs have not ended; raises a failed one's error.
    void lagAtMost(size_t jobs) { queue_.drainTo(jobs); }
    // Drops the jobs not yet begun and any failure, once the job under way has ended.
    void discard() { queue_.discard(); }
    // The database file: needs no wait, the jobs never change it.
    const std::string& path() const { return db_.path(); }

private:
    dao::Database& db_;
    int lent_ = 0;  // leases alive; only the posting thread touches it
    WorkQueue queue_{WorkQueue::AfterFailure::SkipRest};
};

// A transaction on the queued connection, committed on every way out that saw no
// failure: each commit (every `batchSize` ticks, at commit(), at the end) first waits
// for the jobs posted, so that their rows belong to it. A failure of a job that only
// the end finds rolls the transaction back instead, as rollback() does.
class QueuedTransaction {
public:
    // `beforeCommit` runs before each commit of commit() and tick(), to post what must
    // belong to it.
    explicit QueuedTransaction(QueuedDatabase& site, long batchSize = 0, std::function<void()> beforeCommit = {});
    ~QueuedTransaction();
    QueuedTransaction(const QueuedTransaction&) = delete;
    QueuedTransaction& operator=(const QueuedTransaction&) = delete;

    // tick() and commit() after rollback() raise std::logic_error: the transaction is over.
    void tick();
    void commit();
    // After a failed write: the jobs not yet begun are dropped and the work since the
    // last commit is rolled back, so nothing written after the failure is kept.
    void rollback();

private:
    dao::Transaction& open();

    QueuedDatabase& site_;
    const long batchSize_;
    std::function<void()> beforeCommit_;
    long pending_ = 0;
    std::optional<dao::Transaction> tx_;
};

}  // namespace logimport
