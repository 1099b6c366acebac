#include "platform/ui/screen_pointer.h"

#include <QApplication>
#include <QCursor>

namespace ui {
namespace {

int current = kPointerDefault;

Qt::CursorShape shapeFor(int code) {
    switch (code) {
    case 2: return Qt::CrossCursor;
    case 3: return Qt::IBeamCursor;
    case 5: return Qt::SizeAllCursor;
    case 6: return Qt::SizeBDiagCursor;
    case 7: return Qt::SizeVerCursor;
    case 8: return Qt::SizeFDiagCursor;
    case 9: return Qt::SizeHorCursor;
    case 10: return Qt::UpArrowCursor;
    case 11: return Qt::WaitCursor;
    case 12: return Qt::ForbiddenCursor;
    case 13: return Qt::BusyCursor;
    case 14: return Qt::WhatsThisCursor;
    case 15: return Qt::SizeAllCursor;
    case 99: return Qt::PointingHandCursor;
    default: return Qt::ArrowCursor;
    }
}

}  // namespace

int screenPointer() { return current; }

void setScreenPointer(int code) {
    if (!qApp) {
        current = code;
        return;
    }
    if (code == kPointerDefault) {
        while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    } else if (QApplication::overrideCursor()) {
        QApplication::changeOverrideCursor(QCursor(shapeFor(code)));
    } else {
        QApplication::setOverrideCursor(QCursor(shapeFor(code)));
    }
    current = code;
}

}  // namespace ui
