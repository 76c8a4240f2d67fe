#include "app/MainWindow.h"
#include "app/TrayWindow.h"
#include "capture/SelectorOverlay.h"
#include "screenshots/PictureBox.h"
#include "screenshots/ScreenshotList.h"
#include "screenshots/ScreenshotViewer.h"
#include "support/AppHarness.h"

#include <QGuiApplication>
#include <QLockFile>
#include <QPointer>
#include <QScreen>
#include <QSysInfo>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTreeWidget>

using namespace glim;

// Start-up, Exit, close and Show of the application core on a temporary program folder.
class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void freshFolderStartsHiddenInTheTray() {
        AppHarness h;
        QVERIFY(h.app->start());
        QVERIFY(h.dialogs.shown().isEmpty());
        // The tray icon takes the main window's icon, so the main window is loaded, unseen.
        QVERIFY(h.app->hasMainWindow());
        QVERIFY(!h.app->mainWindow()->isVisible());
        QVERIFY(!h.app->trayWindow()->isVisible());
        QCOMPARE(h.app->trayWindow()->trayIcon()->toolTip(), QStringLiteral("Zivra Glimwell 1.0"));
        QVERIFY(!h.app->trayWindow()->trayIcon()->icon().isNull());
        // The selector overlay covers the whole screen without being shown.
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        QCOMPARE(h.app->trayWindow()->selector()->geometry(), QRect(QPoint(0, 0), screen));
        QVERIFY(!h.app->trayWindow()->selector()->isVisible());
        QCOMPARE(h.quitCalls, 0);
    }

    void showmainShowsTheMainWindowCentred() {
        AppHarness h("[Options]\r\nShowmain=1\r\n");
        QVERIFY(h.app->start());
        MainWindow* window = h.app->mainWindow();
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Zivra Glimwell"));
        QCOMPARE(window->clientArea()->size(), QSize(634, 480));
        const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
        QVERIFY2((window->geometry().center() - screenCentre).manhattanLength() <= 6,
                 "the main window is centred on the screen");
    }

    void startdelDecidesWhetherTempIsEmptiedAtStart_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("kept");
        QTest::newRow("no settings file") << QByteArray() << true;
        QTest::newRow("Startdel=1") << QByteArray("[Options]\r\nStartdel=1\r\n") << false;
        QTest::newRow("Startdel=0") << QByteArray("[Options]\r\nStartdel=0\r\n") << true;
        QTest::newRow("Startdel=yes") << QByteArray("[Options]\r\nStartdel=yes\r\n") << true;
    }
    void startdelDecidesWhetherTempIsEmptiedAtStart() {
        QFETCH(QByteArray, settings);
        QFETCH(bool, kept);
        AppHarness h(settings);
        h.putTempFile(QStringLiteral("screenshot1.jpg"));
        QVERIFY(h.app->start());
        QCOMPARE(QFile::exists(h.tempFile(QStringLiteral("screenshot1.jpg"))), kept);
    }

    void secondInstanceIsRefusedAndTouchesNothing() {
        AppHarness h("[Options]\r\nStartdel=0\r\n");
        QVERIFY(h.app->start());
        // The second start of the same executable, with settings that would empty Temp.
        QFile settings(h.folder.filePath(QStringLiteral("Settings.ini")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[Options]\r\nStartdel=1\r\nShowmain=1\r\n");
        settings.close();
        h.putTempFile(QStringLiteral("screenshot1.jpg"));

        auto second = h.makeApp();
        QVERIFY(!second->start());
        QCOMPARE(h.dialogs.shown().size(), 1);
        QCOMPARE(h.dialogs.shown().first().kind, QStringLiteral("information"));
        QCOMPARE(h.dialogs.shown().first().text, QStringLiteral("The program is allready running"));
        QVERIFY(!second->hasMainWindow());
        QVERIFY(QFile::exists(h.tempFile(QStringLiteral("screenshot1.jpg"))));
    }

    void copyInAnotherFolderIsNotRefused() {
        AppHarness first;
        AppHarness other;
        QVERIFY(first.app->start());
        QVERIFY(other.app->start());
        QVERIFY(other.dialogs.shown().isEmpty());
    }

    void lockLeftByACrashedInstanceDoesNotBlock() {
        AppHarness h;
        // A lock file as a crashed instance leaves it: its process id names no running process.
        QLockFile probe(h.lockFolder.filePath(QStringLiteral("probe.lock")));
        QVERIFY(probe.tryLock(0));
        qint64 pid = 0;
        QString hostname;
        QString appname;
        QVERIFY(probe.getLockInfo(&pid, &hostname, &appname));
        probe.unlock();

        const QDir locks(h.lockFolder.path());
        auto first = h.makeApp();
        QVERIFY(first->start());
        const QStringList files = locks.entryList({QStringLiteral("glimwell-*.lock")}, QDir::Files);
        QCOMPARE(files.size(), 1);
        const QString lockPath = locks.filePath(files.first());
        first.reset(); // releases the lock
        QVERIFY(!QFile::exists(lockPath));

        QFile stale(lockPath);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        // 4194304 lies above the kernel's largest process id, so no process has it.
        stale.write(QByteArray("4194304\n") + appname.toUtf8() + '\n' + hostname.toUtf8() + '\n');
        stale.close();

        QVERIFY(h.app->start());
        QVERIFY(h.dialogs.shown().isEmpty());
    }
    void exitFollowsStartdel_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("kept");
        QTest::addColumn<bool>("fromTray");
        QTest::newRow("no settings file") << QByteArray() << false << false;
        QTest::newRow("Startdel=0") << QByteArray("[Options]\r\nStartdel=0\r\n") << false << true;
        QTest::newRow("Startdel=1") << QByteArray("[Options]\r\nStartdel=1\r\n") << true << true;
    }
    void exitFollowsStartdel() {
        QFETCH(QByteArray, settings);
        QFETCH(bool, kept);
        QFETCH(bool, fromTray);
        AppHarness h(settings);
        QVERIFY(h.app->start());
        h.putTempFile(QStringLiteral("screenshot1.jpg"));
        h.putTempFile(QStringLiteral("screenshot2.jpg"));
        int closes = 0;
        connect(h.app->mainWindow(), &MainWindow::closeRequested, this, [&] { ++closes; });
        // File > Exit of the main window and the tray's Exit run the same procedure.
        if (fromTray)
            h.app->trayWindow()->menu().ex3->trigger();
        else
            h.app->mainWindow()->menu().ex1->trigger();
        QCOMPARE(QFile::exists(h.tempFile(QStringLiteral("screenshot1.jpg"))), kept);
        QCOMPARE(QFile::exists(h.tempFile(QStringLiteral("screenshot2.jpg"))), kept);
        QCOMPARE(h.quitCalls, 1);
        QVERIFY(h.app->hasEnded());
        QCOMPARE(closes, 0);
        QVERIFY(!h.app->trayWindow()->trayIcon()->isVisible());
    }

    void closeFollowsHideclosedAndStartdel_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("kept");
        QTest::addColumn<bool>("ends");
        QTest::newRow("no settings file") << QByteArray() << false << true;
        QTest::newRow("Hideclosed=0 Startdel=0")
            << QByteArray("[Options]\r\nHideclosed=0\r\nStartdel=0\r\n") << false << true;
        QTest::newRow("Hideclosed=0 Startdel=1")
            << QByteArray("[Options]\r\nHideclosed=0\r\nStartdel=1\r\n") << true << true;
        QTest::newRow("Hideclosed=1 Startdel=0")
            << QByteArray("[Options]\r\nHideclosed=1\r\nStartdel=0\r\n") << false << false;
        QTest::newRow("Hideclosed=1 Startdel=1")
            << QByteArray("[Options]\r\nHideclosed=1\r\nStartdel=1\r\n") << true << false;
    }
    void closeFollowsHideclosedAndStartdel() {
        QFETCH(QByteArray, settings);
        QFETCH(bool, kept);
        QFETCH(bool, ends);
        AppHarness h(settings);
        QVERIFY(h.app->start());
        h.app->showMain();
        h.putTempFile(QStringLiteral("screenshot1.jpg"));
        QPointer<MainWindow> closed = h.app->mainWindow();
        QVERIFY(closed->close());
        QCOMPARE(QFile::exists(h.tempFile(QStringLiteral("screenshot1.jpg"))), kept);
        QCOMPARE(h.quitCalls, ends ? 1 : 0);
        if (!ends) {
            // Closed to the tray: the window unloads, and Show loads a fresh, empty one.
            QTRY_VERIFY(closed.isNull());
            QVERIFY(!h.app->hasMainWindow());
            h.app->trayWindow()->findChild<QAction*>(QStringLiteral("shmain"))->trigger();
            MainWindow* fresh = h.app->mainWindow();
            QVERIFY(fresh->isVisible());
            QCOMPARE(fresh->viewer()->lstv()->topLevelItemCount(), 0);
            QCOMPARE(fresh->viewer()->ima()->size(), QSize(0, 0));
        }
    }

    void minimiseHidesAndShowRestoresTheSameWindow() {
        AppHarness h("[Options]\r\nShowmain=1\r\n");
        QVERIFY(h.app->start());
        MainWindow* window = h.app->mainWindow();
        auto* row = new QTreeWidgetItem(window->viewer()->lstv(), {QStringLiteral("screenshot1")});
        Q_UNUSED(row);
        window->setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(!window->isVisible());
        QVERIFY(h.app->hasMainWindow());
        h.app->trayWindow()->findChild<QAction*>(QStringLiteral("shmain"))->trigger();
        QCOMPARE(h.app->mainWindow(), window);
        QVERIFY(window->isVisible());
        QVERIFY(!(window->windowState() & Qt::WindowMinimized));
        QCOMPARE(window->viewer()->lstv()->topLevelItemCount(), 1);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_Startup.moc"
