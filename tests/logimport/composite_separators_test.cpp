#include <gtest/gtest.h>

#include "logimport/composite_separators.h"

namespace {
using K = CompositePart::Kind;
CompositePart lit(const char* t) { return {K::Literal, t}; }
const CompositePart w{K::Blanks, "%w"}, W{K::OptionalBlanks, "%W"}, nl{K::LineBreaks, "\\n"};
}  // namespace

TEST(CompositeSepMatch, Cases) {
    struct Case {
        const char* name;
        CompositeSeparator c;
        std::string line;
        long from;
        bool found;
        long start, length;  // 1-based start, characters covered
    } cases[] = {
        {"one literal acts as a plain separator", {lit("--")}, "ab--cd", 1, true, 3, 2},
        {"line breaks run consumed once", {lit("x"), nl}, "ax\r\n\rb", 1, true, 2, 4},
        {"%w fails where literals touch", {lit("a"), w, lit("b")}, "ab a b", 1, true, 4, 3},
        {"%W succeeds where they touch", {lit("a"), W, lit("b")}, "ab a b", 1, true, 1, 2},
        {"tab is white space", {w}, "a\t\tb", 1, true, 2, 2},
        {"retry after a later piece fails", {lit("-"), lit("x")}, "-a-x", 1, true, 3, 2},
        {"anchor not found", {lit("#")}, "abc", 1, false, 1, -1},
        {"leading %W moves the start back over blanks", {W, lit(":")}, "a  :b", 1, true, 2, 3},
        {"leading %W never before the search start", {W, lit(":")}, "a  :b", 3, true, 3, 2},
        {"only %W matches here, maybe empty", {W}, "ab", 2, true, 2, 0},
        {"\\n at the end of a line without CR", {lit(" "), nl}, "a ", 1, true, 2, 1},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        CompositeList list;
        int n = STTA_CompositeAdd(list, c.c);
        long start = c.from, length = 0;
        ASSERT_EQ(STTA_CompositeSepMatch(list, n, c.line, start, length), c.found);
        EXPECT_EQ(length, c.length);
        EXPECT_EQ(start, c.start);
    }
}

TEST(SepFindAndAt, PlainSeparators) {
    long start = 3;
    EXPECT_TRUE(STTA_SepFind("b", "abab", start));
    EXPECT_EQ(start, 4);
    start = 5;
    EXPECT_FALSE(STTA_SepFind("b", "abab", start));
    EXPECT_EQ(start, 5);
    long length = 0;
    EXPECT_TRUE(STTA_SepAt("ba", "abab", 2, length));
    EXPECT_EQ(length, 2);
    EXPECT_FALSE(STTA_SepAt("ba", "abab", 4, length));
    EXPECT_EQ(length, -1);
}
