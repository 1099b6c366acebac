#include "tests/platform/dao/dao_test_util.h"

using dao::RecordsetType;
using dao::Value;

class DaoRecordset : public DaoDb {
protected:
    void SetUp() override {
        DaoDb::SetUp();
        db.createTable(peopleDef());
        for (auto [name, age] : {std::pair{"ann", 30}, {"bob", 40}, {"cy", 50}, {"di", 60}}) addPerson(name, age);
    }
    std::vector<std::string> names(dao::Recordset& rs) {
        std::vector<std::string> out;
        if (rs.eof()) return out;
        rs.moveFirst();
        while (!rs.eof()) {
            out.push_back(rs.field("Name").asText());
            rs.moveNext();
        }
        return out;
    }
};

TEST_F(DaoRecordset, WalksRowsOfATableOrASelectWithValues) {
    auto all = db.openRecordset("people");
    EXPECT_FALSE(all.bof());
    EXPECT_EQ(all.field("name").asText(), "ann");  // names ignore letter case
    EXPECT_EQ(all.recordCount(), 4);
    EXPECT_EQ(names(all), (std::vector<std::string>{"ann", "bob", "cy", "di"}));
    EXPECT_TRUE(all.eof());
    EXPECT_EQ(errorOf([&] { all.moveNext(); }), 3021);
    EXPECT_EQ(errorOf([&] { all.field("Name"); }), 3021);

    auto some = db.openRecordset("SELECT Name, Age FROM people WHERE Age > ? ORDER BY Age DESC",
                                 RecordsetType::Dynaset, {35});
    EXPECT_EQ(names(some), (std::vector<std::string>{"di", "cy", "bob"}));
    some.moveLast();
    EXPECT_EQ(some.field("Age").asInteger(), 40);
    some.movePrevious();
    EXPECT_EQ(some.field(0).asText(), "cy");
    EXPECT_EQ(some.fieldCount(), 2);
    EXPECT_EQ(errorOf([&] { some.field("ID"); }), 3265);
    EXPECT_TRUE(some.updatable());
}

TEST_F(DaoRecordset, EmptySetIsAtBothEnds) {
    auto none = db.openRecordset("SELECT * FROM people WHERE Age > 100");
    EXPECT_TRUE(none.bof());
    EXPECT_TRUE(none.eof());
    EXPECT_EQ(none.recordCount(), 0);
    EXPECT_EQ(errorOf([&] { none.moveFirst(); }), 3021);
    EXPECT_EQ(errorOf([&] { none.moveLast(); }), 3021);
}

TEST_F(DaoRecordset, EditStoresOnlyOnUpdateAndNullsReadAsNull) {
    auto rs = db.openRecordset("SELECT * FROM people ORDER BY Name");
    EXPECT_EQ(errorOf([&] { rs.setField("Age", 1); }), 3020);
    EXPECT_EQ(errorOf([&] { rs.update(); }), 3020);
    rs.edit();
    rs.setField("Age", 31.5);  // rounds half to even
    rs.setField("Stamp", 20261231235959.0);
    EXPECT_EQ(rs.field("Age"), Value(32));  // the edit buffer is what reads back
    rs.update();
    EXPECT_EQ(rs.field("Age"), Value(32));
    EXPECT_EQ(rs.field("Stamp").asText(), "20261231235959");

    rs.moveNext();
    EXPECT_TRUE(rs.field("Stamp").isNull());
    rs.edit();
    rs.setField("Age", 99);
    rs.cancelUpdate();
    EXPECT_EQ(rs.field("Age"), Value(40));
    EXPECT_EQ(errorOf([&] { rs.edit(); rs.setField("Name", "much too long"); }), 3163);
}

TEST_F(DaoRecordset, DeletingWhileWalkingVisitsEveryRowOnce) {
    auto rs = db.openRecordset("SELECT ID FROM people WHERE Age >= ?", RecordsetType::Dynaset, {40});
    int deleted = 0;
    while (!rs.eof()) {
        rs.deleteRecord();
        EXPECT_EQ(errorOf([&] { rs.field("ID"); }), 3167);
        ++deleted;
        rs.moveNext();
    }
    EXPECT_EQ(deleted, 3);
    EXPECT_EQ(rs.recordCount(), 0);
    EXPECT_EQ(count("people"), 1);
}

TEST_F(DaoRecordset, AddedRowsJoinTheSetAndBookmarksFindThem) {
    auto rs = db.openRecordset("people");
    rs.moveLast();
    auto last = rs.bookmark();
    rs.addNew();
    rs.setField("Name", "eve");
    rs.update();
    EXPECT_EQ(rs.field("Name").asText(), "di");  // the current row stays where it was
    EXPECT_EQ(rs.recordCount(), 5);
    rs.setBookmark(rs.lastModified());
    EXPECT_EQ(rs.field("Name").asText(), "eve");
    EXPECT_EQ(rs.field("ID").asInteger(), 5);  // auto-increment
    rs.setBookmark(last);
    EXPECT_EQ(rs.field("Name").asText(), "di");
    EXPECT_EQ(errorOf([&] { rs.setBookmark(dao::Bookmark{12345}); }), 3159);
}

TEST_F(DaoRecordset, AddedRowsBelongToTheSetEvenOutsideItsQuery) {
    auto rs = db.openRecordset("SELECT * FROM people WHERE Age > ?", RecordsetType::Dynaset, {100});
    rs.addNew();
    rs.setField("Name", "zed");
    rs.setField("Age", 1);
    rs.update();
    rs.setBookmark(rs.lastModified());
    rs.edit();  // the new row, made current for editing
    rs.setField("Age", 2);
    rs.update();
    EXPECT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(count("people WHERE Name = 'zed' AND Age = 2"), 1);
}

TEST_F(DaoRecordset, ChangingTheKeyKeepsTheRowReachable) {
    auto rs = db.openRecordset("SELECT * FROM people WHERE Name = ?", RecordsetType::Dynaset, {"bob"});
    rs.edit();
    rs.setField("ID", 100);
    rs.update();
    EXPECT_EQ(rs.field("ID").asInteger(), 100);
    rs.edit();
    rs.setField("Age", 41);
    rs.update();
    EXPECT_EQ(count("people WHERE ID = 100 AND Age = 41"), 1);
}

TEST_F(DaoRecordset, QueriesThatAreNotOneTableAreReadOnly) {
    auto snap = db.openRecordset("people", RecordsetType::Snapshot);
    EXPECT_EQ(errorOf([&] { snap.edit(); }), 3027);
    auto grouped = db.openRecordset("SELECT Age / 20 AS band, count(*) AS n FROM people GROUP BY Age / 20 ORDER BY band");
    EXPECT_FALSE(grouped.updatable());
    EXPECT_EQ(grouped.recordCount(), 3);
    EXPECT_EQ(grouped.field("n").asInteger(), 1);
    EXPECT_EQ(errorOf([&] { grouped.addNew(); }), 3027);
    auto joined = db.openRecordset("SELECT a.Name FROM people a, people b WHERE a.ID = b.ID AND b.Age = ?",
                                   RecordsetType::Dynaset, {50});
    EXPECT_EQ(names(joined), (std::vector<std::string>{"cy"}));
    EXPECT_EQ(errorOf([&] { db.openRecordset("SELECT * FROM people WHERE Nope = 1"); }), 3075);
}

TEST_F(DaoRecordset, RowsDeletedElsewhereReadAsDeleted) {
    auto rs = db.openRecordset("people");
    EXPECT_FALSE(rs.eof());  // the set's rows are fixed at its first use
    db.execute("DELETE FROM people WHERE Name = 'ann'");
    EXPECT_EQ(errorOf([&] { rs.field("Name"); }), 3167);
    rs.moveNext();
    EXPECT_EQ(rs.field("Name").asText(), "bob");
}

TEST_F(DaoRecordset, RecordsetsCloseWithTheirDatabase) {
    auto rs = db.openRecordset("people");
    db.close();
    EXPECT_EQ(errorOf([&] { rs.eof(); }), 3420);
    EXPECT_FALSE(rs.isOpen());
}

TEST_F(DaoRecordset, AWalkHalfWayDoesNotBlockWritesOfAnotherConnection) {
    dao::Database reader(path());
    auto rs = reader.openRecordset("SELECT * FROM people ORDER BY ID");
    EXPECT_EQ(rs.field("Name").asText(), "ann");
    {
        dao::Transaction tx(db);
        db.execute("UPDATE people SET Age = 1 WHERE Name = 'bob'");
        tx.commit();
    }
    rs.moveNext();
    EXPECT_EQ(rs.field("Age").asInteger(), 1);  // rows are read live
    rs.edit();
    rs.setField("Age", 2);
    rs.update();
    EXPECT_EQ(count("people WHERE Age = 2"), 1);
}
