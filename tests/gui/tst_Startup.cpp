#include "capture/SelectorOverlay.h"
#include "support/AppHarness.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScopeGuard>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTemporaryFile>
#include <QTreeWidget>

#include <sys/fsuid.h>
#include <unistd.h>

using namespace glim;

constexpr int kReadOnly = 0x5555; // r-x for owner, user, group and others
constexpr int kOpen = 0x7777;

// Start-up, Exit, close and Show of the application core on a temporary program folder, one
// where the user may write and one where they may not.
class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void freshFolderStartsHiddenInTheTray() {
        AppHarness h;
        QVERIFY(h.app->start());
        QVERIFY(h.dialogs.shown().isEmpty());
        // The tray icon takes the main window's icon, so the main window is loaded, unseen.
        QVERIFY(h.app->hasMainWindow() && !h.app->mainWindow()->isVisible());
        QVERIFY(!h.app->trayWindow()->isVisible());
        QCOMPARE(h.app->trayWindow()->trayIcon()->toolTip(), QStringLiteral("Zivra Glimwell 1.0"));
        QVERIFY(!h.app->trayWindow()->trayIcon()->icon().isNull());
        // The selector overlay covers the whole screen without being shown.
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        QCOMPARE(h.app->trayWindow()->selector()->geometry(), QRect(QPoint(0, 0), screen));
        QVERIFY(!h.app->trayWindow()->selector()->isVisible());
        QCOMPARE(h.quitCalls, 0);
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
        AppHarness h(settings);
        h.putTempFile(QStringLiteral("screenshot1.jpg"));
        QVERIFY(h.app->start());
        QTEST(QFile::exists(h.tempFile(QStringLiteral("screenshot1.jpg"))), "kept");
    }

    void secondInstanceIsRefusedAndTouchesNothing() {
        AppHarness h("[Options]\r\nStartdel=0\r\n");
        QVERIFY(h.app->start());
        // The second start of the same executable, with settings that would empty Temp.
        QVERIFY(!h.putFile("Settings.ini", "[Options]\r\nStartdel=1\r\nShowmain=1\r\n").isEmpty());
        h.putTempFile(QStringLiteral("screenshot1.jpg"));

        auto second = h.makeApp();
        QVERIFY(!second->start());
        QCOMPARE(h.dialogs.said(), QStringList{"information|The program is allready running"});
        QVERIFY(!second->hasMainWindow());
        QVERIFY(QFile::exists(h.tempFile(QStringLiteral("screenshot1.jpg"))));
    }

    void lockLeftByACrashedInstanceDoesNotBlock() {
        AppHarness h;
        const QDir locks(h.lockFolder.path());
        auto first = h.makeApp();
        QVERIFY(first->start());
        const QStringList files = locks.entryList({QStringLiteral("glimwell-*.lock")}, QDir::Files);
        QCOMPARE(files.size(), 1);
        QFile lock(locks.filePath(files.first()));
        QVERIFY(lock.open(QIODevice::ReadOnly));
        QByteArray info = lock.readAll();
        lock.close();
        first.reset(); // releases the lock
        QVERIFY(!lock.exists());

        // The same lock as a crashed instance leaves it: 4194304 lies above the kernel's
        // largest process id, so no process has it.
        info.replace(0, info.indexOf('\n'), "4194304");
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(info);
        lock.close();
        QVERIFY(h.app->start());
        // A copy in another folder is not refused either.
        AppHarness other;
        QVERIFY(other.app->start());
        QVERIFY(h.dialogs.shown().isEmpty() && other.dialogs.shown().isEmpty());
    }

    void exitAndCloseFollowStartdelAndHideclosed_data() {
        QTest::addColumn<QByteArray>("options");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("kept");
        QTest::addColumn<bool>("ends");
        // File > Exit of the main window and the tray's Exit run the same procedure.
        const QByteArray none, startdel = "Startdel=1", hide = "Hideclosed=1\r\n";
        const QString close = u"close"_qs;
        QTest::newRow("Exit, no settings file") << none << "ex1" << false << true;
        QTest::newRow("tray Exit, Startdel=1") << startdel << "ex3" << true << true;
        QTest::newRow("close, no settings file") << none << close << false << true;
        QTest::newRow("close, Hideclosed=0")
            << "Hideclosed=0\r\n" + startdel << close << true << true;
        QTest::newRow("close to the tray") << hide + "Startdel=0" << close << false << false;
        QTest::newRow("close to the tray, Startdel=1") << hide + startdel << close << true << false;
    }
    void exitAndCloseFollowStartdelAndHideclosed() {
        QFETCH(QByteArray, options);
        QFETCH(QString, how);
        QFETCH(bool, kept);
        QFETCH(bool, ends);
        AppHarness h(options.isEmpty() ? QByteArray() : "[Options]\r\n" + options + "\r\n");
        QVERIFY(h.app->start());
        h.app->showMain();
        h.putTempFile(QStringLiteral("screenshot1.jpg"));
        h.putTempFile(QStringLiteral("screenshot2.jpg"));
        QPointer<MainWindow> window = h.app->mainWindow();
        int closes = 0;
        connect(window, &MainWindow::closeRequested, this, [&] { ++closes; });
        if (how == "close")
            QVERIFY(window->close());
        else
            (how == "ex1" ? window->menu().ex1 : h.app->trayWindow()->menu().ex3)->trigger();
        QCOMPARE(closes, how == "close" ? 1 : 0);
        QCOMPARE(QFile::exists(h.tempFile(QStringLiteral("screenshot1.jpg"))), kept);
        QCOMPARE(QFile::exists(h.tempFile(QStringLiteral("screenshot2.jpg"))), kept);
        QCOMPARE(h.quitCalls, ends ? 1 : 0);
        QCOMPARE(h.app->hasEnded(), ends);
        QCOMPARE(h.app->trayWindow()->trayIcon()->isVisible(), !ends);
        if (!ends) {
            // Closed to the tray: the window unloads, and Show loads a fresh, empty one.
            QTRY_VERIFY(window.isNull());
            QVERIFY(!h.app->hasMainWindow());
            h.app->trayWindow()->findChild<QAction*>(QStringLiteral("shmain"))->trigger();
            MainWindow* fresh = h.app->mainWindow();
            QVERIFY(fresh->isVisible());
            QCOMPARE(fresh->viewer()->lstv()->topLevelItemCount(), 0);
            QCOMPARE(fresh->viewer()->ima()->size(), QSize(0, 0));
        }
    }

    void showmainShowsTheWindowCentredMinimiseHidesItShowRestoresIt() {
        AppHarness h("[Options]\r\nShowmain=1\r\n");
        QVERIFY(h.app->start());
        MainWindow* window = h.app->mainWindow();
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Zivra Glimwell"));
        QCOMPARE(window->clientArea()->size(), QSize(634, 480));
        const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
        QVERIFY((window->geometry().center() - screenCentre).manhattanLength() <= 6);

        new QTreeWidgetItem(window->viewer()->lstv(), {QStringLiteral("screenshot1")});
        // Only minimising hides it; another change of state leaves it shown.
        window->setWindowState(Qt::WindowMaximized);
        QVERIFY(window->isVisible());
        window->setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(!window->isVisible());
        QVERIFY(h.app->hasMainWindow());
        h.app->trayWindow()->findChild<QAction*>(QStringLiteral("shmain"))->trigger();
        QCOMPARE(h.app->mainWindow(), window);
        QVERIFY(window->isVisible());
        QVERIFY(!(window->windowState() & Qt::WindowMinimized));
        QCOMPARE(window->viewer()->lstv()->topLevelItemCount(), 1);
    }

    // A program folder where the user may not write, as a system-wide install leaves it: one
    // message at start naming the folder, the tray as usual, and captures whose auto-save fails.
    void startNamesTheFolderOnceAndCapturesGoOn_data() {
        QTest::addColumn<bool>("tempExists");
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<int>("tempMode");
        QTest::addColumn<QString>("named"); // below the program folder
        QTest::addColumn<bool>("autoSaveFails");
        QTest::newRow("program folder") << false << kReadOnly << kOpen << QString() << true;
        // A Temp/ that takes files keeps the captures going; the settings are what is lost.
        QTest::newRow("program folder, Temp open")
            << true << kReadOnly << kOpen << QString() << false;
        QTest::newRow("Temp") << true << kOpen << kReadOnly << QStringLiteral("/Temp") << true;
    }
    void startNamesTheFolderOnceAndCapturesGoOn() {
        QFETCH(bool, tempExists);
        QFETCH(int, folderMode);
        QFETCH(int, tempMode);
        QFETCH(QString, named);
        QFETCH(bool, autoSaveFails);
        AppHarness h("[Options]\r\nShowmain=1\r\n");
        if (tempExists)
            QVERIFY(QDir(h.folder.path()).mkdir(QStringLiteral("Temp")));
        const QString temp = h.folder.filePath(QStringLiteral("Temp"));
        QFile::setPermissions(h.folder.path(), QFile::Permissions(folderMode));
        QFile::setPermissions(temp, QFile::Permissions(tempMode));
        QFile::setPermissions(h.lockFolder.path(), QFile::Permissions(kOpen));
        // Root writes past permission bits, so as root the test reaches files as "nobody"
        // meanwhile: a file-system user id other than 0 drops the capabilities that do.
        const int rootFsuid = ::geteuid() == 0 ? ::setfsuid(65534) : -1;
        const auto restore = qScopeGuard([&] {
            if (rootFsuid >= 0)
                ::setfsuid(uid_t(rootFsuid));
            for (const QString& folder : {h.folder.path(), temp})
                QFile::setPermissions(folder, QFile::Permissions(kOpen));
        });
        const QString unwritable = h.folder.path() + named;
        QTemporaryFile probe(unwritable + QStringLiteral("/probe-XXXXXX"));
        if (probe.open())
            QSKIP("this system lets the test write into a read-only folder");

        QVERIFY(h.app->start());
        const QStringList said = h.dialogs.said();
        QVERIFY2(said.size() == 1 && said[0].startsWith("exclamation|") &&
                     said[0].contains(" folder " + unwritable + ", "),
                 qPrintable(said.join('\n')));
        // Still in the tray, its settings still read.
        QVERIFY(h.app->trayWindow()->trayIcon()->isVisible() && h.app->mainWindow()->isVisible());

        h.dialogs.clear();
        QVERIFY(h.captureFullScreen(h.grabber.screen));
        h.settle();
        QCOMPARE(h.dialogs.said(),
                 autoSaveFails ? QStringList{"plain|Failed to auto-save picture."} : QStringList());
        QCOMPARE(h.app->mainWindow()->viewer()->lstv()->rowCount(), 1);
        QCOMPARE(QFile::exists(h.tempFile(QStringLiteral("screenshot1.jpg"))), !autoSaveFails);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_Startup.moc"
