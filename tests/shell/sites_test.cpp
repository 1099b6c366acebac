#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "shell/log_import_hooks.h"
#include "tests/shell/shell_home.h"

namespace {

class Sites : public ShellHome {
protected:
    void SetUp() override {
        ShellHome::SetUp();
        startWithFirstSite("Shop");
    }
    // A site made as the new-site command makes it, without its dialog.
    std::string create(const std::string& name, bool keep = false) {
        std::string listed = shell::addUniqueSiteName(name);
        STTA_SiteCreate(listed, keep, true, true, true, true, true);
        return listed;
    }
    std::string list() { return ini("Main", "DBNameLst", gIniSiteDbs); }
};

}  // namespace

TEST_F(Sites, ANewSiteGetsACleanUniqueFolderAndInheritsTheCurrentSitesFiles) {
    INI_Put("Groups", "STgrps", "shoes|boots", gIniSTgroups);  // the current site's groups
    std::filesystem::create_directories(home / "abc");          // a folder of that name is taken
    create("a/b:c", true);

    const std::string folder = home / "abc.1/";
    EXPECT_EQ(ini("a/b:c", "Parm", gIniSiteDbs), "abc.1/");
    EXPECT_EQ(ini("Main", "Parm", folder + "param/dbdef.ini"), "a/b:c");
    EXPECT_EQ(ini("Main", "LastKeepVal", folder + "param/dbdef.ini"), "True");
    EXPECT_EQ(testsupport::readFile(folder + "param/def/logline.def"),
              testsupport::readFile(home / "param/def/logline_keep.def"));
    EXPECT_EQ(ini("Groups", "STgrps", folder + "param/STgroups.ini"), "shoes|boots");
    EXPECT_EQ(ini("Main", "ShowOnlySelSiteArea", folder + "param/LastVals.ini"), "False");
    EXPECT_TRUE(exists(folder + "param/def/visit.def"));
    // The new site is current, with every per-site path following it.
    EXPECT_EQ(STTA_SiteParmGet(), "a/b:c");
    EXPECT_EQ(gIniSTgroups, folder + "param/STgroups.ini");
    EXPECT_EQ(ini("Main", "Main Data Dir", home / "Dir.ini"), "abc.1/");
    EXPECT_EQ(shell::mainCaption(), "Dravolin - Current Site DB: a/b:c");
}

TEST_F(Sites, ANewSiteStartsOnItsOwnDataRangeAndLogFilesButKeepsTheOtherLastValues) {
    const std::string shop = gIniLastVals;
    INI_Put("Main", "AnalStartEnd", "2015-01-01|2015-02-01", shop);
    INI_Put("Main", "PAFNlog", "/var/log/shop.log|Combined (Apache, NGINX)", shop);
    INI_Put("Main", "Log Files", "/var/log/shop.log|/var/log/old.log", shop);
    INI_Put("Main", "CntTopVals", "25", shop);
    create("Blog");

    const std::string blog = home / "Blog/param/LastVals.ini";
    EXPECT_EQ(gIniLastVals, blog);
    EXPECT_EQ(ini("Main", "AnalStartEnd", blog), "");
    EXPECT_EQ(ini("Main", "PAFNlog", blog), "");
    EXPECT_EQ(ini("Main", "Log Files", blog), "");
    EXPECT_EQ(ini("Main", "CntTopVals", blog), "25");
    // The first site keeps its own.
    EXPECT_EQ(ini("Main", "AnalStartEnd", shop), "2015-01-01|2015-02-01");
    EXPECT_EQ(ini("Main", "PAFNlog", shop), "/var/log/shop.log|Combined (Apache, NGINX)");
}

TEST_F(Sites, SwitchingToASiteWhoseFolderIsGoneChangesNothing) {
    create("Blog");
    INI_Put("Gone", "Parm", home / "Gone/", gIniSiteDbs);
    boxes.press("Database NOT changed.", "&OK");
    EXPECT_FALSE(STTA_SiteSelect("Gone", false));
    EXPECT_EQ(STTA_SiteParmGet(), "Blog");
    EXPECT_TRUE(gDB.isOpen());

    // A switch offers the new site's analysis only when asked to.
    std::vector<std::string> offers;
    shell::setAnalysisOffer([&](const std::string& reason) { offers.push_back(reason); });
    EXPECT_TRUE(STTA_SiteSelect("Blog", true));
    EXPECT_TRUE(STTA_SiteSelect("Shop", false));
    shell::setAnalysisOffer({});
    EXPECT_EQ(offers, std::vector<std::string>{"site database Blog"});
    EXPECT_EQ(STTA_SiteParmGet(), "Shop");
    EXPECT_EQ(gMainDataDir, home / "Shop");
    // The log import's checks reach the open site through the hooks, and only while open.
    EXPECT_EQ(core::shellHooks().siteDatabase(), &gDB);
    STTA_SiteDBClose();
    EXPECT_EQ(core::shellHooks().siteDatabase(), nullptr);
}

// The quick check reads the whole file at opening; one that passed is not read again
// until the file changes.
TEST_F(Sites, ADamagedDatabaseIsToldAtOpeningUnlessUnchangedSinceItLastPassed) {
    create("Blog");
    const std::string blog = gDB.path();
    ASSERT_TRUE(STTA_SiteSelect("Shop", false));
    struct stat before {};
    ASSERT_EQ(::stat(blog.c_str(), &before), 0);
    {
        std::fstream file(blog, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(2 * 4096);  // the head of the third page
        const std::string junk(200, '\xA5');
        file.write(junk.data(), static_cast<std::streamsize>(junk.size()));
    }
    const timespec unchanged[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, blog.c_str(), unchanged, 0), 0);
    const size_t boxesBefore = boxes.shown().size();
    EXPECT_TRUE(STTA_SiteSelect("Blog", false));
    EXPECT_EQ(boxes.shown().size(), boxesBefore);  // the file looks as it was when it passed

    ASSERT_TRUE(STTA_SiteSelect("Shop", false));
    const timespec later[2] = {before.st_atim, {before.st_mtim.tv_sec + 1, before.st_mtim.tv_nsec}};
    ASSERT_EQ(::utimensat(AT_FDCWD, blog.c_str(), later, 0), 0);
    boxes.press("The database of site Blog is damaged", "&OK");
    EXPECT_TRUE(STTA_SiteSelect("Blog", false));
    EXPECT_EQ(boxes.shown().size(), boxesBefore + 1);
}

TEST_F(Sites, TheSiteListSwitchesRemovesAndShowsOptions) {
    create("Blog");
    create("News");  // current
    boxes.expect(answer("Current Site DB is: News", "2", "R&emove "))  // the current site: refused
        .expect(answer("Current Site DB is: News", "1", "Show Op&tions for Site DB"))
        .press("Database Options for Site DB: Blog", "&OK")
        .expect(answer("Current Site DB is: News", "1", "R&emove "))
        .press("Press YES to erase folder: " + home / "Blog/", "&Yes")
        .expect(answer("Current Site DB is: News", "0", "&OK"));
    int finishOffers = 0;
    shell::setLogImportHooks({.incompleteAddFinish = [&] { ++finishOffers; }});
    shell::siteListCommand();
    shell::setLogImportHooks({});
    EXPECT_EQ(finishOffers, 1);  // after the switch, not after Remove or the options

    EXPECT_EQ(list(), "Shop|News");
    EXPECT_EQ(STTA_SiteParmGet(), "Shop");
    EXPECT_FALSE(exists(home / "Blog"));
    EXPECT_TRUE(exists(home / "recycled/Blog/data/site1.db"));  // its path below the program folder
    const auto& options = boxes.shown()[4].message;  // after the first-site boxes and two lists
    EXPECT_NE(options.find("Skip 404s [Skip Log Lines with HTTP status 4xx or 5xx]: YES"), std::string::npos);
    EXPECT_NE(options.find("Store (Keep) Extra data [referrer, user agent etc.]: NO"), std::string::npos);
}

TEST_F(Sites, RecycledFoldersKeepTheirPathBelowTheProgramFolderAndNeverMeet) {
    EXPECT_EQ(shell::recycledTarget(home / "Blog/"), home / "recycled/Blog");
    EXPECT_EQ(shell::recycledTarget("/var/tmp/x"), home / "recycled/var/tmp/x");
    std::filesystem::create_directories(home / "recycled/Blog");
    EXPECT_EQ(shell::recycledTarget(home / "Blog"), home / "recycled/Blog.2");
}

TEST_F(Sites, MovingSitesAwayUsesEachSitesStoredFolder) {
    create("a/b:c");  // folder "abc", not the name
    STTA_SiteDBClose();
    boxes.press("Databases moved to recycle directory:", "&OK");
    STTA_SitesMoveToRecycled();
    EXPECT_FALSE(exists(home / "abc"));
    EXPECT_FALSE(exists(home / "Shop"));
    EXPECT_NE(boxes.shown().back().message.find(gCR + "abc - " + home / "recycled/abc"),
              std::string::npos);
}

// Values a program-wide file moved to its alternate files while one site was current
// are found after a restart with another site current.
TEST_F(Sites, ProgramWideFilesKeepTheirAlternateFilesWhicheverSiteIsCurrent) {
    create("Blog");
    const std::string shared = gIniScreens;
    auto value = [](int i) { return std::string(4990, static_cast<char>('a' + i)); };
    for (int i = 0; i < 14; ++i) INI_Put("Wide", "e" + std::to_string(i), value(i), shared);
    ASSERT_TRUE(exists(home / "param/screens.0.ini"));
    ASSERT_TRUE(STTA_SiteSelect("Shop", false));
    restartGlobals();
    start();
    ASSERT_EQ(gMainDataDir, home / "Shop");
    for (int i = 0; i < 14; ++i) EXPECT_EQ(INI_Get("Wide", "e" + std::to_string(i), shared, 1), value(i)) << i;
}
