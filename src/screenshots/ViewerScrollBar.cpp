#include "screenshots/ViewerScrollBar.h"

#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

namespace glim {

ViewerScrollBar::ViewerScrollBar(QScrollBar* bar)
    : QObject(bar)
    , m_bar(bar) {
    show();
    connect(m_bar, &QScrollBar::valueChanged, this, &ViewerScrollBar::fromUser);
}

int ViewerScrollBar::length() const {
    return m_bar->orientation() == Qt::Horizontal ? m_bar->width() : m_bar->height();
}

void ViewerScrollBar::setMin(long long min) {
    const bool moved = m_state.setMin(min);
    show();
    if (moved)
        emit valueChanged(m_state.value());
}

void ViewerScrollBar::setMax(long long max) {
    const bool moved = m_state.setMax(max);
    show();
    if (moved)
        emit valueChanged(m_state.value());
}

void ViewerScrollBar::setValue(long long value) {
    const bool moved = m_state.setValue(value);
    show();
    if (moved)
        emit valueChanged(m_state.value());
}

void ViewerScrollBar::setSteps(int smallChange, int largeChange) {
    m_state.setSmallChange(smallChange);
    m_state.setLargeChange(largeChange);
    show();
}

void ViewerScrollBar::setEnabled(bool enabled) {
    m_bar->setEnabled(enabled);
}

void ViewerScrollBar::show() {
    // QScrollBar wants its minimum below its maximum: a reversed range is shown the right way
    // round, which changes nothing for a bar that is disabled whenever its Max is negative.
    const QSignalBlocker quiet(m_bar);
    m_bar->setRange(std::min(m_state.min(), m_state.max()), std::max(m_state.min(), m_state.max()));
    m_bar->setSingleStep(m_state.smallChange());
    m_bar->setPageStep(m_state.largeChange());
    m_bar->setValue(m_state.value());
}

void ViewerScrollBar::fromUser(int value) {
    // An arrow, the trough or the thumb moved the QScrollBar by its own steps, which are ours.
    if (m_state.setValue(value))
        emit valueChanged(m_state.value());
}

} // namespace glim
