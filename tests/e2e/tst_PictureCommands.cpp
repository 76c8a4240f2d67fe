#include "support/PatternWindow.h"
#include "support/PictureCompare.h"
#include "support/PrivateCups.h"
#include "support/X11Session.h"

#include <QDir>
#include <QTest>

// Paste, Copy, Open and Print of the real program in a real X session: the clipboard shared
// with xclip, Qt's file dialog typed into, and a real CUPS scheduler whose PDF printer's page
// is rendered back.
class TestPictureCommands : public QObject {
    Q_OBJECT

private:
    const QImage m_picture =
        pattern::picture(QSize(128, 96)).convertToFormat(QImage::Format_RGB888);

    static QByteArray output(const X11Session& x, const QString& program, const QStringList& args) {
        QProcess tool;
        tool.setProcessEnvironment(x.environment());
        tool.start(program, args);
        tool.waitForFinished(10000);
        return tool.readAllStandardOutput();
    }
    // The program with its main window shown at start; the main window.
    static qulonglong startShown(X11Session& x, const ProgramCopy& program,
                                 QProcess** process = nullptr) {
        program.writeFile(QStringLiteral("Settings.ini"), "[Options]\r\nShowmain=1\r\n");
        QProcess* started = x.startInTray(program.executable());
        if (process)
            *process = started;
        if (!started)
            return 0;
        qulonglong main = 0;
        X11Session::waitUntil([&] {
            const QList<qulonglong> found = x.visibleWindows(QStringLiteral("^Zivra Glimwell$"));
            main = found.isEmpty() ? 0 : found.first();
            return main != 0;
        });
        return main;
    }
    // Opens the File menu by its title and chooses the entry `downs` enabled entries down.
    static void fileMenu(const X11Session& x, qulonglong main, int downs) {
        x.activate(main);
        const QRect area = x.windowGeometry(main);
        x.popUp([&] { x.click(area.x() + 16, area.y() + 10); });
        x.chooseMenuEntry(QStringLiteral("Down ").repeated(downs));
    }
    // Waits for a window titled `title` (the tray icon, named after the program, aside) and
    // sends it the keys; true once it has gone.
    static bool answer(const X11Session& x, const QString& title, const QString& keys) {
        const QList<qulonglong> icons = x.trayIcons(QStringLiteral("Glimwell"));
        auto boxes = [&] {
            QList<qulonglong> found = x.visibleWindows(title);
            found.removeIf([&](qulonglong w) { return icons.contains(w); });
            return found;
        };
        QList<qulonglong> found;
        if (!X11Session::waitUntil([&] { return !(found = boxes()).isEmpty(); }))
            return false;
        x.activate(found.first());
        x.key(keys);
        return X11Session::waitUntil([&] { return boxes().isEmpty(); });
    }
    // The clipboard's picture as image/png, once one is offered.
    static QImage clipboardPicture(const X11Session& x) {
        QImage picture;
        X11Session::waitUntil([&] {
            return picture.loadFromData(
                output(x, "xclip", {"-selection", "clipboard", "-t", "image/png", "-o"}));
        });
        return picture;
    }
    static QImage waitForImage(const QString& path) {
        QImage image;
        X11Session::waitUntil([&] { return image.load(path); }, 20000);
        return image;
    }
    void pasteFromXclip(X11Session& x, const ProgramCopy& program, qulonglong main) {
        program.writeFile(QStringLiteral("in.png"), {});
        m_picture.save(program.path(QStringLiteral("in.png")));
        x.start(QStringLiteral("xclip"), {"-quiet", "-selection", "clipboard", "-t", "image/png",
                                          "-i", program.path(QStringLiteral("in.png"))});
        X11Session::waitUntil([&] { // xclip owns the clipboard
            return output(x, "xclip", {"-selection", "clipboard", "-t", "TARGETS", "-o"})
                .contains("image/png");
        });
        fileMenu(x, main, 3); // New Event, Open, Paste: Save and Copy wait for a picture
    }

private slots:
    void pasteCopyOpenAndExitWithTheSessionsClipboardAndFileDialog() {
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        x.start(QStringLiteral("xfce4-clipman"), {}); // the session's clipboard manager
        QVERIFY(X11Session::waitUntil([&] {
            return !x.run("xdotool", {"search", "--classname", "xfce4-clipman"}).isEmpty();
        }));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        QProcess* glim = nullptr;
        const qulonglong main = startShown(x, program, &glim);
        QVERIFY(main);

        pasteFromXclip(x, program, main);
        const QImage pasted = waitForImage(program.path(QStringLiteral("Temp/screenshot1.jpg")));
        QVERIFY(largestDifference(pasted, m_picture) <= 8);

        // Menu Copy beside text that another program put there: both stay readable.
        QProcess* text = x.start(QStringLiteral("xclip"), {"-quiet", "-selection", "clipboard"});
        text->write("earlier");
        text->waitForBytesWritten(5000);
        text->closeWriteChannel();
        QVERIFY(X11Session::waitUntil([&] {
            return output(x, "xclip", {"-selection", "clipboard", "-o"}) == "earlier";
        }));
        fileMenu(x, main, 4); // New Event, Open, Save, Copy
        QCOMPARE(largestDifference(clipboardPicture(x), m_picture), 0);
        QCOMPARE(output(x, "xclip", {"-selection", "clipboard", "-o"}), QByteArray("earlier"));

        // Open: Qt's own file dialog takes a typed path and Return.
        const QString path = program.path(QStringLiteral("again.bmp"));
        QVERIFY(m_picture.save(path));
        fileMenu(x, main, 2);
        QList<qulonglong> dialog;
        QVERIFY(X11Session::waitUntil(
            [&] { return !(dialog = x.visibleWindows(QStringLiteral("^Open$"))).isEmpty(); }));
        x.activate(dialog.first());
        x.run(QStringLiteral("xdotool"), {"type", "--delay", "20", path});
        x.key(QStringLiteral("Return"));
        const QImage opened = waitForImage(program.path(QStringLiteral("Temp/screenshot2.jpg")));
        QVERIFY(largestDifference(opened, m_picture) <= 8);
        QFile settings(program.path(QStringLiteral("Settings.ini")));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QVERIFY(settings.readAll().contains("Lastopen=" + path.toLocal8Bit()));

        // Exit hands the copied picture to the clipboard manager, which serves it afterwards.
        fileMenu(x, main, 7);
        QVERIFY(glim->waitForFinished(20000));
        QCOMPARE(largestDifference(clipboardPicture(x), m_picture), 0);
    }

    void saveAsBmpIntoAFolderTypedWithoutItsSeparator() {
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        const qulonglong main = startShown(x, program);
        QVERIFY(main);
        pasteFromXclip(x, program, main);
        QVERIFY(!waitForImage(program.path(QStringLiteral("Temp/screenshot1.jpg"))).isNull());

        fileMenu(x, main, 3); // New Event, Open, Save
        QList<qulonglong> dialog;
        QVERIFY(X11Session::waitUntil([&] {
            return !(dialog = x.visibleWindows(QStringLiteral("^Save image\\.\\.\\.$"))).isEmpty();
        }));
        x.activate(dialog.first());
        const QPoint corner = x.windowGeometry(dialog.first()).topLeft();
        const QString folder = program.path(QStringLiteral("exports"));
        QVERIFY(QDir().mkpath(folder));
        x.click(corner.x() + 160, corner.y() + 41); // the Filepath box
        x.run(QStringLiteral("xdotool"), {"type", "--delay", "20", folder});
        x.click(corner.x() + 192, corner.y() + 128); // BMP
        x.click(corner.x() + 144, corner.y() + 220); // Export
        QVERIFY(
            answer(x, QStringLiteral("^Zivra Glimwell Information$"), QStringLiteral("Return")));
        QCOMPARE(
            largestDifference(waitForImage(folder + QStringLiteral("/screenshot1.bmp")), m_picture),
            0);
    }

    void printSendsThePictureToTheDefaultPrinterOrSaysItFailed() {
        PrivateCups cups; // before the session, which passes CUPS_SERVER on
        QVERIFY2(cups.isReady(), qPrintable(cups.error()));
        QVERIFY(cups.addPdfQueue(QStringLiteral("glimpdf")));
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        const qulonglong main = startShown(x, program);
        QVERIFY(main);
        pasteFromXclip(x, program, main);
        QVERIFY(!waitForImage(program.path(QStringLiteral("Temp/screenshot1.jpg"))).isNull());

        fileMenu(x, main, 6); // New Event, Open, Save, Copy, Paste, Print
        QVERIFY(answer(x, QStringLiteral("^Zivra Glimwell Question$"), QStringLiteral("alt+y")));
        QVERIFY(cups.waitForPrintedPage(60000));
        const QString prefix = program.path(QStringLiteral("page"));
        QVERIFY(
            cups.run("pdftoppm", {"-r", "96", "-png", "-singlefile", cups.outputFile(), prefix}));
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
            QVERIFY(cups.run(change.first(), change.mid(1)));
            fileMenu(x, main, 6);
            QVERIFY(
                answer(x, QStringLiteral("^Zivra Glimwell Question$"), QStringLiteral("alt+y")));
            QVERIFY2(answer(x, QStringLiteral("^Glimwell$"), QStringLiteral("Return")),
                     qPrintable(change.first()));
        }
        QCOMPARE(program.tempFiles(), QStringList{QStringLiteral("screenshot1.jpg")});
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TestPictureCommands test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_PictureCommands.moc"
