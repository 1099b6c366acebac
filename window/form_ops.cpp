#include "window/form_ops.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
#include <set>

#include "core/delimited_lists.h"
#include "platform/sys/rt_error.h"
#include "platform/ui/colours.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/twips.h"
#include "window/event_guard.h"
#include "window/placement.h"

namespace {

// Greying: element 0 is set, the rest qualify.
const std::vector<long> kGreyBack{0x808080, 0xC0C0C0, ui::kSysButtonFace};
const std::vector<long> kGreyFore{0xC0C0C0, ui::kSysWindowText};

QList<QWidget*> controlsOf(QWidget* form) { return form->findChildren<QWidget*>(); }

bool qualifies(long colour, const std::vector<long>& table) {
    if (table.empty()) return true;
    for (size_t i = 1; i < table.size(); ++i)
        if (table[i] == colour) return true;
    return false;
}

std::string propertyText(const QObject* c, const char* name, const std::string& fallback) {
    const QVariant v = c->property(name);
    return v.isValid() ? v.toByteArray().toStdString() : fallback;
}

std::string currentItemText(const QObject* c) {
    if (auto* list = qobject_cast<const QListWidget*>(c))
        return list->currentItem() ? ui::fromQString(list->currentItem()->text()) : std::string();
    return {};
}

// Multi-line boxes give their line breaks back as CR LF.
std::string multiLine(const QString& text) {
    QString t = text;
    t.replace(QChar('\n'), QStringLiteral("\r\n"));
    return ui::fromQString(t);
}

std::string captionOf(const QObject* c) {
    if (auto* b = qobject_cast<const QAbstractButton*>(c)) return ui::fromQString(b->text());
    if (auto* l = qobject_cast<const QLabel*>(c)) return ui::fromQString(l->text());
    if (auto* g = qobject_cast<const QGroupBox*>(c)) return ui::fromQString(g->title());
    return propertyText(c, "Caption", {});
}

std::string valueText(const QObject* c, const std::string& type) {
    if (type == "CheckBox" || type == "CommandButton" || type == "Frame" || type == "Label" ||
        type == "OptionButton")
        return captionOf(c);
    if (type == "TextBox") {
        if (auto* e = qobject_cast<const QLineEdit*>(c)) return ui::fromQString(e->text());
        if (auto* e = qobject_cast<const QTextEdit*>(c)) return multiLine(e->toPlainText());
        if (auto* e = qobject_cast<const QPlainTextEdit*>(c)) return multiLine(e->toPlainText());
        return {};
    }
    if (type == "ComboBox") {
        auto* combo = qobject_cast<const QComboBox*>(c);
        return combo ? ui::fromQString(combo->currentText()) : std::string();
    }
    if (type == "ListBox") return currentItemText(c);
    if (type == "DirListBox") return propertyText(c, "Path", currentItemText(c));
    if (type == "DriveListBox") return propertyText(c, "Drive", currentItemText(c));
    if (type == "FileListBox") return propertyText(c, "Filename", currentItemText(c));
    if (type == "HScrollBar" || type == "VScrollBar") {
        auto* bar = qobject_cast<const QScrollBar*>(c);
        return std::to_string(bar ? bar->value() : 0);
    }
    if (type == "Image" || type == "PictureBox") return propertyText(c, "Picture", "0");
    if (type == "Line") return ui::tag(c);
    if (type == "Shape") return propertyText(c, "Shape", "0");
    if (type == "Timer") {
        auto* timer = qobject_cast<const QTimer*>(c);
        return std::to_string(timer ? timer->interval() : 0);
    }
    return {};
}

}  // namespace

void FRMS_EnableAll(QWidget* form, bool grey, bool enabled) {
    if (!form) return;
    if (grey && !enabled) FRMS_Recolour(form, kGreyBack, kGreyFore, "", true);
    static const std::set<std::string> types{"CommandButton", "TextBox", "CheckBox", "ComboBox"};
    for (QWidget* c : controlsOf(form))
        if (types.count(ui::vbType(c))) c->setEnabled(enabled);
    MSE_DoEvents();
}

void FRMS_Recolour(QWidget* form, const std::vector<long>& backColours,
                   const std::vector<long>& foreColours, const std::string& typeList, bool formToo) {
    if (!form) return;
    const std::string types = typeList.empty() ? "" : "|" + typeList + "|";
    if (formToo && !backColours.empty()) ui::setBackColor(form, backColours[0]);
    for (QWidget* c : controlsOf(form)) {
        if (!types.empty()) {
            std::string value, type;
            CTLSIMPLE_TypeName(c, value, type);
            if (types.find("|" + type + "|") == std::string::npos) continue;
        }
        if (!ui::hasForeColor(c) || !ui::hasBackColor(c)) continue;
        if (!qualifies(ui::foreColor(c), foreColours) || !qualifies(ui::backColor(c), backColours))
            continue;
        if (!foreColours.empty()) ui::setForeColor(c, foreColours[0]);
        if (!backColours.empty()) ui::setBackColor(c, backColours[0]);
    }
}

void FRMS_BackColorAll(QWidget* form, long colour) {
    if (!form) return;
    ui::setBackColor(form, colour);
    for (QWidget* c : controlsOf(form)) ui::setBackColor(c, colour);
}

void FRMS_ForeColorAll(QWidget* form, long colour) {
    if (!form) return;
    ui::setForeColor(form, colour);
    for (QWidget* c : controlsOf(form)) ui::setForeColor(c, colour);
}

void FRMS_FindForm(const std::string& text, FRMS_Forms& forms) {
    forms.assign(1, nullptr);
    for (QWidget* f : ui::loadedForms()) {
        if (CHUNKS_Get(1, ui::tag(f)) == text) forms.push_back(f);
    }
}

FRMS_Forms FRMS_FindFormDefault(const std::string& text) {
    FRMS_Forms forms;
    FRMS_FindForm(text, forms);
    return forms;
}

std::string FRMS_FormTag(const QWidget* form) { return ui::isLoaded(form) ? ui::tag(form) : std::string(); }

double FRMS_TextWidth(const QWidget* form, const std::string& text) {
    if (!ui::isLoaded(form)) return ACTIVAT_WorkAreaWidth(kUnitsTwips);
    const QFontMetrics metrics(form->font());
    int widest = 0;
    for (const QString& line : ui::toDisplayText(text).split(QChar('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest * ui::twipsPerPixelX();
}

bool FRMSND_FormIsAlive(const QWidget* form) { return ui::isLoaded(form); }

bool FRMSND_ObjIsSet(const std::function<QObject*()>& fetch, QPointer<QObject>& out) {
    try {
        out = fetch();
    } catch (const sys::RtError&) {
        out = nullptr;
        return false;
    }
    return !out.isNull();
}

void CTLSIMPLE_TypeName(const QObject* control, std::string& value, std::string& typeName) {
    static const std::set<std::string> known{
        "CheckBox", "ComboBox", "CommandButton", "DirListBox", "DriveListBox", "FileListBox",
        "Frame", "HScrollBar", "Image", "Label", "Line", "ListBox", "OptionButton", "PictureBox",
        "Shape", "TextBox", "Timer", "VScrollBar"};
    value.clear();
    typeName = control ? ui::vbType(control) : std::string();
    if (!known.count(typeName)) {
        typeName = "Unrecognised.";
        return;
    }
    value = valueText(control, typeName);
}

void CTLSIMPLE_ListIndexSet(QWidget* list, long index) {
    auto clamp = [index](int count) { return index < 0 ? -1 : static_cast<int>(std::min<long>(index, count - 1)); };
    if (auto* l = qobject_cast<QListWidget*>(list)) {
        const int row = clamp(l->count());
        l->setCurrentRow(row);
        if (row < 0) l->clearSelection();
    } else if (auto* c = qobject_cast<QComboBox*>(list)) {
        c->setCurrentIndex(clamp(c->count()));
    }
}
