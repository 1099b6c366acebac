// Robot preprocessing: which collected user agents are offered, and the filters the
// chosen ones become.
#include "logimport/robot_preprocessing.h"

#include <gtest/gtest.h>

#include "core/dates.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "logimport/filter_store.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"

namespace {

using Texts = std::vector<std::string>;

class RobotPreprocessing : public ::testing::Test {
protected:
    void SetUp() override {
        TXT_CrLfInit();
        gIniFltrBots = home_ / "fltrbots.ini";
        testsupport::writeFile(gIniFltrBots, "[Filters]\n");
        rec_.Test.UserAgents.redim(0, 0);
        rec_.Test.UserAgentCounts.redim(0, 0);
        for (const auto& [agent, n] : std::vector<std::pair<std::string, long>>{
                 {"GoodBot/2.1", 7}, {"Crawly/1.0", 3}, {"Mozilla/5.0 (X11)", 2}}) {
            rec_.Test.UserAgents.append(agent);
            rec_.Test.UserAgentCounts.append(n);
        }
    }
    void TearDown() override { gIniFltrBots.clear(); }
    void robotFilter(const std::string& name, long kind, const std::string& value, long colType) {
        FLTR_WriteRule(name, gIniFltrBots, FltrRule{kind, value, false});
        INI_Put(name, "ColType", colType, gIniFltrBots);
        const std::string list = INI_Get("Filters", kRobotFilterList, gIniFltrBots, 3);
        INI_Put("Filters", kRobotFilterList, list.empty() ? name : list + "|" + name, gIniFltrBots);
    }
    Texts found(core::LngArray* countsOut = nullptr) {
        core::StrArray candidates;
        core::LngArray counts;
        STTA_RobotsFind(rec_, candidates, counts);
        if (countsOut) *countsOut = counts;
        Texts out;
        for (long i = 1; i <= candidates.ubound(); ++i) out.push_back(candidates[i]);
        return out;
    }

    testsupport::TempHome home_;
    testsupport::FakeUserInterface ui_;
    ReadRec rec_;
};

TEST_F(RobotPreprocessing, AgentsAnyUserAgentFilterRejectsAreNotOfferedAgain) {
    robotFilter("bots", kFltrContains, "bot", 2);
    core::LngArray counts;
    EXPECT_EQ(found(&counts), (Texts{"Crawly/1.0", "Mozilla/5.0 (X11)"}));
    EXPECT_EQ(counts[1], 3);
    EXPECT_EQ(counts[2], 2);
    // No robot filter at all offers every agent.
    INI_Put("Filters", kRobotFilterList, "", gIniFltrBots);
    EXPECT_EQ(found().size(), 3u);
}

TEST_F(RobotPreprocessing, AFilterOnAnotherFieldNeverRemovesAnAgentAndIsToldOnce) {
    robotFilter("robots file", kFltrStartsWith, "/robots", 1);
    robotFilter("crawly", kFltrStartsWith, "crawly", 2);
    testsupport::ScriptedResponder boxes;
    boxes.press("which test something other than User Agent (browser).", "&OK");
    EXPECT_EQ(found(), (Texts{"GoodBot/2.1", "Mozilla/5.0 (X11)"}));
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(boxes.shown().size(), 1u);
    // A read that collected no user agent tested nothing, so there is nothing to say.
    rec_.Test.UserAgents.redim(0, 0);
    rec_.Test.UserAgentCounts.redim(0, 0);
    EXPECT_TRUE(found().empty());
    EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST_F(RobotPreprocessing, ChosenAgentsBecomeDatedStartsWithFiltersOfTheRobotList) {
    core::StrArray chosen;
    chosen.redim(0, 0);
    for (const char* agent : {"  NewBot/1.0 ", "", "OtherBot"}) chosen.append(agent);
    EXPECT_EQ(STTA_RobotFiltersWrite(chosen, gIniFltrBots, kRobotFilterList, 2, kFltrStartsWith, false), 2);

    const std::string today = core::vbFormat(core::DateTime{core::vbDate()}, "yyyymmdd");
    EXPECT_EQ(INI_Get("Filters", kRobotFilterList, gIniFltrBots, 3), today + ".1|" + today + ".2");
    EXPECT_EQ(INI_Get("Filters", "FltrBotsUASel", gIniFltrBots, 3), today + ".1");
    FltrRule rule;
    FLTR_ReadRule(today + ".1", gIniFltrBots, rule, 1);
    EXPECT_EQ(rule.Typ, kFltrStartsWith);
    EXPECT_EQ(rule.Val, "newbot/1.0");  // trimmed, and lower-case without match case
    EXPECT_EQ(INI_Get(today + ".2", "ColType", gIniFltrBots, 3), "2");
    // The new filters reject those agents in the next search.
    rec_.Test.UserAgents.set(1, "NewBot/1.0");
    EXPECT_EQ(found(), (Texts{"Crawly/1.0", "Mozilla/5.0 (X11)"}));
}

}  // namespace
