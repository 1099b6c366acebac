#pragma once
// Small operations on single controls for the generic dialog's key handling: finding
// text in a list or text box, a control's rectangle, font size steps, moving the focus
// along the tab order, keypad keys, and the dialog's font keys D, I and F.
#include <array>
#include <string>

#include "window/common_dialog.h"

class QWidget;

namespace window {

// The search of the find command once the find text is known: a list box from the
// item after the current one, wrapping; a text box from just after the selection
// start, wrapping; case ignored. Selects what it finds and tells where in `message`.
bool findInControl(QWidget* control, const std::string& findText, std::string& message);

}  // namespace window

// Left, top, right and bottom in twips.
void CTL_ControlRectGet(std::array<long, 4>& rect, const QWidget* control);
// One point smaller, or as near as the font goes; a 1-point font stays. Always True.
bool CTL_FontSizeDecrease(QWidget* control);
// Larger, trying steps of 1, 2, ... points, up to 100, until the size changes.
bool CTL_FontSizeIncrease(QWidget* control);
// Every control carries a Tag here.
bool CTL_HasTag(const QWidget* control);
// Focuses the control, or else the next control after it in tab order that takes the
// focus.
void CTL_FocusNextInTabOrder(QWidget* form, QWidget* control);

// Keypad digits and operators become the main keyboard's keys (VB codes, Shift bit 1).
void KEYS_KeypadNormalize(int& keyCode, int& shift);
// The key bound to an action on a screen: -1, Shift -1 and empty texts, because no
// key is bound to an action anywhere in the program.
long KEYS_KeyForAction(const std::string& action, int screen, int& shift, std::string& keyText,
                       std::string& element);
// D makes the control's font smaller, I larger, F opens the font dialog (then handled
// is set). A changed font is stored through CTLNOMB_FontIni "p" unless the entry is
// "NoSaveFont". True when the font changed; nothing when Shift equals shiftToIgnore.
bool KEYS_FontKeyHandle(QWidget* control, int keyCode, int shift, const std::string& section,
                        const std::string& entry, const std::string& iniFile, window::CommonDialog& fontDialog,
                        bool& handled, int shiftToIgnore);
