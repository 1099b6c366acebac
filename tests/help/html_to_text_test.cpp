#include <gtest/gtest.h>

#include "help/html_to_text.h"
#include "core/url_routines.h"

namespace {

// One document through the engine with the caller's limits and open lists.
struct Doc {
    HTMLGEN_Limits limits;
    HTMLGEN_Options options;
    HTMLGEN_Status status;
    HTMLGEN_ScanState scan;
    HTMLGEN_Delimiters delimiters{{}, {}, {}};
    HTMLGEN_CaptureStates captures;
    std::vector<std::string> text, tagNames, tagTexts;
    bool ok = false;

    explicit Doc(bool wantTags = false) {
        limits.WantText = true;
        limits.WantTags = wantTags;
        limits.MaxTotal = 2147483647;
        limits.MaxListLen = 100000;
    }
    Doc& lines(const std::vector<std::string>& ls, bool initialise = true, bool last = true) {
        ok = HTMLGEN_Dissect(ls, last, limits, options, status, scan, delimiters, captures, text, tagNames, tagTexts,
                             initialise);
        return *this;
    }
    std::string allText() const {
        std::string all;
        for (std::size_t i = 1; i < text.size(); ++i) all += text[i];
        return all;
    }
};

const std::string& sep = gHtmlListSep;

}  // namespace

TEST(HtmlToText, RealWorldSnippetsGiveTheirRunningText) {
    struct Case {
        const char* name;
        std::string html, expected;
    };
    const Case cases[] = {
        {"inline tags", "Hello <b>World</b>!", "Hello World!"},
        {"nested tags", "<div><p>One <em>two <strong>three</strong></em></p></div>", "One two three"},
        {"comment holding >", "a<!-- x > y -->b", "ab"},
        {"script holding < with mixed-case end", "<script>if (a<b) c();</SCRIPT>rest", "rest"},
        {"style block", "<style type=\"text/css\">p > a { color: red }</style>Body", "Body"},
        {"quoted attribute holding >", "<a title=\"x>y\">z</a>", "z"},
        {"server block closed at once", "<% x %>after", "after"},
        {"server block holding >", "<% a > b %>after", "after"},
        {"doctype and head", "<!DOCTYPE html><html><head><title>T</title></head><body>B</body></html>", "TB"},
        {"entities stay as written", "Fish &amp; chips &lt;3", "Fish &amp; chips &lt;3"},
        {"line breaks stay", "one\r\ntwo<br>three", "one\r\ntwothree"},
        {"list items", "<ul>\n<li>first</li>\n<li>second</li>\n</ul>", "\nfirst\nsecond\n"},
        {"tag left open", "<a <b>c", "c"},
        {"< with no > before the end", "x<y z", "x"},
        {"multi-line attribute", "<a\nhref=\"x\">link</a>", "link"},
        {"text only", "no tags at all", "no tags at all"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Doc r;
        r.lines({c.html});
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.allText(), c.expected);
        bool ok = false;
        EXPECT_EQ(HTMLGEN_TextOf(c.html, ok), c.expected);
        EXPECT_TRUE(ok);
    }
}

TEST(HtmlToText, TagsLineUpWithTheTextThatFollowsThem) {
    Doc r(true);
    r.lines({"Hello <b>World</b>"});
    ASSERT_GE(r.text.size(), 4u);
    EXPECT_EQ(r.text[1], "Hello ");
    EXPECT_EQ(r.text[2], "World");
    EXPECT_EQ(r.tagNames[2], "B");
    EXPECT_EQ(r.tagTexts[2], "<b>");
    EXPECT_EQ(r.text[3], "");
    EXPECT_EQ(r.tagNames[3], "/B");
    EXPECT_EQ(r.tagTexts[3], "</b>");
    // A document ending in running text emits no extra tag.
    Doc t(true);
    t.lines({"<i>x</i> tail"});
    EXPECT_EQ(t.options.Index, 3);
    EXPECT_EQ(t.text[3], " tail");

    Doc open(true);
    open.lines({"<a <b>c"});
    EXPECT_EQ(open.tagTexts[2], "<a <");
    EXPECT_EQ(open.tagNames[3], "B");
    Doc unclosed(true);
    unclosed.lines({"x<y z"});
    EXPECT_EQ(unclosed.tagNames[2], "Y");
    EXPECT_EQ(unclosed.tagTexts[2], "<y z");
}

TEST(HtmlToText, BlocksGoToTheirLists) {
    Doc r(true);
    r.options.BlocksOff = false;
    r.lines({"a<!-- x > y -->b<script>if (a<b) c();</SCRIPT><style>p{}</style><% a > b %><!DOCTYPE html>"});
    EXPECT_EQ(r.allText(), "ab");
    EXPECT_EQ(r.status.Comments, sep + "<!-- x > y -->" + sep + "<!DOCTYPE html>");
    EXPECT_EQ(r.status.Scripts, sep + "<script>if (a<b) c();</SCRIPT>" + sep + "<% a > b %>");
    EXPECT_EQ(r.status.Styles, sep + "<style>p{}</style>");
    EXPECT_EQ(r.tagNames[2], "!--");
    EXPECT_EQ(r.tagTexts[2], "<!-- x > y -->");
}

TEST(HtmlToText, LinesCarryAcrossLinesAndCalls) {
    Doc r;
    r.lines({"abc", "def<b>"});
    EXPECT_EQ(r.allText(), "abcdef");

    // Text carried into an empty last line still reaches the output.
    Doc empty;
    empty.lines({"abc", ""});
    EXPECT_EQ(empty.allText(), "abc");

    // A document in two calls: the second call appends after the first call's tags.
    Doc calls(true);
    calls.lines({"one<b>two"}, true, false);
    calls.lines({"</b>three"}, false, true);
    EXPECT_EQ(calls.text[1], "one");
    EXPECT_EQ(calls.text[2], "two");
    EXPECT_EQ(calls.tagNames[3], "/B");
    EXPECT_EQ(calls.text[3], "three");

    // A tag that spans lines.
    Doc spans;
    spans.lines({"x<a href=", "\"y\">z</a>"});
    EXPECT_EQ(spans.allText(), "xz");
}

TEST(HtmlToText, ListsAndLimits) {
    struct Case {
        const char* name;
        int64_t maxListLen;
        bool stripEndSlash;
        std::string html, tagNames;
    };
    const Case cases[] = {
        {"distinct names, kinds heard once", 1000, false, "<b>x</b><B>y</b><p><div></div><DIV>", ",B,P,DIV,/DIV"},
        {"end slash stripped", 1000, true, "<b>x</b><i>", ",B,I"},
        {"limit 0 takes one entry", 0, false, "<p><div><span>", ",P"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Doc r;
        r.limits.TagListSep = ",";
        r.limits.MaxListLen = c.maxListLen;
        r.limits.StripEndSlash = c.stripEndSlash;
        r.lines({c.html});
        EXPECT_EQ(r.status.TagNames, c.tagNames);
    }

    Doc watch;
    watch.limits.WatchTag = "A";
    watch.limits.StripEndSlash = true;
    watch.lines({"<a href=x>1</a><A HREF=x>2</A><a href=y>3</a>"});
    // Each kind is heard once; the end tag never counts as the watched tag.
    EXPECT_EQ(watch.status.WatchTexts, sep + "<a href=x>");

    Doc total;
    total.limits.MaxTotal = 5;
    total.lines({"abcdef<b>gh"});
    EXPECT_EQ(total.allText(), "abcdef");

    Doc none;
    none.lines({});
    EXPECT_TRUE(none.ok);
    EXPECT_EQ(none.status.StatusText, "");
    EXPECT_EQ(none.text.size(), 2u);
}

TEST(HtmlToText, AMegabytePageComesOutWhole) {
    std::string html = "<html><head><style>p{}</style><script>var x = 1 < 2;</script></head><body>";
    std::string expected;
    int n = 0;
    while (html.size() < 1'000'000) {
        const std::string word = "word" + std::to_string(n++);
        html += "<p class=\"c\">" + word + " &amp; <a href=\"#" + word + "\">link</a><!-- note --></p>\r\n";
        expected += word + " &amp; link\r\n";
    }
    html += "</body></html>";
    bool ok = false;
    EXPECT_EQ(HTMLGEN_TextOf(html, ok), expected);
    EXPECT_TRUE(ok);
}

TEST(LinkCapture, UrlsAndMailsWithTheirTexts) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::string urls, mails, text;
        HTMLGEN_Delimiters delimiters{{}, {" "}, {" ", "\""}};
    };
    const Case cases[] = {
        {"www in running text", {"see www.host.com next"}, sep + "www.host.com", "", "see www.host.com next"},
        {"http with www inside is one entry", {"http://www.x.org y"}, sep + "http://www.x.org", "",
         "http://www.x.org y"},
        {"link in a tag and its text", {"<a href=\"http://a.org/p\">the A site</a> or <a href=\"http://b.org\">B</a>"},
         sep + "http://a.org/p" + sep + "http://b.org", "", "the A site or B"},
        {"mail at a line start borrows from the line before", {"mail: <i>ann</i>", "smith@example.org today"}, "",
         sep + "mail: <i>ann</i>smith@example.org", "mail: annsmith@example.org today"},
        {"mail carried from the line before is not doubled", {"write to john.smith", "@example.org today"}, "",
         sep + "write to john.smith@example.org", "write to john.smith@example.org today"},
        {"an unended capture does not swallow the next address", {"x@a.org<b>y@b.org</b>"}, "",
         sep + "x@a.org<" + sep + "y@b.org<", "x@a.orgy@b.org", {{}, {}, {}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Doc r;
        r.delimiters = c.delimiters;
        r.lines(c.lines);
        EXPECT_EQ(r.status.Urls, c.urls);
        EXPECT_EQ(r.status.Mails, c.mails);
        EXPECT_EQ(r.allText(), c.text);
    }

    // With tags collected, each link's tag lines up with its text.
    Doc links(true);
    links.delimiters = {{}, {" "}, {" ", "\""}};
    links.lines({"Go to <a href=\"http://a.org/p\">the A site</a> or", "<A HREF=\"http://b.org\">B</A>."});
    EXPECT_EQ(links.status.Urls, sep + "http://a.org/p" + sep + "http://b.org");
    std::vector<std::pair<std::string, std::string>> found;
    for (std::size_t i = 1; i < links.tagNames.size(); ++i)
        if (links.tagNames[i] == "A") found.emplace_back(links.tagTexts[i], links.text[i]);
    EXPECT_EQ(found, (std::vector<std::pair<std::string, std::string>>{{"<a href=\"http://a.org/p\">", "the A site"},
                                                                      {"<A HREF=\"http://b.org\">", "B"}}));

    // Off (the help display's settings): nothing is captured.
    Doc off;
    HTML_OptionsDefault(off.options);
    off.lines({"see www.host.com or a@b.org"});
    EXPECT_EQ(off.status.Urls, "");
    EXPECT_EQ(off.status.Mails, "");
    EXPECT_EQ(off.allText(), "see www.host.com or a@b.org");

    // A full URL list stops looking: the address that passed the limit stays, later
    // ones stay in the running text only.
    Doc full;
    full.delimiters = {{}, {" "}, {" "}};
    full.limits.MaxListLen = 10;
    full.options.MailListOff = true;
    full.lines({"www.a.org www.b.org http://c.org end"});
    EXPECT_EQ(full.status.Urls, sep + "www.a.org" + sep + "www.b.org");
    EXPECT_TRUE(full.options.UrlListOff);
    EXPECT_EQ(full.allText(), "www.a.org www.b.org http://c.org end");

    // The text keeps the document's letter case.
    Doc upper;
    upper.delimiters = {{}, {" "}, {" "}};
    upper.lines({"Visit WWW.Host.ORG now"});
    EXPECT_EQ(upper.status.Urls, sep + "WWW.Host.ORG");
    EXPECT_EQ(upper.allText(), "Visit WWW.Host.ORG now");
}
