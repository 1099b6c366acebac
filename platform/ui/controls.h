#pragma once
// What every control carries besides its Qt self: its VB type name, a Tag text, and
// membership of a control array. The dialog builder creates controls at run time in
// arrays; member 0 stands for the design-time control and is created hidden.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "core/user_interface.h"

namespace ui {

// "TextBox", "ListBox", "CommandButton", ... from the "vbType" property, else guessed
// from the widget class; "" when neither tells.
std::string vbType(const QObject* control);
void setVbType(QObject* control, const std::string& type);

// A form or control as core holds it, and back.
core::UiHandle handle(QObject* object);
QObject* object(core::UiHandle handle);

std::string tag(const QObject* object);
void setTag(QObject* object, const std::string& text);

// The member number of a control-array member, -1 for a plain control.
int controlIndex(const QObject* control);

class ControlArray {
public:
    using Factory = std::function<QWidget*(QWidget* parent)>;
    // Creates member 0, hidden, named `name`.
    ControlArray(QWidget* parent, std::string name, std::string type, Factory make);

    // A new member like member 0 (size, font, type), hidden. Error 360 when the
    // index is taken.
    QWidget* load(int index);
    // Error 362 for member 0; error 340 for a member that does not exist.
    void unload(int index);
    // Error 340 for a member that does not exist (or was destroyed with its form).
    QWidget* operator[](int index) const;
    bool exists(int index) const;
    int lbound() const;
    int ubound() const;
    int count() const;

private:
    QWidget* parent_;
    std::string name_, type_;
    Factory make_;
    std::map<int, QPointer<QWidget>> members_;
};

}  // namespace ui
