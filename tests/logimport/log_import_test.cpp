// A whole addition of a generated log: read, store, build visits; the visits from a
// search engine are checked against what the generator says it wrote.
#include <gtest/gtest.h>

#include <string>

#include "core/shell_hooks.h"
#include "tests/logimport/generated_site.h"
#include "tests/support/fake_user_interface.h"

namespace {

class LastValsRouting : public core::ShellHooks {
public:
    std::string iniSectFileGet(const std::string& section, const std::string& key) override {
        return section == "Main" && key == "LastVisitID" ? gIniLastVals : std::string();
    }
};

class LogImport : public ::testing::TestWithParam<bool> {};

TEST_P(LogImport, SearchVisitsMatchTheGeneratorsTruth) {
    const bool keepValues = GetParam();
    testsupport::TempSite site(keepValues);
    testsupport::FakeUserInterface ui;
    LastValsRouting routing;
    core::ScopedShellHooks routed(&routing);
    const testsupport::GeneratedLog generated = testsupport::addGeneratedLog(site, 3000, 7);
    const auto& truth = generated.truth;
    const long long stored = site.count("SELECT COUNT(*) FROM logline");
    ASSERT_GT(stored, 2000);
    EXPECT_EQ(generated.linesBuilt, stored);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline WHERE VisitID IS NULL"), 0);

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
}

INSTANTIATE_TEST_SUITE_P(KeptAndStoredReferrers, LogImport, ::testing::Bool());

}  // namespace
