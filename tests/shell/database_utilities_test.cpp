#include <gtest/gtest.h>

#include <filesystem>

#include "core/path_checks.h"

#include "platform/dao/database.h"
#include "platform/sys/rt_error.h"
#include "shell/database_utilities.h"
#include "tests/support/temp_home.h"

namespace {

class DatabaseUtilities : public ::testing::Test {
protected:
    void SetUp() override {
        db = dao::Database(home / "site.db", dao::OpenOptions{.create = true});
        db.execute("CREATE TABLE visit (VisitID INTEGER, FirstIP VARCHAR(50))");
        for (auto [id, ip] : {std::pair{1, "a'b"}, {2, "x"}, {2, "y"}, {3, "z"}})
            db.execute("INSERT INTO visit VALUES (?, ?)", {id, ip});
        db.execute("INSERT INTO visit VALUES (NULL, 'n')");
    }
    long long left() {
        auto rs = db.openRecordset("SELECT count(*) FROM visit", dao::RecordsetType::Snapshot);
        return rs.field(0).asInteger();
    }
    testsupport::TempHome home;
    dao::Database db;
};

}  // namespace

TEST_F(DatabaseUtilities, DeletesTheRowsOfOneValue) {
    struct Case { const char* field; const char* value; long long left; } cases[] = {
        {"VisitID", "2", 3},
        {"VisitID", "99", 3},  // no match: nothing happens
        {"FirstIP", "'a''b'", 2},
        {"VisitID", " null ", 1},
        {"visitid", "3.0", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        TBL_DeleteWhere(db, "visit", c.field, c.value);
        EXPECT_EQ(left(), c.left);
    }
}

TEST_F(DatabaseUtilities, RefusesWhatWouldBeSql) {
    struct Case { const char* table; const char* field; const char* value; } cases[] = {
        {"visit", "VisitID", "VisitID"},       // would match every row
        {"visit", "VisitID", "1 OR 1=1"},
        {"visit;", "VisitID", "1"},
        {"visit", "VisitID=VisitID --", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_THROW(TBL_DeleteWhere(db, c.table, c.field, c.value), sys::RtError);
    }
    EXPECT_EQ(left(), 5);
}

namespace {

class Compaction : public ::testing::Test {
protected:
    void SetUp() override {
        gMainDataDir = home / "Site";
        testsupport::writeFile(ini(), "[Main]\nPhysical Data sets=Site1\n[Site1]\nDB definitions=SiteDB;data\\site1.db\n");
        testsupport::writeFile(home / "Site/data/site1.db", "");
        TBL_OpenDataSetDB("Site1", ini(), db);
        db.execute("CREATE TABLE t (n INTEGER, pad TEXT)");
        dao::Transaction tx(db);
        for (int i = 0; i < 3000; ++i) db.execute("INSERT INTO t VALUES (?, ?)", {i, std::string(200, 'x')});
        tx.commit();
        db.execute("DELETE FROM t WHERE n >= 10");
    }
    void TearDown() override { gMainDataDir.clear(); }
    std::string ini() const { return home / "Site/param/dbdef.ini"; }
    long long rows() {
        auto rs = db.openRecordset("SELECT count(*) FROM t", dao::RecordsetType::Snapshot);
        return rs.field(0).asInteger();
    }
    testsupport::TempHome home;
    dao::Database db;
};

}  // namespace

TEST_F(Compaction, ReplacesTheFileWithACompactCopy) {
    EXPECT_EQ(TBL_DataSetDBPath("Site1", ini()), home / "Site/data/site1.db");
    testsupport::writeFile(home / "Site/data/site1.db.temp", "someone's file");  // the plain name is taken
    auto before = std::filesystem::file_size(home / "Site/data/site1.db");
    EXPECT_TRUE(TBL_CompactDB("Site1", ini(), db));
    EXPECT_TRUE(db.isOpen());
    EXPECT_LT(std::filesystem::file_size(home / "Site/data/site1.db"), before);
    EXPECT_EQ(rows(), 10);
    EXPECT_EQ(testsupport::readFile(home / "Site/data/site1.db.temp"), "someone's file");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home / "Site/data"), {}), 2);
}

TEST_F(Compaction, AFailureLeavesTheOriginalOpenAndWhole) {
    auto before = testsupport::readFile(home / "Site/data/site1.db");
    {
        dao::Database other(home / "Site/data/site1.db");  // still open elsewhere
        EXPECT_FALSE(TBL_CompactDB("Site1", ini(), db));
    }
    EXPECT_TRUE(db.isOpen());
    EXPECT_EQ(rows(), 10);
    EXPECT_EQ(testsupport::readFile(home / "Site/data/site1.db"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home / "Site/data"), {}), 1);
}
