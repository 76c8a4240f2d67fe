#include "about/AboutWindow.h"
#include "about/RaisedEdge.h"
#include "settings/OptionsDialog.h"
#include "support/AppHarness.h"

#include <QCheckBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

using namespace glim;

namespace {

// Opens the Options dialog from the Extra menu and hands it to `act` once it runs modally;
// afterwards it must be closed. The settings file's bytes after it closed.
QByteArray withOptions(AppHarness& h, const std::function<void(QDialog*)>& act) {
    if (whileModal("Optio", act, [&] { h.app->mainWindow()->menu().genopt->trigger(); }) !=
        "closed")
        return "(not closed)";
    QFile file(h.folder.filePath("Settings.ini"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

void click(QWidget* d, const QString& names) {
    for (const QString& name : names.split(' ', Qt::SkipEmptyParts))
        d->findChild<QAbstractButton*>(name)->click();
}

} // namespace

// The Options dialog and the About window, opened from the real menus.
class TestOptionsAndAbout : public QObject {
    Q_OBJECT

private slots:
    void optionsLoadAndApply_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QByteArray>("written");
        const QByteArray o = "[Options]\r\n", paths = "[paths]\r\nX=1\r\n[options]\r\n";
        // clang-format off
        QTest::newRow("fresh installation") << QByteArray() << "000" << "Command1"
            << o + "Startdel=0\r\nShowmain=0\r\nHideclosed=0\r\n";
        QTest::newRow("ones, one cleared")
            << o + "Hideclosed=1\r\nShowmain=1\r\nStartdel=1\r\n" << "111" << "Check2 Command1"
            << o + "Hideclosed=1\r\nShowmain=0\r\nStartdel=1\r\n";
        QTest::newRow("empty, text, 2: cleared; two set")
            << paths + "startdel=\r\nShowmain=yes\r\nHideclosed=2" << "000"
            << "Check1 Check3 Command1" << paths + "startdel=1\r\nShowmain=0\r\nHideclosed=1\r\n";
        // A folder where the file should be: unwritable, and the dialog says so.
        QTest::newRow("unwritable")
            << QByteArray("folder") << "000" << "Command1" << QByteArray("(none)");
        QTest::newRow("cancel writes nothing")
            << o + "Showmain=1\r\n" << "010" << "Check1 Command2" << o + "Showmain=1\r\n";
        // clang-format on
    }
    void optionsLoadAndApply() {
        QFETCH(QByteArray, settings);
        QFETCH(QString, clicks);
        AppHarness h(settings == "folder" ? QByteArray() : settings);
        if (settings == "folder")
            QDir(h.folder.path()).mkdir("Settings.ini");
        QString shown;
        const QByteArray after = withOptions(h, [&](QDialog* d) {
            for (const char* name : {"Check1", "Check2", "Check3"})
                shown += d->findChild<QCheckBox*>(name)->isChecked() ? '1' : '0';
            click(d, clicks);
        });
        QTEST(shown, "checked");
        QTEST(after, "written");
        const char* said = settings == "folder" ? "plain|Failed to save options."
                                                : "information|Options applied succesfully";
        QCOMPARE(h.dialogs.said(), clicks.endsWith("Command1") ? QStringList{said} : QStringList());
    }

    void controlsStandInTheirPlaces() {
        TestServices s;
        OptionsDialog options(ProgramFolder(s.folder.path()), s.dialogs);
        const std::unique_ptr<AboutWindow> about(
            new AboutWindow(UpdateCheck(s.http, s.dialogs, s.shell, {})));
        QCOMPARE(options.size(), QSize(298, 264)); // 4470 x 3960 twips
        const QStringList inOptions = {
            "Check1 16 8 241 17",   "Label1 72 24 217 41",    "Check2 16 64 161 17",
            "Label2 72 80 217 41",  "Check3 16 120 225 17",   "Label3 72 136 217 41",
            "Label4 72 176 217 41", "Command1 208 224 89 17", "Command2 208 240 89 17"};
        QCOMPARE(places(&options, inOptions), inOptions);
        const QStringList inAbout = {"Picture1 -1 26 342 201", "Frame1 352 27 153 73",
                                     "Frame2 352 107 153 121", "Command2 288 240 97 25",
                                     "Command1 384 240 97 25", "Line4 488 232 1 41",
                                     "lblTitle:0 0 0 513 23",  "lblTitle:1 0 5 508 13"};
        QCOMPARE(places(about.get(), inAbout), inAbout);
    }

    void aboutWindowIsRoundedWithARaisedEdge() {
        TestServices s;
        const std::unique_ptr<AboutWindow> about(
            new AboutWindow(UpdateCheck(s.http, s.dialogs, s.shell, {})));
        const QRegion shape = about->mask();
        for (QPoint corner : {QPoint(0, 0), QPoint(511, 0), QPoint(0, 278), QPoint(511, 278),
                              QPoint(5, 5), QPoint(506, 273)})
            QVERIFY(!shape.contains(corner));
        for (QPoint inside : {QPoint(256, 0), QPoint(0, 139), QPoint(20, 1), QPoint(256, 278),
                              QPoint(511, 139), QPoint(8, 8)})
            QVERIFY(shape.contains(inside));
        // The window's rendering: the grey bottom edge two pixels thick over a row of
        // background, and the grey right edge.
        const QImage shown = about->grab().toImage();
        const auto at = [&](int x, int y) { return shown.pixelColor(x, y).name(); };
        QCOMPARE(QStringList({at(256, 276), at(256, 277), at(256, 278), at(510, 150)}),
                 QStringList({"#5f5f5f", "#5f5f5f", "#c0c0c0", "#5f5f5f"}));
        const QColor white(Qt::white), grey(95, 95, 95);

        // The edge alone, as drawn into the window before the title strip covers its top:
        // white at the top, and along the corner arcs white up to 225 degrees (bottom left),
        // grey from there round to 45 degrees (top right), white again after it.
        QImage edge(512, 279, QImage::Format_RGB32);
        edge.fill(QColor(192, 192, 192));
        QPainter painter(&edge);
        drawRaisedEdge(painter, 0, 0, 510, 277, 20);
        painter.end();
        QCOMPARE(edge.pixelColor(256, 0), white);
        const std::tuple<QPointF, double, QColor> arcs[] = {
            {{20, 20}, 135, white},  {{20, 257}, 220, white}, {{20, 257}, 230, grey},
            {{490, 257}, 315, grey}, {{490, 20}, 40, grey},   {{490, 20}, 50, white}};
        for (const auto& [centre, degrees, colour] : arcs) {
            const double a = qDegreesToRadians(degrees);
            const QPointF p = centre + QPointF(std::cos(a), -std::sin(a)) * 19.5;
            QVERIFY2(edge.pixelColor(int(p.x()), int(p.y())) == colour,
                     qPrintable(QString::number(degrees)));
        }
    }

    void oneAboutWindowFromBothMenusUntilItsExit() {
        AppHarness h;
        QVERIFY(h.app->start());
        TrayWindow* tray = h.app->trayWindow();
        tray->menu().abouts->trigger();
        QPointer<AboutWindow> about = tray->findChild<AboutWindow*>("abo");
        QVERIFY(about && about->isVisible() && !about->isModal());
        const QPoint centre = QGuiApplication::primaryScreen()->geometry().center();
        QVERIFY((about->geometry().center() - centre).manhattanLength() <= 2);
        h.app->mainWindow()->menu().ab->trigger();
        QCOMPARE(tray->findChildren<AboutWindow*>().size(), 1);
        click(about, "Command1"); // Exit
        QTRY_VERIFY(about.isNull());
        h.app->mainWindow()->menu().ab->trigger();
        QVERIFY(tray->findChild<AboutWindow*>("abo")->isVisible());
    }
};

QTEST_MAIN(TestOptionsAndAbout)
#include "tst_OptionsAndAbout.moc"
