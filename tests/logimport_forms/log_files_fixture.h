#pragma once
// The log-file dialogs on a temporary program folder: the shipped screens and
// log-format files, a site whose LastVals.ini takes the [Main] keys, the shell's
// "::*" routing, headless boxes answered by a responder, and a folder of log files.
#include <gtest/gtest.h>

#include <QApplication>
#include <QRect>
#include <cstdlib>
#include <string>

#include "core/program_paths.h"
#include "core/shell_hooks.h"
#include "core/text.h"
#include "dialogs/msgbox.h"
#include "platform/ui/work_area.h"
#include "shell/hooks.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/temp_home.h"

namespace logfilestest {

class LogFilesTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!QApplication::instance()) app_ = new QApplication(argc_, argv_);
    }
    static void TearDownTestSuite() {
        delete app_;
        app_ = nullptr;
    }

    void SetUp() override {
        TXT_CrLfInit();
        ui::setWorkAreaProvider([] { return QRect(0, 0, 1280, 1000); });
        const std::string shipped = std::string(std::getenv("DRAVOLIN_SOURCE_DIR")) + "/resources/param/";
        gIniScreens = home / "param/screens.ini";
        gIniLogFmts = home / "param/logfmts.ini";
        testsupport::writeFile(gIniScreens, testsupport::readFile(shipped + "screens.ini"));
        testsupport::writeFile(gIniLogFmts, testsupport::readFile(shipped + "logfmts.ini"));
        gIniDbDef = home / "site/param/dbdef.ini";
        gIniLastVals = home / "site/param/LastVals.ini";
        testsupport::writeFile(gIniDbDef, "[Main]\nParm=Test Site\n");
        testsupport::writeFile(gIniLastVals, "[Main]\n");
        logDir = home / "logs/";
        testsupport::writeFile(logDir + "access.log", "");
    }
    void TearDown() override {
        MB_UnloadStray("");
        ui::setWorkAreaProvider({});
        for (std::string* path : {&gIniScreens, &gIniLogFmts, &gIniDbDef, &gIniLastVals}) path->clear();
    }

    testsupport::TempHome home;
    testsupport::FakeUserInterface fakeUi;
    std::string logDir;

private:
    shell::AppShellHooks hooks_;
    core::ScopedShellHooks hooksInstalled_{&hooks_};
    static inline QApplication* app_ = nullptr;
    static inline int argc_ = 1;
    static inline char name_[] = "tests";
    static inline char* argv_[] = {name_, nullptr};
};

}  // namespace logfilestest
