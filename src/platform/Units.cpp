#include "platform/Units.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace glim {

int twipsPerPixel(double dotsPerInch) {
    return static_cast<int>(std::nearbyint(1440.0 / dotsPerInch));
}

double screenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

int screenTwipsPerPixel() {
    return twipsPerPixel(screenDpi());
}

int pixelsToHimetric(int pixels, double dotsPerInch) {
    // nearbyint rounds half to even in the default rounding mode.
    return static_cast<int>(std::nearbyint(pixels * 2540.0 / dotsPerInch));
}

} // namespace glim
