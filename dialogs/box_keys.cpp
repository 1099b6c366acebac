#include "dialogs/box_keys.h"


#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "core/shell_hooks.h"
#include "core/stored_text.h"
#include "core/text.h"
#include "dialogs/control_arrays.h"
#include "dialogs/edit_list_dialog.h"
#include "dialogs/extra_controls.h"
#include "dialogs/msgbox.h"
#include "dialogs/msgbox_form.h"
#include "dialogs/ready_dialogs.h"
#include "dialogs/text_viewer.h"
#include "platform/grid/flex_grid.h"
#include "platform/ui/controls.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/twips.h"
#include "window/common_dialog.h"
#include "window/control_keys.h"
#include "window/form_ops.h"
#include "window/grid_operations.h"
#include "window/list_keys.h"

namespace {

constexpr int kShiftCtrl = 2;
constexpr int kShiftAlt = 4;
constexpr int kKeyF3 = 114;
// A text shown in an information box is cut to this length.
constexpr long kShownTextMax = 5000;
// A text with more line breaks than this is shown a line an item.
constexpr long kLinesForLineList = 45;

bool isFontKey(int keyCode) { return keyCode == 68 || keyCode == 70 || keyCode == 73; }

bool comboIsEditable(const QWidget* w) {
    const auto* combo = qobject_cast<const QComboBox*>(w);
    return combo && combo->isEditable();
}

// The text a list or grid shows as its own: the current item or cell.
std::string controlText(QWidget* control) {
    if (auto* l = qobject_cast<QListWidget*>(control)) {
        QListWidgetItem* item = l->currentItem();
        if (!item && !l->selectedItems().isEmpty()) item = l->selectedItems().first();
        return item ? ui::fromQString(item->text()) : std::string();
    }
    if (auto* c = qobject_cast<QComboBox*>(control)) return ui::fromQString(c->currentText());
    if (auto* g = qobject_cast<grid::FlexGrid*>(control)) return GRDFLX_CellText(*g, g->Row(), g->Col());
    return {};
}

// A long text as a list of its lines, where one line can be picked out and looked at;
// changes stay in the viewer's own copy.
void showAsLineList(const std::string& text) {
    MB_ListDlgArgs args{.message = "Select item and press Ctrl+Z to view the whole message.",
                        .further = true,
                        .furtherCaption = "&Cancel",
                        .delimiter = gCR,
                        .memList = text};
    dlg::useStandardListButtons(args);
    MB_EditList("", "", "", args);
}

std::string lowerCaption(const QString& text) { return core::lowerAscii(ui::fromQString(text)); }

// The widget of entry k, or nullptr.
QWidget* entryWidget(Msgbxform* form, long k) {
    const std::string map = form->entryMap[k];
    ui::ControlArray* array = form->arrayOfKind(static_cast<int>(CHUNKS_GetNum(1, map)));
    const int member = static_cast<int>(CHUNKS_GetNum(2, map));
    return array && array->exists(member) ? (*array)[member] : nullptr;
}

// The extra controls follow each other in tab order as their entries do: the focus goes
// to the first control after the label's entry that takes it.
void focusAfterLabel(Msgbxform* form, QWidget* label) {
    bool after = false;
    for (long k = 1; k <= form->entryMap.ubound(); ++k) {
        QWidget* w = entryWidget(form, k);
        if (!w) continue;
        if (!after) {
            after = w == label;
            continue;
        }
        if (!w->isHidden() && w->isEnabled() && w->focusPolicy() != Qt::NoFocus) {
            w->setFocus();
            return;
        }
    }
}

// Runs the check box's or option button's click as a click by the user would.
void actOn(Msgbxform* form, QAbstractButton* b) {
    const int index = ui::controlIndex(b);
    if (auto* check = qobject_cast<QCheckBox*>(b)) {
        check->setCheckState(check->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        form->fCheck_Click(index);
    } else if (auto* option = qobject_cast<QRadioButton*>(b)) {
        option->setChecked(true);
        form->fOption_Click(index);
    }
    b->setFocus();
}

}  // namespace

void MB_FormKeyDown(Msgbxform* form, int& keyCode, int& shift, bool& keyDownDone, bool& keyDownSeen) {
    form->dLastKeyCode_B4IntrprtKeyPadKeys = keyCode;
    form->dLastShift_B4IntrprtKeyPadKeys = shift;
    KEYS_KeypadNormalize(keyCode, shift);
    core::shellHooks().mbKeyDown(keyCode, shift);

    std::string value, type;
    CTLNOMB_ActiveCtlType(form, value, type);
    bool ok = true;
    const std::string record = std::to_string(keyCode) + "|" + std::to_string(shift) + "|" + type;
    ui::setTag(form->fLastData_OUT, CHUNKS_InsertEx(record, value, "|", kChunksNoExclusion, 0, false, false, ok));
    keyDownDone = false;
    keyDownSeen = true;

    const std::string options = ui::tag(form->fOptions_IN);
    if (options.find("Any Key Hides") != std::string::npos ||
        options.find("KeyHides|" + std::to_string(shift) + "|" + std::to_string(keyCode)) != std::string::npos)
        return;

    QWidget* focus = form->focusWidget();
    const bool list = type == "ListBox" || type == "ComboBox" || type == "FileListBox";
    const long listOption = list && focus ? core::wholeOf<long>(TXT_Val(CHUNKS_Get(8, ui::tag(focus)))) : 0;
    bool consumed = false;
    const bool local = MB_FormKeyDownLocal(form, keyCode, shift, listOption, consumed, type);
    // Type-ahead has moved the list already unless it left the key to it: the list must
    // not see the key again.
    const bool typeAheadKey = (keyCode >= 48 && keyCode <= 57) || (keyCode >= 65 && keyCode <= 90);
    const bool listMoved = typeAheadKey && !gMBListReselect &&
                           (qobject_cast<QListWidget*>(focus) || (type == "ComboBox" && !comboIsEditable(focus)));
    if (local) {
        keyDownDone = true;
        if (form->fLastData_OUT->text() == "-1") MB_FormSetResult(form, -1);
        if (listMoved) keyCode = 0;
        return;
    }
    // Keys bound to a double-click or to a grid sort: the key table binds none today.
    int boundShift = 0;
    std::string keyText, element;
    keyDownDone = false;
    if (KEYS_KeyForAction("DblClick", 0, boundShift, keyText, element) == keyCode) {
        keyDownDone = list || type == "MSFlexGrid";
        if (keyDownDone) MB_FormListDblClick(form, focus, shift, false);
    } else if (KEYS_KeyForAction("88", 0, boundShift, keyText, element) == keyCode) {
        if (auto* g = qobject_cast<grid::FlexGrid*>(focus)) {
            keyDownDone = true;
            GRDFLX_SortOnColumn(*g, CHUNKS_GetIsTrue(7, ui::tag(g)));
        }
    }
    if (listMoved) keyCode = 0;
}

bool MB_FormKeyDownLocal(Msgbxform* form, int keyCode, int shift, long listOption, bool& consumed,
                         const std::string& typeName) {
    QWidget* focus = form->focusWidget();
    const bool isList = typeName == "ListBox" || typeName == "FileListBox" ||
                        (typeName == "ComboBox" && !comboIsEditable(focus));
    if (isList && focus &&
        CTLNOMB_ListTypeAhead(focus, keyCode, shift, gMBIniFile, gMBListReselect, listOption != 0))
        return true;
    bool textEntry = typeName == "TextBox" || (typeName == "ComboBox" && comboIsEditable(focus));
    const bool fontKey = isFontKey(keyCode);
    if (shift == kShiftAlt || (shift == kShiftCtrl && fontKey)) textEntry = false;
    if (textEntry) {
        consumed = true;
        return true;
    }
    // Alt+letter belongs to the buttons' own access keys.
    if (!fontKey || (shift & kShiftAlt)) return false;

    FRMS_EnableAll(form, true, false);
    QLabel* sizer = form->fSzCtl;
    QScreen* screen = form->screen();
    sizer->move(sizer->x(), screen ? screen->geometry().height() : 10000);
    sizer->show();
    window::CommonDialog fontDialog(form);
    bool handled = false;
    KEYS_FontKeyHandle(sizer, keyCode, shift, "MB formats", "MB all ", gMBIniFile, fontDialog, handled, -1);
    core::shellHooks().hookEmpty1(keyCode, shift);
    sizer->hide();
    form->fLastData_OUT->setText("-1");
    consumed = true;
    return true;
}

void MB_FormKeyUp(Msgbxform* form, int& keyCode, int& shift, bool& keyDownDone, bool& keyDownSeen) {
    KEYS_KeypadNormalize(keyCode, shift);
    if (gMBListReselect)
        if (auto* l = qobject_cast<QListWidget*>(form->focusWidget())) CTLNOMB_ListSelCurrent(l, gMBListReselect);
    if (!keyDownDone) {
        keyDownDone = true;
        bool handled = false;
        MB_FormHotKey(form, keyCode, shift, true, handled);
    }
    if (!keyDownSeen) return;
    const std::string options = ui::tag(form->fOptions_IN);
    if (options.find("Any Key Hides") != std::string::npos ||
        options.find("KeyHides|" + std::to_string(shift) + "|" + std::to_string(keyCode)) != std::string::npos)
        MB_FormSetResult(form, -2);
}

void MB_FormHotKey(Msgbxform* form, int keyCode, int shift, bool act, bool& handled) {
    if (keyCode < 32 || keyCode > 96) return;
    const char c = core::lowerAscii(std::string(1, static_cast<char>(keyCode)))[0];
    const std::string label = std::string("[") + c;
    const std::string access = std::string("&") + c;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (w->isHidden() || !w->isEnabled()) continue;
        if (auto* l = qobject_cast<QLabel*>(w); l && ui::vbType(l) == "Label") {
            if (lowerCaption(l->text()).find(label) == std::string::npos) continue;
            handled = true;
            if (act) focusAfterLabel(form, l);
            continue;
        }
        auto* b = qobject_cast<QAbstractButton*>(w);
        if (!b || (shift & kShiftAlt) || b == form->fValiButton) continue;
        const std::string caption = TXT_Replace(lowerCaption(b->text()), "&&", "@", true);
        if (caption.find(access) == std::string::npos) continue;
        handled = true;
        if (!act) return;
        if (qobject_cast<QPushButton*>(b)) MB_FormSetResult(form, ui::controlIndex(b));
        else actOn(form, b);
        return;
    }
}

void MB_FormListDblClick(Msgbxform* form, QWidget* control, int shift, bool header) {
    if (!control) return;
    const std::string tag = ui::tag(control);
    if (auto* g = qobject_cast<grid::FlexGrid*>(control); g && header && CHUNKS_GetIsTrue(7, tag)) {
        GRDFLX_SortOnColumn(*g, true);
        form->gridSortCols[ui::controlIndex(g)] = std::to_string(g->Col()) + "|" + std::to_string(g->ColSel());
        return;
    }
    const long action = shift == kShiftCtrl ? -2 : core::wholeOf<long>(TXT_Val(CHUNKS_Get(6, tag)));
    if (action == -1) return;
    if (action == -3) {
        HEX_ShowText(controlText(control), "", "");
        return;
    }
    if (action == -2) {
        const std::string text = controlText(control);
        if (TXT_CountOf(text, gCR, true) > kLinesForLineList) {
            showAsLineList(text);
            return;
        }
        bool cut = false;
        MB_Info(TXT_FitLen(text, kShownTextMax, " ..." + gCRCR + "[TEXT TRUNCATED]", cut));
        return;
    }
    MB_FormSetResult(form, static_cast<int>(action));
}

void MB_FormGridFind(Msgbxform* form, grid::FlexGrid& grid) { MB_GridFind(grid, form->dGridFindText); }

void MB_GridFind(grid::FlexGrid& grid, std::string& findText) {
    const long startRow = grid.Row();
    long button = 0;
    const std::string text =
        MB_Input("Find a Value in the list." + gCRCR + "This find will NOT match case." + gCR +
                     "It will start at the top of the list when the End of the list is reached." + gCRCR +
                     "Enter Text To Find:",
                 "", findText, nullptr, &button);
    // An empty answer (also Cancel) would match the first cell looked at.
    if (text.empty()) return;
    findText = text;
    const std::string wanted = core::lowerAscii(text);
    long row = grid.Row();
    int col = grid.Col() + 1;
    for (;;) {
        for (; row < grid.Rows(); ++row, col = 0) {
            for (; col < grid.Cols(); ++col) {
                if (core::lowerAscii(GRDFLX_CellText(grid, row, col)).find(wanted) == std::string::npos) continue;
                long fixedRows = 0, fixedCols = 0;
                grid.setRow(row);
                grid.setCol(col);
                grid.setRowSel(row);
                grid.setColSel(col);
                GRID_ScrollRangeIntoView(grid, row, row, col, col, fixedRows, fixedCols);
                return;
            }
        }
        if (grid.Row() == 0) break;
        grid.setRow(0);
        row = 0;
        col = 0;
    }
    grid.setRow(startRow);
    MB_Info("Not found >>" + text + "<<" + gCRCR + "Entire list searched.");
}

void MB_FormTextFind(Msgbxform* form, QWidget* textBox) {
    bool found = false;
    long position = 0;
    const std::string last = MB_FindLastValue(form->dOptions, found, position);
    if (!found) return;
    const std::string text = MB_Input("Enter Text To Find [t]:", "", last);
    if (text.empty()) return;
    CHUNKS_Set(position + 1, form->dOptions, text);
    std::string message;
    if (!window::findInControl(textBox, text, message)) MB_Info(message);
}
