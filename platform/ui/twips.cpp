#include "platform/ui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace ui {
namespace {

double dpi(bool horizontal) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 96.0;
    double d = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return d > 0 ? d : 96.0;
}

}  // namespace

double twipsPerPixelX() { return 1440.0 / dpi(true); }
double twipsPerPixelY() { return 1440.0 / dpi(false); }

int toPixelsX(double twips) { return static_cast<int>(std::lround(twips / twipsPerPixelX())); }
int toPixelsY(double twips) { return static_cast<int>(std::lround(twips / twipsPerPixelY())); }
long toTwipsX(int pixels) { return std::lround(pixels * twipsPerPixelX()); }
long toTwipsY(int pixels) { return std::lround(pixels * twipsPerPixelY()); }

TwipsRect twipsGeometry(const QWidget* w) {
    const QRect r = w->isWindow() ? w->frameGeometry() : w->geometry();
    return {toTwipsX(r.x()), toTwipsY(r.y()), toTwipsX(r.width()), toTwipsY(r.height())};
}

void setTwipsGeometry(QWidget* w, const TwipsRect& r) {
    const QRect px(toPixelsX(r.left), toPixelsY(r.top), toPixelsX(r.width), toPixelsY(r.height));
    if (!w->isWindow()) {
        w->setGeometry(px);
        return;
    }
    // Qt moves by the frame but sizes the client area: take the frame's margins off.
    const QRect frame = w->frameGeometry();
    const QRect client = w->geometry();
    const int extraW = frame.width() - client.width();
    const int extraH = frame.height() - client.height();
    w->move(px.topLeft());
    w->resize(std::max(0, px.width() - extraW), std::max(0, px.height() - extraH));
}

}  // namespace ui
