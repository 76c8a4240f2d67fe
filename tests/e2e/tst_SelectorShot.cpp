#include "support/PatternWindow.h"
#include "support/PictureCompare.h"
#include "support/X11Session.h"

#include <QRegularExpression>
#include <QTest>

// Selector Shot of the real program in a real X session, from the tray menu and from Ctrl+F9,
// and the active-window shot with the desktop focused: what lands in Temp/.
class TestSelectorShot : public QObject {
    Q_OBJECT

    // A quality-100 JPEG with full chroma keeps every component within a few steps.
    static constexpr int kTolerance = 8;

    static QString xdotool(const X11Session& x, const QString& commands) {
        return x.run("xdotool", commands.split(QLatin1Char(' ')));
    }
    static QImage screenshot(const ProgramCopy& program, int number) {
        return X11Session::waitForPicture(
            program.path(QStringLiteral("Temp/screenshot%1.jpg").arg(number)));
    }
    static qulonglong hexField(const QString& text, const QString& pattern) {
        return QRegularExpression(pattern).match(text).captured(1).toULongLong(nullptr, 0);
    }

private slots:
    void selectorFromTheTrayAndFromCtrlF9AndTheDesktopAsActiveWindow() {
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        QVERIFY(x.startInTray(program.executable()));
        const QRect client = x.windowGeometry(pattern::show(x, QRect(300, 200, 800, 500)));
        const QImage known = pattern::picture(client.size());
        const QPoint icon = x.windowGeometry(x.trayIcons("Glimwell").value(0)).center();

        // Tray > Selector Shot, dragged from the bottom right to the top left.
        QVERIFY(x.openTrayMenu(1));
        x.chooseMenuEntry("Down Down Down");
        const qulonglong overlay = x.waitForWindow("^Glim$");
        QCOMPARE(x.windowGeometry(overlay), QRect(0, 0, 1920, 1080));
        const QString underIcon = xdotool(
            x,
            QStringLiteral("mousemove %1 %2 getmouselocation --shell").arg(icon.x()).arg(icon.y()));
        QCOMPARE(hexField(underIcon, QStringLiteral("WINDOW=(\\d+)")), overlay);
        xdotool(x, QStringLiteral("mousemove 1000 600 mousedown 1 mousemove 700 400 sleep 0.2 "
                                  "mousemove 400 250 sleep 0.2 mouseup 1"));
        const QImage first = screenshot(program, 1);
        QCOMPARE(first.size(), QSize(600, 350));
        const QRect firstInPattern(QPoint(400, 250) - client.topLeft(), QSize(600, 350));
        QVERIFY(largestDifference(first, known.copy(firstInPattern)) <= kTolerance);
        QVERIFY(x.waitForWindow("^Zivra Glimwell$"));

        // Ctrl+F9 from wherever the focus is: a recorded Selector Shot.
        x.key("ctrl+F9");
        QVERIFY(X11Session::waitUntil([&] { return x.visibleWindows("^Glim$").size() == 1; }));
        const QPoint corner = client.topLeft() + QPoint(64, 32);
        xdotool(x, QStringLiteral("mousemove %1 %2 mousedown 3 mousemove %3 %4 sleep 0.2 mouseup 3")
                       .arg(corner.x())
                       .arg(corner.y())
                       .arg(corner.x() + 200)
                       .arg(corner.y() + 100));
        QVERIFY(largestDifference(screenshot(program, 2), known.copy(64, 32, 200, 100)) <=
                kTolerance);

        // Act. Window Shot, the message closed, then a click on the bare desktop: no window is
        // active when the five seconds end, and the picture is the whole screen.
        QVERIFY(x.openTrayMenu(1));
        x.chooseMenuEntry("Down Down");
        x.activate(x.waitForWindow("^Zivra Glimwell Information$"));
        x.key("Return");
        x.click(1500, 900);
        QVERIFY(X11Session::waitUntil([&] {
            const QString active = x.run("xprop", {"-root", "_NET_ACTIVE_WINDOW"});
            return hexField(active, "# (0x[0-9a-f]+)") == 0;
        }));
        const QImage third = screenshot(program, 3);
        QCOMPARE(third.size(), QSize(1920, 1080));
        QVERIFY(largestDifference(third.copy(client), known) <= kTolerance);
    }
};

PATTERN_TEST_MAIN(TestSelectorShot)
#include "tst_SelectorShot.moc"
