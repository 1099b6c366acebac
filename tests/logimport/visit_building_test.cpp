#include "logimport/visit_building.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/progress.h"
#include "core/shell_hooks.h"
#include "logimport/addition_history.h"
#include "logimport/import_run.h"
#include "logimport/search_engine_store.h"
#include "logimport/visit_pages.h"
#include "platform/sys/clock.h"
#include "tests/logimport/ticking_clock.h"
#include "platform/sys/rt_error.h"
#include "tests/logimport/temp_site.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"

namespace {

using Groups = std::vector<std::vector<long>>;

constexpr std::int64_t kDay = 20240315000000;  // 15 March 2024, 00:00:00
const std::string kSearch = "http://www.finder.com/search?q=";

// [Main] LastVisitID lives in the site's LastVals.ini, as the shell routes it.
class LastValsRouting : public core::ShellHooks {
public:
    std::string iniSectFileGet(const std::string& section, const std::string& key) override {
        return section == "Main" && key == "LastVisitID" ? gIniLastVals : std::string();
    }
};

struct Line {
    long id;
    std::string ip;
    long seconds;  // after 10:00:00 of the test day
    std::string referrer = "-";
    long pageID = 1;
    long bytes = 100;
    long dupes = 0;
};

class VisitBuilding : public ::testing::Test {
protected:
    void SetUp() override {
        logimport::setProgramSEDefs({"*.finder.*/* q", "*.seeker.*/* p"});
        rec_ = ReadRec{};
        rec_.LastKeepVal = 1;
    }

    static std::int64_t stamp(long seconds) { return STTA_StampMoved(kDay + 100000, seconds); }

    void add(const std::vector<Line>& lines) {
        for (const Line& l : lines)
            site_.db.execute(
                "INSERT INTO logline (LogLnID, IP, PageID, Timestamp, Bytes, CntDupes, Referrer) VALUES (?,?,?,?,?,?,?)",
                {l.id, l.ip, l.pageID, static_cast<long long>(stamp(l.seconds)), l.bytes, l.dupes, l.referrer});
    }

    long build(bool* interruptedOut = nullptr) {
        bool interrupted = true;
        logimport::ImportRun run(rec_);
        long n = LogLnRaw_Add(site_.db, rec_, interrupted);
        engineDays_ = run.engineDays();
        if (interruptedOut) *interruptedOut = interrupted;
        else EXPECT_FALSE(interrupted);
        return n;
    }

    // The lines of each visit, visits in order of their first line.
    Groups groups() {
        std::map<long, std::vector<long>> byVisit;
        site_.db.forEachRow("SELECT VisitID, LogLnID FROM logline ORDER BY LogLnID", {},
                            [&](const dao::Statement& s) {
                                byVisit[static_cast<long>(s.column(0).asInteger())].push_back(
                                    static_cast<long>(s.column(1).asInteger()));
                            });
        Groups g;
        for (auto& [id, lines] : byVisit)
            if (id != kErasedLineVisitID) g.push_back(lines);
        std::sort(g.begin(), g.end());
        return g;
    }

    // The lines the clean-up took out, kept to be known again.
    std::vector<long> erased() {
        std::vector<long> ids;
        site_.db.forEachRow("SELECT LogLnID FROM logline WHERE VisitID = ? ORDER BY LogLnID", {kErasedLineVisitID},
                            [&](const dao::Statement& s) { ids.push_back(static_cast<long>(s.column(0).asInteger())); });
        return ids;
    }

    dao::Recordset visitOf(long logLnID) {
        return site_.db.openRecordset(
            "SELECT * FROM visit WHERE VisitID = (SELECT VisitID FROM logline WHERE LogLnID = ?)",
            dao::RecordsetType::Snapshot, {logLnID});
    }

    void setDbDef(const std::string& key, const std::string& value) { INI_Put("Main", key, value, gIniDbDef); }

    LastValsRouting routing_;
    core::ScopedShellHooks routed_{&routing_};
    testsupport::TempSite site_;
    ReadRec rec_;
    EngineDayTally engineDays_;  // of the last build
};

TEST_F(VisitBuilding, GroupsLinesByAddressTimeAndTerm) {
    struct Case {
        const char* name;
        std::vector<Line> lines;
        Groups expected;
    };
    const std::string red = kSearch + "red+shoes";
    const Case cases[] = {
        {"7200 s after the end joins", {{1, "10.0.0.1", 0}, {2, "10.0.0.1", 7200}}, {{1, 2}}},
        {"7201 s after the end starts another", {{1, "10.0.0.1", 0}, {2, "10.0.0.1", 7201}}, {{1}, {2}}},
        {"gaps are measured from the end", {{1, "10.0.0.1", 0}, {2, "10.0.0.1", 7000}, {3, "10.0.0.1", 14000}},
         {{1, 2, 3}}},
        {"a line before the start joins", {{1, "10.0.0.1", 100}, {2, "10.0.0.1", 0}}, {{1, 2}}},
        {"another address is another visit", {{1, "10.0.0.1", 0}, {2, "10.0.0.2", 10}}, {{1}, {2}}},
        {"two terms 30 minutes apart",
         {{1, "10.0.0.1", 0, red}, {2, "10.0.0.1", 1800, kSearch + "blue+hat"}},
         {{1}, {2}}},
        {"one term written two ways",
         {{1, "10.0.0.1", 0, red}, {2, "10.0.0.1", 60, kSearch + "Red%20Shoes"}},
         {{1, 2}}},
        {"same term from another engine",
         {{1, "10.0.0.1", 0, red}, {2, "10.0.0.1", 60, "http://www.seeker.com/?p=red+shoes"}},
         {{1}, {2}}},
        {"lines without a term never conflict",
         {{1, "10.0.0.1", 0, red}, {2, "10.0.0.1", 60}, {3, "10.0.0.1", 120, "http://example.org/x"}},
         {{1, 2, 3}}},
        // Ordered as joined text, line 5 of "1.2.3.41" ("1.2.3.415") would sort
        // between lines 11 and 20 of "1.2.3.4" and cut its visit in two.
        {"an address that prefixes another",
         {{10, "1.2.3.4", 0}, {11, "1.2.3.4", 6000}, {5, "1.2.3.41", 0}, {20, "1.2.3.4", 12000}},
         {{5}, {10, 11, 20}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        site_.db.execute("DELETE FROM logline");
        site_.db.execute("DELETE FROM visit");
        add(c.lines);
        EXPECT_EQ(build(), static_cast<long>(c.lines.size()));
        EXPECT_EQ(groups(), c.expected);
        EXPECT_EQ(site_.count("SELECT COUNT(*) FROM visit"), static_cast<long long>(c.expected.size()));
    }
}

TEST_F(VisitBuilding, VisitHoldsStartEndTermAndPages) {
    // Line 1 lands from a search; line 4 lies before it and becomes the start.
    add({{1, "10.0.0.1", 100, kSearch + "red+shoes", 7, 500},
         {2, "10.0.0.1", 200, "-", 0, 40},  // the root page is no further page
         {3, "10.0.0.1", 300, kSearch + "red+shoes", 8, 300, 2},
         {4, "10.0.0.1", 50, "-", 9, 10}});
    EXPECT_EQ(build(), 4);
    auto v = visitOf(1);
    EXPECT_EQ(v.field("StartLogLnID").asInteger(), 4);
    EXPECT_EQ(v.field("StartPageID").asInteger(), 9);
    EXPECT_EQ(v.field("StartTimeStamp").asInteger(), stamp(50));
    EXPECT_EQ(v.field("EndTimeStamp").asInteger(), stamp(300));
    EXPECT_EQ(v.field("Files").asInteger(), 4);
    EXPECT_EQ(v.field("FirstIP").asText(), "10.0.0.1");
    EXPECT_EQ(v.field("CDSIPs").asText(), "10.0.0.1");
    EXPECT_EQ(v.field("SearchEngine").asText(), "FINDER");
    EXPECT_EQ(v.field("StzdSearchTerm").asText(), "red shoes");
    EXPECT_EQ(v.field("SearchTerm").asText(), "red+shoes");
    // In time order; the two repeats of line 3 count on its own entry.
    EXPECT_EQ(v.field("CDSClickFurtherPageIDs").asText(), "9|7|8");
    EXPECT_EQ(v.field("CDSBytesClickFurtherPageIDs").asText(), "10|500|900");
    // Two lines carry the term, but it is one search-engine visit.
    const EngineDayTally& days = engineDays_;
    ASSERT_EQ(days.Keys.ubound(), 1);
    EXPECT_EQ(days.Keys[1], "20240315|FINDER");
    EXPECT_EQ(days.Counts[1], 1);
    EXPECT_EQ(INI_Get("Main", "LastVisitID", gIniLastVals, 3), "1");
}

TEST_F(VisitBuilding, VisitWithoutTermKeepsNullTerm) {
    add({{1, "10.0.0.1", 0}});
    build();
    EXPECT_TRUE(visitOf(1).field("StzdSearchTerm").isNull());
}

TEST_F(VisitBuilding, LaterAdditionContinuesStoredVisit) {
    add({{1, "10.0.0.1", 0, kSearch + "red+shoes"}, {2, "10.0.0.1", 600}, {3, "10.0.0.9", 0}});
    INI_Put("Main", "AddedLogLns_MustDoVisitsAdd", "2024-03-15 10:00", gIniLastVals);
    EXPECT_EQ(build(), 3);
    EXPECT_EQ(INI_Get("Main", "AddedLogLns_MustDoVisitsAdd", gIniLastVals, 3), "");
    add({{4, "10.0.0.1", 2400, "-", 5}, {5, "10.0.0.1", 30000}});
    EXPECT_EQ(build(), 2);
    EXPECT_EQ(groups(), (Groups{{1, 2, 4}, {3}, {5}}));
    auto v = visitOf(4);
    EXPECT_EQ(v.field("Files").asInteger(), 3);
    EXPECT_EQ(v.field("EndTimeStamp").asInteger(), stamp(2400));
    EXPECT_EQ(v.field("StzdSearchTerm").asText(), "red shoes");
    EXPECT_EQ(v.field("CDSClickFurtherPageIDs").asText(), "1|1|5");
    // New visits take numbers after the stored ones.
    EXPECT_EQ(visitOf(5).field("VisitID").asInteger(), 3);
}

TEST_F(VisitBuilding, NothingToDoClearsTheFlag) {
    INI_Put("Main", "AddedLogLns_MustDoVisitsAdd", "2024-03-15 10:00", gIniLastVals);
    EXPECT_EQ(build(), 0);
    EXPECT_EQ(INI_Get("Main", "AddedLogLns_MustDoVisitsAdd", gIniLastVals, 3), "");
}

TEST_F(VisitBuilding, ProbableRobotKeepsOnlyTheFirstLines) {
    setDbDef("LmtVisitLines", "3");
    std::vector<Line> lines;
    for (long i = 1; i <= 5; ++i) lines.push_back({i, "10.0.0.7", i * 10, "-", i});
    lines.push_back({6, "10.0.0.8", 0});
    add(lines);
    EXPECT_EQ(build(), 6);
    EXPECT_EQ(groups(), (Groups{{1, 2, 3}, {6}}));
    EXPECT_EQ(erased(), (std::vector<long>{4, 5}));
    auto v = visitOf(1);
    EXPECT_EQ(v.field("Files").asInteger(), 5);
    EXPECT_EQ(v.field("CDSClickFurtherPageIDs").asText(), "1|2|3");
    ASSERT_EQ(rec_.ProblemTexts.count(), 1);
    const std::string& problems = rec_.ProblemTexts[rec_.ProblemTexts.lbound()];
    EXPECT_NE(problems.find("Probable Bot. Single visitor accessed more than 3 files. Only first 3 log lines saved "
                            "for that visit. Visit at: " + std::to_string(stamp(10))),
              std::string::npos);
    EXPECT_NE(problems.find("Probable Bot. Total log lines ignored: 2"), std::string::npos);

    SCOPED_TRACE("no limit with 0");
    setDbDef("LmtVisitLines", "0");
    site_.db.execute("DELETE FROM logline");
    site_.db.execute("DELETE FROM visit");
    add(lines);
    build();
    EXPECT_EQ(groups(), (Groups{{1, 2, 3, 4, 5}, {6}}));
}

TEST_F(VisitBuilding, EraseNonSEDropsVisitsWithoutTermAndTheirData) {
    setDbDef("EraseNonSE", "True");
    // The visit without a term has so many pages that they live in visitpages.
    std::vector<Line> lines{{1, "10.0.0.1", 0, kSearch + "red"}, {2, "10.0.0.1", 10}};
    for (long i = 0; i < 60; ++i) lines.push_back({100 + i, "10.0.0.2", i, "-", 1000 + i});
    add(lines);
    build();
    EXPECT_EQ(groups(), (Groups{{1, 2}}));
    EXPECT_EQ(erased().size(), 60u);
    EXPECT_EQ(site_.count("SELECT COUNT(*) FROM visit"), 1);
    EXPECT_EQ(site_.count("SELECT COUNT(*) FROM visitpages"), 0);
}

TEST_F(VisitBuilding, CleanUpCompactsOnlyWhenAQuarterOfTheFileIsFree) {
    struct Case { int freedRows; bool compacted; } cases[] = {{40, false}, {99, false}, {200, true}, {400, true}};
    long nextID = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.freedRows);
        // A scratch table of about 400 pages, then the rows that leave free pages behind.
        site_.db.execute("DROP TABLE IF EXISTS scratch");
        site_.db.execute("CREATE TABLE scratch (x)");
        for (int i = 0; i < 400; ++i) site_.db.execute("INSERT INTO scratch VALUES (zeroblob(4000))");
        site_.db.execute("DELETE FROM scratch WHERE rowid <= ?", {c.freedRows});
        const dao::Database::PageUse before = site_.db.pageUse();
        ASSERT_GT(before.free, 0);
        EXPECT_EQ(STTA_CompactionDue(site_.db), c.compacted);
        add({{nextID, "10.0.0.1", nextID * 10000, kSearch + "red"}});
        ++nextID;
        build();
        EXPECT_EQ(site_.db.pageUse().free == 0, c.compacted);
    }
}

// Raises the user's Stop at the chosen update, as the progress window's Stop does.
class StopAt : public core::ProgressReports {
public:
    explicit StopAt(int update) : stopAt_(update) {}
    void start(const std::string&, const std::string&, int64_t, const std::string&, long& reportNo, double, int,
               bool, const std::string&) override {
        reportNo = ++reports_;
    }
    void update(int64_t&, const std::string&, long, PIS_UpdateFlags) override {
        if (++updates_ == stopAt_) throw sys::RtError(sys::kErrUserAbort, "Stopped", "test");
    }
    void end(long, bool) override {}
    void closeAll() override {}

private:
    int stopAt_, updates_ = 0;
    long reports_ = 0;
};

TEST_F(VisitBuilding, StopThenFinishLosesAndDoublesNothing) {
    std::vector<Line> lines;
    long id = 1;
    // Eight addresses, each with visits of a few lines, some with a term.
    for (int a = 0; a < 8; ++a)
        for (int k = 0; k < 12; ++k)
            lines.push_back({id++, "10.0.1." + std::to_string(a), k * 600 + (k / 4) * 9000,
                             k % 4 == 0 ? kSearch + "term" + std::to_string(a) : "-"});
    add(lines);

    // An uninterrupted build of the same lines, for comparison.
    build();
    const Groups whole = groups();
    for (const char* table : {"logline", "visit", "visitpages"})
        site_.db.execute(std::string("DELETE FROM ") + table);
    INI_Put("Main", "LastVisitID", "0", gIniLastVals);
    add(lines);
    INI_Put("Main", "AddedLogLns_MustDoVisitsAdd", "2024-03-15 10:00", gIniLastVals);
    testsupport::TickingClock clock;
    StopAt stop(40);
    sys::setClock(&clock);
    core::setProgressReports(&stop);
    bool interrupted = false;
    long first = build(&interrupted);
    core::setProgressReports(nullptr);
    sys::setClock(nullptr);
    EXPECT_TRUE(interrupted);
    EXPECT_GT(first, 0);
    EXPECT_LT(first, static_cast<long>(lines.size()));
    EXPECT_EQ(INI_Get("Main", "AddedLogLns_MustDoVisitsAdd", gIniLastVals, 3), "2024-03-15 10:00");
    // The visit open at the Stop was saved: no visit is blank.
    EXPECT_EQ(site_.count("SELECT COUNT(*) FROM visit WHERE StartTimeStamp = 0 OR StartTimeStamp IS NULL"), 0);

    long second = build();
    EXPECT_EQ(first + second, static_cast<long>(lines.size()));
    EXPECT_EQ(site_.count("SELECT COUNT(*) FROM logline WHERE VisitID IS NULL"), 0);
    EXPECT_EQ(site_.count("SELECT SUM(Files) FROM visit"), static_cast<long long>(lines.size()));
    EXPECT_EQ(site_.count("SELECT COUNT(*) FROM visit WHERE StartTimeStamp = 0"), 0);
    EXPECT_EQ(groups(), whole);
}

// Lines are read in chunks of 50,000; a chunk may end inside one address's lines,
// and lines without an address sort first.
TEST_F(VisitBuilding, LinesBeyondOneReadChunkEachGetOneVisit) {
    constexpr long kAddresses = 20000, kPerAddress = 3, kNoAddress = 4;
    {
        dao::Transaction tx(site_.db);
        for (long i = 1; i <= kNoAddress; ++i)
            site_.db.execute("INSERT INTO logline (LogLnID, IP, PageID, Timestamp, Bytes) VALUES (?, NULL, 1, ?, 1)",
                             {i * 7000, static_cast<long long>(stamp(i))});
        long id = 1;
        for (long k = 0; k < kPerAddress; ++k)
            for (long a = 0; a < kAddresses; ++a) {
                if (id % 7000 == 0) ++id;
                site_.db.execute("INSERT INTO logline (LogLnID, IP, PageID, Timestamp, Bytes) VALUES (?, ?, 1, ?, 1)",
                                 {id++, "10." + std::to_string(a / 250) + "." + std::to_string(a % 250) + ".1",
                                  static_cast<long long>(stamp(k * 100))});
            }
        tx.commit();
    }
    const long total = kAddresses * kPerAddress + kNoAddress;
    EXPECT_EQ(build(), total);
    EXPECT_EQ(site_.count("SELECT COUNT(*) FROM logline WHERE VisitID IS NULL"), 0);
    EXPECT_EQ(site_.count("SELECT COUNT(*) FROM visit"), kAddresses + 1);
    EXPECT_EQ(site_.count("SELECT COUNT(*) FROM visit WHERE Files = 3"), kAddresses);
    EXPECT_EQ(site_.count("SELECT COUNT(*) FROM visit WHERE Files = 4"), 1);  // the lines without an address
    EXPECT_EQ(site_.count("SELECT SUM(Files) FROM visit"), total);
}

TEST_F(VisitBuilding, IncompleteAdditionIsOfferedAndFinished) {
    testsupport::FakeUserInterface ui;
    long lines = -1;
    STTA_IncompleteAddFinish(site_.db, rec_, lines);  // nothing pending: no question
    EXPECT_EQ(lines, 0);

    add({{1, "10.0.0.1", 0}, {2, "10.0.0.1", 60}});
    INI_Put("Main", "AddedLogLns_MustDoVisitsAdd", "2024-03-15 10:05", gIniLastVals);
    {
        testsupport::ScriptedResponder answers;
        answers.press("Date Last Added: Mar 15 2024 10:05", "&No");
        STTA_IncompleteAddFinish(site_.db, rec_, lines);
    }
    EXPECT_EQ(site_.count("SELECT COUNT(*) FROM logline WHERE VisitID IS NULL"), 2);
    {
        testsupport::ScriptedResponder answers;
        answers.press("Do you want to complete process to add raw log data now?", "&Yes");
        STTA_IncompleteAddFinish(site_.db, rec_, lines);
    }
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(groups(), (Groups{{1, 2}}));
    EXPECT_EQ(INI_Get("Main", "AddedLogLns_MustDoVisitsAdd", gIniLastVals, 3), "");
    // Only the finished run leaves its record in the history of additions.
    const auto history = logimport::historyRecords();
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0][0], "** Incomplete Reads Done **");
    EXPECT_EQ(history[0][2], "** End Incomplete Reads. Create visits data. **");
    EXPECT_EQ(history[0][3], "2");
}

TEST(StampArithmetic, DiffAndMoveAcrossDays) {
    EXPECT_EQ(STTA_StampSecondsBetween(20240315235959, 20240316000001), 2);
    EXPECT_EQ(STTA_StampSecondsBetween(20240301000000, 20240229000000), -86400);
    EXPECT_EQ(STTA_StampSecondsBetween(0, 20240229000000), 2147483647);
    EXPECT_EQ(STTA_StampSecondsBetween(20240229000000, 0), -2147483647);
    EXPECT_EQ(STTA_StampMoved(20231231230000, 7200), 20240101010000);
    EXPECT_EQ(STTA_StampMoved(20240301010000, -7200), 20240229230000);
}

TEST(SearchTerms, StandardisedForm) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {{"Red+Shoes", "red shoes"}, {"%20caf%C3%A9%2B+", "caf\xC3\xA9+"}, {"100%", "100%"}, {"+", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        std::string s;
        STTA_StzdSearchTermMake(c.in, s);
        EXPECT_EQ(s, c.out);
    }
}

}  // namespace
