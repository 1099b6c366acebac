#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text.h"
#include "platform/sys/rt_error.h"
#include "tests/support/fake_user_interface.h"

namespace {

int errorNumberOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const sys::RtError& e) {
        return e.number();
    }
    return 0;
}

TEST(Text, FitLenCutsToTheRoomTheSuffixLeaves) {
    struct Case {
        const char* name;
        std::string text;
        long maximum;
        std::string suffix;
        std::string expected;
        bool cut;
    } cases[] = {
        {"fits the room", "abc", 6, "...", "abc", false},
        {"fits the maximum but not the room", "abcdef", 6, "...", "abc...", true},
        {"suffix fills the maximum", "abcdef", 2, "...", "a.", true},
        {"suffix exactly the maximum", "abcdef", 3, "...", "a..", true},
        {"maximum 0", "abcdef", 0, "...", "", true},
        {"negative maximum", "abcdef", -1, "...", "", true},
        {"empty text", "", 2, "...", "", false},
        {"no suffix, fits", "abcdef", 6, "", "abcdef", false},
        {"no suffix, cut", "abcdefg", 6, "", "abcdef", true},
        {"first letter of a code", "FW", 1, "", "F", true},
        {"keeps a UTF-8 character whole", "a\xC3\xA9z", 2, "", "a", true},
        {"Latin-1 is cut at the byte", "a\xE9z", 2, "", "a\xE9", true},
        {"UTF-8 suffix cut to nothing", "abc", 2, "\xE2\x80\xA6", "a", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool cut = !c.cut;
        EXPECT_EQ(TXT_FitLen(c.text, c.maximum, c.suffix, cut), c.expected);
        EXPECT_EQ(cut, c.cut);
        EXPECT_LE(c.expected.size(), size_t(std::max(0L, c.maximum)));
    }
}

TEST(Text, RightWithPrefixKeepsTheEndBehindThePrefix) {
    struct Case {
        const char* name;
        std::string text;
        long maximum;
        std::string prefix;
        std::string expected;
    } cases[] = {
        {"fits", "abcdef", 6, "...", "abcdef"},
        {"cut with prefix", "abcdefgh", 6, "...", "...fgh"},
        {"prefix longer than maximum keeps one", "abcdef", 2, "...", "...f"},
        {"no prefix", "abcdef", 3, "", "def"},
        {"no prefix, maximum 0", "abcdef", 0, "", ""},
        {"keeps a UTF-8 character whole", "a\xC3\xA9yz", 3, "", "yz"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TXT_RightWithPrefix(c.text, c.maximum, c.prefix), c.expected);
    }
}

TEST(Text, ComparisonsHonourTheCaseFlag) {
    EXPECT_EQ(TXT_CompareMode(true), 0);
    EXPECT_EQ(TXT_CompareMode(false), 1);
    struct Case {
        const char* name;
        bool got, expected;
    } cases[] = {
        {"equal ignoring case", TXT_IsEqual("ABC", "abc", false), true},
        {"unequal exactly", TXT_IsEqual("ABC", "abc", true), false},
        {"non-ASCII bytes are not folded", TXT_IsEqual("\xC9", "\xE9", false), false},
        {"empty prefix", TXT_StartsWith("abc", "", true), true},
        {"empty prefix of empty text", TXT_StartsWith("", "", true), true},
        {"prefix longer than text", TXT_StartsWith("ab", "abc", true), false},
        {"prefix ignoring case", TXT_StartsWith("HTTP://x", "http://", false), true},
        {"prefix exactly", TXT_StartsWith("HTTP://x", "http://", true), false},
        {"trimmed prefix", TXT_StartsWithTrim("  abc", "ab", true, true), true},
        {"untrimmed prefix", TXT_StartsWithTrim("  abc", "ab", true, false), false},
        {"empty suffix", TXT_EndsWith("abc", "", true), true},
        {"suffix longer than text", TXT_EndsWith("bc", "abc", true), false},
        {"suffix ignoring case", TXT_EndsWith("PAGE.HTM", ".htm", false), true},
        {"suffix exactly", TXT_EndsWith("PAGE.HTM", ".htm", true), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got, c.expected);
    }
}

TEST(Text, SortIgnoringCaseKeepsEqualTextsInTheirOrder) {
    std::vector<std::string> texts{"b", "A", "", "a", "B", "_x", "Z"};
    core::sortIgnoringCase(texts);
    EXPECT_EQ(texts, (std::vector<std::string>{"", "_x", "A", "a", "b", "B", "Z"}));
}

TEST(Text, InStrExSearchesBetweenStartAndEnd) {
    struct Case {
        const char* name;
        std::string text, find;
        bool caseSensitive;
        long start, endPos;
        long position;
    } cases[] = {
        {"whole text", "abcabc", "c", true, 1, core::kNoEnd, 3},
        {"from a start", "abcabc", "c", true, 4, core::kNoEnd, 6},
        {"up to an end", "abcabc", "c", true, 1, 2, 0},
        {"end position inclusive", "abcabc", "bc", true, 4, 6, 5},
        {"match crossing the end", "abcabc", "bc", true, 4, 5, 0},
        {"ignoring case", "abcABC", "B", false, 1, core::kNoEnd, 2},
        {"exactly", "abcABC", "B", true, 1, core::kNoEnd, 5},
        {"start beyond the text", "abc", "c", true, 4, core::kNoEnd, 0},
        {"empty find", "abc", "", true, 1, core::kNoEnd, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        long position = -1;
        EXPECT_EQ(TXT_InStrEx(c.text, c.find, c.caseSensitive, c.start, c.endPos, position),
                  c.position != 0);
        EXPECT_EQ(position, c.position);
    }
    EXPECT_EQ(errorNumberOf([] { TXT_InStrEx("abc", "a", true, 0); }), 5);
}

TEST(Text, CountOfCountsOverlappingMatches) {
    EXPECT_EQ(TXT_CountOf("aaaa", "aa", true), 3);
    EXPECT_EQ(TXT_CountOf("aaa", "aa", true), 2);
    EXPECT_EQ(TXT_CountOf("AbaB", "ab", false), 2);
    EXPECT_EQ(TXT_CountOf("AbaB", "ab", true), 0);
    EXPECT_EQ(TXT_CountOf("abc", "", true), 0);
}

TEST(Text, MidSafeTakesALengthOrAnEndPosition) {
    EXPECT_EQ(TXT_MidSafe("20240131", 5, 2), "01");
    EXPECT_EQ(TXT_MidSafe("20240131", 5, core::kNoLength, 6), "01");
    EXPECT_EQ(TXT_MidSafe("20240131", 7), "31");
    EXPECT_EQ(TXT_MidSafe("abc", 2, 99), "bc");
    EXPECT_EQ(TXT_MidSafe("abc", 4, 1), "");
    EXPECT_EQ(TXT_MidSafe("abc", 1, 0), "");
    EXPECT_EQ(TXT_MidSafe("abc", 3, core::kNoLength, 2), "");
    EXPECT_EQ(errorNumberOf([] { TXT_MidSafe("abc", 0, 1); }), 5);
}

TEST(Text, DropLeftAndRight) {
    EXPECT_EQ(TXT_DropLeft("abcdef", 2), "cdef");
    EXPECT_EQ(TXT_DropRight("abcdef", 2), "abcd");
    EXPECT_EQ(TXT_DropLeft("abc", 3), "");
    EXPECT_EQ(TXT_DropRight("abc", 9), "");
    EXPECT_EQ(TXT_DropLeft("abc", -1), "abc");
    std::string text = "abcdef";
    TXT_DropLeftV(text, 1);
    TXT_DropRightV(text, 1);
    EXPECT_EQ(text, "bcde");
    TXT_DropRightV(text, 10);
    EXPECT_EQ(text, "");
    TXT_DropLeftV(text, 1);
    EXPECT_EQ(text, "");
}

TEST(Text, SplitFirstSetsItsFlagsOnlyAsDocumented) {
    struct Case {
        const char* name;
        std::string text, delimiter;
        bool caseSensitive, notFoundBefore;
        std::string text_after, head, match;
        bool notFound;
    } cases[] = {
        {"found", "Key=Value=x", "=", true, false, "Value=x", "Key", "=", false},
        {"found ignoring case gives the match as it stands", "abcXYdef", "xy", false, false,
         "def", "abc", "XY", false},
        {"found leaves a set flag alone", "a;b", ";", true, true, "b", "a", ";", true},
        {"delimiter first", "=x", "=", true, false, "x", "", "=", false},
        {"not found exactly", "abcXYdef", "xy", true, false, "abcXYdef", "", "old", true},
        {"empty delimiter is never found", "abc", "", true, false, "abc", "", "old", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = c.text, head = "old", match = "old";
        bool notFound = c.notFoundBefore;
        TXT_SplitFirst(text, c.delimiter, head, c.caseSensitive, notFound, true, match);
        EXPECT_EQ(text, c.text_after);
        EXPECT_EQ(head, c.head);
        EXPECT_EQ(match, c.match);
        EXPECT_EQ(notFound, c.notFound);
    }
}

TEST(Text, SplitLastSetsItsFlagsOnlyAsDocumented) {
    struct Case {
        const char* name;
        std::string text, delimiter;
        bool caseSensitive, foundBefore;
        std::string text_after, tail;
        bool found;
    } cases[] = {
        {"found", "a/b/c", "/", true, false, "a/b", "c", true},
        {"found ignoring case", "aXbxc", "X", false, false, "aXb", "c", true},
        {"delimiter last", "a/b/", "/", true, false, "a/b", "", true},
        {"not found leaves the flag", "a/b", "\\", true, false, "a/b", "", false},
        {"not found leaves a set flag", "a/b", "\\", true, true, "a/b", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = c.text, tail = "old";
        bool found = c.foundBefore;
        TXT_SplitLast(text, c.delimiter, tail, c.caseSensitive, found);
        EXPECT_EQ(text, c.text_after);
        EXPECT_EQ(tail, c.tail);
        EXPECT_EQ(found, c.found);
    }
}

TEST(Text, SplitHelpersGiveTheWholeTextWithoutADelimiter) {
    std::string before;
    EXPECT_EQ(TXT_SplitFirstS("abc", ";", true), "abc");
    EXPECT_EQ(TXT_SplitFirstV("abc", ";", true), "abc");
    EXPECT_EQ(TXT_AfterLast("abc", ";", true, before), "abc");
    EXPECT_EQ(before, "abc");

    EXPECT_EQ(TXT_SplitFirstS("db1;/data/site.db;x", ";", true), "db1");
    EXPECT_EQ(TXT_SplitFirstV("db1;/data/site.db;x", ";", true), "/data/site.db;x");
    EXPECT_EQ(TXT_AfterLast("a.B.c", "b", false, before), ".c");
    EXPECT_EQ(before, "a.");
}

TEST(Text, ReplaceAndRemove) {
    struct Case {
        const char* name;
        std::string got, expected;
    } cases[] = {
        {"every occurrence", TXT_Replace("a.b.c", ".", "/", true), "a/b/c"},
        {"ignoring case", TXT_Replace("aXbxc", "x", "-", false), "a-b-c"},
        {"exactly", TXT_Replace("aXbxc", "x", "-", true), "aXb-c"},
        {"empty find", TXT_Replace("abc", "", "x", true), "abc"},
        {"replacement equal under the flag", TXT_Replace("cat", "a", "A", false), "cat"},
        {"no rescan of the replacement", TXT_Replace("aaa", "aa", "a", true), "aa"},
        {"replacement holding the find", TXT_Replace("ab", "a", "aa", true), "aab"},
        {"removal forms a new match", TXT_RemoveChar("a(())b", "()", true), "ab"},
        {"removal ignoring case", TXT_RemoveChar("AbaB", "ab", false), ""},
        {"removal exactly", TXT_RemoveChar("AbaB", "ab", true), "AbaB"},
        {"nothing to remove", TXT_RemoveChar("abc", "", true), "abc"},
        {"access keys", TXT_RemoveAmpV("&File && E&xit"), "File  Exit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got, c.expected);
    }
}

TEST(Text, ReplaceEachSetsChangedOnlyWhenAFindOccurs) {
    bool changed = false;
    EXPECT_EQ(TXT_ReplaceEach("a-b", {"", "A", "zz", "B"}, {"x", "1", "y", "2"}, false, changed),
              "1-2");
    EXPECT_TRUE(changed);

    changed = false;
    EXPECT_EQ(TXT_ReplaceEach("a-b", {"A", "zz"}, {"1", "y"}, true, changed), "a-b");
    EXPECT_FALSE(changed);

    EXPECT_EQ(errorNumberOf([] {
                  bool c = false;
                  TXT_ReplaceEach("ab", {"a", "b"}, {"1"}, true, c);
              }),
              9);
}

TEST(Text, ReplaceCrLfDropsLineBreaksForCsvCells) {
    gCR.clear();
    std::string cell = "line 1\r\nline 2\nline 3\r";
    TXT_ReplaceCrLf(cell);
    EXPECT_EQ(cell, "line 1line 2line 3");
}

TEST(Text, StripSuffixesRepeatsUntilNothingMatches) {
    struct Case {
        const char* name;
        std::string text, list;
        bool caseSensitive;
        std::string expected;
    } cases[] = {
        {"list order decides", "boxes", "s|es", true, "boxe"},
        {"other order", "boxes", "es|s", true, "box"},
        {"repeated passes", "sss", "s", true, ""},
        {"ignoring case", "FILES", "s", false, "FILE"},
        {"exactly", "FILES", "s", true, "FILES"},
        {"empty items are ignored", "boxes", "s||es|", true, "boxe"},
        {"empty list", "boxes", "", true, "boxes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = c.text;
        TXT_StripSuffixes(text, c.list, c.caseSensitive);
        EXPECT_EQ(text, c.expected);
    }
}

TEST(Text, SmallBuilders) {
    std::string path = "/data/site  ";
    TXT_EnsureSuffix(path, "/", true, true);
    EXPECT_EQ(path, "/data/site/");
    TXT_EnsureSuffix(path, "/", true, true);
    EXPECT_EQ(path, "/data/site/");
    std::string name = "page.HTM";
    TXT_EnsureSuffix(name, ".htm", false, false);
    EXPECT_EQ(name, "page.HTM");

    std::string file = "my file.log";
    TXT_QuoteIfSpace(file, " ", true);
    EXPECT_EQ(file, "\"my file.log\"");
    std::string plain = "file.log";
    TXT_QuoteIfSpace(plain, " ", true);
    TXT_QuoteIfSpace(plain, "", true);
    EXPECT_EQ(plain, "file.log");

    std::string attributes;
    TXT_AppendWithBar("Hidden", attributes);
    EXPECT_EQ(attributes, "Hidden");
    TXT_AppendWithBar("System", attributes);
    TXT_AppendWithBar("Read Only", attributes);
    EXPECT_EQ(attributes, "Hidden| System| Read Only");
    TXT_LastBarToAnd(attributes);
    EXPECT_EQ(attributes, "Hidden| System and Read Only");
    std::string single = "Hidden";
    TXT_LastBarToAnd(single);
    EXPECT_EQ(single, "Hidden");

    std::string target = "b";
    EXPECT_TRUE(TXT_ConcatSafe("a", target, true));
    EXPECT_TRUE(TXT_ConcatSafe("c", target, false));
    EXPECT_EQ(target, "abc");

    EXPECT_EQ(TXT_Repeat("ab", 3), "ababab");
    EXPECT_EQ(TXT_Repeat("ab", 0), "");
    EXPECT_EQ(TXT_RepeatSafe("-", 4), "----");
    EXPECT_EQ(TXT_RepeatSafe("-", -1), "");
}

TEST(Text, AccelCaptionMarksTheKeyAndLeavesTheRest) {
    struct Case {
        const char* name;
        std::string caption, key, expected, rest;
    } cases[] = {
        {"key in the caption", "Open file", "f", "Open &file", "ile"},
        {"found ignoring case", "Save", "s", "&save", "ave"},
        {"key not in the caption", "Open", "x", "&xOpen", "Open"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string caption = c.caption;
        EXPECT_EQ(TXT_AccelCaption(caption, c.key), c.expected);
        EXPECT_EQ(caption, c.rest);
    }
}

TEST(Text, CaseAndNormalize) {
    EXPECT_EQ(TXT_ProperCase("hELLO wORLD"), "Hello world");
    EXPECT_EQ(TXT_ProperCase(""), "");
    EXPECT_EQ(TXT_ProperCase("\xE9t\xC9"), "\xE9t\xC9");
    EXPECT_EQ(TXT_Normalize("  Mixed  ", "(none)", true, true, false, "[", "]"), "[mixed]");
    EXPECT_EQ(TXT_Normalize("  Mixed  ", "(none)", false, false, true, "", ""), "  MIXED  ");
    EXPECT_EQ(TXT_Normalize("   ", "(none)", true, false, false, "[", "]"), "(none)");
    EXPECT_EQ(TXT_Normalize("", "", false, false, false, "[", "]"), "");
}

TEST(Text, CharacterClasses) {
    struct Case {
        const char* name;
        bool got, expected;
    } cases[] = {
        {"letter", TXT_IsAlnum("q", false), true},
        {"upper letter", TXT_IsAlnum("Zed", false), true},
        {"digit without the flag", TXT_IsAlnum("7", false), false},
        {"digit with the flag", TXT_IsAlnum("7", true), true},
        {"accented letter", TXT_IsAlnum("\xE9", true), false},
        {"empty", TXT_IsAlnum("", true), false},
        {"table name", TXT_IsWordChars("LogLines_2"), true},
        {"blank in a name", TXT_IsWordChars("Log Lines"), false},
        {"quote in a name", TXT_IsWordChars("Log\"Lines"), false},
        {"empty name", TXT_IsWordChars(""), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got, c.expected);
    }
}

TEST(Text, ClipboardIsClearedThenSet) {
    struct Recorder : testsupport::FakeUserInterface {
        std::vector<std::string> calls;
        void clipboardClear() override { calls.push_back("clear"); }
        void clipboardSetText(const std::string& t) override { calls.push_back("set " + t); }
    } ui;
    TXT_ClipboardSet("copied");
    EXPECT_EQ(ui.calls, (std::vector<std::string>{"clear", "set copied"}));
}

TEST(Text, CrLfInitSetsTheSharedBreaks) {
    gCR.clear();
    gCRCR.clear();
    gLF.clear();
    TXT_CrLfInit();
    EXPECT_EQ(gCR, "\r");
    EXPECT_EQ(gCRCR, "\r\r");
    EXPECT_EQ(gLF, "\n");
}

TEST(UnusedCharFind, TakesTheFirstAbsentCandidateInOrder) {
    std::string firstRowTaken;  // holds "!!" to "!\xFE", and "\"!" but not "\"\""
    for (int c = 33; c <= 254; ++c) firstRowTaken += std::string("!") + char(c);
    struct Case {
        const char* name;
        std::string text;
        int width, excluded1, excluded2, start;
        std::string expected;
    } cases[] = {
        {"width 1, empty text", "", 1, 0, 0, 33, "!"},
        {"width 1 skips a present character", "a!b", 1, 0, 0, 33, "\""},
        {"width 2, second character varies fastest", "x!!y", 2, 0, 0, 33, "!\""},
        {"width 2, excluded code", "", 2, 33, 0, 33, "\"\""},
        {"width 2, both codes excluded", "", 2, 33, 34, 33, "##"},
        {"width 2, first character moves on", firstRowTaken, 2, 0, 0, 33, "\"\""},
        {"start code", "", 2, 0, 0, 253, "\xFD\xFD"},
        {"width 3", "!!!", 3, 0, 0, 33, "!!\""},
        {"other widths mean 3", "", 7, 0, 0, 33, "!!!"},
        {"pair present only across a triple", "!!x!\"", 3, 0, 0, 33, "!!!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TXT_UnusedCharFind(c.text, c.width, c.excluded1, c.excluded2, c.start),
                  c.expected);
    }
}

TEST(UnusedCharFind, RaisesWhenEveryCandidateOccurs) {
    std::string all;
    for (int c = 33; c <= 254; ++c) all += char(c);
    EXPECT_EQ(errorNumberOf([&] { TXT_UnusedCharFind(all, 1, 0, 0, 33); }), 9910);
    EXPECT_EQ(TXT_UnusedCharFind(all, 2, 0, 0, 33), "!!");
    EXPECT_EQ(errorNumberOf([] { TXT_UnusedCharFind("", 2, 0, 0, 255); }), 9910);
}

// An escape that joins items with the marker and splits them again at its occurrences,
// left to right: the marker must come back out exactly where it went in.
std::vector<std::string> splitAt(const std::string& text, const std::string& marker) {
    std::vector<std::string> items;
    size_t from = 0;
    for (size_t p; (p = text.find(marker, from)) != std::string::npos; from = p + marker.size())
        items.push_back(text.substr(from, p - from));
    items.push_back(text.substr(from));
    return items;
}

TEST(UnusedCharFind, AcceptPicksTheFirstCandidateWithAnExactRoundTrip) {
    const std::vector<std::string> items = {"a!", "b"};
    auto joined = [&](const std::string& marker) { return items[0] + marker + items[1]; };
    auto roundTrips = [&](const std::string& marker) {
        return splitAt(joined(marker), marker) == items;
    };
    // "!!" is absent from "a!b", yet "a!!!b" splits back as "a" and "!b".
    EXPECT_EQ(TXT_UnusedCharFind("a!b", 2, 0, 0, 33), "!!");
    EXPECT_FALSE(roundTrips("!!"));
    EXPECT_EQ(TXT_UnusedCharFind("a!b", 2, 0, 0, 33, roundTrips), "!\"");

    std::vector<std::string> offered;
    TXT_UnusedCharFind("!!", 2, 0, 0, 33, [&](const std::string& candidate) {
        offered.push_back(candidate);
        return offered.size() == 2;
    });
    EXPECT_EQ(offered, (std::vector<std::string>{"!\"", "!#"}));
}

TEST(WrapText, NormalisesLineBreaks) {
    struct Case {
        const char* name;
        std::string text;
        long maxBreaks;
        std::string filler;
        bool singleBreaks, tabs;
        std::string expected;
    } cases[] = {
        {"empty", "", 2, "", true, false, ""},
        {"three empty lines become one", "a\r\n\r\n\r\n\r\nb", 2, "", true, false,
         "a\r\n\r\nb"},
        {"single breaks stay single", "a\r\nb\r\nc", 2, "", true, false, "a\r\nb\r\nc"},
        {"lone LF and CR become CR LF", "a\nb\rc", 2, "", true, false, "a\r\nb\r\nc"},
        {"LF CR is one break", "a\n\rb", 2, "", true, false, "a\r\nb"},
        {"CR LF then LF CR", "a\r\n\n\rb", 2, "", true, false, "a\r\n\r\nb"},
        {"lone LF kept without single breaks", "a\nb", 2, "", false, false, "a\nb"},
        {"runs of lone CRs", "a\r\r\r\rb", 2, "", true, false, "a\r\n\r\nb"},
        {"n = 0 joins with the filler", "a\r\nb\nc", 0, " ", true, false, "a b c"},
        {"n = 0, two breaks", "a\r\n\r\nb", 0, "_", true, false, "a___b"},
        {"extra breaks add two fillers each", "a\r\n\r\nb", 1, "-", true, false,
         "a--\r\nb"},
        {"leading blanks move before the break", "a\r\n  b", 2, "", true, false,
         "a  \r\nb"},
        {"tabs move with the tab flag", "a\r\n\tb", 2, "", true, true, "a\t\r\nb"},
        {"tabs stay without it", "a\r\n\tb", 2, "", true, false, "a\r\n\tb"},
        {"a blank line is taken into the line before", "a\r\n \r\nb", 2, "", true, false,
         "a \r\nb"},
        {"breaks at both ends", "\r\na\r\n", 2, "", true, false, "\r\na\r\n"},
        // A marker chosen from the text alone ("!!") would fuse with the "!"s here.
        {"marker-like text around a break", "a!\r\n!b", 2, "", true, false, "a!\r\n!b"},
        {"filler holding break characters", "a\r\nb", 0, "\r\n", true, false, "a\r\nb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TXT_WrapText(c.text, c.maxBreaks, c.filler, c.singleBreaks, c.tabs),
                  c.expected);
    }
}

}  // namespace
