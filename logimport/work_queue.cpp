#include "logimport/work_queue.h"

#include <utility>

namespace logimport {

WorkQueue::~WorkQueue() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void WorkQueue::post(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void WorkQueue::waitUntilAtMost(std::unique_lock<std::mutex>& lock, size_t jobs) {
    idle_.wait(lock, [&] { return jobs_.size() + (busy_ ? 1 : 0) <= jobs; });
}

void WorkQueue::discard() {
    std::deque<std::function<void()>> dropped;  // let go of outside the lock
    std::unique_lock lock(mutex_);
    dropped.swap(jobs_);
    waitUntilAtMost(lock, 0);
    failure_ = nullptr;
}

void WorkQueue::drain() { drainTo(0); }

void WorkQueue::drainTo(size_t jobs) {
    std::unique_lock lock(mutex_);
    waitUntilAtMost(lock, jobs);
    if (std::exception_ptr failed = std::exchange(failure_, nullptr)) {
        lock.unlock();
        std::rethrow_exception(failed);
    }
}

void WorkQueue::drainQuietly() {
    std::unique_lock lock(mutex_);
    waitUntilAtMost(lock, 0);
    failure_ = nullptr;
}

void WorkQueue::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty()) return;
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        const bool skip = failure_ && afterFailure_ == AfterFailure::SkipRest;
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
        idle_.notify_all();
    }
}

}  // namespace logimport
