#include "support/PatternWindow.h"
#include "support/PictureCompare.h"
#include "support/X11Session.h"

#include <QRegularExpression>
#include <QTest>

// Selector Shot of the real program in a real X session: the overlay over everything, the
// rectangle dragged with xdotool, the hot key, and what lands in Temp/.
class TestSelectorShot : public QObject {
    Q_OBJECT

private:
    const QString kOverlayTitle = QStringLiteral("^Glim$");
    const QString kMainTitle = QStringLiteral("^Zivra Glimwell$");
    // A quality-100 JPEG with full chroma keeps every component within a few steps.
    static constexpr int kTolerance = 8;

    // The pattern window with its client area at `place`, painted: its client rectangle.
    QRect showPattern(X11Session& x, const QRect& place) {
        x.start(QCoreApplication::applicationFilePath(), pattern::arguments(place));
        qulonglong window = 0;
        X11Session::waitUntil([&] {
            const QList<qulonglong> found =
                x.visibleWindows(QStringLiteral("^Glimwell test pattern$"));
            window = found.isEmpty() ? 0 : found.first();
            return window != 0;
        });
        return window ? x.windowGeometry(window) : QRect();
    }
    qulonglong waitForOverlay(const X11Session& x) {
        qulonglong overlay = 0;
        X11Session::waitUntil([&] {
            const QList<qulonglong> found = x.visibleWindows(kOverlayTitle);
            overlay = found.isEmpty() ? 0 : found.first();
            return overlay != 0;
        });
        return overlay;
    }
    // Presses button 1 at `from`, moves through the middle to `to` and lets go there.
    static void drag(const X11Session& x, QPoint from, QPoint to) {
        const QPoint middle = (from + to) / 2;
        const auto n = [](int value) { return QString::number(value); };
        x.run(QStringLiteral("xdotool"),
              {QStringLiteral("mousemove"), n(from.x()), n(from.y()), QStringLiteral("mousedown"),
               QStringLiteral("1"), QStringLiteral("mousemove"), n(middle.x()), n(middle.y()),
               QStringLiteral("sleep"), QStringLiteral("0.2"), QStringLiteral("mousemove"),
               n(to.x()), n(to.y()), QStringLiteral("sleep"), QStringLiteral("0.2"),
               QStringLiteral("mouseup"), QStringLiteral("1")});
    }
    // The top-level window under the point, as the X server stacks them.
    static qulonglong windowAt(const X11Session& x, QPoint point) {
        const QString shell = x.run(QStringLiteral("xdotool"),
                                    {QStringLiteral("mousemove"), QString::number(point.x()),
                                     QString::number(point.y()), QStringLiteral("getmouselocation"),
                                     QStringLiteral("--shell")});
        return QRegularExpression(QStringLiteral("WINDOW=(\\d+)"))
            .match(shell)
            .captured(1)
            .toULongLong();
    }
    static QImage waitForScreenshot(const ProgramCopy& program, const QString& name) {
        const QString path = program.path(QStringLiteral("Temp/") + name);
        QImage written;
        X11Session::waitUntil([&] { return written.load(path); }, 15000);
        return written;
    }

private slots:
    void selectorShotDraggedUpAndLeftGivesThosePixels() {
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        QVERIFY(x.startInTray(program.executable()));
        const QRect client = showPattern(x, QRect(300, 200, 800, 500));
        QVERIFY(!client.isEmpty());
        const QList<qulonglong> icons = x.trayIcons(QStringLiteral("Glimwell"));
        QVERIFY(!icons.isEmpty());
        const QPoint icon = x.windowGeometry(icons.first()).center();

        QVERIFY(x.openTrayMenu(1));
        x.chooseMenuEntry(QStringLiteral("Down Down Down"));
        const qulonglong overlay = waitForOverlay(x);
        QVERIFY(overlay);
        QCOMPARE(x.windowGeometry(overlay), QRect(0, 0, 1920, 1080));
        QCOMPARE(windowAt(x, icon), overlay);

        drag(x, QPoint(1000, 600), QPoint(400, 250));
        const QImage shot = waitForScreenshot(program, QStringLiteral("screenshot1.jpg"));
        QCOMPARE(shot.size(), QSize(600, 350));
        const QRect inPattern(QPoint(400, 250) - client.topLeft(), QSize(600, 350));
        QVERIFY(largestDifference(shot, pattern::picture(client.size()).copy(inPattern)) <=
                kTolerance);
        QVERIFY(X11Session::waitUntil([&] { return x.visibleWindows(kOverlayTitle).isEmpty(); }));
        QVERIFY(X11Session::waitUntil([&] { return !x.visibleWindows(kMainTitle).isEmpty(); }));
    }

    void ctrlF9StartsARecordedSelectorShot() {
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        QVERIFY(x.startInTray(program.executable()));
        const QRect client = showPattern(x, QRect(100, 100, 600, 400));
        QVERIFY(!client.isEmpty());

        x.key(QStringLiteral("ctrl+F9"));
        QVERIFY(waitForOverlay(x));
        drag(x, client.topLeft() + QPoint(64, 32), client.topLeft() + QPoint(264, 132));
        const QImage shot = waitForScreenshot(program, QStringLiteral("screenshot1.jpg"));
        QVERIFY(largestDifference(shot, pattern::picture(client.size()).copy(64, 32, 200, 100)) <=
                kTolerance);
        QVERIFY(X11Session::waitUntil([&] { return !x.visibleWindows(kMainTitle).isEmpty(); }));
    }

    void activeWindowShotWithTheDesktopFocusedRecordsTheFullScreen() {
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        QVERIFY(x.startInTray(program.executable()));
        const QRect client = showPattern(x, QRect(200, 150, 500, 300));
        QVERIFY(!client.isEmpty());

        QVERIFY(x.openTrayMenu(1));
        x.chooseMenuEntry(QStringLiteral("Down Down"));
        const QString title = QStringLiteral("^Zivra Glimwell Information$");
        QVERIFY(X11Session::waitUntil([&] { return !x.visibleWindows(title).isEmpty(); }));
        x.activate(x.visibleWindows(title).first());
        x.key(QStringLiteral("Return"));
        QVERIFY(X11Session::waitUntil([&] { return x.visibleWindows(title).isEmpty(); }));
        // A click on the bare desktop takes the focus from every window.
        x.click(1500, 900);
        QVERIFY(X11Session::waitUntil([&] {
            const QString active =
                x.run(QStringLiteral("xprop"),
                      {QStringLiteral("-root"), QStringLiteral("_NET_ACTIVE_WINDOW")});
            return QRegularExpression(QStringLiteral("# (0x[0-9a-f]+)"))
                       .match(active)
                       .captured(1)
                       .toULongLong(nullptr, 16) == 0;
        }));

        const QImage shot = waitForScreenshot(program, QStringLiteral("screenshot1.jpg"));
        QCOMPARE(shot.size(), QSize(1920, 1080));
        QVERIFY(largestDifference(shot.copy(client), pattern::picture(client.size())) <=
                kTolerance);
    }
};

int main(int argc, char** argv) {
    int exitCode = 0;
    if (pattern::runIfAsked(argc, argv, exitCode))
        return exitCode;
    QCoreApplication app(argc, argv);
    TestSelectorShot test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SelectorShot.moc"
