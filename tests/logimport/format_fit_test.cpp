// Logs as real servers write them, read with a format that fits or half fits: what is
// stored, and what the read says about the format.
#include <gtest/gtest.h>

#include <string>

#include "core/ini_store.h"
#include "logimport/addition_run.h"
#include "logimport/format_fit.h"
#include "tests/logimport/generated_site.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"

namespace {

TEST(FormatFit, AddressesAndHostNames) {
    const std::pair<const char*, bool> cases[] = {
        {"203.0.113.5", true},          {"2001:db8::1", true},        {"::1", true},
        {"fe80::1%eth0", true},         {"[2001:db8::1]", true},      {"::ffff:192.0.2.1", true},
        {"crawl-66-249-66-1.googlebot.com", true}, {"localhost", true},
        {"203.0.113.9, 10.0.0.1", true},  // X-Forwarded-For: client, proxy
        {"www.example.com:443", false}, {"443", false},               {"1.2.3", false},
        {"256.1.1.1", false},           {"-", false},                 {"GET", true},
        {"203.0.113.9, -", false},      {"a b", false},               {"1.2.3.4:80", false},
    };
    for (const auto& [text, ok] : cases) EXPECT_EQ(logimport::isIpOrHostName(text), ok) << text;
}

class LogFormats : public ::testing::Test {
protected:
    LogFormats() : site(false) {
        const std::string src = std::getenv("DRAVOLIN_SOURCE_DIR");
        gIniLogFmts = site.home / "logfmts.ini";
        const std::string shipped = testsupport::readFile(src + "/resources/param/logfmts.ini");
        testsupport::writeFile(
            gIniLogFmts,
            shipped + "\n[Month numbers]\nDefsCDS=|%s %*u %u [%d/%m/%Y:%h:%n:%e %*S] \"%*t %r %*T\" %c %b \"%f\" \"%B\"\n"
                      "\n[IIS all fields]\nDefsCDS=|%Y-%m-%d %h:%n:%e %*S %*S %*S %*t %r %q %*U %u %s %*T %B %*S %f "
                      "%v %c %*j %*T %b %*S %*D|#%*S\n");
        gAppPath = src + "/resources/";
        STTA_SEDefsLoad();
        INI_Put("Main", "EraseNonSE", "False", gIniDbDef);
        INI_Put("Main", "LFmtDflt", "Combined (Apache, NGINX)", gIniLastVals);
        rec.NoPromptInvalid = true;
    }
    ~LogFormats() override {
        gAppPath.clear();
        gIniLogFmts.clear();
    }

    // Reads the log with the format and builds its visits, as an addition does.
    void add(const std::string& name, const std::string& text, const std::string& format) {
        const std::string log = site.home / name;
        testsupport::writeFile(log, text);
        bool usable = false;
        EXPECT_TRUE(RawLog_AddData_ReadLogFiles_OK(site.db, STTA_LogFileEntryJoin(log, format), "Test",
                                                   "Add. Step 1/3: ", usable, rec));
        bool interrupted = true;
        LogLnRaw_Add(site.db, rec, interrupted);
        logimport::runTotalsToFileCounters(rec);
    }
    std::string problems() {
        std::string all;
        for (long i = 0; rec.ProblemTexts.hasBounds() && i <= rec.ProblemTexts.ubound(); ++i)
            all += rec.ProblemTexts[i] + "\n";
        return all;
    }
    std::string summary() { return STTA_AddCompletionText("log", "1 min", rec, "", ""); }
    std::string text(const std::string& sql) {
        auto rs = site.db.openRecordset(sql, dao::RecordsetType::Snapshot);
        return rs.eof() ? "<none>" : STTA_FldStrNz(rs.field(0));
    }

    testsupport::TempSite site;
    testsupport::FakeUserInterface ui;
    testsupport::LastValsRouting routing;
    core::ScopedShellHooks routed{&routing};
    ReadRec rec;
};

const std::string kCombinedHead = " - - [10/Oct/2025:10:00:0";

std::string combined(const std::string& ip, int second, const std::string& page, const std::string& referrer,
                     const std::string& agent) {
    return ip + kCombinedHead + std::to_string(second) + " +0000] \"GET " + page + " HTTP/1.1\" 200 512 \"" +
           referrer + "\" \"" + agent + "\"\n";
}

}  // namespace

// Apache writes a quote inside a field as \": the user agent stays whole for the robot
// filter, and the search term holds the plain quote.
TEST_F(LogFormats, EscapedQuotesStayInsideTheirFields) {
    rec.RobotSet = FltrSet{.Active = true, .Rules = {{}, {kFltrContains, "spiderbot", false}}, .Any = true,
                           .ColTypes = {0, kFldUserAgent}};
    add("escaped.log",
        combined("203.0.113.7", 1, "/a.html", "-", "Mozilla/5.0 (compatible; \\\"Evil\\\" SpiderBot/1.0)") +
            combined("203.0.113.8", 2, "/b.html", "http://www.google.com/search?q=\\\"exact\\\"+phrase",
                     "Mozilla/5.0 (X11; \\\"Linux\\\")"),
        "Combined (Apache, NGINX)");
    EXPECT_EQ(rec.RobotSet.Hits, 1);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline"), 1);
    EXPECT_EQ(text("SELECT StzdSearchTerm FROM visit"), "\"exact\" phrase");
    EXPECT_EQ(problems(), "");
}

// Lines whose date the format cannot read are never stored under 30 Dec 1899: a file of
// them has no valid line, and one among good lines is an unmatched line.
TEST_F(LogFormats, UndatedLinesAreUnmatchedLines) {
    const std::string good = combined("203.0.113.7", 1, "/a.html", "-", "Mozilla/5.0") +
                             combined("203.0.113.7", 2, "/b.html", "-", "Mozilla/5.0");
    add("names.log", good, "Month numbers");
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline"), 0);
    EXPECT_NE(problems().find("Log file does not contain any valid lines. File Skipped."), std::string::npos);

    rec = ReadRec{};
    rec.ProblemFiles.redim(0, 0);
    rec.ProblemTexts.redim(0, 0);
    testsupport::ScriptedResponder responder;
    responder.press("10/Foo/2025", "&OK");  // the unmatched-line prompt shows the line
    std::string bad = combined("203.0.113.9", 3, "/c.html", "-", "Mozilla/5.0");
    bad.replace(bad.find("Oct"), 3, "Foo");
    add("mixed.log", good + bad + combined("203.0.113.7", 4, "/d.html", "-", "Mozilla/5.0"), "");
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline"), 3);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline WHERE Timestamp < 20000101000000"), 0);
    EXPECT_NE(problems().find("1 log line[s] did not match the log format and were skipped."), std::string::npos);
    EXPECT_NE(summary().find("Lines that did not match the log format (skipped): 1."), std::string::npos);
}

// A format that fits the lines' shape but reads the wrong places is named in the
// summary and the problem list; its lines are stored all the same.
TEST_F(LogFormats, AFormatThatHalfFitsIsReported) {
    const std::string fieldsLine =
        "#Fields: date time s-sitename s-computername s-ip cs-method cs-uri-stem cs-uri-query s-port cs-username "
        "c-ip cs-version cs(User-Agent) cs(Cookie) cs(Referer) cs-host sc-status sc-substatus sc-win32-status "
        "sc-bytes cs-bytes time-taken\n";
    std::string iis = "#Software: Microsoft Internet Information Services 10.0\n#Version: 1.0\n" + fieldsLine;
    for (int i = 1; i <= 3; ++i)
        iis += "2025-10-10 10:00:0" + std::to_string(i) + " W3SVC1 WEB01 10.0.0.1 GET /p" + std::to_string(i) +
               ".html - 443 - 203.0.113." + std::to_string(i) + " HTTP/1.1 Mozilla/5.0+(Windows+NT+10.0) - "
               "https://www.bing.com/search?q=blue+widgets www.example.com 200 0 0 5120 412 15\n";
    std::string vhost;
    for (int i = 1; i <= 3; ++i)
        vhost += "www.example.com:443 " + combined("203.0.113." + std::to_string(i), i, "/a.html", "-", "curl/8.0");
    struct Case {
        const char* name;
        std::string log, format;
        std::vector<std::string> findings;  // empty: the format fits
        long long lines;
    };
    const Case cases[] = {
        {"IIS, all fields, shipped W3C format", iis, "W3C extended (IIS)",
         {"Most lines (3 of 3) have an IP address field that is not an IP address or host name (such as \"443\")",
          "Most lines (3 of 3) have an HTTP status that is not a number (such as \"HTTP/1.1\")",
          "Most lines (3 of 3) have other fields where the log format reads them than the log's #Fields: line "
          "names (such as cs-uri-stem read as \"10.0.0.1\")"},
         0},  // a status that is no number leaves a line unmatched
        {"IIS, all fields, a format for them", iis, "IIS all fields", {}, 3},
        {"virtual host log read as combined", vhost, "Combined (Apache, NGINX)",
         {"Most lines (3 of 3) have an IP address field that is not an IP address or host name (such as "
          "\"www.example.com:443\")"},
         3},
        {"virtual host log, its own format", vhost, "Combined with virtual host (Apache)", {}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rec.ProblemFiles.redim(0, 0);
        rec.ProblemTexts.redim(0, 0);
        site.db.execute("DELETE FROM logline");
        add(std::string(c.name) + ".log", c.log, c.format);
        EXPECT_EQ(rec.File.LinesAccepted, c.lines);
        const std::string shown = summary();
        for (const std::string& f : c.findings) {
            EXPECT_NE(problems().find(f + ": check the log format."), std::string::npos) << f;
            EXPECT_NE(shown.find(f + ": check the log format."), std::string::npos) << f;
        }
        EXPECT_EQ(rec.FormatNotes.size(), c.findings.size());
        if (c.findings.empty()) {
            EXPECT_EQ(problems().find("check the log format"), std::string::npos);
        }
    }
}

// Only engine visits are kept: a log without referrers gives none, which the summary says.
TEST_F(LogFormats, AFormatWithoutReferrersIsNamedInTheSummary) {
    const std::string common = "127.0.0.1 - frank [10/Oct/2025:13:55:36 -0700] \"GET /a.gif HTTP/1.0\" 200 2326\n";
    const std::string note =
        "The log format \"Common (Apache, NGINX)\" has no referrer field: a log read with it gives no search-engine "
        "visits.";
    add("common.log", common, "Common (Apache, NGINX)");
    EXPECT_NE(summary().find(note), std::string::npos);
    add("combined.log", combined("203.0.113.7", 1, "/a.html", "-", "Mozilla/5.0"), "Combined (Apache, NGINX)");
    EXPECT_EQ(summary().find("has no referrer field"), std::string::npos);
}
