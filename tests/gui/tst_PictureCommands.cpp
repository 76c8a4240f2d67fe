#include "settings/IniFile.h"
#include "support/AppHarness.h"
#include "support/PictureFiles.h"

#include <QScrollBar>

using namespace glim;
using namespace picturefiles;

namespace {

const QString kNewEventQuestion =
    QStringLiteral("Are you sure you want to start a new glimwell event? This will delete all "
                   "temporary screenshots and the whole screenshotlist!");

// 16 x 8 pixels in four 4 x 8 stripes of four colours.
QImage stripes(const QList<QRgb>& colours) {
    QImage image(16, 8, QImage::Format_RGB32);
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 8; ++y)
            image.setPixel(x, y, colours[x / 4]);
    return image;
}

// A GIF of two frames of those stripes (red, green, blue, white), the second in reversed
// order, its codes written at 3 bits without compression (Qt writes no GIF).
QByteArray twoFrameGif() {
    return QByteArray::fromBase64(
        "R0lGODlhEAAIAPEAAP8AAAD/AAAA/////ywAAAAAEAAIAAACSQQIMGFCiRI3bgQIMGFCiRI3bgQIMGFCiRI3bgQI"
        "MGFCiRI3bgQIMGFCiRI3bgQIMGFCiRI3bgQIMGFCiRI3bgQIMGFCiRI3bgUALAAAAAAQAAgAAAJJ3LhRosSECQEC"
        "3LhRosSECQEC3LhRosSECQEC3LhRosSECQEC3LhRosSECQEC3LhRosSECQEC3LhRosSECQEC3LhRosSECQECBQA7");
}

} // namespace

// New Event, Open, Paste, Print and Copy from the File menu and the tool bar, in the main
// window on the doubles of the file dialog, the clipboard and the printer.
class TestPictureCommands : public QObject, MainWindowFixture {
    Q_OBJECT
    const QList<QRgb> m_colours{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                                qRgb(255, 255, 255)};

    void run(const char* item) { m_window->findChild<QAction*>(QLatin1String(item))->trigger(); }
    void capture(QSize size) { QVERIFY(m_h->captureFullScreen(size)); }
    int rows() const { return m_viewer->lstv()->rowCount(); }
    QString lastOpen() const {
        return readIni(m_h->folder.filePath(QStringLiteral("Settings.ini")), "PATHS", "Lastopen");
    }
    bool pictureCommandsOn() const { return m_window->menu().primg->isEnabled(); }

private slots:
    void init() { QVERIFY(startMain("[Paths]\r\nLastopen=/start/here.jpg\r\n")); }

    void newEventAnsweredNoChangesNothingYesStartsAtScreenshot1() {
        for (int n = 0; n < 9; ++n)
            capture(QSize(900, 600));
        run("newscre");
        QCOMPARE(m_h->dialogs.texts(), QStringList{kNewEventQuestion});
        QCOMPARE(rows() + m_h->tempFiles().size(), 18);
        QVERIFY(m_viewer->ima()->hasPicture());

        m_h->dialogs.answerNext(true);
        m_window->dispatchToolButton(QStringLiteral("New"));
        QCOMPARE(rows() + m_h->tempFiles().size(), 0);
        QVERIFY(!m_viewer->ima()->hasPicture());
        QCOMPARE(m_viewer->ima()->geometry(), QRect(-100, m_viewer->ima()->y(), 1, 1));
        QVERIFY(!m_viewer->hScroll()->isEnabled() && !m_viewer->vScroll()->isEnabled());
        QVERIFY(!pictureCommandsOn());

        capture(QSize(300, 200));
        QCOMPARE(m_viewer->lstv()->selectedRowText(), QStringLiteral("screenshot1"));
        QCOMPARE(m_h->tempFiles(), QStringList{QStringLiteral("screenshot1.jpg")});
    }

    void openReportsWhatGaveNoPicture_data() {
        QTest::addColumn<QString>("chosen"); // relative to the program folder; empty: cancel
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message"); // shown for each of the two openings
        QTest::addColumn<int>("rows");
        const QByteArray picture = qtWritten(stripes(m_colours), "BMP");
        const QString error = "critical|Open File error ", invalid = error + "481|Invalid picture";
        const QByteArray none, huge = bmp32(stripes(m_colours), QSize(40000, 40000));
        // clang-format off
        QTest::newRow("cancelled") << "" << none << "" << 0;
        QTest::newRow("picture") << "a.bmp" << picture << "" << 1;
        QTest::newRow("not a picture") << "notes.jpg" << QByteArray("just text") << invalid << 0;
        QTest::newRow("too large to read") << "huge.bmp" << huge << invalid << 0;
        QTest::newRow("missing file") << "gone.jpg" << none << error + "53|File not found" << 0;
        QTest::newRow("no path") << "no/such/gone.gif" << none << error + "76|Path not found" << 0;
        QTest::newRow("a folder") << "." << none << error + "75|Path/File access error" << 0;
        // clang-format on
    }
    void openReportsWhatGaveNoPicture() {
        QFETCH(QString, chosen);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QFETCH(int, rows);
        const QString path = chosen.isEmpty() ? QString() : m_h->folder.filePath(chosen);
        if (!bytes.isEmpty())
            QVERIFY(!m_h->putFile(chosen, bytes).isEmpty());
        // Chosen twice (or cancelled twice) in a row.
        m_h->fileDialogs.answers = QStringList{path, path};
        run("openscr");
        m_window->dispatchToolButton(QStringLiteral("Open"));
        QCOMPARE(m_h->fileDialogs.asked.first(),
                 QStringLiteral("/start/here.jpg|Picture Files (*.jpg *.gif *.bmp)"));
        QCOMPARE(lastOpen(), chosen.isEmpty() ? QStringLiteral("/start/here.jpg") : path);
        QCOMPARE(this->rows(), 2 * rows);
        QCOMPARE(m_h->dialogs.said(), QStringList(message.isEmpty() ? 0 : 2, message));
        QVERIFY(chosen.isEmpty() || !m_viewer->recordFlag());
    }

    void openedOrPastedPictureIsPlacedAndRefusedAtNine() {
        const QString path = m_h->putFile("a.bmp", qtWritten(stripes(m_colours), "BMP"));
        m_h->fileDialogs.answers = QStringList{path};
        run("openscr");
        QCOMPARE(m_viewer->lstv()->selectedRowText(), QStringLiteral("screenshot1"));
        // Centred both ways, both bars off, "Center" pressed, the commands on.
        QCOMPARE(m_viewer->ima()->pos(), QPoint(300, 122));
        QVERIFY(!m_viewer->hScroll()->isEnabled() && !m_viewer->vScroll()->isEnabled());
        QVERIFY(toolButton(m_window, QStringLiteral("Center"))->isChecked());
        QVERIFY(pictureCommandsOn());

        for (int n = 0; n < 8; ++n)
            capture(QSize(900, 600));
        m_viewer->vScroll()->setValue(100);
        m_h->fileDialogs.answers = QStringList{path};
        run("openscr");
        m_h->clipboard.image = stripes(m_colours);
        run("pstscre");
        QCOMPARE(m_h->dialogs.texts(), (QStringList{kLimitText, kLimitText}));
        QCOMPARE(rows(), 9);
        QCOMPARE(m_viewer->ima()->geometry(), QRect(0, 0, 900, 600));
        QCOMPARE(m_viewer->vScroll()->value(), 0);
        QVERIFY(!m_viewer->recordFlag());
    }

    void picturesOfEveryKindBecome24BitPictures_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("tolerance");
        const QImage picture = stripes(m_colours);
        // More than 16 colours in the table: Qt writes 8 bits a pixel.
        QImage palette = picture.convertToFormat(QImage::Format_Indexed8, m_colours);
        palette.setColorTable(m_colours + QList<QRgb>(252, qRgb(7, 7, 7)));
        const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
        QTest::newRow("32-bit BMP") << "deep.bmp" << bmp32(picture) << 0;
        QTest::newRow("GIF, first frame") << "two.gif" << twoFrameGif() << 0;
        QTest::newRow("CMYK JPEG") << "print.jpg" << cmykJpeg(picture.copy(0, 0, 8, 8)) << 3;
        QTest::newRow("8-bit palette BMP") << "palette.bmp" << qtWritten(palette, "BMP") << 0;
        QTest::newRow("grey JPEG") << "grey.jpg" << qtWritten(grey, "JPEG") << 3;
    }
    void picturesOfEveryKindBecome24BitPictures() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, tolerance);
        m_h->fileDialogs.answers = QStringList{m_h->putFile(name, bytes)};
        run("openscr");
        QVERIFY(m_h->dialogs.shown().isEmpty());
        const Picture& shown = m_viewer->ima()->picture();
        QCOMPARE(shown.format(), QImage::Format_BGR888);
        QImage expected = stripes(m_colours).copy(QRect(QPoint(0, 0), shown.size()));
        if (name.startsWith(u"grey"))
            expected = expected.convertToFormat(QImage::Format_Grayscale8);
        QCOMPARE_LE(largestDifference(shown, expected), tolerance);
        QCOMPARE(m_h->tempFiles(), QStringList{QStringLiteral("screenshot1.jpg")});
    }

    void pasteRecordsOnlyAPicture() {
        m_h->clipboard.text = QStringLiteral("only text");
        run("pstscre");
        QCOMPARE(rows(), 0);
        QVERIFY(!m_viewer->ima()->hasPicture());
        QVERIFY(m_h->dialogs.shown().isEmpty());

        m_h->clipboard.image = stripes(m_colours);
        m_window->dispatchToolButton(QStringLiteral("Paste"));
        QCOMPARE(rows(), 1);
        QCOMPARE(largestDifference(m_viewer->ima()->picture(), stripes(m_colours)), 0);
        QVERIFY(!m_viewer->recordFlag());
    }

    void menuCopyKeepsTheTextToolBarCopyDoesNot() {
        capture(QSize(64, 48));
        const Picture shown = m_viewer->ima()->picture();
        m_h->clipboard.text = QStringLiteral("earlier");
        run("clip");
        QCOMPARE(m_h->clipboard.text, QStringLiteral("earlier"));
        QCOMPARE(largestDifference(m_h->clipboard.image, shown), 0);
        QVERIFY(m_h->dialogs.shown().isEmpty());

        m_h->clipboard.image = QImage();
        m_window->dispatchToolButton(QStringLiteral("Copy"));
        QVERIFY(m_h->clipboard.text.isEmpty());
        QCOMPARE(largestDifference(m_h->clipboard.image, shown), 0);
        QCOMPARE(m_h->dialogs.said(), QStringList{"information|Copied to Clipboard"});
    }

    void printAsksThenPrintsThePictureItself() {
        capture(QSize(1000, 700));
        m_viewer->hScroll()->setValue(300); // only part of the picture is in view
        const Picture shown = m_viewer->ima()->picture();
        m_viewer->setRecordFlag(true);
        run("primg");
        // The only message: after the second printing two were shown.
        QCOMPARE(m_h->dialogs.said().value(0),
                 "question|Are you sure you want to print the current active screenshot?");
        QVERIFY(m_h->printer.printed.isEmpty());
        QVERIFY(!m_viewer->recordFlag());

        m_h->dialogs.answerNext(true);
        m_window->dispatchToolButton(QStringLiteral("Print"));
        QCOMPARE(m_h->printer.printed.size(), 1);
        QCOMPARE(largestDifference(m_h->printer.printed.first(), shown), 0);
        QCOMPARE(m_h->dialogs.shown().size(), 2);
        QVERIFY(pictureCommandsOn() && rows() == 1);

        m_h->printer.works = false;
        m_h->dialogs.answerNext(true);
        run("primg");
        QCOMPARE(m_h->dialogs.said().last(), "plain|Failed to print picture.");
        QVERIFY(pictureCommandsOn());
    }
};

QTEST_MAIN(TestPictureCommands)
#include "tst_PictureCommands.moc"
