#include "widgets/appicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap drawn(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x3a, 0x6e));
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    // The church: a nave under its roof, a steeple with its cross, and a door.
    QPainterPath church;
    church.moveTo(14, 54);
    church.lineTo(14, 34);
    church.lineTo(25, 24);
    church.lineTo(25, 18);
    church.lineTo(32, 11);
    church.lineTo(39, 18);
    church.lineTo(39, 24);
    church.lineTo(50, 34);
    church.lineTo(50, 54);
    church.closeSubpath();
    painter.setBrush(Qt::white);
    painter.drawPath(church);
    painter.drawRect(QRectF(31, 3, 2, 8));
    painter.drawRect(QRectF(29, 5, 6, 2));
    painter.setBrush(QColor(0x1f, 0x3a, 0x6e));
    painter.drawRoundedRect(QRectF(28, 42, 8, 12), 3, 3);
    return pixmap;
}

} // namespace

QIcon appIcon()
{
    static const QIcon icon = [] {
        QIcon i;
        for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
            i.addPixmap(drawn(size));
        }
        return i;
    }();
    return icon;
}
