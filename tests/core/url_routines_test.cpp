#include <gtest/gtest.h>

#include <cstdint>

#include "core/url_routines.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"

using namespace std::string_literals;

TEST(UrlDecode, DecodesOnlyPercentBeforeTwoHexDigits) {
    struct Case {
        std::string text, skip, expected;
    };
    const Case cases[] = {
        {"a%20b", "", "a b"},
        {"%2541", "", "%41"},  // a decoded "%" is not decoded again
        {"a%2Fb", "2F", "a%2Fb"},
        {"a%2fb", "2F", "a%2fb"},
        {"a%2Fb%20", "2f", "a%2Fb "},
        {"c%2B%2B+%25x%20y", "2B,25", "c%2B%2B+%25x y"},
        {"abc%4", "", "abc%4"},
        {"%zz", "", "%zz"},
        {"%4G1", "", "%4G1"},
        {"100%", "", "100%"},
        {"%%41", "", "%A"},
        {"%C3%A9t%c3%a9", "", "\xc3\xa9t\xc3\xa9"},
        {"a%00b", "", "a\0b"s},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " skip " + c.skip);
        std::string text = c.text;
        EXPECT_EQ(HHTML_URLDecode(text, c.skip), c.expected);
        EXPECT_EQ(text, c.expected);
    }
}

TEST(SplitUrl, CutsAndJoinsTheParts) {
    struct Case {
        std::string url, scheme, host, path, params, query, fragment;
    };
    const Case cases[] = {
        {"ftp://host/dir/page.htm;p?q=1#top", "ftp", "host", "dir/page.htm", "p", "q=1", "top"},
        {"mailto:x", "mailto", "", "x", "", "", ""},
        {"c:\\dir\\file.htm", "c", "", "\\dir\\file.htm", "", "", ""},
        {"ab cd:x", "", "", "ab cd:x", "", "", ""},
        {"//host", "", "host", "", "", "", ""},
        // the host ends at whichever separator comes first
        {"http://host?q=a/b", "http", "host", "", "", "q=a/b", ""},
        {"http://host;p?q", "http", "host", "", "p", "q", ""},
        {"https://www.google.com/search?q=a%20b&hl=en", "https", "www.google.com", "search", "",
         "q=a%20b&hl=en", ""},
        {"http://h/a?x#f#g", "http", "h", "a", "", "x", "f#g"},
        {"", "", "", "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        std::string scheme = "old", host = "old", path = "old", params = "old", query = "old",
                    fragment = "old";
        HHTML_SplitURL(c.url, scheme, host, path, params, query, fragment);
        EXPECT_EQ(scheme, c.scheme);
        EXPECT_EQ(host, c.host);
        EXPECT_EQ(path, c.path);
        EXPECT_EQ(params, c.params);
        EXPECT_EQ(query, c.query);
        EXPECT_EQ(fragment, c.fragment);
    }
    EXPECT_EQ(HHTML_JoinURL("ftp", "host", "dir/page.htm", "p", "q=1", "top"),
              "ftp://host/dir/page.htm;p?q=1#top");
    // always scheme://host/, so not the inverse of a split for "mailto:x"
    EXPECT_EQ(HHTML_JoinURL("mailto", "", "x", "", "", ""), "mailto:///x");
    EXPECT_EQ(HHTML_JoinURL("http", "h", "", "", "", ""), "http://h/");

    std::string fragment = "old";
    EXPECT_EQ(HHTML_CutFragment("page.htm", fragment), "page.htm");
    EXPECT_EQ(fragment, "");
}

TEST(PathToFileUrl, EncodesAbsolutePathsOnly) {
    EXPECT_EQ(HHTML_PathToFileURL("/home/u/a b/x#1.htm"), "file:///home/u/a%20b/x%231.htm");
    EXPECT_EQ(HHTML_PathToFileURL("/srv/100%/\xc3\xa4?.htm"), "file:///srv/100%25/%C3%A4%3F.htm");
    EXPECT_EQ(HHTML_PathToFileURL("help/F.htm"), "help/F.htm");
    EXPECT_EQ(HHTML_PathToFileURL("c:\\a b\\x.htm"), "c:\\a b\\x.htm");
}

TEST(TextBefore, CutsAtTheFirstDelimiter) {
    EXPECT_EQ(HTML_TextBefore("a<b<c", "<"), "a");
    EXPECT_EQ(HTML_TextBefore("a<b<c", "b<"), "a<");
    EXPECT_EQ(HTML_TextBefore("abc", "x"), "abc");
}

TEST(EscapeNonPrint, EscapesControlCharactersAndKeepsUtf8) {
    struct Case {
        std::string text;
        bool keepBreaks;
        std::string expected;
    };
    const Case cases[] = {
        {"a\tb", false, "a&#9b"},
        {"a\r\nb", true, "a\r\nb"},
        {"a\r\nb", false, "a&#13&#10b"},
        {"x\x7f", false, "x&#127"},
        {"caf\xc3\xa9 \xe2\x82\xac", false, "caf\xc3\xa9 \xe2\x82\xac"},  // UTF-8 kept whole
        {"\xc2\x85", false, "&#133"},                                      // a C1 control in UTF-8
        {"Latin-1 \xe9", false, "Latin-1 \xe9"},
        {"lone \x85", false, "lone &#133"},
        {"nul\0"s, false, "nul&#0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(HTML_EscapeNonPrint(c.text, c.keepBreaks), c.expected);
    }
    // no 16-bit limit on the length
    const std::string big(70000, 'a');
    EXPECT_EQ(HTML_EscapeNonPrint(big + "\t", false), big + "&#9");
}

TEST(DecodeEntities, DecodesInOneScanWithoutRescanning) {
    struct Case {
        std::string text, expected;
    };
    const Case cases[] = {
        {"&#65;", "A"},
        {"&#65x", "Ax"},
        {"&#x41;&#X4a;", "AJ"},
        {"&#233;", "\xc3\xa9"},
        {"&#999;", "&#999;"},  // out of range: left as it is
        {"&#abc;", "&#abc;"},
        {"&#", "&#"},
        {"&amp;lt;", "&lt;"},
        {"&AMP;", "&"},
        {"&Uuml;", "\xc3\x9c"},
        {"&UUML;", "???UUML???"},
        {"&;", "&"},
        {"&nbsp;&quot;&copy;", " \"\xc2\xa9"},
        {"&abcdefghi;", "???abcdefghi???"},
        {"&abcdefghij;", "&abcdefghij;"},  // a name of ten characters is not a reference
        {"&a&lt;", "&a<"},
        {"\xc2\xa1 &amp; \xa1", "\xc2\xa1 & \xa1"},  // an inverted "!" stays itself
        {"AT&T and more", "AT&T and more"},
        {"a &lt; b &gt; c", "a < b > c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(HTML_DecodeEntities(c.text, false), c.expected);
    }
}

TEST(DecodeEntities, ReportsAnOutOfRangeNumberWhenAsked) {
    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder responder;
    responder.press("&# followed by >>999<< found. This is invalid. Should be follwed by numeric "
                    "value 0-255",
                    "&OK");
    EXPECT_EQ(HTML_DecodeEntities("x&#999;", true), "x&#999;");
    EXPECT_EQ(responder.pending(), 0u);
    // without the flag no box appears (the responder would refuse it)
    EXPECT_EQ(HTML_DecodeEntities("x&#999;", false), "x&#999;");
}

TEST(OptionsDefault, SetsTheFirstFiveFlagsOnly) {
    struct Options {
        int16_t TagNameListOff = 0, WatchListOff = 0, UrlListOff = 0, MailListOff = 0;
        bool Flag5 = false;
        int16_t BlocksOff = 0;
    } options;
    HTML_OptionsDefault(options);
    EXPECT_EQ(options.TagNameListOff, -1);
    EXPECT_EQ(options.WatchListOff, -1);
    EXPECT_EQ(options.UrlListOff, -1);
    EXPECT_EQ(options.MailListOff, -1);
    EXPECT_TRUE(options.Flag5);
    EXPECT_EQ(options.BlocksOff, 0);
}
