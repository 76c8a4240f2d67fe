#include "support/PatternWindow.h"
#include "support/PictureCompare.h"
#include "support/X11Session.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QRasterWindow>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

const char* const kTargetSwitch = "--click-target";
const QString kTargetTitle = QStringLiteral("Glimwell click target");

// The window beneath the drag window: the test pattern, and every button press on it written
// to its output as "press X Y" (window pixels).
class ClickTarget : public QRasterWindow {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).drawImage(0, 0, pattern::picture(size()));
        if (title().isEmpty())
            QTimer::singleShot(0, this, [this] { setTitle(kTargetTitle); });
    }
    void mousePressEvent(QMouseEvent* event) override {
        const QPoint at = event->position().toPoint();
        std::printf("press %d %d\n", at.x(), at.y());
        std::fflush(stdout);
    }
};

bool runTargetIfAsked(int argc, char** argv, int& exitCode) {
    if (argc != 6 || QByteArray(argv[1]) != kTargetSwitch)
        return false;
    QGuiApplication app(argc, argv);
    ClickTarget window;
    window.setGeometry(QByteArray(argv[2]).toInt(), QByteArray(argv[3]).toInt(),
                       QByteArray(argv[4]).toInt(), QByteArray(argv[5]).toInt());
    window.show();
    exitCode = QGuiApplication::exec();
    return true;
}

} // namespace

// "MSN Shot" of the real program in a real X session: the drag window moved by the window
// manager, its see-through frame, and the capture of "S" read from the screen.
class TestMsnShot : public QObject {
    Q_OBJECT

private:
    const QString kDragTitle = QStringLiteral("^MSN Shot$");
    static constexpr int kTolerance = 8;

    // Presses `button` at `from`, moves to `to` in two steps and lets go.
    static void drag(const X11Session& x, QPoint from, QPoint to, const QString& button) {
        const QPoint half = (from + to) / 2;
        x.run("xdotool",
              {"mousemove", QString::number(from.x()), QString::number(from.y()), "mousedown",
               button, "sleep", "0.3", "mousemove", QString::number(half.x()),
               QString::number(half.y()), "sleep", "0.3", "mousemove", QString::number(to.x()),
               QString::number(to.y()), "sleep", "0.3", "mouseup", button});
    }

private slots:
    void draggedByItsStripClickedThroughAndCapturedWithS() {
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        QVERIFY(x.startInTray(program.executable()));
        const QRect targetPlace(200, 150, 700, 500);
        QProcess* target = x.start(
            QCoreApplication::applicationFilePath(),
            {kTargetSwitch, QString::number(targetPlace.x()), QString::number(targetPlace.y()),
             QString::number(targetPlace.width()), QString::number(targetPlace.height())});
        QVERIFY(X11Session::waitUntil(
            [&] { return !x.visibleWindows('^' + kTargetTitle + '$').isEmpty(); }));
        const QRect targetArea = x.windowGeometry(x.visibleWindows('^' + kTargetTitle + '$')[0]);

        // Tray > MSN Shot: the drag window at the centre of the 1920 x 1080 screen.
        QVERIFY(x.openTrayMenu(1));
        x.chooseMenuEntry("Down Down Down Down Down");
        QVERIFY(X11Session::waitUntil([&] { return !x.visibleWindows(kDragTitle).isEmpty(); }));
        const qulonglong window = x.visibleWindows(kDragTitle).first();
        QCOMPARE(x.windowGeometry(window), QRect(908, 483, 104, 113));

        // The right button on the strip does not move it; the left button does.
        drag(x, {908 + 3, 483 + 9}, {700, 400}, "3");
        QTest::qWait(300);
        QCOMPARE(x.windowGeometry(window).topLeft(), QPoint(908, 483));
        drag(x, {908 + 3, 483 + 9}, {400 + 3, 300 + 9}, "1");
        QVERIFY2(X11Session::waitUntil(
                     [&] { return x.windowGeometry(window).topLeft() == QPoint(400, 300); }),
                 qPrintable(QStringLiteral("at %1,%2")
                                .arg(x.windowGeometry(window).x())
                                .arg(x.windowGeometry(window).y())));

        // A click inside the frame goes to the window beneath.
        const QPoint inside(400 + 50, 300 + 60);
        x.click(inside.x(), inside.y());
        const QByteArray expected = QStringLiteral("press %1 %2\n")
                                        .arg(inside.x() - targetArea.x())
                                        .arg(inside.y() - targetArea.y())
                                        .toLatin1();
        QByteArray presses;
        QVERIFY2(X11Session::waitUntil([&] {
                     target->waitForReadyRead(50);
                     presses += target->readAllStandardOutput();
                     return presses.contains(expected);
                 }),
                 presses.constData());

        // "S", still above the window that took the click.
        x.click(400 + 88, 300 + 8);
        const QString path = program.path("Temp/screenshot1.jpg");
        QImage shot;
        QVERIFY(X11Session::waitUntil([&] { return shot.load(path); }, 15000));
        QCOMPARE(shot.size(), QSize(99, 97));
        // Columns 0 to 95 are the screen's columns 1 to 96 inside the frame, rows 17 to 113
        // below the window's top; row 95 is the frame's own bottom edge.
        const QImage screen = pattern::picture(targetArea.size());
        const QPoint origin = QPoint(400 + 1, 300 + 17) - targetArea.topLeft();
        for (const QRect rows : {QRect(0, 0, 96, 95), QRect(0, 96, 96, 1)}) {
            QVERIFY2(largestDifference(shot.copy(rows), screen.copy(rows.translated(origin))) <=
                         kTolerance,
                     qPrintable(QStringLiteral("rows from %1").arg(rows.y())));
        }
        QImage edge(96, 1, QImage::Format_RGB888);
        edge.fill(QColor(192, 192, 192));
        QVERIFY(largestDifference(shot.copy(0, 95, 96, 1), edge) <= kTolerance);
        QImage frameColour(3, 97, QImage::Format_RGB888);
        frameColour.fill(QColor(64, 64, 64));
        QVERIFY(largestDifference(shot.copy(96, 0, 3, 97), frameColour) <= kTolerance);

        // The main window comes back; the drag window is gone.
        QVERIFY(
            X11Session::waitUntil([&] { return !x.visibleWindows("^Zivra Glimwell$").isEmpty(); }));
        QVERIFY(X11Session::waitUntil([&] { return x.visibleWindows(kDragTitle).isEmpty(); }));
        QCOMPARE(program.tempFiles(), QStringList{"screenshot1.jpg"});
    }
};

int main(int argc, char** argv) {
    int exitCode = 0;
    if (runTargetIfAsked(argc, argv, exitCode))
        return exitCode;
    QCoreApplication app(argc, argv);
    TestMsnShot test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_MsnShot.moc"
