#include "support/X11Session.h"

#include <QImage>
#include <QTest>

// Edit Image in the real program in a real X session: a pasted screenshot brightened by
// dragging the bar with the mouse and applied to its working file.
class TestEditImage : public QObject {
    Q_OBJECT

private slots:
    void brighteningDraggedWithTheMouseReachesTheWorkingFile() {
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        ProgramCopy program;
        const qulonglong main = x.startShown(program);
        QVERIFY(main);

        // A dark picture pasted from the clipboard (New Event, Open, Paste) becomes screenshot1.
        QImage dark(160, 120, QImage::Format_RGB888);
        dark.fill(QColor(40, 50, 30));
        QVERIFY(x.offerPicture(dark));
        QVERIFY(x.mainMenu(main, "Down Down Down"));
        const QString file = program.path("Temp/screenshot1.jpg");
        QVERIFY(!X11Session::waitForPicture(file).isNull());

        // The row chosen in the list, then Extra > Edit Image > Adjust Brightness.
        const QRect area = x.windowGeometry(main);
        x.click(area.x() + 60, area.bottom() + 1 - 480 + 296 + 30);
        QVERIFY(x.mainMenu(main, "Right Right Right"));
        const qulonglong dialog = x.waitForWindow("^Edit Image$");
        QVERIFY(dialog);
        const QRect place = x.windowGeometry(dialog);

        // Pressed at the bar's left, dragged to X = 150 (gain 4), released.
        QList<QPoint> path;
        for (int barX = 10; barX <= 150; barX += 20)
            path.append(place.topLeft() + QPoint(8 + barX, 24 + 6));
        x.drag(path);
        x.click(place.x() + 88 + 40, place.y() + 128 + 8); // Apply Changes

        QVERIFY(x.answer("^Zivra Glimwell Information$"));
        // Gain 4: (40, 50, 30) becomes about (161, 201, 121).
        QImage after;
        QVERIFY(X11Session::waitUntil(
            [&] { return after.load(file) && qAbs(after.pixelColor(80, 60).green() - 201) <= 4; }));
        QVERIFY(qAbs(after.pixelColor(80, 60).red() - 161) <= 4);
        QVERIFY(x.visibleWindows("^Edit Image$").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestEditImage)
#include "tst_EditImage.moc"
