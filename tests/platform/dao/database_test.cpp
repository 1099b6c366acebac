#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <optional>

#include "tests/platform/dao/dao_test_util.h"

using dao::FieldType;
using dao::RecordsetType;
using dao::Value;

TEST_F(DaoDb, CreatedTableReadsBackWithItsFieldsAndIndexes) {
    auto def = peopleDef();
    def.fields.push_back({"Code", FieldType::Text, 4, dao::kFixedField, false});
    def.fields.push_back({"Born", FieldType::Date, 0, 0, false});
    def.indexes.push_back({"ByCode", "Code;-Born", true, false});
    db.createTable(def);

    auto back = db.tableDef("PEOPLE");
    ASSERT_EQ(back.fields.size(), 6u);
    EXPECT_EQ(back.fields[0].type, FieldType::Long);
    EXPECT_EQ(back.fields[0].attributes, dao::kAutoIncrField);
    EXPECT_EQ(back.fields[1].type, FieldType::Text);
    EXPECT_EQ(back.fields[1].size, 10);
    EXPECT_TRUE(back.fields[1].allowZeroLength);
    EXPECT_EQ(back.fields[2].type, FieldType::Integer);
    EXPECT_EQ(back.fields[4].attributes, dao::kFixedField);
    EXPECT_FALSE(back.fields[4].allowZeroLength);
    EXPECT_EQ(back.fields[5].type, FieldType::Date);

    ASSERT_EQ(back.indexes.size(), 3u);
    auto find = [&](const std::string& n) {
        for (const auto& ix : back.indexes)
            if (ix.name == n) return ix;
        ADD_FAILURE() << "no index " << n;
        return dao::Index{};
    };
    auto pk = find("PrimaryKey");
    EXPECT_TRUE(pk.primary);
    EXPECT_EQ(pk.fields, "ID");
    auto byCode = find("ByCode");
    EXPECT_TRUE(byCode.unique);
    EXPECT_FALSE(byCode.primary);
    EXPECT_EQ(byCode.fields, "Code;-Born");
    EXPECT_FALSE(find("ByName").unique);
}

TEST_F(DaoDb, PartialIndexesHoldOnlyTheirRowsAndReadBack) {
    db.createTable(peopleDef());
    db.createIndex("people", {.name = "Aged", .fields = "Age", .rowsField = "age", .rowsNotNull = true});
    db.createIndex("people", {.name = "Ageless", .fields = "Name", .rowsField = "Age"});
    db.execute("INSERT INTO people (Name, Age) VALUES ('a', 3), ('b', NULL), ('c', NULL)");
    // Each index is used for the rows it holds (INDEXED BY fails for an index that cannot serve the query).
    auto rowsThrough = [&](const char* ix, const char* where) {
        long long n = 0;
        db.forEachRow(std::string("SELECT COUNT(*) FROM people INDEXED BY \"people.") + ix + "\" WHERE " + where, {},
                      [&](const dao::Statement& s) { n = s.columnInt(0); });
        return n;
    };
    EXPECT_EQ(rowsThrough("Aged", "Age > 0"), 1);
    EXPECT_EQ(rowsThrough("Ageless", "Age IS NULL AND Name > ''"), 2);
    EXPECT_NE(errorOf([&] { rowsThrough("Ageless", "Name > ''"); }), 0);  // holds only the rows without an age
    std::map<std::string, dao::Index> back;
    for (const auto& ix : db.tableDef("people").indexes) back[ix.name] = ix;
    EXPECT_EQ(back["Aged"].rowsField, "Age");
    EXPECT_TRUE(back["Aged"].rowsNotNull);
    EXPECT_EQ(back["Ageless"].rowsField, "Age");
    EXPECT_FALSE(back["Ageless"].rowsNotNull);
    EXPECT_EQ(back["ByName"].rowsField, "");

    EXPECT_EQ(errorOf([&] { db.createIndex("people", {.name = "Bad", .fields = "Name", .rowsField = "Nope"}); }),
              3265);
    db.dropIndex("people", "Aged");
    db.dropIndex("people", "Aged");  // gone already: nothing to do
    EXPECT_EQ(db.tableDef("people").indexes.size(), 3u);
}

// A file another program holds locked says nothing of its state: it is no damaged
// file, and once free it is checked.
TEST_F(DaoDb, ALockedFileIsNotDamagedAndIsCheckedOnceFree) {
    db.createTable(peopleDef());
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(db.damage(), "");
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(db.damage(), "");
}

TEST_F(DaoDb, BadDefinitionsAreRefusedWithTheirNumbers) {
    db.createTable(peopleDef());
    struct Case { const char* name; std::function<void(dao::TableDef&)> spoil; int err; } cases[] = {
        {"exists", [](dao::TableDef&) {}, 3010},
        {"no type", [](dao::TableDef& t) { t.name = "t1"; t.fields[2].type = FieldType::None; }, 3259},
        {"field twice", [](dao::TableDef& t) { t.name = "t2"; t.fields[2].name = "name"; }, 3191},
        {"index twice", [](dao::TableDef& t) { t.name = "t3"; t.indexes[1].name = "primarykey"; }, 3284},
        {"bad table name", [](dao::TableDef& t) { t.name = "t 4"; }, 3125},
        {"index on a missing field", [](dao::TableDef& t) { t.name = "t5"; t.indexes[1].fields = "Nope"; }, 3265},
        {"two primaries", [](dao::TableDef& t) { t.name = "t6"; t.indexes[1].primary = true; }, 3283},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto def = peopleDef();
        c.spoil(def);
        EXPECT_EQ(errorOf([&] { db.createTable(def); }), c.err);
    }
    EXPECT_EQ(db.listTables().size(), 1u);
}

TEST_F(DaoDb, TableFailingHalfWayLeavesNothing) {
    // An SQLite index of the name this table's index will want makes its creation fail
    // after the table itself was made.
    db.execute("CREATE TABLE other (x INTEGER)");
    db.execute("CREATE INDEX \"people.ByName\" ON other (x)");
    EXPECT_NE(errorOf([&] { db.createTable(peopleDef()); }), 0);
    for (const auto& t : db.listTables()) EXPECT_NE(t.name, "people");
    db.execute("DROP INDEX \"people.ByName\"");
    db.createTable(peopleDef());  // and it can be built afterwards
}

TEST_F(DaoDb, KeysAndConstraintsGiveTheOldErrorNumbers) {
    db.createTable(peopleDef());
    auto rs = db.openRecordset("people");
    rs.addNew();
    rs.setField("ID", 7);
    rs.setField("Name", "ann");
    rs.update();
    rs.addNew();
    rs.setField("ID", 7);
    rs.setField("Name", "bob");
    EXPECT_EQ(errorOf([&] { rs.update(); }), 3022);
    // The pending row survives the failed save, so the key can be moved on.
    EXPECT_EQ(rs.editMode(), dao::EditMode::AddNew);
    rs.setField("ID", 8);
    rs.update();
    EXPECT_EQ(count("people WHERE Name = 'bob' AND ID = 8"), 1);

    dao::TableDef t;
    t.name = "strict";
    t.fields = {{"Code", FieldType::Text, 5, 0, false}, {"N", FieldType::Long, 0, 0, false}};
    t.indexes = {{"PK", "Code;N", false, true}};
    db.createTable(t);
    EXPECT_EQ(errorOf([&] { db.execute("INSERT INTO strict (Code, N) VALUES ('', 1)"); }), 3315);
    EXPECT_EQ(errorOf([&] { db.execute("INSERT INTO strict (Code, N) VALUES ('a', NULL)"); }), 3058);
    db.execute("INSERT INTO strict (Code, N) VALUES (?, ?)", {"a", 1});
    EXPECT_EQ(errorOf([&] { db.execute("INSERT INTO strict (Code, N) VALUES (?, ?)", {"a", 1}); }), 3022);
}

TEST_F(DaoDb, QueryDefinitions) {
    db.createTable(peopleDef());
    addPerson("ann", 34);
    addPerson("bob", 40);
    db.createQueryDef("Adults", "SELECT Name FROM people WHERE Age >= 35");
    db.createQueryDef("Birthday", "UPDATE people SET Age = Age + 1 WHERE Name = ?");
    auto temp = db.createQueryDef("", "SELECT * FROM people");
    EXPECT_TRUE(temp.isTemporary());

    auto list = db.listTables();
    ASSERT_EQ(list.size(), 3u);  // the temporary one is not stored, the bookkeeping is hidden
    EXPECT_EQ(list[0].name, "Adults");
    EXPECT_TRUE(list[0].isQuery);
    EXPECT_EQ(list[1].name, "Birthday");
    EXPECT_TRUE(list[1].isQuery);
    EXPECT_FALSE(list[2].isQuery);

    EXPECT_EQ(db.queryDef("birthday").execute({"ann"}), 1);
    auto adults = db.openRecordset("Adults");
    EXPECT_EQ(adults.recordCount(), 2);
    EXPECT_FALSE(adults.updatable());
    EXPECT_EQ(db.queryDef("Adults").sql(), "SELECT Name FROM people WHERE Age >= 35");

    EXPECT_EQ(errorOf([&] { db.createQueryDef("adults", "SELECT 1"); }), 3012);
    EXPECT_EQ(errorOf([&] { db.createQueryDef("Empty", ""); }), 3129);
    EXPECT_EQ(errorOf([&] { db.createQueryDef("Bad name", "SELECT 1"); }), 3125);
    EXPECT_EQ(errorOf([&] { db.queryDef("Adults").execute(); }), 3065);
    EXPECT_EQ(errorOf([&] { db.queryDef("Nothing"); }), 3265);
}

TEST_F(DaoDb, ExecuteBindsValuesAndRunsOneStatement) {
    db.createTable(peopleDef());
    addPerson("o'neil", 1);
    // A value holding quotes and SQL is data, never SQL.
    EXPECT_EQ(db.execute("DELETE FROM people WHERE Name = ?", {"x' OR '1'='1"}), 0);
    EXPECT_EQ(db.execute("UPDATE people SET Age = ? WHERE Name = ?", {5, "o'neil"}), 1);
    EXPECT_EQ(errorOf([&] { db.execute("DELETE FROM people; DROP TABLE people"); }), 3129);
    EXPECT_EQ(errorOf([&] { db.execute("DELETE FROM people WHERE Age = ?"); }), 3075);
    EXPECT_EQ(errorOf([&] { db.execute("SELECT * FROM nowhere"); }), 3078);
    EXPECT_EQ(count("people"), 1);
}

TEST_F(DaoDb, OpeningFailuresAreNamed) {
    EXPECT_EQ(errorOf([&] { dao::Database(home / "missing.db"); }), 3024);
    testsupport::writeFile(home / "junk.db", std::string(4096, 'x'));
    EXPECT_EQ(errorOf([&] { dao::Database(home / "junk.db"); }), 3343);
    dao::Database closed;
    EXPECT_EQ(errorOf([&] { closed.listTables(); }), 3420);
}

TEST_F(DaoDb, TransactionsRollBackOrCommitOnEveryExit) {
    db.createTable(peopleDef());
    try {
        dao::Transaction tx(db);
        addPerson("lost", 1);
        throw std::runtime_error("stop");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(count("people"), 0);
    try {
        dao::Transaction tx(db, dao::Transaction::OnExit::Commit);
        addPerson("kept", 1);
        throw std::runtime_error("stop");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(count("people"), 1);
    {
        dao::Transaction outer(db);
        addPerson("outer", 1);
        {
            dao::Transaction inner(db);
            addPerson("inner", 1);
        }  // rolled back alone
        outer.commit();
    }
    EXPECT_EQ(count("people WHERE Name = 'outer'"), 1);
    EXPECT_EQ(count("people WHERE Name = 'inner'"), 0);
}

TEST_F(DaoDb, BatchesAreCommittedWhileTheWriteGoesOn) {
    db.createTable(peopleDef());
    dao::Database other(path());
    dao::Transaction tx(db, dao::Transaction::OnExit::Rollback, 2);
    for (int i = 0; i < 5; ++i) {
        addPerson("p" + std::to_string(i), i);
        tx.tick();
    }
    auto seen = other.openRecordset("SELECT count(*) FROM people", RecordsetType::Snapshot);
    EXPECT_EQ(seen.field(0).asInteger(), 4);  // the fifth row is not committed yet
    tx.rollback();
    EXPECT_EQ(count("people"), 4);
}

TEST_F(DaoDb, CompactionKeepsTheDataAndReplacesTheFile) {
    db.createTable(peopleDef());
    {
        dao::Transaction tx(db);
        for (int i = 0; i < 2000; ++i) addPerson("p" + std::to_string(i % 100), i);
        tx.commit();
    }
    db.execute("DELETE FROM people WHERE Age >= 100");
    auto before = std::filesystem::file_size(path());
    auto rs = db.openRecordset("people");
    db.compact(home / "site.db.temp");
    EXPECT_TRUE(db.isOpen());
    EXPECT_LT(std::filesystem::file_size(path()), before);
    EXPECT_FALSE(std::filesystem::exists(home / "site.db.temp"));
    EXPECT_EQ(count("people"), 100);
    EXPECT_EQ(errorOf([&] { rs.moveFirst(); }), 3420);  // recordsets close with the database
}

TEST_F(DaoDb, FailedCompactionLeavesTheOriginalOpenAndWhole) {
    db.createTable(peopleDef());
    addPerson("ann", 1);
    testsupport::writeFile(home / "taken.temp", "x");
    EXPECT_EQ(errorOf([&] { db.compact(home / "taken.temp"); }), 3204);
    EXPECT_EQ(testsupport::readFile(home / "taken.temp"), "x");
    EXPECT_NE(errorOf([&] { db.compact(home / "no/such/folder/x.temp"); }), 0);
    {
        dao::Database second(path());
        EXPECT_EQ(errorOf([&] { db.compact(home / "x.temp"); }), 3356);
    }
    EXPECT_TRUE(db.isOpen());
    EXPECT_EQ(count("people"), 1);
    EXPECT_FALSE(std::filesystem::exists(home / "x.temp"));

    dao::compactDatabase(path(), home / "copy.db");
    dao::Database copy(home / "copy.db");
    EXPECT_EQ(copy.listTables().size(), 1u);
    EXPECT_EQ(errorOf([&] { dao::compactDatabase(path(), home / "copy.db"); }), 3204);
}

TEST_F(DaoDb, AnotherRunningCopyIsRefusedWith3197) {
    dao::Database again(path());  // this program may open it twice
    auto openInChild = [&] {
        pid_t pid = fork();
        if (pid == 0) {
            int code = 0;
            try {
                dao::Database d(path());
            } catch (const sys::RtError& e) {
                code = e.number() == 3197 ? 97 : 1;
            } catch (...) {
                code = 2;
            }
            _exit(code);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(openInChild(), 97);
    again.close();
    EXPECT_EQ(openInChild(), 97);
    db.close();
    EXPECT_EQ(openInChild(), 0);
}

namespace {
// Held at namespace scope as the program holds its site database: made before any lock
// of a file is taken, so it is destroyed after the lock registry's own statics.
std::optional<dao::Database> heldToTheEnd;
}  // namespace

TEST_F(DaoDb, AProgramThatEndsWithADatabaseOpenEndsCleanly) {
    db.close();
    EXPECT_EXIT(
        {
            heldToTheEnd.emplace(path());
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}
