#include <map>

#include <gtest/gtest.h>

#include "logimport/log_format.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"

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

TEST(LogLineSplit, CompositesAreSharedAndLiteralPercentIsNeverOne) {
    size_t before = gLogFmtComposites().size();
    LogFmtCompiled a, b;
    STTA_LogFmtDefCompile({"", "%s%W~~%w%c"}, a);
    STTA_LogFmtDefCompile({"", "%r%W~~%w%b"}, b);
    EXPECT_EQ(gLogFmtComposites().size(), before + 1);
    EXPECT_EQ(a.rows[1][1].compositeNo, b.rows[1][1].compositeNo);

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
