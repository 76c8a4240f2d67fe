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

// The part of a capture rectangle (screen pixels) that is read, so that a window the window
// manager reports as huge cannot make a picture of gigabytes. On each axis on its own: a
// rectangle no longer than the screen keeps its whole extent (what lies off the screen comes
// out black); a longer one keeps only its part on the screen; one with nothing on the screen
// on that axis, or no extent, gives the empty rectangle: no picture. Computed in 64 bits, so
// that any ints may come in.
QRect boundCaptureArea(qint64 left, qint64 top, qint64 width, qint64 height, QSize screen);

// The picture a capture hands on: the grabbed pixels as a picture of ours (24-bit B,G,R).
Picture createBitmapPicture(const QImage& bitmap);
// The block at (left, top) of the window's client area (client true) or of its whole window,
// frame included (client false), width x height pixels, as the screen shows it: a window lying
// over it is in the picture, and what lies off the screen is black. The block is bounded by
// boundCaptureArea first, so the picture may be smaller than asked.
Picture captureWindow(ScreenGrabber& grabber, const WindowArea& window, bool client, int left,
                      int top, int width, int height);
// The whole primary screen, from its top-left corner, at its size in pixels.
Picture captureScreen(ScreenGrabber& grabber);
// The active window with its frame and caption, at its full rectangle even where it lies off
// the screen. The whole screen when no window is active: the desktop has the focus then.
Picture captureActiveWindow(ScreenGrabber& grabber);
// Draws the screen block at (x, y), width x height, onto `destination` at (0, 0): the frozen
// screen of the selector overlay. The destination keeps its size; what does not fit is cut,
// and the block is bounded like any capture.
void copyScreenToDC(ScreenGrabber& grabber, Picture& destination, int x, int y, int width,
                    int height);

} // namespace glim
