#include "dialogs/remembered_controls.h"

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "core/ini_store.h"
#include "core/text.h"
#include "tests/dialogs_qt/box_fixture.h"
#include "tests/support/temp_home.h"

namespace {

// Five controls numbered 7, 8, 9, 0 and 10: a text box enabled by control 9 (its
// spec field 22), a check box, a list whose value starts with its selected item, a label
// whose spec gets the entry named by its kind appended, and a button entry.
class ControlsFromIniTest : public dlgtest::BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        TXT_CrLfInit();
        ini = home / "dlg.ini";
        std::string nameSpec = "2000";
        for (int field = 2; field <= 22; ++field) nameSpec += "|";
        nameSpec += "-9";
        testsupport::writeFile(
            ini, "[Dlg]\nDefs=Ctls|List\n7=Vals|Name\n8=Vals|Keep\n9=Vals|Pick\n"
                 "[Ctls]\nList={TextBox|NameSpec|NameVal|7|}|{CheckBox|KeepSpec|KeepVal|8|}|"
                 "{ListBox|PickSpec|PickVal|9|OpArr}|{Label|LblSpec|LblVal|0|opctldtaHigh}|"
                 "{CommandButton|BtnSpec|BtnVal|10|}\n"
                 "NameSpec=" + nameSpec + "\nNameVal=default\nKeepSpec=Keep it\nKeepVal=0\n"
                 "PickSpec=2000|900\nPickVal=b|a|b|c\nLblSpec=1000\nopctldtaHigh=|300\nLblVal=Hello\n"
                 "BtnVal=&One|&Two\n"
                 "[Vals]\nName=abc\nKeep=True\nPick=c\n");
    }

    testsupport::TempHome home;
    std::string ini;
};

}  // namespace

TEST_F(ControlsFromIniTest, DefinitionsBecomeNumberedControls) {
    core::IntArray numbers;
    std::string defSection;
    bool noButtonAdded = true;
    long extraButtons = 1;
    XCTL_CtlsFromIni("Dlg", "Defs", ini, true, ctl, numbers, defSection, true, 0, noButtonAdded, extraButtons);

    EXPECT_EQ(defSection, "Ctls");
    ASSERT_EQ(ctl.entries.ubound(), 5);
    EXPECT_EQ(numbers.items(), (std::vector<int>{7, 8, 9, 0, 10}));
    // Control 9 is entry 3.
    EXPECT_EQ(ctl.entries[1].substr(ctl.entries[1].rfind("|~~|") + 4), "-3");
    EXPECT_EQ(ctl.entries[2], "CheckBox|~~|Keep it");
    EXPECT_EQ(ctl.values[2], "0");
    EXPECT_EQ(ARR_Item2D(ctl.rows, 3, 1), "a");
    EXPECT_EQ(ARR_Item2D(ctl.rows, 3, 3), "c");
    EXPECT_EQ(ARR_Item2D(ctl.rows, 3, 0), "1");
    EXPECT_EQ(ctl.entries[4], "Label|~~|1000|~~|300");
    EXPECT_EQ(ctl.values[5], "&One|&Two");
    EXPECT_FALSE(noButtonAdded);
    EXPECT_EQ(extraButtons, 3);
}

TEST_F(ControlsFromIniTest, MissingDefinitionAddsNothing) {
    core::IntArray numbers;
    std::string defSection;
    bool noButtonAdded = true;
    long extraButtons = 0;
    XCTL_CtlsFromIni("Dlg", "Nowhere", ini, true, ctl, numbers, defSection, true, 0, noButtonAdded, extraButtons);
    EXPECT_EQ(ctl.entries.ubound(), 0);
    EXPECT_TRUE(noButtonAdded);
}

TEST_F(ControlsFromIniTest, MessageBoxLoadsRememberedValuesAndKeepsThemUnlessCancelled) {
    testsupport::ScriptedResponder responder;
    responder.expect({.expectCaption = "Remember", .expectMessage = "", .sets = {{"#1", "xyz"}, {"#2", "0"}},
                      .press = "&OK", .act = [](const core::DlgView& v, core::DlgDriver&) {
                          ASSERT_EQ(v.ctls.size(), 5u);
                          EXPECT_EQ(v.ctls[0].value, "abc");
                          EXPECT_EQ(v.ctls[1].value, "1");
                          EXPECT_EQ(v.buttons, (std::vector<std::string>{"&One", "&Two", "&OK", "&Cancel"}));
                      }});
    EXPECT_EQ(MB_MsgBox("Values", "1", "", "Remember", "Dlg", "Defs", ini), 3);
    EXPECT_EQ(INI_Get("Vals", "Name", ini, 3), "xyz");
    EXPECT_EQ(INI_Get("Vals", "Keep", ini, 3), "False");
    EXPECT_EQ(INI_Get("Vals", "Pick", ini, 3), "c");

    responder.expect({.expectCaption = "Remember", .expectMessage = "", .sets = {{"#1", "dropped"}},
                      .press = "&Cancel", .act = [](const core::DlgView& v, core::DlgDriver&) {
                          EXPECT_EQ(v.ctls[0].value, "xyz");
                      }});
    EXPECT_EQ(MB_MsgBox("Values", "1", "", "Remember", "Dlg", "Defs", ini), gMBCancelNo);
    EXPECT_EQ(INI_Get("Vals", "Name", ini, 3), "xyz");
    EXPECT_EQ(responder.pending(), 0u);
}

// A label shows its "&" as typed (the access key is marked "#H160#"), so a shipped label
// must not carry a button-style "&" before a letter.
TEST(ShippedScreens, LabelValuesHoldNoAccessKeyAmpersand) {
    const std::filesystem::path param = std::filesystem::path(std::getenv("DRAVOLIN_SOURCE_DIR")) / "resources/param";
    const std::regex labelDef(R"(\{Label\|[^|}]*\|([^|}]+))");
    long labels = 0;
    for (const auto& file : std::filesystem::directory_iterator(param)) {
        if (file.path().extension() != ".ini") continue;
        const std::string text = testsupport::readFile(file.path());
        for (std::sregex_iterator m(text.begin(), text.end(), labelDef), end; m != end; ++m) {
            const std::regex valueLine("(^|\n)" + (*m)[1].str() + "=([^\n]*)");
            for (std::sregex_iterator v(text.begin(), text.end(), valueLine); v != end; ++v) {
                ++labels;
                SCOPED_TRACE(file.path().filename().string() + ": " + (*v)[2].str());
                EXPECT_FALSE(std::regex_search((*v)[2].str(), std::regex("&[A-Za-z0-9]")));
            }
        }
    }
    EXPECT_GT(labels, 0);
}
