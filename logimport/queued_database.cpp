#include "logimport/queued_database.h"

#include <utility>

namespace logimport {

QueuedDatabase::~QueuedDatabase() { queue_.drainQuietly(); }

void QueuedDatabase::post(std::function<void(dao::Database&)> job) {
    queue_.post([this, job = std::move(job)] { job(db_); });
}

dao::Database& QueuedDatabase::use() {
    queue_.drain();
    return db_;
}

QueuedTransaction::QueuedTransaction(QueuedDatabase& site, long batchSize, std::function<void()> beforeCommit)
    : site_(site), batchSize_(batchSize), beforeCommit_(std::move(beforeCommit)) {
    tx_.emplace(site_.use(), dao::Transaction::OnExit::Commit);
}

QueuedTransaction::~QueuedTransaction() {
    try {
        site_.use();
    } catch (...) {
        // An error is on its way out already, or was reported by the commit.
    }
    tx_.reset();  // commits what was written (nothing after a rollback)
}

void QueuedTransaction::tick() {
    if (batchSize_ <= 0 || ++pending_ < batchSize_) return;
    pending_ = 0;
    if (beforeCommit_) beforeCommit_();
    dao::Database& db = site_.use();
    tx_->commit();
    tx_.emplace(db, dao::Transaction::OnExit::Commit);
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
    if (beforeCommit_) beforeCommit_();
    site_.use();
    tx_->commit();
}

}  // namespace logimport
