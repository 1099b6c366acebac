// The addition under repetition, interruption and bad input: whatever happened
// before, the site's tables end as one clean addition leaves them, and nothing
// already stored is lost.
#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/ini_store.h"
#include "core/shell_hooks.h"
#include "core/dialog_responder.h"
#include "core/error_handler.h"
#include "core/progress.h"
#include "core/scoped_value.h"
#include "logimport/addition_run.h"
#include "logimport/import_run.h"
#include "logimport/referrer_store.h"
#include "platform/sys/clock.h"
#include "tests/logimport/ticking_clock.h"
#include "tests/logimport/generated_site.h"
#include "tests/support/child_process.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"

namespace {

using testsupport::LastValsRouting;

// Every row of every table, as text, in key order.
using Tables = std::map<std::string, std::vector<std::string>>;

Tables tablesOf(dao::Database& db) {
    Tables tables;
    for (const auto& t : db.listTables()) {
        if (t.isQuery) continue;
        auto& rows = tables[t.name];
        db.forEachRow("SELECT * FROM " + t.name + " ORDER BY 1", {}, [&](const dao::Statement& s) {
            std::string row;
            for (int c = 0; c < s.columnCount(); ++c) row += (s.columnIsNull(c) ? "<null>" : s.column(c).asText()) + "|";
            rows.push_back(row);
        });
    }
    return tables;
}

class Addition : public ::testing::TestWithParam<bool> {
protected:
    Addition() : site(GetParam()) {
        INI_Put("Main", "EraseNonSE", "True", gIniDbDef);
        log = site.home / "gen.log";
        testsupport::generateLog(log, site.home / "gen.truth", 1500, 3, 3);
    }
    long long add() {
        ReadRec rec;
        return testsupport::addLogFile(site, log, rec);
    }

    testsupport::TempSite site;
    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder boxes;
    LastValsRouting routing;
    core::ScopedShellHooks routed{&routing};
    std::string log;
};

// A site database whose pages were overwritten opens, but must not take new lines:
// the quick check finds the fault, and the user is told what to do.
TEST(DamagedSite, IsRefusedBeforeAnythingIsReadAndASoundOneIsNot) {
    testsupport::TempSite site(false);
    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder boxes;
    EXPECT_TRUE(logimport::siteTakesData(site.db));
    EXPECT_EQ(boxes.shown().size(), 0u);
    site.db.close();
    {
        std::fstream file(site.dbPath, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(2 * 4096);  // the head of the third page
        const std::string junk(200, '\xA5');
        file.write(junk.data(), static_cast<std::streamsize>(junk.size()));
    }
    site.db = dao::Database(site.dbPath);
    boxes.press("the site database is damaged", "&OK");
    EXPECT_FALSE(logimport::siteTakesData(site.db));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_NE(boxes.shown()[0].message.find("Put back a copy of the database file from a backup"), std::string::npos);
}

// Lines the clean-up took out (visits without a search term) must be known when the
// file comes again, or they are stored anew and every later repeat is counted.
TEST_P(Addition, AddingTheSameFileAgainChangesNoTable) {
    add();
    const Tables once = tablesOf(site.db);
    ASSERT_GT(once.at("visit").size(), 10u);
    boxes.press("Do you want to add records from this file anyway?", "&Yes");
    add();
    const Tables twice = tablesOf(site.db);
    for (const auto& [name, rows] : once) {
        SCOPED_TRACE(name);
        EXPECT_EQ(twice.at(name).size(), rows.size());
        EXPECT_TRUE(twice.at(name) == rows);
    }
}

INSTANTIATE_TEST_SUITE_P(KeptAndStoredReferrers, Addition, ::testing::Bool());

// Answers every box with its first button (OK, Yes) and keeps what it was shown.
class FirstButton : public core::DlgResponder {
public:
    FirstButton() { core::setDialogResponder(this); }
    ~FirstButton() override { core::setDialogResponder(nullptr); }
    void respond(const core::DlgView& view, core::DlgDriver& driver) override {
        shown += view.message + "\n";
        driver.press(1);
    }
    std::string shown;
};

long long pragmaNumber(dao::Database& db, const std::string& pragma) {
    long long n = 0;
    db.forEachRow("PRAGMA " + pragma, {}, [&](const dao::Statement& s) { n = s.columnInt(0); });
    return n;
}

long long linesWithoutTheirVisit(testsupport::TempSite& site) {
    return site.count("SELECT COUNT(*) FROM logline l WHERE l.VisitID > 0 AND NOT EXISTS "
                      "(SELECT 1 FROM visit v WHERE v.VisitID = l.VisitID)");
}

// The disk fills while a second log is added to a site that holds the first: the
// batch that failed goes whole, no visit is left without the lines it lost nor a line
// with a visit never stored, and adding the file again once there is room ends as a
// clean addition does; with the visits built by the scan after the read and, as the
// addition builds them, while the lines are read.
class FullDisk : public ::testing::TestWithParam<bool> {};

TEST_P(FullDisk, LeavesNoVisitWithoutItsLinesAndAddingAgainEndsAsACleanAddition) {
    const bool whileReading = GetParam();
    testsupport::TempHome work;
    const std::string first = work / "first.log", second = work / "second.log";
    testsupport::generateLog(first, work / "first.truth", 1500, 3, 3);
    testsupport::generateLog(second, work / "second.truth", 3000, 4, 3);
    LastValsRouting routing;
    core::ScopedShellHooks routed(&routing);
    testsupport::FakeUserInterface ui;
    FirstButton boxes;  // Yes to the overlap, OK to the error
    core::ScopedValue<std::string> errorLog(gPAFN_Errorlog, work / "errors.log");
    auto fill = [&](testsupport::TempSite& site, bool diskFills) {
        INI_Put("Main", "EraseNonSE", "True", gIniDbDef);
        ReadRec rec;
        logimport::ImportRun run;
        run.VisitsWhileReading = whileReading;
        testsupport::addLogFile(site, first, rec, run);
        if (diskFills) {
            pragmaNumber(site.db, "max_page_count = " + std::to_string(pragmaNumber(site.db, "page_count") + 40));
            boxes.shown.clear();
            ReadRec failed;
            logimport::ImportRun failedRun;
            failedRun.VisitsWhileReading = whileReading;
            testsupport::addLogFile(site, second, failed, failedRun, false);
            EXPECT_NE(boxes.shown.find("The disk is full"), std::string::npos) << boxes.shown;
            EXPECT_EQ(site.count("SELECT COUNT(*) FROM visit v WHERE NOT EXISTS "
                                 "(SELECT 1 FROM logline l WHERE l.VisitID = v.VisitID)"),
                      0);
            EXPECT_EQ(linesWithoutTheirVisit(site), 0);
            pragmaNumber(site.db, "max_page_count = 1073741823");
        }
        ReadRec again;
        logimport::ImportRun againRun;
        againRun.VisitsWhileReading = whileReading;
        testsupport::addLogFile(site, second, again, againRun);
        return tablesOf(site.db);
    };
    Tables clean, refilled;
    {
        testsupport::TempSite site(false);
        clean = fill(site, false);
    }
    {
        testsupport::TempSite site(false);
        refilled = fill(site, true);
    }
    ASSERT_GT(clean.at("visit").size(), 100u);
    for (const auto& [name, rows] : clean) {
        SCOPED_TRACE(name);
        EXPECT_EQ(refilled.at(name).size(), rows.size());
        EXPECT_TRUE(refilled.at(name) == rows);
    }
}

INSTANTIATE_TEST_SUITE_P(ScanAndWhileReading, FullDisk, ::testing::Bool());

std::string combinedLine(const std::string& ip, const std::string& time, const std::string& page,
                         const std::string& referrer = "-", const std::string& statusAndBytes = "200 512") {
    return ip + " - - [10/Oct/2025:" + time + " +0000] \"GET " + page + " HTTP/1.1\" " + statusAndBytes + " \"" +
           referrer + "\" \"Mozilla/5.0\"\n";
}

// The disk fills while the visits the read held to its end are written: what that
// last write stored goes back with it, so no line is left with a visit never stored,
// and adding the file again stores every line with its visit.
TEST(FullDisk, WhileTheHeldVisitsAreWrittenLeavesNoLineWithoutItsVisit) {
    testsupport::TempSite site(false);
    testsupport::FakeUserInterface ui;
    FirstButton boxes;
    LastValsRouting routing;
    core::ScopedShellHooks routed(&routing);
    core::ScopedValue<std::string> errorLog(gPAFN_Errorlog, site.home / "errors.log");
    INI_Put("Main", "EraseNonSE", "False", gIniDbDef);
    const std::string first = site.home / "first.log", second = site.home / "second.log";
    testsupport::writeFile(first, combinedLine("10.0.0.1", "01:00:00", "/a.html"));
    std::string lines;  // an hour of its own, so nothing overlaps and every visit waits for the end
    for (int i = 0; i < 600; ++i) {
        char time[16];
        std::snprintf(time, sizeof time, "12:%02d:%02d", i / 60, i % 60);
        lines += combinedLine("10.1." + std::to_string(i / 200) + "." + std::to_string(i % 200), time, "/a.html",
                              "http://www.google.com/search?q=term+" + std::to_string(i));
    }
    testsupport::writeFile(second, lines);
    ReadRec rec;
    logimport::ImportRun run;
    run.VisitsWhileReading = true;
    testsupport::addLogFile(site, first, rec, run);

    pragmaNumber(site.db, "max_page_count = " + std::to_string(pragmaNumber(site.db, "page_count") + 4));
    ReadRec failed;
    logimport::ImportRun failedRun;
    failedRun.VisitsWhileReading = true;
    testsupport::addLogFile(site, second, failed, failedRun, false);
    EXPECT_NE(boxes.shown.find("The disk is full"), std::string::npos) << boxes.shown;
    EXPECT_EQ(linesWithoutTheirVisit(site), 0);

    pragmaNumber(site.db, "max_page_count = 1073741823");
    ReadRec again;
    logimport::ImportRun againRun;
    againRun.VisitsWhileReading = true;
    testsupport::addLogFile(site, second, again, againRun);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline"), 601);
    EXPECT_EQ(linesWithoutTheirVisit(site), 0);
}

// A run killed after handing referrers to the store but before its lines were
// committed leaves referrers for numbers the next run gives to other lines.
TEST(StoredReferrers, ThoseOfLinesNeverStoredAreNotHandedToTheLinesThatTakeTheirNumbers) {
    testsupport::TempSite site(false);
    testsupport::FakeUserInterface ui;
    LastValsRouting routing;
    core::ScopedShellHooks routed(&routing);
    INI_Put("Main", "EraseNonSE", "False", gIniDbDef);
    std::filesystem::create_directories(STTA_RefrStoreFolder());
    {
        logimport::ImportRun run;
        STTA_RefrStore(run.referrers(), 1, "http://www.google.com/search?q=stale+one");
        STTA_RefrStore(run.referrers(), 2, "http://www.google.com/search?q=stale+two");
        STTA_RefrStoreFlush(run.referrers());
    }

    const std::string log = site.home / "plain.log";
    testsupport::writeFile(log, combinedLine("10.0.0.1", "10:00:00", "/a.html") +
                                    combinedLine("10.0.0.2", "10:00:05", "/b.html"));
    ReadRec rec;
    testsupport::addLogFile(site, log, rec);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM visit"), 2);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM visit WHERE StzdSearchTerm IS NOT NULL"), 0);
}

// A child forked after an addition adds data of its own: nothing of the parent's
// run, such as a writer thread the child would wait for, is left behind.
TEST(StoredReferrers, AChildForkedAfterAnAdditionAddsItsOwnFile) {
    testsupport::TempSite site(false);
    testsupport::FakeUserInterface ui;
    LastValsRouting routing;
    core::ScopedShellHooks routed(&routing);
    INI_Put("Main", "EraseNonSE", "False", gIniDbDef);
    const std::string first = site.home / "first.log", second = site.home / "second.log";
    testsupport::writeFile(first, combinedLine("10.0.0.1", "09:00:00", "/a.html", "http://www.google.com/?q=one"));
    testsupport::writeFile(second, combinedLine("10.0.0.2", "11:00:00", "/b.html", "http://www.google.com/?q=two"));
    ReadRec rec;
    testsupport::addLogFile(site, first, rec);
    const int rc = testsupport::runInChild([&] {
        ::alarm(120);  // a child that waits forever fails the test instead
        ReadRec childRec;
        testsupport::addLogFile(site, second, childRec);
        return site.count("SELECT COUNT(*) FROM visit") == 2 ? 0 : 1;
    });
    EXPECT_EQ(rc, 0);
}

}  // namespace

namespace {

// OnAFullDatabase: SQLite is told the file may not grow past a few pages more, so a
// write fails with SQLITE_FULL as on a full disk, on any file system.
enum class Runs { InProcess, AsOrdinaryUser, OnAFullDisk, OnAFullDatabase, DeletedWhileRead, CutWhileRead };

constexpr long long kSomeLines = -2;

struct BadInput {
    const char* name;
    // Writes the input to add (or arranges the site) and gives the path to add.
    std::function<std::string(testsupport::TempSite&)> make;
    const char* message;  // in a box or among the file's problem texts; nullptr: none at all
    Runs runs = Runs::InProcess;
    // The lines the addition stores (kSomeLines: one or more), each counted in the
    // run's totals; -1 when not looked at.
    long long added = -1;
    // A count the site must give afterwards (nullptr: none looked at).
    const char* check = nullptr;
    long long checkCount = 0;
};

void PrintTo(const BadInput& input, std::ostream* os) { *os << input.name; }

void removeWriteBits(const std::string& path) {
    namespace fs = std::filesystem;
    const auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(path, write, fs::perm_options::remove);
    if (!fs::is_directory(path)) return;
    for (const auto& e : fs::recursive_directory_iterator(path))
        if (!e.is_directory()) fs::permissions(e.path(), write, fs::perm_options::remove);
}

// What an attempt found: 0 when the message was given and nothing stored was lost.
enum Outcome {
    kSound = 0,
    kNoMessage = 1,
    kLost = 2,
    kStrayStoreFiles = 3,
    kNoDisk = 4,
    kVisitWithoutLines = 5,
    kNotAdded = 6,
    kMiscounted = 7,
    kLineWithoutVisit = 8,
    kWrongResult = 9
};

// Deletes the file at the first refresh of the read's progress, as a log rotation
// that removes the file being read would; or cuts it to `keep` bytes, as a truncation.
class DeleteWhileRead : public core::ProgressReports {
public:
    explicit DeleteWhileRead(std::string path, long long keep = -1) : path_(std::move(path)), keep_(keep) {}
    void start(const std::string&, const std::string&, int64_t, const std::string&, long& reportNo, double, int, bool,
               const std::string&) override {
        reportNo = ++reports_;
    }
    void update(int64_t&, const std::string&, long, PIS_UpdateFlags) override {
        std::error_code ec;
        if (keep_ < 0)
            std::filesystem::remove(path_, ec);
        else if (std::exchange(cut_, true) == false)
            std::filesystem::resize_file(path_, static_cast<std::uintmax_t>(keep_), ec);
    }
    void end(long, bool) override {}
    void closeAll() override {}

private:
    std::string path_;
    long long keep_;
    bool cut_ = false;
    long reports_ = 0;
};

// Each case runs in a child of its own, which may mount a small disk or drop its
// privileges; the parent goes on with the next test. Each runs with the visits built
// by the scan after the read, and while the lines are read, as an addition builds them,
// on a site that keeps line values and on one that does not.
class BadInputAddition : public ::testing::TestWithParam<std::tuple<BadInput, bool, bool>> {
protected:
    BadInputAddition() : site(std::get<2>(GetParam())) {}
    static const BadInput& badInput() { return std::get<0>(GetParam()); }
    static bool whileReading() { return std::get<1>(GetParam()); }

    void addGood() {
        INI_Put("Main", "EraseNonSE", "False", gIniDbDef);
        const std::string good = site.home / "good.log";
        testsupport::writeFile(good, combinedLine("10.0.0.1", "09:00:00", "/a.html") +
                                         combinedLine("10.0.0.1", "09:00:10", "/b.html",
                                                      "http://www.google.com/search?q=kept"));
        ReadRec rec;
        logimport::ImportRun run;
        run.VisitsWhileReading = whileReading();
        testsupport::addLogFile(site, good, rec, run);
    }

    // Every row stored before is still there, no visit lacks its lines nor a line its
    // visit, what was added is counted, and no referrer waits for a line that was
    // never stored.
    Outcome afterwards(const std::string& shown, const Tables& before, const logimport::ImportRun& run) {
        const BadInput& input = badInput();
        if (input.message ? shown.find(input.message) == std::string::npos : !shown.empty()) {
            std::cerr << "shown: " << shown << "\n";
            return kNoMessage;
        }
        const Tables now = tablesOf(site.db);
        for (const auto& [name, rows] : before)
            for (const auto& row : rows)
                if (std::find(now.at(name).begin(), now.at(name).end(), row) == now.at(name).end()) return kLost;
        if (site.count("SELECT COUNT(*) FROM visit v WHERE NOT EXISTS "
                       "(SELECT 1 FROM logline l WHERE l.VisitID = v.VisitID)") > 0)
            return kVisitWithoutLines;
        if (linesWithoutTheirVisit(site) > 0) return kLineWithoutVisit;
        const long long added = static_cast<long long>(now.at("logline").size() - before.at("logline").size());
        if (input.added != -1) {
            if (input.added == kSomeLines ? added < 1 : added != input.added) return kNotAdded;
            if (run.Run.LinesAccepted != static_cast<double>(added)) return kMiscounted;
        }
        if (input.check && site.count(input.check) != input.checkCount) {
            std::cerr << input.check << " gives " << site.count(input.check) << "\n";
            return kWrongResult;
        }
        const long top = STTA_LogLnIDStoredMax(site.db);
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(STTA_RefrStoreFolder(), ec)) {
            const std::string name = e.path().filename().string();
            if (name.find(".part") != std::string::npos || std::stol(name) * 100 > top) return kStrayStoreFiles;
        }
        return kSound;
    }

    int attempt() {
        namespace fs = std::filesystem;
        const BadInput& input = badInput();
        core::ScopedShellHooks routed(&routing);
        testsupport::FakeUserInterface ui;
        FirstButton boxes;
        gPAFN_Errorlog = site.home / "errors.log";
        const std::string folder = site.home / "site";
        if (input.runs == Runs::OnAFullDisk) {
            const std::string aside = site.home / "site-aside";
            site.db.close();
            fs::copy(folder, aside, fs::copy_options::recursive);
            if (!testsupport::mountSmallDisk(folder, 600 * 1024)) return kNoDisk;
            fs::copy(aside, folder, fs::copy_options::recursive);
            site.db = dao::Database(site.dbPath);
        }
        addGood();
        const Tables before = tablesOf(site.db);
        const std::string path = input.make(site);
        if (input.runs == Runs::OnAFullDisk)  // leave a little room: the addition fills it
            testsupport::writeFile(folder + "/filler", std::string(500 * 1024 - fs::file_size(site.dbPath), 'f'));
        if (input.runs == Runs::OnAFullDatabase)
            pragmaNumber(site.db, "max_page_count = " + std::to_string(pragmaNumber(site.db, "page_count") + 40));
        // The site stays open, as it is in the program when its files turn read-only.
        if (input.runs == Runs::AsOrdinaryUser && !testsupport::becomeOrdinaryUser()) return kNoDisk;
        // Past the first block, inside a line.
        DeleteWhileRead deleting(path, input.runs == Runs::CutWhileRead ? 10'500'000 : -1);
        testsupport::TickingClock clock;
        if (input.runs == Runs::DeletedWhileRead || input.runs == Runs::CutWhileRead) {
            core::setProgressReports(&deleting);
            sys::setClock(&clock);
        }
        boxes.shown.clear();
        ReadRec rec;
        logimport::ImportRun run;
        run.VisitsWhileReading = whileReading();
        try {
            testsupport::addLogFile(site, path, rec, run,
                                    input.runs != Runs::OnAFullDisk && input.runs != Runs::OnAFullDatabase);
        } catch (const std::exception& e) {
            boxes.shown += e.what();
        }
        std::string shown = boxes.shown;
        for (long i = rec.ProblemTexts.lbound(); rec.ProblemTexts.hasBounds() && i <= rec.ProblemTexts.ubound(); ++i)
            shown += rec.ProblemTexts[i] + "\n";
        return afterwards(shown, before, run);
    }

    testsupport::TempSite site;
    LastValsRouting routing;
};

TEST_P(BadInputAddition, GivesAClearMessageAndLosesNothingStored) {
    const int outcome = testsupport::runInChild([&] { return attempt(); });
    if (outcome == kNoDisk) GTEST_SKIP() << "no privilege to mount a small file system or to change user here";
    EXPECT_EQ(outcome, kSound);
}

std::string written(testsupport::TempSite& site, const std::string& bytes) {
    const std::string path = site.home / "input.log";
    testsupport::writeFile(path, bytes);
    return path;
}

// Larger than one block, so that the next block is looked for after the file changed.
std::string elevenMegabytesOfLines() {
    std::string bytes;
    for (int i = 0; bytes.size() <= 11u << 20; ++i)
        bytes += combinedLine("10.1." + std::to_string(i / 40 % 250) + "." + std::to_string(i / 10000),
                              "12:" + std::to_string(10 + i / 60000 % 50) + ":" + std::to_string(10 + i % 50),
                              "/page" + std::to_string(i % 300) + ".html");
    return bytes;
}

const BadInput kBadInputs[] = {
    {"Empty", [](auto& s) { return written(s, ""); }, "Log file is empty or does not exist."},
    {"Binary",
     [](auto& s) {
         std::string b;
         for (int i = 0; i < 20000; ++i) b += static_cast<char>((i * 7919) % 256);
         return written(s, b);
     },
     "Log file does not contain any valid lines."},
    {"OneLineOf50MB", [](auto& s) { return written(s, std::string(50 << 20, 'a')); },
     "Log file does not contain any valid lines."},
    {"NulBytes",
     [](auto& s) { return written(s, std::string(3000, '\0') + "\n" + std::string(10, '\0')); },
     "Log file does not contain any valid lines."},
    {"InvalidUtf8", [](auto& s) { return written(s, std::string(5000, '\xC3') + "\n\xFF\xFE\xFD\n"); },
     "Log file does not contain any valid lines."},
    {"Nonexistent", [](auto& s) { return s.home / "nowhere.log"; }, "Log file does not exist."},
    {"Directory",
     [](auto& s) {
         std::filesystem::create_directories(s.home / "folder.log");
         return s.home / "folder.log";
     },
     "Log file name is a folder, not a file."},
    {"Unreadable",
     [](auto& s) {
         const std::string path = written(s, combinedLine("10.0.0.9", "11:00:00", "/c.html"));
         testsupport::openToEveryone(s.home.path());
         std::filesystem::permissions(path, std::filesystem::perms::none);
         return path;
     },
     "Log file cannot be read (no permission to read it).", Runs::AsOrdinaryUser},
    {"ReadOnlySite",
     [](auto& s) {
         const std::string path = written(s, combinedLine("10.0.0.9", "11:00:00", "/c.html"));
         testsupport::openToEveryone(s.home.path());
         removeWriteBits(s.home / "site");
         return path;
     },
     "System message: Permission denied", Runs::AsOrdinaryUser},
    {"FullDisk",
     [](auto& s) {
         const std::string log = s.home / "big.log";
         testsupport::generateLog(log, s.home / "big.truth", 20000, 9, 5);
         return log;
     },
     "The disk is full: there is no room left to add the log data in", Runs::OnAFullDisk},
    {"FullDiskOnASiteWithData",
     [](auto& s) {
         // The site holds a log of the same days, so the second is checked line by line.
         const std::string held = s.home / "held.log", log = s.home / "big.log";
         testsupport::generateLog(held, s.home / "held.truth", 400, 7, 5);
         ReadRec rec;
         testsupport::addLogFile(s, held, rec);
         testsupport::generateLog(log, s.home / "big.truth", 3000, 9, 5);
         return log;
     },
     "The disk is full: there is no room left to add the log data in", Runs::OnAFullDatabase},
    {"OddNumbersInBytesAndStatus",
     [](auto& s) {
         INI_Put("Main", "Skip404", "True", gIniDbDef);
         return written(s, combinedLine("10.0.0.7", "11:00:00", "/a.html") +
                               combinedLine("10.0.0.7", "11:00:01", "/b.html", "-", "200 1e999") +
                               combinedLine("10.0.0.7", "11:00:02", "/c.html", "-", std::string(400, '9') + " 5") +
                               combinedLine("10.0.0.7", "11:00:03", "/d.html", "-", "200 " + std::string(400, '7')) +
                               combinedLine("10.0.0.7", "11:00:04", "/e.html", "-", "200 12e99999999999999999999"));
     },
     nullptr, Runs::InProcess, 5},
    {"UnreadableOrImpossibleDateOrTime",
     [](auto& s) {
         std::string bytes = combinedLine("10.0.0.7", "11:00:00", "/a.html");
         for (const char* when : {"xx/Dec/2026:10:00:00", "32/Dec/2026:10:00:00", "31/Apr/2026:10:00:00",
                                  "-1/Jan/2026:10:00:00", "00/Jan/0000:10:00:00", "05/Jan/99999999999:10:00:00",
                                  "10/Oct/2025:25:61:61", "10/Oct/2025:xx:00:00", "10/Oct/2025:11:00:60",
                                  "31/Dec/9999:1000:00:00", "31/Dec/9999:24:00:00"})
             bytes += std::string("10.0.0.7 - - [") + when + " +0000] \"GET /b.html HTTP/1.1\" 200 5 \"-\" \"Mozilla/5.0\"\n";
         return written(s, bytes + combinedLine("10.0.0.7", "11:00:02", "/c.html"));
     },
     "Log Line Found cannot be matched for specified format.", Runs::InProcess, 2,
     "SELECT COUNT(*) FROM logline WHERE Timestamp / 1000000 <> 20251010", 0},
    {"NegativeOrBrokenBytesAndStatus",
     [](auto& s) {
         return written(s, combinedLine("10.0.0.6", "11:00:00", "/a.html", "-", "200 -5") +
                               combinedLine("10.0.0.6", "11:00:01", "/b.html", "-", "200 -9223372036854775809") +
                               combinedLine("10.0.0.6", "11:00:02", "/c.html", "-", "200 12.5") +
                               combinedLine("10.0.0.6", "11:00:03", "/d.html", "-", "-3 7") +
                               combinedLine("10.0.0.6", "11:00:04", "/e.html", "-", "2x0 7") +
                               combinedLine("10.0.0.6", "11:00:05", "/f.html", "-", "200 7"));
     },
     "Log Line Found cannot be matched for specified format.", Runs::InProcess, 4,
     "SELECT SUM(Bytes) FROM logline WHERE IP = '10.0.0.6'", 7},
    {"ByteOrderMarkAtTheStart",
     [](auto& s) {
         return written(s, "\xEF\xBB\xBF" + combinedLine("4.4.4.4", "11:00:00", "/a.html") +
                               combinedLine("4.4.4.4", "11:00:05", "/b.html"));
     },
     nullptr, Runs::InProcess, 2, "SELECT COUNT(*) FROM visit WHERE FirstIP = '4.4.4.4' AND Files = 2", 1},
    {"SearchTermPastTheCutOfAKeptReferrer",
     [](auto& s) {
         // The Referrer field keeps 251 characters and "..": one term lies past the
         // cut, one across it.
         const std::string engine = "http://www.google.com/search?x=";
         return written(s, combinedLine("10.0.0.3", "11:00:00", "/a.html",
                                        engine + std::string(260, 'a') + "&q=lost+term") +
                               combinedLine("10.0.0.4", "11:00:00", "/a.html",
                                            engine + std::string(200, 'a') + "&q=across+the+cut+" +
                                                std::string(40, 'w')));
     },
     nullptr, Runs::InProcess, 2,
     "SELECT COUNT(*) FROM visit WHERE StzdSearchTerm = 'lost term' OR "
     "StzdSearchTerm = 'across the cut wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww'",
     2},
    {"VisitLongerThanTwoHoursGoesOnInTheNextFile",
     [](auto& s) {
         // The visit's first file is added first; it goes on 10 minutes after its end.
         const std::string first = s.home / "first.log";
         testsupport::writeFile(first, combinedLine("10.0.0.5", "10:00:00", "/a.html") +
                                           combinedLine("10.0.0.5", "11:00:00", "/b.html") +
                                           combinedLine("10.0.0.5", "12:00:00", "/c.html") +
                                           combinedLine("10.0.0.5", "13:00:00", "/d.html"));
         ReadRec rec;
         testsupport::addLogFile(s, first, rec);
         return written(s, combinedLine("10.0.0.5", "13:10:00", "/e.html"));
     },
     nullptr, Runs::InProcess, -1, "SELECT COUNT(*) FROM visit WHERE FirstIP = '10.0.0.5' AND Files = 5", 1},
    {"DeletedWhileRead", [](auto& s) { return written(s, elevenMegabytesOfLines()); },
     "Log file disappeared while it was read.", Runs::DeletedWhileRead, kSomeLines},
    {"CutShortWhileRead", [](auto& s) { return written(s, elevenMegabytesOfLines()); },
     "Log file became shorter while it was read.", Runs::CutWhileRead, kSomeLines},
    {"NameWithColonQuotesAngleBracketsAndBar",
     [](auto& s) {
         const std::string path = s.home / "access-2026-01-08T10:00 \"x\" <y> |z.log";
         testsupport::writeFile(path, combinedLine("10.0.0.8", "11:00:00", "/a.html") +
                                          combinedLine("10.0.0.8", "11:00:09", "/b.html"));
         return STTA_LogFileEntryJoin(path, "");
     },
     nullptr, Runs::InProcess, 2},
};

INSTANTIATE_TEST_SUITE_P(Inputs, BadInputAddition,
                         ::testing::Combine(::testing::ValuesIn(kBadInputs), ::testing::Bool(), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "WhileReading" : "") +
                                    (std::get<2>(info.param) ? "ValuesKept" : "");
                         });

}  // namespace

namespace {

// Kills the process with SIGKILL at the n-th progress update of the step whose action
// name holds `step` (at its start for n = 0), as a crash or kill -9 would end it.
class KillAt : public core::ProgressReports {
public:
    KillAt(std::string step, int n) : step_(std::move(step)), n_(n) {}
    void start(const std::string&, const std::string&, int64_t, const std::string& actionName, long& reportNo,
               double, int, bool, const std::string&) override {
        reportNo = ++reports_;
        inStep_ = actionName.find(step_) != std::string::npos;
        if (inStep_ && n_ == 0) ::raise(SIGKILL);
    }
    void update(int64_t&, const std::string&, long, PIS_UpdateFlags) override {
        if (inStep_ && ++updates_ == n_) ::raise(SIGKILL);
    }
    void end(long, bool) override {}
    void closeAll() override {}

private:
    std::string step_;
    int n_, updates_ = 0;
    long reports_ = 0;
    bool inStep_ = false;
};

// Kills the process with SIGKILL at the n-th time the entry of [Main] is looked up
// in "::*", as the addition reads and writes its last numbers.
class KillAtEntry : public LastValsRouting {
public:
    KillAtEntry(std::string key, int n) : key_(std::move(key)), n_(n) {}
    std::string iniSectFileGet(const std::string& section, const std::string& key) override {
        if (section == "Main" && key == key_ && ++seen_ == n_) ::raise(SIGKILL);
        return LastValsRouting::iniSectFileGet(section, key);
    }

private:
    std::string key_;
    int n_, seen_ = 0;
};

struct KillPoint {
    const char* name;
    const char* step;  // of the progress reports; nullptr: at an entry
    int update;        // or the entry's look-up
    bool scanOnly = false;  // visits built while the lines are read leave the scan nothing
};

// With line values kept or not, and the visits built while the lines are read or by
// the scan after the read.
class KilledAddition : public ::testing::TestWithParam<std::tuple<bool, bool>> {
protected:
    KilledAddition() {
        log = work / "gen.log";
        testsupport::generateLog(log, work / "gen.truth", 9000, 5, 4);
        withLongVisit(log);
    }
    // One address comes back every hour over the log's four days: its visit is held
    // from the first line of the read to the last.
    static void withLongVisit(const std::string& path) {
        std::istringstream in(testsupport::readFile(path));
        std::string out, line;
        long next = 0;  // seconds from the log's start
        auto visitLine = [](long at, bool first) {
            char when[32];
            std::snprintf(when, sizeof when, "%02ld/Jan/2026:%02ld:%02ld:00", at / 86400 + 1, at / 3600 % 24,
                          at / 60 % 60);
            return std::string("10.9.9.9 - - [") + when + " +0000] \"GET /long" + std::to_string(at) +
                   ".html HTTP/1.1\" 200 700 \"" + (first ? "http://www.google.com/search?q=long+visit" : "-") +
                   "\" \"Mozilla/5.0\"\n";
        };
        while (std::getline(in, line)) {
            const size_t at = line.find('[');
            const long day = std::stol(line.substr(at + 1, 2)), h = std::stol(line.substr(at + 13, 2)),
                       m = std::stol(line.substr(at + 16, 2));
            for (; next <= (day - 1) * 86400 + h * 3600 + m * 60; next += 3600) out += visitLine(next, next == 0);
            out += line + "\n";
        }
        testsupport::writeFile(path, out);
    }
    // Adds the log to the current site in a child, killed at `point` (none: not
    // killed); the child's exit status.
    int addInChild(const KillPoint* point, testsupport::TempSite& site, const std::string& dump = {}) {
        return testsupport::runInChild([&] {
            std::optional<KillAt> progress;
            std::unique_ptr<LastValsRouting> routing;
            if (point && !point->step)
                routing = std::make_unique<KillAtEntry>("LastVisitID", point->update);
            else
                routing = std::make_unique<LastValsRouting>();
            core::ScopedShellHooks routed(routing.get());
            testsupport::FakeUserInterface ui;
            FirstButton boxes;  // Yes to adding a file that overlaps stored data
            testsupport::TickingClock clock;
            sys::setClock(&clock);
            if (point && point->step) core::setProgressReports(&progress.emplace(point->step, point->update));
            INI_Put("Main", "EraseNonSE", "True", gIniDbDef);
            ReadRec rec;
            logimport::ImportRun run;
            run.VisitsWhileReading = std::get<1>(GetParam());
            testsupport::addLogFile(site, log, rec, run);
            if (!dump.empty()) {
                std::string text;
                for (const auto& [name, rows] : tablesOf(site.db))
                    for (const auto& row : rows) text += name + ": " + row + "\n";
                testsupport::writeFile(dump, text);
            }
            return 0;
        });
    }

    testsupport::TempHome work;
    std::string log;
};

// Every table, rows and numbers, ends as one clean addition leaves it: no line is
// counted as a repeat of itself, and no number is skipped.
TEST_P(KilledAddition, AddingTheFileAgainEndsAsOneCleanAddition) {
    const std::string clean = work / "clean.txt";
    {
        testsupport::TempSite site(std::get<0>(GetParam()));
        ASSERT_EQ(addInChild(nullptr, site, clean), 0);
    }
    const std::string cleanRows = testsupport::readFile(clean);
    ASSERT_GT(std::count(cleanRows.begin(), cleanRows.end(), '\n'), 2000);
    ASSERT_NE(cleanRows.find("visit: "), std::string::npos);
    const KillPoint points[] = {
        {"at the start of the read", "Step 1/3", 0},
        {"during the read", "Step 1/3", 3},
        {"during visit building", "Step 2/3", 40, true},
        {"during the clean-up", "Step 3/3", 1},
        // The visits still held at the end of the read (or those of the scan) are
        // written, and their last number is next.
        {"as the visits of the read are written", nullptr, 2},
    };
    for (const KillPoint& point : points) {
        if (point.scanOnly && std::get<1>(GetParam())) continue;
        SCOPED_TRACE(point.name);
        testsupport::TempSite site(std::get<0>(GetParam()));
        ASSERT_EQ(addInChild(&point, site), 128 + SIGKILL) << "the kill point was not reached";
        const std::string again = work / "again.txt";
        ASSERT_EQ(addInChild(nullptr, site, again), 0);
        const std::string againRows = testsupport::readFile(again);
        EXPECT_EQ(againRows.size(), cleanRows.size());
        EXPECT_TRUE(againRows == cleanRows);
    }
}

INSTANTIATE_TEST_SUITE_P(KeptAndStoredReferrers, KilledAddition, ::testing::Combine(::testing::Bool(), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) ? "ValuesKept" : "ValuesNotKept") +
                                    (std::get<1>(info.param) ? "WhileReading" : "ByScan");
                         });

}  // namespace
