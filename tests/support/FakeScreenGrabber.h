#pragma once

#include "platform/ScreenGrabber.h"

#include <QList>
#include <QPainter>

// A ScreenGrabber double: the "screen" is a picture the test chooses (by default blocks of
// known colours), grabs return its pixels as the real grabber does (24-bit B,G,R, black where
// the area leaves the screen), and the active window is a rectangle the test sets.
class FakeScreenGrabber : public glim::ScreenGrabber {
public:
    explicit FakeScreenGrabber(QSize size = QSize(1024, 768))
        : screen(pattern(size)) {}

    // 32 x 32 blocks, each of one colour that tells where the block lies.
    static QImage pattern(QSize size) {
        QImage image(size, QImage::Format_BGR888);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                image.setPixelColor(x, y, blockColour(x / 32, y / 32));
        return image;
    }
    static QColor blockColour(int column, int row) {
        return QColor((column * 37) % 256, (row * 53) % 256, ((column + row) * 29 + 64) % 256);
    }

    QSize screenSize() const override { return screen.size(); }
    glim::Picture grab(const QRect& area) override {
        grabbed.append(area);
        QImage picture(area.size(), QImage::Format_BGR888);
        picture.fill(Qt::black);
        QPainter painter(&picture);
        painter.drawImage(-area.topLeft(), screen);
        return picture;
    }
    QRect activeWindowFrame() override { return activeFrame; }

    QImage screen;
    QRect activeFrame;
    QList<QRect> grabbed;
};
