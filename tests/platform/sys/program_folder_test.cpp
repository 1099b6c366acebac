#include <filesystem>

#include <gtest/gtest.h>

#include "platform/sys/program_folder.h"
#include "platform/sys/rt_error.h"
#include "tests/support/temp_home.h"

using testsupport::readFile;
using testsupport::writeFile;

TEST(ProgramFolder, FollowsDravolinHomeThenXdg) {
    testsupport::TempHome home;
    EXPECT_EQ(sys::programFolder(), home.path());
    unsetenv("DRAVOLIN_HOME");
    setenv("XDG_DATA_HOME", "/x/data/", 1);
    EXPECT_EQ(sys::programFolder(), "/x/data/dravolin");
    setenv("XDG_STATE_HOME", "/x/state", 1);
    EXPECT_EQ(sys::fallbackErrorLogPath(), "/x/state/dravolin/errors.log");
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_STATE_HOME");
}

TEST(ProgramFolder, FirstStartCopiesResourcesAndNeverOverwrites) {
    testsupport::TempHome tmp;
    writeFile(tmp / "res/param/screens.ini", "[A]\nx=1\n");
    std::string folder = tmp / "home";
    sys::ensureProgramFolder(folder, tmp / "res");
    EXPECT_EQ(readFile(folder + "/param/screens.ini"), "[A]\nx=1\n");

    writeFile(folder + "/param/screens.ini", "changed by the user");
    sys::ensureProgramFolder(folder, tmp / "res");
    EXPECT_EQ(readFile(folder + "/param/screens.ini"), "changed by the user");
}

TEST(ProgramFolder, MissingResourcesIsAClearError) {
    testsupport::TempHome tmp;
    EXPECT_THROW(sys::ensureProgramFolder(tmp / "home", tmp / "nowhere"), sys::RtError);
}
