#include "screenshots/PictureBox.h"

#include "screenshots/ViewerRules.h"

#include <QKeyEvent>
#include <QPainter>

namespace glim {

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("ima"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(224, 224, 224));
    setPalette(pal);
    setFocusPolicy(Qt::ClickFocus);
}

void PictureBox::setPicture(const Picture& picture) {
    m_picture = asPicture(picture);
    if (!m_picture.isNull())
        resize(m_picture.size());
    update();
    emit pictureChanged();
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageUp:
        emit keyDown(kKeyPageUp);
        break;
    case Qt::Key_PageDown:
        emit keyDown(kKeyPageDown);
        break;
    default:
        // Every other key goes to the base class only: Qt's codes of "!" and '"' equal the
        // paging codes 33 and 34, so reporting them would page.
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace glim
