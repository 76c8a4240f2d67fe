#include "app/AppIcons.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace glim {

namespace {

// Our own small icons are drawn here rather than shipped as files, so that they stay sharp and
// need no image tools to change.
QPixmap canvas(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QIcon drawnIcon(const QString& key) {
    QPixmap pixmap = canvas(16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen ink(QColor(40, 40, 48), 1.2);
    p.setPen(ink);
    if (key == QLatin1String("New")) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5, 1.5, 9, 13));
        p.setBrush(QColor(250, 200, 40));
        p.drawEllipse(QPointF(12, 4), 2.5, 2.5);
    } else if (key == QLatin1String("Open")) {
        p.setBrush(QColor(240, 200, 90));
        p.drawRect(QRectF(1.5, 4.5, 13, 9));
        p.drawRect(QRectF(1.5, 2.5, 5, 2));
    } else if (key == QLatin1String("Save")) {
        p.setBrush(QColor(70, 110, 190));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
    } else if (key == QLatin1String("Print")) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(150, 150, 160));
        p.drawRect(QRectF(1.5, 6.5, 13, 6));
    } else if (key == QLatin1String("Copy")) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 1.5, 8, 10));
        p.drawRect(QRectF(6.5, 4.5, 8, 10));
    } else if (key == QLatin1String("Paste")) {
        p.setBrush(QColor(190, 150, 100));
        p.drawRect(QRectF(2.5, 2.5, 11, 12));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 5.5, 6, 7));
    } else if (key == QLatin1String("Edit Image")) {
        p.setBrush(QColor(230, 90, 60));
        QPainterPath pencil;
        pencil.moveTo(2, 14);
        pencil.lineTo(4, 10);
        pencil.lineTo(12, 2);
        pencil.lineTo(14, 4);
        pencil.lineTo(6, 12);
        pencil.closeSubpath();
        p.drawPath(pencil);
    } else {
        // The alignment buttons: lines of text aligned left, centred or right.
        const qreal widths[] = {12, 8, 12, 6};
        for (int i = 0; i < 4; ++i) {
            const qreal w = widths[i];
            qreal x = 2;
            if (key == QLatin1String("Center"))
                x = 8 - w / 2;
            else if (key == QLatin1String("Align Right"))
                x = 14 - w;
            p.drawLine(QPointF(x, 3 + i * 3.3), QPointF(x + w, 3 + i * 3.3));
        }
    }
    return QIcon(pixmap);
}

} // namespace

QImage programIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 32 x 32 grid and scaled, so that the menu's and the tray's sizes share one
    // design; desktop/glimwell.svg is the same drawing for the scalable theme size.
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(QColor(30, 40, 60), 2));
    p.setBrush(QColor(60, 130, 200));
    p.drawRoundedRect(QRectF(2, 5, 28, 20), 3, 3);
    p.setBrush(QColor(240, 240, 250));
    p.drawEllipse(QPointF(16, 15), 6.5, 6.5);
    p.setBrush(QColor(30, 40, 60));
    p.drawEllipse(QPointF(16, 15), 3, 3);
    p.drawRect(QRectF(11, 27, 10, 2));
    return image;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : kProgramIconSizes)
        icon.addPixmap(QPixmap::fromImage(programIconImage(size)));
    return icon;
}

QIcon toolIcon(const QString& key) {
    static const QHash<QString, QString> themeNames = {
        {QStringLiteral("New"), QStringLiteral("document-new")},
        {QStringLiteral("Open"), QStringLiteral("document-open")},
        {QStringLiteral("Save"), QStringLiteral("document-save")},
        {QStringLiteral("Print"), QStringLiteral("document-print")},
        {QStringLiteral("Copy"), QStringLiteral("edit-copy")},
        {QStringLiteral("Paste"), QStringLiteral("edit-paste")},
        {QStringLiteral("Edit Image"), QStringLiteral("image-x-generic")},
        {QStringLiteral("Align Left"), QStringLiteral("format-justify-left")},
        {QStringLiteral("Center"), QStringLiteral("format-justify-center")},
        {QStringLiteral("Align Right"), QStringLiteral("format-justify-right")},
    };
    return QIcon::fromTheme(themeNames.value(key), drawnIcon(key));
}

} // namespace glim
