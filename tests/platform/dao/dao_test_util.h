#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/dao/database.h"
#include "platform/sys/rt_error.h"
#include "tests/support/temp_home.h"

// The error number a call raises, or 0 when it raises none.
inline int errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const sys::RtError& e) {
        return e.number();
    }
    return 0;
}

// A table of people with an auto-increment key, as most tests use it.
inline dao::TableDef peopleDef() {
    using dao::FieldType;
    dao::TableDef t;
    t.name = "people";
    t.fields = {{"ID", FieldType::Long, 0, dao::kAutoIncrField, false},
                {"Name", FieldType::Text, 10, 0, true},
                {"Age", FieldType::Integer, 0, 0, false},
                {"Stamp", FieldType::Long, 0, 0, false}};
    t.indexes = {{"PrimaryKey", "ID", true, true}, {"ByName", "Name", false, false}};
    return t;
}

class DaoDb : public ::testing::Test {
protected:
    void SetUp() override { db = dao::Database(path(), dao::OpenOptions{.create = true}); }
    std::string path() const { return home / "site.db"; }
    void addPerson(const std::string& name, int age) {
        auto rs = db.openRecordset("people");
        rs.addNew();
        rs.setField("Name", name);
        rs.setField("Age", age);
        rs.update();
    }
    long long count(const std::string& table) {
        auto rs = db.openRecordset("SELECT count(*) AS n FROM " + table, dao::RecordsetType::Snapshot);
        return rs.field("n").asInteger();
    }

    testsupport::TempHome home;
    dao::Database db;
};
