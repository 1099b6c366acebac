#pragma once
// The user interface that core calls, on Qt. Yielding, the mouse pointer, the active
// window and control and the clipboard are real; the boxes belong to the dialog
// builder and refuse with UnexpectedDialog until it registers its own interface.
#include "core/user_interface.h"

class QWidget;

namespace ui {

class QtUserInterface : public core::UserInterface {
public:
    int msgBox(const std::string& message, const std::string& buttons, const std::string& options,
               const std::string& caption) override;
    void info(const std::string& message, const std::string& caption) override;
    bool systemOkCancel(const std::string& message, const std::string& caption) override;
    // The loaded main window's state; true while there is none.
    bool mainWindowEnabled() const override;
    bool formIsLoaded(core::UiHandle form) const override;
    bool isMainWindow(core::UiHandle form) const override;
    void unloadForm(core::UiHandle form) override;
    void minimizeAndDisable(core::UiHandle form) override;

    void doEvents() override;
    int mousePointer() const override;
    void setMousePointer(int pointer) override;
    // "" when no window of the program is active.
    std::string activeWindowCaption() const override;
    // The VB type name of the focus widget of the active window; "" when none.
    std::string activeControlName() const override;
    void clipboardSetText(const std::string& text) override;
    void clipboardClear() override;
    // "" for no object.
    std::string tag(core::UiHandle object) const override;
    void setTag(core::UiHandle object, const std::string& tag) override;

protected:
    // The focus widget of the active window, or nullptr.
    static QWidget* activeControl();
};

}  // namespace ui
