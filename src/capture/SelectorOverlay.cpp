#include "capture/SelectorOverlay.h"

#include <QGuiApplication>
#include <QScreen>

namespace glim {

SelectorOverlay::SelectorOverlay(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Glim"));
}

void SelectorOverlay::coverScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize size = screen->geometry().size();
    setGeometry(0, 0, size.width(), size.height());
}

} // namespace glim
