#include <gtest/gtest.h>

#include <cstdlib>

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/progress.h"
#include "core/shell_hooks.h"
#include "core/text.h"
#include "logimport/filter_store.h"
#include "platform/sys/rt_error.h"
#include "tests/logimport/filter_fixture.h"
#include "tests/support/temp_home.h"

namespace {

using testsupport::TempHome;
using testsupport::writeFile;

// A per-site main filter file: one multiple filter listed before the single filters it
// uses, a multiple filter without rules, and a name with no section.
const std::string kLdLnFltr =
    "[Filters]\n"
    "SelLst=shop pages|shop|cart|nothing\n"
    "Fltr Sel=shop pages\n"
    "[shop pages]\n"
    "CDSCndns=shop|cart\n"
    "Any=True\n"
    "[nothing]\n"
    "CDSCndns=\n"
    "Any=False\n" +
    kShopCartRules;

class FilterStore : public ::testing::Test {
protected:
    void SetUp() override {
        TXT_CrLfInit();
        file_ = home_ / "LdLnFltr.ini";
        writeFile(file_, kLdLnFltr);
    }
    void select(const std::string& name) { INI_Put("Filters", "Fltr Sel", name, file_); }

    TempHome home_;
    std::string file_;
};

}  // namespace

TEST_F(FilterStore, LoadsTheSelectedFilterIntoASet) {
    struct Case {
        const char* name;
        const char* selection;
        long rules;
        bool any;
        std::vector<long> colTypes;
        long firstTyp;
    };
    const Case cases[] = {
        {"multiple filter, its rules in order", "shop pages", 2, true,
         {0, kFldFileName, kFldUserAgent}, 2},
        {"single filter", "cart", 1, false, {0, kFldUserAgent}, 1},
        {"no selection", "", 0, false, {0}, 0},
        {"multiple filter without rules", "nothing", 0, false, {0}, 0},
        {"selection without a section never matches", "gone", 1, false, {0, kFldReferrer},
         kIniMissingNumber},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        select(c.selection);
        FltrSet set;
        STTA_FltrSetLoad(file_, set, "Fltr Sel", true, true);
        EXPECT_TRUE(set.Active);
        EXPECT_TRUE(set.Negate);
        ASSERT_EQ(FLTR_RuleUBound(set.Rules), c.rules);
        EXPECT_EQ(set.Any, c.any);
        EXPECT_EQ(set.ColTypes, c.colTypes);
        if (c.rules > 0) {
            EXPECT_EQ(set.Rules[1].Typ, c.firstTyp);
        }
    }
}

TEST_F(FilterStore, LoadedRulesMatchAsStored) {
    FltrSet set;
    STTA_FltrSetLoad(file_, set, "Fltr Sel", true, false);
    LogFields line;
    line[kFldFileName] = "/SHOP/item.html";
    line[kFldUserAgent] = "mozilla/5.0";
    long index = 0;
    std::string value;
    EXPECT_TRUE(STTA_FltrSetTest(line, set, index, true, value));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(value, "/SHOP/item.html");

    line[kFldFileName] = "/index.html";
    EXPECT_FALSE(STTA_FltrSetTest(line, set, index, true, value)) << "cart keeps its case";
    line[kFldUserAgent] = "Mozilla/5.0";
    EXPECT_TRUE(STTA_FltrSetTest(line, set, index, true, value));
    EXPECT_EQ(index, 2);
}

TEST_F(FilterStore, InactiveSetIsLeftAsItWas) {
    FltrSet set;
    set.Negate = true;
    set.Rules.resize(4);
    STTA_FltrSetLoad(file_, set, "Fltr Sel", false, false);
    EXPECT_FALSE(set.Active);
    EXPECT_TRUE(set.Negate);
    EXPECT_EQ(FLTR_RuleUBound(set.Rules), 3);
}

TEST_F(FilterStore, RuleRoundTrip) {
    FltrRule rule{4, "Shop", false};
    FLTR_WriteRule("new", file_, rule);
    EXPECT_EQ(rule.Val, "Shop") << "the record keeps its text";
    EXPECT_EQ(INI_Get("new", "Val", file_, 1), "shop");
    EXPECT_EQ(INI_Get("new", "MC", file_, 1), "False");

    FltrRule read;
    FLTR_ReadRule("new", file_, read, 1);
    EXPECT_EQ(read.Typ, 4);
    EXPECT_EQ(read.Val, "shop");
    EXPECT_FALSE(read.MC);

    FLTR_WriteRule("exact", file_, {1, "Shop", true});
    FLTR_ReadRule("exact", file_, read, 1);
    EXPECT_EQ(read.Val, "Shop");
    EXPECT_TRUE(read.MC);

    // A hand-edited upper-case value of a rule without match case still matches.
    INI_Put("new", "Typ", 2L, file_);
    INI_Put("new", "Val", "Shop", file_);
    FLTR_ReadRule("new", file_, read, 1);
    EXPECT_EQ(read.Val, "shop");
    EXPECT_TRUE(FLTR_RuleMatches("/Shop/cart.html", read));

    FLTR_ReadRule("no such rule", file_, read, 1);
    EXPECT_EQ(read.Typ, kIniMissingNumber);
    EXPECT_FALSE(FLTR_RuleMatches("", read));
}

TEST_F(FilterStore, ConditionsOfSingleAndMultipleFilters) {
    std::string names;
    bool any = false;
    EXPECT_TRUE(FLTR_ReadConds("shop pages", file_, names, any));
    EXPECT_EQ(names, "shop|cart");
    EXPECT_TRUE(any);
    any = true;
    EXPECT_FALSE(FLTR_ReadConds("shop", file_, names, any));
    EXPECT_EQ(names, "shop");
    EXPECT_TRUE(any) << "left as it was";
}

TEST_F(FilterStore, RobotListLoadsEveryListedFilter) {
    // The list entry itself names the filters: each becomes one rule, in order.
    writeFile(file_,
              "[Filters]\n"
              "SkipRobotUserAgents=bot|gone|curl\n"
              "[bot]\nTyp=2\nVal=bot\nMC=False\nColType=2\n"
              "[curl]\nTyp=1\nVal=curl/\nMC=False\nColType=2\n");
    FltrRules rules;
    std::vector<std::string> colTexts;
    bool any = false;
    FLTR_LoadFilterRules("Filters", "SkipRobotUserAgents", file_, rules, colTexts, any);
    ASSERT_EQ(FLTR_RuleUBound(rules), 3);
    EXPECT_EQ(rules[1].Val, "bot");
    EXPECT_EQ(rules[2].Typ, kIniMissingNumber);
    EXPECT_EQ(rules[3].Val, "curl/");
    EXPECT_EQ(colTexts[3], "2");
}

namespace {

// Routes section "Main" of "::*" to one file, as the shell does for the site's last values.
class MainRouting : public core::ShellHooks {
public:
    explicit MainRouting(std::string file) : file_(std::move(file)) {}
    std::string iniSectFileGet(const std::string& section, const std::string&) override {
        return section == "Main" ? file_ : std::string();
    }

private:
    std::string file_;
};

}  // namespace

TEST_F(FilterStore, ThreeSetsFollowTheRememberedChoices) {
    MainRouting routing(home_ / "LastVals.ini");
    core::ScopedShellHooks routed(&routing);
    gIniLdLnFltr = file_;
    gIniFltrBots = home_ / "fltrbots.ini";
    gIniFltrFiles = home_ / "FltrFiles.ini";
    writeFile(gIniFltrBots,
              "[Filters]\nSkipRobotUserAgents=bot\n[bot]\nTyp=2\nVal=bot\nMC=False\nColType=2\n");
    writeFile(gIniFltrFiles,
              "[Filters]\nFltr Sel=css\n[css]\nTyp=2\nVal=.css\nMC=False\nColType=1\n");

    ReadRec rec;
    STTA_FltrSetsLoad(rec);  // nothing remembered yet
    EXPECT_FALSE(rec.MainSet.Active) << "All counts as True when missing";
    EXPECT_TRUE(rec.RobotSet.Active) << "nobots counts as True when missing";
    EXPECT_TRUE(rec.RobotSet.Any);
    EXPECT_EQ(FLTR_RuleUBound(rec.RobotSet.Rules), 1);
    EXPECT_FALSE(rec.CompSet.Active) << "nocomp counts as False when missing";

    INI_Put("Main", "All", false, "::*");
    INI_Put("Main", "Filter", false, "::*");
    INI_Put("Main", "nobots", false, "::*");
    INI_Put("Main", "nocomp", true, "::*");
    STTA_FltrSetsLoad(rec);
    EXPECT_TRUE(rec.MainSet.Active);
    EXPECT_FALSE(rec.MainSet.Negate);
    EXPECT_EQ(FLTR_RuleUBound(rec.MainSet.Rules), 2);
    EXPECT_FALSE(rec.RobotSet.Active);
    EXPECT_TRUE(rec.CompSet.Active);
    EXPECT_EQ(rec.CompSet.ColTypes, (std::vector<long>{0, kFldFileName}));

}

TEST(ShippedFilters, RobotFiltersCatchRobotsAndLetBrowsersThrough) {
    const char* source = std::getenv("DRAVOLIN_SOURCE_DIR");
    if (!source) GTEST_SKIP() << "run through ctest, which names the source folder";
    TXT_CrLfInit();
    FltrSet set;
    STTA_FltrSetLoad(std::string(source) + "/resources/param/fltrbots.ini", set,
                     "SkipRobotUserAgents", true, false);
    set.Any = true;
    ASSERT_GT(FLTR_RuleUBound(set.Rules), 20);
    for (long i = 1; i <= FLTR_RuleUBound(set.Rules); ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE(set.Rules[static_cast<std::size_t>(i)].Typ, 1) << "every listed filter exists";
        EXPECT_EQ(set.ColTypes[static_cast<std::size_t>(i)], kFldUserAgent);
    }

    const char* robots[] = {
        "Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)",
        "Mozilla/5.0 (compatible; bingbot/2.0; +http://www.bing.com/bingbot.htm)",
        "Mozilla/5.0 (compatible; YandexBot/3.0; +http://yandex.com/bots)",
        "Mozilla/5.0 (compatible; Baiduspider/2.0; +http://www.baidu.com/search/spider.html)",
        "Mozilla/5.0 (compatible; AhrefsBot/7.0; +http://ahrefs.com/robot/)",
        "Mozilla/5.0 (compatible; SemrushBot/7~bl; +http://www.semrush.com/bot.html)",
        "Mozilla/5.0 (compatible; Yahoo! Slurp; http://help.yahoo.com/help/us/ysearch/slurp)",
        "facebookexternalhit/1.1 (+http://www.facebook.com/externalhit_uatext.php)",
        "Mozilla/5.0 AppleWebKit/537.36 (KHTML, like Gecko; compatible; GPTBot/1.0; "
        "+https://openai.com/gptbot)",
        "Screaming Frog SEO Spider/19.4",
        "Mozilla/5.0 (compatible; UptimeRobot/2.0; http://www.uptimerobot.com/)",
        "Pingdom.com_bot_version_1.4_(http://www.pingdom.com/)",
        "curl/8.4.0",
        "Wget/1.21.4",
        "python-requests/2.31.0",
        "Go-http-client/1.1",
        "Feedly/1.0 (+http://www.feedly.com/fetcher.html; 3 subscribers)",
        "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) "
        "HeadlessChrome/120.0.0.0 Safari/537.36",
        "Mozilla/5.0 zgrab/0.x",
    };
    const char* browsers[] = {
        "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
        "Chrome/120.0.0.0 Safari/537.36",
        "Mozilla/5.0 (Windows NT 10.0; Win64; x64; rv:121.0) Gecko/20100101 Firefox/121.0",
        "Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 (KHTML, like "
        "Gecko) Version/17.2 Safari/605.1.15",
        "Mozilla/5.0 (iPhone; CPU iPhone OS 17_2 like Mac OS X) AppleWebKit/605.1.15 (KHTML, "
        "like Gecko) Version/17.2 Mobile/15E148 Safari/604.1",
        "Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) "
        "Chrome/120.0.6099.144 Mobile Safari/537.36",
        "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
        "Chrome/120.0.0.0 Safari/537.36 Edg/120.0.2210.91",
        "Mozilla/5.0 (Linux; Android 13; SAMSUNG SM-S911B) AppleWebKit/537.36 (KHTML, like "
        "Gecko) SamsungBrowser/23.0 Chrome/115.0.0.0 Mobile Safari/537.36",
        "Mozilla/5.0 (X11; Ubuntu; Linux x86_64; rv:121.0) Gecko/20100101 Firefox/121.0",
    };
    LogFields line;
    long index = 0;
    std::string value;
    for (const char* ua : robots) {
        line[kFldUserAgent] = ua;
        EXPECT_TRUE(STTA_FltrSetTest(line, set, index, false, value)) << ua;
    }
    for (const char* ua : browsers) {
        line[kFldUserAgent] = ua;
        EXPECT_FALSE(STTA_FltrSetTest(line, set, index, false, value)) << ua;
    }
}

namespace {

// A progress window whose Stop is pressed at the first update.
class StopAtOnce : public core::ProgressReports {
public:
    void start(const std::string&, const std::string&, int64_t, const std::string&, long& no,
               double, int, bool, const std::string&) override {
        no = 1;
    }
    void update(int64_t&, const std::string&, long, PIS_UpdateFlags) override {
        sys::raise(sys::kErrUserAbort, "PIS_Update");
    }
    void end(long, bool) override {}
    void closeAll() override {}
};

}  // namespace

TEST_F(FilterStore, StopWhileLoadingEndsTheLoad) {
    StopAtOnce stop;
    core::setProgressReports(&stop);
    FltrSet set;
    try {
        STTA_FltrSetLoad(file_, set, "Fltr Sel", true, false);
        ADD_FAILURE() << "the load went on after Stop";
    } catch (const sys::RtError& e) {
        EXPECT_EQ(e.number(), sys::kErrUserAbort);
    }
    core::setProgressReports(nullptr);
}

TEST(ShippedFilters, RobotFindingFilterKeepsOnlyRobotsTxtRequests) {
    const char* source = std::getenv("DRAVOLIN_SOURCE_DIR");
    if (!source) GTEST_SKIP() << "run through ctest, which names the source folder";
    TXT_CrLfInit();
    gIniPPFindBots = std::string(source) + "/resources/param/ppfindbots.ini";
    ReadRec rec;
    rec.RobotSet.Active = rec.CompSet.Active = true;
    STTA_BotFindFltrLoad(rec);
    ASSERT_TRUE(rec.MainSet.Active);
    ASSERT_TRUE(rec.MainSet.Negate);
    EXPECT_FALSE(rec.RobotSet.Active);
    EXPECT_FALSE(rec.CompSet.Active);
    LogFields line;
    long index = 0;
    std::string value;
    line[kFldFileName] = "/robots.txt";
    EXPECT_FALSE(STTA_FltrSetTest(line, rec.MainSet, index, false, value)) << "kept";
    line[kFldFileName] = "/index.html";
    EXPECT_TRUE(STTA_FltrSetTest(line, rec.MainSet, index, false, value)) << "skipped";
}
