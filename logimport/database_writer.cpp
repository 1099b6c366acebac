#include "logimport/database_writer.h"

#include <utility>

DatabaseWriter::~DatabaseWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void DatabaseWriter::post(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void DatabaseWriter::drain() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void DatabaseWriter::discard() {
    std::deque<std::function<void()>> dropped;
    {
        std::unique_lock lock(mutex_);
        dropped.swap(jobs_);
        idle_.wait(lock, [this] { return !busy_; });
        failure_ = nullptr;
    }
}

void DatabaseWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty()) return;
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        const bool skip = failure_ != nullptr;
        busy_ = true;
        lock.unlock();
        std::exception_ptr failed;
        if (!skip) {
            try {
                job();
            } catch (...) {
                failed = std::current_exception();
            }
        }
        job = nullptr;  // what it holds goes on this thread, outside the lock
        lock.lock();
        busy_ = false;
        if (failed && !failure_) failure_ = failed;
        if (jobs_.empty()) idle_.notify_all();
    }
}
