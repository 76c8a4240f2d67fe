#include "platform/x11/X11ScreenGrabber.h"
#include "support/PatternWindow.h"
#include "support/PictureCompare.h"
#include "support/X11Session.h"

#include <QPainter>
#include <QTest>

using namespace glim;

// The X11 screen grabber against a real X server: what it reads is the known pattern that a
// window shows, through the shared-memory segment and through the plain GetImage read, on a
// 24-bit screen and on a 16-bit one.
class TestScreenGrabber : public QObject {
    Q_OBJECT

private slots:
    void readsWhatTheScreenShows_data() {
        QTest::addColumn<int>("depth");
        // Exact at 24 bits; at 16 bits the server keeps 5 or 6 bits of each colour.
        QTest::addColumn<int>("tolerance");
        QTest::newRow("24-bit") << 24 << 0;
        QTest::newRow("16-bit") << 16 << 8;
    }
    // Through the shared segment, and through GetImage as on a remote display.
    void readsWhatTheScreenShows() {
        QFETCH(int, depth);
        QFETCH(int, tolerance);
        X11Session x(X11Session::Tray::Later, QStringLiteral("1920x1080x%1").arg(depth));
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        // One pattern across rows where a full-screen read goes from one request to the next
        // (every 136 rows on a 24-bit screen, 273 on a 16-bit one), the other reaching past the
        // screen's right and bottom edges.
        const QRect left = x.windowGeometry(pattern::show(x, {100, 400, 300, 300}));
        const QRect client = x.windowGeometry(pattern::show(x, {1500, 700, 600, 500}));
        QVERIFY(left.width() == 300 && client.right() >= 1920 && client.bottom() >= 1080);
        const QImage shown = pattern::picture(client.size());

        qputenv("DISPLAY", x.environment().value("DISPLAY").toLocal8Bit());
        using Read = X11ScreenGrabber::ScreenRead;
        for (const auto& [read, path] :
             {std::pair{Read::SharedMemoryWhenLocal, ScreenReadPath::SharedMemory},
              std::pair{Read::GetImageOnly, ScreenReadPath::GetImage}}) {
            X11ScreenGrabber grabber(read);
            QCOMPARE(grabber.screenSize(), QSize(1920, 1080));

            // Twice a block inside the screen: the second read goes through the segment that the
            // first one left.
            for (const QRect& block : {QRect(client.x() + 10, client.y() + 20, 300, 200),
                                       QRect(client.x() + 3, client.y() + 1, 17, 5)}) {
                const Picture picture = grabber.grab(block);
                QCOMPARE(grabber.lastReadPath(), path);
                QCOMPARE(picture.format(), QImage::Format_BGR888);
                QVERIFY(largestDifference(
                            picture, shown.copy(block.translated(-client.topLeft()))) <= tolerance);
            }

            // A block reaching past both edges: the part on the screen as shown, the rest black.
            const QRect beyond(client.x() + 40, client.y() + 30, 600, 500);
            const Picture edge = grabber.grab(beyond);
            QCOMPARE(grabber.lastReadPath(), path);
            const QRect onScreen = beyond.intersected(QRect(0, 0, 1920, 1080));
            QImage expected(beyond.size(), QImage::Format_BGR888);
            expected.fill(Qt::black);
            QPainter(&expected).drawImage(onScreen.topLeft() - beyond.topLeft(),
                                          shown.copy(onScreen.translated(-client.topLeft())));
            QVERIFY(largestDifference(edge, expected) <= tolerance);

            // The whole screen: both patterns in place.
            const Picture screen = grabber.grab(QRect(0, 0, 1920, 1080));
            QCOMPARE(grabber.lastReadPath(), path);
            QVERIFY(largestDifference(screen.copy(left), pattern::picture(left.size())) <=
                    tolerance);
            QVERIFY(largestDifference(screen.copy(onScreen), shown.copy(onScreen.translated(
                                                                 -client.topLeft()))) <= tolerance);
        }
    }

    void aDisplayThatCannotBeReachedGivesBlackPictures() {
        qputenv("DISPLAY", ":32767");
        X11ScreenGrabber grabber;
        QVERIFY(grabber.screenSize().isEmpty());
        const Picture picture = grabber.grab(QRect(5, 5, 40, 30));
        QCOMPARE(picture.size(), QSize(40, 30));
        QImage black(picture.size(), QImage::Format_BGR888);
        black.fill(Qt::black);
        QCOMPARE(largestDifference(picture, black), 0);
        QCOMPARE(grabber.lastReadPath(), ScreenReadPath::None);
    }
};

PATTERN_TEST_MAIN(TestScreenGrabber)
#include "tst_ScreenGrabber.moc"
