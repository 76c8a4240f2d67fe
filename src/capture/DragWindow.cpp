#include "capture/DragWindow.h"

#include "capture/CaptureModes.h"
#include "platform/ScreenGrabber.h"
#include "screenshots/PictureBox.h"
#include "screenshots/RecordFlag.h"
#include "screenshots/ScreenshotViewer.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace glim {

namespace {

// The window and its controls in pixels; the labels' places are inside the strip.
constexpr QSize kClientSize(104, 113);
constexpr QRect kStrip(0, 0, 98, 18);
constexpr QRect kGrip(8, 2, 65, 17);
constexpr QRect kButton(80, 0, 17, 17);
constexpr QRect kFrame(0, 17, 98, 96);

// The copy of "S": a block from the window's (0, 17) to the picture's (-1, 0), so that the
// frame's left edge falls outside the picture. The picture is one pixel wider and higher than
// the frame; the block covers all but its three right-hand columns.
constexpr QPoint kCopySource(0, 17);
constexpr QSize kCopyBlock(97, 97);
constexpr QPoint kCopyDestination(-1, 0);
constexpr QSize kPictureSize(kFrame.width() + 1, kFrame.height() + 1);

const QColor kWindowBackground(128, 128, 128);
const QColor kOutline(192, 192, 192);
const QColor kGripText(Qt::white);
const QColor kButtonText(128, 255, 128);

// The frame `Shape1`: a rectangle whose back is transparent and whose outline is drawn.
class FrameShape : public QWidget {
public:
    explicit FrameShape(QWidget* parent)
        : QWidget(parent) {
        setObjectName(QStringLiteral("Shape1"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(kOutline);
        painter.drawRect(0, 0, width() - 1, height() - 1);
    }
};

void setColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// A centred, bold label of the strip.
QLabel* stripLabel(QWidget* strip, const char* name, const QString& text, const QRect& place,
                   const QColor& colour, const QStringList& families, qreal points) {
    auto* label = new QLabel(text, strip);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setBold(true);
    label->setFont(font);
    setColour(label, QPalette::WindowText, colour);
    return label;
}

} // namespace

std::vector<ShapeControl> dragWindowControls() {
    return {{ShapeControl::Kind::Box, kStrip}, {ShapeControl::Kind::TransparentRectangle, kFrame}};
}

DragWindow::DragWindow(CaptureHost& host, ScreenGrabber& grabber, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_host(host)
    , m_grabber(grabber) {
    setObjectName(QStringLiteral("dragfrm"));
    setWindowTitle(QStringLiteral("MSN Shot"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kClientSize);
    setAutoFillBackground(true);
    setColour(this, QPalette::Window, kWindowBackground);

    // The strip keeps the default colours of a picture box.
    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("Picture1"));
    strip->setGeometry(kStrip);
    strip->setAutoFillBackground(true);
    setColour(strip, QPalette::Window, strip->palette().color(QPalette::Button));
    QLabel* grip = stripLabel(strip, "Label1", QStringLiteral("Drag Me"), kGrip, kGripText,
                              {QStringLiteral("MS Sans Serif"), QStringLiteral("Arial")}, 8.25);
    m_button = stripLabel(strip, "Label2", QStringLiteral("S"), kButton, kButtonText,
                          {QStringLiteral("Arial")}, 11.25);
    for (QWidget* part : {strip, static_cast<QWidget*>(grip), static_cast<QWidget*>(m_button)})
        part->installEventFilter(this);
    // Above the strip, as designed: its top edge is the strip's last row, which the shape
    // leaves out.
    (new FrameShape(this))->setGeometry(kFrame);

    setMask(buildShapeRegion(dragWindowControls()));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.topLeft() + QPoint((area.width() - width()) / 2, (area.height() - height()) / 2));
    }
}

void DragWindow::capture() {
    // The viewer first: loading a fresh main window turns the record flag off.
    ScreenshotViewer& viewer = m_host.mainViewer();
    PictureBox* ima = viewer.ima();
    m_host.recordFlag().set(true);

    // The screen itself, not this window: the frame's inside shows what lies beneath, and
    // what lies off the screen comes out black.
    const Picture block = m_grabber.grab(QRect(mapToGlobal(kCopySource), kCopyBlock));
    // The columns that the block leaves free show the viewer frame's colour rather than
    // whatever the picture box held before.
    Picture picture(kPictureSize, QImage::Format_BGR888);
    picture.fill(viewer.imagroot()->palette().color(QPalette::Window));
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(kCopyDestination, block);
    painter.end();

    ima->setPicture(picture);
    m_host.showMainAfterCapture(false);
    ima->update();
    close();
    m_host.recordFlag().set(false);
}

bool DragWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) {
        if (watched != m_button && type != QEvent::MouseButtonRelease) {
            // The window manager moves the window with the mouse until the button goes up.
            if (QWindow* window = windowHandle())
                window->startSystemMove();
        } else if (watched == m_button && type == QEvent::MouseButtonRelease &&
                   m_button->rect().contains(mouse->position().toPoint())) {
            // A click: the button let go over "S", where it went down.
            capture();
        }
    }
    // Handled here, so that a press on a label does not reach the strip as well.
    return true;
}

} // namespace glim
