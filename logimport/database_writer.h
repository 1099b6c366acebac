#pragma once
// Runs jobs on the site database on a thread of its own, one after the other in the
// order posted, so that the reading thread can go on splitting lines while rows are
// written. The connection is not shared: the owner calls drain() before it uses the
// database itself, and a job's failure is raised there.
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

class DatabaseWriter {
public:
    DatabaseWriter() = default;
    ~DatabaseWriter();  // lets the posted jobs finish
    DatabaseWriter(const DatabaseWriter&) = delete;
    DatabaseWriter& operator=(const DatabaseWriter&) = delete;

    void post(std::function<void()> job);
    // Returns once every posted job has run; raises the first failure among them
    // (the jobs after a failure are skipped).
    void drain();
    // Drops the jobs not yet begun and the failure held, and returns once the job
    // under way has ended: after a failed write, nothing more may be written.
    void discard();

private:
    void run();

    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::deque<std::function<void()>> jobs_;
    bool busy_ = false, stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};
