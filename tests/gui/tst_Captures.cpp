#include "capture/SelectorOverlay.h"
#include "support/AppHarness.h"

#include <QLabel>
#include <QPointer>
#include <QScreen>

using namespace glim;

namespace {

QAction* item(QWidget* window, const QString& name) {
    return window->findChild<QAction*>(name);
}

// The tick of an armed timer, without waiting out its delay.
bool tick(QTimer* timer) {
    return timer && timer->isActive() && QMetaObject::invokeMethod(timer, "timeout");
}

const char* const kMainModes[] = {"actw", "sel", "scrfull", "msnsh"};
const char* const kTrayModes[] = {"actws", "sele", "fuscsh", "msnsssh"};

} // namespace

// The capture modes from both menus and the hot key as far as the screenshot store records them,
// on the fake screen: delays, hiding and showing, the record flag, check marks, working files.
class TestCaptures : public QObject, MainWindowFixture {
    Q_OBJECT

    QWidget* m_tray = nullptr;

    QWidget* dragWindow() const { return m_tray->findChild<QWidget*>(QStringLiteral("dragfrm")); }
    // A click on the drag window's "S".
    static void clickS(QWidget* drag) {
        QWidget* s = drag->findChild<QWidget*>(QStringLiteral("Label2"));
        QTest::mouseClick(s, Qt::LeftButton, {}, s->rect().center());
    }

private slots:
    void init() {
        QVERIFY(startMain());
        m_tray = m_h->app->trayWindow();
    }

    void captureHidesTheWindowWaitsAndRecordsScreenshot1_data() {
        QTest::addColumn<QString>("command"); // a tray item: the main window minimised first
        QTest::addColumn<QString>("timer");
        QTest::addColumn<int>("delay");
        QTest::addColumn<QRect>("active"); // the window active at the tick
        QTest::addColumn<QRect>("taken");
        const QRect screen(0, 0, 1024, 768), window(200, 100, 320, 240);
        // clang-format off
        QTest::newRow("Tools, full") << "scrfull" << "bckt" << 500 << window << screen;
        QTest::newRow("tray, full") << "fuscsh" << "vertraag2" << 500 << window << screen;
        QTest::newRow("Tools, active") << "actw" << "actt" << 5000 << window << window;
        QTest::newRow("tray, active") << "actws" << "actt" << 5000 << window << window;
        QTest::newRow("desktop focused") << "actw" << "actt" << 5000 << QRect() << screen;
        // clang-format on
    }
    void captureHidesTheWindowWaitsAndRecordsScreenshot1() {
        QFETCH(QString, command);
        QFETCH(QString, timer);
        QFETCH(QRect, active);
        QFETCH(QRect, taken);
        QWidget* owner = item(m_tray, command) ? m_tray : m_window;
        if (owner == m_tray) {
            m_window->setWindowState(Qt::WindowMinimized);
            QTRY_VERIFY(!m_window->isVisible());
        }
        m_h->grabber.activeFrame = QRect(100, 60, 300, 200);
        item(owner, command)->trigger();
        const bool isActive = command.startsWith(u"act");
        if (isActive)
            QCOMPARE(m_h->dialogs.said().value(0),
                     "information|You got 5 seconds to select an active window on the desktop");
        auto* armed = owner->findChild<QTimer*>(timer);
        QVERIFY(armed && armed->isActive() && armed->isSingleShot());
        QTEST(armed->interval(), "delay");
        QVERIFY(!m_window->isVisible() && m_viewer->recordFlag() && m_h->grabber.grabbed.isEmpty());

        // The user activates another window meanwhile: the tick takes the one active then.
        m_h->grabber.activeFrame = active;
        QVERIFY(tick(armed));
        QVERIFY(!armed->isActive() && !m_viewer->recordFlag());
        QVERIFY(m_window->isVisible() && !(m_window->windowState() & Qt::WindowMinimized));
        const QImage expected = m_h->grabber.screen.copy(taken);
        QCOMPARE(m_viewer->ima()->picture(), expected);
        const QImage written(m_h->tempFile(QStringLiteral("screenshot1.jpg")));
        // JPEG at quality 100 with full chroma: every component within a few steps (and of the
        // same size, or the difference is 256).
        QVERIFY(largestDifference(written, expected) <= 6);
        QCOMPARE(m_viewer->lstv()->rowCount(), 1);
        QCOMPARE(m_viewer->lstv()->selectedRowText(), QStringLiteral("screenshot1"));
        QCOMPARE(m_h->dialogs.shown().size(), isActive ? 1 : 0);
    }

    void checkMarksFollowTheLastModeInBothMenus() {
        for (int mode = 0; mode < 4; ++mode) {
            for (QWidget* menu : {static_cast<QWidget*>(m_window), m_tray}) {
                // Another mode first, so that the chosen one has marks to take over.
                item(m_tray, kTrayModes[(mode + 1) % 4])->trigger();
                item(menu, (menu == m_tray ? kTrayModes : kMainModes)[mode])->trigger();
                for (int i = 0; i < 4; ++i) {
                    QCOMPARE(item(m_window, kMainModes[i])->isChecked(), i == mode);
                    QCOMPARE(item(m_tray, kTrayModes[i])->isChecked(), i == mode);
                }
            }
        }
    }

    void overlappingCapturesRecordOnlyTheFirstToFinish() {
        item(m_window, "scrfull")->trigger();
        item(m_tray, "fuscsh")->trigger();
        QVERIFY(tick(m_window->findChild<QTimer*>("bckt")));
        QCOMPARE(m_viewer->lstv()->rowCount(), 1);
        QVERIFY(!m_viewer->recordFlag());

        // The later capture is shown but not recorded: the flag was cleared by the first.
        m_h->grabber.screen.fill(QColor(10, 200, 30));
        QVERIFY(tick(m_tray->findChild<QTimer*>("vertraag2")));
        QCOMPARE(m_viewer->lstv()->rowCount(), 1);
        QCOMPARE(m_viewer->ima()->picture(), m_h->grabber.screen);
        QVERIFY(!item(m_window, "saveimg")->isEnabled());
    }

    // Selector Shot: the frozen overlay, the dragged rectangle and its band, what is recorded.
    void selectionIsRecordedFromTheFrozenScreen_data() {
        QTest::addColumn<QString>("command"); // a menu item, or "hot key"
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QRect>("selected");
        const QPoint topLeft(70, 45), bottomRight(370, 245), topRight(370, 45), bottomLeft(70, 245);
        const QRect block(70, 45, 300, 200);
        // clang-format off
        QTest::newRow("sel, left, down-right") << "sel" << 1 << topLeft << bottomRight << block;
        QTest::newRow("sel, right, up-left") << "sel" << 2 << bottomRight << topLeft << block;
        QTest::newRow("sele, middle, up-right") << "sele" << 4 << bottomLeft << topRight << block;
        QTest::newRow("key, left, down-left") << "hot key" << 1 << topRight << bottomLeft << block;
        QTest::newRow("no width") << "sele" << 1 << topLeft << QPoint(70, 300) << QRect();
        QTest::newRow("no height") << "hot key" << 2 << bottomRight << QPoint(9, 245) << QRect();
        // clang-format on
    }
    void selectionIsRecordedFromTheFrozenScreen() {
        QFETCH(QString, command);
        QFETCH(int, button);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QRect, selected);
        SelectorOverlay* overlay = m_h->app->trayWindow()->selector();
        // A picture first, for a selection of nothing to leave alone.
        QVERIFY(m_h->captureFullScreen(m_h->grabber.screen));
        const QImage before = m_viewer->ima()->picture(), atTheTick = m_h->grabber.screen;

        QObject* owner = command == "sel" ? static_cast<QObject*>(m_window) : m_tray;
        QTimer* timer = owner->findChild<QTimer*>(command == "sel" ? "selt" : "vertraag");
        if (command == QLatin1String("hot key"))
            m_h->selectorHotKey.press();
        else
            owner->findChild<QAction*>(command)->trigger();
        QVERIFY(timer->isActive() && timer->isSingleShot() && timer->interval() == 500);
        QVERIFY(m_viewer->recordFlag() && !m_window->isVisible());
        QVERIFY(m_window->findChild<QAction*>(QStringLiteral("sel"))->isChecked());

        bool up = false, exposed = false, rearmed = true, thin = true;
        QImage shown;
        QRect band;
        QTimer::singleShot(0, overlay, [&] {
            up = overlay->isVisible() && overlay->isSelecting();
            exposed = QTest::qWaitForWindowExposed(overlay);
            shown = overlay->grab().toImage().convertToFormat(QImage::Format_BGR888);
            // The live screen changes while the overlay is up; the selection does not.
            m_h->grabber.screen.fill(Qt::green);
            m_h->selectorHotKey.press();
            rearmed = timer->isActive();
            QTest::mousePress(overlay, Qt::MouseButton(button), {}, from);
            for (int step = 1; step <= 10; ++step)
                QTest::mouseMove(overlay, from + (to - from) * step / 10);
            for (int line = 1; line <= 4; ++line) {
                const auto* edge = overlay->findChild<QWidget*>(QStringLiteral("Line%1").arg(line));
                thin = thin && edge->isVisible() && std::min(edge->width(), edge->height()) == 1;
                band |= edge->geometry();
            }
            QTest::mouseRelease(overlay, Qt::MouseButton(button), {}, to);
            overlay->hide(); // should the release have left it up: a failure, not a hang
        });
        // As the single-shot timer fires: stopped by then.
        timer->stop();
        QMetaObject::invokeMethod(timer, "timeout");

        QVERIFY(up && exposed && !rearmed && thin && !timer->isActive() && !overlay->isVisible());
        QVERIFY(!m_viewer->recordFlag() && m_window->isVisible());
        // The overlay showed the screen pixel for pixel from its corner, and the band spanned
        // the anchor and the pointer.
        QCOMPARE(overlay->pos(), QPoint(0, 0));
        QCOMPARE(shown, atTheTick.copy(QRect(QPoint(0, 0), overlay->size())));
        QCOMPARE(band, QRect(from, QSize(1, 1)).united(QRect(to, QSize(1, 1))));
        QVERIFY(overlay->findChild<QWidget*>(QStringLiteral("Line1"))->isHidden());

        // Nothing selected leaves the picture and the files as they were.
        const QImage expected = selected.isEmpty() ? before : atTheTick.copy(selected);
        QCOMPARE(m_viewer->ima()->picture(), expected);
        QCOMPARE(m_viewer->lstv()->rowCount(), selected.isEmpty() ? 1 : 2);
        QVERIFY(largestDifference(QImage(m_h->tempFile(selected.isEmpty() ? "screenshot1.jpg"
                                                                          : "screenshot2.jpg")),
                                  expected) <= 6);
        QVERIFY(m_h->dialogs.shown().isEmpty());
    }

    // The overlay's own 32 x 32 cross-hair: black arms each way, and a clear gap round its hot
    // spot, so that the pixel under the pointer stays in sight.
    void overlayCursorIsACrossHairOpenAtItsHotSpot() {
        const QCursor cursor = m_h->app->trayWindow()->selector()->cursor();
        const QImage image = cursor.pixmap().toImage();
        QCOMPARE(image.size(), QSize(32, 32));
        QCOMPARE(cursor.hotSpot(), QPoint(16, 16));
        QCOMPARE(qAlpha(image.pixel(16, 16)), 0);
        for (const QPoint& way : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            QCOMPARE(qAlpha(image.pixel(QPoint(16, 16) + way)), 0);
            QCOMPARE(image.pixel(QPoint(16, 16) + 8 * way), qRgb(0, 0, 0));
        }
        // The black arms stop inside the white outline, short of the image's edges.
        for (const QPoint& edge : {QPoint(0, 16), QPoint(31, 16), QPoint(16, 0), QPoint(16, 31)})
            QVERIFY(image.pixel(edge) != qRgb(0, 0, 0));
    }

    // "MSN Shot": one drag window, captured through its frame.
    void msnShotCapturesTheScreenThroughItsOneDragWindow() {
        // A picture whose pixels must not show in the new one.
        QVERIFY(m_h->captureFullScreen(m_h->grabber.screen));
        item(m_window, "msnsh")->trigger();
        QVERIFY(!m_window->isVisible());
        QPointer<QWidget> drag = dragWindow();
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(drag->geometry(),
                 QRect((screen.width() - 104) / 2, (screen.height() - 113) / 2, 104, 113));
        QVERIFY(!drag->mask().contains(QPoint(50, 60)) && drag->mask().contains(QPoint(97, 60)));
        // Its look: white "Drag Me" and light green "S" on the strip, the frame's light grey
        // outline on the window's grey.
        const auto textColour = [&](const char* label) {
            return drag->findChild<QLabel*>(label)->palette().color(QPalette::WindowText);
        };
        QCOMPARE(textColour("Label1"), QColor(255, 255, 255));
        QCOMPARE(textColour("Label2"), QColor(128, 255, 128));
        const QImage look = drag->grab().toImage();
        QCOMPARE(look.pixelColor(97, 60), QColor(192, 192, 192));
        QCOMPARE(look.pixelColor(40, 112), QColor(192, 192, 192));
        QCOMPARE(look.pixelColor(101, 60), QColor(128, 128, 128));
        // A second "MSN Shot" leaves the one window where the user put it.
        drag->move(300, 200);
        item(m_tray, "msnsssh")->trigger();
        QCOMPARE(m_tray->findChildren<QWidget*>(QStringLiteral("dragfrm")), QList<QWidget*>{drag});
        clickS(drag);

        // The screen itself, 97 x 97 from the window's (0, 17), its first column cut off; the
        // three columns left over in the frame's colour.
        QCOMPARE(m_h->grabber.grabbed.last(), QRect(300, 217, 97, 97));
        const QImage picture = m_viewer->ima()->picture();
        QCOMPARE(picture.size(), QSize(99, 97));
        QCOMPARE(picture.copy(0, 0, 96, 97), m_h->grabber.screen.copy(301, 217, 96, 97));
        QImage frameColour(3, 97, picture.format());
        frameColour.fill(QColor(64, 64, 64));
        QCOMPARE(picture.copy(96, 0, 3, 97), frameColour);
        QCOMPARE(m_viewer->lstv()->topLevelItem(1)->text(1), QStringLiteral("2566 x 2619"));
        QCOMPARE(QImage(m_h->tempFile(QStringLiteral("screenshot2.jpg"))).size(), QSize(99, 97));
        QVERIFY(m_window->isVisible() && !m_viewer->recordFlag());
        QTRY_VERIFY(drag.isNull());
    }

    void msnShotAfterTheMainWindowWasClosedToTheTrayIsRecorded() {
        m_h = std::make_unique<AppHarness>("[Options]\r\nHideclosed=1\r\n");
        QVERIFY(m_h->app->start());
        m_tray = m_h->app->trayWindow();
        item(m_tray, "msnsssh")->trigger();
        m_h->app->showMain();
        m_h->app->mainWindow()->close();
        QTRY_VERIFY(!m_h->app->hasMainWindow());
        clickS(dragWindow());
        QCOMPARE(m_h->app->mainWindow()->viewer()->lstv()->rowCount(), 1);
        QVERIFY(QFile::exists(m_h->tempFile(QStringLiteral("screenshot1.jpg"))));
    }
};

QTEST_MAIN(TestCaptures)
#include "tst_Captures.moc"
