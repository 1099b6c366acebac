#include "platform/ui/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ui {
namespace {

QPixmap drawn(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    // A rounded dark-blue tile.
    QPainterPath tile;
    tile.addRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    p.fillPath(tile, QColor(0x1f, 0x4e, 0x79));

    // Three rising bars on a base line.
    p.setPen(Qt::NoPen);
    const QColor bars[] = {QColor(0x9d, 0xc3, 0xe6), QColor(0x70, 0xad, 0x47), QColor(0xff, 0xc0, 0x00)};
    const double heights[] = {16, 26, 38};
    for (int i = 0; i < 3; ++i) p.fillRect(QRectF(10 + i * 12, 50 - heights[i], 9, heights[i]), bars[i]);
    p.fillRect(QRectF(8, 50, 40, 3), Qt::white);

    // A magnifying glass over the top right: reading the logs.
    p.setPen(QPen(Qt::white, 4.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawEllipse(QPointF(44, 20), 10, 10);
    p.drawLine(QPointF(51, 27), QPointF(58, 34));
    return pixmap;
}

}  // namespace

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(drawn(size));
    return icon;
}

}  // namespace ui
