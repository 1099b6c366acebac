#include "logimport/forms/read_dialogs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/scoped_value.h"
#include "core/shell_hooks.h"
#include "core/text.h"
#include "dialogs/msgbox.h"
#include "logimport/read_record.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"

using testsupport::Answer;
using testsupport::ScriptedResponder;

namespace {

// A site with [Main] routed to its LastVals.ini and the shipped dialog definitions.
class ReadDialogsTest : public testing::Test, public core::ShellHooks {
protected:
    void SetUp() override {
        TXT_CrLfInit();
        const std::string src = std::getenv("DRAVOLIN_SOURCE_DIR");
        gIniScreens = home / "screens.ini";
        testsupport::writeFile(gIniScreens, testsupport::readFile(src + "/resources/param/screens.ini"));
        gIniDbDef = home / "dbdef.ini";
        testsupport::writeFile(gIniDbDef, "[Main]\nParm=Test Site\n");
        gIniLastVals = home / "LastVals.ini";
        testsupport::writeFile(gIniLastVals, "[Main]\n");
        gIniLdLnFltr = home / "LdLnFltr.ini";
        testsupport::writeFile(gIniLdLnFltr, "[Filters]\nFltr Sel=robots\nSelLst=robots\n"
                                             "[robots]\nTyp=2\nVal=bot\nMC=False\nColType=2\n");
        gIniFltrFiles = home / "FltrFiles.ini";
        testsupport::writeFile(gIniFltrFiles, "[Filters]\nFltr Sel=\n");
        gIniFltrBots = home / "fltrbots.ini";
        testsupport::writeFile(gIniFltrBots, "[Filters]\nSkipRobotUserAgents=\n");
    }
    void TearDown() override {
        MB_UnloadStray("");
        for (std::string* p : {&gIniScreens, &gIniDbDef, &gIniLastVals, &gIniLdLnFltr, &gIniFltrFiles, &gIniFltrBots})
            p->clear();
    }
    std::string iniSectFileGet(const std::string& section, const std::string&) override {
        return section == "Main" ? gIniLastVals : std::string();
    }

    testsupport::TempHome home;
    core::ScopedValue<ReadRec> readRec{gReadRec, {}};
    core::ScopedShellHooks installed{this};
};

// Presses the button after closing the notice the box opened with.
Answer afterNotice(const std::string& caption, const std::string& button) {
    return {.expectCaption = caption, .act = [button](const core::DlgView& v, core::DlgDriver& d) {
                if (!v.notice.empty()) d.press("OK");
                d.press(button);
            }};
}

}  // namespace

TEST_F(ReadDialogsTest, ReadLogOptionsTakeTheTicksAndOfferTheListOnlyWhenKept) {
    for (bool kept : {false, true}) {
        SCOPED_TRACE(kept);
        gReadRec.NoPromptInvalid = true;
        gReadRec.ListedNames.redim(0, 0);
        if (kept) gReadRec.ListedNames.set(0, "404");
        ScriptedResponder responder;
        responder.expect({.expectCaption = "Read Log Options",
                          .expectMessage = "Options for read log file",
                          .sets = {{"#1", "0"}, {"#3", "1"}},
                          .press = "&OK"});
        STTA_ReadLogOptionsEdit();
        const core::DlgView& v = responder.shown().at(0);
        const std::vector<std::string> buttons = kept ? std::vector<std::string>{"&OK", "&List 404s."}
                                                      : std::vector<std::string>{"&OK"};
        EXPECT_EQ(v.buttons, buttons);
        EXPECT_EQ(v.ctls.at(0).value, "1");
        EXPECT_FALSE(gReadRec.NoPromptInvalid);
        EXPECT_FALSE(gReadRec.NoPromptOverlap);
        EXPECT_TRUE(gReadRec.Keep404List);
    }
}

TEST_F(ReadDialogsTest, ListOfFailedRequestsThenTheOptionsAgain) {
    gReadRec.ListedNames.redim(0, 1);
    gReadRec.ListedNames.set(0, "404");
    gReadRec.ListedNames.set(1, "/gone.htm");
    gReadRec.ListedCounts.redim(0, 1);
    gReadRec.ListedCounts.set(1, 3);
    ScriptedResponder responder;
    responder.expect({.expectCaption = "Read Log Options", .press = "&List 404s."});
    responder.expect({.expectCaption = "url-pagename", .press = "&Back to definitions"});
    responder.expect({.expectCaption = "Read Log Options", .press = "&OK"});
    STTA_ReadLogOptionsEdit();
    EXPECT_EQ(responder.pending(), 0u);
    std::string texts;
    for (const core::CtlView& c : responder.shown().at(1).ctls) texts += c.caption;
    EXPECT_NE(texts.find("List of filenames for raw log lines with HTTP status 4xx or 5xx."), std::string::npos);
    EXPECT_NE(texts.find("Total No. of Raw Log FileNames: 1"), std::string::npos);
}

TEST_F(ReadDialogsTest, FilterChoiceEndsOnOkOrCancelAndRemembersTheChoice) {
    struct Case {
        std::string press;
        bool result;
        std::string all;  // remembered afterwards
    } cases[] = {{"&OK", true, "False"}, {"&Cancel", false, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.press);
        testsupport::writeFile(gIniLastVals, "[Main]\n");
        ScriptedResponder responder;
        responder.expect({.expectCaption = "Add Log Data Site DB: Test Site",
                          .expectMessage = "Choose." + gCR + "Filter selected:" + gCR +
                                           "User agent (browser) Contains <bot>" + gCR,
                          .sets = {{"cap:Add all log lines [main filter not used]", "0"}},
                          .press = c.press});
        EXPECT_EQ(STTA_FltrChoose("Choose." + gCR, "Add Log Data"), c.result);
        EXPECT_EQ(responder.shown().at(0).buttons,
                  (std::vector<std::string>{"&Main Filter ...", "&Robot Filters ...", "Com&ponent Filter ...", "&OK",
                                            "&Cancel"}));
        EXPECT_EQ(responder.shown().at(0).dfltButton, 4);
        EXPECT_EQ(INI_Get("Main", "All", gIniLastVals, 7, ""), c.all);
    }
}

// Without "Add all log lines" a main filter is needed: OK without one is refused.
TEST_F(ReadDialogsTest, FilterChoiceWithoutAMainFilterNeedsAllLines) {
    testsupport::writeFile(gIniLdLnFltr, "[Filters]\nFltr Sel=\nSelLst=robots\n"
                                         "[robots]\nTyp=2\nVal=bot\nMC=False\nColType=2\n");
    ScriptedResponder responder;
    responder.expect({.expectCaption = "Add Log Data",
                      .sets = {{"cap:Add all log lines [main filter not used]", "0"}},
                      .press = "&OK"});
    responder.press("No main filter is selected.", "&OK");
    responder.expect({.expectCaption = "Add Log Data",
                      .sets = {{"cap:Add all log lines [main filter not used]", "1"}},
                      .press = "&OK"});
    EXPECT_TRUE(STTA_FltrChoose("", "Add Log Data"));
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(INI_Get("Main", "All", gIniLastVals, 7, ""), "True");
}

TEST_F(ReadDialogsTest, FilterChoiceButtonsOpenTheirFilterLists) {
    const std::vector<std::string> caps = {"&Main Filter ...", "&Robot Filters ...", "Com&ponent Filter ..."};
    const std::string lists[] = {"Main Filter to add/exclude lines [Site DB: Test Site]",
                                 "filters used to exclude robots and crawlers.",
                                 "Filter to identify files to be SKIPPED. [Site DB: Test Site]"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(caps[i]);
        ScriptedResponder responder;
        responder.expect({.expectCaption = "Add Log Data", .press = caps[i]});
        responder.expect(afterNotice(lists[i], "&Cancel"));
        responder.expect({.expectCaption = "Add Log Data", .press = "&OK"});
        EXPECT_TRUE(STTA_FltrChoose("", "Add Log Data"));
        EXPECT_EQ(responder.pending(), 0u);
    }
}

TEST_F(ReadDialogsTest, ComponentFilterListSwitchesToItsNoteAndBack) {
    auto has = [](const core::DlgView& v, const std::string& caption) {
        for (const std::string& b : v.buttons)
            if (b == caption) return true;
        return false;
    };
    ScriptedResponder responder;
    responder.expect(afterNotice("", "Multiple &rules ..."));
    responder.expect(afterNotice("", "&Cancel"));  // back to the first mode
    responder.expect(afterNotice("", "&Cancel"));  // ends
    STTA_FltrFilesListEdit();
    ASSERT_EQ(responder.shown().size(), 3u);
    EXPECT_TRUE(has(responder.shown()[0], "Chec&k filter vs. log file"));
    EXPECT_FALSE(has(responder.shown()[1], "Chec&k filter vs. log file"));
    EXPECT_NE(responder.shown()[1].notice.find("multiple conditions"), std::string::npos);
    EXPECT_TRUE(has(responder.shown()[2], "Chec&k filter vs. log file"));
}
