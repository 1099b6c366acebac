#include <gtest/gtest.h>

#include "logimport/page_table.h"
#include "tests/logimport/temp_site.h"

TEST(PageNameNorm, RequestsToPageNames) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"/index.html", "index.html"},
        {"index.html", "index.html"},
        {"http://www.site.com/index.html", "index.html"},
        {"HTTPS://www.site.com/a/b.html", "a/b.html"},  // https like http, any case
        {"www.site.com/dir/", "dir"},
        {"www.site.com", ""},
        {"/www.plan.html", "www.plan.html"},  // a page, not a host
        {"/dir//a%20b/", "dir/a b"},
        {"/caf%C3%A9", "caf\xC3\xA9"},
        {"/100%zz", "100%zz"},  // no hex digits: left as it is
        {"/", ""},
        {"", ""},
        {"/a/////", "a/"},  // one pass over "//", then at most two trailing "/" go
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(STTA_PageNameNorm(c.in), c.out);
    }
    std::string longName = STTA_PageNameNorm("/" + std::string(300, 'x'));
    EXPECT_EQ(longName, std::string(251, 'x') + "..");
    // A NUL, raw or encoded, would end the stored name for SQL: it is cut.
    EXPECT_EQ(STTA_PageNameNorm(std::string("/a\0b.html\0", 11)), "ab.html");
    EXPECT_EQ(STTA_PageNameNorm("/a%00b.html"), "ab.html");
}

TEST(PageNameCut, QueryAndFragmentByFlags) {
    struct Case {
        const char* in;
        bool dropFragment, dropQuery;
        const char* out;
    } cases[] = {
        {"/p.asp?id=3", false, true, "p.asp"},
        {"/p.asp?id=3", false, false, "p.asp?id=3"},
        {"/p.html#top", true, false, "p.html"},
        {"/p.html?a=1#top", false, false, "p.html?a=1#top"},
        {"p.html", true, true, "p.html"},
        {"www.site.com/x/y.html?q=1", true, true, "x/y.html"},
        {"http://a.com/go?u=http://a.com/x", true, false, "go?u=http://a.com/x"},  // prefix cut once
        {"/", true, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(STTA_PageNameCut(c.in, c.dropFragment, c.dropQuery), c.out);
    }
}

TEST(PageTable, FindOrAddNumbersPagesWithoutGaps) {
    testsupport::TempSite site;
    EXPECT_EQ(STTA_PageIDGetOrAdd("/", true, site.db), 0);  // the root page has no row
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM page"), 0);
    EXPECT_EQ(STTA_PageIDGetOrAdd("/a.html", false, site.db), -1);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM page"), 0);
    EXPECT_EQ(STTA_PageIDGetOrAdd("/a.html", true, site.db), 1);
    EXPECT_EQ(STTA_PageIDGetOrAdd("/b.html", true, site.db), 2);
    EXPECT_EQ(STTA_PageIDGetOrAdd("http://www.x.com/a.html", true, site.db), 1);
    EXPECT_EQ(STTA_PageIDGetOrAdd("/A.html", true, site.db), 3);  // letter case counts
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM page"), 3);

    // A fresh load gives the same numbers.
    PageTable.clear();
    EXPECT_EQ(STTA_PageNameByID(site.db, 2), "b.html");
    EXPECT_EQ(STTA_PageNameByID(site.db, 99), "");
    EXPECT_EQ(STTA_PageIDGetOrAdd("/b.html", false, site.db), 2);
    EXPECT_EQ(STTA_PageDisplayName(site.db, 0, false, false), "ROOT");
}

TEST(PageTable, TakenNumberMovesPastTheHighestInUse) {
    testsupport::TempSite site;
    EXPECT_EQ(STTA_PageIDGetOrAdd("/a.html", true, site.db), 1);
    // Rows the mirror does not know, as another copy of the table would leave them.
    site.db.execute("INSERT INTO page (PageID, Filename) VALUES (2, 'x'), (7, 'y')");
    EXPECT_EQ(STTA_PageIDGetOrAdd("/b.html", true, site.db), 8);
    EXPECT_EQ(site.count("SELECT PageID FROM page WHERE Filename = 'b.html'"), 8);
    EXPECT_EQ(STTA_PageIDGetOrAdd("/c.html", true, site.db), 9);
}

TEST(PageTable, FollowsTheDatabaseItMirrors) {
    testsupport::TempSite one;
    EXPECT_EQ(STTA_PageIDGetOrAdd("/only-here.html", true, one.db), 1);
    testsupport::TempSite two;  // another site: its own numbers
    EXPECT_EQ(STTA_PageIDGetOrAdd("/only-here.html", false, two.db), -1);
}
