#include "settings/IniFile.h"
#include "support/AppHarness.h"

#include <QRegularExpression>

using namespace glim;

// The Save/export dialog from the File menu and the tool bar over two captured screenshots,
// on a temporary program folder with the scripted messages and folder chooser.
class TestSaveDialog : public QObject, MainWindowFixture {
    Q_OBJECT

    QString m_out; // an empty folder to export into, @ in the steps

    void startWith(const QByteArray& settings) {
        QVERIFY(startMain(settings));
        // 203 pixels wide: BMP rows of 609 bytes padded to 612.
        for (QSize size : {QSize(150, 90), QSize(203, 101)})
            QVERIFY(m_h->captureFullScreen(size));
        QDir(m_h->folder.path()).mkdir("out");
        m_out = m_h->folder.filePath("out");
    }
    // Opens Save from the menu (or the tool bar) and runs the steps on the modal dialog, as a
    // user would: "pat.text=/x" types, "Command2" clicks, "Slider:PgUp" presses a key, "?am.text"
    // reads (".width" is the dialog's own). What was read, then "open" or "closed".
    QString withDialog(const QString& steps, bool toolBar = false) {
        QStringList read;
        const auto act = [&](QDialog* d) {
            for (QString step : QString(steps).replace("@", m_out).split(' ')) {
                const bool get = step.startsWith('?') && !step.remove(0, 1).isEmpty();
                const QString name = step.section(QRegularExpression("[.:]"), 0, 0);
                auto* control = name.isEmpty() ? d : d->findChild<QWidget*>(name);
                const QByteArray property = step.section('.', 1).section('=', 0, 0).toLatin1();
                const QRect g = control->geometry();
                if (property == "twips") // the place in twips, 15 to a pixel
                    read.append(QString::asprintf("%d,%d,%d,%d", g.x() * 15, g.y() * 15,
                                                  g.width() * 15, g.height() * 15));
                else if (property == "colour")
                    read.append(control->palette().color(QPalette::WindowText).name());
                else if (get)
                    read.append(control->property(property).toString());
                else if (step.contains(':'))
                    QTest::keyClick(control, QKeySequence(step.section(':', 1))[0].key());
                else if (property.isEmpty())
                    QMetaObject::invokeMethod(control, "click");
                else
                    control->setProperty(property, step.section('=', 1));
            }
        };
        read.append(whileModal({}, act, [&] {
            toolBar ? m_window->dispatchToolButton("Save") : m_window->menu().saveimg->trigger();
        }));
        return read.join(' ');
    }
    QString opened() { return withDialog("?Slider.value ?am.text ?pat.text", true); }

private slots:
    void theOpenDialogsControls() {
        startWith("[PATHS]\r\nStoredir=/kept\r\n");
        m_h->fileDialogs.answers = QStringList{"", "/home/me/Pics", "/", "/home/me/"};
        QCOMPARE(withDialog("?.width ?.height ?filen.text ?jp.checked ?gi.enabled "
                            "Command1 ?pat.text Command1 ?pat.text Command1 ?pat.text Command1 "
                            "?pat.text Slider:PgDown ?am.text Slider:Left ?am.text Slider:Home "
                            "?am.text Slider:PgUp ?am.text bm ?Frame3.enabled ?Slider.enabled "
                            "?am.colour jp ?Frame3.enabled ?Slider.enabled ?am.colour"),
                 "417 234 screenshot2 true false /kept /home/me/Pics/ / /home/me/ 95 % 94 % 1 % "
                 "6 % false false #808080 true true #000000 open");
        QCOMPARE(m_h->fileDialogs.asked.first(), "Choose a location where the file will be saved");
    }

    void theControlsStandInTheirPlaces() {
        startWith({});
        QCOMPARE(
            withDialog("?Frame1.twips ?Label2.twips ?pat.twips ?Command1.twips ?Label1.twips "
                       "?filen.twips ?Frame2.twips ?jp.twips ?bm.twips ?gi.twips "
                       "?Frame3.twips ?Slider.twips ?am.twips ?Command2.twips ?Command3.twips"),
            "120,120,6015,1335 360,360,735,255 1320,360,4215,285 5520,360,255,285 "
            "360,840,735,255 1320,840,4455,285 120,1560,6015,615 1440,240,615,255 "
            "2640,240,735,255 3840,240,615,255 120,2280,6015,615 120,240,5055,255 "
            "5280,240,495,255 1320,3120,1695,375 3120,3120,1695,375 open");
    }

    void theStoredQualityIsAWholeNumberFrom1To100() {
        QStringList shown;
        for (const char* stored : {"", "  42 ", "85.5", "0", "150", "-123456789012345678901"}) {
            startWith(QByteArray("[JPG]\r\nPercentage=") + stored + "\r\n");
            shown.append(withDialog("?Slider.value", true));
        }
        QCOMPARE(shown.join(','), "100 open,42 open,100 open,1 open,100 open,1 open");
    }

    void exportSaysHowItWentAndRemembers_data() {
        QTest::addColumn<QString>("typed"); // folder|name|quality|format|button
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("file"); // in @ (the export folder), a bound on its colour error
        QTest::addColumn<QString>("stored"); // quality, folder and the row's icon afterwards
        const QString done = "information|Picture exported succesfully ";
        const QString bmp = done + "in BMP format!", failed = "plain|Failed to save picture.";
        const QString missing =
            "exclamation|Please make sure the filepath and the filename fields are completed!";
        auto at = [&](int quality) {
            return done + QStringLiteral("at %1 % quality!").arg(quality);
        };
        // clang-format off
        QTest::newRow("jpg 1") << "@/|shot|1|jp" << at(1) << "shot.jpg >40" << "1 @/ 2";
        QTest::newRow("jpg 100") << "@/|shot|100|jp" << at(100) << "shot.jpg <9" << "100 @/ 2";
        QTest::newRow("no separator") << "@|shot|85|jp" << at(85) << "shot.jpg <256" << "85 @ 2";
        QTest::newRow("bmp") << "@/|shot|70|bm" << bmp << "shot.bmp <1" << "42 @/ 2";
        QTest::newRow("jpg, no folder") << "@/no/|shot|85|jp" << failed << "" << "85 @/no/ 1";
        QTest::newRow("bmp, no folder") << "@/no/|shot|85|bm" << failed << "" << "42 @/no/ 1";
        QTest::newRow("empty folder") << "|shot|85|jp" << missing << "" << "42 /kept/ 1";
        QTest::newRow("empty name") << "@/||85|bm" << missing << "" << "42 /kept/ 1";
        QTest::newRow("cancel") << "@/|shot|85|jp|Command3" << "" << "" << "42 /kept/ 1";
        // clang-format on
    }
    void exportSaysHowItWentAndRemembers() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, file);
        QFETCH(QString, stored);
        startWith("[JPG]\r\nPercentage=42\r\n[PATHS]\r\nStoredir=/kept/\r\n");
        const Picture picture = m_window->viewer()->ima()->picture();
        const QStringList t = (typed + "|Command2").split('|');
        const QString after =
            withDialog(QStringLiteral("pat.text=%1 filen.text=%2 Slider.value=%3 %4 %5")
                           .arg(t[0], t[1], t[2], t[3], t[4]));
        QCOMPARE(m_h->dialogs.said(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(after, message.startsWith("exclamation") ? "open" : "closed");
        // Only the file, inside the folder: not "outshot.jpg" beside it.
        const QString name = file.section(' ', 0, 0);
        QCOMPARE(QDir(m_h->folder.path()).entryList({"out*"}, QDir::Files) +
                     QDir(m_out).entryList(QDir::Files),
                 name.isEmpty() ? QStringList() : QStringList{name});
        const int error = largestDifference(QImage(m_out + '/' + name), picture);
        const int bound = file.section(' ', 1).mid(1).toInt();
        QVERIFY2(name.isEmpty() || (file.contains('<') ? error < bound : error > bound),
                 qPrintable(QString::number(error)));
        QFile bmp(m_out + "/shot.bmp"); // 24 bits a pixel, rows bottom-up and padded
        if (bmp.open(QIODevice::ReadOnly)) {
            QCOMPARE(bmp.size(), 54 + 612 * 101);
            // Height, planes, bits, no compression, pixel bytes, 3780 pixels a metre (96 dpi)
            // each way, no colour table.
            QCOMPARE(bmp.read(54).mid(22).toHex(),
                     "65000000010018000000000074f10000c40e0000c40e00000000000000000000");
        }
        const QString ini = m_h->folder.filePath("Settings.ini");
        const ScreenshotList* list = m_window->viewer()->lstv();
        QCOMPARE(readIni(ini, "JPG", "Percentage") + ' ' + readIni(ini, "PATHS", "Storedir") + ' ' +
                     QString::number(list->rowImage(1)) + QString::number(list->rowImage(0)),
                 stored.replace("@", m_out) + '1');
        // The next opening starts from what was stored.
        const QString kept = stored.section(' ', 0, 0);
        QCOMPARE(opened(), kept + ' ' + kept + " % " + stored.section(' ', 1, 1) + " open");
    }
};

QTEST_MAIN(TestSaveDialog)
#include "tst_SaveDialog.moc"
