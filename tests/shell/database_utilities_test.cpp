#include <gtest/gtest.h>

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
