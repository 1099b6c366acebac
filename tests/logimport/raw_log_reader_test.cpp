#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <utility>

#include "core/ini_store.h"
#include "core/progress.h"
#include "core/scoped_value.h"
#include "core/vb_format.h"
#include "logimport/addition_run.h"
#include "logimport/addition_history.h"
#include "logimport/import_run.h"
#include "logimport/line_processing.h"
#include "logimport/logline_store.h"
#include "logimport/queued_database.h"
#include "logimport/raw_log_reader.h"
#include "logimport/read_session.h"
#include "logimport/visit_building.h"
#include "platform/sys/clock.h"
#include "platform/sys/rt_error.h"
#include "tests/logimport/generated_site.h"
#include "tests/logimport/temp_site.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"

namespace {

std::vector<std::string> readLines(const std::string& path, const std::string& content, long limit,
                                   std::vector<long long>& overlong) {
    testsupport::writeFile(path, content);
    std::vector<std::string> got;
    LinesHandler handler = [&](const std::vector<std::string_view>& lines, long i) {
        got.emplace_back(lines[size_t(i)]);
        return 0L;
    };
    EXPECT_TRUE(OPENX_ReadFileByBlocks(path, handler, false, false, "", limit, "", "", nullptr,
                                       [&](long long n) { overlong.push_back(n); }));
    return got;
}

// A combined-format line at 10 Dec 2026, hh:mm:ss.
std::string logLine(const std::string& ip, const std::string& time, const std::string& page, int status = 200,
                    const std::string& agent = "agent/1.0") {
    return ip + " - - [10/Dec/2026:" + time + " +0000] \"GET " + page + " HTTP/1.1\" " + std::to_string(status) +
           " 512 \"-\" \"" + agent + "\"";
}

// Stops the read at the chosen refresh of any report, as the Stop button would.
class StoppingProgress : public core::ProgressReports {
public:
    explicit StoppingProgress(int stopAt) : stopAt_(stopAt) { core::setProgressReports(this); }
    ~StoppingProgress() override { core::setProgressReports(nullptr); }
    void start(const std::string&, const std::string&, int64_t, const std::string&, long& reportNo, double, int, bool,
               const std::string&) override {
        reportNo = ++started;
    }
    void update(int64_t&, const std::string&, long, PIS_UpdateFlags) override {
        if (++updates == stopAt_) throw sys::RtError(sys::kErrUserAbort, "Aborted by user");
    }
    void end(long, bool) override {}
    void closeAll() override {}
    int started = 0, updates = 0;

private:
    int stopAt_;
};

}  // namespace

TEST(BlockReader, HandsOnEveryLineWhole) {
    testsupport::TempHome home;
    struct Case {
        const char* name;
        std::string content;
        long limit;
        std::vector<std::string> lines;
        std::vector<long long> overlong;
    } cases[] = {
        {"LF", "a\nb\n", kReadBlockLimit, {"a", "b"}, {}},
        {"no final line end", "a\nb", kReadBlockLimit, {"a", "b"}, {}},
        {"CR LF", "a\r\nb\r\n", kReadBlockLimit, {"a", "b"}, {}},
        {"CR alone", "a\rb\r", kReadBlockLimit, {"a", "b"}, {}},
        {"empty file", "", kReadBlockLimit, {}, {}},
        {"blank line kept for the processing to pass over", "a\n\nb", kReadBlockLimit, {"a", "", "b"}, {}},
        {"line straddling two pieces", std::string(64010, 'y') + "\nz", kReadBlockLimit,
         {std::string(64010, 'y'), "z"}, {}},
        {"CR LF split between pieces", std::string(63999, 'x') + "\r\ntail", kReadBlockLimit,
         {std::string(63999, 'x'), "tail"}, {}},
        {"line straddling two blocks", std::string(70000, 'p') + "\n" + std::string(70000, 'q') + "\nr", 100000,
         {std::string(70000, 'p'), std::string(70000, 'q'), "r"}, {}},
        {"overlong line inside a piece", "short\n" + std::string(300, 'o') + "\nafter\n", 100, {"short", "after"},
         {300}},
        {"overlong line over several pieces", "s\n" + std::string(150000, 'o') + "\nafter", 70000, {"s", "after"},
         {150000}},
        {"overlong last line", "s\n" + std::string(150000, 'o'), 70000, {"s"}, {150000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<long long> overlong;
        EXPECT_EQ(readLines(home / "x.log", c.content, c.limit, overlong), c.lines);
        EXPECT_EQ(overlong, c.overlong);
    }
    std::vector<long long> overlong;
    LinesHandler none = [](const std::vector<std::string_view>&, long) { return 0L; };
    EXPECT_FALSE(OPENX_ReadFileByBlocks(home / "missing.log", none, false, false, "", kReadBlockLimit, "", ""));
}

namespace {

// Cuts the file short once, at the first yield of the block read or at the first line
// handed on, as a truncation or a rotation by copying does to a log being read.
class CuttingUi : public testsupport::FakeUserInterface {
public:
    std::function<void()> cut;
    void doEvents() override {
        FakeUserInterface::doEvents();
        if (cut) std::exchange(cut, nullptr)();
    }
};

}  // namespace

TEST(BlockReader, AFileCutShortWhileReadIsToldAndItsCutLineIsNotHandedOn) {
    testsupport::TempHome home;
    const std::string path = home / "cut.log";
    std::string content;
    for (int i = 0; i < 2000; ++i) content += "line " + std::string(94 - std::to_string(i).size(), '.') +
                                              std::to_string(i) + "\n";  // 100 bytes a line
    ASSERT_EQ(content.size(), 200000u);
    struct Case {
        const char* name;
        long limit;
        bool whileBlockIsRead;  // else at the first line handed on
        long long keep;
        size_t whole;  // lines wholly before the cut
    } cases[] = {
        {"inside the block being read", kReadBlockLimit, true, 100050, 1000},
        {"ahead of the read, mid-line", 100000, false, 150050, 1280},
        {"emptied, as a copying rotation leaves it", 100000, false, 0, 1280},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::writeFile(path, content);
        CuttingUi ui;
        auto cut = [&] { std::filesystem::resize_file(path, static_cast<std::uintmax_t>(c.keep)); };
        if (c.whileBlockIsRead) ui.cut = cut;
        std::vector<std::string> got;
        LinesHandler handler = [&](const std::vector<std::string_view>& lines, long i) {
            if (!c.whileBlockIsRead && got.empty()) cut();
            got.emplace_back(lines[size_t(i)]);
            return 0L;
        };
        std::string readError;
        EXPECT_FALSE(OPENX_ReadFileByBlocks(path, handler, false, false, "", c.limit, "", "", nullptr, {}, &readError));
        EXPECT_EQ(readError, kFileShrankText);
        ASSERT_EQ(got.size(), c.whole);
        for (const std::string& line : got) EXPECT_EQ(line.size(), 99u);
    }
}

namespace {

class LineProcessing : public ::testing::Test {
protected:
    LineProcessing() {
        STTA_LogFmtDefLoad("Combined (Apache, NGINX)", formats);
        run.CurrentFile = "/logs/a.log";
        rec.LastKeepVal = 1;
        ctx.site = &queued;
        ctx.formats = &formats;
        ctx.rec = &rec;
        ctx.run = &run;
    }

    void process(const std::string& line) {
        std::vector<std::string_view> lines{line};
        STTA_LogLineProcess(ctx, lines, 0, status);
    }

    testsupport::TempSite site;
    core::ScopedValue<std::string> logFormats{
        gIniLogFmts, std::string(std::getenv("DRAVOLIN_SOURCE_DIR")) + "/resources/param/logfmts.ini"};
    testsupport::FakeUserInterface ui;
    LogFmtCompiled formats;
    ReadRec rec;
    logimport::ImportRun run;
    logimport::QueuedDatabase queued{site.db};
    std::optional<logimport::ReadSession> session{std::in_place, run, site.db};
    LineReadContext ctx;
    std::string status;
};

}  // namespace

TEST_F(LineProcessing, StatusRuleAndListOfFailedRequests) {
    rec.Skip404 = true;
    rec.ListedStatus = 404;
    rec.ListedNames.redim(0, 0);
    rec.ListedNames.set(0, "404");
    for (int s : {399, 400, 500, 599, 600}) process(logLine("1.1.1.1", "10:00:00", "/p" + std::to_string(s), s));
    EXPECT_EQ(run.File.LinesMatched, 5);
    EXPECT_EQ(run.File.LinesAccepted, 2);  // 399 and 600
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline"), 2);
    ASSERT_EQ(rec.ListedNames.ubound(), 3);
    EXPECT_EQ(rec.ListedNames[2], "/p500");
    // The completion names the lines it skipped for their status, which its total leaves out.
    const std::string done = STTA_AddCompletionText("", "1 minute", rec, run, "", "");
    EXPECT_NE(done.find("Total log lines read: 2 in"), std::string::npos) << done;
    EXPECT_NE(done.find("Lines with an HTTP error status, 4xx or 5xx (skipped): 3."), std::string::npos) << done;
}

TEST_F(LineProcessing, BlankLinesCountNothingAndTheFirstMatchMarksTheAddition) {
    for (const char* blank : {"", "   ", " \t\r"}) process(blank);
    EXPECT_EQ(run.File.LinesMatched, 0);
    EXPECT_EQ(INI_Get("Main", "AddedLogLns_MustDoVisitsAdd", gIniLastVals, 3), "");
    process(logLine("1.1.1.1", "10:00:00", "/a.html"));
    EXPECT_NE(INI_Get("Main", "AddedLogLns_MustDoVisitsAdd", gIniLastVals, 3), "");
    EXPECT_EQ(run.File.BytesAccepted, 512);
}

TEST_F(LineProcessing, ByteTotalsStayExactPastWhatADoubleHolds) {
    auto withBytes = [](const std::string& ip, const std::string& bytes) {
        std::string line = logLine(ip, "10:00:00", "/a.html");
        return line.replace(line.find(" 512 "), 5, " " + bytes + " ");
    };
    process(withBytes("1.1.1.1", "9007199254740992"));  // 2^53
    process(withBytes("1.1.1.2", "1"));
    EXPECT_EQ(run.File.LinesAccepted, 2);
    EXPECT_EQ(run.File.BytesMatched, 9007199254740993LL);
}

TEST_F(LineProcessing, TestReadTalliesAndStoresNothing) {
    rec.Test.Active = true;
    rec.Test.ListUserAgents = true;
    process(logLine("1.1.1.1", "10:00:00", "/a.html", 200, "Agent/1"));
    process(logLine("1.1.1.2", "10:00:01", "/b.html", 200, "agent/1"));
    EXPECT_EQ(run.File.LinesAccepted, 2);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline"), 0);
    EXPECT_EQ(INI_Get("Main", "AddedLogLns_MustDoVisitsAdd", gIniLastVals, 3), "");
    long start = 0;
    long i = LLIST_StrArrFind(rec.Test.UserAgents, "agent/1", start, false);
    ASSERT_GE(i, 0);
    EXPECT_EQ(rec.Test.UserAgentCounts[i], 2);
}

TEST_F(LineProcessing, ComponentHitIsCountedBeforeTheRobotRule) {
    rec.CompSet = FltrSet{.Active = true, .Rules = {{}, {kFltrContains, ".gif", false}}, .ColTypes = {0, kFldFileName}};
    rec.RobotSet = FltrSet{.Active = true, .Rules = {{}, {kFltrContains, "bot", false}}, .ColTypes = {0, kFldUserAgent}};
    process(logLine("1.1.1.1", "10:00:00", "/logo.gif", 200, "Bot/2"));
    process(logLine("1.1.1.1", "10:00:01", "/a.html", 200, "Bot/2"));
    EXPECT_EQ(rec.CompSet.Hits, 1);
    EXPECT_EQ(rec.RobotSet.Hits, 1);
    EXPECT_EQ(run.File.LinesAccepted, 0);
}

TEST_F(LineProcessing, DirectiveLinesOfW3CLogsArePassedOverSilently) {
    STTA_LogFmtDefLoad("W3C extended (IIS)", formats);
    process("#Software: Microsoft Internet Information Services 10.0");
    process("#Fields: date time s-ip cs-method cs-uri-stem cs-uri-query s-port cs-username c-ip "
            "cs(User-Agent) cs(Referer) sc-status sc-substatus sc-win32-status time-taken");
    process("2026-12-10 10:00:01 10.0.0.1 GET /index.html - 80 - 192.168.1.5 Mozilla/5.0 - 200 0 0 15");
    EXPECT_EQ(run.File.LinesMatched, 1);
    EXPECT_EQ(run.File.LinesAccepted, 1);
    EXPECT_EQ(rec.ProblemFiles.ubound(), -1);  // no box either: none was expected
}

TEST_F(LineProcessing, UnmatchedLinesAreListedOnceAndCancelStops) {
    testsupport::ScriptedResponder responder;
    responder.press("Log Line Found cannot be matched", "&OK");
    process("garbage one");
    responder.press("garbage two", "&Cancel");
    try {
        process("garbage two");
        ADD_FAILURE() << "Cancel did not stop the read";
    } catch (const sys::RtError& e) {
        EXPECT_EQ(e.number(), sys::kErrUserAbort);
    }
    // The prompt's check box ends the prompts for the rest of the read.
    responder.expect({.expectMessage = "garbage three",
                      .sets = {{"cap:Do &not Show this Message again", "1"}},
                      .press = "&OK"});
    process("garbage three");
    EXPECT_TRUE(rec.NoPromptInvalid);
    process("garbage four");  // no box
    ASSERT_EQ(rec.ProblemFiles.ubound(), 0);
    EXPECT_EQ(rec.ProblemTexts[0], "Log Line Found cannot be matched for specified format. Line[s] Skipped.");
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(LineProcessing, AnInvalidLineOfMegabytesIsShownInPartWithItsLength) {
    testsupport::ScriptedResponder responder;
    responder.press("Log Line Found cannot be matched", "&OK");
    process(std::string(9000000, 'x'));
    ASSERT_EQ(responder.shown().size(), 1u);
    const std::string& message = responder.shown()[0].message;
    EXPECT_LT(message.size(), 5000u);
    EXPECT_NE(message.find(std::string(3000, 'x')), std::string::npos);
    EXPECT_NE(message.find("The line is 9,000,000 characters long; the first 3,000 are shown."), std::string::npos);
}

TEST_F(LineProcessing, YieldsAreDueByTimeNotByLine) {
    sys::ManualClock clock;
    sys::setClock(&clock);
    for (int i = 0; i < 50; ++i) process(logLine("1.1.1.1", "10:00:00", "/a.html"));
    EXPECT_EQ(ui.doEventsCalls, 1);
    clock.advance(kLineYieldInterval);
    process(logLine("1.1.1.1", "10:00:01", "/a.html"));
    EXPECT_EQ(ui.doEventsCalls, 2);
    sys::setClock(nullptr);
}

namespace {

class ReadRun : public LineProcessing {
protected:
    ReadRun() {
        session.reset();  // each read makes its own
        INI_Put("Main", "LFmtDflt", "Combined (Apache, NGINX)", gIniLastVals);
        sys::setClock(&clock);  // progress refreshes only where the test lets time pass
        rec = ReadRec{};
        rec.NoPromptInvalid = true;
    }
    ~ReadRun() override { sys::setClock(nullptr); }

    bool read(const std::string& list) {
        bool usable = false;
        return RawLog_AddData_ReadLogFiles_OK(site.db, list, "Test", "Add. Step 1/3: ", usable, rec, run);
    }
    long long rows() { return site.count("SELECT COUNT(*) FROM logline"); }

    sys::ManualClock clock;
};

std::string manyLines(int n, const std::string& ipPrefix) {
    std::string text;
    for (int i = 0; i < n; ++i) {
        char time[16];
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", 10 + i / 3600, (i / 60) % 60, i % 60);
        text += logLine(ipPrefix + std::to_string(i % 250), time, "/page" + std::to_string(i % 40) + ".html") + "\n";
    }
    return text;
}

}  // namespace

TEST_F(ReadRun, BadLinesAreReportedAndTheRestIsRead) {
    const std::string path = site.home / "logs/mixed.log";
    testsupport::writeFile(path, logLine("1.1.1.1", "10:00:00", "/a.html") + "\r\n" + "not a log line\r\n" +
                                     std::string("\x01\xff\xfe\0binary\x80", 11) + "\r\n" +
                                     std::string(kReadBlockLimit + 1, 'L') + "\n" +
                                     logLine("1.1.1.2", "10:00:05", "/b.html?x=1#f") + "\r\n" + "half a line [");
    EXPECT_TRUE(read(path));
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(run.Run.LinesMatched, 2);
    EXPECT_EQ(INI_Get("Main", "LastLogLnID", gIniLastVals, 3), "2");
    ASSERT_EQ(rec.ProblemFiles.ubound(), 0);
    EXPECT_EQ(rec.ProblemFiles[0], path);
    EXPECT_NE(rec.ProblemTexts[0].find("cannot be matched"), std::string::npos);
    EXPECT_NE(rec.ProblemTexts[0].find("Log line longer than 10,000,000 bytes found."), std::string::npos);
    // The pseudo page exists before any line is stored.
    EXPECT_EQ(STTA_PageNameByID(site.db, run.MissingPageID), kMissingPageName);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM page WHERE Filename = 'b.html?x=1'"), 1);  // RemFrag only
}

TEST_F(ReadRun, TheSameLogAddedTwiceAddsNothingTheSecondTime) {
    const std::string path = site.home / "logs/a.log";
    testsupport::writeFile(path, manyLines(30, "10.0.0."));
    EXPECT_TRUE(read(path));
    EXPECT_EQ(rows(), 30);
    testsupport::ScriptedResponder responder;
    responder.press("Dates on this log file overlap", "&Yes");
    EXPECT_TRUE(read(path));
    EXPECT_EQ(rows(), 30);
    EXPECT_EQ(run.Run.Duplicates, 30);
    EXPECT_EQ(site.count("SELECT SUM(IFNULL(CntDupes, 0)) FROM logline"), 0);
    // Answering No skips the file, but the overlap is still on its problem list.
    responder.press("Dates on this log file overlap", "&No");
    EXPECT_TRUE(read(path));
    EXPECT_EQ(run.Run.Duplicates, 0);
    EXPECT_NE(rec.ProblemTexts[0].find("All identical lines skipped."), std::string::npos);
}

TEST_F(ReadRun, DuplicatesAreLookedForOnlyWhereDatesOverlap) {
    const std::string first = site.home / "logs/1.log", overlap = site.home / "logs/2.log",
                      later = site.home / "logs/3.log";
    testsupport::writeFile(first, logLine("1.1.1.1", "10:00:00", "/a.html") + "\n" +
                                      logLine("1.1.1.1", "10:10:00", "/b.html") + "\n");
    // The same request twice within the overlap: one stored, one a repeat counted on it.
    testsupport::writeFile(overlap, logLine("1.1.1.1", "10:10:00", "/b.html") + "\n" +
                                        logLine("1.1.1.1", "10:12:00", "/c.html") + "\n" +
                                        logLine("1.1.1.1", "10:12:00", "/c.html") + "\n");
    testsupport::writeFile(later, logLine("1.1.1.1", "11:00:00", "/d.html") + "\n" +
                                      logLine("1.1.1.1", "11:00:00", "/d.html") + "\n");
    rec.NoPromptOverlap = true;
    EXPECT_TRUE(read(first + "|" + overlap + "|" + later));
    EXPECT_EQ(rows(), 5);  // a, b, c, d, d: no look-up where dates do not overlap
    EXPECT_EQ(run.Run.Duplicates, 2);
    EXPECT_EQ(site.count("SELECT CntDupes FROM logline WHERE Filename = '/c.html'"), 1);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline WHERE IFNULL(CntDupes, 0) > 0"), 1);
}

TEST_F(ReadRun, WildcardFilesAreReadInTheConfirmedOrderAndCancelReadsNothing) {
    testsupport::writeFile(site.home / "logs/w1.log", manyLines(3, "1.1.1."));
    testsupport::writeFile(site.home / "logs/w2.log", manyLines(3, "2.2.2."));
    testsupport::ScriptedResponder responder;
    responder.press("The following files will be processed", "&Cancel");
    EXPECT_TRUE(read(site.home / "logs/w*.log"));
    EXPECT_EQ(rows(), 0);
    // The file shown second, moved up, is read first (the finder's order is its own).
    std::string firstShown;
    ui.arrange = [&firstShown](std::vector<std::string>& files) {
        ASSERT_EQ(files.size(), 2u);
        std::swap(files[0], files[1]);
        firstShown = files[0];
    };
    responder.press("The following files will be processed", "&Yes");
    rec.NoPromptOverlap = true;
    EXPECT_TRUE(read(site.home / "logs/w*.log"));
    EXPECT_EQ(rows(), 6);
    const std::string firstRead = TXT_EndsWith(firstShown, "w2.log", true) ? "2.2.2.%" : "1.1.1.%";
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline WHERE LogLnID <= 3 AND IP LIKE '" + firstRead + "'"), 3);
    // "?" stands for one character, as in the entry dialog.
    ui.arrange = {};
    testsupport::writeFile(site.home / "logs/w3.log", manyLines(3, "3.3.3."));
    testsupport::writeFile(site.home / "logs/w33.log", manyLines(3, "4.4.4."));
    responder.press("The following files will be processed", "&Yes");
    EXPECT_TRUE(read(site.home / "logs/w?.log"));
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline WHERE IP LIKE '3.3.3.%'"), 3);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline WHERE IP LIKE '4.4.4.%'"), 0);
}

TEST_F(ReadRun, StopKeepsWhatWasCommittedAndARereadDoublesNothing) {
    const std::string one = site.home / "logs/1.log", two = site.home / "logs/2.log", three = site.home / "logs/3.log";
    testsupport::writeFile(one, manyLines(20, "1.0.0."));
    const std::string big = manyLines(2000, "2.0.0.");  // several pieces
    testsupport::writeFile(two, big);
    testsupport::writeFile(three, manyLines(20, "3.0.0."));
    const std::string list = one + "|" + two + "|" + three;
    rec.NoPromptOverlap = true;
    {
        StoppingProgress stop(2);  // the first refresh of the second file
        EXPECT_FALSE(read(list));
    }
    const long long afterStop = rows();
    EXPECT_EQ(run.Run.LinesAccepted, double(afterStop));  // the stopped file's stored lines count too
    EXPECT_GT(afterStop, 20);
    EXPECT_LT(afterStop, 2020);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline WHERE IP LIKE '3.%'"), 0);
    EXPECT_EQ(INI_Get("Main", "LastLogLnID", gIniLastVals, 3), std::to_string(afterStop));
    // The completion box after the Stop tells what was stored.
    logimport::runTotalsToFileCounters(rec, run);
    const std::string done = STTA_AddCompletionText(list, "1 minute", rec, run, "", "");
    EXPECT_NE(done.find("Added: " + core::vbFormat(double(afterStop), "#,###,###,###,##0")), std::string::npos)
        << done;
    EXPECT_NE(done.find("Data from 10 Dec 2026 to 10 Dec 2026"), std::string::npos) << done;

    EXPECT_TRUE(read(list));
    EXPECT_EQ(rows(), 2040);
    EXPECT_EQ(site.count("SELECT COUNT(DISTINCT LogLnID) FROM logline"), 2040);
    EXPECT_EQ(run.Run.Duplicates, double(afterStop));
}

// An addition stopped during its read, whose visits the user then declined to build,
// leaves nothing that steers the runs after it: completing the visits later counts
// only what that completion builds, and a plain read after it stores its lines
// without building visits on the way.
TEST_F(ReadRun, AStoppedAdditionWhoseVisitsWereDeclinedLeavesNothingToTheNextRun) {
    const std::string one = site.home / "logs/1.log", two = site.home / "logs/2.log";
    const std::string later = site.home / "logs/later.log";
    testsupport::writeFile(one, manyLines(20, "1.0.0."));
    testsupport::writeFile(two, manyLines(2000, "2.0.0."));
    testsupport::writeFile(later, manyLines(20, "3.0.0."));
    testsupport::LastValsRouting routing;
    core::ScopedShellHooks routed(&routing);
    rec.NoPromptOverlap = true;  // the files share their times
    testsupport::ScriptedResponder responder;
    responder.press("Read log file stopped", "&No");
    {
        logimport::ImportRun addition;
        StoppingProgress stop(2);  // the first refresh of the second file
        EXPECT_FALSE(logimport::additionMainPass(site.db, one + "|" + two, "Add", "", rec, addition).read);
    }
    ASSERT_GT(rows(), 20);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline WHERE VisitID IS NULL"), 0);  // visits built on the way

    responder.press("process to create visits data was not completed", "&Yes");
    long built = -1;
    STTA_IncompleteAddFinish(site.db, rec, built);
    EXPECT_EQ(built, 0);

    bool usable = false;
    EXPECT_TRUE(RawLog_AddData_ReadLogFiles_OK(site.db, later, "Test", "Add. Step 1/3: ", usable, rec));
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline WHERE VisitID IS NULL"), 20);
}

TEST_F(ReadRun, ACompletionThatAddedNothingGivesNoDates) {
    const std::string missing = site.home / "logs/missing.log";
    testsupport::ScriptedResponder responder;
    responder.press("Log file does not exist.", "&OK");
    EXPECT_TRUE(read(missing));
    logimport::runTotalsToFileCounters(rec, run);
    const std::string done = STTA_AddCompletionText(missing, "1 minute", rec, run, "", "");
    EXPECT_NE(done.find("Added: 0"), std::string::npos) << done;
    EXPECT_EQ(done.find("Data from"), std::string::npos) << done;
    EXPECT_EQ(done.find("1899"), std::string::npos) << done;
}

// Bytes become megabytes before they are rounded to the tenth shown.
TEST_F(ReadRun, TheCompletionGivesTheBandwidthToATenthOfAMegabyte) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {5'996'575'199, ": 5,718.8 Meg."}, {1'572'864, ": 1.5 Meg."}, {100'000, ": 0.1 Meg."}};
    for (const auto& [bytes, shown] : cases) {
        SCOPED_TRACE(shown);
        run.File.BytesMatched = bytes;
        const std::string done = STTA_AddCompletionText("", "1 minute", rec, run, "", "");
        EXPECT_NE(done.find(std::string("Total bandwidth for all lines read") + shown), std::string::npos)
            << done;
    }
}

TEST_F(ReadRun, AFileThatStoresNothingLeavesTheRunsFirstStampAlone) {
    INI_Put("Main", "Skip404", "True", gIniDbDef);
    const std::string good = site.home / "logs/good.log", failed = site.home / "logs/failed.log";
    testsupport::writeFile(good, logLine("1.1.1.1", "10:00:00", "/a.html") + "\n");
    testsupport::writeFile(failed, logLine("2.2.2.2", "12:00:00", "/gone.html", 404) + "\n");
    EXPECT_TRUE(read(good + "|" + failed));
    EXPECT_EQ(rows(), 1);
    EXPECT_GT(run.Run.FirstStamp, 0);
    EXPECT_EQ(run.Run.FirstStamp, run.Run.LastStamp);  // both from the one stored line
}

TEST_F(ReadRun, FileChecksFindTheValidEndsOrSkipTheFile) {
    const std::string valid = logLine("1.1.1.1", "10:00:00", "/a.html") + "\n" +
                              logLine("1.1.1.1", "10:20:30", "/b.html") + "\n";
    std::string junk;
    while (junk.size() < 7000) junk += "corrupt tail line\n";
    struct Case {
        const char* name;
        std::string content;
        bool ok;
        const char* first;
        const char* last;
        const char* problem;
        bool exists = true;
    } cases[] = {
        {"valid", valid, true, "20261210100000", "20261210102030", ""},
        {"junk head and a tail longer than one window", "junk\n" + valid + junk, true, "20261210100000",
         "20261210102030", ""},
        {"a comment header of a few KB", std::string(5000, '#') + "\n" + valid, true, "20261210100000",
         "20261210102030", ""},
        {"junk running over many blocks on both sides", junk + junk + std::string(200000, 'x') + "\n" + valid +
                                                            std::string(200000, 'y') + "\n" + junk,
         true, "20261210100000", "20261210102030", ""},
        {"one valid line longer than a block", logLine("1.1.1.1", "10:00:00", "/" + std::string(150000, 'p')),
         true, "20261210100000", "20261210100000", ""},
        {"CR line ends", logLine("1.1.1.1", "10:00:00", "/a.html") + "\r" + logLine("1.1.1.1", "10:20:30", "/b.html"),
         true, "20261210100000", "20261210102030", ""},
        {"empty", "", false, "", "", "Log file is empty or does not exist. File Skipped."},
        {"no valid line", junk, false, "", "", "Log file does not contain any valid lines. File Skipped."},
        {"missing", "", false, "", "", "Log file does not exist. File Skipped.", false},
        {"gzip whatever its name", std::string("\x1f\x8b\x08\0", 4) + junk, false, "", "",
         "Log file is compressed (gzip). File Skipped."},
        {"bzip2", "BZh91AY&SY" + junk, false, "", "", "Log file is compressed (bzip2). File Skipped."},
        {"xz", std::string("\xfd" "7zXZ\0", 6) + junk, false, "", "", "Log file is compressed (xz). File Skipped."},
        {"zip", "PK\x03\x04" + junk, false, "", "", "Log file is compressed (zip). File Skipped."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        rec = ReadRec{};
        rec.NoPromptInvalid = true;
        run.CurrentFile = site.home / "logs/check.log";
        std::filesystem::remove(run.CurrentFile);
        if (c.exists) testsupport::writeFile(run.CurrentFile, c.content);
        testsupport::ScriptedResponder responder;  // prompts off: no box at all
        std::string first, last;
        EXPECT_EQ(STTA_LogFileFirstLastStamp(run.CurrentFile, formats, rec, run, first, last), c.ok);
        if (c.ok) {
            EXPECT_EQ(first, c.first);
            EXPECT_EQ(last, c.last);
        } else {
            ASSERT_EQ(rec.ProblemTexts.ubound(), 0);
            EXPECT_EQ(rec.ProblemTexts[0], c.problem);
        }
        EXPECT_EQ(responder.pending(), 0u);
    }
    // A missing file is noted in silence, a pattern that matches nothing is told, and
    // the run goes on.
    rec = ReadRec{};
    rec.NoPromptInvalid = true;
    testsupport::writeFile(site.home / "logs/ok.log", valid);
    testsupport::ScriptedResponder responder;
    responder.press("No file matches the file name pattern.", "&OK");
    EXPECT_TRUE(read(site.home / "logs/missing.log" + "|" + site.home / "logs/none*.log" + "|" +
                     site.home / "logs/ok.log"));
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(rec.ProblemFiles[rec.ProblemFiles.lbound()], site.home / "logs/missing.log");
}

// A site that never chose a default format reads with the one the program ships.
TEST_F(ReadRun, WithoutTheSitesDefaultFormatTheShippedOneReads) {
    INI_Put("Main", "LFmtDflt", "", gIniLastVals);
    const std::string path = site.home / "logs/a.log";
    testsupport::writeFile(path, manyLines(5, "10.0.0."));
    EXPECT_TRUE(read(path));
    EXPECT_EQ(rows(), 5);
}

TEST_F(ReadRun, ATestReadStoresNothingAndAsksNothing) {
    const std::string path = site.home / "logs/a.log";
    testsupport::writeFile(path, manyLines(10, "10.0.0."));
    EXPECT_TRUE(read(path));
    rec.Test.Active = true;  // the same dates again: no overlap question (no responder here)
    rec.Test.ListUserAgents = true;
    EXPECT_TRUE(read(path));
    EXPECT_EQ(rows(), 10);
    EXPECT_EQ(run.Run.LinesAccepted, 10);  // collected, not stored
    EXPECT_EQ(run.Run.Duplicates, 0);
}

namespace {

bool hasDontShowAgainBox(const core::DlgView& box) {
    return std::any_of(box.ctls.begin(), box.ctls.end(), [](const core::CtlView& c) {
        return c.type == "CheckBox" && c.caption.find("Show this Message again") != std::string::npos;
    });
}

}  // namespace

// The overlap question carries the check box that switches it off for the rest of the
// read, like the notices of skipped files with theirs.
TEST_F(ReadRun, ReadBoxesCarryTheCheckBoxBoundToTheirOption) {
    const std::string path = site.home / "logs/a.log";
    testsupport::writeFile(path, manyLines(5, "10.0.0."));
    EXPECT_TRUE(read(path));
    testsupport::ScriptedResponder responder;
    responder.expect({.expectMessage = "Dates on this log file overlap",
                      .sets = {{"cap:Do &not Show this Message again", "1"}},
                      .press = "&Yes"});
    EXPECT_TRUE(read(path));
    EXPECT_TRUE(rec.NoPromptOverlap);
    EXPECT_TRUE(read(path));  // no question now: the file is added with its duplicates checked
    EXPECT_EQ(run.Run.Duplicates, 5);

    const std::string empty = site.home / "logs/empty.log", junk = site.home / "logs/junk.log",
                      junk2 = site.home / "logs/junk2.log", folder = site.home / "logs/folder.log",
                      packed = site.home / "logs/packed.log", missing = site.home / "logs/missing.log";
    testsupport::writeFile(empty, "");
    testsupport::writeFile(packed, std::string("\x1f\x8b\x08\0", 4) + "packed");
    testsupport::writeFile(junk, "not a log line\n");
    testsupport::writeFile(junk2, "not a log line either\n");
    std::filesystem::create_directories(folder);
    rec.NoPromptInvalid = false;
    responder.press("Log file is empty or does not exist.", "&OK")
        .press("Log file name is a folder, not a file.", "&OK")
        .press("Log file is compressed (gzip)", "&OK")
        .press("Log file does not exist.", "&OK")
        .expect({.expectMessage = "Log file does not contain any valid lines.",
                 .sets = {{"cap:Do &not Show this Message again", "1"}},
                 .press = "&OK"});
    const size_t before = responder.shown().size();
    // The files after the box was ticked are skipped silently.
    EXPECT_TRUE(read(empty + "|" + folder + "|" + packed + "|" + missing + "|" + junk + "|" + junk2 + "|" + packed +
                     "|" + missing));
    EXPECT_EQ(responder.pending(), 0u);
    ASSERT_EQ(responder.shown().size(), before + 5);
    for (size_t k = before; k < responder.shown().size(); ++k) EXPECT_TRUE(hasDontShowAgainBox(responder.shown()[k]));
    EXPECT_TRUE(rec.NoPromptInvalid);
    EXPECT_EQ(rec.ProblemFiles[rec.ProblemFiles.ubound()], junk2);  // noted all the same
}

// A run of one file needs no record of the run's start: its file's record holds it.
TEST_F(ReadRun, OnlyARunOfSeveralFilesOpensWithAStartRecord) {
    const std::string one = site.home / "logs/one.log";
    testsupport::writeFile(one, logLine("1.1.1.1", "10:00:00", "/a.html") + "\n");
    EXPECT_TRUE(read(one));
    const auto records = logimport::historyRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0][0], "Start Read File: " + one);
    EXPECT_NE(records[0][23], "..");  // the run's start time
}

// Each file that passes its checks gets a start record with its first and last stamp,
// written before the overlap question; the run's start time stands in the first only.
// A file read completely gets its done record with "j/m", and " [List i/n]" in a list.
TEST_F(ReadRun, HistoryRecordsOfEachFile) {
    const std::string one = site.home / "logs/1.log", w1 = site.home / "logs/w1.log",
                      w2 = site.home / "logs/w2.log", overlap = site.home / "logs/overlap.log";
    testsupport::writeFile(one, logLine("1.1.1.1", "10:00:00", "/a.html") + "\n" +
                                    logLine("1.1.1.1", "10:20:30", "/b.html") + "\n");
    testsupport::writeFile(w1, logLine("2.2.2.2", "11:00:00", "/a.html") + "\n");
    testsupport::writeFile(w2, logLine("3.3.3.3", "12:00:00", "/a.html") + "\n");
    testsupport::writeFile(overlap, logLine("4.4.4.4", "10:10:00", "/c.html") + "\n" +
                                        logLine("1.1.1.1", "10:20:30", "/b.html") + "\n");
    ui.arrange = [](std::vector<std::string>& files) { std::sort(files.begin(), files.end()); };
    testsupport::ScriptedResponder responder;
    responder.press("The following files will be processed", "&Yes").press("Dates on this log file overlap", "&No");
    EXPECT_TRUE(read(one + "|" + site.home / "logs/w*.log" + "|" + overlap));
    EXPECT_EQ(responder.pending(), 0u);

    const auto records = logimport::historyRecords();
    struct Row {
        std::string action, file, time, first, last;
    };
    const std::string any = "<time>";
    const std::vector<Row> expected = {
        {"** Start ADD **", "", "", "", ""},
        {"Start Read File: " + one, "1.log", any, "2026-12-10 10:00.00", "2026-12-10 10:20.30"},
        {"Done. Read File. 1/1 [List 1/3]", "1.log", "", "", ""},
        {"Start Read File: " + w1, "w1.log", "..", "2026-12-10 11:00.00", "2026-12-10 11:00.00"},
        {"Done. Read File. 1/2 [List 2/3]", "w1.log", "", "", ""},
        {"Start Read File: " + w2, "w2.log", "..", "2026-12-10 12:00.00", "2026-12-10 12:00.00"},
        {"Done. Read File. 2/2 [List 2/3]", "w2.log", "", "", ""},
        {"Start Read File: " + overlap, "overlap.log", "..", "2026-12-10 10:10.00", "2026-12-10 10:20.30"},
    };
    ASSERT_EQ(records.size(), expected.size());
    for (size_t k = 0; k < expected.size(); ++k) {
        SCOPED_TRACE(expected[k].action);
        const Row& e = expected[k];
        const auto& r = records[k];
        EXPECT_EQ(r[0], e.action);
        if (e.action.starts_with("** ")) continue;
        EXPECT_EQ(r[1], e.file);
        if (!e.action.starts_with("Start")) continue;
        if (e.time == any) {
            EXPECT_NE(r[23], "..");
            EXPECT_FALSE(r[23].empty());
        } else {
            EXPECT_EQ(r[23], e.time);
        }
        EXPECT_EQ(r[4], e.first);
        EXPECT_EQ(r[5], e.last);
    }
}
