#include "support/PatternWindow.h"
#include "support/PictureCompare.h"
#include "support/PrivateCups.h"
#include "support/X11Session.h"

#include <QDir>
#include <QTest>

// Paste, Save, Print, Copy, Open and Edit Image of the real program in a real X session: the
// clipboard shared with xclip, the dialogs typed into, and a real CUPS scheduler whose PDF
// printer's page is rendered back.
class TestPictureCommands : public QObject {
    Q_OBJECT

private:
    const QImage m_picture =
        pattern::picture(QSize(128, 96)).convertToFormat(QImage::Format_RGB888);
    std::unique_ptr<PrivateCups> m_cups;
    std::unique_ptr<X11Session> m_x;
    std::unique_ptr<ProgramCopy> m_program;
    QProcess* m_glim = nullptr;
    qulonglong m_main = 0;

    // Opens the File menu by its title and chooses the entry `downs` enabled entries down.
    void fileMenu(int downs) const {
        m_x->mainMenu(m_main, QStringLiteral("Down ").repeated(downs));
    }
    // The clipboard's picture as image/png, once one is offered.
    QImage clipboardPicture() const {
        QImage picture;
        X11Session::waitUntil([&] {
            return picture.loadFromData(
                m_x->output("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"}));
        });
        return picture;
    }

private slots:
    // One session for the cases in their order, with the session's clipboard manager and a
    // printer: the picture pasted from xclip is screenshot1 in the program shown.
    void initTestCase() {
        m_cups = std::make_unique<PrivateCups>(); // before the session, which passes CUPS_SERVER on
        QVERIFY2(m_cups->isReady(), qPrintable(m_cups->error()));
        QVERIFY(m_cups->addPdfQueue(QStringLiteral("glimpdf")));
        m_x = std::make_unique<X11Session>();
        QVERIFY2(m_x->isReady(), qPrintable(m_x->error()));
        m_x->start(QStringLiteral("xfce4-clipman"), {});
        QVERIFY(X11Session::waitUntil([&] {
            return !m_x->run("xdotool", {"search", "--classname", "xfce4-clipman"}).isEmpty();
        }));
        m_program = std::make_unique<ProgramCopy>();
        m_main = m_x->startShown(*m_program, {}, &m_glim);
        QVERIFY(m_main);
        QVERIFY(m_x->offerPicture(m_picture));
        fileMenu(3); // New Event, Open, Paste: Save and Copy wait for a picture
        QVERIFY(largestDifference(m_program->screenshot(1), m_picture) <= 8);
    }
    void cleanupTestCase() {
        m_x.reset();
        m_cups.reset();
    }

    void saveAsBmpIntoAFolderTypedWithoutItsSeparator() {
        fileMenu(3); // New Event, Open, Save
        const qulonglong dialog = m_x->waitForWindow(QStringLiteral("^Save image\\.\\.\\.$"));
        QVERIFY(dialog);
        m_x->activate(dialog);
        const QPoint corner = m_x->windowGeometry(dialog).topLeft();
        const QString folder = m_program->path(QStringLiteral("exports"));
        QVERIFY(QDir().mkpath(folder));
        m_x->click(corner.x() + 160, corner.y() + 41); // the Filepath box
        m_x->run(QStringLiteral("xdotool"), {"type", "--delay", "20", folder});
        m_x->click(corner.x() + 192, corner.y() + 128); // BMP
        m_x->click(corner.x() + 144, corner.y() + 220); // Export
        QVERIFY(m_x->answer(X11Session::kInformation));
        QCOMPARE(
            largestDifference(X11Session::waitForPicture(folder + "/screenshot1.bmp"), m_picture),
            0);
    }

    void printSendsThePictureToTheDefaultPrinterOrSaysItFailed() {
        fileMenu(6); // New Event, Open, Save, Copy, Paste, Print
        QVERIFY(m_x->answer(X11Session::kQuestion, QStringLiteral("alt+y")));
        QVERIFY(m_cups->waitForPrintedPage(60000));
        const QString prefix = m_program->path(QStringLiteral("page"));
        QVERIFY(m_cups->run("pdftoppm",
                            {"-r", "96", "-png", "-singlefile", m_cups->outputFile(), prefix}));
        const QImage page =
            QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB888);
        QVERIFY(!page.isNull());
        // The picture at its natural size at the printable area's top-left: where the first
        // printed pixel is.
        QRect printed;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (qGray(page.pixel(x, y)) < 200)
                    printed |= QRect(x, y, 1, 1);
        QVERIFY2(qAbs(printed.width() - 128) <= 1 && qAbs(printed.height() - 96) <= 1,
                 qPrintable(QStringLiteral("%1 x %2").arg(printed.width()).arg(printed.height())));
        QVERIFY(printed.x() < page.width() / 8 && printed.y() < page.height() / 8);
        // The pattern's blocks in their colours (their edges blur in the rendering).
        const QImage printedPicture = page.copy(QRect(printed.topLeft(), QSize(128, 96)));
        QVERIFY(largestDifference(printedPicture.scaled(4, 3), m_picture.scaled(4, 3)) <= 16);

        // A queue that refuses jobs, then no queue at all: the failure is said.
        for (const QStringList& change :
             {QStringList{"cupsreject", "glimpdf"}, QStringList{"lpadmin", "-x", "glimpdf"}}) {
            QVERIFY(m_cups->run(change.first(), change.mid(1)));
            fileMenu(6);
            QVERIFY(m_x->answer(X11Session::kQuestion, QStringLiteral("alt+y")));
            QVERIFY2(m_x->answer(QStringLiteral("^Glimwell$")), qPrintable(change.first()));
        }
        QCOMPARE(m_program->tempFiles(), QStringList{QStringLiteral("screenshot1.jpg")});
    }

    void copyBesideTextAndOpenWithTheSessionsClipboardAndFileDialog() {
        // Menu Copy beside text that another program put there: both stay readable.
        m_x->start(QStringLiteral("sh"),
                   {"-c", "printf earlier | xclip -quiet -selection clipboard"});
        QVERIFY(X11Session::waitUntil([&] {
            return m_x->output("xclip", {"-selection", "clipboard", "-o"}) == "earlier";
        }));
        fileMenu(4); // New Event, Open, Save, Copy
        QCOMPARE(largestDifference(clipboardPicture(), m_picture), 0);
        QCOMPARE(m_x->output("xclip", {"-selection", "clipboard", "-o"}), QByteArray("earlier"));

        // Open: Qt's own file dialog takes a typed path and Return.
        const QString path = m_program->path(QStringLiteral("again.bmp"));
        QVERIFY(m_picture.save(path));
        fileMenu(2);
        const qulonglong dialog = m_x->waitForWindow(QStringLiteral("^Open$"));
        QVERIFY(dialog);
        m_x->activate(dialog);
        m_x->run(QStringLiteral("xdotool"), {"type", "--delay", "20", path});
        m_x->key(QStringLiteral("Return"));
        QVERIFY(largestDifference(m_program->screenshot(2), m_picture) <= 8);
    }

    // Edit Image on screenshot1, its bar dragged with the session's pointer: pressed at the
    // bar's left, let go at X = 150 (gain e^3 / 5) and applied to the working file.
    void brighteningDraggedWithTheMouseReachesTheWorkingFile() {
        const QColor before = m_program->screenshot(1).pixelColor(16, 16); // about (20, 40, 90)
        const QRect area = m_x->windowGeometry(m_main);
        m_x->click(area.x() + 60, area.bottom() + 1 - 480 + 296 + 30); // the list's first row
        // Extra > Edit Image > Adjust Brightness.
        QVERIFY(m_x->mainMenu(m_main, QStringLiteral("Right Right Right")));
        const qulonglong dialog = m_x->waitForWindow(QStringLiteral("^Edit Image$"));
        QVERIFY(dialog);
        const QRect place = m_x->windowGeometry(dialog);
        QList<QPoint> path;
        for (int barX = 10; barX <= 150; barX += 20)
            path.append(place.topLeft() + QPoint(8 + barX, 24 + 6));
        m_x->drag(path);
        m_x->click(place.x() + 88 + 40, place.y() + 128 + 8); // Apply Changes
        QVERIFY(m_x->answer(X11Session::kInformation));
        const auto brightened = [&](const QColor& after) {
            return qAbs(after.red() - before.red() * 4.017) <= 4 &&
                   qAbs(after.green() - before.green() * 4.017) <= 4;
        };
        QVERIFY(X11Session::waitUntil(
            [&] { return brightened(m_program->screenshot(1).pixelColor(16, 16)); }));
        QVERIFY(m_x->visibleWindows(QStringLiteral("^Edit Image$")).isEmpty());
    }

    // Exit hands the copied picture to the clipboard manager, which serves it afterwards.
    void exitHandsTheCopiedPictureToTheClipboardManager() {
        // Up: Exit is the last entry, whichever entry the menu opens on after the keyboard's use
        // of the menu bar.
        QVERIFY(m_x->mainMenu(m_main, QStringLiteral("Up")));
        QVERIFY(m_glim->waitForFinished(20000));
        QCOMPARE(largestDifference(clipboardPicture(), m_picture), 0);
    }
};

QTEST_GUILESS_MAIN(TestPictureCommands)
#include "tst_PictureCommands.moc"
