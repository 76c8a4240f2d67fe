#include "support/PatternWindow.h"
#include "support/PictureCompare.h"
#include "support/X11Session.h"

#include <QPainter>
#include <QRegularExpression>
#include <QTest>

// The captures of the real program in a real X session, each over a window of known pixels:
// what lands in Temp/ is what the screen showed, read by the X11 screen grabber.
class TestCaptures : public QObject {
    Q_OBJECT

private:
    // A quality-100 JPEG with full chroma keeps every component within a few steps.
    static constexpr int kTolerance = 8;
    std::unique_ptr<X11Session> m_x;
    std::unique_ptr<ProgramCopy> m_program;

    static qulonglong hexField(const QString& text, const QString& pattern) {
        return QRegularExpression(pattern).match(text).captured(1).toULongLong(nullptr, 0);
    }

private slots:
    // Each case in a fresh session with the program in the tray.
    void init() {
        m_x = std::make_unique<X11Session>();
        QVERIFY2(m_x->isReady(), qPrintable(m_x->error()));
        m_program = std::make_unique<ProgramCopy>();
        QVERIFY(m_x->startInTray(m_program->executable()));
    }
    void cleanup() { m_x.reset(); }

    void fullScreenshotFromTheTrayAndFromTheToolsMenu() {
        // Where the main window will stand, centred, so that it would hide part of the pattern
        // were it not hidden during the capture.
        const QRect client = m_x->windowGeometry(pattern::show(*m_x, {500, 250, 900, 560}));
        QVERIFY(m_x->trayMenu("Down Down Down Down"));
        const QImage first = m_program->screenshot(1);
        QCOMPARE(first.size(), QSize(1920, 1080));
        QVERIFY(largestDifference(first.copy(client), pattern::picture(client.size())) <=
                kTolerance);
        // The capture brings the main window up.
        const qulonglong main = m_x->waitForWindow(X11Session::kMain);
        QVERIFY2(client.intersects(m_x->windowGeometry(main)), "the main window over the pattern");

        // Tools (Right from File, which opens on its first entry) > Full Screenshot.
        QVERIFY(m_x->mainMenu(main, "Right Down Down"));
        const QImage second = m_program->screenshot(2);
        QCOMPARE(second.size(), QSize(1920, 1080));
        QVERIFY2(largestDifference(second.copy(client), pattern::picture(client.size())) <=
                     kTolerance,
                 "the main window is not in the picture");
        QCOMPARE(m_program->tempFiles().size(), 2);
    }

    void activeWindowShotTakesTheWindowActivatedWithItsFrame() {
        // Partly off the right edge of the screen: the picture keeps the whole frame, black
        // where the screen ends.
        const qulonglong window = pattern::show(*m_x, {1700, 200, 400, 300});
        QVERIFY(window);
        QVERIFY(m_x->trayMenu("Down Down"));
        QVERIFY(m_x->answer(X11Session::kInformation));
        m_x->activate(window);
        const QRect frame = m_x->frameGeometry(window);
        const QRect client = m_x->windowGeometry(window);
        QVERIFY2(frame.right() >= 1920 && frame.height() > client.height(), "a captioned frame");

        const QImage shot = m_program->screenshot(1);
        QCOMPARE(shot.size(), frame.size());
        // The client area inside the frame, up to the screen's right edge, is the pattern.
        const QRect inside(client.topLeft() - frame.topLeft(),
                           QSize(1920 - client.x(), client.height()));
        QVERIFY(largestDifference(shot.copy(inside), pattern::picture(inside.size())) <=
                kTolerance);
        // Off the screen: black.
        const QRect outside(1920 - frame.x(), 0, frame.right() + 1 - 1920, frame.height());
        QImage black(outside.size(), QImage::Format_RGB888);
        black.fill(Qt::black);
        QVERIFY(largestDifference(shot.copy(outside), black) <= kTolerance);
    }

    void selectorFromTheTrayAndFromCtrlF9AndTheDesktopAsActiveWindow() {
        const QRect client = m_x->windowGeometry(pattern::show(*m_x, {300, 200, 800, 500}));
        const QImage known = pattern::picture(client.size());
        const QPoint icon = m_x->windowGeometry(m_x->trayIcons().value(0)).center();

        // Tray > Selector Shot, dragged from the bottom right to the top left, over everything
        // (the tray icon included).
        QVERIFY(m_x->trayMenu("Down Down Down"));
        const qulonglong overlay = m_x->waitForWindow("^Glim$");
        QCOMPARE(m_x->windowGeometry(overlay), QRect(0, 0, 1920, 1080));
        const QString underIcon =
            m_x->run("xdotool", {"mousemove", QString::number(icon.x()), QString::number(icon.y()),
                                 "getmouselocation", "--shell"});
        QCOMPARE(hexField(underIcon, QStringLiteral("WINDOW=(\\d+)")), overlay);
        m_x->drag({{1000, 600}, {700, 400}, {400, 250}});
        const QImage first = m_program->screenshot(1);
        QCOMPARE(first.size(), QSize(600, 350));
        const QRect firstInPattern(QPoint(400, 250) - client.topLeft(), QSize(600, 350));
        QVERIFY(largestDifference(first, known.copy(firstInPattern)) <= kTolerance);
        QVERIFY(m_x->waitForWindow(X11Session::kMain));

        // Ctrl+F9 from wherever the focus is: a recorded Selector Shot.
        m_x->key("ctrl+F9");
        QVERIFY(X11Session::waitUntil([&] { return m_x->visibleWindows("^Glim$").size() == 1; }));
        const QPoint corner = client.topLeft() + QPoint(64, 32);
        m_x->drag({corner, corner + QPoint(200, 100)}, 3);
        QVERIFY(largestDifference(m_program->screenshot(2), known.copy(64, 32, 200, 100)) <=
                kTolerance);

        // Act. Window Shot, the message closed, then a click on the bare desktop: no window is
        // active when the five seconds end, and the picture is the whole screen.
        QVERIFY(m_x->trayMenu("Down Down"));
        QVERIFY(m_x->answer(X11Session::kInformation));
        m_x->click(1500, 900);
        QVERIFY(X11Session::waitUntil([&] {
            const QString active = m_x->run("xprop", {"-root", "_NET_ACTIVE_WINDOW"});
            return hexField(active, "# (0x[0-9a-f]+)") == 0;
        }));
        const QImage third = m_program->screenshot(3);
        QCOMPARE(third.size(), QSize(1920, 1080));
        QVERIFY(largestDifference(third.copy(client), known) <= kTolerance);
    }

    // "MSN Shot": the drag window moved by the window manager, its see-through frame, and the
    // capture of "S" read from the screen.
    void msnShotDraggedByItsStripClickedThroughAndCapturedWithS() {
        const qulonglong target = pattern::show(*m_x, {200, 150, 700, 500});
        QVERIFY(target);
        QVERIFY(m_x->trayMenu("Down Down Down Down Down"));
        const qulonglong window = m_x->waitForWindow("^MSN Shot$");
        QCOMPARE(m_x->windowGeometry(window), QRect(908, 483, 104, 113)); // centred
        // Pressed at (3, 9) of the window and let go at (403, 309) in two steps: the right
        // button on the strip does not move it, the left button does.
        const QList<QPoint> path{{911, 492}, {657, 400}, {403, 309}};
        m_x->drag(path, 3);
        QCOMPARE(m_x->windowGeometry(window).topLeft(), QPoint(908, 483));
        m_x->drag(path, 1);
        QVERIFY(X11Session::waitUntil(
            [&] { return m_x->windowGeometry(window).topLeft() == QPoint(400, 300); }));

        // A click inside the frame goes to the window beneath, which the window manager then
        // activates.
        m_x->activate(window);
        m_x->click(450, 360);
        QVERIFY(X11Session::waitUntil([&] {
            return m_x->run("xdotool", {"getactivewindow"}).trimmed().toULongLong() == target;
        }));

        // "S", still above the window that took the click. Columns 0 to 95 are the screen's
        // columns 1 to 96 inside the frame, rows 17 to 113 below the window's top; row 95 is
        // the frame's own bottom edge, the last three columns the viewer frame's colour.
        m_x->click(400 + 88, 300 + 8);
        const QImage shot = m_program->screenshot(1);
        const QPoint inPattern = QPoint(401, 317) - m_x->windowGeometry(target).topLeft();
        QImage expected = pattern::picture({700, 500}).copy(QRect(inPattern, QSize(99, 97)));
        QPainter painter(&expected);
        painter.fillRect(0, 95, 96, 1, QColor(192, 192, 192));
        painter.fillRect(96, 0, 3, 97, QColor(64, 64, 64));
        painter.end();
        QVERIFY(largestDifference(shot, expected) <= kTolerance);
        QVERIFY(X11Session::waitUntil([&] { return m_x->visibleWindows("^MSN Shot$").isEmpty(); }));
        QVERIFY(!m_x->visibleWindows(X11Session::kMain).isEmpty());
    }
};

PATTERN_TEST_MAIN(TestCaptures)
#include "tst_Captures.moc"
