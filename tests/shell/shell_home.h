#pragma once
// A program folder made from the shipped resources, with scripted boxes: the shell
// starts in it as main() starts it, without a window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/error_handler.h"
#include "core/ini_alt_files.h"
#include "core/ini_store.h"
#include "core/path_checks.h"
#include "core/program_paths.h"
#include "core/shell_hooks.h"
#include "core/text.h"
#include "platform/sys/program_folder.h"
#include "shell/hooks.h"
#include "shell/site_commands.h"
#include "shell/sites.h"
#include "shell/start_up.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"

// A box whose caption or message holds `expect`, with `value` put into control 1
// (typed text, or a list position from 0) before `button` is pressed.
inline testsupport::Answer answer(const std::string& expect, const std::string& value, const std::string& button) {
    testsupport::Answer a;
    a.expectMessage = expect;
    if (!value.empty()) a.sets = {{"#1", value}};
    a.press = button;
    return a;
}

class ShellHome : public ::testing::Test {
protected:
    void SetUp() override {
        TXT_CrLfInit();
        sys::ensureProgramFolder(home.path(), std::string(std::getenv("DRAVOLIN_SOURCE_DIR")) + "/resources");
        restartGlobals();
    }
    void TearDown() override {
        STTA_SiteDBClose();
    }
    // What a fresh process would have before loading.
    void restartGlobals() {
        STTA_SiteDBClose();
        gIniAltLists.clear();
        gCurrMnu.clear();
        shell::setProgramFolder(home.path());
    }
    void start(const std::string& commandLine = {}) { shell::loadSteps(commandLine, window); }
    // A first start that names the first site.
    void startWithFirstSite(const std::string& name) {
        boxes.expect(answer("Enter your name for first site", name, "&OK")).press("<< created.", "&No");
        start();
    }
    std::string ini(const std::string& section, const std::string& key, const std::string& file) {
        return INI_Get(section, key, file, 3);
    }
    bool exists(const std::string& path) { return std::filesystem::exists(path); }

    core::ScopedShellHooks hooksRestored;  // start() installs the program's
    testsupport::TempHome home;
    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder boxes;
    // The recovery's new site gets no dialog here; the main window gives it one.
    shell::StartupWindow window{{}, {}, shell::siteListCommand, {}};
};
