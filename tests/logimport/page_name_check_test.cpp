// The page names of a log's file names: which the component filter skips, which pages
// are new to the site, and how file names merge into the page names of reports.
#include <gtest/gtest.h>

#include "core/text.h"
#include "logimport/page_name_check.h"
#include "logimport/page_table.h"
#include "tests/logimport/temp_site.h"

namespace {

template <class T>
std::vector<T> items(const core::TypedArray<T>& a) {
    return a.hasBounds() ? a.items() : std::vector<T>{};
}

core::StrArray names(std::initializer_list<const char*> list) {
    core::StrArray a;
    for (const char* n : list) a.append(n);
    return a;
}
core::LngArray counts(std::initializer_list<long> list) {
    core::LngArray a;
    for (long n : list) a.append(n);
    return a;
}

}  // namespace

TEST(ComponentSplit, FileNameRulesDecideAndOtherRulesCannotMatch) {
    const core::StrArray files = names({"", "/a.html", "/style.CSS", "/logo.gif", "/b.html"});
    const core::LngArray lines = counts({1, 5, 4, 3, 2});
    struct Case {
        const char* name;
        FltrRules rules;
        std::vector<std::string> colTypes;
        std::vector<std::string> skipped, accepted;
        bool otherData;
    };
    const Case cases[] = {
        {"extensions",
         {{}, {kFltrContains, ".css", false}, {kFltrContains, ".gif", false}},
         {"", "1", "1"},
         {"", "/style.CSS", "/logo.gif"},
         {"", "", "/a.html", "/b.html"},
         false},
        {"user agent only",
         {{}, {kFltrContains, "bot", false}},
         {"", "2"},
         {""},
         {"", "", "/a.html", "/style.CSS", "/logo.gif", "/b.html"},
         true},
        {"no filter selected", {{}}, {""}, {""}, {"", "", "/a.html", "/style.CSS", "/logo.gif", "/b.html"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const logimport::ComponentSplit split = logimport::componentSplit(files, lines, c.rules, c.colTypes);
        EXPECT_EQ(items(split.skipped.names), c.skipped);
        EXPECT_EQ(items(split.accepted.names), c.accepted);
        EXPECT_EQ(split.otherData, c.otherData);
    }
    const logimport::ComponentSplit split =
        logimport::componentSplit(files, lines, cases[0].rules, cases[0].colTypes);
    EXPECT_EQ(items(split.skipped.counts), (std::vector<long>{0, 4, 3}));
    EXPECT_EQ(items(split.accepted.counts), (std::vector<long>{0, 1, 5, 2}));
}

TEST(ComponentSplit, NewPagesAreThoseTheSiteDoesNotHoldLastFirst) {
    testsupport::TempSite site;
    STTA_PageIDGetOrAdd("/known.html", true, site.db);
    logimport::NamedCounts accepted;
    accepted.add("/new1.html", 3);
    accepted.add("/known.html?x=1", 2);
    accepted.add("/new2.html#top", 1);
    // With queries dropped and fragments kept, only the first two are pages the site holds.
    const logimport::NamedCounts fresh = logimport::newPageFileNames(accepted, true, false, site.db);
    EXPECT_EQ(items(fresh.names), (std::vector<std::string>{"", "/new2.html#top", "/new1.html"}));
    EXPECT_EQ(items(fresh.counts), (std::vector<long>{0, 1, 3}));
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM page"), 1);  // looked up, never added
}

TEST(PageNameTable, FileNamesMergeIntoPagesAsReportsNameThem) {
    const core::StrArray files = names({"", "/a.html?x=1", "/a.html?y=2", "/A.html", "/img/logo.gif"});
    const core::LngArray lines = counts({9, 3, 2, 1, 4});
    const logimport::PageNameTable queryDropped = logimport::pageNameTable(files, lines, true, true);
    // Case counts: "A.html" is a page of its own. Item 0 (no file name) is not listed.
    EXPECT_EQ(items(queryDropped.names), (std::vector<std::string>{"a.html", "A.html", "img/logo.gif"}));
    EXPECT_EQ(items(queryDropped.files),
              (std::vector<std::string>{"3 - /a.html?x=1|2 - /a.html?y=2", "1 - /A.html", "4 - /img/logo.gif"}));
    EXPECT_EQ(items(queryDropped.totals), (std::vector<long>{5, 1, 4}));
    EXPECT_EQ(items(queryDropped.merged), (std::vector<long>{2, 1, 1}));
    EXPECT_EQ(items(logimport::pageNameRows(queryDropped)),
              (std::vector<std::string>{"a.html\t3 - /a.html?x=1|2 - /a.html?y=2\t5\t2\thtml",
                                        "A.html\t1 - /A.html\t1\t1\thtml",
                                        "img/logo.gif\t4 - /img/logo.gif\t4\t1\tgif"}));
    EXPECT_EQ(items(logimport::fileNameRows(names({"", "/a.html?x=1"}), counts({9, 3}), true, true)),
              (std::vector<std::string>{"\t9\t", "/a.html?x=1\t3\ta.html"}));
    EXPECT_EQ(logimport::pageNameTable(files, lines, false, true).names.ubound(), 3);
    EXPECT_EQ(logimport::pageNameTable(names({""}), counts({7}), true, true).names.ubound(), -1);
}
