#include "screenshots/ViewerScrollBar.h"
#include "support/AppHarness.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

using namespace glim;

// The screenshot store and the viewer as a user meets them in the main window: the nine
// screenshots of a capture event, their files, the list, placement, scrolling and paging.
class TestScreenshotViewer : public QObject, MainWindowFixture {
    Q_OBJECT

    // A full-screen capture from the Tools menu of a screen of the given size.
    void capture(QSize screen) { QVERIFY(m_h->captureFullScreen(screen)); }
    void clickRow(int row) {
        ScreenshotList* list = m_viewer->lstv();
        const QRect place = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
    }
    bool pictureCommandsOn() const {
        return m_window->findChild<QAction*>(QStringLiteral("saveimg"))->isEnabled() &&
               toolButton(m_window, QStringLiteral("Edit Image"))->isVisible();
    }

private slots:
    void init() { QVERIFY(startMain()); }

    void tenthCaptureIsRefusedWithTheLimitMessage() {
        m_h->putTempFile(QStringLiteral("screenshot1.jpg")); // from an earlier run: replaced
        for (int n = 1; n <= 9; ++n)
            capture(QSize(200 + n, 150));
        QCOMPARE(QImage(m_h->tempFile(QStringLiteral("screenshot1.jpg"))).size(), QSize(201, 150));
        QVERIFY(m_h->dialogs.shown().isEmpty());

        capture(QSize(640, 480));
        QCOMPARE(m_h->dialogs.said(), QStringList{"information|" + kLimitText});
        QCOMPARE(m_viewer->lstv()->rowCount(), 9);
        QCOMPARE(m_h->tempFiles().size(), 9);
        // The viewer shows screenshot 9 again, read back from its file, placed as a picture
        // narrower and shorter than the bars.
        const QImage ninth(m_h->tempFile(QStringLiteral("screenshot9.jpg")));
        QCOMPARE(m_viewer->ima()->picture().size(), QSize(209, 150));
        QCOMPARE(largestDifference(m_viewer->ima()->picture(), ninth), 0);
        QCOMPARE(m_viewer->ima()->pos(), QPoint(204, 50));
        QVERIFY(!pictureCommandsOn() && !m_viewer->recordFlag());
        QCOMPARE(m_viewer->lstv()->selectedRowText(), QStringLiteral("screenshot9"));

        // With screenshot 9 unreadable the refused picture stays shown.
        QVERIFY(QFile::remove(m_h->tempFile(QStringLiteral("screenshot9.jpg"))));
        capture(QSize(300, 200));
        QCOMPARE(m_h->dialogs.texts(), (QStringList{kLimitText, kLimitText}));
        QCOMPARE(m_viewer->lstv()->rowCount(), 9);
        QCOMPARE(m_viewer->ima()->picture().size(), QSize(300, 200));
        QVERIFY(!pictureCommandsOn() && !m_viewer->recordFlag());
    }

    void pictureAssignedWithTheFlagOffRecordsNothing() {
        capture(QSize(300, 200));
        QVERIFY(pictureCommandsOn());
        m_viewer->setRecordFlag(false);
        m_viewer->ima()->setPicture(FakeScreenGrabber::pattern(QSize(50, 40)));
        QCOMPARE(m_viewer->lstv()->rowCount(), 1);
        QCOMPARE(m_h->tempFiles(), QStringList{QStringLiteral("screenshot1.jpg")});
        QVERIFY(!pictureCommandsOn());

        // No picture at all (as New Event leaves it): nothing is recorded even with the flag on.
        m_viewer->setRecordFlag(true);
        m_viewer->ima()->setPicture(QImage());
        QCOMPARE(m_viewer->lstv()->rowCount(), 1);
        QVERIFY(!pictureCommandsOn());
    }

    void unwritableTempSaysFailedToAutoSaveAndKeepsThePicture() {
        // A file named Temp stands where the folder should be.
        QFile blocker(m_h->folder.filePath(QStringLiteral("Temp")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        capture(QSize(320, 240));
        m_h->settle();
        QCOMPARE(m_h->dialogs.said(), QStringList{"plain|Failed to auto-save picture."});
        QCOMPARE(m_viewer->lstv()->selectedRowText(), QStringLiteral("screenshot1"));
        QCOMPARE(m_viewer->ima()->picture().size(), QSize(320, 240));
        QVERIFY(pictureCommandsOn());
    }

    void rowClickShowsItsScreenshotPlacedOrSaysItsFileIsGone() {
        capture(QSize(100, 80));
        capture(QSize(1920, 1080));
        QCOMPARE(m_viewer->ima()->size(), QSize(1920, 1080));

        // A picture smaller than the frame: centred both ways, both bars off, "Center" down.
        toolButton(m_window, QStringLiteral("Align Left"))->setChecked(true);
        clickRow(0);
        QCOMPARE(m_viewer->ima()->size(), QSize(100, 80));
        QCOMPARE(m_viewer->ima()->pos(), QPoint(258, 86)); // 308.5 - 50, 125.5 - 40
        QVERIFY(!m_viewer->hScroll()->isEnabled() && !m_viewer->vScroll()->isEnabled());
        QVERIFY(toolButton(m_window, QStringLiteral("Center"))->isChecked());
        QVERIFY(pictureCommandsOn() && !m_viewer->recordFlag());
        QCOMPARE(m_viewer->lstv()->rowCount(), 2);

        // A large one: at 0,0 with both bars on, Max = picture - bar length, values 0.
        m_viewer->hBar()->setValue(300);
        clickRow(1);
        QCOMPARE(m_viewer->ima()->pos(), QPoint(0, 0));
        QVERIFY(m_viewer->hScroll()->isEnabled() && m_viewer->vScroll()->isEnabled());
        QCOMPARE(m_viewer->hBar()->state().max(), 1920 - 617);
        QCOMPARE(m_viewer->vBar()->state().max(), 1080 - 249);
        QCOMPARE(m_viewer->hBar()->value() + m_viewer->vBar()->value(), 0);
        QVERIFY(pictureCommandsOn() && m_h->dialogs.shown().isEmpty());

        // A row whose file is gone keeps the picture shown and says so.
        QVERIFY(QFile::remove(m_h->tempFile(QStringLiteral("screenshot1.jpg"))));
        clickRow(0);
        QCOMPARE(m_h->dialogs.shown().size(), 1);
        QCOMPARE(m_h->dialogs.shown().first().kind, QStringLiteral("information"));
        QVERIFY(m_h->dialogs.texts().first().contains(QStringLiteral("screenshot1")));
        QCOMPARE(m_viewer->ima()->picture().size(), QSize(1920, 1080));
    }

    void scrollBarStepsMoveThePicture() {
        capture(QSize(3000, 2000));
        QScrollBar* h = m_viewer->hScroll();
        QScrollBar* v = m_viewer->vScroll();
        // After a picture change the first arrow click moves it 100 pixels, later ones 50.
        for (const auto& [action, x] : {std::pair{QAbstractSlider::SliderSingleStepAdd, -100},
                                        {QAbstractSlider::SliderSingleStepAdd, -150},
                                        {QAbstractSlider::SliderPageStepAdd, -1150},
                                        {QAbstractSlider::SliderToMaximum, -(3000 - 617)}}) {
            h->triggerAction(action);
            QCOMPARE(m_viewer->ima()->x(), x);
        }
        v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(m_viewer->ima()->y(), -100);
        // A real click on the down arrow at the bar's bottom end.
        QTest::mouseClick(v, Qt::LeftButton, {}, QPoint(v->width() / 2, v->height() - 4));
        QCOMPARE(m_viewer->ima()->y(), -150);

        // The next picture change brings the steps back to 100; the values stay in range.
        capture(QSize(1000, 700));
        QCOMPARE(m_viewer->hBar()->state().max(), 1000 - 617);
        QCOMPARE(m_viewer->hBar()->value(), 1000 - 617);
        v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(m_viewer->vBar()->value(), 250);

        // A picture wider than 32767 keeps the range in sixteen bits.
        capture(QSize(40000, 300));
        QCOMPARE(m_viewer->hBar()->state().max(), 32767);
        h->triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(m_viewer->ima()->x(), -32767);
    }

    void focusSinkAflLiesUnderThePictureAndTakesTheBarsFocus() {
        capture(QSize(1000, 1000));
        // At its place (472, 176), but covered: a click there reaches the picture.
        QWidget* client = m_viewer->imagroot()->parentWidget();
        QCOMPARE(client->childAt(472 + 4, 176 + 6), static_cast<QWidget*>(m_viewer->ima()));
        QApplication::setActiveWindow(m_window);
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        m_viewer->vScroll()->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(m_viewer->afl()));
        m_viewer->hScroll()->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(m_viewer->afl()));
    }

    void onlyPageUpAndPageDownPage_data() {
        QTest::addColumn<int>("height"); // of an 800-pixel-wide picture
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("value"); // of the vertical bar afterwards
        QTest::addColumn<int>("top");   // of `ima` afterwards
        const int down = Qt::Key_PageDown;
        const int up = Qt::Key_PageUp;
        // 1000 pixels high: vertical Max 751, a page is the bar's length 249.
        QTest::newRow("Page Down") << 1000 << QList{down} << 249 << -249;
        // Four pages down stop at the bottom, 751; one up is 249 above it.
        QTest::newRow("Page Up") << 1000 << QList{down, down, down, down, up} << 502 << -502;
        // Qt's codes of "!" and '"' are 33 and 34, the paging codes.
        QTest::newRow("! is not Page Up")
            << 1000 << QList{down, int(Qt::Key_Exclam)} << 249 << -249;
        QTest::newRow("\" is not Page Down") << 1000 << QList{int(Qt::Key_QuoteDbl)} << 0 << 0;
        // Shorter than the bar (placed at 76): Page Down puts its bottom edge at the bar's
        // length.
        QTest::newRow("Page Down, short picture") << 100 << QList{down} << 0 << 149;
        QTest::newRow("\", short picture") << 100 << QList{int(Qt::Key_QuoteDbl)} << 0 << 76;
    }
    void onlyPageUpAndPageDownPage() {
        QFETCH(int, height);
        QFETCH(QList<int>, keys);
        capture(QSize(800, height));
        PictureBox* ima = m_viewer->ima();
        for (int key : keys)
            QTest::keyClick(ima, Qt::Key(key));
        QTEST(m_viewer->vBar()->value(), "value");
        QTEST(ima->y(), "top");
    }

    void alignmentMovesOnlyPicturesNoWiderThanTheFrame() {
        capture(QSize(517, 300));
        m_window->dispatchToolButton(QStringLiteral("Align Right"));
        QCOMPARE(m_viewer->ima()->x(), 100);
        m_window->dispatchToolButton(QStringLiteral("Center"));
        QCOMPARE(m_viewer->ima()->x(), 50);
        m_window->dispatchToolButton(QStringLiteral("Align Left"));
        QCOMPARE(m_viewer->ima()->x(), 0);
        const int top = m_viewer->ima()->y();

        capture(QSize(617, 300)); // exactly as wide as the frame: aligned
        m_window->dispatchToolButton(QStringLiteral("Align Right"));
        QCOMPARE(m_viewer->ima()->x(), 0);

        capture(QSize(900, 300));
        m_viewer->hBar()->setValue(120);
        m_window->dispatchToolButton(QStringLiteral("Align Right"));
        m_window->dispatchToolButton(QStringLiteral("Center"));
        QCOMPARE(m_viewer->ima()->x(), -120);
        QCOMPARE(m_viewer->ima()->y(), top);
    }
};

QTEST_MAIN(TestScreenshotViewer)
#include "tst_ScreenshotViewer.moc"
