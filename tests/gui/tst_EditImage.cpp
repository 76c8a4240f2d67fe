#include "app/MainWindow.h"
#include "editing/EffectBar.h"
#include "screenshots/PictureBox.h"
#include "screenshots/ScreenshotList.h"
#include "screenshots/ScreenshotViewer.h"
#include "support/AppHarness.h"
#include "support/PictureCompare.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace glim;

namespace {

// Every component between 0 and 100, so that a gain near 1 moves none by more than one level.
QImage gradient(QSize size) {
    QImage image(size, QImage::Format_BGR888);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, QColor(x * 100 / size.width(), y * 100 / size.height(), 60));
    return image;
}

struct FileState {
    QByteArray bytes;
    QDateTime modified;
    bool operator==(const FileState&) const = default;
};

FileState fileState(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return {file.readAll(), QFileInfo(path).lastModified()};
}

} // namespace

// The Edit Image menu's commands and their dialog on the main window's viewer, with screenshots
// of the fake screen.
class TestEditImage : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AppHarness> m_h;
    MainWindow* m_window = nullptr;
    ScreenshotViewer* m_viewer = nullptr;

    void capture(QSize size) {
        m_h->grabber.screen = gradient(size);
        m_window->findChild<QAction*>(QStringLiteral("scrfull"))->trigger();
        QMetaObject::invokeMethod(m_window->findChild<QTimer*>(QStringLiteral("bckt")), "timeout");
    }
    QString workingFile(int n) const {
        return m_h->tempFile(QStringLiteral("screenshot%1.jpg").arg(n));
    }
    // Runs the command and, inside its modal dialog, `body`; the dialog is cancelled afterwards
    // if the body left it open. False when no dialog opened.
    bool whileEditing(const char* item, const std::function<void(QDialog*)>& body) {
        bool opened = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != QLatin1String("eff"))
                return;
            opened = true;
            body(dialog);
            if (dialog->isVisible())
                dialog->findChild<QPushButton*>(QStringLiteral("Command4"))->click();
        });
        m_window->findChild<QAction*>(QLatin1String(item))->trigger();
        QCoreApplication::processEvents();
        return opened;
    }
    static EffectBar* bar(QDialog* dialog, const char* name, int index = 0) {
        return dialog->findChildren<EffectBar*>(QLatin1String(name)).value(index);
    }
    static void drag(EffectBar* bar, std::initializer_list<int> xs) {
        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(1, 6));
        for (int x : xs)
            QTest::mouseMove(bar, QPoint(x, 6));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(xs.end()[-1], 6));
    }
    QImage ima() const { return m_viewer->ima()->picture().copy(); }
    // The working file as the dialog shows it: decoded, not the picture that was captured.
    QImage fileInView(int n) const {
        return QImage(workingFile(n)).convertToFormat(QImage::Format_BGR888);
    }

private slots:
    void init() {
        m_h = std::make_unique<AppHarness>();
        QVERIFY(m_h->app->start());
        m_window = m_h->app->mainWindow();
        m_viewer = m_window->viewer();
        m_window->move(60, 40);
        m_window->show();
        capture(QSize(300, 200));
    }
    void cleanup() { m_h.reset(); }

    void eachCommandEnablesItsOwnControlAndBlackensItsLabel_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("enabled"); // Pictbright PictCont PictHRipple Command3 Command2
        QTest::addColumn<QString>("black");   // the label in black; the others grey
        QTest::newRow("abr") << "abr"
                             << "10000"
                             << "Label1";
        QTest::newRow("acon") << "acon"
                              << "01000"
                              << "Label2";
        QTest::newRow("ahn") << "ahn"
                             << "00100"
                             << "Label6";
        QTest::newRow("ablur") << "ablur"
                               << "00010"
                               << "";
        QTest::newRow("invpic") << "invpic"
                                << "00001"
                                << "";
    }
    void eachCommandEnablesItsOwnControlAndBlackensItsLabel() {
        QFETCH(QString, item);
        QFETCH(QString, enabled);
        QFETCH(QString, black);
        const QRect frame = m_window->frameGeometry();
        QVERIFY(whileEditing(qPrintable(item), [&](QDialog* dialog) {
            QString states;
            for (const char* name :
                 {"Pictbright", "PictCont", "PictHRipple", "Command3", "Command2"})
                states += dialog->findChild<QWidget*>(QLatin1String(name))->isEnabled() ? '1' : '0';
            QCOMPARE(states, enabled);
            for (const char* name : {"Label1", "Label2", "Label6"}) {
                const QColor colour = dialog->findChild<QLabel*>(QLatin1String(name))
                                          ->palette()
                                          .color(QPalette::WindowText);
                QCOMPARE(colour,
                         black == QLatin1String(name) ? QColor(0, 0, 0) : QColor(128, 128, 128));
            }
            for (const char* name : {"Command1", "Command4"})
                QVERIFY(dialog->findChild<QWidget*>(QLatin1String(name))->isEnabled());
            QCOMPARE(dialog->findChildren<EffectBar*>(QStringLiteral("PictRGB")).size(), 3);
            QVERIFY(bar(dialog, "PictRGB", 2)->isEnabled());
            QVERIFY(dialog->windowFlags() & Qt::FramelessWindowHint);
            QVERIFY(!dialog->parentWidget() && dialog->isModal());
            // Its right edge 40 twips and the viewer bar's 249 (pixels taken as twips) left of
            // the main window's, 1100 twips below its top: 196.27 and 73.33 pixels.
            QCOMPARE(dialog->pos(), QPoint(frame.left() + frame.width() - 196, frame.top() + 73));
            QCOMPARE(dialog->size(), QSize(177, 152));
        }));
    }

    void dragPreviewsEveryMoveOnlyWhileTheButtonIsDown() {
        const QImage original = fileInView(1);
        QVERIFY(whileEditing("abr", [&](QDialog* dialog) {
            EffectBar* bright = bar(dialog, "Pictbright");
            QTest::mouseMove(bright, QPoint(10, 6));
            QCOMPARE(ima(), original);
            QVERIFY(bright->surface().isNull());

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
        }));
    }

    void brightnessBarAtEightyKeepsThePictureAndLeftOfTheBarGivesAFifth() {
        const QImage original = fileInView(1);
        QVERIFY(whileEditing("abr", [&](QDialog* dialog) {
            drag(bar(dialog, "Pictbright"), {80});
            QVERIFY(largestDifference(ima(), original) <= 1);
            drag(bar(dialog, "Pictbright"), {0});
            const QImage fifth = ima();
            drag(bar(dialog, "Pictbright"), {-30});
            QCOMPARE(ima(), fifth);
            // Gain 0.2: each component about a fifth of its source.
            const QColor from = original.pixelColor(299, 199);
            const QColor to = fifth.pixelColor(299, 199);
            QVERIFY(from.red() > 90 && from.green() > 90);
            QCOMPARE(to.red(), qRound(from.red() * 0.2));
            QCOMPARE(to.green(), qRound(from.green() * 0.2));
        }));
    }

    void invertingTwiceGivesTheFirstResultAndTheChannelBarsKeepEachOthersWork() {
        const QImage original = fileInView(1);
        QVERIFY(whileEditing("invpic", [&](QDialog* dialog) {
            auto* invert = dialog->findChild<QPushButton*>(QStringLiteral("Command2"));
            invert->click();
            const QImage once = ima();
            QCOMPARE(once.pixelColor(10, 10).red(), 255 - original.pixelColor(10, 10).red());
            invert->click();
            QCOMPARE(ima(), once);
            // Red through "RGB0" at full gain, then blue through "RGB2" at a fifth.
            drag(bar(dialog, "PictRGB", 0), {200});
            drag(bar(dialog, "PictRGB", 2), {0});
            const QColor pixel = ima().pixelColor(200, 150);
            QCOMPARE(pixel.red(), 255);
            QCOMPARE(pixel.green(), once.pixelColor(200, 150).green());
            QCOMPARE(pixel.blue(), qRound(original.pixelColor(200, 150).blue() * 0.2));
        }));
    }

    void droppingTheEditShowsTheFileAndLeavesItUntouched_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel") << false;
        QTest::newRow("Escape") << true;
    }
    void droppingTheEditShowsTheFileAndLeavesItUntouched() {
        QFETCH(bool, escape);
        QFile file(workingFile(1));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2020, 5, 1), QTime(12, 0)),
                                 QFileDevice::FileModificationTime));
        file.close();
        const FileState before = fileState(workingFile(1));
        QVERIFY(whileEditing("ahn", [&](QDialog* dialog) {
            drag(bar(dialog, "PictHRipple"), {60, 160});
            QVERIFY(largestDifference(ima(), QImage(workingFile(1))) > 10);
            if (escape)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                dialog->findChild<QPushButton*>(QStringLiteral("Command4"))->click();
            QVERIFY(!dialog->isVisible());
        }));
        QCOMPARE(largestDifference(ima(), QImage(workingFile(1))), 0);
        QVERIFY(fileState(workingFile(1)) == before);
        QVERIFY(m_h->dialogs.shown().isEmpty());
    }

    void applyingWritesTheFileKeepsItsDatesAndTheRow_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("place");
        QTest::newRow("smaller than the viewer: centred") << QSize(300, 200) << QPoint(158, 26);
        QTest::newRow("larger: top left") << QSize(900, 600) << QPoint(0, 0);
    }
    void applyingWritesTheFileKeepsItsDatesAndTheRow() {
        QFETCH(QSize, size);
        QFETCH(QPoint, place);
        capture(size);
        m_viewer->lstv()->selectRow(1);
        m_viewer->vScroll()->setValue(100);
        const QDateTime old(QDate(2021, 3, 4), QTime(5, 6));
        {
            QFile file(workingFile(2));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
        }
        const FileState first = fileState(workingFile(1));
        QImage preview;
        QVERIFY(whileEditing("acon", [&](QDialog* dialog) {
            drag(bar(dialog, "PictCont"), {150});
            preview = ima();
            dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        }));
        QVERIFY(largestDifference(preview, QImage(workingFile(1))) > 10);
        QVERIFY(largestDifference(QImage(workingFile(2)), preview) <= 3);
        QCOMPARE(QFileInfo(workingFile(2)).lastModified(), old);
        QVERIFY(fileState(workingFile(1)) == first);
        QCOMPARE(m_h->dialogs.texts(), QStringList{"Succesfully saved changes to picture"});
        QCOMPARE(m_h->dialogs.shown().first().kind, QStringLiteral("information"));
        QCOMPARE(m_viewer->lstv()->selectedRowText(), QStringLiteral("screenshot2"));
        QCOMPARE(m_viewer->ima()->pos(), place);
        QCOMPARE(m_viewer->vScroll()->value(), 0);
        QVERIFY(!m_viewer->recordFlag());
    }

    void aFailedSaveSaysSoAndAnUnreadableFileOpensNoDialog() {
        const FileState before = fileState(workingFile(1));
        QFile::setPermissions(workingFile(1), QFileDevice::ReadOwner);
        QVERIFY(whileEditing("invpic", [&](QDialog* dialog) {
            dialog->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
            dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        }));
        QCOMPARE(m_h->dialogs.shown().first().kind, QStringLiteral("plain"));
        QCOMPARE(m_h->dialogs.texts(), QStringList{"Failed to save updates to picture."});
        QVERIFY(fileState(workingFile(1)) == before);
        QCOMPARE(largestDifference(ima(), QImage(workingFile(1))), 0);

        m_h->dialogs.clear();
        const QImage shown = ima();
        QFile::setPermissions(workingFile(1), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(QFile::remove(workingFile(1)));
        QVERIFY(!whileEditing("abr", [](QDialog*) {}));
        QCOMPARE(m_h->dialogs.texts().size(), 1);
        QVERIFY(m_h->dialogs.texts().first().startsWith("Cannot edit screenshot1"));
        QCOMPARE(ima(), shown);
    }
};

QTEST_MAIN(TestEditImage)
#include "tst_EditImage.moc"
