// A whole addition of a generated log: read, store, build visits; the visits from a
// search engine are checked against what the generator says it wrote.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/shell_hooks.h"
#include "logimport/logline_store.h"
#include "logimport/raw_log_reader.h"
#include "logimport/search_engine_store.h"
#include "logimport/visit_building.h"
#include "tests/logimport/temp_site.h"
#include "tests/support/fake_user_interface.h"

namespace {

class LastValsRouting : public core::ShellHooks {
public:
    std::string iniSectFileGet(const std::string& section, const std::string& key) override {
        return section == "Main" && key == "LastVisitID" ? gIniLastVals : std::string();
    }
};

struct SearchVisit {
    std::string engineHost, term;
};

// (IP, start stamp) -> what the generator wrote for each search-engine visit.
std::map<std::pair<std::string, std::string>, SearchVisit> readTruth(const std::string& path) {
    std::map<std::pair<std::string, std::string>, SearchVisit> truth;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string ip, stamp, host, term;
        std::getline(fields, ip, '\t');
        std::getline(fields, stamp, '\t');
        std::getline(fields, host, '\t');
        std::getline(fields, term, '\t');
        truth[{ip, stamp}] = {host, term};
    }
    return truth;
}

class LogImport : public ::testing::TestWithParam<bool> {};

TEST_P(LogImport, SearchVisitsMatchTheGeneratorsTruth) {
    const bool keepValues = GetParam();
    testsupport::TempSite site(keepValues);
    testsupport::FakeUserInterface ui;
    LastValsRouting routing;
    core::setShellHooks(&routing);
    const std::string src = std::getenv("DRAVOLIN_SOURCE_DIR");
    gIniLogFmts = src + "/resources/param/logfmts.ini";
    gAppPath = src + "/resources/";
    STTA_SEDefsLoad();
    INI_Put("Main", "LFmtDflt", "Combined (Apache, NGINX)", gIniLastVals);

    const std::string log = site.home / "gen.log", truthFile = site.home / "gen.truth";
    const std::string cmd = "python3 '" + src + "/tests/fixtures/genlog.py' 3000 --seed 7 -o '" + log +
                            "' --truth '" + truthFile + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);

    ReadRec rec;
    rec.NoPromptInvalid = true;
    // The generator's robots name themselves in their user agents.
    rec.RobotSet = FltrSet{.Active = true,
                           .Rules = {{}, {kFltrContains, "bot", false}, {kFltrContains, "spider", false}},
                           .Any = true,
                           .ColTypes = {0, kFldUserAgent, kFldUserAgent}};
    bool usable = false;
    ASSERT_TRUE(RawLog_AddData_ReadLogFiles_OK(site.db, log, "Test", "Add. Step 1/3: ", usable, rec));
    STTA_LogLineRsClose();
    const long long stored = site.count("SELECT COUNT(*) FROM logline");
    ASSERT_GT(stored, 2000);

    bool interrupted = true;
    EXPECT_EQ(LogLnRaw_Add(site.db, rec, interrupted), stored);
    EXPECT_FALSE(interrupted);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline WHERE VisitID IS NULL"), 0);

    auto truth = readTruth(truthFile);
    ASSERT_GT(truth.size(), 100u);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM visit WHERE StzdSearchTerm IS NOT NULL"),
              static_cast<long long>(truth.size()));
    size_t checked = 0;
    site.db.forEachRow("SELECT FirstIP, StartTimeStamp, SearchEngine, StzdSearchTerm FROM visit "
                       "WHERE StzdSearchTerm IS NOT NULL",
                       {}, [&](const dao::Statement& s) {
                           std::string ip = s.column(0).asText(), stamp = s.column(1).asText();
                           SCOPED_TRACE(ip + " " + stamp);
                           auto it = truth.find({ip, stamp});
                           ASSERT_NE(it, truth.end());
                           EXPECT_EQ(s.column(3).asText(), it->second.term);
                           // "GOOGLE" for www.google.co.uk, "DUCKDUCKGO" for duckduckgo.com.
                           std::string engine = core::lowerAscii(s.column(2).asText());
                           EXPECT_FALSE(engine.empty());
                           EXPECT_NE(it->second.engineHost.find(engine), std::string::npos) << engine;
                           ++checked;
                       });
    EXPECT_EQ(checked, truth.size());
    core::setShellHooks(nullptr);
    gAppPath.clear();
    gIniLogFmts.clear();
}

INSTANTIATE_TEST_SUITE_P(KeptAndStoredReferrers, LogImport, ::testing::Bool());

}  // namespace
