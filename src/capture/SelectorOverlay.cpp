#include "capture/SelectorOverlay.h"

#include "capture/Capture.h"
#include "capture/SelectorGeometry.h"
#include "platform/ScreenGrabber.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <utility>

namespace glim {

namespace {

constexpr int kCursorSize = 32;

// One edge of the rubber band: a window of its own above the overlay, drawn in black and white
// dashes so that it shows on any picture. It takes no input and no focus.
class BandEdge : public QWidget {
public:
    BandEdge(QWidget* overlay, int number)
        : QWidget(overlay, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus) {
        setObjectName(QStringLiteral("Line%1").arg(number));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        constexpr int kDash = 4;
        const bool across = width() >= height();
        const int length = across ? width() : height();
        for (int from = 0; from < length; from += 2 * kDash) {
            painter.fillRect(across ? QRect(from, 0, kDash, height())
                                    : QRect(0, from, width(), kDash),
                             Qt::black);
        }
    }
};

// The overlay's own cursor: a cross-hair with a gap at the hot spot, black inside a white
// outline so that it shows on any picture.
QCursor selectorCursor() {
    QPixmap image(kCursorSize, kCursorSize);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    constexpr int kCentre = kCursorSize / 2;
    constexpr int kGap = 4;
    const QLine arms[] = {{1, kCentre, kCentre - kGap, kCentre},
                          {kCentre + kGap, kCentre, kCursorSize - 2, kCentre},
                          {kCentre, 1, kCentre, kCentre - kGap},
                          {kCentre, kCentre + kGap, kCentre, kCursorSize - 2}};
    painter.setPen(QPen(Qt::white, 3));
    painter.drawLines(arms, 4);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLines(arms, 4);
    painter.end();
    return QCursor(image, kCentre, kCentre);
}

} // namespace

SelectorOverlay::SelectorOverlay(QWidget* parent)
    // Bypassing the window manager keeps it free of a frame and above every panel and dock.
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::BypassWindowManagerHint) {
    setObjectName(QStringLiteral("Glim"));
    setWindowTitle(QStringLiteral("Glim"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setWindowModality(Qt::ApplicationModal);
    setCursor(selectorCursor());
    for (std::size_t i = 0; i < m_band.size(); ++i)
        m_band[i] = new BandEdge(this, int(i) + 1);
}

SelectorOverlay::~SelectorOverlay() {
    if (m_modalLoop)
        m_modalLoop->quit();
}

void SelectorOverlay::coverScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize size = screen->geometry().size();
    setGeometry(0, 0, size.width(), size.height());
}

Picture SelectorOverlay::selectRegion(ScreenGrabber& grabber) {
    if (m_modalLoop)
        return {};
    // The screen may have changed its size since start-up.
    coverScreen();
    const QSize screen = grabber.screenSize();
    if (m_frozen.size() != screen)
        m_frozen = Picture(screen, QImage::Format_BGR888);
    copyScreenToDC(grabber, m_frozen, 0, 0, screen.width(), screen.height());
    m_selection = {};
    m_dragging = false;
    showBand(false);

    QEventLoop loop;
    m_modalLoop = &loop;
    show();
    raise();
    activateWindow();
    // The release hides the overlay, which ends the loop; so does the end of the program.
    if (isVisible())
        loop.exec();
    m_modalLoop = nullptr;
    showBand(false);
    hide();
    return std::exchange(m_selection, Picture());
}

void SelectorOverlay::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    const qreal ratio = devicePixelRatioF();
    const QRectF source(area.x() * ratio, area.y() * ratio, area.width() * ratio,
                        area.height() * ratio);
    painter.drawImage(QRectF(area), m_frozen, source);
}

QPointF SelectorOverlay::picturePosition(const QMouseEvent* event) const {
    return event->position() * devicePixelRatioF();
}

void SelectorOverlay::mousePressEvent(QMouseEvent* event) {
    // Any button selects.
    m_dragging = true;
    m_anchor = roundedPointer(picturePosition(event));
}

void SelectorOverlay::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging)
        return;
    placeBand(picturePosition(event));
    if (m_band.front()->isHidden())
        showBand(true);
}

void SelectorOverlay::mouseReleaseEvent(QMouseEvent* event) {
    // A release whose press went elsewhere (a button held while the overlay came up) would
    // select from an anchor of an earlier capture.
    if (!m_dragging)
        return;
    m_dragging = false;
    showBand(false);
    m_release = roundedPointer(picturePosition(event));
    const QRect area = selectedArea(m_anchor, m_release, m_frozen.rect());
    // From the frozen picture, never the live screen or this window: the band cannot be in it.
    m_selection = area.isEmpty() ? Picture() : m_frozen.copy(area);
    hide();
}

void SelectorOverlay::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (m_modalLoop)
        m_modalLoop->quit();
}

void SelectorOverlay::placeBand(QPointF pointer) {
    const qreal ratio = devicePixelRatioF();
    const std::array<QLineF, 4> edges = rubberBand(m_anchor, pointer);
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const QLineF onScreen(edges[i].p1() / ratio, edges[i].p2() / ratio);
        m_band[i]->setGeometry(edgeRect(onScreen).translated(pos()));
    }
}

void SelectorOverlay::showBand(bool shown) {
    for (QWidget* edge : m_band) {
        edge->setVisible(shown);
        if (shown)
            edge->raise();
    }
}

} // namespace glim
