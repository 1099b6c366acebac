#pragma once
// A user interface for harnesses: every box is answered with its first button, as a
// user who reads nothing would, so that messages about bad input do not stop a run.
#include "core/user_interface.h"

class QuietInterface : public core::UserInterface {
public:
    QuietInterface() { core::setUserInterface(this); }
    int msgBox(const std::string&, const std::string&, const std::string&, const std::string&) override { return 1; }
    void info(const std::string&, const std::string&) override {}
    bool systemOkCancel(const std::string&, const std::string&) override { return true; }
    void doEvents() override {}
    int mousePointer() const override { return 0; }
    void setMousePointer(int) override {}
    std::string activeWindowCaption() const override { return {}; }
    std::string activeControlName() const override { return {}; }
    void clipboardSetText(const std::string&) override {}
    void clipboardClear() override {}
};
