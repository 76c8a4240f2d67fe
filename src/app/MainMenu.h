#pragma once

#include "capture/CaptureModes.h"

class QAction;
class QMenu;
class QMenuBar;

namespace glim {

// The main window's menu bar: every item under its control name (also its objectName), so that
// commands are connected to the items themselves and a renamed item cannot go unnoticed.
struct MainMenu {
    // File
    QAction* newscre = nullptr;
    QAction* openscr = nullptr;
    QAction* saveimg = nullptr;
    QAction* clip = nullptr;
    QAction* pstscre = nullptr;
    QAction* primg = nullptr;
    QAction* ex1 = nullptr;
    // Tools: actw, sel, scrfull, msnsh
    CaptureItems capture{};
    // Extra, with the Edit Image submenu `ei`
    QMenu* ei = nullptr;
    QAction* abr = nullptr;
    QAction* acon = nullptr;
    QAction* ablur = nullptr;
    QAction* ahn = nullptr;
    QAction* invpic = nullptr;
    QAction* genopt = nullptr;
    // Help, with the Quick links submenu
    QAction* scrfaq = nullptr;
    QAction* zivraweb = nullptr;
    QAction* zivrafweb = nullptr;
    QAction* down = nullptr;
    QAction* chupd = nullptr;
    QAction* ab = nullptr;

    // Fills the menu bar with the four menus File, Tools, Extra and Help.
    static MainMenu build(QMenuBar* bar);
};

} // namespace glim
