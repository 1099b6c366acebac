#pragma once
// A user interface for headless tests: every box goes to the installed responder as
// a plain box with its buttons; the rest records what core asked for.
#include <functional>
#include <string>
#include <vector>

#include "core/user_interface.h"

namespace testsupport {


class FakeUserInterface : public core::UserInterface {
public:
    FakeUserInterface();   // installs itself
    ~FakeUserInterface() override;

    int msgBox(const std::string& message, const std::string& buttons, const std::string& options,
               const std::string& caption) override;
    void info(const std::string& message, const std::string& caption) override;
    int msgBoxDontShowAgain(const std::string& message, const std::string& buttons,
                            const std::string& options, const std::string& caption,
                            bool& dontShowAgain) override;
    bool systemOkCancel(const std::string& message, const std::string& caption) override;
    void systemOk(const std::string& message, const std::string& caption) override;
    // A text box at entry 1; a list box at entry 1 whose positions count from 0.
    int inputBox(const std::string& message, const std::string& buttons, const std::string& caption,
                 const std::string& notice, std::string& value) override;
    int listPick(const std::vector<std::string>& items, const std::string& header,
                 const std::string& gridSpec, const std::string& buttons, const std::string& message,
                 const std::string& caption, std::string& chosen, long* position = nullptr) override;
    // A list box at entry 1 holding the items; `arrange`, when set, is what the user
    // does to their order before the responder presses a button.
    int sequenceBox(const std::string& message, const std::string& caption, std::vector<std::string>& items,
                    const std::string& spec, const std::string& buttons) override;
    void doEvents() override { ++doEventsCalls; }
    int mousePointer() const override { return pointer; }
    void setMousePointer(int p) override { pointer = p; }
    std::string activeWindowCaption() const override { return windowCaption; }
    std::string activeControlName() const override { return controlName; }
    std::string activeControlValue() const override { return controlValue; }
    void clipboardSetText(const std::string& text) override { clipboard = text; }
    void clipboardClear() override { clipboard.clear(); }

    std::function<void(std::vector<std::string>&)> arrange;
    int doEventsCalls = 0;
    int pointer = 0;
    std::string windowCaption, controlName, controlValue, clipboard;
};

}  // namespace testsupport
