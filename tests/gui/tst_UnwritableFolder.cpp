#include "app/MainWindow.h"
#include "app/TrayWindow.h"
#include "screenshots/ScreenshotList.h"
#include "screenshots/ScreenshotViewer.h"
#include "support/AppHarness.h"

#include <QAction>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>

#include <sys/fsuid.h>
#include <unistd.h>

using namespace glim;

namespace {

constexpr QFile::Permissions kReadOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                         QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
constexpr QFile::Permissions kOpen =
    kReadOnly | QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;

// Sets the folders' permissions for the life of the guard. Root writes past permission bits,
// so as root this thread meanwhile reaches files as the unprivileged user "nobody": a file
// system user id other than 0 drops the capabilities that override the bits.
class Permissions {
public:
    explicit Permissions(QList<std::pair<QString, QFile::Permissions>> folders)
        : m_folders(std::move(folders)) {
        for (const auto& [path, permissions] : m_folders)
            QFile::setPermissions(path, permissions);
        if (::geteuid() == 0)
            m_rootFsuid = ::setfsuid(65534);
    }
    ~Permissions() {
        if (m_rootFsuid >= 0)
            ::setfsuid(uid_t(m_rootFsuid));
        for (const auto& [path, permissions] : m_folders)
            QFile::setPermissions(path, kOpen);
    }
    Permissions(const Permissions&) = delete;
    Permissions& operator=(const Permissions&) = delete;

private:
    QList<std::pair<QString, QFile::Permissions>> m_folders;
    int m_rootFsuid = -1;
};

bool takesFiles(const QString& folder) {
    QFile probe(folder + QStringLiteral("/probe"));
    const bool written = probe.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    probe.remove();
    return written;
}

} // namespace

// A program folder where the user may not write, as a system-wide install leaves it: one
// message at start naming the folder, the tray as usual, and captures whose auto-save fails.
class TestUnwritableFolder : public QObject {
    Q_OBJECT

private slots:
    void startTellsTheFolderOnceAndCapturesReportTheFailedAutoSave_data() {
        QTest::addColumn<bool>("tempExists");
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<int>("tempMode");
        QTest::addColumn<QString>("named");
        QTest::addColumn<bool>("autoSaveFails");
        QTest::newRow("program folder read-only")
            << false << int(kReadOnly) << int(kOpen) << QString() << true;
        QTest::newRow("program folder read-only, Temp there")
            << true << int(kReadOnly) << int(kOpen) << QString() << false;
        QTest::newRow("Temp read-only")
            << true << int(kOpen) << int(kReadOnly) << QStringLiteral("/Temp") << true;
    }
    void startTellsTheFolderOnceAndCapturesReportTheFailedAutoSave() {
        QFETCH(bool, tempExists);
        QFETCH(int, folderMode);
        QFETCH(int, tempMode);
        QFETCH(QString, named);
        QFETCH(bool, autoSaveFails);
        AppHarness h("[Options]\r\nShowmain=1\r\n");
        if (tempExists)
            QVERIFY(QDir(h.folder.path()).mkdir(QStringLiteral("Temp")));
        const QString temp = h.folder.filePath(QStringLiteral("Temp"));
        Permissions guard({{h.folder.path(), QFile::Permissions(folderMode)},
                           {temp, QFile::Permissions(tempMode)},
                           {h.lockFolder.path(), kOpen}});
        const QString unwritable = h.folder.path() + named;
        if (takesFiles(unwritable))
            QSKIP("this system lets the test write into a read-only folder");

        QVERIFY(h.app->start());
        QCOMPARE(h.dialogs.shown().size(), 1);
        QCOMPARE(h.dialogs.shown().first().title, kExclamationTitle);
        const QString text = h.dialogs.shown().first().text;
        QVERIFY2(text.contains(QStringLiteral("folder ") + unwritable + QStringLiteral(",")),
                 qPrintable(text));
        // Still the program in the tray, and its settings still read.
        QVERIFY(h.app->trayWindow()->trayIcon()->isVisible());
        QVERIFY(h.app->mainWindow()->isVisible());
        QCOMPARE(h.quitCalls, 0);

        h.dialogs.clear();
        MainWindow* window = h.app->mainWindow();
        window->findChild<QAction*>(QStringLiteral("scrfull"))->trigger();
        QTimer* bckt = window->findChild<QTimer*>(QStringLiteral("bckt"));
        QVERIFY(bckt && bckt->isActive());
        QVERIFY(QMetaObject::invokeMethod(bckt, "timeout"));
        // A Temp/ that takes files keeps the captures going; the settings are what is lost then.
        const QStringList failed{QStringLiteral("Failed to auto-save picture.")};
        QCOMPARE(h.dialogs.texts(), autoSaveFails ? failed : QStringList());
        QCOMPARE(window->viewer()->lstv()->rowCount(), 1);
        QCOMPARE(QFile::exists(h.tempFile(QStringLiteral("screenshot1.jpg"))), !autoSaveFails);
    }

    void secondStartOnAnUnwritableFolderOnlySaysItRuns() {
        AppHarness h;
        Permissions guard({{h.folder.path(), kReadOnly}, {h.lockFolder.path(), kOpen}});
        if (takesFiles(h.folder.path()))
            QSKIP("this system lets the test write into a read-only folder");
        QVERIFY(h.app->start());
        h.dialogs.clear();

        auto second = h.makeApp();
        QVERIFY(!second->start());
        QCOMPARE(h.dialogs.texts(), QStringList{QStringLiteral("The program is allready running")});
    }
};

QTEST_MAIN(TestUnwritableFolder)
#include "tst_UnwritableFolder.moc"
