#pragma once

#include "capture/ShapeRegion.h"

#include <QWidget>

#include <vector>

class QLabel;

namespace glim {

class CaptureHost;
class ScreenGrabber;

// The drag window `dragfrm` of "MSN Shot": a small borderless window shaped as a title strip
// over a see-through frame. A left-button press on the strip or on "Drag Me" moves it with the
// mouse; a click on "S" copies what the screen shows through the frame into the viewer, where
// it is recorded, shows the main window and unloads the window. Loaded at the centre of the
// screen; clicks inside the frame go to the window beneath.
class DragWindow : public QWidget {
    Q_OBJECT
public:
    DragWindow(CaptureHost& host, ScreenGrabber& grabber, QWidget* parent = nullptr);

    // The capture of "S".
    void capture();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CaptureHost& m_host;
    ScreenGrabber& m_grabber;
    QLabel* m_button; // "S"
};

// The controls that make the drag window's shape: the title strip and the frame's outline.
// "Drag Me" and "S" lie inside the strip and add nothing of their own.
std::vector<ShapeControl> dragWindowControls();

} // namespace glim
