#pragma once
// Small operations on single controls for the generic dialog's key handling: finding
// text in a list or text box, a control's rectangle, font size steps, moving the focus
// along the tab order, keypad keys, and the dialog's font keys D, I and F.
#include <array>
#include <map>
#include <string>
#include <tuple>

#include "core/typed_array.h"

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
namespace window {

// Keys bound to actions: an element ("|" list, item 1 the action's name) per key code,
// screen number and Shift state 0-7. Nothing in the program binds a key yet, so the
// table stays empty and every lookup finds nothing.
class KeyTable {
public:
    void bind(long keyCode, int screen, int shift, const std::string& element) {
        elements_[{keyCode, screen, shift}] = element;
    }
    void clear() { elements_.clear(); }
    bool empty() const { return elements_.empty(); }
    // Elements in the order of key code, screen, Shift state.
    const std::map<std::tuple<long, int, int>, std::string>& elements() const { return elements_; }

private:
    std::map<std::tuple<long, int, int>, std::string> elements_;
};

}  // namespace window

inline window::KeyTable KEYS_KeyTable;

// The lists of section "Keys" of the screens file: "Reqd Key defns" (by screen number
// from 0, "{}" keeping groups whole) and "ShiftDescs" (names by Shift state from 0).
void KEYS_ReqdKeyDefnsGet(core::StrArray& out);
void KEYS_ShiftDescsGet(core::StrArray& out);
// Whether "|" & item 1 of the action & "|" occurs in the list's element for the screen.
bool KEYS_ActionInList(int screen, const std::string& action, const core::StrArray& list);
// The lowest key code bound to the action on the screen, with its Shift state, the
// element and the key's text ("Ctrl+D" with the Shift name from "ShiftDescs"); -1,
// Shift -1 and empty texts when none is. An action listed in "Reqd Key defns" for the
// screen is not looked for without Shift.
long KEYS_KeyForAction(const std::string& action, int screen, int& shift, std::string& keyText,
                       std::string& element);
// D makes the control's font smaller, I larger, F opens the font dialog (then handled
// is set). A changed font is stored through CTLNOMB_FontIni "p" unless the entry is
// "NoSaveFont". True when the font changed; nothing when Shift equals shiftToIgnore.
bool KEYS_FontKeyHandle(QWidget* control, int keyCode, int shift, const std::string& section,
                        const std::string& entry, const std::string& iniFile, window::CommonDialog& fontDialog,
                        bool& handled, int shiftToIgnore);
