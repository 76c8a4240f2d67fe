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
    const QString kPatternTitle = QStringLiteral("^Glimwell test pattern$");
    // A quality-100 JPEG with full chroma keeps every component within a few steps.
    static constexpr int kTolerance = 8;

    // Shows the pattern window with its client area at `place` and waits until it is painted
    // (it takes its name only then); its window id.
    qulonglong showPattern(X11Session& x, const QRect& place) {
        x.start(QCoreApplication::applicationFilePath(), pattern::arguments(place));
        qulonglong window = 0;
        X11Session::waitUntil([&] {
            const QList<qulonglong> found = x.visibleWindows(kPatternTitle);
            window = found.isEmpty() ? 0 : found.first();
            return window != 0;
        });
        return window;
    }
    static QImage waitForScreenshot(const ProgramCopy& program, const QString& name) {
        const QString path = program.path(QStringLiteral("Temp/") + name);
        QImage written;
        X11Session::waitUntil([&] { return written.load(path); }, 15000);
        return written;
    }
    static QString describe(const QRect& r) {
        return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }

private slots:
    void fullScreenshotFromTheTrayAndFromTheToolsMenu() {
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        QVERIFY(x.startInTray(program.executable()));
        // Where the main window will stand, centred, so that it would hide part of the pattern
        // were it not hidden during the capture.
        const qulonglong window = showPattern(x, QRect(500, 250, 900, 560));
        QVERIFY(window);
        const QRect client = x.windowGeometry(window);

        QVERIFY(x.openTrayMenu(1));
        x.chooseMenuEntry(QStringLiteral("Down Down Down Down"));
        const QImage first = waitForScreenshot(program, QStringLiteral("screenshot1.jpg"));
        QCOMPARE(first.size(), QSize(1920, 1080));
        QVERIFY2(largestDifference(first.copy(client), pattern::picture(client.size())) <=
                     kTolerance,
                 qPrintable(describe(client)));
        // The capture brings the main window up.
        QVERIFY(X11Session::waitUntil([&] { return !x.visibleWindows(kMainTitle).isEmpty(); }));
        const qulonglong main = x.visibleWindows(kMainTitle).first();
        const QRect mainArea = x.windowGeometry(main);
        QVERIFY2(client.intersects(mainArea), "the main window stands over the pattern");

        // Tools > Full Screenshot: the menu bar's File title, Right to Tools (which opens on
        // its first entry), two entries down.
        x.activate(main);
        QVERIFY(x.popUp([&] { x.click(mainArea.x() + 16, mainArea.y() + 10); }));
        x.key(QStringLiteral("Right"));
        x.chooseMenuEntry(QStringLiteral("Down Down"));
        const QImage second = waitForScreenshot(program, QStringLiteral("screenshot2.jpg"));
        QCOMPARE(second.size(), QSize(1920, 1080));
        QVERIFY2(largestDifference(second.copy(client), pattern::picture(client.size())) <=
                     kTolerance,
                 "the main window is not in the picture");
        QCOMPARE(program.tempFiles(), (QStringList{QStringLiteral("screenshot1.jpg"),
                                                   QStringLiteral("screenshot2.jpg")}));
        QVERIFY(X11Session::waitUntil([&] { return !x.visibleWindows(kMainTitle).isEmpty(); }));
    }

    void activeWindowShotTakesTheWindowActivatedWithItsFrame() {
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        QVERIFY(x.startInTray(program.executable()));
        // Partly off the right edge of the screen: the picture keeps the whole frame, black
        // where the screen ends.
        const qulonglong window = showPattern(x, QRect(1700, 200, 400, 300));
        QVERIFY(window);

        QVERIFY(x.openTrayMenu(1));
        x.chooseMenuEntry(QStringLiteral("Down Down"));
        const QString title = QStringLiteral("^Zivra Glimwell Information$");
        QVERIFY(X11Session::waitUntil([&] { return !x.visibleWindows(title).isEmpty(); }));
        x.activate(x.visibleWindows(title).first());
        x.key(QStringLiteral("Return"));
        QVERIFY(X11Session::waitUntil([&] { return x.visibleWindows(title).isEmpty(); }));
        x.activate(window);
        const QRect frame = x.frameGeometry(window);
        const QRect client = x.windowGeometry(window);
        QVERIFY2(frame.right() >= 1920, qPrintable(describe(frame)));
        QVERIFY2(frame.height() > client.height(), "the frame has a caption");

        const QImage shot = waitForScreenshot(program, QStringLiteral("screenshot1.jpg"));
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

int main(int argc, char** argv) {
    int exitCode = 0;
    if (pattern::runIfAsked(argc, argv, exitCode))
        return exitCode;
    QCoreApplication app(argc, argv);
    TestCaptures test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_Captures.moc"
