#pragma once

#include "platform/Picture.h"

#include <QPoint>
#include <QWidget>

#include <array>

class QEventLoop;

namespace glim {

class ScreenGrabber;

// The selector overlay `Glim`: a frameless window over the whole screen, the notification area
// and panels included, that shows a frozen copy of the screen pixel for pixel while the user
// drags out a rectangle with any mouse button. The rubber band is four small windows of its
// own (`Line1` to `Line4`) that are moved, so that following the pointer never repaints the
// frozen picture. Created and sized at start-up, shown only during a selector capture.
class SelectorOverlay : public QWidget {
    Q_OBJECT
public:
    explicit SelectorOverlay(QWidget* parent = nullptr);
    ~SelectorOverlay() override;

    // Covers the whole primary screen: left 0, top 0, the screen's width and height.
    void coverScreen();
    // Freezes the screen into the overlay, shows it modally and waits until a press and a
    // release have chosen a rectangle: the pixels of the frozen screen inside it. No picture
    // for a rectangle of no width or no height, or while a selection is already on screen
    // (the overlay is one window; its frozen picture stays the one the user looks at).
    Picture selectRegion(ScreenGrabber& grabber);
    bool isSelecting() const { return m_modalLoop != nullptr; }
    const Picture& frozenPicture() const { return m_frozen; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // A pointer position in the frozen picture's pixels.
    QPointF picturePosition(const QMouseEvent* event) const;
    void placeBand(QPointF pointer);
    void showBand(bool shown);

    Picture m_frozen;
    Picture m_selection;
    std::array<QWidget*, 4> m_band{};
    QPoint m_anchor;  // x1, y1: where the button went down
    QPoint m_release; // x2, y2: where it came up
    bool m_dragging = false;
    QEventLoop* m_modalLoop = nullptr;
};

} // namespace glim
