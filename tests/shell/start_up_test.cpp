#include <algorithm>
#include <filesystem>
#include <set>

#include <sqlite3.h>

#include "platform/dao/database.h"
#include "platform/sys/rt_error.h"
#include "tests/shell/shell_home.h"
#include "tests/support/child_process.h"

namespace {

bool hasTable(const std::string& dbPath, const std::string& table) {
    for (const auto& t : dao::Database(dbPath).listTables())
        if (t.name == table) return true;
    return false;
}

int endCode(const std::function<void()>& f) {
    try {
        f();
    } catch (const sys::EndProgram& e) {
        return e.exitCode();
    }
    return -1;
}

}  // namespace

TEST_F(ShellHome, FirstStartAsksUntilTheNameIsUsableThenCreatesTheSite) {
    INI_Put("Main", "DBNameLst", "Shop", home / "param/sitedbs.ini");
    boxes.expect(answer("Enter your name for first site", "", "&OK"))
        .expect(answer("Enter your name for first site", "  shop ", "&OK"))
        .expect(answer("Enter your name for first site", "../My/Site", "&OK"))
        .expect(answer("Enter your name for first site", "My Site", "&OK"))
        .press("Site DB >>My Site<< created." + gCRCR + "Use Add new raw log data to read raw log data", "&No");
    start();

    ASSERT_EQ(boxes.shown().size(), 5u);
    EXPECT_EQ(boxes.shown()[0].notice, "");
    EXPECT_EQ(boxes.shown()[1].notice, "Name is required.");
    EXPECT_NE(boxes.shown()[2].notice.find("Name already exists."), std::string::npos);
    EXPECT_NE(boxes.shown()[3].notice.find("cannot begin with \".\" nor hold any of"), std::string::npos);

    const std::string folder = home / "My Site/";
    const std::string sitedbs = home / "param/sitedbs.ini";
    EXPECT_EQ(ini("Main", "DBNameLst", sitedbs), "Shop|My Site");
    EXPECT_EQ(ini("Main", "NmFirstSite", sitedbs), "My Site");
    EXPECT_EQ(ini("My Site", "Parm", sitedbs), "My Site/");
    EXPECT_EQ(ini("Main", "Main Data Dir", home / "Dir.ini"), "My Site/");
    const std::string dbdef = folder + "param/dbdef.ini";
    EXPECT_EQ(ini("Main", "Parm", dbdef), "My Site");
    struct { const char* key; const char* value; } options[] = {
        {"LastKeepVal", "False"}, {"Skip404", "True"}, {"RemQuery", "True"}, {"RemFrag", "True"}, {"EraseNonSE", "True"}};
    for (const auto& o : options) {
        SCOPED_TRACE(o.key);
        EXPECT_EQ(ini("Main", o.key, dbdef), o.value);
    }
    EXPECT_EQ(testsupport::readFile(folder + "param/def/logline.def"),
              testsupport::readFile(home / "param/def/logline_nokeep.def"));
    for (const char* table : {"logline", "visit", "visitpages", "page"}) {
        SCOPED_TRACE(table);
        EXPECT_TRUE(hasTable(folder + "data/site1.db", table));
    }
    EXPECT_EQ(gIniLastVals, folder + "param/LastVals.ini");
    EXPECT_EQ(gPAFN_Errorlog, home / "My Site/errors.log");
    EXPECT_EQ(gIniScreens, home / "param/screens.ini");
    EXPECT_EQ(shell::mainCaption(), "Dravolin - Current Site DB: My Site");
    EXPECT_TRUE(gDB.isOpen());
    // Only what the first site uses: no placeholder site, no spare database.
    std::set<std::string> top;
    for (const auto& e : std::filesystem::directory_iterator(home.path())) top.insert(e.path().filename());
    EXPECT_EQ(top, (std::set<std::string>{"Dir.ini", "My Site", "help", "param"}));
}

TEST_F(ShellHome, SecondStartOpensTheSameSiteWithoutAsking) {
    startWithFirstSite("Shop");
    restartGlobals();
    start();  // any box would fail the test
    EXPECT_EQ(shell::mainCaption(), "Dravolin - Current Site DB: Shop");
    EXPECT_EQ(gMainDataDir, home / "Shop");
}

TEST_F(ShellHome, ACopiedProgramFolderUsesItsOwnSitesAndOldAbsolutePathsStillRead) {
    startWithFirstSite("Shop");
    STTA_SiteDBClose();
    testsupport::TempHome copy;  // the program folder now
    std::filesystem::copy(home.path(), copy.path(), std::filesystem::copy_options::recursive);
    STTA_SiteDBClose();
    gIniAltLists.clear();
    shell::setProgramFolder(copy.path());
    start();
    EXPECT_EQ(gMainDataDir, copy / "Shop");
    EXPECT_EQ(gIniDbDef, copy / "Shop/param/dbdef.ini");

    // Entries written with absolute paths by earlier versions.
    STTA_SiteDBClose();
    INI_Put("Shop", "Parm", home / "Shop/", copy / "param/sitedbs.ini");
    INI_Put("Main", "Main Data Dir", home / "Shop/", copy / "Dir.ini");
    start();
    EXPECT_EQ(gMainDataDir, home / "Shop");
}

TEST_F(ShellHome, AnEmptyFirstSiteEntrySkipsTheQuestion) {
    startWithFirstSite("Shop");
    INI_Put("Main", "NmFirstSite", "", home / "param/sitedbs.ini");
    restartGlobals();
    start();
    EXPECT_EQ(boxes.pending(), 0u);
}

TEST_F(ShellHome, ASiteListThatCannotBeReadIsReportedAndLeftAsItIs) {
    startWithFirstSite("Shop");
    const std::string sitedbs = home / "param/sitedbs.ini";
    std::string junk;
    for (int i = 0; i < 600; ++i) junk += static_cast<char>((i * 7919) % 256);
    for (const std::string& bytes : {junk, std::string("garbage without a section\nnor entries\n")}) {
        testsupport::writeFile(sitedbs, bytes);
        restartGlobals();
        boxes.press("The site list " + sitedbs + " cannot be read: ", "OK");
        EXPECT_EQ(endCode([&] { start(); }), 1);
        EXPECT_EQ(boxes.pending(), 0u);
        EXPECT_TRUE(testsupport::readFile(sitedbs) == bytes);
    }
}

// An emptied site list with the sites' folders still there: they are named, and
// listed again or left for a fresh start as the user chooses.
TEST_F(ShellHome, AnEmptySiteListBesideSiteFoldersOffersToListThemAgain) {
    startWithFirstSite("Shop");
    std::string blog = "Blog: news";
    STTA_SiteCreate(blog, false, true, true, true, true, true);  // folder "Blog news", current
    INI_Put("Main", "DBNameLst", "Shop|Blog: news", gIniSiteDbs);
    const std::string sitedbs = home / "param/sitedbs.ini";

    testsupport::writeFile(sitedbs, "");
    restartGlobals();
    boxes.press("is empty, but these site folders are in the program folder:", "&List Them Again");
    const size_t before = boxes.shown().size();
    start();
    ASSERT_EQ(boxes.shown().size(), before + 1);
    for (const std::string& folder : {home / "Blog news/", home / "Shop/"})
        EXPECT_NE(boxes.shown()[before].message.find(folder), std::string::npos) << folder;
    EXPECT_EQ(ini("Main", "DBNameLst", sitedbs), "Blog: news|Shop");
    EXPECT_EQ(ini("Shop", "Parm", sitedbs), "Shop/");
    EXPECT_EQ(ini("Blog: news", "Parm", sitedbs), "Blog news/");
    EXPECT_EQ(ini("Main", "NmFirstSite", sitedbs), "Blog: news");
    EXPECT_EQ(shell::mainCaption(), "Dravolin - Current Site DB: Blog: news");

    // Starting afresh asks for a first site, as on a first start; the folders stay.
    testsupport::writeFile(sitedbs, "");
    restartGlobals();
    boxes.press("is empty, but these site folders", "Start &Afresh").press("Enter your name for first site", "E&xit");
    EXPECT_EQ(endCode([&] { start(); }), 0);
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_TRUE(exists(home / "Shop/data/site1.db"));
}

TEST_F(ShellHome, ExitInTheFirstSiteQuestionEndsWithoutASite) {
    boxes.press("Enter your name for first site", "E&xit");
    EXPECT_EQ(endCode([&] { start(); }), 0);
    EXPECT_EQ(ini("Main", "DBNameLst", home / "param/sitedbs.ini"), "");
    EXPECT_EQ(ini("Main", "NmFirstSite", home / "param/sitedbs.ini"), "");
}

class Recovery : public ShellHome {
protected:
    // Two sites, "Second" current, whose database file is then deleted.
    void SetUp() override {
        ShellHome::SetUp();
        startWithFirstSite("First");
        std::string second = shell::addUniqueSiteName("Second");
        STTA_SiteCreate(second, true, true, true, true, true, true);
        STTA_SiteDBClose();
        std::filesystem::remove(home / "Second/data/site1.db");
        restartGlobals();
    }
    // Table building meets the missing file first, asks whether to go on, and the
    // error handler reports the stop.
    void expectBuildingStops() {
        boxes.press("Do you want to continue with other table loads?", "&No").press("Could not find file", "OK");
    }
    static constexpr const char* kError = "Startup/Database error.";
};

TEST_F(Recovery, SelectingASoundSiteLeavesTheLoop) {
    expectBuildingStops();
    boxes.press(kError, "&Select Database")
        .expect(answer("Current Site DB is: Second", "0", "&OK"));
    start();
    EXPECT_EQ(shell::mainCaption(), "Dravolin - Current Site DB: First");
    EXPECT_EQ(boxes.pending(), 0u);
    auto box = std::find_if(boxes.shown().begin(), boxes.shown().end(),
                            [](const core::DlgView& v) { return v.message.rfind(kError, 0) == 0; });
    ASSERT_NE(box, boxes.shown().end());
    EXPECT_EQ(box->buttons.back(), "E&xit Dravolin");
    EXPECT_EQ(box->caption, "Dravolin");
}

TEST_F(Recovery, ExitEndsTheProgram) {
    expectBuildingStops();
    boxes.press(kError, "E&xit Dravolin");
    EXPECT_EQ(endCode([&] { start(); }), 0);
}

TEST_F(Recovery, ANewSiteIsListedUnderAFreeName) {
    // A site of that name exists already: the recovery site gets the next free name.
    INI_Put("Main", "DBNameLst", "First|Second|Site Created for Recover", gIniSiteDbs);
    expectBuildingStops();
    boxes.press(kError, "Create Ne&w Database");
    start();
    EXPECT_EQ(ini("Main", "DBNameLst", gIniSiteDbs), "First|Second|Site Created for Recover|Site Created for Recover 2");
    EXPECT_EQ(shell::mainCaption(), "Dravolin - Current Site DB: Site Created for Recover 2");
}

TEST_F(ShellHome, OnlyTheExactUninstallSwitchRunsTheCleanUp) {
    startWithFirstSite("Shop");
    for (const char* line : {"/1uninst", "/1UNINST x", "anything"}) {
        SCOPED_TRACE(line);
        restartGlobals();
        start(line);  // a normal start: no box
        EXPECT_TRUE(exists(home / "Shop/data/site1.db"));
    }
    restartGlobals();
    boxes.press("Do you want to delete all site databases that you created?", "&Yes")
        .press("Databases moved to recycle directory:", "&OK");
    EXPECT_EQ(endCode([&] { start("/1UNINST"); }), 0);
    EXPECT_FALSE(exists(home / "Shop"));
    EXPECT_TRUE(exists(home / "recycled/Shop/data/site1.db"));
}

// File modes bind an ordinary user only, so these run in a child that is one.
TEST_F(ShellHome, AReadOnlySiteIsNamedAsNotWritableNotAsDeleted) {
    startWithFirstSite("Shop");
    STTA_SiteDBClose();
    testsupport::openToEveryone(home.path());
    for (const auto& e : std::filesystem::recursive_directory_iterator(home / "Shop"))
        if (!e.is_directory())
            std::filesystem::permissions(e.path(), std::filesystem::perms::owner_write |
                                                       std::filesystem::perms::group_write |
                                                       std::filesystem::perms::others_write,
                                         std::filesystem::perm_options::remove);
    const std::string db = home / "Shop/data/site1.db";
    const int rc = testsupport::runInChild(
        [&] {
            restartGlobals();
            testsupport::FakeUserInterface childUi;
            testsupport::ScriptedResponder childBoxes;
            childBoxes.press("Do you want to continue with other table loads?", "&No")
                .press("is read-only", "OK")
                .press("The files of the current site cannot be written.", "E&xit Dravolin");
            const int end = endCode([&] { start(); });
            const core::DlgView& last = childBoxes.shown().back();
            if (last.message.find(db) == std::string::npos) return 2;
            if (last.message.find("deleted") != std::string::npos) return 3;
            return childBoxes.pending() == 0 && end == 0 ? 0 : 4;
        },
        true);
    EXPECT_EQ(rc, 0);
}

TEST(ProgramFolderStart, AFolderThatCannotBeMadeIsReportedAndEndsWithStatusOne) {
    testsupport::TempHome tmp;
    const std::string resources = std::string(std::getenv("DRAVOLIN_SOURCE_DIR")) + "/resources";
    std::filesystem::create_directories(tmp / "readonly/home");
    testsupport::writeFile(tmp / "file", "in the way");
    testsupport::openToEveryone(tmp.path());
    std::filesystem::permissions(tmp / "readonly/home", std::filesystem::perms::owner_write |
                                                            std::filesystem::perms::group_write |
                                                            std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    for (const std::string& folder : {tmp / "readonly/home", tmp / "file/home"}) {
        SCOPED_TRACE(folder);
        const int rc = testsupport::runInChild(
            [&] {
                testsupport::FakeUserInterface childUi;
                testsupport::ScriptedResponder childBoxes;
                childBoxes.press("Dravolin cannot create its folder " + folder, "OK");
                const int end = endCode([&] { shell::openProgramFolder(folder, resources); });
                return childBoxes.pending() == 0 ? end : 2;
            },
            true);
        EXPECT_EQ(rc, 1);
    }
}

// Another program (a database browser, a backup) holding a write lock on the site's
// database: the site is sound, so nothing may offer to replace it.
TEST_F(ShellHome, ASiteLockedByAnotherProgramIsNamedAsInUseAndTriedAgain) {
    startWithFirstSite("Shop");
    STTA_SiteDBClose();
    const std::string db = home / "Shop/data/site1.db";
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    restartGlobals();
    boxes.expect(answer("is in use by another program", "", "&Try Again"))
        .expect({.expectMessage = "is in use by another program",
                 .act = [&](const core::DlgView&, core::DlgDriver& driver) {
                     sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
                     driver.press("&Try Again");
                 }});
    const size_t before = boxes.shown().size();
    start();
    sqlite3_close(other);
    EXPECT_EQ(boxes.pending(), 0u);
    ASSERT_EQ(boxes.shown().size(), before + 2);
    const core::DlgView& box = boxes.shown()[before];
    EXPECT_NE(box.message.find(db), std::string::npos);
    for (const std::string& word : {"Corrupt", "reinstall"}) EXPECT_EQ(box.message.find(word), std::string::npos);
    for (const std::string& button : box.buttons) EXPECT_EQ(button.find("Create"), std::string::npos);
    EXPECT_EQ(box.buttons.back(), "E&xit Dravolin");
    EXPECT_TRUE(gDB.isOpen());
    EXPECT_EQ(shell::mainCaption(), "Dravolin - Current Site DB: Shop");
    EXPECT_EQ(ini("Main", "DBNameLst", gIniSiteDbs), "Shop");
}

// What a kill during compaction leaves beside the site goes when the site next opens;
// files of other names stay.
TEST_F(ShellHome, AKilledCompactionsLeftoversGoWhenTheSiteOpens) {
    startWithFirstSite("Shop");
    STTA_SiteDBClose();
    const std::string db = home / "Shop/data/site1.db";
    const std::vector<std::string> leftovers = {db + ".compact", db + ".compact-journal", db + ".temp",
                                                db + ".temp-journal"};
    for (const std::string& path : leftovers) testsupport::writeFile(path, "half a copy");
    testsupport::writeFile(home / "Shop/data/notes.txt", "mine");
    restartGlobals();
    start();
    for (const std::string& path : leftovers) EXPECT_FALSE(exists(path)) << path;
    EXPECT_TRUE(exists(home / "Shop/data/notes.txt"));
    EXPECT_TRUE(gDB.isOpen());
}
