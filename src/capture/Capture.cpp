#include "capture/Capture.h"

#include "platform/ScreenGrabber.h"

#include <QPainter>

namespace glim {

Picture createBitmapPicture(const QImage& bitmap) {
    return asPicture(bitmap);
}

Picture captureWindow(ScreenGrabber& grabber, const WindowArea& window, bool client, int left,
                      int top, int width, int height) {
    if (width <= 0 || height <= 0)
        return {};
    const QPoint origin = (client ? window.client : window.frame).topLeft();
    return createBitmapPicture(
        grabber.grab(QRect(origin + QPoint(left, top), QSize(width, height))));
}

Picture captureScreen(ScreenGrabber& grabber) {
    const QRect screen(QPoint(0, 0), grabber.screenSize());
    return captureWindow(grabber, {screen, screen}, false, 0, 0, screen.width(), screen.height());
}

Picture captureActiveWindow(ScreenGrabber& grabber) {
    const QRect frame = grabber.activeWindowFrame();
    if (frame.isEmpty())
        return {};
    return captureWindow(grabber, {frame, frame}, false, 0, 0, frame.width(), frame.height());
}

void copyScreenToDC(ScreenGrabber& grabber, Picture& destination, int x, int y, int width,
                    int height) {
    if (destination.isNull() || width <= 0 || height <= 0)
        return;
    const QImage block = grabber.grab(QRect(x, y, width, height));
    QPainter painter(&destination);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, block);
}

} // namespace glim
