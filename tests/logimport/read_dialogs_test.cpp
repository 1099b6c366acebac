#include "logimport/read_dialogs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/ini_store.h"
#include "core/program_paths.h"
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
        testsupport::writeFile(gIniLdLnFltr, "[Filters]\nFltr Sel=robots\n");
        core::setShellHooks(this);
        gReadRec = ReadRec{};
    }
    void TearDown() override {
        core::setShellHooks(nullptr);
        gReadRec = ReadRec{};
        MB_UnloadStray("");
        for (std::string* p : {&gIniScreens, &gIniDbDef, &gIniLastVals, &gIniLdLnFltr}) p->clear();
    }
    std::string iniSectFileGet(const std::string& section, const std::string&) override {
        return section == "Main" ? gIniLastVals : std::string();
    }

    testsupport::TempHome home;
};

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
                          .expectMessage = "Choose." + gCR + "Filter selected:" + gCR,
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
