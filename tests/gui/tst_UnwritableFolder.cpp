#include "app/MainWindow.h"
#include "app/TrayWindow.h"
#include "screenshots/ScreenshotList.h"
#include "screenshots/ScreenshotViewer.h"
#include "support/AppHarness.h"

#include <QAction>
#include <QScopeGuard>
#include <QSystemTrayIcon>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>

#include <sys/fsuid.h>
#include <unistd.h>

using namespace glim;

constexpr int kReadOnly = 0x5555; // r-x for owner, user, group and others
constexpr int kOpen = 0x7777;

// A program folder where the user may not write, as a system-wide install leaves it: one
// message at start naming the folder, the tray as usual, and captures whose auto-save fails.
class TestUnwritableFolder : public QObject {
    Q_OBJECT

private slots:
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
        QCOMPARE(h.dialogs.shown().size(), 1);
        QCOMPARE(h.dialogs.shown().first().title, kExclamationTitle);
        const QString text = h.dialogs.shown().first().text;
        QVERIFY2(text.contains(QStringLiteral(" folder ") + unwritable + QStringLiteral(", ")),
                 qPrintable(text));
        // Still in the tray, its settings still read.
        QVERIFY(h.app->trayWindow()->trayIcon()->isVisible() && h.app->mainWindow()->isVisible());

        h.dialogs.clear();
        MainWindow* window = h.app->mainWindow();
        window->findChild<QAction*>(QStringLiteral("scrfull"))->trigger();
        QVERIFY(QMetaObject::invokeMethod(window->findChild<QTimer*>(QStringLiteral("bckt")),
                                          "timeout"));
        QCOMPARE(h.dialogs.texts(),
                 autoSaveFails ? QStringList{"Failed to auto-save picture."} : QStringList());
        QCOMPARE(window->viewer()->lstv()->rowCount(), 1);
        QCOMPARE(QFile::exists(h.tempFile(QStringLiteral("screenshot1.jpg"))), !autoSaveFails);
    }
};

QTEST_MAIN(TestUnwritableFolder)
#include "tst_UnwritableFolder.moc"
