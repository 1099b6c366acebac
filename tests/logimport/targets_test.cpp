#include "logimport/targets.h"

#include <gtest/gtest.h>

#include <string>

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "logimport/page_table.h"
#include "logimport/visit_date_range.h"
#include "tests/logimport/temp_site.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"

namespace {

FltrRule rule(long typ, const std::string& val, bool mc = false) { return FltrRule{typ, val, mc}; }

core::LngArray numbers(std::initializer_list<long> values) {
    core::LngArray a;
    for (long v : values) a.append(v);
    return a;
}

class Targets : public ::testing::Test {
protected:
    void SetUp() override {
        gIniTargets = site_.home / "site/param/targets.ini";
        for (const char* page : {"index.html", "buynow.htm", "download/file.zip"})
            STTA_PageIDGetOrAdd(page, true, site_.db);  // PageIDs 1, 2, 3
    }
    void TearDown() override { gIniTargets.clear(); }

    bool match(const TargetSpec& t, std::initializer_list<long> pages, std::initializer_list<long> bytes) {
        return STTA_TargetMatchVisit(site_.db, t, numbers(pages), numbers(bytes));
    }

    testsupport::TempSite site_;
};

TEST_F(Targets, DialogValuesRoundTrip) {
    const std::string ini = site_.home / "site/param/screens.ini";
    struct Case {
        const char* name;
        long typ, back;
    } cases[] = {{"bytes", 1, 1}, {"any", 2, 2}, {"all", 3, 3}, {"simple comes back as any", 4, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TargetSpec t{{rule(kFltrEquals, "buynow.htm"), rule(kFltrContains, ""), rule(kFltrContains, "Zip", true)},
                     c.typ, 1500};
        STTA_TagOpsSave(ini, t);
        TargetSpec back;
        STTA_TagOpsLoad(ini, back);
        EXPECT_EQ(back.Typ, c.back);
        EXPECT_EQ(back.TagOpBytes, 1500);
        ASSERT_EQ(back.Rules.size(), 5u);
        EXPECT_EQ(back.Rules[0].Typ, kFltrEquals);
        EXPECT_EQ(back.Rules[0].Val, "buynow.htm");
        EXPECT_EQ(back.Rules[1].Typ, kFltrContains);
        EXPECT_EQ(back.Rules[1].Val, "");
        EXPECT_EQ(back.Rules[2].Val, "Zip");
        EXPECT_TRUE(back.Rules[2].MC);
    }
}

TEST_F(Targets, StoredRuleListIsNeverShortened) {
    TargetSpec five{{rule(2, "a"), rule(2, "b"), rule(2, "c"), rule(2, "d"), rule(3, "e")}, 2, 0};
    STTA_FltrLstSave("Target 1", five);
    TargetSpec three{{rule(3, "x"), rule(2, ""), rule(2, "z")}, 1, 250};
    STTA_FltrLstSave("Target 1", three);
    EXPECT_EQ(INI_Get("Target 1", "FltrLst", gIniTargets, 3),
              "Target 1TFltr0|Target 1TFltr1|Target 1TFltr2|Target 1TFltr3|Target 1TFltr4");
    TargetSpec back;
    ASSERT_TRUE(STTA_FltrLstLoad("Target 1", back));
    EXPECT_EQ(back.Typ, 1);
    EXPECT_EQ(back.TagOpBytes, 250);
    ASSERT_EQ(back.Rules.size(), 5u);
    EXPECT_EQ(back.Rules[0].Val, "x");
    EXPECT_EQ(back.Rules[0].Typ, 3);
    EXPECT_EQ(back.Rules[1].Val, "");
    EXPECT_EQ(back.Rules[3].Val, "d");
    EXPECT_EQ(back.Rules[4].Typ, 3);
}

TEST_F(Targets, LoadTakesAtMostFourListedTargets) {
    std::string list;
    for (int i = 1; i <= 5; ++i) {
        std::string section = "Target " + std::to_string(i);
        STTA_FltrLstSave(section, TargetSpec{{rule(2, "page" + std::to_string(i))}, 4, 0});
        list += (i > 1 ? "|" : "") + section + " : label " + std::to_string(i);
    }
    INI_Put("Main", "LstTgts", list, gIniTargets);
    INI_Put("Main", "CntTgt", "6", gIniTargets);
    std::vector<TargetSpec> targets;
    STTA_TargetsLoad(targets);
    ASSERT_EQ(targets.size(), 5u);
    EXPECT_TRUE(targets[0].Rules.empty());
    EXPECT_EQ(targets[4].Rules.at(0).Val, "page4");

    INI_Put("Main", "CntTgt", "2", gIniTargets);
    STTA_TargetsLoad(targets);
    EXPECT_EQ(targets.size(), 3u);

    // Counts past any whole number are as many as there may be; below 0, none.
    for (const auto& [count, size] : {std::pair{"1e30", 5u}, {"-1e30", 1u}, {"nan", 5u}}) {
        SCOPED_TRACE(count);
        INI_Put("Main", "CntTgt", count, gIniTargets);
        STTA_TargetsLoad(targets);
        EXPECT_EQ(targets.size(), size);
    }

    INI_Put("Main", "AnalTgt", "False", gIniTargets);
    STTA_TargetsLoad(targets);
    EXPECT_EQ(targets.size(), 1u);
}

TEST_F(Targets, VisitMatching) {
    struct Case {
        const char* name;
        TargetSpec target;
        std::initializer_list<long> pages, bytes;
        bool reached;
    } cases[] = {
        {"simple target reached", {{rule(2, "buynow")}, 4, 0}, {1, 2}, {10, 10}, true},
        {"simple target missed", {{rule(2, "buynow")}, 4, 0}, {1, 3}, {10, 10}, false},
        {"only the first rule counts for a simple target", {{rule(2, "nothing"), rule(2, "buynow")}, 4, 0},
         {2}, {10}, false},
        {"first matching page too small decides", {{rule(2, "buynow")}, 1, 1000}, {2, 2}, {500, 2000}, false},
        {"first matching page large enough", {{rule(2, "buynow")}, 1, 1000}, {1, 2}, {5, 1000}, true},
        {"any rule, blank rules passed over", {{rule(2, ""), rule(2, "zip")}, 2, 0}, {3}, {1}, true},
        {"all rules, each on some page", {{rule(2, "buynow"), rule(2, ""), rule(2, "zip")}, 3, 0}, {2, 1, 3},
         {1, 1, 1}, true},
        {"all rules, one missing", {{rule(2, "buynow"), rule(2, "zip")}, 3, 0}, {2, 1}, {1, 1}, false},
        {"all rules blank", {{rule(2, ""), rule(2, "")}, 3, 0}, {2}, {1}, false},
        {"equals needs the whole name", {{rule(3, "buynow")}, 2, 0}, {2}, {1}, false},
        {"match case off ignores case of the page", {{rule(2, "index")}, 2, 0}, {1}, {1}, true},
        {"empty visit", {{rule(2, "buynow")}, 2, 0}, {}, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(match(c.target, c.pages, c.bytes), c.reached);
    }
}

TEST_F(Targets, FlagsAndFilter) {
    std::vector<TargetSpec> targets(3);
    targets[1] = {{rule(2, "zip")}, 4, 0};
    targets[2] = {{rule(2, "buynow")}, 4, 0};
    core::LngArray flags;
    STTA_VisitTargetsFlag(site_.db, numbers({1, 2}), numbers({1, 1}), targets, flags);
    EXPECT_EQ(flags.lbound(), 0);
    EXPECT_EQ(flags.ubound(), 4);
    EXPECT_EQ(flags[1], 0);
    EXPECT_EQ(flags[2], 1);

    long kind = 0;
    EXPECT_TRUE(STTA_TargetFilterPass(flags, -1, 2, kind));
    EXPECT_EQ(kind, 2);
    EXPECT_TRUE(STTA_TargetFilterPass(flags, 2, 6, kind));
    EXPECT_EQ(kind, 6);
    EXPECT_FALSE(STTA_TargetFilterPass(flags, 1, 3, kind));
    EXPECT_EQ(kind, 6);
    EXPECT_FALSE(STTA_TargetFilterPass(flags, 0, 3, kind));

    std::vector<TargetSpec> copy;
    STTA_TargetArrCopy(targets, copy);
    ASSERT_EQ(copy.size(), 3u);
    EXPECT_EQ(copy[2].Rules.at(0).Val, "buynow");
    EXPECT_EQ(copy[2].Typ, 4);
}

TEST(VisitDateRange, FirstNonZeroStartAndEndOfTheLastStart) {
    testsupport::TempSite site;
    testsupport::FakeUserInterface ui;
    double first = -1, last = -1;
    {
        testsupport::ScriptedResponder responder;
        responder.press("Site database Test Site is empty.", "&OK");
        EXPECT_FALSE(STTA_SiteDBDateRange(site.db, first, last, true));
        EXPECT_EQ(responder.pending(), 0u);
        EXPECT_NE(responder.shown().at(0).message.find("using Add new raw log data from File menu."),
                  std::string::npos);
    }
    EXPECT_FALSE(STTA_SiteDBDateRange(site.db, first, last, false));
    site.db.execute("INSERT INTO visit (VisitID, StartTimeStamp, EndTimeStamp) VALUES "
                    "(1, 0, 0), (2, 20240302100000, 20240309120000), (3, 20240305080000, 20240305090000)");
    ASSERT_TRUE(STTA_SiteDBDateRange(site.db, first, last, true));
    EXPECT_EQ(first, 20240302100000.0);
    EXPECT_EQ(last, 20240305090000.0);
}

}  // namespace
