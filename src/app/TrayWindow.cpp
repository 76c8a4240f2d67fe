#include "app/TrayWindow.h"

#include "about/AboutWindow.h"
#include "capture/SelectorOverlay.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

namespace glim {

namespace {
const QString kTrayTip = QStringLiteral("Zivra Glimwell 1.0");
} // namespace

TrayWindow::TrayWindow(const Services& services, QWidget* parent)
    : QWidget(parent)
    , m_menu(new QMenu(QStringLiteral("Menu"), this))
    , m_icon(new QSystemTrayIcon(this))
    , m_services(services) {
    setObjectName(QStringLiteral("Glimhelp"));
    m_menu->setObjectName(QStringLiteral("Menu"));

    auto item = [this](const char* name, const char* caption) {
        QAction* action = m_menu->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    auto separator = [this](const char* name) {
        m_menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };
    m_items.shmain = item("shmain", "Show");
    separator("bar10");
    m_items.capture = {item("actws", "Act. Window Shot"), item("sele", "Selector Shot"),
                       item("fuscsh", "Full Screenshot"), item("msnsssh", "MSN Shot")};
    for (QAction* capture : m_items.capture)
        capture->setCheckable(true);
    separator("bar666");
    m_items.chfupde = item("chfupde", "Check for update");
    separator("baaruh");
    m_items.abouts = item("abouts", "About");
    m_items.ex3 = item("ex3", "Exit");

    // Only the two button releases open the menu: Trigger (left) and Context (right).
    // A double click opens nothing more.
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context)
                    popUpMenu();
            });
}

SelectorOverlay* TrayWindow::selector() {
    if (m_selector == nullptr)
        m_selector = new SelectorOverlay(this);
    return m_selector;
}

AboutWindow* TrayWindow::aboutWindow() {
    if (m_about.isNull())
        m_about = new AboutWindow(
            UpdateCheck(m_services.http, m_services.dialogs, m_services.shell, m_services.update),
            this);
    return m_about.data();
}

void TrayWindow::showAbout() {
    AboutWindow* about = aboutWindow();
    about->show();
    about->raise();
    about->activateWindow();
}

void TrayWindow::checkForUpdate() {
    aboutWindow()->checkForUpdate();
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
