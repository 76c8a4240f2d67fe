#include "PatternWindow.h"

#include "X11Session.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QTimer>

namespace pattern {

namespace {

const char* const kSwitch = "--pattern-window";
const QString kTitle = QStringLiteral("Glimwell test pattern");

class Window : public QRasterWindow {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, picture(size()));
        // Named once its pixels have gone to the X server (the flush follows this handler, the
        // name after it), so that a test finding the window by its name finds it painted.
        if (title().isEmpty())
            QTimer::singleShot(0, this, [this] { setTitle(kTitle); });
    }
};

} // namespace

QImage picture(QSize size) {
    // Each 32 x 32 block's colour tells its column and row.
    QImage image(size, QImage::Format_RGB888);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y,
                                QColor((x / 32 * 41 + 20) % 256, (y / 32 * 67 + 40) % 256,
                                       ((x / 32 + y / 32) * 23 + 90) % 256));
    return image;
}

bool runIfAsked(int argc, char** argv, int& exitCode) {
    if (argc != 6 || QByteArray(argv[1]) != kSwitch)
        return false;
    QGuiApplication app(argc, argv);
    Window window;
    window.setGeometry(QByteArray(argv[2]).toInt(), QByteArray(argv[3]).toInt(),
                       QByteArray(argv[4]).toInt(), QByteArray(argv[5]).toInt());
    window.show();
    exitCode = QGuiApplication::exec();
    return true;
}

qulonglong show(X11Session& x, const QRect& place) {
    const QStringList arguments{QString::fromLatin1(kSwitch), QString::number(place.x()),
                                QString::number(place.y()), QString::number(place.width()),
                                QString::number(place.height())};
    return x.newWindow(QLatin1Char('^') + kTitle + QLatin1Char('$'),
                       [&] { x.start(QCoreApplication::applicationFilePath(), arguments); });
}

} // namespace pattern
