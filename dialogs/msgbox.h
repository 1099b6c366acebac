#pragma once
// The one call behind every box of the program, and the thin entry points most
// callers use. MB_Show builds a fresh Msgbxform from the message, the buttons, the
// options and the extra controls, sizes it inside the work area, offers it to the
// installed dialog responder or shows it modally to its parent window, copies the
// controls' values back into the caller's arrays and returns the pressed button's
// number (extra buttons first, from 1), -2 for a closing key, or what the box's
// handlers wrote. Errors inside reach the caller.
#include <QMessageBox>
#include <memory>
#include <string>

#include "core/table2d.h"
#include "core/typed_array.h"
#include "dialogs/extra_controls.h"

class Msgbxform;

// The Cancel number of the last box: the button Esc presses when the set has a
// Cancel, the "Esc" option's value, else -99.
inline int gMBCancelNo = -99;
// The box being shown, or the one a "NoHide" box left loaded.
inline Msgbxform* gMBForm = nullptr;

// `buttons` is "0".."5" for a standard set ("&OK", "&OK|&Cancel", "&Abort|&Retry|&Ignore",
// "&Yes|&No|&Cancel", "&Yes|&No", "&Retry|&Cancel") or a "|" list of captions.
// `options` is a "|" list of option items (a plain number is one style item).
// values(0) receives the Tag of fLastData_OUT; rows(i, 0) the result of list entry i;
// state items 1-4 become "False", the box's Width, its Height and that Tag. `form`
// receives the box, or nullptr once it is unloaded (it stays loaded under "NoHide").
int MB_Show(const std::string& message, const std::string& buttons, const std::string& options,
            const std::string& caption, core::StrArray& entries, core::StrArray& values,
            core::Table2D& rows, std::string& state, Msgbxform*& form);
int MB_Show(const std::string& message, const std::string& buttons, const std::string& options,
            const std::string& caption, MB_CtlEntry& controls, std::string& state, Msgbxform*& form);

// The general message box. A non-empty section takes extra controls from their INI
// definition (XCTL_CtlsFromIni), with their remembered values loaded, and saved again
// unless the box was cancelled.
int MB_MsgBox(const std::string& message, const std::string& buttons, const std::string& options,
              const std::string& caption, std::string section = {}, std::string entry = {},
              std::string iniFile = {}, std::string* state = nullptr);
// A message box whose answer nobody needs (file and path errors: buttons "0", options "16").
void MB_Err(const std::string& message, const std::string& buttons, const std::string& options,
            const std::string& caption);
// An information box: "&OK", Esc as OK, Ctrl+C closes it and copies the message to the
// clipboard (then says so in a second box).
void MB_Info(const std::string& message, std::string* state = nullptr, bool noKeys = false,
             const std::string& options = {}, const std::string& caption = {});

// Unloads every loaded box whose Tag differs from `keepTag` ("" keeps none).
void MB_UnloadStray(const std::string& keepTag);

namespace dlg {
// Makes the dialog builder the user interface's message boxes (msgBox, info and the
// system OK/Cancel box). Start-up calls it after the window toolkit's services.
void installMessageBoxes();
// The plain system box, not yet shown: its message is plain text whatever it holds (a
// "<" in a log line or file name is never taken for markup).
std::unique_ptr<QMessageBox> plainMessageBox(QMessageBox::Icon icon, const std::string& caption,
                                             const std::string& message, QMessageBox::StandardButtons buttons,
                                             QWidget* parent);
}  // namespace dlg
