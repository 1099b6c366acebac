#include <random>
#include <string>

#include <gtest/gtest.h>

#include "core/ini_encoding.h"
#include "platform/sys/rt_error.h"

namespace {

std::string encodeValue(const std::string& v) {
    std::string s = INI_EncodeText(v, false, false, true, true, true);
    INI_EscapeCtlChars(s);
    return s;
}

std::string decodeValue(std::string s) {
    INI_UnescapeCtlChars(s);
    INI_DecodeCodes(s);
    return s;
}

// What the profile reader does to a stored value: blanks trimmed, one pair of
// surrounding double quotes dropped.
std::string asReadBack(std::string s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; };
    while (!s.empty() && blank(s.front())) s.erase(0, 1);
    while (!s.empty() && blank(s.back())) s.pop_back();
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
    return s;
}

TEST(IniEncoding, ValuesSurviveTheReader) {
    const std::string m(2, '\xA0');
    const char* cases[] = {
        "a=b [c] d",  "line1\r\nline2", "\"quoted\"", "\"",         "\"\"",
        "ends  ",     "  starts",       " ",          "\t tab",     "lone\rCR\nLF",
        "nul\0x",     "!~!@#!plain",    "\xA0\xA0",   "x\xA0\xA0y", "\xA0\xA0quote.",
        "\xA0\xA0<< less two.", "\xA0\xA0" "CRLF.", "x!!\x01",  "\x0c\x0b",
    };
    for (const char* raw : cases) {
        std::string v = raw;
        if (v == "nul") v = std::string("nul\0x", 5);
        SCOPED_TRACE(v);
        std::string stored = encodeValue(v);
        EXPECT_EQ(stored.find_first_of("\r\n"), std::string::npos);
        EXPECT_EQ(decodeValue(asReadBack(stored)), v);
    }
}

TEST(IniEncoding, KnownForms) {
    const std::string m(2, '\xA0');
    EXPECT_EQ(INI_EncodeText("a=b", false, true, true, false, false), "a" + m + "eq.b");
    EXPECT_EQ(INI_EncodeText("[s]", true, false, true, false, false), m + "(SQ.s" + m + "SQ).");
    EXPECT_EQ(INI_EncodeText("\"x\"", false, false, true, true, true), m + "quote.x" + m + "quote.");
    EXPECT_EQ(INI_EncodeText("x ", false, false, true, true, true), "x " + m + "<< less two.");
    EXPECT_EQ(INI_EncodeText("plain", true, true, true, true, true), "plain");

    std::string v = std::string("a\tb");
    INI_EscapeCtlChars(v);
    EXPECT_EQ(v, "!~!@#!!!!a!!!009b");
    std::string prefixed = "!~!@#!x";
    INI_EscapeCtlChars(prefixed);
    EXPECT_EQ(prefixed, "!~!@#!!!!!~!@#!x");
    std::string unmarked = "!~!@#!";  // a stored value with nothing after its prefix
    INI_UnescapeCtlChars(unmarked);
    EXPECT_EQ(unmarked, "");
}

// "x!!" then the marker "!!!" would read back as "x" + "!!!000"...; the marker chosen
// must give the value back.
TEST(IniEncoding, EscapeMarkerNeverFusesWithTheText) {
    std::string v = std::string("x!!\0!", 5);
    std::string s = v;
    INI_EscapeCtlChars(s);
    INI_UnescapeCtlChars(s);
    EXPECT_EQ(s, v);
}

TEST(IniEncoding, RandomValuesRoundTrip) {
    const std::string alphabet = std::string("ab =[]\"!~@#\r\n\t\xA0 \0|{}", 20);
    std::mt19937 rng(7);
    for (int i = 0; i < 3000; ++i) {
        std::string v;
        int len = std::uniform_int_distribution<int>(0, 12)(rng);
        for (int k = 0; k < len; ++k)
            v += alphabet[std::uniform_int_distribution<size_t>(0, alphabet.size() - 1)(rng)];
        SCOPED_TRACE(::testing::PrintToString(v));
        ASSERT_EQ(decodeValue(asReadBack(encodeValue(v))), v);
    }
}

}  // namespace
