#include "platform/InstanceLock.h"
#include "platform/x11/ActiveWindowProperty.h"

#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace glim;

Q_DECLARE_METATYPE(InstanceLock::Result)

// The platform layer's own rules: which outcomes of the single-instance lock mean another
// running instance, and which window the window manager's active-window property names.
class TestPlatform : public QObject {
    Q_OBJECT

private slots:
    void onlyALiveOwnerMeansAnotherInstance_data() {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<InstanceLock::Result>("result");
        QTest::newRow("free") << "free" << InstanceLock::Result::Acquired;
        QTest::newRow("held by a running instance")
            << "held" << InstanceLock::Result::HeldByAnother;
        QTest::newRow("left by a crashed instance") << "stale" << InstanceLock::Result::Acquired;
        // A folder under a regular file cannot be made or written, by root neither.
        QTest::newRow("folder that cannot be written") << "blocked" << InstanceLock::Result::Failed;
    }
    void onlyALiveOwnerMeansAnotherInstance() {
        QFETCH(QString, setUp);
        QTemporaryDir dir;
        const QString executable = dir.filePath(QStringLiteral("bin/Glimwell"));
        QString folder = dir.path();
        InstanceLock first(executable, folder);
        if (setUp == u"held") {
            QCOMPARE(first.tryLock(), InstanceLock::Result::Acquired);
            QCOMPARE(first.tryLock(), InstanceLock::Result::Acquired); // held already
        } else if (setUp == u"stale") {
            // A process id beyond any the kernel gives out.
            QFile file(first.lockFilePath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("2147483000\nGlimwell\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        } else if (setUp == u"blocked") {
            QFile file(dir.filePath(QStringLiteral("plain")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            folder = file.fileName() + QStringLiteral("/run");
        }
        InstanceLock second(executable, folder);
        QTEST(second.tryLock(), "result");
    }

    void copiesInOtherFoldersAreIndependent() {
        QTemporaryDir dir;
        InstanceLock here(dir.filePath(QStringLiteral("a/Glimwell")), dir.path());
        InstanceLock there(dir.filePath(QStringLiteral("b/Glimwell")), dir.path());
        QCOMPARE(here.tryLock(), InstanceLock::Result::Acquired);
        QCOMPARE(there.tryLock(), InstanceLock::Result::Acquired);
    }

    void activeWindowPropertyNamesOneWindow_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<uint>("type");
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("length");
        QTest::addColumn<uint>("value");
        QTest::addColumn<uint>("window");
        // Each refused reply has one fault only; the others are as in a good reply.
        QTest::newRow("a window") << true << 33u << 32 << 4 << 0x1e00007u << 0x1e00007u;
        QTest::newRow("no reply") << false << 33u << 32 << 4 << 0x1e00007u << 0u;
        QTest::newRow("type CARDINAL") << true << 6u << 32 << 4 << 0x1e00007u << 0u;
        QTest::newRow("16-bit items") << true << 33u << 16 << 4 << 0x1e00007u << 0u;
        QTest::newRow("short value") << true << 33u << 32 << 3 << 0x1e00007u << 0u;
        QTest::newRow("None") << true << 33u << 32 << 4 << 0u << 0u;
    }
    void activeWindowPropertyNamesOneWindow() {
        QFETCH(bool, present);
        QFETCH(uint, type);
        QFETCH(int, format);
        QFETCH(int, length);
        QFETCH(uint, value);
        const std::uint32_t bytes = value;
        const ActiveWindowReply reply{present, type, std::uint8_t(format), length, &bytes};
        QTEST(uint(activeWindowIn(reply)), "window");
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_Platform.moc"
