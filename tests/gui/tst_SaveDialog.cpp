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

namespace {

const QString kSaved85 = QStringLiteral("Picture exported succesfully at 85 % quality!");
const QString kSavedBmp = QStringLiteral("Picture exported succesfully in BMP format!");
const QString kFailed = QStringLiteral("Failed to save picture.");
const QString kFieldsMissing =
    QStringLiteral("Please make sure the filepath and the filename fields are completed!");
const QString kChooserTitle = QStringLiteral("Choose a location where the file will be saved");

template <typename Control> Control* child(QWidget* dialog, const char* name) {
    return dialog->findChild<Control*>(QLatin1String(name));
}

} // namespace

// The Save/export dialog opened from the File menu and the tool bar over two captured
// screenshots, on a temporary program folder and the scripted messages and folder chooser.
class TestSaveDialog : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AppHarness> m_h;
    MainWindow* m_window = nullptr;
    ScreenshotList* m_list = nullptr;
    QString m_out; // an empty folder to export into

    void startWith(const QByteArray& settings) {
        m_h = std::make_unique<AppHarness>(settings);
        QVERIFY(m_h->app->start());
        m_window = m_h->app->mainWindow();
        m_list = m_window->viewer()->lstv();
        m_window->show();
        // 203 pixels wide: BMP rows of 609 bytes padded to 612.
        for (QSize size : {QSize(150, 90), QSize(203, 101)}) {
            m_h->grabber.screen = FakeScreenGrabber::pattern(size);
            m_window->findChild<QAction*>(QStringLiteral("scrfull"))->trigger();
            QMetaObject::invokeMethod(m_window->findChild<QTimer*>(QStringLiteral("bckt")),
                                      "timeout");
        }
        QDir(m_h->folder.path()).mkdir(QStringLiteral("out"));
        m_out = m_h->folder.filePath(QStringLiteral("out"));
    }
    // Opens Save (from the menu, or the tool bar's button) and hands the dialog to `act` while
    // it runs modally. True when the dialog had closed by the time `act` returned.
    bool withDialog(const std::function<void(QDialog*)>& act, bool toolBar = false) {
        QPointer<QDialog> seen;
        bool closed = false;
        QTimer::singleShot(0, [&] {
            seen = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!seen || seen->objectName() != QStringLiteral("sa"))
                return;
            act(seen);
            closed = !seen->isVisible();
            seen->reject();
        });
        if (toolBar)
            m_window->dispatchToolButton(QStringLiteral("Save"));
        else
            m_window->menu().saveimg->trigger();
        return closed;
    }
    QString setting(const char* section, const char* key) const {
        return readIni(m_h->folder.filePath(QStringLiteral("Settings.ini")), section, key);
    }
    QStringList said() const {
        QStringList result;
        for (const ScriptedDialogs::Shown& message : m_h->dialogs.shown())
            result.append(message.kind + QLatin1Char('|') + message.title + QLatin1Char('|') +
                          message.text);
        return result;
    }
    // What a reopened dialog shows: the quality, its label and the folder.
    QString reopened() {
        QString shown;
        withDialog([&](QDialog* d) {
            shown = QString::number(child<QSlider>(d, "Slider")->value()) + QLatin1Char('|') +
                    child<QLabel>(d, "am")->text() + QLatin1Char('|') +
                    child<QLineEdit>(d, "pat")->text();
        });
        return shown;
    }

private slots:
    void cleanup() { m_h.reset(); }

    void openingShowsTheRowTheStoredQualityAndFolder_data() {
        QTest::addColumn<QByteArray>("stored"); // the Percentage line
        QTest::addColumn<int>("quality");
        QTest::newRow("missing") << QByteArray() << 100;
        QTest::newRow("60") << QByteArray("Percentage=60") << 60;
        QTest::newRow("spaces") << QByteArray("Percentage=  42 ") << 42;
        QTest::newRow("empty") << QByteArray("Percentage=") << 100;
        QTest::newRow("text") << QByteArray("Percentage=high") << 100;
        QTest::newRow("fraction") << QByteArray("Percentage=85.5") << 100;
        QTest::newRow("0") << QByteArray("Percentage=0") << 1;
        QTest::newRow("-3") << QByteArray("Percentage=-3") << 1;
        QTest::newRow("150") << QByteArray("Percentage=150") << 100;
        QTest::newRow("huge") << QByteArray("Percentage=123456789012345678901") << 100;
        QTest::newRow("huge negative") << QByteArray("Percentage=-123456789012345678901") << 1;
    }
    void openingShowsTheRowTheStoredQualityAndFolder() {
        QFETCH(QByteArray, stored);
        QFETCH(int, quality);
        startWith("[Paths]\r\nStoredir=/pictures/kept/\r\n[JPG]\r\n" + stored + "\r\n");
        m_list->selectRow(0);
        for (bool toolBar : {false, true}) {
            QString shown;
            withDialog(
                [&](QDialog* d) {
                    shown = d->windowTitle() + '|' + QString::number(d->width()) + 'x' +
                            QString::number(d->height()) + '|' +
                            child<QLineEdit>(d, "filen")->text() + '|' +
                            (child<QRadioButton>(d, "jp")->isChecked() ? "jpg" : "?") + '|' +
                            (child<QRadioButton>(d, "gi")->isEnabled() ? "gif on" : "gif off");
                },
                toolBar);
            QCOMPARE(shown, QStringLiteral("Save image...|417x234|screenshot1|jpg|gif off"));
            QCOMPARE(reopened(), QStringLiteral("%1|%1 %|/pictures/kept/").arg(quality));
        }
    }

    void bmpGreysTheQualityAndJpgRestoresIt() {
        startWith({});
        withDialog([&](QDialog* d) {
            auto* slider = child<QSlider>(d, "Slider");
            auto* label = child<QLabel>(d, "am");
            // Small steps of 1, large ones of 5, the label following each.
            QStringList labels;
            for (int key : {Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Home, Qt::Key_PageUp}) {
                QTest::keyClick(slider, Qt::Key(key));
                labels.append(label->text());
            }
            QCOMPARE(labels, (QStringList{"95 %", "94 %", "1 %", "6 %"}));
            auto state = [&] {
                return QStringLiteral("%1 %2 %3")
                    .arg(int(child<QGroupBox>(d, "Frame3")->isEnabled()))
                    .arg(int(slider->isEnabled()))
                    .arg(label->palette().color(label->foregroundRole()).name());
            };
            QCOMPARE(state(), QStringLiteral("1 1 #000000"));
            child<QRadioButton>(d, "bm")->click();
            QCOMPARE(state(), QStringLiteral("0 0 #808080"));
            child<QRadioButton>(d, "jp")->click();
            QCOMPARE(state(), QStringLiteral("1 1 #000000"));
        });
    }

    void browsePutsOneSeparatorAfterTheChosenFolder_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("shown");
        QTest::newRow("cancelled") << ""
                                   << "/pictures/kept";
        QTest::newRow("folder") << "/home/me/Pics"
                                << "/home/me/Pics/";
        QTest::newRow("with separator") << "/home/me/Pics/"
                                        << "/home/me/Pics/";
        QTest::newRow("root") << "/"
                              << "/";
    }
    void browsePutsOneSeparatorAfterTheChosenFolder() {
        QFETCH(QString, chosen);
        QFETCH(QString, shown);
        startWith("[PATHS]\r\nStoredir=/pictures/kept\r\n");
        m_h->fileDialogs.answers = QStringList{chosen};
        QString path;
        withDialog([&](QDialog* d) {
            child<QPushButton>(d, "Command1")->click();
            path = child<QLineEdit>(d, "pat")->text();
        });
        QCOMPARE(m_h->fileDialogs.asked, QStringList{kChooserTitle});
        QCOMPARE(path, shown);
    }

    void exportSaysHowItWentAndRemembers_data() {
        QTest::addColumn<QString>("folder"); // typed; {out} is an empty folder
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("format"); // "jp" or "bm"; "cancel" for Cancel
        QTest::addColumn<int>("quality");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("file");   // the exported file; empty: none
        QTest::addColumn<QString>("stored"); // Percentage|Storedir afterwards
        QTest::addColumn<int>("image");      // of the exported row afterwards
        const QString info = QStringLiteral("information|Zivra Glimwell Information|");
        const QString failed = QStringLiteral("plain|Glimwell|") + kFailed;
        const QString missing =
            QStringLiteral("exclamation|Zivra Glimwell Exclamation|") + kFieldsMissing;
        QTest::newRow("jpg 85") << "{out}/"
                                << "shot"
                                << "jp" << 85 << info + kSaved85 << "{out}/shot.jpg"
                                << "85|{out}/" << 2;
        QTest::newRow("jpg 1") << "{out}/"
                               << "shot"
                               << "jp" << 1 << info + "Picture exported succesfully at 1 % quality!"
                               << "{out}/shot.jpg"
                               << "1|{out}/" << 2;
        QTest::newRow("jpg 100") << "{out}/"
                                 << "shot"
                                 << "jp" << 100
                                 << info + "Picture exported succesfully at 100 % quality!"
                                 << "{out}/shot.jpg"
                                 << "100|{out}/" << 2;
        QTest::newRow("typed without separator: inside the folder")
            << "{out}"
            << "shot"
            << "jp" << 85 << info + kSaved85 << "{out}/shot.jpg"
            << "85|{out}" << 2;
        QTest::newRow("bmp keeps the quality") << "{out}/"
                                               << "shot"
                                               << "bm" << 70 << info + kSavedBmp << "{out}/shot.bmp"
                                               << "42|{out}/" << 2;
        QTest::newRow("jpg to a missing folder") << "{out}/gone/"
                                                 << "shot"
                                                 << "jp" << 85 << failed << ""
                                                 << "85|{out}/gone/" << 1;
        QTest::newRow("bmp to a missing folder") << "{out}/gone/"
                                                 << "shot"
                                                 << "bm" << 70 << failed << ""
                                                 << "42|{out}/gone/" << 1;
        QTest::newRow("no folder") << ""
                                   << "shot"
                                   << "jp" << 85 << missing << ""
                                   << "42|/kept/" << 1;
        QTest::newRow("no name") << "{out}/"
                                 << ""
                                 << "bm" << 85 << missing << ""
                                 << "42|/kept/" << 1;
        QTest::newRow("cancel") << "{out}/"
                                << "shot"
                                << "cancel" << 85 << ""
                                << ""
                                << "42|/kept/" << 1;
    }
    void exportSaysHowItWentAndRemembers() {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, format);
        QFETCH(int, quality);
        QFETCH(QString, message);
        QFETCH(QString, file);
        QFETCH(QString, stored);
        QFETCH(int, image);
        startWith("[JPG]\r\nPercentage=42\r\n[PATHS]\r\nStoredir=/kept/\r\n");
        folder.replace(QStringLiteral("{out}"), m_out);
        file.replace(QStringLiteral("{out}"), m_out);
        stored.replace(QStringLiteral("{out}"), m_out);
        m_list->selectRow(1);
        const Picture picture = m_window->viewer()->ima()->picture();
        QString label;
        const bool closed = withDialog([&](QDialog* d) {
            child<QLineEdit>(d, "pat")->setText(folder);
            child<QLineEdit>(d, "filen")->setText(name);
            child<QSlider>(d, "Slider")->setValue(quality);
            label = child<QLabel>(d, "am")->text();
            if (format == QLatin1String("cancel"))
                child<QPushButton>(d, "Command3")->click();
            else {
                child<QRadioButton>(d, format.toLatin1().constData())->click();
                child<QPushButton>(d, "Command2")->click();
            }
        });
        QCOMPARE(label, QString::number(quality) + QStringLiteral(" %"));
        QCOMPARE(said(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(closed, !message.startsWith(QLatin1String("exclamation")));
        // Nothing beside the folder (the written concatenation's "outshot.jpg"), nothing else
        // inside it.
        QStringList expected;
        if (!file.isEmpty())
            expected.append(QFileInfo(file).fileName());
        QCOMPARE(QDir(m_out).entryList(QDir::Files), expected);
        QCOMPARE(QDir(m_h->folder.path()).entryList({"out*"}, QDir::Files), QStringList());
        if (!file.isEmpty()) {
            // BMP gives the picture back exactly; JPEG within the losses of its quality.
            const int allowed = file.endsWith(".bmp") ? 0 : quality == 100 ? 8 : 256;
            QVERIFY(largestDifference(QImage(file), picture) <= allowed);
        }
        QCOMPARE(setting("JPG", "Percentage") + '|' + setting("PATHS", "Storedir"), stored);
        QCOMPARE(m_list->rowImage(1), image);
        QCOMPARE(m_list->rowImage(0), 1);
        // A closed dialog: the next opening shows what was stored.
        if (closed)
            QCOMPARE(reopened(), QStringLiteral("%1|%1 %|%2")
                                     .arg(stored.section('|', 0, 0), stored.section('|', 1)));
    }

    void theQualityReachesTheEncoder() {
        startWith({});
        const Picture picture = m_window->viewer()->ima()->picture();
        int differences[2] = {};
        for (int quality : {1, 100}) {
            withDialog([&](QDialog* d) {
                child<QLineEdit>(d, "pat")->setText(m_out);
                child<QLineEdit>(d, "filen")->setText(QString::number(quality));
                child<QSlider>(d, "Slider")->setValue(quality);
                child<QPushButton>(d, "Command2")->click();
            });
            differences[quality / 100] =
                largestDifference(QImage(m_out + QStringLiteral("/%1.jpg").arg(quality)), picture);
        }
        QVERIFY2(differences[1] <= 8 && differences[0] > 40,
                 qPrintable(QStringLiteral("%1 %2").arg(differences[0]).arg(differences[1])));
    }
};

QTEST_MAIN(TestSaveDialog)
#include "tst_SaveDialog.moc"
