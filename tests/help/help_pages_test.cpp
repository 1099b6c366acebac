// The help pages that ship with the program: every command of the menu has its
// section, found the way help for the last command finds it, and every link leads
// to a page and an anchor that exist.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "core/text.h"
#include "help/help_display.h"
#include "shell/menu_tree.h"
#include "tests/support/temp_home.h"

namespace {

std::string helpFolder() { return std::string(std::getenv("DRAVOLIN_SOURCE_DIR")) + "/resources/help/"; }

}  // namespace

TEST(HelpPages, EveryCommandCodeHasItsSection) {
    const std::string folder = helpFolder();
    for (const shell::MenuSpec& menu : shell::mainMenuTree()) {
        std::vector<std::string> codes;
        if (!menu.code.empty()) codes.push_back(menu.code);  // opening a menu sets its letter
        for (const shell::MenuItemSpec& item : menu.items)
            if (!item.code.empty()) codes.push_back(item.code);
        for (const std::string& code : codes) {
            SCOPED_TRACE(code);
            const std::string page = folder + code.substr(0, 1) + ".htm";
            ASSERT_TRUE(std::filesystem::is_regular_file(page));
            const std::string section = HELP_SectionRead(page, code);
            EXPECT_EQ(section.find("No Help Available"), std::string::npos);
            // Written exactly as the anchor, so that the help window finds it without
            // its case-insensitive fallback.
            EXPECT_NE(testsupport::readFile(page).find("<a name=\"" + code + "\">"), std::string::npos);
            // The popup shows it as plain text: no markup and no entity it cannot decode.
            const std::string popup = HELP_PopupText(section);
            EXPECT_GT(popup.size(), 40u);
            EXPECT_FALSE(std::regex_search(popup, std::regex("<[A-Za-z/!]"))) << popup;
            EXPECT_EQ(popup.find("???"), std::string::npos) << popup;
        }
    }
    EXPECT_EQ(HELP_SectionRead(folder + "helpcont.htm", "start").find("No Help Available"), std::string::npos);
}

TEST(HelpPages, EveryLinkResolves) {
    const std::string folder = helpFolder();
    const std::regex href("href=\"([^\"]*)\"");
    int links = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        const std::string text = testsupport::readFile(entry.path().string());
        for (std::sregex_iterator it(text.begin(), text.end(), href), end; it != end; ++it) {
            const std::string link = (*it)[1];
            SCOPED_TRACE(name + ": " + link);
            ++links;
            const std::size_t hash = link.find('#');
            const std::string file = hash == std::string::npos ? link : link.substr(0, hash);
            const std::string target = folder + (file.empty() ? name : file);
            ASSERT_TRUE(std::filesystem::is_regular_file(target));
            if (hash != std::string::npos) {
                EXPECT_NE(testsupport::readFile(target).find("<a name=\"" + link.substr(hash + 1) + "\">"),
                          std::string::npos);
            }
        }
    }
    EXPECT_GT(links, 50);
}
