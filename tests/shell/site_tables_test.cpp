#include <gtest/gtest.h>

#include "core/vb_format.h"
#include "platform/dao/database.h"
#include "platform/sys/rt_error.h"
#include "shell/site_tables.h"
#include "tests/support/temp_home.h"

using dao::FieldType;

namespace {

class SiteTables : public ::testing::Test {
protected:
    void SetUp() override {
        db = dao::Database(home / "site.db", dao::OpenOptions{.create = true});
        dao::TableDef logline{"logline",
                              {{"LogLnID", FieldType::Long},
                               {"VisitID", FieldType::Long},
                               {"numIP", FieldType::Long},
                               {"Timestamp", FieldType::Long},
                               {"IP", FieldType::Text, 50, 0, true}},
                              {{"PrimaryKey", "LogLnID", true, true}}};
        dao::TableDef visit{"visit",
                            {{"VisitID", FieldType::Long},
                             {"FirstIP", FieldType::Text, 50, 0, true},
                             {"StzdSearchTerm", FieldType::Text, 250, 0, true}},
                            {}};
        db.createTable(logline);
        db.createTable(visit);
    }
    testsupport::TempHome home;
    dao::Database db;
};

int errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const sys::RtError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

TEST_F(SiteTables, WritersClampCutAndReportChanges) {
    struct Case {
        const char* field;
        core::Variant value;
        core::Variant stored;
        bool changed;
    } cases[] = {
        {"numIP", 3000000000.0, 2147483647.0, true},
        {"numIP", std::string("-2147483648"), -2147483647.0, true},
        {"numIP", 2147483647L, 2147483647.0, false},
        {"numIP", std::string("12%"), 12.0, false},  // Val retried without "%"
        {"numIP", std::string("&H10"), 16.0, false},
        {"Timestamp", 20261231235959.0, 20261231235959.0, false},
        {"IP", std::string(60, 'a'), std::string(50, 'a'), true},
        {"IP", std::string(50, 'b'), std::string(50, 'b'), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + core::vbCStr(c.value));
        auto rs = db.openRecordset("logline");
        rs.addNew();
        bool changed = !c.changed;
        STTA_LogLineFldPut(rs, "LogLnID", 1L, changed);
        STTA_LogLineFldPut(rs, c.field, c.value, changed);
        EXPECT_EQ(changed, c.changed);
        rs.update();
        rs.moveFirst();
        EXPECT_EQ(STTA_LogLineFldGet(rs, c.field), c.stored);
        db.execute("DELETE FROM logline");
    }
}

TEST_F(SiteTables, ReadersAreSafeAgainstNullAndUnknownNames) {
    auto rs = db.openRecordset("visit");
    rs.addNew();
    rs.update();
    rs.moveFirst();
    EXPECT_EQ(STTA_VisitFldGet(rs, "VisitID"), core::Variant(0.0));
    EXPECT_EQ(STTA_VisitFldGet(rs, "FirstIP"), core::Variant(std::string()));
    EXPECT_EQ(STTA_VisitStzdTermGet(rs), " .. NOT SEARCH ENGINE .. ");
    // Names are compared exactly: another letter case is no column of the routine.
    EXPECT_EQ(STTA_VisitFldGet(rs, "visitid"), core::Variant());
    EXPECT_EQ(STTA_VisitPagesFldGet(rs, "VisitID"), core::Variant());
    rs.edit();
    bool changed = false;
    EXPECT_EQ(errorOf([&] { STTA_VisitFldPut(rs, "firstIP", std::string("x"), changed); }), 66350);
    STTA_VisitFldPut(rs, "StzdSearchTerm", std::string("web log"), changed);
    rs.update();
    EXPECT_EQ(STTA_VisitStzdTermGet(rs), "web log");
}
