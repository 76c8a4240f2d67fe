#include "support/PatternWindow.h"
#include "support/PictureCompare.h"
#include "support/X11Session.h"

#include <QPainter>
#include <QTest>

// "MSN Shot" of the real program: the drag window moved by the window manager, its
// see-through frame, and the capture of "S" read from the screen.
class TestMsnShot : public QObject {
    Q_OBJECT

    // Presses `button` at `from`, moves to `to` in two steps and lets go.
    static void drag(const X11Session& x, QPoint from, QPoint to, const QString& button) {
        QStringList steps = {"mousemove", QString::number(from.x()), QString::number(from.y()),
                             "mousedown", button};
        for (const QPoint p : {(from + to) / 2, to})
            steps << "sleep"
                  << "0.3"
                  << "mousemove" << QString::number(p.x()) << QString::number(p.y());
        x.run("xdotool", steps << "sleep"
                               << "0.3"
                               << "mouseup" << button);
    }

private slots:
    void draggedByItsStripClickedThroughAndCapturedWithS() {
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        QVERIFY(x.startInTray(program.executable()));
        const qulonglong target = pattern::show(x, {200, 150, 700, 500});
        QVERIFY(target);

        QVERIFY(x.openTrayMenu(1));
        x.chooseMenuEntry("Down Down Down Down Down"); // MSN Shot
        const qulonglong window = x.waitForWindow("^MSN Shot$");
        QCOMPARE(x.windowGeometry(window), QRect(908, 483, 104, 113)); // centred
        // The right button on the strip does not move it; the left button does.
        drag(x, {908 + 3, 483 + 9}, {700, 400}, "3");
        QCOMPARE(x.windowGeometry(window).topLeft(), QPoint(908, 483));
        drag(x, {908 + 3, 483 + 9}, {400 + 3, 300 + 9}, "1");
        QVERIFY(X11Session::waitUntil(
            [&] { return x.windowGeometry(window).topLeft() == QPoint(400, 300); }));

        // A click inside the frame goes to the window beneath, which the window manager then
        // activates.
        x.activate(window);
        x.click(450, 360);
        QVERIFY(X11Session::waitUntil([&] {
            return x.run("xdotool", {"getactivewindow"}).trimmed().toULongLong() == target;
        }));

        // "S", still above the window that took the click. Columns 0 to 95 are the screen's
        // columns 1 to 96 inside the frame, rows 17 to 113 below the window's top; row 95 is
        // the frame's own bottom edge, the last three columns the viewer frame's colour.
        x.click(400 + 88, 300 + 8);
        const QImage shot = X11Session::waitForPicture(program.path("Temp/screenshot1.jpg"));
        const QPoint inPattern = QPoint(401, 317) - x.windowGeometry(target).topLeft();
        QImage expected = pattern::picture({700, 500}).copy(QRect(inPattern, QSize(99, 97)));
        QPainter painter(&expected);
        painter.fillRect(0, 95, 96, 1, QColor(192, 192, 192));
        painter.fillRect(96, 0, 3, 97, QColor(64, 64, 64));
        painter.end();
        QVERIFY(largestDifference(shot, expected) <= 8);
        QVERIFY(X11Session::waitUntil([&] { return x.visibleWindows("^MSN Shot$").isEmpty(); }));
        QVERIFY(!x.visibleWindows("^Zivra Glimwell$").isEmpty());
    }
};

PATTERN_TEST_MAIN(TestMsnShot)
#include "tst_MsnShot.moc"
