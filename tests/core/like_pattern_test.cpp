#include <gtest/gtest.h>

#include "core/like_pattern.h"
#include "platform/sys/rt_error.h"

using core::LikeCase;
using core::LikePattern;

TEST(LikePattern, MatchesLikeVb) {
    struct Case {
        const char* pattern;
        const char* text;
        bool binary;       // result with the binary compare
        bool ignoreAscii;  // result with ASCII letters folded
    };
    const Case cases[] = {
        {"", "", true, true},
        {"", "a", false, false},
        {"abc", "abc", true, true},
        {"abc", "ABC", false, true},
        {"abc", "abcd", false, false},
        {"a?c", "axc", true, true},
        {"a?c", "ac", false, false},
        {"a#c", "a7c", true, true},
        {"a#c", "axc", false, false},
        {"*", "", true, true},
        {"**", "x", true, true},
        {"a*", "a", true, true},
        {"*a", "ba", true, true},
        {"*a", "ab", false, false},
        {"a*b*c", "aXbYbZc", true, true},
        {"a*b*c", "aXcYb", false, false},
        // the middle segment must leave room for the last one
        {"*ab*ab", "ab", false, false},
        {"*ab*ab", "abab", true, true},
        {"*.google.*/*", "https://www.google.co.uk/search?q=x", true, true},
        {"*.google.*/*", "https://www.google.com", false, false},
        {"[a-c]x", "bx", true, true},
        {"[a-c]x", "Bx", false, true},
        {"[!a-c]x", "dx", true, true},
        {"[!a-c]x", "Bx", true, false},
        {"[a-z,A-Z]:*", ",:x", true, true},
        {"[-a]", "-", true, true},
        {"[a-]", "-", true, true},
        {"[*?#]", "?", true, true},
        {"[*?#]", "x", false, false},
        {"a[]b", "ab", true, true},
        {"[!]", "z", true, true},
        {"]", "]", true, true},
        {"#*[0-9]", "12", true, true},
        // bytes above 127 are themselves, never folded
        {"\xe4*", "\xe4x", true, true},
        {"\xc4", "\xe4", false, false},
        // many stars over a text that almost matches: no exponential search
        {"*a*a*a*a*a*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " ~ " + c.text);
        EXPECT_EQ(LikePattern(c.pattern).matches(c.text), c.binary);
        EXPECT_EQ(LikePattern(c.pattern, LikeCase::IgnoreAscii).matches(c.text), c.ignoreAscii);
    }
}

TEST(LikePattern, InvalidPatternsRaiseError93) {
    for (const char* pattern : {"[abc", "a[", "[z-a]"}) {
        SCOPED_TRACE(pattern);
        try {
            LikePattern p(pattern);
            FAIL() << "no error";
        } catch (const sys::RtError& e) {
            EXPECT_EQ(e.number(), 93);
            EXPECT_NE(e.description().find(pattern), std::string::npos);
        }
    }
}

TEST(LikePattern, CompiledPatternIsReusable) {
    LikePattern p("*.bing.*/*");
    EXPECT_TRUE(p.matches("https://www.bing.com/search?q=a"));
    EXPECT_FALSE(p.matches("https://www.example.com/"));
    EXPECT_TRUE(p.matches("http://cn.bing.com/"));
    EXPECT_TRUE(core::likeMatch("file.LOG", "*.log", LikeCase::IgnoreAscii));
    EXPECT_TRUE(LikePattern().matches(""));
}
