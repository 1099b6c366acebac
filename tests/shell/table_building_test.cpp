#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "core/error_handler.h"
#include "core/path_checks.h"
#include "core/progress.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"

#include "platform/dao/database.h"
#include "platform/sys/rt_error.h"
#include "shell/table_building.h"
#include "tests/support/temp_home.h"

using testsupport::writeFile;

namespace {

int errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const sys::RtError& e) {
        return e.number();
    }
    return 0;
}

std::string defText(const std::string& fields, const std::string& indexes) {
    return "notes, outside the blocks\nFIELD DEFINITIONS START\n" + fields +
           "FIELD DEFINITIONS END\nINDEX DEFINITIONS START\n" + indexes + "INDEX DEFINITIONS END\n";
}

class TableBuilding : public ::testing::Test {
protected:
    void SetUp() override { writeFile(dbPath(), ""); }  // an empty file is an empty database
    std::string dbPath() const { return home / "data/site1.db"; }
    bool build(const std::string& def, const std::string& table = "t") {
        writeFile(home / "t.def", def);
        bool allowZeroLength = true;
        return BLDTBL_BuildTableFromDef(table, dbPath(), home / "t.def", allowZeroLength);
    }
    dao::TableDef built(const std::string& table = "t") { return dao::Database(dbPath()).tableDef(table); }
    bool exists(const std::string& table) {
        for (const auto& t : dao::Database(dbPath()).listTables())
            if (t.name == table) return true;
        return false;
    }
    testsupport::TempHome home;
};

}  // namespace

TEST(FieldTypes, NamesGiveTheOldEngineTypes) {
    struct Case { const char* name; int type; } cases[] = {
        {"String", 10}, {"A", 10}, {"Counter", 4}, {"True/False", 1}, {"L", 1}, {"Byte", 2},
        {"Integer", 3}, {"N", 3}, {"Long", 4}, {"P", 4}, {"Currency", 5}, {"Single", 6},
        {"Double", 7}, {"Date/Time", 8}, {"Binary", 11}, {"B", 11}, {"Memo", 12},
        {"string", 0}, {"Text", 0}, {"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BLDTBL_FieldTypeFromName(c.name), c.type);
    }
}

TEST_F(TableBuilding, FieldAndIndexRowsBecomeTheTable) {
    EXPECT_TRUE(build(defText("ID,Counter,0\n"
                              "Name,String,30.4,'a comment,FI\n"
                              "Size,Long\n",
                              "ByName,Name\n"
                              "PK,ID, ,P,ignored\n"
                              "BySize,Size;-Name,uq,\n"
                              "Waiting,Name,,,size Is Null\n"
                              "Sized,Size,,, Size IS NOT NULL \n")));
    auto t = built();
    ASSERT_EQ(t.fields.size(), 3u);
    EXPECT_EQ(t.fields[0].attributes, dao::kAutoIncrField);
    EXPECT_EQ(t.fields[1].type, dao::FieldType::Text);
    EXPECT_EQ(t.fields[1].size, 30);
    EXPECT_EQ(t.fields[1].attributes, dao::kFixedField);  // the comment does not end the row
    EXPECT_TRUE(t.fields[1].allowZeroLength);
    EXPECT_EQ(t.fields[2].type, dao::FieldType::Long);
    ASSERT_EQ(t.indexes.size(), 5u);
    for (const auto& ix : t.indexes) {
        SCOPED_TRACE(ix.name);
        // A fifth cell limits the rows an index holds only when it says which.
        EXPECT_EQ(ix.rowsField, ix.name == "Waiting" || ix.name == "Sized" ? "Size" : "");
        EXPECT_EQ(ix.rowsNotNull, ix.name == "Sized");
        if (ix.name == "PK") {
            EXPECT_TRUE(ix.primary);
        } else if (ix.name == "Waiting" || ix.name == "Sized") {
            EXPECT_FALSE(ix.unique);
        } else if (ix.name == "ByName") {
            EXPECT_FALSE(ix.unique);
            EXPECT_FALSE(ix.primary);
        } else {
            EXPECT_EQ(ix.name, "BySize");
            EXPECT_TRUE(ix.unique);
            EXPECT_EQ(ix.fields, "Size;-Name");
        }
    }
}

TEST_F(TableBuilding, BadDefinitionsRaiseTheirNumbersAndLeaveNoTable) {
    struct Case { const char* name; std::string def; std::string table; int err; } cases[] = {
        {"option in lower case", defText("A,Long,0,fi\n", ""), "t", 1103},
        {"unknown option", defText("A,Long,0,X\n", ""), "t", 1103},
        {"bad unique flag", defText("A,Long\n", "I,A,U\n"), "t", 1109},
        {"blank primary flag", defText("A,Long\n", "I,A,, \n"), "t", 1110},
        {"bad primary flag", defText("A,Long\n", "I,A,,key\n"), "t", 1110},
        {"41 characters", defText("A,Long\n", ""), std::string(41, 'x'), 1101},
        {"not a word", defText("A,Long\n", ""), "t-1", 1102},
        {"unknown type", defText("A,Text,10\n", ""), "t", 3259},
        {"index on a missing field", defText("A,Long\n", "I,B\n"), "t", 3265},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(errorOf([&] { build(c.def, c.table); }), c.err);
        EXPECT_FALSE(exists(c.table));
    }
}

TEST_F(TableBuilding, PathsAreCheckedBeforeAnythingIsRead) {
    writeFile(home / "t.def", defText("A,Long\n", ""));
    bool allow = true;
    struct Case { const char* name; std::string db, def; int err; } cases[] = {
        {"star in database path", home / "data/*.db", home / "t.def", 1104},
        {"missing database", home / "data/none.db", home / "t.def", 1105},
        {"star in definition path", dbPath(), home / "*.def", 1106},
        {"missing definition file", dbPath(), home / "none.def", 1107},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(errorOf([&] { BLDTBL_BuildTableFromDef("t", c.db, c.def, allow); }), c.err);
    }
}

TEST_F(TableBuilding, EmptyOrMissingBlocks) {
    EXPECT_FALSE(build(defText("\n", "")));  // one row, empty first cell
    EXPECT_FALSE(exists("t"));
    EXPECT_FALSE(build("FIELD DEFINITIONS START\nA,Long\n"));  // the field block never ends
    EXPECT_FALSE(exists("t"));
    // Without an index block the table is made, without indexes.
    EXPECT_FALSE(build("FIELD DEFINITIONS START\nA,Long\nFIELD DEFINITIONS END\n"));
    EXPECT_TRUE(exists("t"));
    EXPECT_TRUE(built().indexes.empty());
}

TEST_F(TableBuilding, ShippedDefinitionsBuildTheSiteTablesWithTheirIndexes) {
    const std::string src = std::getenv("DRAVOLIN_SOURCE_DIR");
    struct Case { const char* table; std::string def; std::vector<std::string> indexes; } cases[] = {
        {"logline", src + "/resources/param/def/logline_keep.def", {"NewLines", "PrimaryKey", "Stamp", "Visit"}},
        {"visit", src + "/resources/FirstSite/param/def/visit.def", {"IPEnd", "PrimaryKey", "Start"}},
        {"visitpages", src + "/resources/FirstSite/param/def/visitpages.def", {"visitID"}},
        {"page", src + "/resources/FirstSite/param/def/page.def", {"Filename", "PrimaryKey"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.table);
        bool allow = true;
        EXPECT_TRUE(BLDTBL_BuildTableFromDef(c.table, dbPath(), c.def, allow));
        std::vector<std::string> names;
        for (const auto& ix : built(c.table).indexes) names.push_back(ix.name);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, c.indexes);
    }
    bool allow = true;
    EXPECT_TRUE(BLDTBL_BuildTableFromDef("lean", dbPath(), src + "/resources/param/def/logline_nokeep.def", allow));
    EXPECT_EQ(built("lean").fields.size(), 7u);
}

namespace {

// Counts the progress reports the walk starts; like the real service it does nothing
// while gPISOff is set.
class CountingReports : public core::ProgressReports {
public:
    CountingReports() { core::setProgressReports(this); }
    ~CountingReports() override { core::setProgressReports(nullptr); }
    void start(const std::string& message, const std::string&, int64_t total, const std::string&, long& reportNo,
               double, int, bool, const std::string&) override {
        if (gPISOff) return;
        starts.push_back(message + " of " + std::to_string(total));
        reportNo = 1;
    }
    void update(int64_t&, const std::string& message, long, PIS_UpdateFlags) override {
        if (!gPISOff) updates.push_back(message);
    }
    void end(long, bool) override { ends += gPISOff ? 0 : 1; }
    void closeAll() override {}
    std::vector<std::string> starts, updates;
    int ends = 0;
};

class CheckAll : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string src = std::getenv("DRAVOLIN_SOURCE_DIR");
        writeFile(site("data/site1.db"), testsupport::readFile(src + "/resources/data/site1.db"));  // the template
        for (const char* name : {"visit", "page", "visitpages"})
            writeFile(site(std::string("param/def/") + name + ".def"),
                      testsupport::readFile(src + "/resources/FirstSite/param/def/" + name + ".def"));
        writeFile(site("param/def/logline.def"), testsupport::readFile(src + "/resources/param/def/logline_keep.def"));
        writeFile(ini(), testsupport::readFile(src + "/resources/FirstSite/param/dbdef.ini") +
                             "\n[SiteDB2]\nTables=recent\n[recent]\nName=Recent\nDefinitions=SQL\n"
                             "SQL=SELECT VisitID FROM visit WHERE Files > 1\n");
        // The shipped list plus a stored query.
        replaceInIni("Tables=logline|visit|visitpages|page", "Tables=logline|visit|visitpages|page|recent");
        gMainDataDir = home / "MySite";
        gPAFN_Errorlog = site("errors.log");
    }
    void TearDown() override {
        gMainDataDir.clear();
        gPAFN_Errorlog.clear();
    }
    // The trap's question, answered, then the error handler's box, answered OK.
    void expectTrap(const std::string& answer) {
        boxes.press("Do you want to continue with other table loads?", answer);
        boxes.press("Press OK to terminate this Action and continue.", "OK");
    }
    std::string errorLog() { return testsupport::readFile(site("errors.log")); }
    std::string site(const std::string& rel) const { return home / ("MySite/" + rel); }
    std::string ini() const { return site("param/dbdef.ini"); }
    void replaceInIni(const std::string& from, const std::string& to) {
        std::string text = testsupport::readFile(ini());
        text.replace(text.find(from), from.size(), to);
        writeFile(ini(), text);
    }
    std::vector<std::string> tables() {
        std::vector<std::string> out;
        for (const auto& t : dao::Database(site("data/site1.db")).listTables()) out.push_back(t.name);
        return out;
    }
    void run() {
        bool allow = true;
        BLDTBL_CheckAllAndAddTbls(ini(), allow);
    }

    testsupport::TempHome home;
    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder boxes;
    CountingReports reports;
};

}  // namespace

TEST_F(CheckAll, BuildsOnlyWhatIsMissing) {
    run();
    EXPECT_EQ(tables(), (std::vector<std::string>{"Recent", "logline", "page", "visit", "visitpages"}));
    ASSERT_EQ(reports.starts.size(), 1u);
    EXPECT_EQ(reports.starts[0], "Building tables. of 5");
    EXPECT_EQ(reports.updates.front(), "Table name: logline");
    EXPECT_EQ(reports.ends, 1);
    EXPECT_FALSE(gPISOff);

    // A table that differs from its definition is left as it is; a dropped one comes back.
    {
        dao::Database db(site("data/site1.db"));
        db.execute("DROP TABLE page");
        db.execute("CREATE TABLE page (Other TEXT)");
        db.execute("DROP TABLE visitpages");
    }
    run();
    EXPECT_EQ(reports.starts.size(), 2u);
    EXPECT_EQ(reports.updates.back(), "Table name: visitpages");
    EXPECT_EQ(dao::Database(site("data/site1.db")).tableDef("page").fields[0].name, "Other");
    run();
    EXPECT_EQ(reports.starts.size(), 2u);  // nothing to build: no report
    EXPECT_EQ(errorLog(), "");
}

TEST_F(CheckAll, AFailureAsksAndGoesOnOrStops) {
    replaceInIni("Definitions=visit.def", "Definitions=missing.def");
    expectTrap("&Yes");
    run();
    EXPECT_EQ(tables(), (std::vector<std::string>{"Recent", "logline", "page", "visitpages"}));
    EXPECT_NE(errorLog().find("1107"), std::string::npos);
    EXPECT_NE(errorLog().find("YOU SELECTED: Load Other tables [ - This module will skip"), std::string::npos);

    {
        dao::Database db(site("data/site1.db"));
        for (const char* t : {"logline", "page", "visitpages"}) db.execute(std::string("DROP TABLE ") + t);
    }
    replaceInIni("Definitions=logline.def", "Definitions=SQL\nSQL=");  // an empty query text
    expectTrap("&No");
    run();
    EXPECT_EQ(tables(), (std::vector<std::string>{"Recent"}));  // stopped at the first failure
    EXPECT_NE(errorLog().find("3129"), std::string::npos);
    EXPECT_NE(errorLog().find("YOU SELECTED: Stop Table Loads"), std::string::npos);
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(reports.ends, 2);
    EXPECT_FALSE(gPISOff);
}

TEST_F(CheckAll, AnotherRunningCopyEndsTheProgram) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    if (child == 0) {
        dao::Database held(site("data/site1.db"));
        char c = 1;
        if (write(ready[1], &c, 1) != 1) _exit(1);
        pause();
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    boxes.press("This problem occurs when multiple copies of this Application are running", "&OK");
    EXPECT_THROW(run(), sys::EndProgram);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_EQ(boxes.pending(), 0u);
}
