#pragma once

#include "platform/Picture.h"

#include <QRect>

namespace glim {

class ScreenGrabber;

// The capture primitives: what the screen shows, read into pictures that own their pixels.
// They keep no state and report nothing; a capture of nothing is no picture.

// A window as the captures address it: its outer frame (caption and border included) and its
// client area, both in screen pixels. The desktop is a window whose frame and client area are
// the whole screen.
struct WindowArea {
    QRect frame;
    QRect client;
};

// The picture a capture hands on: the grabbed pixels as a picture of ours (24-bit B,G,R).
Picture createBitmapPicture(const QImage& bitmap);
// The block at (left, top) of the window's client area (client true) or of its whole window,
// frame included (client false), width x height pixels, as the screen shows it: a window lying
// over it is in the picture, and what lies off the screen is black.
Picture captureWindow(ScreenGrabber& grabber, const WindowArea& window, bool client, int left,
                      int top, int width, int height);
// The whole primary screen, from its top-left corner, at its size in pixels.
Picture captureScreen(ScreenGrabber& grabber);
// The active window with its frame and caption, at its full rectangle even where it lies off
// the screen. No picture when no window is active.
Picture captureActiveWindow(ScreenGrabber& grabber);
// Draws the screen block at (x, y), width x height, onto `destination` at (0, 0): the frozen
// screen of the selector overlay. The destination keeps its size; what does not fit is cut.
void copyScreenToDC(ScreenGrabber& grabber, Picture& destination, int x, int y, int width,
                    int height);

} // namespace glim
