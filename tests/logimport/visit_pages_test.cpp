#include "logimport/visit_pages.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/logimport/temp_site.h"

namespace {

// "1|1|...|1" of n characters (n odd).
std::string ones(size_t n) {
    std::string s = "1";
    while (s.size() < n) s += "|1";
    return s;
}

std::string joined(const core::LngArray& a) {
    std::string s;
    for (long i = a.lbound(); i <= a.ubound(); ++i) s += (i > a.lbound() ? "|" : "") + std::to_string(a[i]);
    return s;
}

class VisitPages : public ::testing::Test {
protected:
    void SetUp() override { site_.db.execute("INSERT INTO visit (VisitID) VALUES (7)"); }

    dao::Recordset visit() {
        return site_.db.openRecordset("SELECT * FROM visit WHERE VisitID = 7", dao::RecordsetType::Snapshot);
    }

    testsupport::TempSite site_;
};

TEST_F(VisitPages, ListsStayInTheVisitUpTo253Characters) {
    struct Case {
        const char* name;
        std::string pages, bytes;
        bool moved;
    } cases[] = {
        {"253 characters fit", ones(253), ones(253), false},
        {"254 characters of pages move", ones(253) + "0", ones(253), true},
        {"long byte counts move", "1|2", std::string(200, '9') + "|" + std::string(60, '9'), true},
        {"many rows", ones(1001), ones(1001), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        STTA_VisitFurtherPagesSet(site_.db, 7, c.pages, c.bytes);
        auto v = visit();
        EXPECT_EQ(v.field("CDSClickFurtherPageIDs").asText(), c.moved ? "||" : c.pages);
        EXPECT_EQ(site_.count("SELECT COUNT(*) FROM visitpages WHERE visitID = 7") > 0, c.moved);
        site_.db.forEachRow("SELECT CDSClickFurtherPageIDs, CDSBytesClickFurtherPageIDs FROM visitpages", {},
                            [](const dao::Statement& s) {
                                EXPECT_LE(s.column(0).asText().size(), 253u);
                                EXPECT_LE(s.column(1).asText().size(), 253u);
                            });
        core::LngArray ids, bytes;
        STTA_VisitFurtherPagesGet(site_.db, v, ids, bytes);
        EXPECT_EQ(ids.lbound(), 1);
        if (c.moved) {
            // Numbers past the Long range are limited, so compare the page IDs only.
            EXPECT_EQ(joined(ids), c.pages);
            EXPECT_EQ(bytes.ubound(), ids.ubound());
        } else {
            EXPECT_EQ(joined(bytes), c.bytes);
        }
        site_.db.execute("DELETE FROM visitpages");
    }
}

TEST_F(VisitPages, RowsAreReadInTheOrderWritten) {
    std::string pages, bytes;
    for (int i = 1; i <= 120; ++i) {
        pages += (i > 1 ? "|" : "") + std::to_string(1000 - i);
        bytes += (i > 1 ? "|" : "") + std::to_string(i);
    }
    ASSERT_TRUE(STTA_VisitPagesWrite(site_.db, 7, pages, bytes));
    core::LngArray ids, counts;
    STTA_VisitPagesRead(site_.db, 7, ids, counts);
    EXPECT_EQ(joined(ids), pages);
    EXPECT_EQ(joined(counts), bytes);
}

TEST_F(VisitPages, NoRowsGiveOneEmptyElement) {
    core::LngArray ids, bytes;
    STTA_VisitPagesRead(site_.db, 7, ids, bytes);
    EXPECT_EQ(ids.lbound(), 0);
    EXPECT_EQ(ids.ubound(), 0);
    EXPECT_EQ(ids[0], 0);
    EXPECT_EQ(bytes.ubound(), 0);
}

TEST(PageIsCounted, SkippedTypesAndSpecialPages) {
    const std::string skipped = "|gif|JPG|css|";
    struct Case {
        const char* page;
        const char* types;
        bool counted;
    } cases[] = {
        {"ROOT", "|ROOT|", true},
        {".. Page does not exist ..", "", false},
        {"img/a.gif", skipped.c_str(), false},
        {"img/A.jpg", skipped.c_str(), false},
        {"img/a.gif", "|JPG|GIF|", false},
        {"index.html", skipped.c_str(), true},
        {"folder/readme", skipped.c_str(), true},
        {"folder/readme", "||", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        EXPECT_EQ(STTA_PageIsCounted(c.page, c.types), c.counted);
    }
}

}  // namespace
