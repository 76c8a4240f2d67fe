#include "app/MainWindow.h"
#include "screenshots/PictureBox.h"
#include "screenshots/ScreenshotList.h"
#include "screenshots/ScreenshotViewer.h"
#include "settings/IniFile.h"
#include "support/AppHarness.h"
#include "support/PictureCompare.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

using namespace glim;

// One export: what is typed, clicked and chosen, and what comes of it.
struct Export {
    QString folder; // typed; {out} is an empty folder
    QString name;
    QString clicked; // the format's option, then the button
    int quality;
    QString message;
    QString file;   // the file in {out}, with a bound on its largest colour error
    QString stored; // quality, folder, and the row's icon afterwards
};
Q_DECLARE_METATYPE(Export)

// The Save/export dialog from the File menu and the tool bar over two captured screenshots,
// on a temporary program folder with the scripted messages and folder chooser.
class TestSaveDialog : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AppHarness> m_h;
    MainWindow* m_window = nullptr;
    QString m_out; // an empty folder to export into

    void startWith(const QByteArray& settings) {
        m_h = std::make_unique<AppHarness>(settings);
        QVERIFY(m_h->app->start());
        m_window = m_h->app->mainWindow();
        // 203 pixels wide: BMP rows of 609 bytes padded to 612.
        for (QSize size : {QSize(150, 90), QSize(203, 101)}) {
            m_h->grabber.screen = FakeScreenGrabber::pattern(size);
            m_window->menu().capture[std::size_t(CaptureMode::FullScreen)]->trigger();
            QMetaObject::invokeMethod(m_window->findChild<QTimer*>("bckt"), "timeout");
        }
        QDir(m_h->folder.path()).mkdir("out");
        m_out = m_h->folder.filePath("out");
    }
    // Opens Save from the menu (or the tool bar) and hands the dialog to `act` while it runs
    // modally. True when `act` left it closed.
    bool withDialog(const std::function<void(QDialog*)>& act, bool toolBar = false) {
        bool closed = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog && dialog->objectName() == "sa") {
                act(dialog);
                closed = !dialog->isVisible();
                dialog->reject();
            }
        });
        toolBar ? m_window->dispatchToolButton("Save") : m_window->menu().saveimg->trigger();
        return closed;
    }
    template <typename Control> static Control* c(QDialog* dialog, const char* name) {
        return dialog->findChild<Control*>(QLatin1String(name));
    }
    // What an opening from the tool bar shows: the name, the format, the quality and the folder.
    QString opened() {
        QString shown;
        withDialog(
            [&](QDialog* d) {
                shown = QStringLiteral("%1x%2 %3 jpg:%4 gif:%5 %6 %7 %8")
                            .arg(d->width())
                            .arg(d->height())
                            .arg(c<QLineEdit>(d, "filen")->text())
                            .arg(int(c<QRadioButton>(d, "jp")->isChecked()))
                            .arg(int(c<QRadioButton>(d, "gi")->isEnabled()))
                            .arg(c<QSlider>(d, "Slider")->value())
                            .arg(c<QLabel>(d, "am")->text(), c<QLineEdit>(d, "pat")->text());
            },
            true);
        return shown;
    }

private slots:
    void cleanup() { m_h.reset(); }

    void openingShowsTheRowAndTheStoredQualityAndFolder_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("quality");
        QTest::newRow("missing") << QByteArray() << 100;
        QTest::newRow("spaces") << QByteArray("  42 ") << 42;
        QTest::newRow("fraction") << QByteArray("85.5") << 100;
        QTest::newRow("0") << QByteArray("0") << 1;
        QTest::newRow("150") << QByteArray("150") << 100;
        QTest::newRow("huge negative") << QByteArray("-123456789012345678901") << 1;
    }
    void openingShowsTheRowAndTheStoredQualityAndFolder() {
        QFETCH(QByteArray, stored);
        QFETCH(int, quality);
        startWith("[Paths]\r\nStoredir=/kept/\r\n[JPG]\r\nPercentage=" + stored + "\r\n");
        m_window->viewer()->lstv()->selectRow(0);
        QCOMPARE(opened(),
                 QStringLiteral("417x234 screenshot1 jpg:1 gif:0 %1 %1 % /kept/").arg(quality));
    }

    void qualityStepsAndGreyingForBmp() {
        startWith({});
        withDialog([&](QDialog* d) {
            auto* slider = c<QSlider>(d, "Slider");
            QStringList shown;
            for (int key : {Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Home, Qt::Key_PageUp}) {
                QTest::keyClick(slider, Qt::Key(key));
                shown.append(c<QLabel>(d, "am")->text());
            }
            for (const char* option : {"bm", "jp"}) {
                c<QRadioButton>(d, option)->click();
                shown.append(
                    QStringLiteral("%1%2 %3")
                        .arg(int(c<QGroupBox>(d, "Frame3")->isEnabled()))
                        .arg(int(slider->isEnabled()))
                        .arg(c<QLabel>(d, "am")->palette().color(QPalette::WindowText).name()));
            }
            QCOMPARE(shown,
                     QStringList({"95 %", "94 %", "1 %", "6 %", "00 #808080", "11 #000000"}));
        });
    }

    void browsePutsOneSeparatorAfterTheFolder() {
        startWith("[PATHS]\r\nStoredir=/kept\r\n");
        QStringList shown;
        m_h->fileDialogs.answers = QStringList{"", "/home/me/Pics", "/", "/home/me/"};
        for (int i = 0; i < 4; ++i)
            withDialog([&](QDialog* d) {
                c<QPushButton>(d, "Command1")->click();
                shown.append(c<QLineEdit>(d, "pat")->text());
            });
        QCOMPARE(shown, QStringList({"/kept", "/home/me/Pics/", "/", "/home/me/"}));
        QCOMPARE(m_h->fileDialogs.asked.first(), "Choose a location where the file will be saved");
    }

    void exportSaysHowItWentAndRemembers_data() {
        QTest::addColumn<Export>("e");
        const QString done = "information|Picture exported succesfully ";
        const QString failed = "plain|Failed to save picture.";
        const QString missing =
            "exclamation|Please make sure the filepath and the filename fields are completed!";
        const QString at85 = done + "at 85 % quality!";
        QTest::newRow("jpg 85") << Export{"{out}/", "shot",          "jp Command2", 85,
                                          at85,     "shot.jpg <256", "85 {out}/ 2"};
        QTest::newRow("jpg 1") << Export{
            "{out}/",       "shot",      "jp Command2", 1, done + "at 1 % quality!",
            "shot.jpg >40", "1 {out}/ 2"};
        QTest::newRow("jpg 100") << Export{
            "{out}/",      "shot",        "jp Command2", 100, done + "at 100 % quality!",
            "shot.jpg <9", "100 {out}/ 2"};
        QTest::newRow("no separator typed")
            << Export{"{out}", "shot", "jp Command2", 85, at85, "shot.jpg <256", "85 {out} 2"};
        QTest::newRow("bmp") << Export{
            "{out}/",      "shot",       "bm Command2", 70, done + "in BMP format!",
            "shot.bmp <1", "42 {out}/ 2"};
        QTest::newRow("jpg, missing folder")
            << Export{"{out}/no/", "shot", "jp Command2", 85, failed, "", "85 {out}/no/ 1"};
        QTest::newRow("bmp, missing folder")
            << Export{"{out}/no/", "shot", "bm Command2", 85, failed, "", "42 {out}/no/ 1"};
        QTest::newRow("no folder")
            << Export{"", "shot", "jp Command2", 85, missing, "", "42 /kept/ 1"};
        QTest::newRow("no name") << Export{"{out}/", "", "bm Command2", 85,
                                           missing,  "", "42 /kept/ 1"};
        QTest::newRow("cancel") << Export{"{out}/", "shot", "jp Command3", 85,
                                          "",       "",     "42 /kept/ 1"};
    }
    void exportSaysHowItWentAndRemembers() {
        QFETCH(Export, e);
        auto [folder, name, clicked, quality, message, file, stored] = e;
        startWith("[JPG]\r\nPercentage=42\r\n[PATHS]\r\nStoredir=/kept/\r\n");
        const Picture picture = m_window->viewer()->ima()->picture();
        const bool closed = withDialog([&](QDialog* d) {
            c<QLineEdit>(d, "pat")->setText(folder.replace("{out}", m_out));
            c<QLineEdit>(d, "filen")->setText(name);
            c<QSlider>(d, "Slider")->setValue(quality);
            for (const QString& control : clicked.split(' '))
                c<QAbstractButton>(d, control.toLatin1())->click();
        });
        QStringList said;
        for (const ScriptedDialogs::Shown& shown : m_h->dialogs.shown())
            said.append(shown.kind + '|' + shown.text);
        QCOMPARE(said, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(closed, !message.startsWith("exclamation"));
        // Only the file, inside the folder: not "outshot.jpg" beside it.
        const QStringList files = QDir(m_h->folder.path()).entryList({"out*"}, QDir::Files) +
                                  QDir(m_out).entryList(QDir::Files);
        QCOMPARE(files, file.isEmpty() ? QStringList() : QStringList{file.section(' ', 0, 0)});
        if (!file.isEmpty()) {
            const QImage back(m_out + '/' + file.section(' ', 0, 0));
            const int error = largestDifference(back, picture),
                      bound = file.section(' ', 1).mid(1).toInt();
            QVERIFY2(file.contains('<') ? error < bound : error > bound,
                     qPrintable(QString::number(error)));
            QFile bmp(m_out + "/shot.bmp"); // 24 bits a pixel, rows bottom-up and padded
            if (bmp.open(QIODevice::ReadOnly)) {
                QCOMPARE(bmp.size(), 54 + 612 * 101);
                QCOMPARE(bmp.read(30).mid(22).toHex(), QByteArray("6500000001001800"));
            }
        }
        const QString ini = m_h->folder.filePath("Settings.ini");
        QCOMPARE(readIni(ini, "JPG", "Percentage") + ' ' + readIni(ini, "PATHS", "Storedir") + ' ' +
                     QString::number(m_window->viewer()->lstv()->rowImage(1)),
                 stored.replace("{out}", m_out));
        QCOMPARE(m_window->viewer()->lstv()->rowImage(0), 1);
        // The next opening starts from what was stored.
        const QString kept = stored.section(' ', 0, 0);
        QCOMPARE(opened().section(' ', 4), kept + ' ' + kept + " % " + stored.section(' ', 1, 1));
    }
};

QTEST_MAIN(TestSaveDialog)
#include "tst_SaveDialog.moc"
