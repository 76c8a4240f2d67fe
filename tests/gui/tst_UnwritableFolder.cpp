#include "support/AppHarness.h"

#include <QScopeGuard>
#include <QSystemTrayIcon>
#include <QTemporaryFile>

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
        const QStringList said = h.dialogs.said();
        QVERIFY2(said.size() == 1 && said[0].startsWith("exclamation|") &&
                     said[0].contains(" folder " + unwritable + ", "),
                 qPrintable(said.join('\n')));
        // Still in the tray, its settings still read.
        QVERIFY(h.app->trayWindow()->trayIcon()->isVisible() && h.app->mainWindow()->isVisible());

        h.dialogs.clear();
        QVERIFY(h.captureFullScreen(h.grabber.screen));
        QCOMPARE(h.dialogs.said(),
                 autoSaveFails ? QStringList{"plain|Failed to auto-save picture."} : QStringList());
        QCOMPARE(h.app->mainWindow()->viewer()->lstv()->rowCount(), 1);
        QCOMPARE(QFile::exists(h.tempFile(QStringLiteral("screenshot1.jpg"))), !autoSaveFails);
    }
};

QTEST_MAIN(TestUnwritableFolder)
#include "tst_UnwritableFolder.moc"
