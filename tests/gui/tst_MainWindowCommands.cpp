#include "app/StatusPanels.h"
#include "screenshots/RecordFlag.h"
#include "screenshots/ViewerScrollBar.h"
#include "support/AppHarness.h"

#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSignalSpy>

using namespace glim;

namespace {

// "name caption" pairs of a menu's entries in order; separators show as "-".
QStringList inventory(const QMenu* menu) {
    QStringList entries;
    for (const QAction* action : menu->actions()) {
        const QString caption = action->isSeparator() ? QStringLiteral("-") : action->text();
        entries.append(action->objectName() + QLatin1Char(' ') + caption);
    }
    return entries;
}

} // namespace

// The main window's menus, tool bar and status bar as a user meets them after a load.
class TestMainWindowCommands : public QObject {
    Q_OBJECT

private:
    TestServices m_services;
    RecordFlag m_recordFlag;
    std::unique_ptr<MainWindow> m_window;

    QAction* action(const char* name) const { return m_window->findChild<QAction*>(name); }
    QAction* button(const QString& key) const { return toolButton(m_window.get(), key); }
    // A real click on a tool-bar button.
    void click(const QString& key) const {
        const auto* bar = m_window->findChild<QToolBar*>(QStringLiteral("tbToolBar"));
        QTest::mouseClick(bar->widgetForAction(button(key)), Qt::LeftButton);
    }
    // Which commands are on, in groups: the menus' picture commands; the tool bar's; the Edit
    // Image button and the separator before it, shown; the menus' other commands; the tool bar's.
    QString commandsOn() const {
        QStringList groups(5);
        for (const char* name : {"ei", "saveimg", "clip", "primg"})
            groups[0] += action(name)->isEnabled() ? '1' : '0';
        for (const char* key : {"Save", "Print", "Copy", "Align Left", "Align Right", "Center"})
            groups[1] += button(key)->isEnabled() ? '1' : '0';
        for (const char* key : {"Edit Image", "sep"})
            groups[2] += button(key)->isVisible() ? '1' : '0';
        for (const char* name : {"newscre", "openscr", "pstscre", "actw", "genopt", "ab", "ex1"})
            groups[3] += action(name)->isEnabled() ? '1' : '0';
        for (const char* key : {"New", "Open", "Paste"})
            groups[4] += button(key)->isEnabled() ? '1' : '0';
        return groups.join(' ');
    }

private slots:
    void init() {
        m_window = std::make_unique<MainWindow>(m_services.services(), m_recordFlag);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    // Each menu's entries as "name caption" pairs separated by commas; "tray" is the tray menu.
    void menuInventory_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("entries");
        const auto row = [](const char* name, const char* menu, const char* entries) {
            QTest::newRow(name) << QString(menu) << QString(entries);
        };
        row("File", "filemnu",
            "newscre New Event,neweven -,openscr Open,saveimg Save,scrrrrbar -,clip Copy,"
            "pstscre Paste,bar1 -,primg Print,bar3 -,ex1 Exit");
        row("Tools", "toolsmnu",
            "actw Act. Window Shot,sel Selector Shot,scrfull Full Screenshot,msnsh MSN Shot");
        row("Extra", "sknopt", "ei Edit Image,obar -,genopt Options");
        row("Edit Image", "ei",
            "abr Adjust Brightness,acon Adjust Contrast,adjbar -,ablur Apply Blur,"
            "ahn Apply Horizontal Ripples,aplllbar -,invpic Invert Picture");
        row("Help", "helpmnu",
            "scrfaq Online FAQ,quick Quick links,dbaa -,chupd Check for update,bar2 -,ab About");
        row("tray", "tray",
            "shmain Show,bar10 -,actws Act. Window Shot,sele Selector Shot,fuscsh Full Screenshot,"
            "msnsssh MSN Shot,bar666 -,chfupde Check for update,baaruh -,abouts About,ex3 Exit");
    }
    void menuInventory() {
        QFETCH(QString, menu);
        QFETCH(QString, entries);
        TrayWindow tray(m_services.services());
        const QMenu* found = menu == u"tray" ? tray.trayMenu() : m_window->findChild<QMenu*>(menu);
        QVERIFY(found);
        QCOMPARE(inventory(found).join(QLatin1Char(',')), entries);
        QCOMPARE(tray.trayMenu()->title(), QStringLiteral("Menu"));
    }

    void menuBarOrderAndQuickLinks() {
        QStringList captions;
        for (const QAction* top : m_window->menuBar()->actions())
            captions.append(top->text());
        QCOMPARE(captions, (QStringList{"File", "Tools", "Extra", "Help"}));
        const QStringList quick = inventory(m_window->findChild<QMenu*>(QStringLiteral("quick")));
        QCOMPARE(quick.size(), 3);
        QVERIFY(quick[0].startsWith(QStringLiteral("zivraweb ")));
        QCOMPARE(quick.mid(1), (QStringList{"zivrafweb Zivra Forums", "down Zivra Downloads"}));
        // No item has a shortcut key and no capture item is checked at start.
        for (const QMenu* menu : m_window->menuBar()->findChildren<QMenu*>()) {
            for (const QAction* item : menu->actions()) {
                QVERIFY2(item->shortcut().isEmpty(), qPrintable(item->objectName()));
                QVERIFY2(!item->isChecked(), qPrintable(item->objectName()));
            }
        }
    }

    void toolBarHoldsFourteenEntriesByKey() {
        const auto* bar = m_window->findChild<QToolBar*>(QStringLiteral("tbToolBar"));
        QVERIFY(bar);
        QStringList keys;
        for (const QAction* entry : bar->actions()) {
            const QString key = entry->data().toString();
            keys.append(entry->isSeparator() ? QStringLiteral("|") + key : key);
            if (!entry->isSeparator()) {
                QCOMPARE(entry->toolTip(), key);
                QVERIFY2(!entry->icon().isNull(), qPrintable(key));
                QVERIFY(entry->text().isEmpty());
            }
        }
        QCOMPARE(keys,
                 (QStringList{"New", "Open", "Save", "|", "Print", "|", "Copy", "Paste", "|sep",
                              "Edit Image", "|", "Align Left", "Center", "Align Right"}));
    }

    void pictureCommandsAreOffAfterALoadAndSwitchTogether() {
        QCOMPARE(commandsOn(), "0000 000000 00 1111111 111");
        QVERIFY(button("Center")->isChecked());
        // Both bars off, their ranges from the empty 617 x 251 picture box and their lengths.
        const ScreenshotViewer* viewer = m_window->viewer();
        QVERIFY(!viewer->hScroll()->isEnabled() && !viewer->vScroll()->isEnabled());
        QCOMPARE(QPoint(viewer->hBar()->state().max(), viewer->vBar()->state().max()),
                 QPoint(617 - 617, 251 - 249));
        emit m_window->viewer()->pictureCommandsSwitched(true);
        QCOMPARE(commandsOn(), "1111 111111 11 1111111 111");
        emit m_window->viewer()->pictureCommandsSwitched(false);
        QCOMPARE(commandsOn(), "0000 000000 00 1111111 111");
    }

    // The keys' commands are run from the tool bar in the files of each command; here a real
    // click reaches its command once, and separators and keys of another case run nothing.
    void toolBarClickRunsItsMenuCommand() {
        QSignalSpy paste(action("pstscre"), &QAction::triggered);
        QSignalSpy exitSpy(action("ex1"), &QAction::triggered);
        click("Paste");
        m_window->dispatchToolButton(QStringLiteral("sep"));
        m_window->dispatchToolButton(QStringLiteral("paste"));
        QCOMPARE(paste.count(), 1);
        QCOMPARE(exitSpy.count(), 0);
    }

    void editImageButtonPopsUpTheEffectsUnlessTheDialogIsOpen() {
        bool dialogOpen = true;
        m_window->setEditImageOpenQuery([&] { return dialogOpen; });
        auto* effects = m_window->findChild<QMenu*>(QStringLiteral("ei"));
        m_window->dispatchToolButton(QStringLiteral("Edit Image"));
        QVERIFY(!effects->isVisible());
        dialogOpen = false;
        m_window->dispatchToolButton(QStringLiteral("Edit Image"));
        QTRY_VERIFY(effects->isVisible());
        effects->hide();
    }

    void alignmentButtonsAreOneExclusiveGroup() {
        emit m_window->viewer()->pictureCommandsSwitched(true);
        click("Align Left");
        QVERIFY(button("Align Left")->isChecked());
        QVERIFY(!button("Center")->isChecked() && !button("Align Right")->isChecked());
    }

    void controlsStandInTheirPlaces() {
        const QStringList expected = {"tbToolBar 0 0 634 24",   "imagroot 0 24 617 251",
                                      "VScroll1 616 24 17 249", "HScroll1 0 272 617 17",
                                      "lstv 0 296 633 165",     "StatusBar1 0 463 634 17",
                                      "afl 472 176 9 13"};
        QCOMPARE(places(m_window->clientArea(), expected), expected);
    }

    void statusBarShowsProductDateAndTime() {
        const auto* status = m_window->findChild<StatusPanels*>(QStringLiteral("StatusBar1"));
        QVERIFY(status);
        QVERIFY(status->productPanel()->text().startsWith(QStringLiteral("Zivra Glimwell 1.0")));
        QCOMPARE(status->datePanel()->text(),
                 QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
        QVERIFY(!status->timePanel()->text().isEmpty());
        QCOMPARE(status->datePanel()->width(), 169);
    }
};

QTEST_MAIN(TestMainWindowCommands)
#include "tst_MainWindowCommands.moc"
