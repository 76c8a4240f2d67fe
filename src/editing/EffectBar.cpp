#include "editing/EffectBar.h"

#include <QMouseEvent>
#include <QPainter>

namespace glim {

namespace {

// The two boxes reach to 200 pixels and 20 down, past the bar's own 164 x 12: whatever lies
// beyond the bar is simply not seen.
constexpr float kBoxesRight = 200;
constexpr float kBoxesBottom = 20;

} // namespace

EffectBar::EffectBar(const QString& name, QColor first, QColor second, QWidget* parent)
    : QWidget(parent)
    , m_first(first)
    , m_second(second) {
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Only a press starts a drag; the bar needs no movements without a button.
    setMouseTracking(false);
}

void EffectBar::drawState(float x) {
    if (m_surface.size() != size()) {
        m_surface = QImage(size(), QImage::Format_RGB32);
        m_surface.fill(palette().color(QPalette::Window));
    }
    QPainter painter(&m_surface);
    // A box whose corners are given the other way round is the same box: left of the bar the
    // first one lies wholly outside it.
    painter.fillRect(QRectF(QPointF(0, 0), QPointF(x, kBoxesBottom)).normalized(), m_first);
    painter.fillRect(QRectF(QPointF(x, 0), QPointF(kBoxesRight, kBoxesBottom)).normalized(),
                     m_second);
    painter.end();
    update();
}

void EffectBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_surface.isNull())
        painter.fillRect(rect(), palette().color(QPalette::Window));
    else
        painter.drawImage(0, 0, m_surface);
}

void EffectBar::mousePressEvent(QMouseEvent* event) {
    m_dragging = true;
    event->accept();
}

void EffectBar::mouseReleaseEvent(QMouseEvent* event) {
    m_dragging = false;
    event->accept();
}

void EffectBar::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!m_dragging)
        return;
    const float x = float(event->position().x());
    drawState(x);
    emit moved(x);
}

} // namespace glim
