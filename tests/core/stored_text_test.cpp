#include <gtest/gtest.h>

#include "core/stored_text.h"

TEST(StoredText, StrIsTrueIsFalseOnlyForFalseZeroOrBlank) {
    struct Case {
        const char* text;
        bool expected;
    } cases[] = {
        {"False", false}, {"  False ", false}, {"0", false}, {"", false},  {"   ", false},
        {"false", true},  {"0.0", true},       {"No", true}, {"True", true}, {"-1", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SYS32_StrIsTrue(c.text), c.expected);
    }
    std::string sep;
    SYS32_NbspBarSep(sep);
    EXPECT_EQ(sep, "\xA0||\xA0");
}
