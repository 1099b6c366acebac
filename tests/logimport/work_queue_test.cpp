#include "logimport/work_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <string>
#include <vector>

#include "logimport/queued_database.h"
#include "tests/logimport/temp_site.h"

using logimport::WorkQueue;

TEST(WorkQueue, RunsInOrderAndRaisesTheFirstFailureAtTheNextDrain) {
    struct Case {
        WorkQueue::AfterFailure after;
        std::string ran;  // what ran after the failed job
    } cases[] = {{WorkQueue::AfterFailure::SkipRest, "a"}, {WorkQueue::AfterFailure::RunRest, "acd"}};
    for (const Case& c : cases) {
        std::string ran;
        WorkQueue queue(c.after);
        queue.post([&] { ran += 'a'; });
        queue.post([] { throw std::runtime_error("first"); });
        queue.post([&] { ran += 'c'; });
        queue.post([] { throw std::runtime_error("second"); });
        queue.post([&] { ran += 'd'; });
        try {
            queue.drain();
            ADD_FAILURE() << "no failure raised";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "first");
        }
        EXPECT_EQ(ran, c.ran);
        queue.drain();  // raised once
        queue.post([&] { ran += 'e'; });
        queue.drain();
        EXPECT_EQ(ran, c.ran + "e");
    }
}

TEST(WorkQueue, DrainToWaitsUntilNoMoreThanTheJobsAllowedAreLeft) {
    std::mutex gate;
    std::unique_lock held(gate);  // the last job waits here
    std::atomic<int> done = 0;
    WorkQueue queue(WorkQueue::AfterFailure::SkipRest);
    for (int i = 0; i < 5; ++i) queue.post([&] { std::this_thread::sleep_for(std::chrono::milliseconds(2)); ++done; });
    queue.post([&] { std::lock_guard wait(gate); });
    queue.drainTo(1);  // returns with the blocked job still under way
    EXPECT_EQ(done, 5);
    held.unlock();
    queue.post([] { throw std::runtime_error("failed"); });
    EXPECT_THROW(queue.drainTo(0), std::runtime_error);
}

TEST(QueuedDatabase, TheConnectionIsReachedOnlyAfterThePostedWrites) {
    testsupport::TempSite site;
    logimport::QueuedDatabase queued(site.db);
    {
        logimport::QueuedTransaction tx(queued, 3);
        for (int i = 1; i <= 20; ++i) {
            queued.post([i](dao::Database& db) {
                db.execute("INSERT INTO page (PageID, Filename) VALUES (?, ?)", {1000 + i, "p" + std::to_string(i)});
            });
            tx.tick();  // commits only what the queue has written
        }
        long long n = 0;
        {
            auto db = queued.use();
            db->forEachRow("SELECT COUNT(*) FROM page WHERE PageID > 1000", {},
                           [&](const dao::Statement& s) { n = s.column(0).asInteger(); });
        }
        EXPECT_EQ(n, 20);
        queued.post([](dao::Database& db) { db.execute("INSERT INTO nosuchtable VALUES (1)"); });
        queued.post([](dao::Database& db) { db.execute("DELETE FROM page WHERE PageID > 1000"); });
        EXPECT_ANY_THROW(queued.use());
    }
    // The write after the failed one was dropped; the transaction committed the rest.
    long long n = 0;
    site.db.forEachRow("SELECT COUNT(*) FROM page WHERE PageID > 1000", {},
                       [&](const dao::Statement& s) { n = s.column(0).asInteger(); });
    EXPECT_EQ(n, 20);
}

namespace {

long long pagesAbove1000(dao::Database& db) {
    long long n = 0;
    db.forEachRow("SELECT COUNT(*) FROM page WHERE PageID > 1000", {},
                  [&](const dao::Statement& s) { n = s.column(0).asInteger(); });
    return n;
}

void addPage(logimport::QueuedDatabase& queued, int id) {
    queued.post([id](dao::Database& db) {
        db.execute("INSERT INTO page (PageID, Filename) VALUES (?, ?)", {id, "p" + std::to_string(id)});
    });
}

}  // namespace

// A job's failure that only the transaction's end finds must not be committed over:
// the rows of the jobs before it go back too, as after rollback().
TEST(QueuedDatabase, ATransactionEndingOnAnUnseenFailureCommitsNothingOfIt) {
    testsupport::TempSite site;
    logimport::QueuedDatabase queued(site.db);
    {
        logimport::QueuedTransaction tx(queued, 2);
        for (int id : {1001, 1002, 1003}) {
            addPage(queued, id);
            tx.tick();  // commits the first two
        }
        queued.post([](dao::Database& db) { db.execute("INSERT INTO nosuchtable VALUES (1)"); });
    }
    EXPECT_EQ(pagesAbove1000(site.db), 2);
}

TEST(QueuedDatabase, ATransactionRolledBackRefusesFurtherUse) {
    testsupport::TempSite site;
    logimport::QueuedDatabase queued(site.db);
    logimport::QueuedTransaction tx(queued, 1);
    addPage(queued, 1001);
    tx.rollback();
    EXPECT_THROW(tx.tick(), std::logic_error);
    EXPECT_THROW(tx.commit(), std::logic_error);
    tx.rollback();  // a second rollback is harmless
    EXPECT_EQ(pagesAbove1000(site.db), 0);
}

// Debug and sanitizer builds stop at once where a job would write through the
// connection a lease still lends; other builds do not check.
TEST(QueuedDatabase, PostingWhileTheConnectionIsLentStopsACheckedBuild) {
#if defined(NDEBUG) && !defined(DRAVOLIN_CHECKED)
    GTEST_SKIP() << "not a checked build";
#endif
    EXPECT_DEATH(
        {
            testsupport::TempSite site;
            logimport::QueuedDatabase queued(site.db);
            auto db = queued.use();
            addPage(queued, 1001);
        },
        "posted while the connection is lent");
    testsupport::TempSite site;
    logimport::QueuedDatabase queued(site.db);
    {
        auto db = queued.use();
    }
    addPage(queued, 1001);  // once the lease has ended, posting is right
    auto db = queued.use();
    EXPECT_EQ(pagesAbove1000(*db), 1);
}
