#include "platform/InstanceLock.h"
#include "platform/ProgramFolder.h"
#include "platform/TerminationSignals.h"
#include "platform/x11/ActiveWindowProperty.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

using namespace glim;

Q_DECLARE_METATYPE(InstanceLock::Result)

// The platform layer's own rules: which outcomes of the single-instance lock mean another
// running instance, which window the window manager's active-window property names, and the
// program folder's background writes.
class TestPlatform : public QObject {
    Q_OBJECT

private slots:
    void onlyALiveOwnerMeansAnotherInstance_data() {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<InstanceLock::Result>("result");
        QTest::newRow("free") << "free" << InstanceLock::Result::Acquired;
        QTest::newRow("left by a crashed instance") << "stale" << InstanceLock::Result::Acquired;
        QTest::newRow("held by a copy in another folder")
            << "other copy" << InstanceLock::Result::Acquired;
        // A folder under a regular file cannot be made or written, by root neither.
        QTest::newRow("folder that cannot be written") << "blocked" << InstanceLock::Result::Failed;
    }
    void onlyALiveOwnerMeansAnotherInstance() {
        QFETCH(QString, setUp);
        QTemporaryDir dir;
        const QString executable = dir.filePath(QStringLiteral("bin/Glimwell"));
        QString folder = dir.path();
        InstanceLock first(executable, folder);
        InstanceLock otherCopy(dir.filePath(QStringLiteral("b/Glimwell")), folder);
        if (setUp == u"other copy") {
            QCOMPARE(otherCopy.tryLock(), InstanceLock::Result::Acquired);
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

    void activeWindowPropertyNamesOneWindow_data() {
        QTest::addColumn<QList<uint>>("reply"); // present, type, bits per item, bytes, value
        QTest::addColumn<uint>("window");
        // Each refused reply has one fault only; the others are as in a good reply.
        QTest::newRow("a window") << QList<uint>{1, 33, 32, 4, 0x1e00007} << 0x1e00007u;
        QTest::newRow("no reply") << QList<uint>{0, 33, 32, 4, 0x1e00007} << 0u;
        QTest::newRow("type CARDINAL") << QList<uint>{1, 6, 32, 4, 0x1e00007} << 0u;
        QTest::newRow("16-bit items") << QList<uint>{1, 33, 16, 4, 0x1e00007} << 0u;
        QTest::newRow("short value") << QList<uint>{1, 33, 32, 3, 0x1e00007} << 0u;
        QTest::newRow("None") << QList<uint>{1, 33, 32, 4, 0} << 0u;
    }
    void activeWindowPropertyNamesOneWindow() {
        QFETCH(QList<uint>, reply);
        const std::uint32_t value = reply[4];
        const ActiveWindowReply property{reply[0] != 0, reply[1], std::uint8_t(reply[2]),
                                         int(reply[3]), &value};
        QTEST(uint(activeWindowIn(property)), "window");
    }

    // Requests that come while the program starts wait for the start to end; requests that
    // come together are one.
    void endRequestsAreHeldUntilDeliveryResumes() {
        TerminationSignals termination;
        QSignalSpy requested(&termination, &TerminationSignals::terminationRequested);
        termination.setHeld(true);
        std::raise(SIGTERM);
        std::raise(SIGHUP);
        QCoreApplication::processEvents();
        QCOMPARE(requested.count(), 0);
        termination.setHeld(false);
        QTRY_COMPARE(requested.count(), 1);
    }

    void workingFilesAreReadAndDeletedOnlyAfterTheirWrites() {
        QTemporaryDir dir;
        const ProgramFolder folder(dir.path());
        const ProgramFolder copy = folder; // the same folder, as every window holds it
        folder.foldr();
        const QString path = folder.workingFile(QStringLiteral("screenshot1"));
        QImage picture(8, 6, QImage::Format_BGR888);
        picture.fill(Qt::red);
        std::vector<int> order;
        std::atomic<bool> ended = false;
        // Slow enough that a read or a deletion that did not wait would come first.
        const auto slowWrite = [&](int number) {
            return [&, number] {
                std::this_thread::sleep_for(std::chrono::milliseconds(150));
                order.push_back(number);
                picture.save(path, "JPEG");
                ended = true;
            };
        };
        folder.writeInBackground(slowWrite(1));
        QVERIFY(!ended); // the caller goes on at once
        folder.writeInBackground([&] { order.push_back(2); });
        QCOMPARE(copy.loadWorkingFile(QStringLiteral("screenshot1")).size(), QSize(8, 6));
        QCOMPARE(order, (std::vector<int>{1, 2}));

        copy.writeInBackground(slowWrite(3));
        folder.clearTempFolder();
        QVERIFY(!QFile::exists(path));
        QCOMPARE(order.size(), 3u);
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_Platform.moc"
