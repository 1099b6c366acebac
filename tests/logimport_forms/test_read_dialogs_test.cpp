// The test-read dialogs, answered by the scripted responder: the driver, the referrer
// and user-agent checks, and the component filter check.
#include <gtest/gtest.h>

#include "core/ini_store.h"
#include "dialogs/msgbox.h"
#include "logimport/forms/component_filter_check.h"
#include "logimport/log_format.h"
#include "logimport/page_table.h"
#include "logimport/search_engine_store.h"
#include "logimport/forms/test_reads.h"
#include "tests/logimport_forms/test_read_site.h"
#include "tests/support/scripted_responder.h"

using testsupport::combinedLine;
using testsupport::ScriptedResponder;

namespace {

const char* const kDriverText = "The selected log file[s] will be read using the same filters";

std::vector<std::string> items(const core::StrArray& a) {
    return a.hasBounds() ? a.items() : std::vector<std::string>{};
}

std::vector<std::string> gridRows(const core::DlgView& v) { return v.ctls.at(0).items; }

// A list dialog's message stands in its label.
std::string labelText(const core::DlgView& v) {
    for (const core::CtlView& c : v.ctls)
        if (c.type == "Label") return c.caption;
    return {};
}

class TestReadDialogs : public ::testing::Test {
protected:
    TestReadDialogs() {
        t.writeLog(combinedLine("/a.html", "http://www.finder.com/s?x=1", "Mozilla") +
                   combinedLine("/style.css", "http://www.finder.com/s?q=log", "Mozilla") +
                   combinedLine("/b.html", "http://blog.example.org/", "Mozilla") +
                   combinedLine("/robots.txt", "", "Googlebot/2.1"));
        logimport::setProgramSEDefs({"*.finder.*/* ?q"});
    }
    ~TestReadDialogs() override {
        MB_UnloadStray("");
        logimport::setProgramSEDefs({});
    }

    testsupport::TestReadSite t;
    TestReadRec& test = gReadRec.Test;
};

}  // namespace

TEST_F(TestReadDialogs, DoneReadsNothingAndStartReads) {
    ScriptedResponder responder;
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_NE(v.message.find("Read Log file to find HTTP Statuss."), std::string::npos);
        // The definition's buttons first, then the driver's own.
        EXPECT_EQ(v.buttons, (std::vector<std::string>{"Log &File ...", "Filter&s ...", "Sta&rt. Read Log File",
                                                      "Don&e", "Read O&ptions"}));
        d.press("Don&e");
    }});
    EXPECT_FALSE(STTA_TestReadRun(kFldStatus, false, false));
    EXPECT_FALSE(test.Active);

    responder.press(kDriverText, "Sta&rt. Read Log File");
    EXPECT_TRUE(STTA_TestReadRun(kFldStatus, false, false));
    EXPECT_EQ(test.FieldValues.ubound(), 1);  // "200"; the robot's line is skipped
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(TestReadDialogs, StartAtOnceShowsNoDialog) {
    ScriptedResponder responder;  // any box fails the test
    EXPECT_TRUE(STTA_TestReadRun(kFldFileName, false, true));
    EXPECT_EQ(test.FieldValues.ubound(), 3);
}

TEST_F(TestReadDialogs, ReferrerCheckWithoutReferrersStartsANewRead) {
    ScriptedResponder responder;
    responder.press("search engine referrer strings that cannot be interpreted", "Don&e");
    STTA_SERefCheck();
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(TestReadDialogs, ReferrerCheckCountsTheLastRead) {
    ASSERT_TRUE(logimport::testReadExecute(kFldReferrer, false, t.site.db));
    ScriptedResponder responder;
    responder.expect({.expectCaption = "Check Definitions of SE Referrer Strings VS. Log File",
                      .act = [](const core::DlgView& v, core::DlgDriver& d) {
                          EXPECT_NE(v.message.find("Last Read Found 3 referrers in 3 log lines."), std::string::npos);
                          EXPECT_NE(v.message.find("Undefined ST - ST not found in referrer for known SE domain: 1"),
                                    std::string::npos);
                          EXPECT_NE(v.message.find("Unknown SE.s  - domain in referrer string not defined: 1"),
                                    std::string::npos);
                          EXPECT_EQ(v.buttons.size(), 5u);
                          d.press("&Back to Definitions");
                      }});
    STTA_SERefCheck();
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(TestReadDialogs, UserAgentCheckCountsTheLastRead) {
    ASSERT_TRUE(logimport::testReadExecute(kFldUserAgent, true, t.site.db));
    ScriptedResponder responder;
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_NE(v.message.find("Last Read Found 1 user agent strings in 3 log lines."), std::string::npos);
        EXPECT_NE(v.message.find("Robot Filters Used: 1"), std::string::npos);
        d.press("&Back to Definitions");
    }});
    STTA_UACheck();
    EXPECT_EQ(responder.pending(), 0u);
}

// The check reads with the component filter off, so that components are tallied too,
// and the user's choice of that filter is the same afterwards.
TEST_F(TestReadDialogs, ComponentCheckReadsEveryFileNameAndRestoresTheChoice) {
    INI_Put("Main", "nocomp", "True", gIniLastVals);
    testsupport::writeFile(gIniFltrFiles,
                           "[Filters]\nFltr Sel=css\n[css]\nTyp=2\nVal=.css\nMC=False\nColType=1\n");
    ScriptedResponder responder;
    responder.press(kDriverText, "Sta&rt. Read Log File");
    responder.expect({.expectCaption = "Check Page Component File Filters VS log file",
                      .act = [&](const core::DlgView& v, core::DlgDriver& d) {
                          EXPECT_EQ(INI_Get("Main", "nocomp", gIniLastVals, 1), "True");
                          EXPECT_NE(v.message.find("3 pages and component filenames in"), std::string::npos);
                          EXPECT_EQ(v.message.find("SELECTED FILE CHANGED"), std::string::npos);
                          d.press("&Back to Definitions");
                      }});
    STTA_FileFltrCheck(false);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(test.FieldValues.ubound(), 3);
}

TEST_F(TestReadDialogs, ComponentCheckRereadsAtOnceOnlyForAChangedEntry) {
    ASSERT_TRUE(logimport::testReadExecute(kFldFileName, false, t.site.db));
    ScriptedResponder responder;
    responder.press("pages and component filenames", "&Back to Definitions");
    STTA_FileFltrCheck(true);  // the same entry: the last data are used
    EXPECT_EQ(responder.pending(), 0u);

    const std::string other = t.site.home / "logs/other.log";
    testsupport::writeFile(other, combinedLine("/only.html", "", "Mozilla"));
    INI_Put("Main", "PAFNlog", other, gIniLastVals);
    responder.expect({.act = [&](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_NE(v.message.find(other), std::string::npos);
        EXPECT_NE(v.message.find("1 pages and component filenames"), std::string::npos);
        d.press("&Back to Definitions");
    }});
    STTA_FileFltrCheck(true);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(test.LogFileSpec, other);
}


TEST_F(TestReadDialogs, ComponentCheckListsSkippedAndNewPages) {
    testsupport::writeFile(gIniFltrFiles,
                           "[Filters]\nFltr Sel=css\n[css]\nTyp=2\nVal=.css\nMC=False\nColType=1\n");
    ASSERT_TRUE(logimport::testReadExecute(kFldFileName, false, t.site.db));
    STTA_PageIDGetOrAdd("/a.html", true, t.site.db);
    ScriptedResponder responder;
    responder.press("pages and component filenames", "List PageNames S&KIPPED using selected filter");
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_NE(labelText(v).find("PageName-URLs that will be **SKIPPED** due to selected file filter."),
                  std::string::npos);
        EXPECT_EQ(gridRows(v), std::vector<std::string>{"style.css\t1 - /style.css\t1\t1\tcss"});
        d.press("Other O&ptions");
    }});
    responder.press("pages and component filenames", "List PageNames that do not already e&xist");
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(gridRows(v), std::vector<std::string>{"b.html\t1 - /b.html\t1\t1\thtml"});
        d.press("&Back to definitions");
    }});
    STTA_FileFltrCheck(false);
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(TestReadDialogs, AComponentFilterOnOtherDataSkipsNothingAndSaysSo) {
    testsupport::writeFile(gIniFltrFiles,
                           "[Filters]\nFltr Sel=ua\n[ua]\nTyp=2\nVal=mozilla\nMC=False\nColType=2\n");
    ASSERT_TRUE(logimport::testReadExecute(kFldFileName, false, t.site.db));
    ScriptedResponder responder;
    for (int shown = 0; shown < 2; ++shown) {
        responder.press("pages and component filenames", "List PageNames S&KIPPED using selected filter");
        responder.press("NB You have defined criteria usingdata other than Filename.", "&OK");
        responder.press("No FileNames found", "&OK");
    }
    responder.press("pages and component filenames", "&Back to Definitions");
    STTA_FileFltrCheck(false);
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(TestReadDialogs, StatusValuesAreListedAfterARead) {
    ScriptedResponder responder;
    responder.press(kDriverText, "Sta&rt. Read Log File");
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        // Row 0 is the empty status.
        EXPECT_EQ(gridRows(v), (std::vector<std::string>{"\t0", "200\t3"}));
        d.press("&Back to definitions");
    }});
    STTA_LogFldValuesList();
    EXPECT_EQ(responder.pending(), 0u);

    responder.press(kDriverText, "Don&e");  // no list follows
    STTA_LogFldValuesList();
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(TestReadDialogs, AllReferrersAreListedFromTheCheck) {
    ASSERT_TRUE(logimport::testReadExecute(kFldReferrer, false, t.site.db));
    ScriptedResponder responder;
    responder.press("Last Read Found", "Lis&t All Referrer strings");
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        // The tally's empty starting item is no row.
        EXPECT_EQ(gridRows(v), (std::vector<std::string>{"http://www.finder.com/s?x=1", "http://www.finder.com/s?q=log",
                                                         "http://blog.example.org/"}));
        d.press("&Cancel");
    }});
    responder.press("Last Read Found", "&Back to Definitions");
    STTA_SERefCheck();
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(TestReadDialogs, TheDriverOpensTheFilterChoiceAndTheReadOptions) {
    ScriptedResponder responder;
    responder.press(kDriverText, "Filter&s ...");
    responder.expect({.expectCaption = "Check SE referrer definitions against log file. Filter lines to check.",
                      .press = "&Cancel"});
    responder.press(kDriverText, "Read O&ptions");
    responder.expect({.expectCaption = "Read Log Options", .press = "&OK"});
    responder.press(kDriverText, "Don&e");
    EXPECT_FALSE(STTA_TestReadRun(kFldReferrer, false, false));
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(TestReadDialogs, TheLogFileChosenInTheDriverIsTheOneRead) {
    const std::string other = t.site.home / "logs/other.log";
    testsupport::writeFile(other, combinedLine("/only.html", "", "Mozilla"));
    INI_Put("Main", "Log Files", other, gIniLastVals);
    // A new site has chosen no log file yet: choosing one reports no missing entry.
    INI_EraseEntry("Main", "PAFNlog", gIniLastVals);
    ASSERT_EQ(INI_Get("Main", "PAFNlog", gIniLastVals, 1), kIniNotFound);
    ScriptedResponder responder;
    // Start before a file is chosen reads nothing and asks for one.
    responder.press(kDriverText, "Sta&rt. Read Log File").press("Choose the log file to read first.", "&OK");
    responder.press(kDriverText, "Log &File ...");
    responder.expect({.press = "&OK", .act = [](const core::DlgView&, core::DlgDriver& d) { d.choose(1, {1}); }});
    responder.press(kDriverText, "Sta&rt. Read Log File");
    EXPECT_TRUE(STTA_TestReadRun(kFldFileName, false, false));
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(INI_Get("Main", "PAFNlog", gIniLastVals, 1), other);
    EXPECT_EQ(test.LogFileSpec, other);
    EXPECT_EQ(items(test.FieldValues), (std::vector<std::string>{"", "/only.html"}));
}

TEST_F(TestReadDialogs, AUserAgentReadShowsWhatEachRobotFilterRejected) {
    ScriptedResponder responder;
    responder.press(kDriverText, "Sta&rt. Read Log File");
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_NE(labelText(v).find("List of user agent strings that will cause line to be skipped."),
                  std::string::npos);
        ASSERT_EQ(gridRows(v).size(), 1u);
        EXPECT_NE(gridRows(v)[0].find("\tGooglebot/2.1\t1"), std::string::npos) << gridRows(v)[0];
        d.press("&Back to definitions");
    }});
    STTA_UACheck();  // no user agents tallied yet: a new read first
    EXPECT_EQ(responder.pending(), 0u);

    responder.press("Robot Filters Used: 1", "User Agents Re&jected by each Robot Filter");
    responder.expect({.expectMessage = "", .press = "&Back to definitions"});
    responder.press("Robot Filters Used: 1", "&Back to Definitions");
    STTA_UACheck();
    EXPECT_EQ(responder.pending(), 0u);
}

// A test read of a virtual-host log with the combined format says that the format may
// not fit, before its results.
TEST_F(TestReadDialogs, AFormatThatHalfFitsIsNamedAfterTheRead) {
    t.writeLog("www.example.com:443 " + combinedLine("/a.html", "", "Mozilla") + "www.example.com:443 " +
               combinedLine("/b.html", "", "Mozilla"));
    ScriptedResponder responder;
    responder.press("have an IP address field that is not an IP address or host name (such as "
                    "\"www.example.com:443\"): check the log format.",
                    "&OK");
    EXPECT_TRUE(STTA_TestReadRun(kFldFileName, false, true));
    EXPECT_EQ(responder.pending(), 0u);
    ASSERT_EQ(responder.shown().size(), 1u);
    EXPECT_EQ(responder.shown()[0].message.rfind("Test read finished. The log format may not fit the log file:", 0),
              0u);
}
