#include "platform/ui/qt_user_interface.h"

#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QWidget>

#include "core/dialog_responder.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/screen_pointer.h"

namespace ui {
namespace {

[[noreturn]] void noBoxYet(const std::string& message, const std::string& caption) {
    throw core::UnexpectedDialog("the dialog builder is not available for the box \"" + caption +
                                 "\": " + message);
}

}  // namespace

int QtUserInterface::msgBox(const std::string& message, const std::string&, const std::string&,
                            const std::string& caption) {
    noBoxYet(message, caption);
}

void QtUserInterface::info(const std::string& message, const std::string& caption) {
    noBoxYet(message, caption);
}

bool QtUserInterface::systemOkCancel(const std::string& message, const std::string& caption) {
    noBoxYet(message, caption);
}

bool QtUserInterface::mainWindowEnabled() const {
    for (const QWidget* form : loadedForms())
        if (qobject_cast<const QMainWindow*>(form)) return form->isEnabled();
    return true;
}

namespace {

QWidget* widgetOf(core::UiHandle handle) { return qobject_cast<QWidget*>(object(handle)); }

}  // namespace

bool QtUserInterface::formIsLoaded(core::UiHandle form) const { return isLoaded(widgetOf(form)); }

bool QtUserInterface::isMainWindow(core::UiHandle form) const {
    return qobject_cast<QMainWindow*>(widgetOf(form)) != nullptr;
}

void QtUserInterface::unloadForm(core::UiHandle form) { ui::unloadForm(widgetOf(form)); }

void QtUserInterface::minimizeAndDisable(core::UiHandle form) {
    QWidget* w = widgetOf(form);
    if (!w) return;
    w->setEnabled(true);
    w->showMinimized();
    w->setEnabled(false);
}

void QtUserInterface::doEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

int QtUserInterface::mousePointer() const { return screenPointer(); }

void QtUserInterface::setMousePointer(int pointer) { setScreenPointer(pointer); }

std::string QtUserInterface::activeWindowCaption() const {
    const QWidget* w = QApplication::activeWindow();
    return w ? fromQString(w->windowTitle()) : std::string();
}

QWidget* QtUserInterface::activeControl() {
    const QWidget* w = QApplication::activeWindow();
    return w ? w->focusWidget() : nullptr;
}

std::string QtUserInterface::activeControlName() const {
    const QWidget* focus = activeControl();
    return focus ? vbType(focus) : std::string();
}

void QtUserInterface::clipboardSetText(const std::string& text) {
    QGuiApplication::clipboard()->setText(toQString(text));
}

void QtUserInterface::clipboardClear() { QGuiApplication::clipboard()->clear(); }

std::string QtUserInterface::tag(core::UiHandle handle) const {
    const QObject* o = object(handle);
    return o ? ui::tag(o) : std::string();
}

void QtUserInterface::setTag(core::UiHandle handle, const std::string& text) {
    if (QObject* o = object(handle)) ui::setTag(o, text);
}

}  // namespace ui
