#include "shell/table_upgrade.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/dao/database.h"
#include "shell/table_building.h"
#include "tests/support/temp_home.h"

using testsupport::writeFile;

namespace {

// The logline definition as earlier versions shipped it.
const char* const kOldLogline =
    "FIELD DEFINITIONS START\nLogLnID,Long,0\nVisitID,Long,0\nPageID,Long,0\nBytes,Long,0\nCntDupes,Long,0\n"
    "Timestamp,Long,0\nIP,String,50\nFIELD DEFINITIONS END\n"
    "INDEX DEFINITIONS START\nPrimaryKey,LogLnID,UQ,P\nVisitIPID,VisitID;IP;LogLnID\nStamp,Timestamp;IP\n"
    "INDEX DEFINITIONS END\n";

class SiteTablesUpgrade : public ::testing::Test {
protected:
    std::string dbPath() const { return home / "data/site1.db"; }
    // A site whose `table` was built from an earlier definition, beside a table
    // "fresh" built as the program ships it now.
    void oldTableBesideFresh(const std::string& table, const std::string& oldDef, const std::string& shippedDef) {
        writeFile(dbPath(), "");
        writeFile(home / "old.def", oldDef);
        build(table, home / "old.def");
        build("fresh", shippedDef);
    }
    void build(const std::string& table, const std::string& def) {
        bool allow = true;
        ASSERT_TRUE(BLDTBL_BuildTableFromDef(table, dbPath(), def, allow));
    }
    static std::vector<std::string> indexes(dao::Database& db, const std::string& table) {
        std::vector<std::string> out;
        for (const auto& ix : db.tableDef(table).indexes)
            out.push_back(ix.name + " " + ix.fields + (ix.rowsField.empty() ? "" : " where " + ix.rowsField) +
                          (ix.rowsNotNull ? " not null" : ""));
        std::sort(out.begin(), out.end());
        return out;
    }
    // The plan's lines for the query, joined.
    static std::string plan(dao::Database& db, const std::string& sql) {
        std::string out;
        db.forEachRow("EXPLAIN QUERY PLAN " + sql, {}, [&](const dao::Statement& s) { out += std::string(s.columnText(3)) + "; "; });
        return out;
    }
    static long long count(dao::Database& db, const std::string& sql) {
        long long n = -1;
        db.forEachRow(sql, {}, [&](const dao::Statement& s) { n = s.columnInt(0); });
        return n;
    }
    testsupport::TempHome home;
    const std::string src = std::getenv("DRAVOLIN_SOURCE_DIR");
};

}  // namespace

TEST_F(SiteTablesUpgrade, OldLoglineIndexesBecomeTheShippedOnesAndKeepTheRows) {
    oldTableBesideFresh("logline", kOldLogline, src + "/resources/param/def/logline_nokeep.def");
    dao::Database db(dbPath());
    db.execute("INSERT INTO logline (LogLnID, VisitID, PageID, Timestamp, IP) VALUES "
               "(1, 7, 2, 20240101000000, '10.0.0.1'), (2, NULL, 3, 20240101000001, '10.0.0.2')");

    EXPECT_TRUE(TBL_SiteTablesUpgrade(db));
    EXPECT_EQ(indexes(db, "logline"), indexes(db, "fresh"));
    EXPECT_EQ(plan(db, "SELECT LogLnID FROM logline WHERE VisitID IS NULL ORDER BY IP, LogLnID"),
              "SCAN logline USING INDEX logline.NewLines; ");
    EXPECT_EQ(count(db, "SELECT COUNT(*) FROM logline WHERE VisitID = 7 OR VisitID IS NULL"), 2);
    EXPECT_FALSE(TBL_SiteTablesUpgrade(db));  // once only
}

TEST_F(SiteTablesUpgrade, NothingToDoWithoutTheOldIndexOrTheTable) {
    writeFile(dbPath(), "");
    dao::Database empty(dbPath());
    EXPECT_FALSE(TBL_SiteTablesUpgrade(empty));
    empty.close();
    build("logline", src + "/resources/param/def/logline_keep.def");
    dao::Database db(dbPath());
    const auto before = indexes(db, "logline");
    EXPECT_FALSE(TBL_SiteTablesUpgrade(db));
    EXPECT_EQ(indexes(db, "logline"), before);
}

// Each query made on logline finds its rows through an index of the shipped
// definition, and the lines waiting for their visits come in the order of the scan
// without a sort.
TEST_F(SiteTablesUpgrade, ShippedLoglineIndexesServeEveryQueryOnTheTable) {
    writeFile(dbPath(), "");
    build("logline", src + "/resources/param/def/logline_keep.def");
    dao::Database db(dbPath());
    struct Case { const char* sql; const char* index; } cases[] = {
        // visit building: the lines without a visit, by IP and LogLnID, chunk by chunk
        {"SELECT LogLnID FROM logline WHERE VisitID IS NULL ORDER BY IP, LogLnID LIMIT 10", "NewLines"},
        {"SELECT LogLnID FROM logline WHERE VisitID IS NULL AND (IP, LogLnID) > ('a', 1) ORDER BY IP, LogLnID LIMIT 10",
         "NewLines"},
        {"SELECT LogLnID FROM logline WHERE VisitID IS NULL AND IP IS NULL AND LogLnID > 1 ORDER BY IP, LogLnID LIMIT 10",
         "NewLines"},
        {"SELECT COUNT(*) FROM logline WHERE VisitID IS NULL", "NewLines"},
        // a visit's lines: its pages, its referrers, erasing them
        {"SELECT PageID, Bytes, CntDupes FROM logline WHERE VisitID = 3 ORDER BY Timestamp, LogLnID", "Visit"},
        {"SELECT Referrer FROM logline WHERE VisitID = 3 ORDER BY Timestamp", "Visit"},
        {"UPDATE logline SET VisitID = -2 WHERE VisitID IN (SELECT 3)", "Visit"},
        // the overlap check of a new file and the duplicate check of its lines
        {"SELECT LogLnID FROM logline WHERE Timestamp >= 1 AND Timestamp <= 2 LIMIT 1", "Stamp"},
        {"SELECT * FROM logline WHERE IP = 'a' AND Timestamp = 1", "Stamp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        const std::string p = plan(db, c.sql);
        const std::string used = std::string("INDEX logline.") + c.index;
        const size_t at = p.find(used);
        ASSERT_NE(at, std::string::npos) << p;
        EXPECT_FALSE(std::isalnum(static_cast<unsigned char>(p[at + used.size()]))) << p;
        if (std::string(c.index) == "NewLines") {
            EXPECT_EQ(p.find("TEMP B-TREE"), std::string::npos) << p;
        }
    }
}

// A stored visit is looked for by its end: an old site gets the index for it, and the
// search uses it.
TEST_F(SiteTablesUpgrade, OldVisitIndexGivesWayToOneByTheEndOfTheVisit) {
    std::string old = testsupport::readFile(src + "/resources/FirstSite/param/def/visit.def");
    old.replace(old.find("IPEnd,FirstIP;EndTimeStamp"), 26, "IPStart,FirstIP;StartTimeStamp");
    oldTableBesideFresh("visit", old, src + "/resources/FirstSite/param/def/visit.def");
    dao::Database db(dbPath());
    db.execute("INSERT INTO visit (VisitID, FirstIP, StartTimeStamp, EndTimeStamp) VALUES "
               "(1, '10.0.0.1', 20240101100000, 20240101130000)");

    EXPECT_TRUE(TBL_SiteTablesUpgrade(db));
    EXPECT_EQ(indexes(db, "visit"), indexes(db, "fresh"));
    const std::string p = plan(db, "SELECT VisitID FROM visit WHERE FirstIP = '10.0.0.1' AND EndTimeStamp >= 1 AND "
                                   "+StartTimeStamp <= 2 ORDER BY StartTimeStamp, VisitID");
    EXPECT_NE(p.find("USING INDEX visit.IPEnd (FirstIP=? AND EndTimeStamp>?)"), std::string::npos) << p;
    EXPECT_FALSE(TBL_SiteTablesUpgrade(db));  // once only
    EXPECT_EQ(count(db, "SELECT COUNT(*) FROM visit"), 1);
}
