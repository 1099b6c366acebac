#include "platform/profile/shipped_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_home.h"

namespace {

std::string value(const std::string& section, const std::string& key, const std::string& file) {
    std::string out;
    profile::getString(section, key, "<missing>", out, 4096, file);
    return out;
}

// A folder made by an earlier version: its own values stay, what it lacks is added.
TEST(ShippedFiles, AnOlderProgramFolderGetsWhatItLacksAndKeepsItsOwnValues) {
    testsupport::TempHome home;
    const std::string shipped = home / "res/param/screens.ini", own = home / "prog/param/screens.ini";
    testsupport::writeFile(shipped, "[Main]\nAddLogData=AddLogData|Defs\nNewDB=NewDB|Defs\n\n"
                                    "[AddLogData]\nDoAddVal=1\n\n[NewDB]\nDefs={CheckBox|A|B|1}\n");
    testsupport::writeFile(own, "[main]\nAddLogData=AddLogData|Defs\nWinPos=10|20\n[AddLogData]\nDoAddVal=0\n");
    testsupport::writeFile(home / "res/help/helpcont.htm", "<html>contents</html>");
    testsupport::writeFile(home / "prog/help/F.htm", "<html>mine</html>");

    profile::addMissingShippedFiles(home / "prog", home / "res");
    EXPECT_EQ(value("Main", "NewDB", own), "NewDB|Defs");          // a new entry of a known section
    EXPECT_EQ(value("NewDB", "Defs", own), "{CheckBox|A|B|1}");    // a new section
    EXPECT_EQ(value("Main", "WinPos", own), "10|20");              // its own entries stay
    EXPECT_EQ(value("AddLogData", "DoAddVal", own), "0");          // and its own values
    EXPECT_TRUE(std::filesystem::exists(home / "prog/help/helpcont.htm"));
    EXPECT_EQ(testsupport::readFile(home / "prog/help/F.htm"), "<html>mine</html>");

    // Once everything is there, nothing is written again.
    const auto written = std::filesystem::last_write_time(own);
    profile::addMissingShippedFiles(home / "prog", home / "res");
    EXPECT_EQ(std::filesystem::last_write_time(own), written);
}

}  // namespace
