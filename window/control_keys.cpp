#include "window/control_keys.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <algorithm>
#include <cctype>

#include "core/delimited_lists.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/twips.h"
#include "window/form_ops.h"
#include "window/list_keys.h"

namespace {

constexpr int kKeyD = 68, kKeyF = 70, kKeyI = 73;
constexpr int kShiftBit = 1;
constexpr int kMaxIncreaseStep = 100;
const std::string kOnlyOne = "Only one occurrence of that string in list";

// 1-based position of the find text in the text from `start` on, case ignored; 0 when
// absent.
long findFrom(const std::string& text, const std::string& find, long start)
{
    if (start < 1 || start > static_cast<long>(text.size())) return 0;
    const std::string hay = core::lowerAscii(text), needle = core::lowerAscii(find);
    const std::size_t at = hay.find(needle, static_cast<std::size_t>(start - 1));
    return at == std::string::npos ? 0 : static_cast<long>(at) + 1;
}

// ". Found >>text<< In Text Segment: " and up to 8 characters either side.
std::string foundSegment(const std::string& text, const std::string& find, long position)
{
    const long from = std::max(1L, position - 8);
    const long to = std::min(static_cast<long>(text.size()) + 1, position + static_cast<long>(find.size()) + 8);
    std::string segment = text.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from));
    TXT_ReplaceCrLf(segment);
    return ". Found >>" + find + "<< In Text Segment: " + segment;
}

bool findInList(QListWidget* list, const std::string& find, std::string& message)
{
    const int count = list->count(), start = list->currentRow() + 1;
    for (int step = 0; step < count; ++step) {
        const int row = (start + step) % count;
        const std::string text = ui::fromQString(list->item(row)->text());
        const long position = findFrom(text, find, 1);
        if (position == 0) continue;
        if (row == list->currentRow()) {
            message = kOnlyOne;
        } else {
            list->setCurrentRow(row);
            message = "At No: " + std::to_string(row + 1);
        }
        message += foundSegment(text, find, position);
        return true;
    }
    message = "Not Found: >>" + find + "<< Entire List [** currect SECTION only **] searched.";
    return false;
}

// The text box's text and selection start, in bytes; false for other controls.
bool textBoxState(QWidget* control, std::string& text, long& selStart)
{
    auto bytesBefore = [](const QString& s, int index) { return static_cast<long>(ui::fromQString(s.left(index)).size()); };
    if (auto* line = qobject_cast<QLineEdit*>(control)) {
        text = ui::fromQString(line->text());
        selStart = bytesBefore(line->text(), line->hasSelectedText() ? line->selectionStart() : line->cursorPosition());
        return true;
    }
    if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
        const QString all = plain->toPlainText();
        text = ui::fromQString(all);
        selStart = bytesBefore(all, plain->textCursor().selectionStart());
        return true;
    }
    if (auto* rich = qobject_cast<QTextEdit*>(control)) {
        const QString all = rich->toPlainText();
        text = ui::fromQString(all);
        selStart = bytesBefore(all, rich->textCursor().selectionStart());
        return true;
    }
    return false;
}

void selectBytes(QWidget* control, const std::string& text, long start, long length)
{
    const int from = static_cast<int>(ui::toQString(text.substr(0, static_cast<std::size_t>(start))).size());
    const int count = static_cast<int>(
        ui::toQString(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length))).size());
    if (auto* line = qobject_cast<QLineEdit*>(control)) {
        line->setSelection(from, count);
        return;
    }
    auto select = [&](auto* edit) {
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(from + count, QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
    };
    if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) select(plain);
    else if (auto* rich = qobject_cast<QTextEdit*>(control)) select(rich);
}

// An empty text finds nothing (rather than failing on a start position of 0).
bool findInTextBox(QWidget* control, const std::string& find, std::string& message)
{
    std::string text;
    long selStart = 0;
    textBoxState(control, text, selStart);
    const long length = static_cast<long>(text.size());
    const long start = std::min(std::max(1L, selStart + 2), length);
    long position = findFrom(text, find, start);
    if (position == 0) position = findFrom(text, find, 1);
    if (position == 0) {
        message = "Not Found: >>" + find + "<<";
        return false;
    }
    if (position - 1 == selStart) {
        message = kOnlyOne;
    } else {
        selectBytes(control, text, position - 1, static_cast<long>(find.size()));
        message = "At Byte No: " + std::to_string(position);
    }
    message += foundSegment(text, find, position);
    return true;
}

void setPointSize(QWidget* control, double size)
{
    QFont font = control->font();
    font.setPointSizeF(size);
    control->setFont(font);
}

}  // namespace

bool window::findInControl(QWidget* control, const std::string& findText, std::string& message)
{
    std::string value, type;
    CTLSIMPLE_TypeName(control, value, type);
    if (type == "ListBox") {
        if (auto* list = qobject_cast<QListWidget*>(control)) return findInList(list, findText, message);
    }
    std::string text;
    long selStart = 0;
    if (type == "TextBox" && textBoxState(control, text, selStart)) return findInTextBox(control, findText, message);
    return false;
}

void CTL_ControlRectGet(std::array<long, 4>& rect, const QWidget* control)
{
    const ui::TwipsRect r = ui::twipsGeometry(control);
    rect = {r.left, r.top, r.left + r.width, r.top + r.height};
}

// Qt refuses sizes of 0 and below, which stands for the control refusing a step.
bool CTL_FontSizeDecrease(QWidget* control)
{
    const double remembered = control->font().pointSizeF();
    for (int k = 1; k <= control->font().pointSizeF(); ++k) {
        if (remembered - k > 0) setPointSize(control, remembered - k);
        if (control->font().pointSizeF() != remembered) break;
    }
    return true;
}

bool CTL_FontSizeIncrease(QWidget* control)
{
    const double remembered = control->font().pointSizeF();
    for (int k = 1; k <= kMaxIncreaseStep && control->font().pointSizeF() == remembered; ++k)
        setPointSize(control, control->font().pointSizeF() + k);
    return true;
}

bool CTL_HasTag(const QWidget* control) { return control != nullptr; }

void CTL_FocusNextInTabOrder(QWidget* form, QWidget* control)
{
    auto takes = [form](QWidget* w) {
        if (!w->isEnabled() || !w->isVisible() || !(w->focusPolicy() & Qt::TabFocus)) return false;
        w->setFocus(Qt::TabFocusReason);
        return form->focusWidget() == w;
    };
    if (takes(control)) return;
    for (QWidget* w = control->nextInFocusChain(); w && w != control; w = w->nextInFocusChain())
        if (form->isAncestorOf(w) && takes(w)) return;
}

void KEYS_KeypadNormalize(int& keyCode, int& shift)
{
    struct Operator {
        int keypad, main;
        bool shifted;
    };
    static const Operator operators[] = {
        {106, 56, true}, {107, 187, true}, {109, 189, false}, {110, 190, false}, {111, 220, false},
    };
    if (keyCode >= 96 && keyCode <= 105) {
        keyCode -= 48;
        return;
    }
    for (const Operator& op : operators)
        if (keyCode == op.keypad) {
            keyCode = op.main;
            shift = op.shifted ? (shift | kShiftBit) : (shift & ~kShiftBit);
            return;
        }
}

void KEYS_ReqdKeyDefnsGet(core::StrArray& out) {
    CHUNKS_IniGet("Keys", "Reqd Key defns", gIniScreens, "|", "{}", out, 0, 3);
}

void KEYS_ShiftDescsGet(core::StrArray& out) {
    CHUNKS_IniGet("Keys", "ShiftDescs", gIniScreens, "|", kChunksNoExclusion, out, 0, 3);
}

bool KEYS_ActionInList(int screen, const std::string& action, const core::StrArray& list) {
    return list.inBounds(screen) && list[screen].find("|" + CHUNKS_Get(1, action) + "|") != std::string::npos;
}

long KEYS_KeyForAction(const std::string& action, int screen, int& shift, std::string& keyText,
                       std::string& element)
{
    shift = -1;
    keyText.clear();
    element.clear();
    if (KEYS_KeyTable.empty()) return -1;
    core::StrArray required;
    KEYS_ReqdKeyDefnsGet(required);
    const int lowest = KEYS_ActionInList(screen, action, required) ? 1 : 0;
    for (const auto& [key, text] : KEYS_KeyTable.elements()) {
        const auto& [code, keyScreen, keyShift] = key;
        if (keyScreen != screen || keyShift < lowest || keyShift > 7 || CHUNKS_Get(1, text) != action) continue;
        shift = keyShift;
        element = text;
        keyText = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(code & 0xFF))));
        if (keyShift != 0) {
            core::StrArray names;
            KEYS_ShiftDescsGet(names);
            keyText = LLIST_StrArrItem(names, keyShift, "") + "+" + keyText;
        }
        return code;
    }
    return -1;
}

bool KEYS_FontKeyHandle(QWidget* control, int keyCode, int shift, const std::string& section,
                        const std::string& entry, const std::string& iniFile, window::CommonDialog& fontDialog,
                        bool& handled, int shiftToIgnore)
{
    handled = false;
    if (shift == shiftToIgnore) return false;
    bool changed = false;
    if (keyCode == kKeyD) {
        changed = CTL_FontSizeDecrease(control);
    } else if (keyCode == kKeyI) {
        changed = CTL_FontSizeIncrease(control);
    } else if (keyCode == kKeyF) {
        changed = OPENDLOG_Font(control, fontDialog);
        handled = true;
    }
    if (!changed) return false;
    if (entry != "NoSaveFont") CTLNOMB_FontIni("p", control, section, entry, iniFile);
    return true;
}
