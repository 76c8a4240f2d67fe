#include "editing/EffectBar.h"
#include "support/AppHarness.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

using namespace glim;

// The Edit Image menu's commands and their dialog on the main window's viewer, with screenshots
// of the fake screen: a gradient whose components lie between 0 and 100.
class TestEditImage : public QObject, MainWindowFixture {
    Q_OBJECT

    void capture(QSize size) {
        QImage screen(size, QImage::Format_BGR888);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                screen.setPixelColor(x, y,
                                     QColor(x * 100 / size.width(), y * 100 / size.height(), 60));
        QVERIFY(m_h->captureFullScreen(screen));
    }
    QString file(int n) const { return m_h->tempFile(QStringLiteral("screenshot%1.jpg").arg(n)); }
    // The working file's bytes and last-write time, the time first set to an old one if asked.
    QPair<QByteArray, QDateTime> fileState(int n, bool age = false) const {
        QFile f(file(n));
        f.open(QIODevice::ReadWrite);
        if (age)
            f.setFileTime(QDateTime(QDate(2021, 3, 4), QTime(5, 6)),
                          QFileDevice::FileModificationTime);
        return {f.readAll(), f.fileTime(QFileDevice::FileModificationTime)};
    }
    // Runs the command and `body` inside its modal dialog. False when no dialog opened.
    bool whileEditing(const char* item, const std::function<void(QDialog*)>& body) {
        return whileModal("eff", body, [&] { m_window->findChild<QAction*>(item)->trigger(); }) !=
               "none";
    }
    static void click(QDialog* dialog, const char* button) {
        dialog->findChild<QPushButton*>(QLatin1String(button))->click();
    }
    static EffectBar* bar(QDialog* dialog, const char* name, int index = 0) {
        return dialog->findChildren<EffectBar*>(QLatin1String(name)).value(index);
    }
    static void drag(QWidget* widget, QPoint from, QPoint to) {
        QTest::mousePress(widget, Qt::LeftButton, {}, from);
        QTest::mouseMove(widget, to);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
    }
    static void drag(EffectBar* bar, int x) { drag(bar, QPoint(1, 6), QPoint(x, 6)); }
    QImage ima() const { return m_viewer->ima()->picture().copy(); }
    // The working file as the dialog shows it: decoded, not the picture that was captured.
    QImage inView(int n) const { return QImage(file(n)).convertToFormat(QImage::Format_BGR888); }

private slots:
    void init() {
        QVERIFY(startMain());
        capture(QSize(300, 200));
    }

    void eachCommandEnablesItsControlBlackensItsLabelAndTheDialogMoves_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("enabled"); // Pictbright PictCont PictHRipple Command3 Command2
        QTest::addColumn<QString>("black");   // the label in black; the others grey
        const char* rows[][3] = {{"abr", "10000", "Label1"},
                                 {"acon", "01000", "Label2"},
                                 {"ahn", "00100", "Label6"},
                                 {"ablur", "00010", ""},
                                 {"invpic", "00001", ""}};
        for (const auto& row : rows)
            QTest::newRow(row[0]) << row[0] << row[1] << row[2];
    }
    void eachCommandEnablesItsControlBlackensItsLabelAndTheDialogMoves() {
        QFETCH(QString, item);
        QFETCH(QString, enabled);
        QFETCH(QString, black);
        const QRect frame = m_window->frameGeometry();
        QVERIFY(whileEditing(qPrintable(item), [&](QDialog* dialog) {
            QString states;
            for (const char* name : {"Pictbright", "PictCont", "PictHRipple", "Command3",
                                     "Command2", "Command1", "Command4", "PictRGB"})
                states += dialog->findChild<QWidget*>(QLatin1String(name))->isEnabled() ? '1' : '0';
            QCOMPARE(states, enabled + "111");
            for (const char* name : {"Label1", "Label2", "Label6"})
                QCOMPARE(dialog->findChild<QLabel*>(name)->palette().color(QPalette::WindowText),
                         black == name ? QColor(0, 0, 0) : QColor(128, 128, 128));
            QVERIFY(!dialog->parentWidget() && dialog->isModal());
            // Its right edge 40 twips and the viewer bar's 249 (pixels taken as twips) left of
            // the main window's, 1100 twips below its top: 196.27 and 73.33 pixels.
            QCOMPARE(dialog->geometry(),
                     QRect(frame.left() + frame.width() - 196, frame.top() + 73, 177, 152));
            // A left drag of a label or the background moves it; one on a disabled bar does not.
            for (QWidget* handle :
                 QList<QWidget*>{dialog->findChild<QLabel*>("Label2"), dialog,
                                 bar(dialog, black == "Label2" ? "Pictbright" : "PictCont")})
                drag(handle, QPoint(4, 4), QPoint(24, 14));
            QCOMPARE(dialog->geometry().topLeft(),
                     QPoint(frame.left() + frame.width() - 156, frame.top() + 93));
        }));
    }

    // In pixels, the design's twips / 15; the channel bars lie beyond the right edge, and the
    // hidden source box holds the 300 x 200 screenshot at its size.
    void controlsStandInTheirPlaces() {
        const QStringList expected = {
            "Label1 8 8 101 15",       "Pictbright 8 24 164 12",  "Label2 8 40 101 15",
            "PictCont 8 56 164 12",    "Label6 8 72 101 15",      "PictHRipple 8 88 164 12",
            "Command3 8 104 81 17",    "Command2 88 104 81 17",   "Command4 8 128 81 17",
            "Command1 88 128 81 17",   "Label3 424 8 30 15",      "PictRGB:0 424 24 124 12",
            "Label4 424 40 36 15",     "PictRGB:1 424 56 124 12", "Label5 424 72 27 15",
            "PictRGB:2 424 88 124 12", "Pictbuf 432 104 300 200"};
        QVERIFY(whileEditing(
            "abr", [&](QDialog* dialog) { QCOMPARE(places(dialog, expected), expected); }));
    }

    void brightnessPreviewsWhileTheButtonIsDownFromAFifthUp() {
        const QImage original = inView(1);
        QVERIFY(whileEditing("abr", [&](QDialog* dialog) {
            EffectBar* bright = bar(dialog, "Pictbright");
            QTest::mouseMove(bright, QPoint(10, 6));
            QCOMPARE(ima(), original);
            QTest::mousePress(bright, Qt::LeftButton, {}, QPoint(1, 6));
            QTest::mouseMove(bright, QPoint(20, 6));
            const QImage darker = ima();
            QVERIFY(largestDifference(darker, original) > 10);
            // The boxes: white up to the pointer, dark blue beyond it.
            QCOMPARE(bright->surface().pixelColor(19, 6), QColor(255, 255, 255));
            QCOMPARE(bright->surface().pixelColor(20, 6), QColor(0, 0, 128));
            QTest::mouseMove(bright, QPoint(150, 6));
            const QImage brighter = ima();
            QVERIFY(largestDifference(brighter, darker) > 10);
            QTest::mouseRelease(bright, Qt::LeftButton, {}, QPoint(150, 6));
            QTest::mouseMove(bright, QPoint(40, 6));
            QCOMPARE(ima(), brighter);
            // At 80 the picture as it was; left of the bar, as at 0, a fifth.
            drag(bright, 80);
            QVERIFY(largestDifference(ima(), original) <= 1);
            drag(bright, -30);
            const QColor from = original.pixelColor(299, 199);
            QVERIFY(from.red() > 90 && from.green() > 90);
            QCOMPARE(ima().pixelColor(299, 199),
                     QColor(qRound(from.red() * 0.2), qRound(from.green() * 0.2), 12));
        }));
    }

    void invertingTwiceGivesTheFirstResultAndTheChannelBarsKeepEachOthersWork() {
        const QImage original = inView(1);
        QVERIFY(whileEditing("invpic", [&](QDialog* dialog) {
            click(dialog, "Command2");
            const QImage once = ima();
            QCOMPARE(once.pixelColor(10, 10).red(), 255 - original.pixelColor(10, 10).red());
            click(dialog, "Command2");
            QCOMPARE(ima(), once);
            // Red through "RGB0" at a gain of 10.9, then blue through "RGB2" at a fifth.
            drag(bar(dialog, "PictRGB", 0), 200);
            drag(bar(dialog, "PictRGB", 2), 0);
            // A channel bar's box: light magenta left of the pointer, black right of it.
            QCOMPARE(bar(dialog, "PictRGB", 0)->surface().pixelColor(5, 6), QColor(255, 0, 255));
            QCOMPARE(bar(dialog, "PictRGB", 2)->surface().pixelColor(5, 6), QColor(0, 0, 0));
            QCOMPARE(ima().pixelColor(200, 150),
                     QColor(255, once.pixelColor(200, 150).green(),
                            qRound(original.pixelColor(200, 150).blue() * 0.2)));
        }));
    }

    void endingTheEditWritesOnlyOnApplyAndKeepsTheDates_data() {
        QTest::addColumn<QString>("end");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("message"); // kind and text
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("place"); // smaller than the viewer: centred
        const QSize small(300, 200);
        QTest::newRow("Cancel") << "Command4" << false << QString() << small << QPoint(158, 26);
        QTest::newRow("Escape") << "" << false << QString() << small << QPoint(158, 26);
        QTest::newRow("Apply, larger than the viewer")
            << "Command1" << false << "information|Succesfully saved changes to picture"
            << QSize(900, 600) << QPoint(0, 0);
        QTest::newRow("Apply, read-only file")
            << "Command1" << true << "plain|Failed to save updates to picture." << small
            << QPoint(158, 26);
    }
    void endingTheEditWritesOnlyOnApplyAndKeepsTheDates() {
        QFETCH(QString, end);
        QFETCH(bool, readOnly);
        QFETCH(QString, message);
        QFETCH(QSize, size);
        QFETCH(QPoint, place);
        capture(size);
        m_viewer->vScroll()->setValue(100);
        const auto first = fileState(1, true), before = fileState(2, true);
        if (readOnly)
            QFile::setPermissions(file(2), QFileDevice::ReadOwner);
        QImage preview;
        QVERIFY(whileEditing("acon", [&](QDialog* dialog) {
            drag(bar(dialog, "PictCont"), 150);
            preview = ima();
            QVERIFY(largestDifference(preview, inView(2)) > 10);
            if (end.isEmpty())
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                click(dialog, qPrintable(end));
            QVERIFY(!dialog->isVisible());
        }));
        QFile::setPermissions(file(2), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        const bool written = end == "Command1" && !readOnly;
        QCOMPARE(fileState(2).first == before.first, !written);
        QCOMPARE(fileState(2).second, before.second);
        QVERIFY(fileState(1) == first);
        if (written)
            QVERIFY(largestDifference(inView(2), preview) <= 3);
        else
            QCOMPARE(ima(), inView(2));
        QCOMPARE(m_h->dialogs.said(), message.isEmpty() ? QStringList() : QStringList{message});
        // The row stays chosen, its picture placed again; bars it fits within turned off.
        QCOMPARE(m_viewer->lstv()->selectedRowText(), QStringLiteral("screenshot2"));
        QCOMPARE(m_viewer->ima()->pos(), place);
        QCOMPARE(std::pair(m_viewer->hScroll()->isEnabled(), m_viewer->vScroll()->isEnabled()),
                 std::pair(place.x() == 0, place.y() == 0));
        QCOMPARE(m_viewer->vScroll()->value(), 0);
    }

    void anUnreadableFileOpensNoDialog() {
        QVERIFY(QFile::remove(file(1)));
        QVERIFY(!whileEditing("abr", [](QDialog*) {}));
        QCOMPARE(m_h->dialogs.texts().size(), 1);
        QVERIFY(m_h->dialogs.texts().first().startsWith("Cannot edit screenshot1"));
        QVERIFY(m_viewer->ima()->hasPicture());
    }
};

QTEST_MAIN(TestEditImage)
#include "tst_EditImage.moc"
