#include <pwd.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

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

// Without HOME the folders follow the user's home in the password database, never a
// shared folder; where that names none either, the folder is refused with what to set.
TEST(ProgramFolder, WithoutHomeThePasswordDatabaseHomeIsUsed) {
    // The variables as they were, put back at the end.
    struct Unset {
        std::vector<std::pair<std::string, std::optional<std::string>>> saved;
        explicit Unset(std::initializer_list<const char*> names) {
            for (const char* name : names) {
                const char* v = std::getenv(name);
                saved.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
                unsetenv(name);
            }
        }
        ~Unset() {
            for (const auto& [name, value] : saved)
                if (value) setenv(name.c_str(), value->c_str(), 1);
        }
    } unset{"DRAVOLIN_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "HOME"};
    const passwd* entry = getpwuid(getuid());
    if (entry && entry->pw_dir && *entry->pw_dir) {
        const std::string home = entry->pw_dir;
        EXPECT_EQ(sys::programFolder(), home + "/.local/share/dravolin");
        EXPECT_EQ(sys::fallbackErrorLogPath(), home + "/.local/state/dravolin/errors.log");
    } else {
        try {
            sys::programFolder();
            ADD_FAILURE() << "a program folder without any home";
        } catch (const sys::RtError& e) {
            EXPECT_NE(e.description().find("DRAVOLIN_HOME"), std::string::npos) << e.description();
        }
    }
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
