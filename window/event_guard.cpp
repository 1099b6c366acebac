#include "window/event_guard.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QMenu>
#include <new>

#include "core/handler_error.h"
#include "platform/sys/rt_error.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/screen_pointer.h"

namespace {

// Restores a flag on every way out of a scope.
class FlagScope {
public:
    FlagScope(bool& flag, bool value) : flag_(flag), saved_(flag) { flag_ = value; }
    ~FlagScope() { flag_ = saved_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool saved_;
};

constexpr int kErrOutOfMemory = 7;
constexpr int kErrInternal = 51;

}  // namespace

void MSE_PointerSet(int pointer) {
    gMousePointer = pointer;
    if (!gMsePointerForce && MSE_MouseButtonDown()) return;
    if (core::ui().mousePointer() != pointer) core::ui().setMousePointer(pointer);
}

void MSE_PointerDefault() { MSE_PointerSet(ui::kPointerDefault); }

void MSE_Hourglass() { MSE_PointerSet(ui::kPointerHourglass); }

bool MSE_MouseButtonDown() {
    return (QGuiApplication::mouseButtons() & (Qt::LeftButton | Qt::RightButton)) != 0;
}

int MSE_DoEvents() {
    core::doEvents();
    return static_cast<int>(ui::loadedForms().size());
}

void MSE_ShowModal(QDialog* form) {
    const int saved = core::ui().mousePointer();
    MSE_PointerDefault();
    gModalWasNested = gInModalShow;
    // Modal to its own window only, so that other windows (help) stay usable.
    if (form->parentWidget() && form->windowModality() == Qt::NonModal)
        form->setWindowModality(Qt::WindowModal);
    {
        FlagScope modal(gInModalShow, true);
        form->exec();
    }
    FlagScope force(gMsePointerForce, true);
    MSE_PointerSet(saved);
}

void MSE_PopupMenu(QWidget* form, QMenu* menu) {
    const int saved = core::ui().mousePointer();
    MSE_PointerDefault();
    menu->exec(QCursor::pos());
    if (saved == ui::kPointerHourglass) MSE_Hourglass();
}

namespace window {

bool guarded(QWidget* form, const char* procName, Guard guard, const std::function<void()>& work) {
    if (guard == Guard::SkipWhileYielding && gInDoEvents) return false;
    const core::UiHandle failing = ui::handle(form);
    try {
        const int saved = gMousePointer;
        MSE_Hourglass();
        work();
        MSE_PointerSet(saved);
        return true;
    } catch (const sys::RtError& e) {
        core::handlerError(e, failing, procName);
    } catch (const sys::EndProgram& e) {
        // The end cannot travel up through Qt's frames: leave every event loop instead.
        QCoreApplication::exit(e.exitCode());
    } catch (const std::bad_alloc&) {
        core::handlerError(sys::RtError(kErrOutOfMemory, sys::vbErrorDescription(kErrOutOfMemory), procName),
                           failing, procName);
    } catch (const std::exception& e) {
        core::handlerError(sys::RtError(kErrInternal, e.what(), procName), failing, procName);
    } catch (...) {
        core::handlerError(sys::RtError(kErrInternal, "unknown exception", procName), failing, procName);
    }
    return false;
}

}  // namespace window
