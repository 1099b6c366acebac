#include <gtest/gtest.h>

#include <QRect>
#include <functional>

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "dialogs/msgbox.h"
#include "logimport/log_format.h"
#include "logimport/read_record.h"
#include "logimport/forms/robot_filters.h"
#include "platform/ui/work_area.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"

namespace {

using testsupport::ScriptedResponder;
using testsupport::TempHome;
using testsupport::writeFile;

// "both" satisfies two skip filters; "gone" names a filter without a section.
const char kSkipFilters[] =
    "[Filters]\n"
    "skipFtrs=moz|firefox|gone\n"
    "[moz]\n"
    "Typ=1\n"
    "Val=mozilla\n"
    "MC=False\n"
    "[firefox]\n"
    "Typ=2\n"
    "Val=Firefox\n"
    "MC=True\n";

struct Found {
    std::vector<std::string> agents;
    std::vector<long> counts;
};

Found apply(const Found& in) {
    core::StrArray agents;
    core::LngArray counts;
    agents.redim(0, 0);
    counts.redim(0, 0);
    for (std::size_t i = 0; i < in.agents.size(); ++i) {
        agents.append(in.agents[i]);
        counts.append(in.counts[i]);
    }
    STTA_SkipUAsApply(agents, counts);
    Found out;
    for (long i = 1; i <= agents.ubound(); ++i) out.agents.push_back(agents[i]);
    for (long i = 1; i <= counts.ubound(); ++i) out.counts.push_back(counts[i]);
    return out;
}

class SkipFilters : public ::testing::Test {
protected:
    void SetUp() override {
        TXT_CrLfInit();
        gIniPPFindBotsSkipUAs = home_ / "ppfindbotsskipuas.ini";
        writeFile(gIniPPFindBotsSkipUAs, kSkipFilters);
    }
    void TearDown() override { gIniPPFindBotsSkipUAs.clear(); }

    TempHome home_;
};

}  // namespace

TEST_F(SkipFilters, RemoveEachMatchingUserAgentOnceWithItsCount) {
    const Found in{{"MOZILLA/5.0 Firefox", "crawler", "Mozilla/4.0", "firefox lower", "bot"}, {7, 3, 5, 2, 9}};
    const Found out = apply(in);
    EXPECT_EQ(out.agents, (std::vector<std::string>{"crawler", "firefox lower", "bot"}));
    EXPECT_EQ(out.counts, (std::vector<long>{3, 2, 9}));
}

TEST_F(SkipFilters, WithoutSkipFiltersNothingIsRemoved) {
    INI_Put("Filters", "skipFtrs", "", gIniPPFindBotsSkipUAs);
    const Found in{{"Mozilla/5.0", "bot"}, {1, 2}};
    const Found out = apply(in);
    EXPECT_EQ(out.agents, in.agents);
    EXPECT_EQ(out.counts, in.counts);
}

namespace {

using Step = std::function<void(const core::DlgView&, core::DlgDriver&)>;
using Texts = std::vector<std::string>;

const core::CtlView& nthOf(const core::DlgView& v, const std::string& type, int n) {
    for (const core::CtlView& c : v.ctls)
        if (c.type == type && n-- == 0) return c;
    throw core::UnexpectedDialog("no " + type + " in \"" + v.caption + "\"");
}

class RobotDialogs : public SkipFilters {
protected:
    void SetUp() override {
        SkipFilters::SetUp();
        ui::setWorkAreaProvider([] { return QRect(0, 0, 1600, 1000); });
        INI_Put("Main", "SkipUA", "bot B", gIniPPFindBotsSkipUAs);
        agents_.redim(0, 0);
        counts_.redim(0, 0);
        for (auto [agent, count] : {std::pair{"Mozilla/5.0 x", 5L}, {"crawler A", 3L}, {"bot B", 2L}, {"spider C", 7L}}) {
            agents_.append(agent);
            counts_.append(count);
        }
    }
    void TearDown() override {
        MB_UnloadStray("");
        ui::setWorkAreaProvider({});
        gReadRec.RobotSet = FltrSet{};
        SkipFilters::TearDown();
    }
    static Texts items(const core::StrArray& a) {
        Texts out;
        for (long i = a.lbound(); i <= a.ubound(); ++i)
            if (!a[i].empty()) out.push_back(a[i]);
        return out;
    }

    testsupport::FakeUserInterface ui_;
    core::StrArray agents_;
    core::LngArray counts_;
};

}  // namespace

TEST_F(RobotDialogs, SkippedUserAgentsAreNotOfferedAndTheSkipListSurvivesCancel) {
    ScriptedResponder responder;
    responder
        .expect({.act =
                     [](const core::DlgView& v, core::DlgDriver& d) {
                         // The skip filter takes Mozilla, the skip list "bot B".
                         EXPECT_EQ(nthOf(v, "ListBox", 0).items, (Texts{"crawler A - 3", "spider C - 7"}));
                         d.press("Change Ski&p Filters");
                     }})
        .expect({.act =
                     [](const core::DlgView& v, core::DlgDriver& d) {
                         EXPECT_TRUE(TXT_EndsWith(v.caption, "- Select Skip Filter", true)) << v.caption;
                         EXPECT_EQ(nthOf(v, "ListBox", 0).items, (Texts{"moz", "firefox", "gone"}));
                         EXPECT_TRUE(TXT_StartsWith(nthOf(v, "Label", 0).caption, "Define Skip Filter.", true));
                         EXPECT_TRUE(TXT_EndsWith(v.notice, "Change Skip Filters here", true)) << v.notice;
                         d.press("OK");  // the notice panel's
                         d.press("&Cancel");
                     }})
        .expect({.act =
                     [](const core::DlgView& v, core::DlgDriver& d) {
                         d.choose(nthOf(v, "ListBox", 0).entry, {0});
                         d.press("&Add -->");
                     }})
        .expect({.act =
                     [](const core::DlgView& v, core::DlgDriver& d) {
                         d.choose(nthOf(v, "ListBox", 0).entry, {0});
                         d.press("Cop&y selected to Skip List");
                     }})
        .press("", "&Cancel");
    core::StrArray chosen;
    EXPECT_EQ(STTA_BotUAsChoose(agents_, counts_, chosen), 1);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(items(chosen), Texts{});
    EXPECT_EQ(INI_Get("Main", "SkipUA", gIniPPFindBotsSkipUAs, 3), "bot B|spider C");
    EXPECT_EQ(items(agents_).size(), 4u);  // the caller's lists are left whole
}

TEST_F(RobotDialogs, OkReturnsTheChosenUserAgents) {
    ScriptedResponder responder;
    responder
        .expect({.act =
                     [](const core::DlgView& v, core::DlgDriver& d) {
                         d.choose(nthOf(v, "ListBox", 0).entry, {1});
                         d.press("&Add -->");
                     }})
        .press("", "&OK");
    core::StrArray chosen;
    EXPECT_EQ(STTA_BotUAsChoose(agents_, counts_, chosen), 2);
    EXPECT_EQ(items(chosen), Texts{"spider C"});
}

TEST_F(RobotDialogs, HitsListOneRowPerRejectingRobotFilter) {
    FltrSet& robots = gReadRec.RobotSet;
    robots.Rules = {FltrRule{}, FltrRule{kFltrContains, "bot", false}, FltrRule{kFltrStartsWith, "x", false},
                    FltrRule{kFltrEquals, "Spider", true}};
    robots.ColTypes = {0, kFldUserAgent, kFldUserAgent, kFldReferrer};
    core::StrArray values;
    core::LngArray counts;
    values.redim(0, 3);
    values.set(1, "abot/1|bot/2");
    values.set(3, "Spider");
    // Counts shorter than the rules: the last rule counts as none.
    counts.redim(0, 2);
    counts.set(1, 4);

    EXPECT_EQ(fltr::botHitsRows(robots, values, counts),
              (Texts{"User agent (browser) Contains <bot>\tabot/1|bot/2\t4"}));
    counts.redimPreserve(3);
    counts.set(3, 1);
    EXPECT_EQ(fltr::botHitsRows(robots, values, counts),
              (Texts{"User agent (browser) Contains <bot>\tabot/1|bot/2\t4", "Referrer Equals <Spider> MC\tSpider\t1"}));
    EXPECT_EQ(fltr::botHitsRows(FltrSet{}, values, counts), Texts{});
}

TEST_F(RobotDialogs, HitsTableListsTheValuesOfTheChosenFilter) {
    gReadRec.RobotSet.Rules = {FltrRule{}, FltrRule{kFltrContains, "bot", false}};
    gReadRec.RobotSet.ColTypes = {0, kFldUserAgent};
    core::StrArray values;
    core::LngArray counts;
    values.redim(0, 1);
    values.set(1, "abot/1|bot/2");
    counts.redim(0, 1);
    counts.set(1, 4);

    ScriptedResponder responder;
    responder
        .expect({.act =
                     [](const core::DlgView& v, core::DlgDriver& d) {
                         EXPECT_TRUE(TXT_EndsWith(v.caption, "- Select filter to see values as a list", true));
                         EXPECT_TRUE(TXT_StartsWith(nthOf(v, "Label", 0).caption,
                                                    "List of user agent strings that will cause line to be skipped.", true));
                         d.press("Lis&t User Agents [for selected filter]");
                     }})
        .expect({.act =
                     [](const core::DlgView& v, core::DlgDriver& d) {
                         EXPECT_EQ(v.notice, "Select a filter to see values as a list and press List User Agents "
                                             "[for selected filter] again.");
                         d.press("OK");
                         d.choose(nthOf(v, "Grid", 0).entry, {1});
                         d.press("Lis&t User Agents [for selected filter]");
                     }})
        .expect({.act =
                     [](const core::DlgView& v, core::DlgDriver& d) {
                         EXPECT_EQ(nthOf(v, "Grid", 0).items, (Texts{"abot/1", "bot/2"}));
                         d.press("&OK");
                     }})
        .press("", "&Back to definitions");
    std::string message;
    STTA_BotFltrHitsShow(values, counts, message);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(nthOf(responder.shown().at(0), "Grid", 0).items,
              (Texts{"User agent (browser) Contains <bot>\tabot/1|bot/2\t4"}));
    EXPECT_TRUE(TXT_StartsWith(message, "List of user agent strings", true));

    responder.press("No filters used", "&OK");
    counts.set(1, 0);
    STTA_BotFltrHitsShow(values, counts, message);
    EXPECT_EQ(responder.pending(), 0u);
}
