#include <map>

#include <gtest/gtest.h>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "logimport/log_format.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"

namespace {

using Fields = std::map<int, std::string>;

struct SplitCase {
    const char* name;
    std::vector<std::string> formats;  // format lines 1..n
    std::string line;
    bool matches;
    Fields fields;  // every other field must be empty
};

void expectSplit(const SplitCase& c) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> items{""};
    items.insert(items.end(), c.formats.begin(), c.formats.end());
    LogFmtCompiled compiled;
    STTA_LogFmtDefCompile(items, compiled);
    LogFields fields;
    fields[kFldUserAgent] = "left over from an earlier line";
    ASSERT_EQ(STTA_LogLineSplit(c.line, compiled, fields), c.matches);
    if (!c.matches) return;
    for (int k = 0; k <= kLogFmtTokenCount; ++k) {
        auto it = c.fields.find(k);
        EXPECT_EQ(fields[size_t(k)], it == c.fields.end() ? "" : it->second) << "field " << k;
    }
}

}  // namespace

TEST(LogLineSplit, FormatLinesAgainstLines) {
    const SplitCase cases[] = {
        {"token first", {"%s - %u"}, "1.2.3.4 - bob", true, {{2, "1.2.3.4"}, {8, "bob"}}},
        {"literal first, text before it has no field", {"[%d]"}, "xx[09] tail", true, {{10, "09"}}},
        {"last field runs to the end of the line", {"%s %b"}, "1.2.3.4 2326 more\r", true,
         {{2, "1.2.3.4"}, {20, "2326 more"}}},
        {"%% before d is a literal percent then the day", {"%%d/%m"}, "%12/05", true, {{10, "12"}, {11, "05"}}},
        {"%% before a non-token stands for one percent", {"%s %%x %c"}, "h %x 200", true, {{2, "h"}, {24, "200"}}},
        {"skip twin takes its text out without meaning", {"%s \"%*B\" %c"}, "h \"Mozilla\" 404", true,
         {{2, "h"}, {32, "Mozilla"}, {24, "404"}}},
        {"spare fields", {"%1|%5"}, "a|b", true, {{55, "a"}, {59, "b"}}},
        {"lower row wins", {"%s %c", "%s"}, "h 200", true, {{2, "h"}, {24, "200"}}},
        {"failed row leaves nothing behind", {"%s [%d] %c", "%r"}, "h [1 200", true, {{3, "h [1 200"}}},
        {"no row matches", {"%s [%d]"}, "nothing here", false, {}},
        {"blank line never matches", {""}, "   ", false, {}},
        {"line without tokens matches any non-blank line", {""}, "x", true, {}},
        {"tab escape", {"%s\\t%c"}, "h\t200", true, {{2, "h"}, {24, "200"}}},
        {"%w takes a run of blanks and tabs", {"%s%w%c"}, "h \t  200", true, {{2, "h"}, {24, "200"}}},
        {"%W may be empty", {"%s:%W%c"}, "h:200", true, {{2, "h"}, {24, "200"}}},
        {"\\n matches at the end of a line", {"%s %c\\n"}, "h 200", true, {{2, "h"}, {24, "200"}}},
        {"fields keep their blanks", {"%s,%c"}, " h , 200 ", true, {{2, " h "}, {24, " 200 "}}},
    };
    for (const auto& c : cases) expectSplit(c);
}

TEST(LogLineSplit, TouchingTokensWarnOnceAndAssumeASpace) {
    TXT_CrLfInit();
    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder responder;
    responder.press("no seperation space or other characters after %M", "&OK");
    LogFmtCompiled compiled;
    STTA_LogFmtDefCompile({"", "%d%M%Y"}, compiled);
    EXPECT_EQ(responder.pending(), 0u);
    ASSERT_EQ(responder.shown().size(), 1u);
    EXPECT_EQ(responder.shown()[0].message,
              "Error in format specification >>%d%M%Y<< - no seperation space or other characters after %M"
              "\rProcessing will assume-look for a space at this point.");
    LogFields fields;
    ASSERT_TRUE(STTA_LogLineSplit("09 Dec 2007", compiled, fields));
    EXPECT_EQ(fields[kFldDay], "09");
    EXPECT_EQ(fields[kFldMonthName], "Dec");
    EXPECT_EQ(fields[kFldYear2], "2007");
}

TEST(LogLineSplit, CompositesAreListedOnceAndLiteralPercentIsNeverOne) {
    // Format lines of one definition share an equal composite; another definition
    // keeps its own list, so compiling formats never grows anything else.
    LogFmtCompiled a, b;
    STTA_LogFmtDefCompile({"", "%s%W~~%w%c", "%r%W~~%w%b"}, a);
    STTA_LogFmtDefCompile({"", "%r%W~~%w%b"}, b);
    EXPECT_EQ(a.composites.size(), 1u);
    EXPECT_EQ(b.composites.size(), 1u);
    EXPECT_EQ(a.rows[1][1].compositeNo, a.rows[2][1].compositeNo);

    // "%%%%0" escapes to the literal "%%0", which must not be read as composite 0.
    LogFmtCompiled c;
    STTA_LogFmtDefCompile({"", "%s%%%%0%c"}, c);
    LogFields fields;
    ASSERT_TRUE(STTA_LogLineSplit("h%%0200", c, fields));
    EXPECT_EQ(fields[kFldIpAddress], "h");
    EXPECT_EQ(fields[kFldStatus], "200");
}

TEST(LogFileEntry, SplitAndJoin) {
    struct Case { std::string entry, spec, name; } cases[] = {
        {"/logs/a.log [LogFormat: Combined]", "/logs/a.log", "Combined"},
        {"/logs/a.log", "/logs/a.log", ""},
        {"/logs/a.log [LogFormat: Odd ] name]", "/logs/a.log", "Odd ] name"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        std::string spec, name;
        STTA_LogFileEntrySplit(c.entry, spec, name);
        EXPECT_EQ(spec, c.spec);
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(STTA_LogFileEntryJoin(spec, name), c.entry);
    }
}

TEST(LogFmtTokens, TableAndCaptions) {
    STTA_LogFmtTokensInit(true);
    ASSERT_EQ(LogFmtTokens.size(), 60u);
    EXPECT_EQ(LogFmtTokens[2], "%s");
    EXPECT_EQ(LogFmtTokens[27], "%e");
    EXPECT_EQ(LogFmtTokens[29], "%*s");
    EXPECT_EQ(LogFmtTokens[54], "%*e");
    EXPECT_EQ(LogFmtTokens[55], "%1");
    EXPECT_EQ(LogFmtFieldCaption(kFldReferrer), "Referrer string");
    EXPECT_EQ(LogFmtFieldCaption(kFldDay), "");
}

TEST(ShippedLogFormats, SplitTheirSampleLines) {
    gIniLogFmts = std::string(std::getenv("DRAVOLIN_SOURCE_DIR")) + "/resources/param/logfmts.ini";
    struct Case { std::string format, line; Fields fields; } cases[] = {
        {"Combined (Apache, NGINX)",
         "111.18.7.67 - - [09/Jan/2026:10:31:05 +0000] \"GET /buy.html?x=1 HTTP/1.1\" 200 72361 "
         "\"http://www.google.com/search?hl=en&q=best+404+error&btnG=Search\" \"Mozilla/5.0 (X11; Linux)\"",
         {{2, "111.18.7.67"}, {8, "-"}, {10, "09"}, {12, "Jan"}, {14, "2026"}, {16, "10"}, {17, "31"},
          {27, "05"}, {3, "/buy.html?x=1"}, {24, "200"}, {20, "72361"},
          {7, "http://www.google.com/search?hl=en&q=best+404+error&btnG=Search"},
          {5, "Mozilla/5.0 (X11; Linux)"}}},
        {"Common (Apache, NGINX)",
         "127.0.0.1 - frank [10/Oct/2000:13:55:36 -0700] \"GET /apache_pb.gif HTTP/1.0\" 200 2326",
         {{2, "127.0.0.1"}, {8, "frank"}, {10, "10"}, {12, "Oct"}, {14, "2000"}, {16, "13"}, {17, "55"},
          {27, "36"}, {3, "/apache_pb.gif"}, {24, "200"}, {20, "2326"}}},
        {"Combined with virtual host (Apache)",
         "www.example.com:443 1.2.3.4 - - [10/Oct/2000:13:55:36 -0700] \"GET /a.html HTTP/1.1\" 404 512 "
         "\"-\" \"curl/8.0\"",
         {{9, "www.example.com"}, {2, "1.2.3.4"}, {8, "-"}, {10, "10"}, {12, "Oct"}, {14, "2000"},
          {16, "13"}, {17, "55"}, {27, "36"}, {3, "/a.html"}, {24, "404"}, {20, "512"}, {7, "-"},
          {5, "curl/8.0"}}},
        {"W3C extended (IIS)",
         "2023-01-15 10:00:01 10.0.0.1 GET /index.html q=1 80 - 192.168.1.5 Mozilla/5.0+(Windows+NT+10.0) "
         "https://www.bing.com/search?q=x 200 0 0 15",
         {{14, "2023"}, {11, "01"}, {10, "15"}, {16, "10"}, {17, "00"}, {27, "01"}, {3, "/index.html"},
          {4, "q=1"}, {8, "-"}, {2, "192.168.1.5"}, {5, "Mozilla/5.0+(Windows+NT+10.0)"},
          {7, "https://www.bing.com/search?q=x"}, {24, "200"}}},
        // A request that sent no request line at all, as nginx logs it.
        {"Combined (Apache, NGINX)", "203.0.113.50 - - [10/Dec/2026:10:00:00 +0000] \"-\" 400 0 \"-\" \"-\"",
         {{2, "203.0.113.50"}, {10, "10"}, {12, "Dec"}, {3, "-"}, {24, "400"}, {20, "0"}, {5, "-"}}},
        {"Common (Apache, NGINX)", "203.0.113.50 - - [10/Dec/2026:10:00:00 +0000] \"-\" 400 0",
         {{2, "203.0.113.50"}, {3, "-"}, {24, "400"}}},
    };
    core::StrArray names;
    CHUNKS_Split(INI_Get("Main", "AcD", gIniLogFmts, 3), names, 1);
    ASSERT_EQ(names.ubound(), 4);
    EXPECT_EQ(INI_Get("Main", "LFmtDflt", gIniLogFmts, 3), "Combined (Apache, NGINX)");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_NE(names.find(c.format, 1, core::Match::Exact), -1);
        LogFmtCompiled compiled;
        STTA_LogFmtDefLoad(c.format, compiled);
        LogFields fields;
        ASSERT_TRUE(STTA_LogLineSplit(c.line, compiled, fields));
        for (const auto& [no, text] : c.fields) EXPECT_EQ(fields[size_t(no)], text) << "field " << no;
        EXPECT_TRUE(STTA_LogFieldsHoldData(fields));
    }
    LogFmtCompiled w3c;
    STTA_LogFmtDefLoad("W3C extended (IIS)", w3c);
    LogFields fields;
    // Directive lines match, but carry no data.
    ASSERT_TRUE(STTA_LogLineSplit("#Fields: date time s-ip cs-method cs-uri-stem cs-uri-query s-port "
                                  "cs-username c-ip cs(User-Agent) cs(Referer) sc-status", w3c, fields));
    EXPECT_FALSE(STTA_LogFieldsHoldData(fields));
    LogFmtCompiled missing;
    STTA_LogFmtDefLoad("No such format", missing);
    EXPECT_FALSE(STTA_LogLineSplit("anything", missing, fields));
}

TEST(LogFmtDefault, TheSitesChoiceElseTheShippedDefault) {
    testsupport::TempHome home;
    gIniLastVals = home / "LastVals.ini";
    gIniLogFmts = std::string(std::getenv("DRAVOLIN_SOURCE_DIR")) + "/resources/param/logfmts.ini";
    testsupport::writeFile(gIniLastVals, "[Main]\n");
    EXPECT_EQ(STTA_LogFmtDefault(), "Combined (Apache, NGINX)");  // a new site has chosen none
    INI_Put("Main", "LFmtDflt", "Common (Apache, NGINX)", gIniLastVals);
    EXPECT_EQ(STTA_LogFmtDefault(), "Common (Apache, NGINX)");
    gIniLastVals.clear();
    gIniLogFmts.clear();
}
