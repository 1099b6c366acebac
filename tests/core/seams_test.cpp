#include <gtest/gtest.h>

#include "core/shell_hooks.h"
#include "core/user_interface.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"

TEST(Seams, ResponderAnswersBoxesByCaptionAndRecordsThem) {
    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder responder;
    responder.press("Delete the site", "&No").press("", "cancel");
    EXPECT_EQ(core::ui().msgBox("Delete the site Foo?", "3", "", "Sites"), 2);
    EXPECT_EQ(core::ui().msgBox("Really?", "1", "", "Sites"), 2);
    ASSERT_EQ(responder.shown().size(), 2u);
    EXPECT_EQ(responder.shown()[0].buttons[2], "&Cancel");
}

TEST(Seams, UnexpectedOrMismatchedBoxFailsWithItsText) {
    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder responder;
    try {
        core::ui().msgBox("Disk full", "0", "", "Error");
        FAIL() << "no throw";
    } catch (const core::UnexpectedDialog& e) {
        EXPECT_NE(std::string(e.what()).find("Disk full"), std::string::npos);
    }
    responder.press("Other text", "&OK");
    EXPECT_THROW(core::ui().msgBox("Disk full", "0", "", "Error"), core::UnexpectedDialog);
}

TEST(Seams, HeadlessInterfaceRefusesBoxesAndDoEventsSetsTheFlag) {
    EXPECT_THROW(core::ui().msgBox("m", "0", "", "c"), core::UnexpectedDialog);
    struct Probe : testsupport::FakeUserInterface {
        bool sawFlag = false;
        void doEvents() override { sawFlag = core::gInDoEvents; }
    } probe;
    core::doEvents();
    EXPECT_TRUE(probe.sawFlag);
    EXPECT_FALSE(core::gInDoEvents);
}

TEST(Seams, EmptyHooksRouteNothing) {
    EXPECT_EQ(core::shellHooks().iniSectFileGet("Main", "AcD"), "");
    EXPECT_EQ(core::shellHooks().hookStrCopy("abc"), "abc");
    EXPECT_FALSE(core::shellHooks().hookFalse());
}
