#include "platform/ui/keys.h"

#include <gtest/gtest.h>

namespace {

struct KeyCase {
    const char* name;
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    ui::VbKey expected;
};

TEST(VbKeyTest, TranslatesQtKeysToVbCodesAndShiftBits) {
    const KeyCase cases[] = {
        {"letter", Qt::Key_C, Qt::NoModifier, {67, 0}},
        {"ctrl+c", Qt::Key_C, Qt::ControlModifier, {67, 2}},
        {"shift+ctrl+alt", Qt::Key_Z, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, {90, 7}},
        {"digit", Qt::Key_7, Qt::NoModifier, {55, 0}},
        {"keypad digit", Qt::Key_7, Qt::KeypadModifier, {103, 0}},
        {"keypad star", Qt::Key_Asterisk, Qt::KeypadModifier, {106, 0}},
        {"keypad plus", Qt::Key_Plus, Qt::KeypadModifier, {107, 0}},
        {"keypad minus", Qt::Key_Minus, Qt::KeypadModifier, {109, 0}},
        {"keypad point", Qt::Key_Period, Qt::KeypadModifier, {110, 0}},
        {"keypad slash", Qt::Key_Slash, Qt::KeypadModifier, {111, 0}},
        {"keypad home keeps its code", Qt::Key_Home, Qt::KeypadModifier, {36, 0}},
        {"keypad enter", Qt::Key_Enter, Qt::KeypadModifier, {13, 0}},
        {"F1", Qt::Key_F1, Qt::NoModifier, {112, 0}},
        {"F12", Qt::Key_F12, Qt::NoModifier, {123, 0}},
        {"equals", Qt::Key_Equal, Qt::NoModifier, {187, 0}},
        {"shifted equals is plus", Qt::Key_Plus, Qt::ShiftModifier, {187, 1}},
        {"minus", Qt::Key_Minus, Qt::NoModifier, {189, 0}},
        {"period", Qt::Key_Period, Qt::NoModifier, {190, 0}},
        {"slash", Qt::Key_Slash, Qt::NoModifier, {191, 0}},
        {"backslash", Qt::Key_Backslash, Qt::NoModifier, {220, 0}},
        {"shifted 1", Qt::Key_Exclam, Qt::ShiftModifier, {49, 1}},
        {"shifted 8 is not the keypad star", Qt::Key_Asterisk, Qt::ShiftModifier, {56, 1}},
        {"escape", Qt::Key_Escape, Qt::NoModifier, {27, 0}},
        {"return", Qt::Key_Return, Qt::NoModifier, {13, 0}},
        {"backtab is tab with shift", Qt::Key_Backtab, Qt::ShiftModifier, {9, 1}},
        {"delete", Qt::Key_Delete, Qt::NoModifier, {46, 0}},
        {"down", Qt::Key_Down, Qt::NoModifier, {40, 0}},
        {"meta alone gives no bit", Qt::Key_A, Qt::MetaModifier, {65, 0}},
        {"unknown key", Qt::Key_Launch0, Qt::NoModifier, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ui::vbKey(c.qtKey, c.modifiers), c.expected);
    }
}

}  // namespace
