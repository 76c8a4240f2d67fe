#include "support/X11Session.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <signal.h>

namespace {

// Whether the process catches (`field` "SigCgt") or ignores ("SigIgn") `signal`, as the kernel
// reports it: the docked icon comes before the program sets its handlers up.
bool hasDisposition(qint64 pid, const char* field, int signal) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    status.open(QIODevice::ReadOnly); // none read: no signal has it
    const QRegularExpression line(QLatin1String(field) + QStringLiteral(":\\s*([0-9a-f]+)"));
    const QString mask = line.match(QString::fromLatin1(status.readAll())).captured(1);
    return (mask.toULongLong(nullptr, 16) >> (signal - 1)) & 1;
}

} // namespace

// The program's start in the tray (also before the notification area), its tray menu, the
// single-instance rule, the close-to-tray and its end on the system's signals, as a user meets
// them in a real X session. The tray menu's Exit ends the installed program in the install test.
class TestTrayStartup : public QObject {
    Q_OBJECT

private slots:
    void startsInTheTrayRefusesASecondStartAndClosesBackToTheTray() {
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program;
        program.writeFile("Settings.ini", "[Options]\r\nHideclosed=1\r\n");
        program.writeFile("Temp/screenshot1.jpg", "earlier picture");
        QProcess* first = x.startInTray(program.executable());
        QVERIFY(first);
        QCOMPARE(x.trayIcons().size(), 1);
        const QRect icon = x.windowGeometry(x.trayIcons().first());
        QVERIFY2(icon.bottom() >= 1080 - 24 && icon.right() >= 1920 - 30,
                 "the icon sits in the notification area at the bottom right");
        QVERIFY(x.visibleWindows(X11Session::kMain).isEmpty());
        // The tip's window shows that the notification area passes the hover on; its text is
        // read from the icon in the window tests.
        const QStringList hover{"mousemove", QString::number(icon.center().x()),
                                QString::number(icon.center().y())};
        QVERIFY2(x.newWindow(X11Session::kPopUp, [&] { x.run("xdotool", hover); }),
                 "hovering the icon shows its tip");

        QVERIFY2(x.trayMenu("Down", 3), "a right click on the icon opens the tray menu");
        const qulonglong main = x.waitForWindow(X11Session::kMain);
        QVERIFY(main);
        // Placed by the window manager: its frame centred on the screen.
        const QPoint offset = x.frameGeometry(main).center() - QPoint(960, 540);
        QVERIFY2(qAbs(offset.x()) <= 16 && qAbs(offset.y()) <= 16, "Show: the frame is centred");

        // A second start says so and ends, leaving the first, its icon and Temp alone.
        QProcess* second = x.start(program.executable(), {});
        QVERIFY(x.answer(X11Session::kInformation));
        QVERIFY(second->waitForFinished(20000));
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(first->state(), QProcess::Running);
        QCOMPARE(x.trayIcons().size(), 1);
        QCOMPARE(program.tempFiles(), QStringList{"screenshot1.jpg"});

        // The window manager's close box with Hideclosed=1: still in the tray, where Show
        // brings a window again.
        x.activate(main);
        x.key("alt+F4");
        QVERIFY(
            X11Session::waitUntil([&] { return x.visibleWindows(X11Session::kMain).isEmpty(); }));
        QCOMPARE(x.trayIcons().size(), 1);
        QVERIFY(x.trayMenu("Down"));
        QVERIFY(x.waitForWindow(X11Session::kMain));
        QCOMPARE(first->state(), QProcess::Running);
    }

    void iconDocksInANotificationAreaStartedAfterTheProgram() {
        // A login autostart before the panel: the program is up (Startdel=1 has emptied Temp,
        // the step just before the icon) while no notification area runs.
        X11Session x(X11Session::Tray::Later);
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program;
        program.writeFile("Settings.ini", "[Options]\r\nStartdel=1\r\n");
        program.writeFile("Temp/screenshot1.jpg", "picture");
        QProcess* glim = x.start(program.executable(), {});
        QVERIFY(X11Session::waitUntil([&] { return program.tempFiles().isEmpty(); }));
        QVERIFY(x.startTray());
        QVERIFY(
            X11Session::waitUntil([&] { return !x.trayIcons().isEmpty(); }, X11Session::kStartMs));
        QCOMPARE(glim->state(), QProcess::Running);
        QVERIFY2(x.trayMenu(), "the docked icon opens the tray menu");
    }

    void endSignalsRunExitWhichEmptiesTempAndRemovesTheIcon_data() {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QStringList>("launcher");
        QTest::addColumn<bool>("ignored");
        // Through env with the default dispositions, whatever the test runner ignores.
        const QStringList plain{"env", "--default-signal=HUP,INT"};
        QTest::newRow("SIGTERM (kill)") << int(SIGTERM) << plain << false;
        QTest::newRow("SIGINT (Ctrl+C)") << int(SIGINT) << plain << false;
        QTest::newRow("SIGHUP (logout)") << int(SIGHUP) << plain << false;
        // Under nohup a hang-up is ignored, as asked.
        QTest::newRow("SIGHUP under nohup") << int(SIGHUP) << QStringList{"nohup"} << true;
    }
    void endSignalsRunExitWhichEmptiesTempAndRemovesTheIcon() {
        QFETCH(int, signal);
        QFETCH(QStringList, launcher);
        QFETCH(bool, ignored);
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program;
        program.writeFile("Temp/screenshot1.jpg", "picture");
        QProcess* glim = x.startInTray(launcher.first(), launcher.mid(1) << program.executable());
        QVERIFY(glim);
        // Signalled only once it handles SIGTERM (all three are set up together). A hang-up it
        // was started ignoring stays ignored, which the kernel then drops, so a kill ends it.
        const qint64 pid = glim->processId();
        QVERIFY(X11Session::waitUntil([&] { return hasDisposition(pid, "SigCgt", SIGTERM); }));
        QVERIFY(hasDisposition(pid, ignored ? "SigIgn" : "SigCgt", signal));
        QCOMPARE(::kill(pid_t(pid), ignored ? SIGTERM : signal), 0);
        QVERIFY(glim->waitForFinished(20000));
        QCOMPARE(glim->exitStatus(), QProcess::NormalExit);
        QCOMPARE(glim->exitCode(), 0);
        QVERIFY(program.tempFiles().isEmpty());
        QVERIFY(x.trayIcons().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTrayStartup)
#include "tst_TrayStartup.moc"
