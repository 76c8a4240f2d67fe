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

QColor colourAt(int x, int y) {
    const int column = x / 32;
    const int row = y / 32;
    return QColor((column * 41 + 20) % 256, (row * 67 + 40) % 256,
                  ((column + row) * 23 + 90) % 256);
}

QImage picture(QSize size) {
    QImage image(size, QImage::Format_RGB888);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, colourAt(x, y));
    return image;
}

QStringList arguments(const QRect& place) {
    return {QString::fromLatin1(kSwitch), QString::number(place.x()), QString::number(place.y()),
            QString::number(place.width()), QString::number(place.height())};
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
    x.start(QCoreApplication::applicationFilePath(), arguments(place));
    return x.waitForWindow(QLatin1Char('^') + kTitle + QLatin1Char('$'));
}

} // namespace pattern
