#include "app/TrayWindow.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

namespace glim {

namespace {
const QString kTrayTip = QStringLiteral("Zivra Glimwell 1.0");
} // namespace

TrayWindow::TrayWindow(QWidget* parent)
    : QWidget(parent)
    , m_menu(new QMenu(QStringLiteral("Menu"), this))
    , m_icon(new QSystemTrayIcon(this)) {
    setObjectName(QStringLiteral("Glimhelp"));
    m_menu->setObjectName(QStringLiteral("Menu"));

    auto add = [this](const char* name, const char* caption) {
        QAction* action = QLatin1String(caption) == QLatin1String("-")
                              ? m_menu->addSeparator()
                              : m_menu->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    connect(add("shmain", "Show"), &QAction::triggered, this, &TrayWindow::showRequested);
    add("bar10", "-");
    for (const auto& [name, caption] :
         {std::pair{"actws", "Act. Window Shot"}, std::pair{"sele", "Selector Shot"},
          std::pair{"fuscsh", "Full Screenshot"}, std::pair{"msnsssh", "MSN Shot"}})
        add(name, caption)->setCheckable(true);
    add("bar666", "-");
    add("chfupde", "Check for update");
    add("baaruh", "-");
    add("abouts", "About");
    connect(add("ex3", "Exit"), &QAction::triggered, this, &TrayWindow::exitRequested);

    // Only the two button releases open the menu: Trigger (left) and Context (right).
    // A double click opens nothing more.
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context)
                    popUpMenu();
            });
}

void TrayWindow::addTrayIcon(const QIcon& icon) {
    m_icon->setIcon(icon);
    m_icon->setToolTip(kTrayTip);
    // Shown even without a notification area: it docks when one appears. Showing it only
    // when one runs at start would leave a program without an icon, ever.
    m_icon->show();
    hide();
}

void TrayWindow::removeTrayIcon() {
    m_icon->hide();
}

void TrayWindow::popUpMenu() {
    m_menu->popup(QCursor::pos());
}

} // namespace glim
