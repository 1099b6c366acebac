#include "dialogs/box_driver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/delimited_lists.h"
#include "dialogs/control_spec.h"
#include "dialogs/dialog_fonts.h"
#include "dialogs/extra_controls.h"
#include "dialogs/message_text.h"
#include "dialogs/msgbox_form.h"
#include "platform/grid/flex_grid.h"
#include "platform/ui/qt_text.h"
#include "window/grid_operations.h"

namespace dlg {
namespace {

// The buttons a user could press now, by number.
std::vector<QPushButton*> pressable(Msgbxform* form) {
    std::vector<QPushButton*> out;
    for (int n = 1; n <= form->fButton.ubound(); ++n) {
        auto* b = form->fButton.exists(n) ? static_cast<QPushButton*>(form->fButton[n]) : nullptr;
        out.push_back(b && !b->isHidden() ? b : nullptr);
    }
    return out;
}

bool panelUp(Msgbxform* form) { return !form->fValiPic->isHidden(); }

void describe(core::CtlView& v, QWidget* w) {
    v.enabled = w->isEnabled();
    v.visible = !w->isHidden();
    if (auto* e = qobject_cast<QLineEdit*>(w)) v.value = ui::fromQString(e->text());
    else if (auto* m = qobject_cast<QPlainTextEdit*>(w)) v.value = ui::fromQString(m->toPlainText());
    else if (auto* c = qobject_cast<QCheckBox*>(w)) v.value = std::to_string(c->checkState() == Qt::Checked ? 1 : c->checkState() == Qt::PartiallyChecked ? 2 : 0);
    else if (auto* o = qobject_cast<QRadioButton*>(w)) v.value = o->isChecked() ? "True" : "False";
    else if (auto* l = qobject_cast<QListWidget*>(w)) {
        for (int r = 0; r < l->count(); ++r) {
            v.items.push_back(ui::fromQString(l->item(r)->text()));
            if (l->item(r)->isSelected()) v.selection += (v.selection.empty() ? "" : "|") + std::to_string(r);
        }
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        for (int r = 0; r < c->count(); ++r) v.items.push_back(ui::fromQString(c->itemText(r)));
        v.selection = std::to_string(c->currentIndex());
        v.value = ui::fromQString(c->currentText());
    } else if (auto* g = qobject_cast<grid::FlexGrid*>(w)) {
        for (long r = g->FixedRows(); r < g->Rows(); ++r) {
            std::string row;
            for (int c = 1; c < g->Cols(); ++c) row += (c > 1 ? "\t" : "") + GRDFLX_CellText(*g, r, c);
            v.items.push_back(row);
        }
        v.selection = std::to_string(g->Row());
    }
}

}  // namespace

core::DlgView boxView(Msgbxform* form, const std::string& message, const std::string& notice,
                      const core::StrArray& entries, const core::StrArray& values) {
    core::DlgView view;
    view.kind = "MB";
    view.caption = ui::fromQString(form->windowTitle());
    view.message = message;
    view.notice = notice;
    view.noHide = ui::tag(form->fOptions_IN).find("NoHide") != std::string::npos;
    for (QPushButton* b : pressable(form)) {
        view.buttons.push_back(b ? captionOf(b) : std::string());
        if (b && b->isDefault()) view.dfltButton = static_cast<int>(view.buttons.size());
        if (b && b == form->cancelButton()) view.escButton = static_cast<int>(view.buttons.size());
    }
    std::string lastLabel;
    for (long i = 1; i <= entries.ubound(); ++i) {
        core::StrArray fields;
        core::CtlView v;
        v.entry = static_cast<int>(i);
        v.type = MB_EntryType(entries[i], fields);
        const std::string mapItem = i <= form->entryMap.ubound() ? form->entryMap[i] : std::string();
        v.kind = static_cast<int>(CHUNKS_GetNum(1, mapItem));
        v.member = static_cast<int>(CHUNKS_GetNum(2, mapItem));
        v.caption = displayCaption(MB_EntryCaption(fields, LLIST_StrArrItem(values, i, "")));
        v.labelBefore = lastLabel;
        if (v.type == kTypeCommandButton) v.value = LLIST_StrArrItem(values, i, "");
        else if (QWidget* w = form->entryControl(i)) describe(v, w);
        if (v.type == kTypeLabel) lastLabel = v.caption;
        view.ctls.push_back(v);
    }
    return view;
}

QWidget* BoxDriver::control(int entry) const {
    if (entry < 1 || entry > form_->entryMap.ubound()) refuse("no entry " + std::to_string(entry));
    QWidget* w = form_->entryControl(entry);
    if (!w) refuse("no control for entry " + std::to_string(entry));
    if (!w->isEnabled()) refuse("entry " + std::to_string(entry) + " disabled");
    return w;
}

void BoxDriver::refuse(const std::string& what) const {
    throw core::UnexpectedDialog("the box \"" + ui::fromQString(form_->windowTitle()) + "\" has " + what);
}

void BoxDriver::setText(int entry, const std::string& text) {
    QWidget* w = control(entry);
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(ui::toQString(text));
    else if (auto* m = qobject_cast<QPlainTextEdit*>(w)) m->setPlainText(ui::toDisplayText(text));
    else if (auto* c = qobject_cast<QComboBox*>(w); c && c->isEditable()) c->setEditText(ui::toQString(text));
    else refuse("no text at entry " + std::to_string(entry));
}

void BoxDriver::setCheck(int entry, int value) {
    QWidget* w = control(entry);
    if (auto* c = qobject_cast<QCheckBox*>(w)) {
        c->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
        form_->fCheck_Click(ui::controlIndex(c));
    } else if (auto* o = qobject_cast<QRadioButton*>(w)) {
        o->setChecked(value != 0);
        form_->fOption_Click(ui::controlIndex(o));
    } else {
        refuse("no check box at entry " + std::to_string(entry));
    }
}

void BoxDriver::choose(int entry, const std::vector<int>& positions) {
    QWidget* w = control(entry);
    if (auto* l = qobject_cast<QListWidget*>(w)) {
        l->clearSelection();
        for (int p : positions) {
            if (p < 0 || p >= l->count()) refuse("no row " + std::to_string(p) + " at entry " + std::to_string(entry));
            if (l->selectionMode() == QAbstractItemView::SingleSelection) l->setCurrentRow(p);
            l->item(p)->setSelected(true);
        }
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        if (positions.empty() || positions[0] >= c->count()) refuse("no such item at entry " + std::to_string(entry));
        c->setCurrentIndex(positions[0]);
    } else if (auto* g = qobject_cast<grid::FlexGrid*>(w)) {
        if (positions.empty() || positions[0] >= g->Rows() || positions.back() >= g->Rows())
            refuse("no such row at entry " + std::to_string(entry));
        g->setRow(positions[0]);
        // Several positions: the rows from the first to the last.
        if (positions.size() > 1) g->setRowSel(positions.back());
    } else {
        refuse("no list at entry " + std::to_string(entry));
    }
}

void BoxDriver::press(int button) {
    const auto buttons = pressable(form_);
    if (button < 1 || button > static_cast<int>(buttons.size()) || !buttons[button - 1])
        refuse("no button " + std::to_string(button));
    if (!buttons[button - 1]->isEnabled()) refuse("button " + std::to_string(button) + " disabled");
    if (panelUp(form_)) refuse("its validation panel up");
    form_->fButton_Click(button);
}

void BoxDriver::press(const std::string& caption) {
    if (panelUp(form_) && core::sameCaption(caption, "OK")) return form_->fValiButton_Click();
    const auto buttons = pressable(form_);
    for (std::size_t n = 0; n < buttons.size(); ++n)
        if (buttons[n] && core::sameCaption(captionOf(buttons[n]), caption)) return press(static_cast<int>(n) + 1);
    refuse("no button \"" + caption + "\"");
}

void BoxDriver::key(int vbKeyCode, int shift) {
    int code = vbKeyCode, s = shift;
    form_->Form_KeyDown(code, s);
    if (code == 13) {
        if (panelUp(form_)) {
            form_->fValiButton_Click();
        } else {
            const auto buttons = pressable(form_);
            for (std::size_t n = 0; n < buttons.size(); ++n)
                if (buttons[n] && buttons[n]->isDefault() && buttons[n]->isEnabled()) {
                    form_->fButton_Click(static_cast<int>(n) + 1);
                    break;
                }
        }
    } else if (code == 27) {
        form_->Form_QueryUnload(0);
    }
    code = vbKeyCode, s = shift;
    form_->Form_KeyUp(code, s);
}

void BoxDriver::closeBox() { form_->Form_QueryUnload(0); }

void BoxDriver::click(int entry, int row) {
    QWidget* w = control(entry);
    if (!qobject_cast<QListWidget*>(w)) refuse("no click action for entry " + std::to_string(entry));
    choose(entry, {row});
    static_cast<QListWidget*>(w)->setCurrentRow(row, QItemSelectionModel::NoUpdate);
    form_->dMouseDownShift = 0;
    form_->fListBox_Click(w);
}

void BoxDriver::dblClick(int entry, int row) {
    QWidget* w = control(entry);
    auto* g = qobject_cast<grid::FlexGrid*>(w);
    // A grid's row -1 is its header.
    if (!g || row >= 0) choose(entry, {row});
    form_->dMouseDownShift = 0;
    if (g) {
        form_->dMouseDownY = row < 0 ? 0 : GRID_FixedRowsHeight(*g) + 1;
        form_->fGrid_DblClick(ui::controlIndex(g));
    } else if (qobject_cast<QListWidget*>(w)) {
        form_->fListBox_DblClick(w);
    } else {
        refuse("no double-click action for entry " + std::to_string(entry));
    }
}

}  // namespace dlg
