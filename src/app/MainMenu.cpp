#include "app/MainMenu.h"

#include "about/WebAddresses.h"

#include <QMenu>
#include <QMenuBar>

namespace glim {

namespace {

QAction* item(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void separator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

QMenu* submenu(QMenu* parent, QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = parent != nullptr ? parent->addMenu(caption) : bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

MainMenu MainMenu::build(QMenuBar* bar) {
    MainMenu m;
    QMenu* file = submenu(nullptr, bar, "filemnu", QStringLiteral("File"));
    m.newscre = item(file, "newscre", QStringLiteral("New Event"));
    separator(file, "neweven");
    m.openscr = item(file, "openscr", QStringLiteral("Open"));
    m.saveimg = item(file, "saveimg", QStringLiteral("Save"));
    separator(file, "scrrrrbar");
    m.clip = item(file, "clip", QStringLiteral("Copy"));
    m.pstscre = item(file, "pstscre", QStringLiteral("Paste"));
    separator(file, "bar1");
    m.primg = item(file, "primg", QStringLiteral("Print"));
    separator(file, "bar3");
    m.ex1 = item(file, "ex1", QStringLiteral("Exit"));

    QMenu* tools = submenu(nullptr, bar, "toolsmnu", QStringLiteral("Tools"));
    m.capture = {item(tools, "actw", QStringLiteral("Act. Window Shot")),
                 item(tools, "sel", QStringLiteral("Selector Shot")),
                 item(tools, "scrfull", QStringLiteral("Full Screenshot")),
                 item(tools, "msnsh", QStringLiteral("MSN Shot"))};
    for (QAction* capture : m.capture)
        capture->setCheckable(true);

    QMenu* extra = submenu(nullptr, bar, "sknopt", QStringLiteral("Extra"));
    m.ei = submenu(extra, bar, "ei", QStringLiteral("Edit Image"));
    m.abr = item(m.ei, "abr", QStringLiteral("Adjust Brightness"));
    m.acon = item(m.ei, "acon", QStringLiteral("Adjust Contrast"));
    separator(m.ei, "adjbar");
    m.ablur = item(m.ei, "ablur", QStringLiteral("Apply Blur"));
    m.ahn = item(m.ei, "ahn", QStringLiteral("Apply Horizontal Ripples"));
    separator(m.ei, "aplllbar");
    m.invpic = item(m.ei, "invpic", QStringLiteral("Invert Picture"));
    separator(extra, "obar");
    m.genopt = item(extra, "genopt", QStringLiteral("Options"));

    QMenu* help = submenu(nullptr, bar, "helpmnu", QStringLiteral("Help"));
    m.scrfaq = item(help, "scrfaq", QStringLiteral("Online FAQ"));
    QMenu* quick = submenu(help, bar, "quick", QStringLiteral("Quick links"));
    // The maker's home page, shown as its host name.
    m.zivraweb = item(quick, "zivraweb", kMakerHost);
    m.zivrafweb = item(quick, "zivrafweb", QStringLiteral("Zivra Forums"));
    m.down = item(quick, "down", QStringLiteral("Zivra Downloads"));
    separator(help, "dbaa");
    m.chupd = item(help, "chupd", QStringLiteral("Check for update"));
    separator(help, "bar2");
    m.ab = item(help, "ab", QStringLiteral("About"));
    return m;
}

} // namespace glim
