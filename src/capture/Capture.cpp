#include "capture/Capture.h"

#include "platform/ScreenGrabber.h"

#include <QPainter>

#include <algorithm>

namespace glim {

namespace {

// One axis of boundCaptureArea: the start and length kept, a length of 0 or less for nothing.
struct Extent {
    qint64 start = 0;
    qint64 length = 0;
};

Extent boundAxis(qint64 start, qint64 length, qint64 screen) {
    const qint64 end = start + length;
    if (end <= 0 || start >= screen)
        return {};
    if (length <= screen)
        return {start, length};
    const qint64 from = std::max<qint64>(start, 0);
    return {from, std::min(end, screen) - from};
}

} // namespace

QRect boundCaptureArea(qint64 left, qint64 top, qint64 width, qint64 height, QSize screen) {
    const Extent x = boundAxis(left, width, screen.width());
    const Extent y = boundAxis(top, height, screen.height());
    if (x.length <= 0 || y.length <= 0)
        return {};
    // Within the screen, or no longer than it and touching it: every value fits an int.
    return {int(x.start), int(y.start), int(x.length), int(y.length)};
}

Picture createBitmapPicture(const QImage& bitmap) {
    return asPicture(bitmap);
}

Picture captureWindow(ScreenGrabber& grabber, const WindowArea& window, bool client, int left,
                      int top, int width, int height) {
    const QPoint origin = (client ? window.client : window.frame).topLeft();
    const QRect area = boundCaptureArea(qint64(origin.x()) + left, qint64(origin.y()) + top, width,
                                        height, grabber.screenSize());
    if (area.isEmpty())
        return {};
    return createBitmapPicture(grabber.grab(area));
}

Picture captureScreen(ScreenGrabber& grabber) {
    const QRect screen(QPoint(0, 0), grabber.screenSize());
    return captureWindow(grabber, {screen, screen}, false, 0, 0, screen.width(), screen.height());
}

Picture captureActiveWindow(ScreenGrabber& grabber) {
    const QRect frame = grabber.activeWindowFrame();
    // With no window active the desktop has the focus, and its picture is the whole screen.
    if (frame.isEmpty())
        return captureScreen(grabber);
    return captureWindow(grabber, {frame, frame}, false, 0, 0, frame.width(), frame.height());
}

void copyScreenToDC(ScreenGrabber& grabber, Picture& destination, int x, int y, int width,
                    int height) {
    const QRect area = boundCaptureArea(x, y, width, height, grabber.screenSize());
    if (destination.isNull() || area.isEmpty())
        return;
    const QImage block = grabber.grab(area);
    // The whole destination at once (the selector's frozen screen) takes the grab itself,
    // sparing a second pass over every pixel.
    if (area == QRect(QPoint(x, y), destination.size())) {
        destination = asPicture(block);
        return;
    }
    QPainter painter(&destination);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(int(area.x() - qint64(x)), int(area.y() - qint64(y)), block);
}

} // namespace glim
