#include "support/X11Session.h"

#include <QTest>

#include <signal.h>

// The program's start in the tray (also before the notification area), its tray menu, the
// single-instance rule, the ways it ends (Exit and the system's signals) and the close-to-tray,
// as a user meets them in a real X session.
class TestTrayStartup : public QObject {
    Q_OBJECT

private:
    const QString kMainTitle = QStringLiteral("^Zivra Glimwell$");
    const QString kProgram = QStringLiteral("Glimwell");

private slots:
    void startsInTheTrayWithItsIconTipAndMenu() {
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        QVERIFY(x.startInTray(program.executable()));
        QCOMPARE(x.trayIcons(kProgram).size(), 1);
        const QRect icon = x.windowGeometry(x.trayIcons(kProgram).first());
        QVERIFY2(icon.bottom() >= 1080 - 24 && icon.right() >= 1920 - 30,
                 "the icon sits in the notification area at the bottom right");
        QVERIFY(x.visibleWindows(kMainTitle).isEmpty());

        // Hovering the icon shows its tip just over it. Qt names the tip's window after the
        // program, so the text itself is read from the icon in the window tests; here its
        // window shows that the notification area passes the hover on.
        const qulonglong tip =
            x.popUp([&] { x.moveMouse(icon.center().x(), icon.center().y()); }, 5000);
        QVERIFY2(tip, "hovering the icon shows its tip");
        const QRect tipArea = x.windowGeometry(tip);
        QVERIFY2(tipArea.bottom() <= icon.top() + icon.height() && tipArea.width() > 60,
                 "a tip with a line of text over the icon");

        QVERIFY2(x.openTrayMenu(3), "a right click on the icon opens the tray menu");
        x.chooseMenuEntry(QStringLiteral("Down"));
        QVERIFY(X11Session::waitUntil([&] { return !x.visibleWindows(kMainTitle).isEmpty(); }));
        const QRect frame = x.frameGeometry(x.visibleWindows(kMainTitle).first());
        const QPoint offset = frame.center() - QPoint(960, 540);
        QVERIFY2(qAbs(offset.x()) <= 16 && qAbs(offset.y()) <= 16,
                 qPrintable(QStringLiteral("Show: main window frame at %1,%2 %3x%4, not centred")
                                .arg(frame.x())
                                .arg(frame.y())
                                .arg(frame.width())
                                .arg(frame.height())));
        QCOMPARE(x.windowGeometry(x.visibleWindows(kMainTitle).first()).width(), 634);
    }

    void iconDocksInANotificationAreaStartedAfterTheProgram() {
        // A login autostart before the panel: the program is up (Startdel=1 has emptied Temp,
        // the step just before the icon) while no notification area runs.
        X11Session x(X11Session::Tray::Later);
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        program.writeFile(QStringLiteral("Settings.ini"), "[Options]\r\nStartdel=1\r\n");
        program.writeFile(QStringLiteral("Temp/screenshot1.jpg"), "picture");
        QProcess* glim = x.start(program.executable(), {});
        QVERIFY(X11Session::waitUntil([&] { return program.tempFiles().isEmpty(); }));
        QVERIFY(x.startTray());
        QVERIFY(X11Session::waitUntil([&] { return !x.trayIcons(kProgram).isEmpty(); }));
        QCOMPARE(glim->state(), QProcess::Running);
        QVERIFY2(x.openTrayMenu(1), "the docked icon opens the tray menu");
    }

    void secondStartIsRefusedAndLeavesTheFirstAlone() {
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        program.writeFile(QStringLiteral("Temp/screenshot1.jpg"), "earlier picture");
        QProcess* first = x.startInTray(program.executable());
        QVERIFY(first);

        QProcess* second = x.start(program.executable(), {});
        const QString title = QStringLiteral("^Zivra Glimwell Information$");
        QVERIFY(X11Session::waitUntil([&] { return !x.visibleWindows(title).isEmpty(); }));
        x.activate(x.visibleWindows(title).first());
        x.key(QStringLiteral("Return"));
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(second->exitCode(), 0);

        QCOMPARE(first->state(), QProcess::Running);
        QCOMPARE(x.trayIcons(kProgram).size(), 1);
        QCOMPARE(program.tempFiles(), QStringList{QStringLiteral("screenshot1.jpg")});
    }

    void exitAndEndSignalsEmptyTempAndRemoveTheIcon_data() {
        QTest::addColumn<int>("signal"); // 0: the tray menu's Exit
        QTest::addColumn<QStringList>("launcher");
        QTest::addColumn<bool>("ignored");
        // Through env with the default dispositions, whatever the test runner ignores.
        const QStringList plain{QStringLiteral("env"), QStringLiteral("--default-signal=HUP,INT")};
        QTest::newRow("tray menu Exit") << 0 << plain << false;
        QTest::newRow("SIGTERM (kill)") << int(SIGTERM) << plain << false;
        QTest::newRow("SIGINT (Ctrl+C)") << int(SIGINT) << plain << false;
        QTest::newRow("SIGHUP (logout)") << int(SIGHUP) << plain << false;
        // Under nohup a hang-up is ignored, as asked; a kill still runs Exit.
        QTest::newRow("SIGHUP under nohup")
            << int(SIGHUP) << QStringList{QStringLiteral("nohup")} << true;
    }
    void exitAndEndSignalsEmptyTempAndRemoveTheIcon() {
        QFETCH(int, signal);
        QFETCH(QStringList, launcher);
        QFETCH(bool, ignored);
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        program.writeFile(QStringLiteral("Temp/screenshot1.jpg"), "picture");
        QProcess* glim = x.startInTray(launcher.first(), launcher.mid(1) << program.executable());
        QVERIFY(glim);
        if (signal == 0) {
            QVERIFY(x.openTrayMenu(1));
            x.chooseMenuEntry(QStringLiteral("Up")); // the last entry
        } else {
            QCOMPARE(::kill(pid_t(glim->processId()), signal), 0);
        }
        if (ignored) {
            QVERIFY2(!glim->waitForFinished(500), "the hang-up is ignored");
            QCOMPARE(program.tempFiles().size(), 1);
            glim->terminate();
        }
        QVERIFY(glim->waitForFinished(5000));
        QCOMPARE(glim->exitStatus(), QProcess::NormalExit);
        QCOMPARE(glim->exitCode(), 0);
        QVERIFY(program.tempFiles().isEmpty());
        QVERIFY(x.trayIcons(kProgram).isEmpty());
    }

    void closeBoxWithHideclosedLeavesTheIconAndShowBringsAFreshWindow() {
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        program.writeFile(QStringLiteral("Settings.ini"),
                          "[Options]\r\nShowmain=1\r\nHideclosed=1\r\nStartdel=1\r\n");
        program.writeFile(QStringLiteral("Temp/screenshot1.jpg"), "picture");
        QProcess* glim = x.start(program.executable(), {});
        QVERIFY(X11Session::waitUntil([&] { return !x.visibleWindows(kMainTitle).isEmpty(); }));
        // Startdel=1 empties Temp at start.
        QVERIFY(X11Session::waitUntil([&] { return program.tempFiles().isEmpty(); }));
        program.writeFile(QStringLiteral("Temp/screenshot1.jpg"), "picture");

        x.activate(x.visibleWindows(kMainTitle).first());
        x.key(QStringLiteral("alt+F4"));
        QVERIFY(X11Session::waitUntil([&] { return x.visibleWindows(kMainTitle).isEmpty(); }));
        // Startdel=1: the files written after the start survive the close.
        QCOMPARE(program.tempFiles(), QStringList{QStringLiteral("screenshot1.jpg")});

        // Still in the tray after the close: its icon opens the menu and Show brings a window.
        QCOMPARE(x.trayIcons(kProgram).size(), 1);
        QVERIFY(x.openTrayMenu(1));
        x.chooseMenuEntry(QStringLiteral("Down"));
        QVERIFY(X11Session::waitUntil([&] { return !x.visibleWindows(kMainTitle).isEmpty(); }));
        QCOMPARE(glim->state(), QProcess::Running);
    }
};

QTEST_GUILESS_MAIN(TestTrayStartup)
#include "tst_TrayStartup.moc"
