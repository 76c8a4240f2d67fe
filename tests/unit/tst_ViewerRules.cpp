#include "screenshots/ScreenshotStore.h"
#include "screenshots/ViewerRules.h"

#include <QTest>

using namespace glim;

Q_DECLARE_METATYPE(glim::Placement)

namespace {

// The main window's viewer: a 617 x 251 frame, a 617-pixel horizontal bar and a 249-pixel
// vertical bar.
ViewerSizes viewerWith(QSize picture) {
    return {picture, 617, 249, QSize(617, 251)};
}

constexpr std::optional<int> kKept = std::nullopt;

} // namespace

// The viewer's arithmetic: 16-bit scroll values, where a picture goes in the frame.
class TestViewerRules : public QObject {
    Q_OBJECT

private slots:
    void scrollValueIsSixteenBitBetweenMinAndMax() {
        ScrollBarState bar;
        QVERIFY2(!bar.setMax(300), "Value 0 lies in the new range already");
        QCOMPARE(bar.value(), 0);
        QVERIFY(bar.setValue(250));
        QVERIFY2(!bar.setValue(250), "the same value is no change");
        QVERIFY(bar.setValue(1000));
        QCOMPARE(bar.value(), 300);

        // A smaller Max moves Value into the new range, which is a change.
        QVERIFY(bar.setMax(100));
        QCOMPARE(bar.value(), 100);
        // A negative Max: Value lies between Max and Min.
        QVERIFY(bar.setMax(-149));
        QCOMPARE(bar.value(), 0);
        QVERIFY(bar.setValue(-500));
        QCOMPARE(bar.value(), -149);

        // Sixteen bits.
        bar.setMax(-100000);
        QCOMPARE(bar.max(), -32768);
        bar.setSmallChange(70000);
        QCOMPARE(bar.smallChange(), 32767);
    }

    // After a picture change, or for a chosen picture: a tall and narrow one then goes to the
    // top instead of keeping its Top. Left, Top, bars disabled, Center pressed.
    void placement_data() {
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<Placement>("expected");
        QTest::newRow("exactly as wide as the bar counts as wide")
            << false << QSize(617, 400) << Placement{0, 0, false, false, false};
        QTest::newRow("tall and narrow keeps its Top")
            << false << QSize(301, 1000) << Placement{158, kKept, true, false, true};
        QTest::newRow("as tall as the vertical bar, 2 pixels short of the frame")
            << false << QSize(100, 249) << Placement{258, kKept, true, false, true};
        QTest::newRow("1 pixel shorter than the vertical bar")
            << false << QSize(700, 248) << Placement{0, 2, false, true, false};
        QTest::newRow("chosen: tall and narrow goes to the top")
            << true << QSize(301, 1000) << Placement{158, 0, true, false, true};
    }
    void placement() {
        QFETCH(bool, chosen);
        QFETCH(QSize, picture);
        QFETCH(Placement, expected);
        const ViewerSizes sizes = viewerWith(picture);
        const Placement placement =
            chosen ? placeChosenPicture(sizes) : placeAfterPictureChange(sizes);
        QCOMPARE(placement.left, expected.left);
        QCOMPARE(placement.top, expected.top);
        QCOMPARE(placement.disableHBar, expected.disableHBar);
        QCOMPARE(placement.disableVBar, expected.disableVBar);
        QCOMPARE(placement.pressCentre, expected.pressCentre);
    }

    void sizeTextIsHeightByWidthInHundredthsOfAMillimetre() {
        QCOMPARE(sizeText(QSize(1024, 768), 96), QStringLiteral("20320 x 27093"));
        QCOMPARE(sizeText(QSize(2, 1), 96), QStringLiteral("26 x 53")); // 52.9 rounded
        QCOMPARE(sizeText(QSize(1920, 1080), 120), QStringLiteral("22860 x 40640"));
    }
};

QTEST_GUILESS_MAIN(TestViewerRules)
#include "tst_ViewerRules.moc"
