#include "platform/ui/forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPointer>
#include <algorithm>
#include <memory>

#include "core/user_interface.h"
#include "platform/ui/keys.h"

namespace ui {
namespace {

std::vector<QPointer<QWidget>>& registry() {
    static std::vector<QPointer<QWidget>> forms;
    return forms;
}

void forget(const QObject* form) {
    auto& r = registry();
    r.erase(std::remove_if(r.begin(), r.end(), [form](const QPointer<QWidget>& f) {
                return f.isNull() || f.data() == form;
            }),
            r.end());
}

// Offers each key press to the key-down handler of the form it happens in. A press
// that the handler lets through is delivered again as a copy with the filter off, so
// that Qt's propagation to parent widgets does not offer it a second time.
class KeyPreview : public QObject {
public:
    bool eventFilter(QObject* obj, QEvent* event) override {
        if (event == passing_ || event->type() != QEvent::KeyPress || !obj->isWidgetType()) return false;
        auto* form = qobject_cast<Form*>(static_cast<QWidget*>(obj)->window());
        if (!form || !form->keyDownHandler()) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        VbKey vb = vbKey(*key);
        if (vb.keyCode == 0) return false;
        int code = vb.keyCode;
        QPointer<QObject> target(obj);
        form->keyDownHandler()(code, vb.shift);
        if (code == 0 || !target) {
            event->accept();
            return true;
        }
        std::unique_ptr<QKeyEvent> copy(key->clone());
        // Only this copy passes unseen: keys of a box it opens are still offered.
        const QEvent* outer = passing_;
        passing_ = copy.get();
        QCoreApplication::sendEvent(target, copy.get());
        passing_ = outer;
        // The copy has been through the parents already; stop the original here.
        event->accept();
        return true;
    }

private:
    const QEvent* passing_ = nullptr;
};

}  // namespace

void registerForm(QWidget* form) {
    if (isLoaded(form)) return;
    registry().emplace_back(form);
    QObject::connect(form, &QObject::destroyed, [](QObject* gone) { forget(gone); });
}

std::vector<QWidget*> loadedForms() {
    std::vector<QWidget*> out;
    for (const auto& f : registry())
        if (f) out.push_back(f);
    return out;
}

bool isLoaded(const QWidget* form) {
    if (!form) return false;
    const auto& r = registry();
    return std::any_of(r.begin(), r.end(), [form](const QPointer<QWidget>& f) { return f.data() == form; });
}

void unloadForm(QWidget* form) {
    if (!form) return;
    forget(form);
    form->hide();
    form->deleteLater();
}

Form::Form(QWidget* parent) : QDialog(parent) { registerForm(this); }

void Form::setKeyDownHandler(KeyDownHandler handler) {
    static KeyPreview* preview = nullptr;
    if (!preview && qApp) {
        preview = new KeyPreview;
        preview->setParent(qApp);
        qApp->installEventFilter(preview);
    }
    keyDown_ = std::move(handler);
}

void Form::closeEvent(QCloseEvent* event) {
    if (core::gInDoEvents && refusesClose_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace ui
