#pragma once

#include <QWidget>

class QMenu;
class QSystemTrayIcon;

namespace glim {

// The tray window `Glimhelp`: never shown; it owns the notification-area icon and the tray
// menu, and carries the tray's capture timers. A left or right button release on the icon
// pops the menu up at the pointer; a double click opens nothing more.
class TrayWindow : public QWidget {
    Q_OBJECT
public:
    explicit TrayWindow(QWidget* parent = nullptr);

    QMenu* trayMenu() const { return m_menu; }
    QSystemTrayIcon* trayIcon() const { return m_icon; }

    // Shows the icon with the tip "Zivra Glimwell 1.0" and hides this window. When no
    // notification area runs yet (a login autostart before the panel), the icon docks as soon
    // as one appears, and again after the area restarts: Qt's tray icon watches for it.
    void addTrayIcon(const QIcon& icon);
    void removeTrayIcon();
    // Pops the tray menu up at the pointer.
    void popUpMenu();

signals:
    void showRequested();
    void exitRequested();

private:
    QMenu* m_menu;
    QSystemTrayIcon* m_icon;
};

} // namespace glim
