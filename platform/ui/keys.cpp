#include "platform/ui/keys.h"

#include <QKeyEvent>
#include <unordered_map>

namespace ui {
namespace {

// Keys whose code does not follow from a range. Shifted symbols map to the key they
// share on a US keyboard, since Qt reports the symbol, not the key.
const std::unordered_map<int, int>& fixedCodes() {
    static const std::unordered_map<int, int> codes{
        {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9}, {Qt::Key_Backtab, 9}, {Qt::Key_Clear, 12},
        {Qt::Key_Return, 13}, {Qt::Key_Enter, 13}, {Qt::Key_Shift, 16}, {Qt::Key_Control, 17},
        {Qt::Key_Alt, 18}, {Qt::Key_Pause, 19}, {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, 27},
        {Qt::Key_Space, 32}, {Qt::Key_PageUp, 33}, {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},
        {Qt::Key_Home, 36}, {Qt::Key_Left, 37}, {Qt::Key_Up, 38}, {Qt::Key_Right, 39},
        {Qt::Key_Down, 40}, {Qt::Key_Print, 44}, {Qt::Key_Insert, 45}, {Qt::Key_Delete, 46},
        {Qt::Key_Help, 47}, {Qt::Key_NumLock, 144}, {Qt::Key_ScrollLock, 145},
        {Qt::Key_Semicolon, 186}, {Qt::Key_Colon, 186}, {Qt::Key_Equal, 187}, {Qt::Key_Plus, 187},
        {Qt::Key_Comma, 188}, {Qt::Key_Less, 188}, {Qt::Key_Minus, 189}, {Qt::Key_Underscore, 189},
        {Qt::Key_Period, 190}, {Qt::Key_Greater, 190}, {Qt::Key_Slash, 191}, {Qt::Key_Question, 191},
        {Qt::Key_QuoteLeft, 192}, {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
        {Qt::Key_BraceLeft, 219}, {Qt::Key_Backslash, 220}, {Qt::Key_Bar, 220},
        {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222},
        {Qt::Key_QuoteDbl, 222},
        {Qt::Key_Exclam, '1'}, {Qt::Key_At, '2'}, {Qt::Key_NumberSign, '3'}, {Qt::Key_Dollar, '4'},
        {Qt::Key_Percent, '5'}, {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'},
        {Qt::Key_Asterisk, '8'}, {Qt::Key_ParenLeft, '9'}, {Qt::Key_ParenRight, '0'},
    };
    return codes;
}

int keypadCode(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 96 + (qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period: case Qt::Key_Comma: return 110;
    case Qt::Key_Slash: return 111;
    default: return -1;  // navigation keys of the keypad keep their own codes
    }
}

}  // namespace

int vbShift(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? kShiftMask : 0) | (m & Qt::ControlModifier ? kCtrlMask : 0) |
           (m & Qt::AltModifier ? kAltMask : 0);
}

VbKey vbKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    VbKey k{0, vbShift(modifiers)};
    if (modifiers & Qt::KeypadModifier) {
        int code = keypadCode(qtKey);
        if (code >= 0) {
            k.keyCode = code;
            return k;
        }
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        k.keyCode = qtKey;
    } else if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        k.keyCode = 112 + (qtKey - Qt::Key_F1);
    } else {
        auto it = fixedCodes().find(qtKey);
        if (it != fixedCodes().end()) k.keyCode = it->second;
    }
    return k;
}

VbKey vbKey(const QKeyEvent& event) { return vbKey(event.key(), event.modifiers()); }

}  // namespace ui
