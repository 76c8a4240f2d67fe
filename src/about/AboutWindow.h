#pragma once

#include "about/UpdateCheck.h"

#include <QImage>
#include <QWidget>

namespace glim {

// The About window `abo`: borderless, shaped as a rounded rectangle with a drawn raised edge,
// the product's name, version and credits, "Check for update" (the update check runs in this
// window) and "Exit", which unloads it. A press of any mouse button on the title strip moves
// the window with the mouse until the button is released. Not modal.
class AboutWindow : public QWidget {
    Q_OBJECT
public:
    // Loads the window: shapes it, draws its edge, centres it on the screen and shows it.
    AboutWindow(UpdateCheck updateCheck, QWidget* parent = nullptr);

    // "Check for update", of this window's button and of the two menus.
    void checkForUpdate();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();

    UpdateCheck m_updateCheck;
    QImage m_surface;    // the window's persistent drawing: background and edge
    QPoint m_grabOffset; // from the pointer to the window's corner while it is moved
};

} // namespace glim
