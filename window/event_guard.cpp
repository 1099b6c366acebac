#include "window/event_guard.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QTimer>
#include <cstdio>
#include <new>

#include "core/dialog_responder.h"
#include "core/handler_error.h"
#include "core/scoped_value.h"
#include "platform/sys/rt_error.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/screen_pointer.h"

namespace {

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

void MSE_PointerYield(int& pointer) {
    MSE_PointerSet(pointer);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    pointer = gMousePointer;
    MSE_Hourglass();
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
    // Shown right after another box closed, a box may be left without the focus by the
    // window manager, and keys would go to the window below: it asks for the focus.
    for (int ms : {0, 100, 300})
        QTimer::singleShot(ms, form, [form] {
            // Not over a box opened from this one in the meantime.
            if (!form->isVisible() || form->isActiveWindow() || QApplication::activeModalWidget() != form) return;
            form->raise();
            form->activateWindow();
        });
    {
        core::ScopedValue<bool> modal(gInModalShow, true);
        form->exec();
    }
    core::ScopedValue<bool> force(gMsePointerForce, true);
    MSE_PointerSet(saved);
}

void MSE_PopupMenu(QWidget* form, QMenu* menu) {
    const int saved = core::ui().mousePointer();
    MSE_PointerDefault();
    menu->exec(QCursor::pos());
    if (saved == ui::kPointerHourglass) MSE_Hourglass();
}

namespace window {
namespace {

// The end cannot travel up through Qt's frames: leave every event loop instead.
void endProgram(const sys::EndProgram& e) { QCoreApplication::exit(e.exitCode()); }

void report(QWidget* form, const char* procName, int number, const std::string& description) {
    try {
        core::handlerError(sys::RtError(number, description, procName), ui::handle(form), procName,
                           description);
    } catch (const sys::EndProgram& e) {
        endProgram(e);
    } catch (const std::exception& e) {
        // Only an unanswered box gets here (tests); it must not cross the event loop.
        std::fprintf(stderr, "%s: %s\n", procName, e.what());
    }
}

}  // namespace

bool guarded(QWidget* form, const char* procName, Guard guard, const std::function<void()>& work) {
    if (guard == Guard::SkipWhileYielding && gInDoEvents) return false;
    try {
        const int saved = gMousePointer;
        MSE_Hourglass();
        work();
        MSE_PointerSet(saved);
        return true;
    } catch (const sys::RtError& e) {
        report(form, procName, e.number(), e.description());
    } catch (const sys::EndProgram& e) {
        endProgram(e);
    } catch (const core::UnexpectedDialog& e) {
        std::fprintf(stderr, "%s: %s\n", procName, e.what());
    } catch (const std::bad_alloc&) {
        report(form, procName, kErrOutOfMemory, sys::vbErrorDescription(kErrOutOfMemory));
    } catch (const std::exception& e) {
        report(form, procName, kErrInternal, e.what());
    } catch (...) {
        report(form, procName, kErrInternal, "unknown exception");
    }
    return false;
}

}  // namespace window
