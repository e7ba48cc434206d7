#include "ui/qt/AppIcon.h"

#include <QCoreApplication>
#include <QPainter>
#include <QtMath>

QPixmap DrawAppIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);  // drawn on a 64 x 64 grid

    // The loop: two wires leaving the gauge's foot.
    p.setPen(QPen(QColor(0x1f, 0x4e, 0x9a), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(26, 52), QPointF(26, 61));
    p.drawLine(QPointF(38, 52), QPointF(38, 61));
    p.drawLine(QPointF(26, 61), QPointF(6, 61));
    p.drawLine(QPointF(38, 61), QPointF(58, 61));

    // The dial.
    p.setPen(QPen(QColor(0x33, 0x33, 0x33), 3));
    p.setBrush(QColor(0xf4, 0xf4, 0xf0));
    p.drawEllipse(QPointF(32, 28), 25, 25);

    // The scale: green working band, red end.
    const QRectF arc(13, 9, 38, 38);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x2e, 0x9e, 0x44), 5, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(arc, 225 * 16, -200 * 16);
    p.setPen(QPen(QColor(0xd0, 0x2b, 0x2b), 5, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(arc, 25 * 16, -70 * 16);

    // The needle at about two thirds of the range.
    const double angle = qDegreesToRadians(40.0);
    p.setPen(QPen(QColor(0x11, 0x11, 0x11), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 28), QPointF(32 + 19 * qCos(angle), 28 - 19 * qSin(angle)));
    p.setBrush(QColor(0x11, 0x11, 0x11));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(32, 28), 3.5, 3.5);
    return pixmap;
}

QIcon AppIcon()
{
    // Drawn once per application: on X11 a window that shows an icon puts its
    // pixmaps into Qt's pixmap cache, keyed by pixmap, so fresh pixmaps for
    // every About box would grow that cache by 35 KB a box, up to its 10 MB.
    static QIcon icon;
    if (icon.isNull()) {
        for (int size : {16, 24, 32, 48, 64})
            icon.addPixmap(DrawAppIcon(size));
        qAddPostRoutine([] { icon = QIcon(); });  // no pixmap outlives the application
    }
    return icon;
}
