#include "window/placement.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>
#include <algorithm>

#include "platform/ui/forms.h"
#include "platform/ui/twips.h"
#include "platform/ui/work_area.h"

namespace {

// move() places a window's outer frame, which is what Left and Top mean.
void moveTwips(QWidget* form, long left, long top) {
    form->move(ui::toPixelsX(left), ui::toPixelsY(top));
}

}  // namespace

void ACTIVAT_GetWorkArea(double& width, double& height, int units) {
    const QRect area = ui::workArea();
    width = area.width();
    height = area.height();
    if (units == kUnitsTwips) {
        width *= ui::twipsPerPixelX();
        height *= ui::twipsPerPixelY();
    }
}

double ACTIVAT_WorkAreaWidth(int units) {
    double width = 0, height = 0;
    ACTIVAT_GetWorkArea(width, height, units);
    return width;
}

long ACTIVAT_SetWindowPos(QWidget* window, long insertAfter, long x, long y, long cx, long cy,
                          long flags) {
    if (!window) return 0;
    if (!(flags & kSwpNoZOrder)) {
        if (insertAfter == kHwndTopmost || insertAfter == kHwndNotopmost) {
            const bool visible = window->isVisible();
            window->setWindowFlag(Qt::WindowStaysOnTopHint, insertAfter == kHwndTopmost);
            if (visible) window->show();  // changing window flags hides a window
        }
        window->raise();
    }
    if (!(flags & kSwpNoMove)) window->move(static_cast<int>(x), static_cast<int>(y));
    if (!(flags & kSwpNoSize)) window->resize(static_cast<int>(cx), static_cast<int>(cy));
    if (flags & kSwpShowWindow) window->show();
    if (flags & kSwpHideWindow) window->hide();
    return 1;
}

bool ACTIVAT_ForceForeground(QWidget* window) {
    if (!window) return false;
    window->raise();
    window->activateWindow();
    // The window system answers the request later; the program's own idea of the
    // active window (focus, keys) moves now.
    if (!window->isActiveWindow()) QApplication::setActiveWindow(window);
    return window->isActiveWindow();
}

void POS_FormPlace(QWidget* form) {
    const QRect area = ui::workArea();
    const double tppX = ui::twipsPerPixelX(), tppY = ui::twipsPerPixelY();
    const long areaW = static_cast<long>(area.width() * tppX);
    const long areaH = static_cast<long>(area.height() * tppY);
    const ui::TwipsRect r = ui::twipsGeometry(form);
    const long left = std::max(0L, (areaW - r.width) / 2) + static_cast<long>(area.left() * tppX);
    const long top = std::max(0L, (areaH - r.height) / 2) + static_cast<long>(area.top() * tppY);
    moveTwips(form, left, top);
}

void POS_FormCycleCorner(QWidget* form) {
    double w = 0, h = 0;
    ACTIVAT_GetWorkArea(w, h, kUnitsTwips);
    const ui::TwipsRect r = ui::twipsGeometry(form);
    const long areaW = static_cast<long>(w), areaH = static_cast<long>(h);
    if (r.top == 0 && r.left == 0) {
        moveTwips(form, areaW - r.width, 0);
    } else if (r.top == 0) {
        moveTwips(form, r.left, areaH - r.height);
    } else if (r.left != 0) {
        moveTwips(form, 0, areaH - r.height);
    } else {
        moveTwips(form, 0, 0);
    }
}

void POS_FormFillParent(QWidget* form, QWidget* parent) {
    if (!ui::isLoaded(form) || !parent) return;
    QWidget* target = form;
    QSize client = parent->contentsRect().size();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget())) {
        target = sub;
        if (QMdiArea* area = sub->mdiArea()) client = area->viewport()->size();
    }
    target->showNormal();
    target->setGeometry(QRect(QPoint(0, 0), client));
}
