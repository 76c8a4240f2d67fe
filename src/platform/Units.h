#pragma once

#include <QSize>

namespace glim {

// Conversions between the program's units: pixels at run time, twips (1/1440 inch) for window
// positions on the screen, hundredths of a millimetre for picture sizes in the list.
int twipsPerPixel(double dotsPerInch);
// Twips per pixel of the primary screen (15 at 96 dpi); 15 when no screen is there.
int screenTwipsPerPixel();
// Logical dpi of the primary screen (96 when no screen is there).
double screenDpi();
// Pixels to hundredths of a millimetre, rounded half to even: 1024 px at 96 dpi is 27093.
int pixelsToHimetric(int pixels, double dotsPerInch);

} // namespace glim
