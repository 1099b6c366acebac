#pragma once
// What core asks of the user interface. Core has no Qt: the window toolkit and the
// dialog builder register the real implementation at start-up; tests register fakes.
#include <string>
#include <vector>

namespace core {

// A form or a control as core sees it: a handle only the user interface understands.
struct UiObject;
using UiHandle = UiObject*;

// Set while the interface yields to the event loop, so that handlers of the main,
// results and progress windows can ignore clicks that arrive meanwhile.
inline bool gInDoEvents = false;

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // The dialog builder's message box: buttons are a number 0-5 or a "|" list of
    // captions; the result is the pressed button, 1 for the first.
    virtual int msgBox(const std::string& message, const std::string& buttons,
                       const std::string& options, const std::string& caption) = 0;
    virtual void info(const std::string& message, const std::string& caption) = 0;
    // The message box with the check box "Do &not Show this Message again"; a ticked
    // box sets `dontShowAgain`. Interfaces without the check box show a plain box.
    virtual int msgBoxDontShowAgain(const std::string& message, const std::string& buttons,
                                    const std::string& options, const std::string& caption,
                                    bool& dontShowAgain) {
        return msgBox(message, buttons, options, caption);
    }
    // The plain system message box (error handler, start-up checks): true for OK.
    virtual bool systemOkCancel(const std::string& message, const std::string& caption) = 0;
    // The plain system message box with only OK.
    virtual void systemOk(const std::string& message, const std::string& caption) {
        info(message, caption);
    }
    // Unloads every message box left loaded (after an error was handled).
    virtual void unloadStrayBoxes() {}
    // Windows as the error handler recovers them. A handle the interface does not
    // know is not loaded.
    virtual bool formIsLoaded(UiHandle form) const { return false; }
    virtual bool isMainWindow(UiHandle form) const { return false; }
    virtual void unloadForm(UiHandle form) {}
    // Enables, minimizes and disables the window again.
    virtual void minimizeAndDisable(UiHandle form) {}
    // False while the main window is disabled (a modal operation owns the program).
    virtual bool mainWindowEnabled() const { return true; }
    // The dialog builder's list dialog: rows of tab-separated columns under a header
    // row, in a grid laid out by the control spec; the pressed button. This base
    // refuses with UnexpectedDialog; the dialog builder's interface shows it.
    virtual int listDlg(const std::vector<std::string>& rows, const std::string& header,
                        const std::string& gridSpec, const std::string& buttons,
                        const std::string& message, const std::string& caption);

    // The dialog builder's input box: one text box that starts with `value` and gives
    // back what was typed; `notice` is shown above the buttons (the problem with the
    // previous attempt). The pressed button. This base refuses like listDlg.
    virtual int inputBox(const std::string& message, const std::string& buttons,
                         const std::string& caption, const std::string& notice,
                         std::string& value);
    // A list dialog over single-column items: `chosen` starts as the item to select and
    // gives back the selected one; `position`, when given, gets its place in `items`
    // (from 0, -1 for none), which tells equal lines apart. The pressed button. This
    // base refuses like listDlg.
    virtual int listPick(const std::vector<std::string>& items, const std::string& header,
                         const std::string& gridSpec, const std::string& buttons,
                         const std::string& message, const std::string& caption,
                         std::string& chosen, long* position = nullptr);
    // The dialog builder's sequence box: the user moves the items up and down until
    // one of the caller's buttons ("|" list; Esc presses the last) ends it, and `items`
    // gives back the order shown. `spec` is the list's width and height in twips
    // ("9400|6000"). The caller's button pressed, 1 for the first. This base refuses
    // like listDlg.
    virtual int sequenceBox(const std::string& message, const std::string& caption,
                            std::vector<std::string>& items, const std::string& spec,
                            const std::string& buttons);

    virtual void doEvents() = 0;
    virtual int mousePointer() const = 0;
    virtual void setMousePointer(int pointer) = 0;
    virtual std::string activeWindowCaption() const = 0;
    virtual std::string activeControlName() const = 0;
    // The value text of the active control; "" when it has none.
    virtual std::string activeControlValue() const { return {}; }
    virtual void clipboardSetText(const std::string& text) = 0;
    virtual void clipboardClear() = 0;

    // The Tag of a form or control, where owners keep small "|" lists.
    virtual std::string tag(UiHandle object) const { return {}; }
    virtual void setTag(UiHandle object, const std::string& tag) {}
};

// The registered interface; a headless one that refuses boxes when none is.
UserInterface& ui();
// The caller keeps ownership; nullptr restores the headless one.
void setUserInterface(UserInterface* ui);

// Yields through the interface with gInDoEvents set around the call.
void doEvents();

// The captions of a box's buttons: a standard set "0".."5" ("&OK", "&OK|&Cancel",
// "&Abort|&Retry|&Ignore", "&Yes|&No|&Cancel", "&Yes|&No", "&Retry|&Cancel") or a
// "|" list of captions.
std::vector<std::string> buttonCaptions(const std::string& buttons);

}  // namespace core
