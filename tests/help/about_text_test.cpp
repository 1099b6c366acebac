#include <gtest/gtest.h>

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/shell_hooks.h"
#include "core/text.h"
#include "help/about_text.h"
#include "tests/support/temp_home.h"

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines{""};
    for (char c : text) {
        if (c == '\r') lines.emplace_back();
        else lines.back() += c;
    }
    return lines;
}

class LastValsRouting : public core::ShellHooks {
public:
    std::string iniSectFileGet(const std::string& section, const std::string&) override {
        return section == "Main" ? gIniLastVals : "";
    }

private:
    core::ScopedShellHooks installed_{this};
};

}  // namespace

TEST(AboutText, ReadsTopToBottom) {
    TXT_CrLfInit();
    const AboutFolders folders{.program = "/usr/bin", .data = "/home/me/sites/Shop/"};
    struct Case {
        const char* name;
        std::string version, prefix, trailing, note, build;
        std::string line1, line2;
    };
    const Case cases[] = {
        {"all empty", "", "", "", "", "2612110000", "Dravolin  Version 0.10", "Build: 261.211.000.0"},
        {"version word and prefix", "Pro", "* ", "", "", "2612110000", "* Dravolin Pro Version 0.10",
         "Build: 261.211.000.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto lines = linesOf(ABOUT_Text(c.version, c.prefix, c.trailing, c.note, c.build, folders));
        ASSERT_GT(lines.size(), 10u);
        EXPECT_EQ(lines[0], c.line1);
        EXPECT_EQ(lines[1], c.line2);
    }
    const std::string text = ABOUT_Text("", "", " -- the end", gCR + "Shared Parameters from Directory: " + gCR + "/opt/app/",
                                        "2612110000", folders);
    const auto lines = linesOf(text);
    // Each folder with one "/" at its end, the note after the site's folder.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "/usr/bin/"), lines.end());
    auto data = std::find(lines.begin(), lines.end(), "/home/me/sites/Shop/");
    ASSERT_NE(data, lines.end());
    EXPECT_EQ(*(data + 1), "Shared Parameters from Directory: ");
    EXPECT_EQ(*(data + 2), "/opt/app/");
    EXPECT_TRUE(TXT_EndsWith(text, "Please report any problems to dravolin@example.org -- the end", true));
}

TEST(AboutText, TheBuildTextTakesTheSitesParm) {
    testsupport::TempHome home;
    TXT_CrLfInit();
    LastValsRouting routing;
    gIniLastVals = home / "LastVals.ini";
    EXPECT_EQ(ABOUT_BuildText(), "2612110000");
    INI_Put("Main", "Parm", "-beta", gIniLastVals);
    EXPECT_EQ(ABOUT_BuildText(), "2612110000-beta");
}
