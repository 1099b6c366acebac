#include "dialogs/control_geometry.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/ui/colours.h"
#include "platform/ui/twips.h"

namespace dlg {
namespace {

constexpr const char* kTwRect = "twRect";

QRect toPixels(const QRectF& r) {
    return QRect(ui::toPixelsX(r.left()), ui::toPixelsY(r.top()), ui::toPixelsX(r.width()),
                 ui::toPixelsY(r.height()));
}

}  // namespace

QRectF twRect(const QWidget* w) {
    const QVariant v = w->property(kTwRect);
    if (v.isValid()) return v.toRectF();
    const QRect g = w->geometry();
    return QRectF(ui::toTwipsX(g.x()), ui::toTwipsY(g.y()), ui::toTwipsX(g.width()),
                  ui::toTwipsY(g.height()));
}

void setTwRect(QWidget* w, const QRectF& r) {
    w->setProperty(kTwRect, r);
    w->setGeometry(toPixels(r));
}

void setTwLeft(QWidget* w, double left) {
    QRectF r = twRect(w);
    r.moveLeft(left);
    setTwRect(w, r);
}

void setTwTop(QWidget* w, double top) {
    QRectF r = twRect(w);
    r.moveTop(top);
    setTwRect(w, r);
}

void setTwWidth(QWidget* w, double width) {
    QRectF r = twRect(w);
    r.setWidth(std::max(0.0, width));
    setTwRect(w, r);
}

void setTwHeight(QWidget* w, double height) {
    QRectF r = twRect(w);
    r.setHeight(std::max(0.0, height));
    setTwRect(w, r);
}

LineControl::LineControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::setEnds(double x1, double y1, double x2, double y2) {
    x1_ = x1, y1_ = y1, x2_ = x2, y2_ = y2;
    const double pad = borderWidth * 15.0;
    setTwRect(this, QRectF(std::min(x1, x2) - pad, std::min(y1, y2) - pad, std::fabs(x2 - x1) + 2 * pad,
                           std::fabs(y2 - y1) + 2 * pad));
    update();
}

void LineControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QPen pen(ui::toQColor(borderColor, palette()), borderWidth);
    static const Qt::PenStyle styles[] = {Qt::NoPen, Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                          Qt::DashDotLine, Qt::DashDotDotLine, Qt::SolidLine};
    pen.setStyle(styles[std::clamp(borderStyle, 0, 6)]);
    p.setPen(pen);
    const QPointF origin = twRect(this).topLeft();
    auto px = [&](double x, double y) {
        return QPointF((x - origin.x()) / ui::twipsPerPixelX(), (y - origin.y()) / ui::twipsPerPixelY());
    };
    p.drawLine(px(x1_, y1_), px(x2_, y2_));
}

ShapeControl::ShapeControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    QRect r = rect().adjusted(0, 0, -1, -1);
    if (shape == 1 || shape == 3 || shape == 5) {
        const int side = std::min(r.width(), r.height());
        r = QRect(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
    }
    if (shape == 2 || shape == 3) p.drawEllipse(r);
    else if (shape == 4 || shape == 5) p.drawRoundedRect(r, 6, 6);
    else p.drawRect(r);
}

}  // namespace dlg
