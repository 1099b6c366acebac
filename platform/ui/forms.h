#pragma once
// Forms and the collection of loaded forms. A form is loaded from its creation until
// it is unloaded; unloading takes it out of the collection at once, hides it and
// deletes it later. Liveness is membership of the collection, because deferred
// deletes do not run inside a nested event loop, so a QPointer alone would still
// see an unloaded form.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

namespace ui {

// Idempotent; the form leaves the collection by itself when it is destroyed.
void registerForm(QWidget* form);
// Loaded forms, in load order.
std::vector<QWidget*> loadedForms();
// Pass a pointer taken from a QPointer, so that a destroyed form is null.
bool isLoaded(const QWidget* form);
void unloadForm(QWidget* form);

class Form : public QDialog {
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr);

    // Sees every key pressed anywhere in the form before the control that has the
    // focus; setting keyCode to 0 swallows the key.
    using KeyDownHandler = std::function<void(int& keyCode, int shift)>;
    void setKeyDownHandler(KeyDownHandler handler);
    const KeyDownHandler& keyDownHandler() const { return keyDown_; }

    // On by default. A box that must be answerable while an operation yields (the
    // Stop confirmation is one) turns it off.
    void setRefusesCloseWhileYielding(bool refuses) { refusesClose_ = refuses; }

protected:
    // A window does not close while a long operation yields to the event loop.
    void closeEvent(QCloseEvent* event) override;

private:
    KeyDownHandler keyDown_;
    bool refusesClose_ = true;
};

}  // namespace ui
