#include "support/PatternWindow.h"
#include "support/PictureCompare.h"
#include "support/X11Session.h"

#include <QTest>

// Full-screen and active-window captures of the real program in a real X session: what lands
// in Temp/ is what the screen showed, read by the X11 screen grabber.
class TestCaptures : public QObject {
    Q_OBJECT

private:
    const QString kMainTitle = QStringLiteral("^Zivra Glimwell$");
    // A quality-100 JPEG with full chroma keeps every component within a few steps.
    static constexpr int kTolerance = 8;

    static QImage screenshot(const ProgramCopy& program, const QString& name) {
        return X11Session::waitForPicture(program.path("Temp/" + name));
    }

private slots:
    void fullScreenshotFromTheTrayAndFromTheToolsMenu() {
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        QVERIFY(x.startInTray(program.executable()));
        // Where the main window will stand, centred, so that it would hide part of the pattern
        // were it not hidden during the capture.
        const qulonglong window = pattern::show(x, QRect(500, 250, 900, 560));
        QVERIFY(window);
        const QRect client = x.windowGeometry(window);

        QVERIFY(x.openTrayMenu(1));
        x.chooseMenuEntry("Down Down Down Down");
        const QImage first = screenshot(program, "screenshot1.jpg");
        QCOMPARE(first.size(), QSize(1920, 1080));
        QVERIFY(largestDifference(first.copy(client), pattern::picture(client.size())) <=
                kTolerance);
        // The capture brings the main window up.
        const qulonglong main = x.waitForWindow(kMainTitle);
        QVERIFY(main);
        const QRect mainArea = x.windowGeometry(main);
        QVERIFY2(client.intersects(mainArea), "the main window stands over the pattern");

        // Tools > Full Screenshot: the menu bar's File title, Right to Tools (which opens on
        // its first entry), two entries down.
        x.activate(main);
        QVERIFY(x.popUp([&] { x.click(mainArea.x() + 16, mainArea.y() + 10); }));
        x.key("Right");
        x.chooseMenuEntry("Down Down");
        const QImage second = screenshot(program, "screenshot2.jpg");
        QCOMPARE(second.size(), QSize(1920, 1080));
        QVERIFY2(largestDifference(second.copy(client), pattern::picture(client.size())) <=
                     kTolerance,
                 "the main window is not in the picture");
        QCOMPARE(program.tempFiles().size(), 2);
    }

    void activeWindowShotTakesTheWindowActivatedWithItsFrame() {
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        QVERIFY(x.startInTray(program.executable()));
        // Partly off the right edge of the screen: the picture keeps the whole frame, black
        // where the screen ends.
        const qulonglong window = pattern::show(x, QRect(1700, 200, 400, 300));
        QVERIFY(window);

        QVERIFY(x.openTrayMenu(1));
        x.chooseMenuEntry("Down Down");
        const QString title = "^Zivra Glimwell Information$";
        x.activate(x.waitForWindow(title));
        x.key("Return");
        QVERIFY(X11Session::waitUntil([&] { return x.visibleWindows(title).isEmpty(); }));
        x.activate(window);
        const QRect frame = x.frameGeometry(window);
        const QRect client = x.windowGeometry(window);
        QVERIFY2(frame.right() >= 1920 && frame.height() > client.height(), "a captioned frame");

        const QImage shot = screenshot(program, "screenshot1.jpg");
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
};

PATTERN_TEST_MAIN(TestCaptures)
#include "tst_Captures.moc"
