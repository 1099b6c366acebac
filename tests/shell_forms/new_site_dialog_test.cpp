#include "shell/forms/new_site_dialog.h"
#include "shell/log_import_hooks.h"
#include "tests/shell/shell_home.h"

namespace {

class NewSiteDialog : public ShellHome {
protected:
    void SetUp() override {
        ShellHome::SetUp();
        startWithFirstSite("Shop");
    }
    std::string list() { return ini("Main", "DBNameLst", gIniSiteDbs); }
};

TEST_F(NewSiteDialog, RefusesTakenNamesAndUsesTheRememberedOptions) {
    // Cancel, and Esc, make no site.
    boxes.press("Enter a name for the new site database", "&Cancel")
        .expect({.expectMessage = "Enter a name for the new site database",
                 .act = [](const core::DlgView&, core::DlgDriver& d) { d.key(27, 0); }});
    shell::newSiteCommand();
    shell::newSiteCommand();
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(list(), "Shop");

    INI_Put("NewDB", "LastKeepVal", "1", gIniScreens);
    INI_Put("NewDB", "Last404", "0", gIniScreens);
    int addOffers = 0;
    shell::setLogImportHooks({.addLogData = [&] { ++addOffers; }});
    boxes.expect(answer("Enter a name for the new site database", " SHOP", "&OK"))
        .expect(answer("Enter a name for the new site database", ".blog", "&OK"))
        .expect(answer("Enter a name for the new site database", "Blog", "&OK"))
        .press("Site DB >>Blog<< created.", "&Yes");
    shell::newSiteCommand();
    shell::setLogImportHooks({});
    EXPECT_EQ(gCurrMnu, "FD");
    EXPECT_EQ(addOffers, 1);  // Yes goes straight on to adding data
    const auto& shown = boxes.shown();
    EXPECT_NE(shown[shown.size() - 3].message.find("Name already exists."), std::string::npos);
    EXPECT_NE(shown[shown.size() - 2].message.find("cannot begin with \".\""), std::string::npos);
    EXPECT_NE(shown[shown.size() - 2].caption.find("- Enter Database Name."), std::string::npos);
    EXPECT_EQ(list(), "Shop|Blog");
    EXPECT_EQ(ini("Main", "LastKeepVal", gIniDbDef), "True");
    EXPECT_EQ(ini("Main", "Skip404", gIniDbDef), "False");
    EXPECT_EQ(ini("NewDB", "CurrDB", gIniScreens), "Shop");
}

}  // namespace
