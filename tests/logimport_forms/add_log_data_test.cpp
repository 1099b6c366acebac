// File > "Add new raw log data" driven as a user would, through the boxes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "logimport/forms/add_log_data.h"
#include "logimport/forms/log_file_entry_dialog.h"
#include "logimport/search_engine_store.h"
#include "tests/logimport/generated_site.h"
#include "tests/logimport_forms/test_read_site.h"
#include "tests/support/scripted_responder.h"

namespace {

TEST(AddLogData, AGeneratedLogIsAddedFromTheDialogAndItsVisitsBuilt) {
    testsupport::TestReadSite s;
    const std::string src = std::getenv("DRAVOLIN_SOURCE_DIR");
    gAppPath = src + "/resources/";
    STTA_SEDefsLoad();
    const std::string log = s.site.home / "gen.log", truthFile = s.site.home / "gen.truth";
    ASSERT_EQ(std::system(("python3 '" + src + "/tests/fixtures/genlog.py' 3000 --seed 5 -o '" + log + "' --truth '" +
                           truthFile + "'")
                              .c_str()),
              0);
    INI_Put("Main", "PAFNlog", STTA_LogFileEntryJoin(log, "Combined (Apache, NGINX)"), "::*");
    INI_Put("Main", "DoAdd", "1", "::*");

    testsupport::ScriptedResponder responder;
    responder.press("Select File to add", "Sta&rt. Read Log File")
        .press("Main Processing [add lines]", "&OK")
        .press("Total log lines read", "&OK")
        .press("Data added.", "Don&e");
    STTA_AddLogData();
    EXPECT_EQ(responder.pending(), 0u);

    const long long lines = s.site.count("SELECT COUNT(*) FROM logline");
    EXPECT_GT(lines, 2000);
    EXPECT_EQ(s.site.count("SELECT COUNT(*) FROM logline WHERE VisitID IS NULL"), 0);
    const auto truth = testsupport::readTruth(truthFile);
    EXPECT_EQ(s.site.count("SELECT COUNT(*) FROM visit WHERE StzdSearchTerm IS NOT NULL"),
              static_cast<long long>(truth.size()));
    // The completion box tells what was added.
    bool told = false;
    for (const auto& box : responder.shown())
        if (box.message.find("Added: ") != std::string::npos) told = true;
    EXPECT_TRUE(told);
    gAppPath.clear();
}

TEST(AddLogData, DoneLeavesAtOnceAndCancelReadsNothing) {
    testsupport::TestReadSite s;
    s.writeLog(testsupport::combinedLine("/index.html", "-", "Mozilla"));
    INI_Put("Main", "DoAdd", "1", "::*");
    testsupport::ScriptedResponder responder;
    responder.press("Select File to add", "Sta&rt. Read Log File")
        .press("Main Processing [add lines]", "&Cancel")
        .press("Select File to add", "Don&e");
    STTA_AddLogData();
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(s.site.count("SELECT COUNT(*) FROM logline"), 0);
}

}  // namespace

namespace {

const core::CtlView& gridIn(const core::DlgView& v) {
    for (const auto& c : v.ctls)
        if (c.type == "Grid") return c;
    throw std::runtime_error("no grid in " + v.caption);
}

bool anyContains(const std::vector<std::string>& items, const std::string& text) {
    for (const auto& i : items)
        if (i.find(text) != std::string::npos) return true;
    return false;
}

// Each bad input is named in the problem files of the read with what is wrong, and
// the lines stored before stay as they were.
TEST(AddLogData, BadInputIsNamedInTheProblemFilesAndLosesNothing) {
    testsupport::TestReadSite s;
    const std::string valid = testsupport::combinedLine("/index.html", "-", "Mozilla") +
                              testsupport::combinedLine("/a.html", "-", "Mozilla", "200", "10:01:00");
    s.writeLog(valid);
    INI_Put("Main", "DoAdd", "1", "::*");
    {
        testsupport::ScriptedResponder first;
        first.press("Select File to add", "Sta&rt. Read Log File")
            .press("Main Processing [add lines]", "&OK")
            .press("Total log lines read", "&OK")
            .press("Data added.", "Don&e");
        STTA_AddLogData();
    }
    const long long stored = s.site.count("SELECT COUNT(*) FROM logline");
    ASSERT_EQ(stored, 2);

    const std::string logs = s.site.home / "logs/";
    testsupport::writeFile(logs + "binary.log", std::string("\x7f" "ELF\x01\x00\x00\xff\xfe\x00\x10", 11));
    testsupport::writeFile(logs + "other.log", "not a log line\nanother one\n" +
                                                   testsupport::combinedLine("/b.html", "-", "Mozilla", "200",
                                                                             "11:00:00") +
                                                   "third bad line\n");
    testsupport::writeFile(logs + "folder.log/keep", "");
    struct Case {
        std::string entry, problemFile, problem;
        long long storedAfter;
        std::string box = {};  // a box told even with the prompts for invalid lines off
    };
    std::vector<Case> cases = {
        {logs + "none*.log", logs + "none*.log", "No log file matches this name. Nothing read.", stored,
         "No file matches the file name pattern."},
        {logs + "folder.log", logs + "folder.log", "Log file name is a folder, not a file. File Skipped.", stored},
        {logs + "missing.log", logs + "missing.log", "does not exist", stored},
        {logs + "binary.log", logs + "binary.log", "Log file does not contain any valid lines. File Skipped.", stored},
        {logs + "other.log", logs + "other.log", "3 log line[s] did not match the log format and were skipped.",
         stored + 1},
        // The first file again: its lines are found and skipped, not stored twice.
        {s.logPath, s.logPath, "Dates on this log file overlap with data that already have on database.",
         stored + 1},
    };
    // Permissions bind only a user other than root.
    if (::geteuid() != 0) {
        testsupport::writeFile(logs + "locked.log", valid);
        std::filesystem::permissions(logs + "locked.log", std::filesystem::perms::none);
        cases.insert(cases.begin(), {logs + "locked.log", logs + "locked.log",
                                     "Log file cannot be read (no permission to read it). File Skipped.", stored});
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        INI_Put("Main", "PAFNlog", c.entry, "::*");
        std::vector<std::string> files, problems;
        std::string completion;
        testsupport::ScriptedResponder boxes;
        boxes.press("Select File to add", "Sta&rt. Read Log File")
            .press("Main Processing [add lines]", "&OK");
        if (c.entry == s.logPath) boxes.press("Do you want to add records from this file anyway?", "&Yes");
        if (!c.box.empty()) boxes.press(c.box, "&OK");
        boxes
            .expect({.act =
                         [&](const core::DlgView& v, core::DlgDriver& d) {
                             completion = v.message;
                             d.press("&OK");
                         }})
            .press(c.storedAfter > stored ? "Data added." : "No lines added: no log file could be read.",
                   "List Proble&m Files for last read")
            .expect({.act =
                         [&](const core::DlgView& v, core::DlgDriver& d) {
                             files = gridIn(v).items;
                             d.choose(gridIn(v).entry, {1});
                             d.press("&OK");
                         }})
            .expect({.act =
                         [&](const core::DlgView& v, core::DlgDriver& d) {
                             problems = gridIn(v).items;
                             d.press("&Back");
                         }})
            .expect({.expectCaption = "Select log file", .press = "Don&e"})
            .press("Select File to add", "Don&e");
        STTA_AddLogData();
        EXPECT_EQ(boxes.pending(), 0u);
        EXPECT_EQ(files, std::vector<std::string>{c.problemFile});
        EXPECT_TRUE(anyContains(problems, c.problem)) << (problems.empty() ? "" : problems[0]);
        EXPECT_EQ(s.site.count("SELECT COUNT(*) FROM logline"), c.storedAfter);
        if (c.entry == s.logPath) {
            EXPECT_NE(completion.find("2 exist."), std::string::npos) << completion;
        }
    }
}

}  // namespace

namespace {

// Preprocessing alone: the user agents asking for robots.txt that no robot filter
// rejects are offered, and the chosen one becomes a robot filter; nothing is stored.
TEST(AddLogData, PreprocessingAloneTurnsAChosenNewRobotIntoAFilter) {
    testsupport::TestReadSite s;
    const std::string src = std::getenv("DRAVOLIN_SOURCE_DIR");
    gIniPPFindBots = src + "/resources/param/ppfindbots.ini";
    gIniPPFindBotsSkipUAs = s.site.home / "ppfindbotsskipuas.ini";
    testsupport::writeFile(gIniPPFindBotsSkipUAs, "[Main]\n");
    s.writeLog(testsupport::combinedLine("/robots.txt", "-", "NewCrawler/1.0") +
               testsupport::combinedLine("/robots.txt", "-", "GoodBot/2.0", "200", "10:00:05") +
               testsupport::combinedLine("/index.html", "-", "Mozilla", "200", "10:00:09"));
    INI_Put("Main", "DoAdd", "0", "::*");
    INI_Put("Main", "newbots", "1", "::*");
    std::vector<std::string> offered;
    testsupport::ScriptedResponder boxes;
    boxes.press("Select File to add", "Sta&rt. Read Log File")
        .expect({.act =
                     [&](const core::DlgView& v, core::DlgDriver& d) {
                         for (const auto& c : v.ctls)
                             if (c.type == "ListBox") {
                                 offered = c.items;
                                 d.choose(c.entry, {0});
                                 break;
                             }
                         d.press("&Add -->");
                     }})
        .press("", "&OK")
        .expect({.expectCaption = "filters used to exclude robots and crawlers.", .press = "&Cancel"})
        .press("New filters for robot and crawler user agents created successfully.", "Don&e");
    STTA_AddLogData();
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(offered, std::vector<std::string>{"NewCrawler/1.0 - 1"});
    const std::string created = INI_Get("Filters", "FltrBotsUASel", gIniFltrBots, 3);
    EXPECT_EQ(INI_Get(created, "Val", gIniFltrBots, 3), "newcrawler/1.0");
    EXPECT_EQ(INI_Get("Filters", "SkipRobotUserAgents", gIniFltrBots, 3), "bots|" + created);
    EXPECT_EQ(s.site.count("SELECT COUNT(*) FROM logline"), 0);
    gIniPPFindBots.clear();
    gIniPPFindBotsSkipUAs.clear();
}

}  // namespace
