#include "app/MainWindow.h"
#include "app/TrayWindow.h"
#include "screenshots/PictureBox.h"
#include "screenshots/ScreenshotList.h"
#include "screenshots/ScreenshotViewer.h"
#include "support/AppHarness.h"
#include "support/Controls.h"
#include "support/PictureCompare.h"

#include <QAction>
#include <QTest>
#include <QTimer>

using namespace glim;

namespace {

QAction* item(QWidget* window, const char* name) {
    return window->findChild<QAction*>(QString::fromLatin1(name));
}

QTimer* timer(QWidget* window, const char* name) {
    return window->findChild<QTimer*>(QString::fromLatin1(name));
}

// The tick of an armed timer, without waiting out its delay.
bool tick(QTimer* timer) {
    if (!timer || !timer->isActive())
        return false;
    return QMetaObject::invokeMethod(timer, "timeout");
}

QString cell(const ScreenshotList* list, int row, int column) {
    return list->topLevelItem(row)->text(column);
}

// JPEG at quality 100 with full chroma: every component within a few steps of the original.
constexpr int kJpegTolerance = 6;

} // namespace

// The full-screen and active-window captures from both menus as far as the screenshot store
// records them: delays, hiding and showing, the record flag, check marks, the working files.
class TestCaptures : public QObject {
    Q_OBJECT

private:
    // A started application with the main window on screen.
    static void startShown(AppHarness& h) {
        QVERIFY(h.app->start());
        h.app->mainWindow()->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.app->mainWindow()));
    }

private slots:
    void fullScreenFromTheToolsMenuRecordsScreenshot1() {
        AppHarness h;
        startShown(h);
        MainWindow* window = h.app->mainWindow();
        ScreenshotViewer* viewer = window->viewer();

        item(window, "scrfull")->trigger();
        QTimer* bckt = timer(window, "bckt");
        QVERIFY(bckt && bckt->isActive() && bckt->isSingleShot());
        QCOMPARE(bckt->interval(), 500);
        QVERIFY2(!window->isVisible(), "the main window leaves the screen before the capture");
        QVERIFY(viewer->recordFlag());
        QVERIFY(h.grabber.grabbed.isEmpty());

        QVERIFY(tick(bckt));
        QVERIFY(!bckt->isActive());
        QVERIFY(!viewer->recordFlag());
        QVERIFY(window->isVisible());
        QCOMPARE(h.grabber.grabbed, QList<QRect>{QRect(0, 0, 1024, 768)});

        const QImage written(h.tempFile(QStringLiteral("screenshot1.jpg")));
        QCOMPARE(written.size(), QSize(1024, 768));
        QVERIFY(largestDifference(written, h.grabber.screen) <= kJpegTolerance);

        const ScreenshotList* list = viewer->lstv();
        QCOMPARE(list->rowCount(), 1);
        QCOMPARE(cell(list, 0, 0), QStringLiteral("screenshot1"));
        QCOMPARE(cell(list, 0, 1), QStringLiteral("20320 x 27093"));
        QVERIFY(!cell(list, 0, 2).isEmpty() && !cell(list, 0, 3).isEmpty());
        QCOMPARE(list->selectedRowText(), QStringLiteral("screenshot1"));
        QCOMPARE(viewer->ima()->picture(), h.grabber.screen);

        QVERIFY(item(window, "saveimg")->isEnabled());
        QVERIFY(item(window, "clip")->isEnabled());
        QVERIFY(item(window, "ei")->isEnabled());
        QVERIFY(toolButton(window, QStringLiteral("Edit Image"))->isVisible());
        QVERIFY(toolButton(window, QStringLiteral("sep"))->isVisible());
        QVERIFY(toolButton(window, QStringLiteral("Align Right"))->isEnabled());
        QVERIFY(h.dialogs.shown().isEmpty());
    }

    void fullScreenFromTheTrayRestoresAMinimisedMainWindow() {
        AppHarness h;
        startShown(h);
        MainWindow* window = h.app->mainWindow();
        window->setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(!window->isVisible());

        item(h.app->trayWindow(), "fuscsh")->trigger();
        QTimer* vertraag2 = timer(h.app->trayWindow(), "vertraag2");
        QVERIFY(vertraag2 && vertraag2->isSingleShot());
        QCOMPARE(vertraag2->interval(), 500);
        QVERIFY(tick(vertraag2));
        QVERIFY(!vertraag2->isActive());
        QVERIFY(window->isVisible());
        QVERIFY(!(window->windowState() & Qt::WindowMinimized));
        QCOMPARE(window->viewer()->lstv()->rowCount(), 1);
        QVERIFY(QFile::exists(h.tempFile(QStringLiteral("screenshot1.jpg"))));
        QVERIFY(!window->viewer()->recordFlag());
    }

    void activeWindowWaitsFiveSecondsAfterTheMessage_data() {
        QTest::addColumn<bool>("fromTray");
        QTest::newRow("Tools menu") << false;
        QTest::newRow("tray menu") << true;
    }
    void activeWindowWaitsFiveSecondsAfterTheMessage() {
        QFETCH(bool, fromTray);
        AppHarness h;
        startShown(h);
        MainWindow* window = h.app->mainWindow();
        QWidget* owner = fromTray ? static_cast<QWidget*>(h.app->trayWindow()) : window;
        h.grabber.activeFrame = QRect(100, 60, 300, 200);

        item(owner, fromTray ? "actws" : "actw")->trigger();
        QCOMPARE(h.dialogs.shown().size(), 1);
        QCOMPARE(h.dialogs.shown().first().kind, QStringLiteral("information"));
        QCOMPARE(h.dialogs.shown().first().text,
                 QStringLiteral("You got 5 seconds to select an active window on the desktop"));
        QVERIFY(!window->isVisible());
        QTimer* actt = timer(owner, "actt");
        QVERIFY(actt && actt->isActive() && actt->isSingleShot());
        QCOMPARE(actt->interval(), 5000);

        // The user activates another window meanwhile: the tick takes the one active then.
        h.grabber.activeFrame = QRect(200, 100, 320, 240);
        QVERIFY(tick(actt));
        QVERIFY(!actt->isActive());
        QVERIFY(window->isVisible());
        QVERIFY(!window->viewer()->recordFlag());
        const QImage written(h.tempFile(QStringLiteral("screenshot1.jpg")));
        QVERIFY(largestDifference(written, h.grabber.screen.copy(200, 100, 320, 240)) <=
                kJpegTolerance);
    }

    void activeWindowWithTheDesktopFocusedRecordsTheFullScreen() {
        AppHarness h;
        startShown(h);
        MainWindow* window = h.app->mainWindow();

        h.grabber.activeFrame = QRect();
        item(window, "actw")->trigger();
        QVERIFY(tick(timer(window, "actt")));
        QCOMPARE(window->viewer()->lstv()->rowCount(), 1);
        QCOMPARE(window->viewer()->ima()->picture(), h.grabber.screen);
        QCOMPARE(QImage(h.tempFile(QStringLiteral("screenshot1.jpg"))).size(), QSize(1024, 768));
        QVERIFY(!window->viewer()->recordFlag());
    }

    void checkMarksFollowTheLastModeInBothMenus_data() {
        QTest::addColumn<QString>("owner");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("mode");
        const char* const main[] = {"actw", "sel", "scrfull", "msnsh"};
        const char* const tray[] = {"actws", "sele", "fuscsh", "msnsssh"};
        for (int mode = 0; mode < 4; ++mode) {
            QTest::addRow("main %s", main[mode]) << "main" << main[mode] << mode;
            QTest::addRow("tray %s", tray[mode]) << "tray" << tray[mode] << mode;
        }
    }
    void checkMarksFollowTheLastModeInBothMenus() {
        QFETCH(QString, owner);
        QFETCH(QString, chosen);
        QFETCH(int, mode);
        AppHarness h;
        startShown(h);
        QWidget* mainWindow = h.app->mainWindow();
        QWidget* tray = h.app->trayWindow();
        const char* const main[] = {"actw", "sel", "scrfull", "msnsh"};
        const char* const trayItems[] = {"actws", "sele", "fuscsh", "msnsssh"};
        for (int i = 0; i < 4; ++i)
            QVERIFY(!item(mainWindow, main[i])->isChecked() &&
                    !item(tray, trayItems[i])->isChecked());

        // Another mode first, so that the chosen one has marks to take over.
        item(tray, trayItems[(mode + 1) % 4])->trigger();
        item(owner == QLatin1String("main") ? mainWindow : tray, qPrintable(chosen))->trigger();
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(item(mainWindow, main[i])->isChecked(), i == mode);
            QCOMPARE(item(tray, trayItems[i])->isChecked(), i == mode);
        }
    }

    void overlappingCapturesRecordOnlyTheFirstToFinish() {
        AppHarness h;
        startShown(h);
        MainWindow* window = h.app->mainWindow();
        item(window, "scrfull")->trigger();
        item(h.app->trayWindow(), "fuscsh")->trigger();

        QVERIFY(tick(timer(window, "bckt")));
        QCOMPARE(window->viewer()->lstv()->rowCount(), 1);
        QVERIFY(!window->viewer()->recordFlag());

        // The later capture is shown but not recorded: the flag was cleared by the first.
        h.grabber.screen.fill(QColor(10, 200, 30));
        QVERIFY(tick(timer(h.app->trayWindow(), "vertraag2")));
        QCOMPARE(window->viewer()->lstv()->rowCount(), 1);
        QCOMPARE(window->viewer()->ima()->picture(), h.grabber.screen);
        QCOMPARE(QDir(h.folder.filePath(QStringLiteral("Temp"))).entryList(QDir::Files).size(), 1);
        QVERIFY(!item(window, "saveimg")->isEnabled());
    }
};

QTEST_MAIN(TestCaptures)
#include "tst_Captures.moc"
