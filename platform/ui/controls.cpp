#include "platform/ui/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>

#include "platform/sys/rt_error.h"

namespace ui {
namespace {

constexpr const char* kVbType = "vbType";
constexpr const char* kTag = "Tag";
constexpr const char* kIndex = "Index";

std::string guessedType(const QObject* c) {
    if (qobject_cast<const QLineEdit*>(c) || qobject_cast<const QTextEdit*>(c) ||
        qobject_cast<const QPlainTextEdit*>(c))
        return "TextBox";
    if (qobject_cast<const QListWidget*>(c)) return "ListBox";
    if (qobject_cast<const QComboBox*>(c)) return "ComboBox";
    if (qobject_cast<const QCheckBox*>(c)) return "CheckBox";
    if (qobject_cast<const QRadioButton*>(c)) return "OptionButton";
    if (qobject_cast<const QPushButton*>(c)) return "CommandButton";
    if (qobject_cast<const QLabel*>(c)) return "Label";
    if (qobject_cast<const QGroupBox*>(c)) return "Frame";
    if (auto* bar = qobject_cast<const QScrollBar*>(c))
        return bar->orientation() == Qt::Horizontal ? "HScrollBar" : "VScrollBar";
    if (qobject_cast<const QTimer*>(c)) return "Timer";
    return {};
}

}  // namespace

std::string vbType(const QObject* control) {
    if (!control) return {};
    const QVariant v = control->property(kVbType);
    if (v.isValid()) return v.toByteArray().toStdString();
    return guessedType(control);
}

void setVbType(QObject* control, const std::string& type) {
    control->setProperty(kVbType, QByteArray::fromStdString(type));
}

core::UiHandle handle(QObject* object) { return reinterpret_cast<core::UiHandle>(object); }

QObject* object(core::UiHandle handle) { return reinterpret_cast<QObject*>(handle); }

std::string tag(const QObject* object) { return object->property(kTag).toByteArray().toStdString(); }

void setTag(QObject* object, const std::string& text) {
    object->setProperty(kTag, QByteArray::fromStdString(text));
}

int controlIndex(const QObject* control) {
    const QVariant v = control->property(kIndex);
    return v.isValid() ? v.toInt() : -1;
}

ControlArray::ControlArray(QWidget* parent, std::string name, std::string type, Factory make)
    : parent_(parent), name_(std::move(name)), type_(std::move(type)), make_(std::move(make)) {
    QWidget* first = make_(parent_);
    first->setObjectName(QString::fromStdString(name_));
    first->setProperty(kIndex, 0);
    setVbType(first, type_);
    first->hide();
    members_[0] = first;
}

QWidget* ControlArray::load(int index) {
    if (exists(index)) sys::raise(360, "ControlArray::load");
    QWidget* first = (*this)[0];
    QWidget* w = make_(parent_);
    w->setObjectName(QString::fromStdString(name_));
    w->setProperty(kIndex, index);
    setVbType(w, type_);
    w->setGeometry(first->geometry());
    w->setFont(first->font());
    w->hide();
    members_[index] = w;
    return w;
}

void ControlArray::unload(int index) {
    if (index == 0) sys::raise(362, "ControlArray::unload");
    QWidget* w = (*this)[index];
    members_.erase(index);
    w->hide();
    w->deleteLater();
}

QWidget* ControlArray::operator[](int index) const {
    auto it = members_.find(index);
    if (it == members_.end() || !it->second) sys::raise(340, "ControlArray");
    return it->second;
}

bool ControlArray::exists(int index) const {
    auto it = members_.find(index);
    return it != members_.end() && it->second;
}

int ControlArray::lbound() const {
    for (const auto& [i, w] : members_)
        if (w) return i;
    return 0;
}

int ControlArray::ubound() const {
    for (auto it = members_.rbegin(); it != members_.rend(); ++it)
        if (it->second) return it->first;
    return -1;
}

int ControlArray::count() const {
    return static_cast<int>(std::count_if(members_.begin(), members_.end(),
                                          [](const auto& m) { return !m.second.isNull(); }));
}

}  // namespace ui
