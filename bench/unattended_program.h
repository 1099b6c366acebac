#pragma once
// The program brought up in a program folder as main() brings it up, without a window:
// every box is answered unattended (the boxes are built as for a real show, so there is
// an offscreen QApplication). The interfaces are removed again at the end.
#include <QApplication>
#include <cstdlib>
#include <string>

#include "bench/unattended.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "shell/start_up.h"

namespace bench {

class UnattendedProgram {
public:
    UnattendedProgram(int& argc, char** argv, const std::string& folder)
        : env_(setEnvironment(folder)), app_(argc, argv) {
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
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return true;
    }

    bool env_;
    QApplication app_;
    Unattended ui_;
    UnattendedBoxes boxes_;
};

}  // namespace bench
