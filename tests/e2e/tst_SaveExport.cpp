#include "support/PatternWindow.h"
#include "support/PictureCompare.h"
#include "support/X11Session.h"

#include <QDir>
#include <QTest>

// Save/export of the real program in a real X session: a pasted screenshot written as BMP into
// a folder typed into the dialog, without the trailing separator.
class TestSaveExport : public QObject {
    Q_OBJECT

private:
    const QImage m_picture =
        pattern::picture(QSize(131, 77)).convertToFormat(QImage::Format_RGB888);

    static qulonglong waitForWindow(const X11Session& x, const QString& title) {
        qulonglong found = 0;
        X11Session::waitUntil([&] {
            const QList<qulonglong> windows = x.visibleWindows(title);
            return (found = windows.isEmpty() ? 0 : windows.first()) != 0;
        });
        return found;
    }
    static QString clipboardText(const X11Session& x) {
        QString text;
        X11Session::waitUntil([&] {
            return !(text = x.run("xclip", {"-o", "-selection", "clipboard"})).isEmpty();
        });
        return text;
    }

private slots:
    void savesAsBmpIntoATypedFolder() {
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program(QStringLiteral(GLIM_BINARY));
        program.writeFile(QStringLiteral("Settings.ini"),
                          "[Options]\r\nShowmain=1\r\n[JPG]\r\nPercentage=40\r\n");
        QVERIFY(x.startInTray(program.executable()));
        const qulonglong main = waitForWindow(x, QStringLiteral("^Zivra Glimwell$"));
        QVERIFY(main);

        // A screenshot pasted from the session's clipboard.
        QVERIFY(m_picture.save(program.path(QStringLiteral("in.png"))));
        x.start(QStringLiteral("xclip"), {"-quiet", "-selection", "clipboard", "-t", "image/png",
                                          "-i", program.path(QStringLiteral("in.png"))});
        QVERIFY(X11Session::waitUntil([&] {
            return x.run("xclip", {"-selection", "clipboard", "-t", "TARGETS", "-o"})
                .contains("image/png");
        }));
        auto fileMenu = [&](int downs) {
            x.activate(main);
            const QRect area = x.windowGeometry(main);
            x.popUp([&] { x.click(area.x() + 16, area.y() + 10); });
            x.chooseMenuEntry(QStringLiteral("Down ").repeated(downs));
        };
        fileMenu(3); // New Event, Open, Paste
        QVERIFY(X11Session::waitUntil(
            [&] { return QFile::exists(program.path(QStringLiteral("Temp/screenshot1.jpg"))); }));

        fileMenu(3); // New Event, Open, Save
        const qulonglong dialog = waitForWindow(x, QStringLiteral("^Save image\\.\\.\\.$"));
        QVERIFY(dialog);
        x.activate(dialog);
        const QPoint corner = x.windowGeometry(dialog).topLeft();
        const QString folder = program.path(QStringLiteral("exports"));
        QVERIFY(QDir().mkpath(folder));
        x.click(corner.x() + 8 + 88 + 60, corner.y() + 8 + 24 + 9); // the Filepath box
        x.key(QStringLiteral("ctrl+a"));
        x.run(QStringLiteral("xdotool"), {"type", "--delay", "20", folder});
        x.click(corner.x() + 8 + 176 + 8, corner.y() + 104 + 16 + 8); // BMP
        x.click(corner.x() + 88 + 56, corner.y() + 208 + 12);         // Export

        const qulonglong box = waitForWindow(x, QStringLiteral("^Zivra Glimwell Information$"));
        QVERIFY(box);
        x.run("xclip", {"-selection", "clipboard", "/dev/null"});
        x.activate(box);
        x.key(QStringLiteral("ctrl+c"));
        QCOMPARE(clipboardText(x), QStringLiteral("Picture exported succesfully in BMP format!"));
        x.key(QStringLiteral("Return"));

        // Inside the typed folder, the picture exactly; the folder remembered, the quality not
        // touched.
        const QString exported = folder + QStringLiteral("/screenshot1.bmp");
        QVERIFY(X11Session::waitUntil([&] { return QFile::exists(exported); }));
        QCOMPARE(largestDifference(QImage(exported), m_picture), 0);
        QFile settings(program.path(QStringLiteral("Settings.ini")));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        const QByteArray stored = settings.readAll();
        QVERIFY2(stored.contains("Storedir=" + QFile::encodeName(folder) + "\r\n") &&
                     stored.contains("Percentage=40\r\n"),
                 stored.constData());
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TestSaveExport test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SaveExport.moc"
