#include "core/handler_error.h"

#include <gtest/gtest.h>

#include "core/error_handler.h"
#include "core/text.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"

namespace {

TEST(HandlerErrorTest, WithoutASinkTheErrorReachesTheErrorHandler) {
    TXT_CrLfInit();
    testsupport::TempHome home;
    const std::string savedLog = gPAFN_Errorlog;
    gPAFN_Errorlog = home / "errors.log";
    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder responder;
    responder.press("Report 2 is still open.", "OK");
    core::handlerError(sys::RtError(1331, "Report 2 is still open."), nullptr, "PIS_End");
    ASSERT_EQ(responder.shown().size(), 1u);
    EXPECT_NE(responder.shown()[0].message.find("INTERNAL. Proc: PIS_End"), std::string::npos);
    EXPECT_NE(testsupport::readFile(gPAFN_Errorlog).find("Report 2 is still open."), std::string::npos);
    gPAFN_Errorlog = savedLog;
}

}  // namespace
