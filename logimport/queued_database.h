#pragma once
// The site database while a work queue writes to it on a thread of its own. A job
// gets the connection as its argument; this side reaches it only through use(),
// which first waits for every job posted and raises a failed one's error, so the
// connection is never used by two threads at once.
#include <functional>
#include <optional>
#include <string>

#include "logimport/work_queue.h"
#include "platform/dao/database.h"

namespace logimport {

class QueuedDatabase {
public:
    explicit QueuedDatabase(dao::Database& db) : db_(db) {}
    // Waits for what was posted; a failure then is already on its way or reported.
    ~QueuedDatabase();
    QueuedDatabase(const QueuedDatabase&) = delete;
    QueuedDatabase& operator=(const QueuedDatabase&) = delete;

    // Jobs after a failed one are dropped: they build on what it wrote.
    void post(std::function<void(dao::Database&)> job);
    dao::Database& use();
    // Returns once at most `jobs` posted jobs have not ended; raises a failed one's error.
    void lagAtMost(size_t jobs) { queue_.drainTo(jobs); }
    // Drops the jobs not yet begun and any failure, once the job under way has ended.
    void discard() { queue_.discard(); }
    // The database file: needs no wait, the jobs never change it.
    const std::string& path() const { return db_.path(); }

private:
    dao::Database& db_;
    WorkQueue queue_{WorkQueue::AfterFailure::SkipRest};
};

// A transaction on the queued connection, committed on every way out: each commit
// (every `batchSize` ticks, at commit(), at the end) first waits for the jobs posted,
// so that their rows belong to it.
class QueuedTransaction {
public:
    // `beforeCommit` runs before each commit of commit() and tick(), to post what must
    // belong to it.
    explicit QueuedTransaction(QueuedDatabase& site, long batchSize = 0, std::function<void()> beforeCommit = {});
    ~QueuedTransaction();
    QueuedTransaction(const QueuedTransaction&) = delete;
    QueuedTransaction& operator=(const QueuedTransaction&) = delete;

    void tick();
    void commit();
    // After a failed write: the jobs not yet begun are dropped and the work since the
    // last commit is rolled back, so nothing written after the failure is kept.
    void rollback();

private:
    QueuedDatabase& site_;
    const long batchSize_;
    std::function<void()> beforeCommit_;
    long pending_ = 0;
    std::optional<dao::Transaction> tx_;
};

}  // namespace logimport
