#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace glim {

// One bar of the Edit Image dialog: a small picture box that shows the position the user drags
// it to as two filled boxes. A press with any button starts a drag and a release ends it; while
// a drag lasts every mouse movement redraws the boxes at the pointer's X (also beyond the bar's
// ends) and reports that X. Movements without a drag report nothing.
class EffectBar : public QWidget {
    Q_OBJECT
public:
    EffectBar(const QString& name, QColor first, QColor second, QWidget* parent);

    bool isDragging() const { return m_dragging; }
    // The bar's persistent drawing surface.
    const QImage& surface() const { return m_surface; }

signals:
    // X in the bar's pixels, as received: negative left of the bar.
    void moved(float x);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void drawState(float x);

    QColor m_first;
    QColor m_second;
    QImage m_surface;
    bool m_dragging = false;
};

} // namespace glim
