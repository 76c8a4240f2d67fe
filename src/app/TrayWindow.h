#pragma once

#include "app/Services.h"
#include "capture/CaptureModes.h"

#include <QPointer>
#include <QWidget>

class QMenu;
class QSystemTrayIcon;

namespace glim {

class AboutWindow;
class SelectorOverlay;

// The tray menu's items under their control names.
struct TrayMenu {
    QAction* shmain = nullptr;
    CaptureItems capture{}; // actws, sele, fuscsh, msnsssh
    QAction* chfupde = nullptr;
    QAction* abouts = nullptr;
    QAction* ex3 = nullptr;
};

// The tray window `Glimhelp`: never shown; it owns the notification-area icon and the tray
// menu, carries the tray's capture timers and owns the selector overlay, which it shows
// modally during a selector capture, and the About window that both menus open. A left or right
// button release on the icon pops the menu up at the pointer; a double click opens nothing more.
class TrayWindow : public QWidget {
    Q_OBJECT
public:
    explicit TrayWindow(const Services& services, QWidget* parent = nullptr);

    const TrayMenu& menu() const { return m_items; }
    QMenu* trayMenu() const { return m_menu; }
    QSystemTrayIcon* trayIcon() const { return m_icon; }
    // The selector overlay `Glim`, created on first use.
    SelectorOverlay* selector();
    // The About window `abo`, loaded (and so shown) on first use; after its Exit the next use
    // loads a fresh one.
    AboutWindow* aboutWindow();
    // "About" of both menus: the one About window, brought to the front.
    void showAbout();
    // "Check for update" of both menus: runs the About window's update check.
    void checkForUpdate();

    // Shows the icon with the tip "Zivra Glimwell 1.0" and hides this window. When no
    // notification area runs yet (a login autostart before the panel), the icon docks as soon
    // as one appears, and again after the area restarts: Qt's tray icon watches for it.
    void addTrayIcon(const QIcon& icon);
    void removeTrayIcon();
    // Pops the tray menu up at the pointer.
    void popUpMenu();

private:
    QMenu* m_menu;
    TrayMenu m_items;
    QSystemTrayIcon* m_icon;
    SelectorOverlay* m_selector = nullptr;
    QPointer<AboutWindow> m_about;
    Services m_services;
};

} // namespace glim
