#include <map>

#include <gtest/gtest.h>

#include "core/dates.h"
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

LogFmtCompiled compiledOf(const std::vector<std::string>& formats) {
    std::vector<std::string> items{""};
    items.insert(items.end(), formats.begin(), formats.end());
    LogFmtCompiled compiled;
    STTA_LogFmtDefCompile(items, compiled);
    return compiled;
}

void expectSplit(const SplitCase& c) {
    SCOPED_TRACE(c.name);
    const LogFmtCompiled compiled = compiledOf(c.formats);
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

// Apache writes a quote inside a logged field as \" and a backslash as \\, nginx a
// quote as \x22: inside quotes they neither end the field nor stay escaped in it.
TEST(LogLineSplit, EscapesInsideQuotedFields) {
    const std::string combined = "%s %*u %u [%d/%M/%Y:%h:%n:%e %*S] \"%*t %r %*T\" %c %b \"%f\" \"%B\"";
    const std::string head = "1.2.3.4 - - [10/Dec/2026:10:00:00 +0000] \"GET /a HTTP/1.1\" 200 5 ";
    const Fields headFields{{2, "1.2.3.4"}, {8, "-"}, {10, "10"}, {12, "Dec"}, {14, "2026"}, {16, "10"},
                            {17, "00"}, {27, "00"}, {28, "+0000"}, {35, "-"}, {48, "GET"}, {3, "/a"}, {49, "HTTP/1.1"},
                            {24, "200"}, {20, "5"}};
    auto with = [&](Fields more) {
        Fields all = headFields;
        all.insert(more.begin(), more.end());
        return all;
    };
    const SplitCase cases[] = {
        {"\\\" in referrer and user agent", {combined},
         head + "\"http://www.google.com/search?q=\\\"exact\\\"+phrase\" "
                "\"Mozilla/5.0 (compatible; \\\"Evil\\\" SpiderBot/1.0)\"",
         true,
         with({{7, "http://www.google.com/search?q=\"exact\"+phrase"},
               {5, "Mozilla/5.0 (compatible; \"Evil\" SpiderBot/1.0)"}})},
        {"an escaped backslash before the closing quote", {combined}, head + "\"C:\\\\\" \"a\\\\\\\"b\"", true,
         with({{7, "C:\\"}, {5, "a\\\"b"}})},
        {"nginx's \\x22 and \\x5C", {combined}, head + "\"-\" \"say \\x22hi\\x22 \\x5Cn \\x41\"", true,
         with({{7, "-"}, {5, "say \"hi\" \\n \\x41"}})},
        {"a lone backslash at the end of the line stays", {"%s \"%B"}, "h \"a\\", true,
         {{2, "h"}, {5, "a\\"}}},
        {"fields outside quotes keep their backslashes", {"%s %c"}, "h\\\"x 200", true,
         {{2, "h\\\"x"}, {24, "200"}}},
        {"an escaped quote cannot close the field", {"\"%B\" %c"}, "\"a\\\" 200", false, {}},
    };
    for (const auto& c : cases) expectSplit(c);
}

// A line whose date the format cannot read does not match it: the next format line
// is tried, and a line no format line dates is not matched at all.
TEST(LogLineSplit, DatedSplitRefusesLinesWithoutADate) {
    struct Case { const char* name; std::vector<std::string> formats; std::string line; bool matches, dated; };
    const Case cases[] = {
        {"month number against month names", {"%s [%d/%m/%Y]"}, "h [10/Dec/2026]", false, false},
        {"the next format line reads it", {"%s [%d/%m/%Y]", "%s [%d/%M/%Y]"}, "h [10/Dec/2026]", true, true},
        {"a format line without date fields", {"%s %c"}, "h 200", false, false},
        {"a line of skip fields needs no date", {"%s [%d/%m/%Y]", "#%*S"}, "#Version: 1.0", true, false},
        {"a readable date", {"%s [%d/%m/%Y]"}, "h [10/12/2026]", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const LogFmtCompiled compiled = compiledOf(c.formats);
        LogFields fields;
        EXPECT_TRUE(STTA_LogLineSplit(c.line, compiled, fields));  // the separators alone fit
        long date = -1;
        ASSERT_EQ(STTA_LogLineSplit(c.line, compiled, fields, &date), c.matches);
        if (c.matches) {
            EXPECT_EQ(date, c.dated ? long(core::vbDateSerial(2026, 12, 10)) : 0);
        }
    }
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
    ASSERT_EQ(LogFmtTokens.size(), 60u);
    EXPECT_EQ(LogFmtTokens[2], "%s");
    EXPECT_EQ(LogFmtTokens[27], "%e");
    EXPECT_EQ(LogFmtTokens[29], "%*s");
    EXPECT_EQ(LogFmtTokens[54], "%*e");
    EXPECT_EQ(LogFmtTokens[55], "%1");
    for (size_t k = 1; k <= 27; ++k) {
        EXPECT_EQ(LogFmtTokens[k].size(), 2u) << k;
        EXPECT_EQ(LogFmtTokens[27 + k], std::string("%*") + LogFmtTokens[k][1]) << k;
    }
    for (size_t k = 1; k <= 5; ++k) EXPECT_EQ(LogFmtTokens[54 + k], "%" + std::to_string(k));
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
    long date = -1;
    // A directive line long enough for the data line's separators is no dated line:
    // the directive format line takes it.
    ASSERT_TRUE(STTA_LogLineSplit("#Fields: date time s-sitename s-computername s-ip cs-method cs-uri-stem "
                                  "cs-uri-query s-port cs-username c-ip cs-version cs(User-Agent) cs(Cookie) "
                                  "cs(Referer) cs-host sc-status sc-substatus sc-win32-status sc-bytes cs-bytes "
                                  "time-taken",
                                  w3c, fields, &date));
    EXPECT_FALSE(STTA_LogFieldsHoldData(fields));
    EXPECT_EQ(date, 0);
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

// Every code of the language has its line on the help page on log formats, so a new
// code without help fails here.
TEST(LogFormatHelp, NamesEveryCodeOfTheLanguage) {
    const std::string page =
        testsupport::readFile(std::string(std::getenv("DRAVOLIN_SOURCE_DIR")) + "/resources/help/F.htm");
    const size_t start = page.find("<a name=\"FM\">");
    ASSERT_NE(start, std::string::npos);
    const std::string section = page.substr(start, page.find("<!ESEC>", start) - start);
    std::vector<std::string> codes;
    for (int k = 1; k <= kLogFmtTokenCount; ++k)
        if (k <= kFldSecond || k > 2 * kFldSecond) codes.emplace_back(LogFmtTokens[size_t(k)]);
    for (const std::string& code : LogFmtSeparatorCodes()) codes.push_back(code);
    ASSERT_EQ(codes.size(), 27u + 5u + 6u);
    for (const std::string& code : codes)
        EXPECT_NE(section.find("<code>" + code + "</code>"), std::string::npos) << code;
    for (const char* topic : {"skip form", "runs to the end of the", "against the format lines in turn",
                              "time zone", "X-Forwarded-For", "all W3C fields"})
        EXPECT_NE(section.find(topic), std::string::npos) << topic;
}

// The worked examples of the help page read the lines of the server settings they are for.
TEST(LogFormatHelp, WorkedExamplesReadTheirServersLines) {
    const std::vector<std::string> proxied = {
        "%*s - %u [%d/%M/%Y:%h:%n:%e %*S] \"%*t %r %*T\" %c %b \"%f\" \"%B\" \"%s, %*S\"",
        "%*s - %u [%d/%M/%Y:%h:%n:%e %*S] \"%*t %r %*T\" %c %b \"%f\" \"%B\" \"%s\""};
    const std::vector<std::string> iis = {
        "%Y-%m-%d %h:%n:%e %*S %*S %*S %*t %r %q %*U %u %s %*T %B %*S %f %v %c %*j %*T %b %*S %*D", "#%*S"};
    const std::string nginx = "10.0.0.2 - - [10/Dec/2026:10:00:00 +0000] \"GET /a.html HTTP/1.1\" 200 512 "
                              "\"https://www.google.com/search?q=x\" \"Mozilla/5.0\" ";
    struct Case { const char* name; std::vector<std::string> formats; std::string line; Fields fields; } cases[] = {
        {"proxy list", proxied, nginx + "\"203.0.113.9, 10.0.0.1\"",
         {{kFldIpAddress, "203.0.113.9"}, {kFldFileName, "/a.html"}, {kFldReferrer, "https://www.google.com/search?q=x"}}},
        {"one address", proxied, nginx + "\"203.0.113.9\"", {{kFldIpAddress, "203.0.113.9"}, {kFldStatus, "200"}}},
        {"IIS, all fields", iis,
         "2026-12-10 10:00:01 W3SVC1 WEB01 10.0.0.1 GET /index.html q=1 443 - 203.0.113.5 HTTP/1.1 "
         "Mozilla/5.0+(Windows+NT+10.0) - https://www.bing.com/search?q=x www.example.com 200 0 0 5120 412 15",
         {{kFldIpAddress, "203.0.113.5"}, {kFldFileName, "/index.html"}, {kFldQuery, "q=1"},
          {kFldUserAgent, "Mozilla/5.0+(Windows+NT+10.0)"}, {kFldReferrer, "https://www.bing.com/search?q=x"},
          {kFldVirtualHost, "www.example.com"}, {kFldStatus, "200"}, {kFldBytes, "5120"}, {kFldMonth, "12"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogFields fields;
        long date = 0;
        ASSERT_TRUE(STTA_LogLineSplit(c.line, compiledOf(c.formats), fields, &date));
        for (const auto& [no, text] : c.fields) EXPECT_EQ(fields[size_t(no)], text) << "field " << no;
    }
}
