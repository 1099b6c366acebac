#pragma once
// Runs jobs on a thread of its own, one after the other in the order posted, so that
// the posting thread goes on with its own work meanwhile. The thread starts with the
// first job and ends with the queue, so a queue belongs to the run that made it and
// nothing of it outlives the run. A job's failure is raised on the posting thread at
// the next drain().
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace logimport {

class WorkQueue {
public:
    enum class AfterFailure {
        SkipRest,  // the jobs posted after a failure are dropped (they build on it)
        RunRest,   // they still run: each stands on its own
    };
    explicit WorkQueue(AfterFailure afterFailure) : afterFailure_(afterFailure) {}
    ~WorkQueue();  // lets the posted jobs finish
    WorkQueue(const WorkQueue&) = delete;
    WorkQueue& operator=(const WorkQueue&) = delete;

    void post(std::function<void()> job);
    // Returns once every posted job has run; raises the first failure among them.
    void drain();
    // Returns once at most `jobs` posted jobs have not ended; raises the first failure.
    void drainTo(size_t jobs);
    // Returns once every posted job has run, forgetting any failure.
    void drainQuietly();
    // Drops the jobs not yet begun and any failure, and returns once the job under
    // way has ended: after a failed write, nothing more may be written.
    void discard();

private:
    void run();
    // Waits until at most `jobs` jobs are waiting or running.
    void waitUntilAtMost(std::unique_lock<std::mutex>& lock, size_t jobs);

    const AfterFailure afterFailure_;
    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::deque<std::function<void()>> jobs_;
    bool busy_ = false, stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace logimport
