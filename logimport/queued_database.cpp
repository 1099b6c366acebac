#include "logimport/queued_database.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <utility>

namespace logimport {

namespace {

#if !defined(NDEBUG) || defined(DRAVOLIN_CHECKED)
constexpr bool kChecked = true;
#else
constexpr bool kChecked = false;
#endif

}  // namespace

QueuedDatabase::~QueuedDatabase() { queue_.drainQuietly(); }

void QueuedDatabase::post(std::function<void(dao::Database&)> job) {
    if (kChecked && lent_ > 0) {
        std::fputs("QueuedDatabase: a job was posted while the connection is lent\n", stderr);
        std::abort();
    }
    queue_.post([this, job = std::move(job)] { job(db_); });
}

QueuedDatabase::Lease QueuedDatabase::use() {
    queue_.drain();
    return Lease(*this);
}

QueuedTransaction::QueuedTransaction(QueuedDatabase& site, long batchSize, std::function<void()> beforeCommit)
    : site_(site), batchSize_(batchSize), beforeCommit_(std::move(beforeCommit)) {
    auto db = site_.use();
    tx_.emplace(*db, dao::Transaction::OnExit::Commit);
}

QueuedTransaction::~QueuedTransaction() {
    try {
        site_.use();
    } catch (...) {
        // A job failed and nobody waited for it since: what it and the jobs before
        // it wrote is not to be committed as if the work had gone well.
        rollback();
    }
    tx_.reset();  // commits what was written (nothing after a rollback)
}

dao::Transaction& QueuedTransaction::open() {
    if (!tx_) throw std::logic_error("QueuedTransaction used after its rollback");
    return *tx_;
}

void QueuedTransaction::tick() {
    open();
    if (batchSize_ <= 0 || ++pending_ < batchSize_) return;
    pending_ = 0;
    if (beforeCommit_) beforeCommit_();
    auto db = site_.use();
    tx_->commit();
    tx_.emplace(*db, dao::Transaction::OnExit::Commit);
}

void QueuedTransaction::rollback() {
    site_.discard();
    if (!tx_) return;
    try {
        tx_->rollback();
    } catch (...) {
        // SQLite has rolled back already.
    }
    tx_.reset();
}

void QueuedTransaction::commit() {
    open();
    if (beforeCommit_) beforeCommit_();
    site_.use();
    tx_->commit();
}

}  // namespace logimport
