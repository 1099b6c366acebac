#include "core/error_handler.h"

#include <cstdlib>

#include "core/dates.h"
#include "platform/sys/clock.h"
#include "platform/sys/program_folder.h"
#include "platform/sys/rt_error.h"
#include "tests/core/files_fixture.h"

using testsupport::readFile;

namespace {

struct FakeForm {
    bool loaded = true, main = false, unloaded = false, minimized = false;
    core::UiHandle handle() { return reinterpret_cast<core::UiHandle>(this); }
};

// Windows are FakeForms behind their handles.
struct RecoveryUi : testsupport::FakeUserInterface {
    static FakeForm& f(core::UiHandle h) { return *reinterpret_cast<FakeForm*>(h); }
    bool formIsLoaded(core::UiHandle h) const override { return f(h).loaded; }
    bool isMainWindow(core::UiHandle h) const override { return f(h).main; }
    void unloadForm(core::UiHandle h) override { f(h).unloaded = true; }
    void minimizeAndDisable(core::UiHandle h) override { f(h).minimized = true; }
    bool mainWindowEnabled() const override { return enabled; }
    bool enabled = true;
};

class ErrorHandlerTest : public FilesTest {
protected:
    void SetUp() override {
        FilesTest::SetUp();
        setenv("XDG_STATE_HOME", path("state").c_str(), 1);
        clock.setDateTimeSerial(core::vbDateSerial(2026, 3, 4) + core::vbTimeSerial(5, 6, 7));
        sys::setClock(&clock);
        gPAFN_Errorlog = path("errors.log");
        windows.windowCaption = "Add Log Data";
        windows.controlName = "TextBox";
        windows.controlValue = "access.log";
    }
    void TearDown() override {
        sys::setClock(nullptr);
        unsetenv("XDG_STATE_HOME");
        gPAFN_Errorlog.clear();
        FilesTest::TearDown();
    }
    void handle(int errNo, FakeForm* form, std::string proc, std::string extra = {}) {
        ErrorHandler(errNo, form ? form->handle() : nullptr, proc, extra);
    }
    sys::ManualClock clock;
    RecoveryUi windows;
};

}  // namespace

TEST_F(ErrorHandlerTest, MessageAndRecord) {
    responder.press("", "OK");
    handle(70, nullptr, "Cmd_Click", "line one\rline \"two\"");
    const std::string message =
        "<<<Logged event (auto processing; warning or error)>>>\r\rDescription:\r"
        "<< 70 - line one\rline \"two\">>.\r\rINTERNAL. Proc: Cmd_Click\rForm: Add Log Data\r"
        "Control: TextBox / access.log\r\rEvent Logged at >> 2026-03-04 05:06:07 << to file >>" +
        path("errors.log") +
        "<< Press OK to terminate this Action and continue. Press Cancel to End this system.";
    EXPECT_EQ(responder.shown().at(0).message, message + "\r\n");
    EXPECT_EQ(responder.shown().at(0).kind, "SysMsg");
    std::string quotedMessage = message;
    for (size_t at = 0; (at = quotedMessage.find('"', at)) != std::string::npos; at += 2)
        quotedMessage.insert(at, "\"");
    EXPECT_EQ(readFile(path("errors.log")),
              "#2026-03-04#,\"05:06:07\",70,\"Cmd_Click\",\"" + sys::programFolder() +
                  "\",\"core_tests\",\"Dravolin\",#FALSE#,\"Add Log Data\",\"TextBox\","
                  "\"access.log\",\"" + quotedMessage + "\"\r\n");
}

TEST_F(ErrorHandlerTest, Details) {
    struct Case {
        int errNo;
        const char* extra;
        const char* shown;
    } cases[] = {{70, "", "<< 70 - Permission denied>>."},
                 {40000, "", "<< 40000 - System Error>>."},
                 {40000, "bad line", "<< 40000 - bad line>>."},
                 {1066, "", "<< 1066 - Aborted by the user>>."},
                 {-5, "", "<<-5 - Application-defined or object-defined error>>."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.errNo);
        responder.press(c.shown, "OK");
        handle(c.errNo, nullptr, "P", c.extra);
    }
}

TEST_F(ErrorHandlerTest, EmptyLogPathUsesTheFallbackLog) {
    gPAFN_Errorlog.clear();
    const std::string fallback = path("state/dravolin/errors.log");
    const std::string note = "Also: gPAFN_Errorlog not set, error log written to " + fallback + ".";
    responder.press(note, "OK");
    handle(5, nullptr, "Load");
    EXPECT_EQ(gPAFN_Errorlog, fallback);
    EXPECT_NE(readFile(fallback).find(",5,\"Load " + note + "\","), std::string::npos);
}

TEST_F(ErrorHandlerTest, UnwritableLogKeepsTheRecordAndTheAnswer) {
    gPAFN_Errorlog = path("no/such/folder/errors.log");
    responder.press("", "OK");
    handle(70, nullptr, "P");  // returns: OK keeps the program running
    EXPECT_NE(readFile(path("state/dravolin/errors.log")).find(",70,\"P\","), std::string::npos);
}

TEST_F(ErrorHandlerTest, CancelEndsTheProgramAfterTheRecord) {
    responder.press("", "Cancel");
    FakeForm form;
    EXPECT_THROW(handle(70, &form, "Cmd_Click"), sys::EndProgram);
    EXPECT_NE(readFile(path("errors.log")).find(",70,"), std::string::npos);
    EXPECT_FALSE(form.unloaded);
}

TEST_F(ErrorHandlerTest, WindowRecovery) {
    struct Case {
        const char* name;
        std::string proc;
        bool loaded, main;
        const char* box;  // the cannot-unload box, "" none
        bool unloaded, minimized;
    } cases[] = {
        {"ordinary handler", "Cmd_Click", true, false, "", true, false},
        {"main window stays", "Cmd_Click", true, true, "", false, false},
        {"not loaded", "Cmd_Click", false, false, "", false, false},
        {"skip marker", std::string("Import") + core::kSkipStepMarker, true, false, "", false, false},
        {"load", "Form_Load", true, false, "It will be minimized and can be ignored.", false, true},
        {"paint", "Form_Paint", true, false, "It will be minimized", false, true},
        {"combo", "sitecombo_Change", true, false, "It will be minimized", false, true},
        {"combo, case ignored", "ComboFill", true, false, "It will be minimized", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeForm form;
        form.loaded = c.loaded;
        form.main = c.main;
        responder.press("", "OK");
        if (*c.box) responder.press(c.box, "OK");
        handle(91, &form, c.proc);
        EXPECT_EQ(form.unloaded, c.unloaded);
        EXPECT_EQ(form.minimized, c.minimized);
    }
    // The main window cannot be unloaded from its own load: the program ends.
    FakeForm mainForm;
    mainForm.main = true;
    responder.press("", "OK");
    EXPECT_THROW(handle(91, &mainForm, "Form_Load"), sys::EndProgram);
}

TEST_F(ErrorHandlerTest, DisabledMainWindowEndsTheProgram) {
    windows.enabled = false;
    FakeForm form;
    responder.press("", "OK").press("This system cannot continue.", "OK");
    EXPECT_THROW(handle(91, &form, "Form_Load"), sys::EndProgram);
    EXPECT_FALSE(form.minimized);
}

TEST_F(ErrorHandlerTest, UnexpectedDialogPassesThrough) {
    EXPECT_THROW(handle(70, nullptr, "P"), core::UnexpectedDialog);
}
