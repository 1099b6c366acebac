#pragma once
// The one place where Qt key events become the key codes and Shift bits that the
// program's key handling compares with (letters and digits are their ASCII codes,
// keypad 96-111, F1 112, punctuation the US-layout codes 186-222).
#include <Qt>

class QKeyEvent;

namespace ui {

constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
constexpr int kAltMask = 4;

struct VbKey {
    int keyCode = 0;  // 0 when the key has no code (a dead key, an unknown key)
    int shift = 0;
    bool operator==(const VbKey&) const = default;
};

int vbShift(Qt::KeyboardModifiers modifiers);
VbKey vbKey(int qtKey, Qt::KeyboardModifiers modifiers);
VbKey vbKey(const QKeyEvent& event);

}  // namespace ui
