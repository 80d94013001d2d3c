#include "widgets/appicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

QPixmap appLogo(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 100.0, size / 100.0);

    // A rounded tile with an open book, and a small cross rising from its spine.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2e, 0x5c, 0x8a));
    painter.drawRoundedRect(QRectF(2, 2, 96, 96), 16, 16);

    QPainterPath left;
    left.moveTo(50, 46);
    left.cubicTo(40, 40, 26, 40, 14, 44);
    left.lineTo(14, 84);
    left.cubicTo(26, 80, 40, 80, 50, 86);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(50, 46);
    right.cubicTo(60, 40, 74, 40, 86, 44);
    right.lineTo(86, 84);
    right.cubicTo(74, 80, 60, 80, 50, 86);
    right.closeSubpath();
    painter.setBrush(QColor(0xf4, 0xf1, 0xe8));
    painter.drawPath(left);
    painter.setBrush(QColor(0xe6, 0xe1, 0xd3));
    painter.drawPath(right);

    painter.setPen(QPen(QColor(0xb8, 0xb0, 0x9a), 1.5));
    for (int i = 0; i < 4; ++i) {
        const double y = 52 + i * 7;
        painter.drawLine(QPointF(20, y), QPointF(44, y + 2));
        painter.drawLine(QPointF(56, y + 2), QPointF(80, y));
    }

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xf2, 0xc1, 0x4e));
    painter.drawRect(QRectF(47, 10, 6, 30));
    painter.drawRect(QRectF(39, 17, 22, 6));
    return pixmap;
}

QIcon appIcon()
{
    static const QIcon icon = [] {
        QIcon i;
        for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
            i.addPixmap(appLogo(size));
        }
        return i;
    }();
    return icon;
}
