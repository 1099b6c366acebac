// Test reads: what a read of a log file tallies, what it leaves alone, and the result
// lists of the referrer check.
#include <gtest/gtest.h>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "logimport/log_format.h"
#include "logimport/search_engine_store.h"
#include "logimport/forms/test_read_lists.h"
#include "logimport/forms/test_reads.h"
#include "platform/sys/rt_error.h"
#include "tests/logimport_forms/test_read_site.h"

using testsupport::combinedLine;

namespace {

std::vector<std::string> items(const core::StrArray& a) {
    return a.hasBounds() ? a.items() : std::vector<std::string>{};
}
std::vector<long> items(const core::LngArray& a) { return a.hasBounds() ? a.items() : std::vector<long>{}; }

class TestReads : public ::testing::Test {
protected:
    testsupport::TestReadSite t;
    TestReadRec& test = gReadRec.Test;
};

}  // namespace

TEST_F(TestReads, InitStartsEveryTallyAfreshWithTheEmptyItem) {
    test.UserAgents.append("left");
    test.UserAgents.append("over");
    test.RobotRejectCounts.append(7);
    STTA_TestReadInit("/logs/a.log", test, true, false, true, -1);
    EXPECT_EQ(test.LogFileSpec, "/logs/a.log");
    EXPECT_TRUE(test.Active);
    EXPECT_TRUE(test.ListUserAgents && test.TallyRobotRejects);
    EXPECT_FALSE(test.CheckReferrers || test.ListFieldValues);
    for (const core::StrArray* a : {&test.UserAgents, &test.Referrers, &test.FieldValues, &test.RobotRejectAgents})
        EXPECT_EQ(items(*a), std::vector<std::string>{""});
    for (const core::LngArray* a :
         {&test.UserAgentCounts, &test.ReferrerCounts, &test.FieldValueCounts, &test.RobotRejectCounts})
        EXPECT_EQ(items(*a), std::vector<long>{0});
    STTA_TestReadInit("/logs/a.log", test, false, false, false, 24);
    EXPECT_TRUE(test.ListFieldValues);
    EXPECT_EQ(test.FieldNo, 24);
}

TEST_F(TestReads, TheKindChoosesWhatIsTallied) {
    t.writeLog(combinedLine("/a.html", "http://x.org/", "Mozilla"));
    struct Case {
        const char* name;
        long kind;
        bool robotTally;
        bool agents, referrers, robots, values;
        long fieldNo;
    };
    const Case cases[] = {
        {"referrers", kFldReferrer, true, false, true, false, false, -1},
        {"user agents", kFldUserAgent, false, true, false, false, false, -1},
        {"user agents and robot rejects", kFldUserAgent, true, true, false, true, false, -1},
        {"status values", kFldStatus, true, false, false, false, true, kFldStatus},
        {"file names", kFldFileName, false, false, false, false, true, kFldFileName},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(logimport::testReadExecute(c.kind, c.robotTally, t.site.db));
        EXPECT_EQ(test.LogFileSpec, t.logPath);
        EXPECT_EQ(test.ListUserAgents, c.agents);
        EXPECT_EQ(test.CheckReferrers, c.referrers);
        EXPECT_EQ(test.TallyRobotRejects, c.robots);
        EXPECT_EQ(test.ListFieldValues, c.values);
        EXPECT_EQ(test.FieldNo, c.fieldNo);
        EXPECT_EQ(logimport::testReadLines(gReadRec), 1);
    }
}

TEST_F(TestReads, ReferrersAreTalliedCaseMergedAndNothingIsStored) {
    t.writeLog(combinedLine("/a.html", "http://Www.Finder.com/s?q=logs", "Mozilla") +
               combinedLine("/b.html", "", "Mozilla") +
               combinedLine("/c.html", "http://www.finder.com/s?q=LOGS", "Mozilla") +
               combinedLine("/d.html", "http://blog.example.org/", "Mozilla") +
               combinedLine("/e.html", "", "Mozilla") +
               combinedLine("/f.html", "http://www.finder.com/s?q=logs", "Googlebot/2.1"));
    EXPECT_TRUE(logimport::testReadExecute(kFldReferrer, false, t.site.db));
    // Item 0 is the empty referrer; the first spelling seen is kept; the robot's line is not tallied.
    EXPECT_EQ(items(test.Referrers), (std::vector<std::string>{"", "http://Www.Finder.com/s?q=logs",
                                                               "http://blog.example.org/"}));
    EXPECT_EQ(items(test.ReferrerCounts), (std::vector<long>{2, 2, 1}));
    EXPECT_EQ(logimport::testReadLines(gReadRec), 5);
    EXPECT_EQ(t.site.count("SELECT COUNT(*) FROM logline"), 0);
    EXPECT_EQ(INI_Get("Main", "AddedLogLns_MustDoVisitsAdd", gIniLastVals, 3), "");
}

TEST_F(TestReads, EveryLineWithoutAValueIsCountedAtItemZero) {
    // Two blanks leave the status field empty.
    t.writeLog(combinedLine("/a.html", "", "Mozilla", "") + combinedLine("/b.html", "", "Mozilla", "404") +
               combinedLine("/c.html", "", "Mozilla", ""));
    EXPECT_TRUE(logimport::testReadExecute(kFldStatus, false, t.site.db));
    EXPECT_EQ(items(test.FieldValues), (std::vector<std::string>{"", "404"}));
    EXPECT_EQ(items(test.FieldValueCounts), (std::vector<long>{2, 1}));
    EXPECT_EQ(items(logimport::valueCountRows(test.FieldValues, test.FieldValueCounts)),
              (std::vector<std::string>{"\t2", "404\t1"}));
}

TEST_F(TestReads, ErrorLinesAreSkippedWhenTheSiteSkipsThemEvenAfterPreprocessing) {
    INI_Put("Main", "Skip404", "True", gIniDbDef);
    gReadRec.ErrStatusInTest = true;  // left set by a robot preprocessing pass
    t.writeLog(combinedLine("/a.html", "", "Mozilla", "200") + combinedLine("/gone.html", "", "Mozilla", "404"));
    EXPECT_TRUE(logimport::testReadExecute(kFldFileName, false, t.site.db));
    EXPECT_EQ(items(test.FieldValues), (std::vector<std::string>{"", "/a.html"}));
}

// The robot filters act in a read that tallies what they reject, whatever the user
// chose for additions, and that choice is the same afterwards.
TEST_F(TestReads, RobotRejectsAreTalliedAndTheRobotChoiceIsRestored) {
    t.writeLog(combinedLine("/robots.txt", "", "Googlebot/2.1") + combinedLine("/a.html", "", "Mozilla") +
               combinedLine("/robots.txt", "", "SomeBOT") + combinedLine("/b.html", "", "googlebot/2.1"));
    struct Case {
        const char* name;
        const char* stored;  // nullptr: no entry
    };
    for (const Case& c : {Case{"robots off", "False"}, Case{"never chosen", nullptr}}) {
        SCOPED_TRACE(c.name);
        if (c.stored)
            INI_Put("Main", "nobots", c.stored, gIniLastVals);
        else
            INI_EraseEntry("Main", "nobots", gIniLastVals);
        EXPECT_TRUE(logimport::testReadExecute(kFldUserAgent, true, t.site.db));
        EXPECT_EQ(items(test.UserAgents), (std::vector<std::string>{"", "Mozilla"}));
        EXPECT_EQ(items(test.RobotRejectCounts), (std::vector<long>{0, 3}));
        EXPECT_EQ(items(test.RobotRejectAgents), (std::vector<std::string>{"", "Googlebot/2.1|SomeBOT"}));
        EXPECT_EQ(INI_Get("Main", "nobots", gIniLastVals, 1), c.stored ? c.stored : kIniNotFound);
    }
}

TEST_F(TestReads, TheRobotChoiceIsRestoredWhenTheReadEndsInAnError) {
    INI_Put("Main", "nobots", "False", gIniLastVals);
    gReadRec.NoPromptInvalid = false;
    t.writeLog("not a log line\n");  // its notice finds nobody to answer it
    EXPECT_ANY_THROW(logimport::testReadExecute(kFldUserAgent, true, t.site.db));
    EXPECT_EQ(INI_Get("Main", "nobots", gIniLastVals, 1), "False");
}

TEST(SERefCheckLists, SplitsReferrersIntoUndefinedTermsAndUnknownHosts) {
    logimport::setProgramSEDefs({"*.finder.*/* ?q", "*://seek.example.net/* ?query"});
    ReadRec rec;
    for (const char* r : {"", "http://www.finder.com/s?q=web", "http://www.finder.com/s?x=1", "http://Blog.Example.org/a",
                          "http://seek.example.net/?query=term", "-", "http://blog.example.org/b",
                          "http://www.finder.co.uk/s?lang=en", "http://other.example.com/"})
        rec.Test.Referrers.append(r);
    core::StrArray undefinedRows, perHost, hosts;
    STTA_SERefCheckLists(rec, undefinedRows, perHost, hosts);
    EXPECT_EQ(items(undefinedRows),
              std::vector<std::string>{"*.finder.*/*\thttp://www.finder.com/s?x=1|http://www.finder.co.uk/s?lang=en"});
    EXPECT_EQ(items(hosts), (std::vector<std::string>{"Blog.Example.org", "other.example.com"}));
    EXPECT_EQ(items(perHost), (std::vector<std::string>{"http://Blog.Example.org/a|http://blog.example.org/b",
                                                        "http://other.example.com/"}));
    logimport::setProgramSEDefs({});
}

TEST(UnknownSERows, HostsNeedMoreReferrersThanTheThreshold) {
    core::StrArray hosts, perHost;
    for (auto [host, list] : {std::pair{"z.org", "a|b|c|d"}, {"m.org", "a|b|c"}, {"a.org", "a"},
                              {"B.org", "a|b|c|Have More ..."}}) {
        hosts.append(host);
        perHost.append(list);
    }
    struct Case {
        long threshold;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {3, {"B.org\ta|b|c|Have More ...", "z.org\ta|b|c|d"}},
        // Text order ignores case.
        {0, {"a.org\ta", "B.org\ta|b|c|Have More ...", "m.org\ta|b|c", "z.org\ta|b|c|d"}},
        {4, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.threshold);
        EXPECT_EQ(items(logimport::unknownSERows(hosts, perHost, c.threshold)), c.rows);
    }
}

TEST(UnknownSERows, AnEscapedBarInsideAReferrerIsNoExtraReferrer) {
    core::StrArray hosts, perHost;
    hosts.append("x.org");
    std::string list;
    for (const char* r : {"http://x.org/?a=1|2", "http://x.org/b", "http://x.org/c"}) CHUNKS_Append(list, r);
    perHost.append(list);
    EXPECT_EQ(logimport::unknownSERows(hosts, perHost, 3).ubound(), -1);
    EXPECT_EQ(logimport::unknownSERows(hosts, perHost, 2).ubound(), 0);
}

TEST(TestLinesSplit, GroupBeforeTheFirstTabAndLinesAfterIt) {
    core::StrArray rows;
    rows.append("site.org\ta|b|Have More ...");
    rows.append("page.html\t3 - /page.html|1 - /PAGE.html\t4\t2\thtml");
    core::StrArray lines;
    EXPECT_EQ(logimport::testLinesSplit(rows, 0, lines), "site.org");
    EXPECT_EQ(items(lines), (std::vector<std::string>{"a", "b", "Have More ..."}));
    EXPECT_EQ(logimport::testLinesSplit(rows, 1, lines), "page.html");
    EXPECT_EQ(items(lines), (std::vector<std::string>{"3 - /page.html", "1 - /PAGE.html", "4", "2", "html"}));
    EXPECT_EQ(logimport::testLinesSplit(rows, 2, lines), "");
    EXPECT_EQ(logimport::testLineText("a\tb\tlast"), "last");
    EXPECT_EQ(logimport::testLineText("whole"), "whole");
}

TEST(TestReadWithoutSite, IsRefusedWithError91) {
    core::ScopedShellHooks none(nullptr);  // the empty hooks name no site database
    try {
        STTA_TestReadRun(kFldReferrer, false, true);
        ADD_FAILURE() << "no error";
    } catch (const sys::RtError& e) {
        EXPECT_EQ(e.number(), 91);
    }
}
