#include <gtest/gtest.h>

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/shell_hooks.h"
#include "core/text.h"
#include "shell/hooks.h"
#include "tests/support/temp_home.h"

namespace {

// Each path global gets its own name so the table shows where a section went.
void nameTheGlobals() {
    gIniLogFmts = "logfmts";
    gIniLastVals = "lastvals";
    gIniSTgroups = "stgroups";
    gIniNonSERefrgrps = "nonse";
    gIniSummaryLines = "summary";
    gIniVisitedPages = "vpages";
    gIniVisitedDirs = "vdirs";
    gIniSiteareas = "areas";
    gIniScreens = "screens";
    gIniSiteDbs = "sitedbs";
}

}  // namespace

TEST(IniRouting, SectionsGoToTheirFilesAndNamesCompareExactly) {
    nameTheGlobals();
    struct Case { const char* section; const char* key; const char* file; } cases[] = {
        {"Main", "AcD", "logfmts"},       {"Main", "acd", "lastvals"},     {"Main", "AnalStartEnd", "lastvals"},
        {"main", "AcD", ""},              {"Groups", "x", "stgroups"},     {"NonSERefrgrps", "", "nonse"},
        {"SummaryLines", "", "summary"},  {"VisitedPages", "", "vpages"},  {"VisitedDirs", "", "vdirs"},
        {"SiteAreas", "", "areas"},       {"Siteareas", "", ""},           {"EnterLogFile", "", "screens"},
        {"TmpVals", "", "screens"},       {"AnalOpsScreens", "", "screens"}, {"Browser For Help", "", "sitedbs"},
        {"RepFmt", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(STTA_IniSectFileGet(c.section, c.key), c.file);
    }
}

TEST(IniRouting, ASetChangesTheGlobalEveryoneReads) {
    nameTheGlobals();
    STTA_IniSectFileSet("TmpVals", "", "screens.moved");
    EXPECT_EQ(gIniScreens, "screens.moved");
    EXPECT_EQ(STTA_IniSectFileGet("EnterLogFile", ""), "screens.moved");
    STTA_IniSectFileSet("Unrouted", "", "elsewhere");  // nothing to change
    EXPECT_EQ(STTA_IniSectFileGet("Unrouted", ""), "");
    std::string file = "kept";
    STTA_IniSectFile(3, "Groups", "", file);  // an unknown mode does nothing
    EXPECT_EQ(file, "kept");
    EXPECT_EQ(gIniSTgroups, "stgroups");
}

TEST(IniRouting, TheStoreReadsAndWritesThroughTheRegisteredHooks) {
    testsupport::TempHome home;
    TXT_CrLfInit();
    core::ScopedShellHooks restored;
    shell::installShellHooks();
    gIniLogFmts = home / "logfmts.ini";
    gIniLastVals = home / "LastVals.ini";
    INI_Put("Main", "AcD", "Combined", "::*");
    INI_Put("Main", "Other", "x", "::*");
    EXPECT_EQ(INI_Get("Main", "AcD", gIniLogFmts, 3), "Combined");
    EXPECT_EQ(INI_Get("Main", "Other", gIniLastVals, 3), "x");
    EXPECT_EQ(INI_Get("Main", "AcD", gIniLastVals, 3), "");
}

TEST(HelpKey, F1ShowsThePageOfTheLastCommandsMenu) {
    std::vector<std::pair<std::string, std::string>> shown;
    shell::setHelpViewer([&](const std::string& file, const std::string& topic) { shown.emplace_back(file, topic); });
    gHelpPath = "/app/help/";
    gCurrMnu = "FW";
    STTA_MBKeyDown(nullptr, 112, 0);
    STTA_MBKeyDown(nullptr, 113, 0);  // F2 belongs to the box
    gCurrMnu = "";
    STTA_MBKeyDown(nullptr, 112, 0);  // no command yet: the contents
    {
        core::ScopedShellHooks restored;
        shell::installShellHooks();  // the dialog box reaches it through core's hooks
        gCurrMnu = "RT";
        int key = 112, shift = 0;
        core::shellHooks().mbKeyDown(key, shift);
    }
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[2], (std::pair<std::string, std::string>{"/app/help/R.htm", "RT"}));
    EXPECT_EQ(shown[0], (std::pair<std::string, std::string>{"/app/help/F.htm", "FW"}));
    EXPECT_EQ(shown[1], (std::pair<std::string, std::string>{"", ""}));
    shell::setHelpViewer({});
}
