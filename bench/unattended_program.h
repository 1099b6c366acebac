#pragma once
// The program brought up in a program folder as main() brings it up, without a window:
// every box is answered unattended. The interface is removed again at the end.
#include <cstdlib>
#include <string>

#include "bench/unattended.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "shell/start_up.h"

namespace bench {

class UnattendedProgram {
public:
    explicit UnattendedProgram(const std::string& folder) : env_(setEnvironment(folder)) {
        TXT_CrLfInit();
        core::setUserInterface(&ui_);
        shell::setProgramFolder(folder);
    }
    ~UnattendedProgram() { core::setUserInterface(nullptr); }
    // The start-up steps: the site of the folder is opened.
    void load() { shell::loadSteps("", shell::StartupWindow{[] {}, [] {}, [] {}, [] {}}); }

private:
    static bool setEnvironment(const std::string& folder) {
        setenv("DRAVOLIN_HOME", folder.c_str(), 1);
        return true;
    }

    bool env_;
    Unattended ui_;
};

}  // namespace bench
