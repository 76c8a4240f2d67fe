#include "imaging/DibSection.h"

#include <QTest>

#include <climits>
#include <cstring>

using namespace glim;

namespace {

// A picture whose every pixel tells its place: red = 10 x, green = 10 y, blue = 200.
Picture placedPicture(int width, int height) {
    Picture picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(10 * x, 10 * y, 200));
    return picture;
}

// The pixel at (x, y) counted from the top, read straight from the bottom-up buffer.
QRgb pixelFromTop(const DibSection& dib, int x, int y) {
    const std::uint8_t* p = dib.dibSectionBitsPtr() +
                            std::ptrdiff_t(dib.height() - 1 - y) * dib.bytesPerScanLine() + 3 * x;
    return qRgb(p[2], p[1], p[0]);
}

void fillBuffer(DibSection& dib, std::uint8_t value) {
    std::memset(dib.dibSectionBitsPtr(), value,
                std::size_t(dib.bytesPerScanLine()) * std::size_t(dib.height()));
}

std::uint8_t& blueAt(DibSection& dib, int x, int yFromBottom) {
    return dib.dibSectionBitsPtr()[std::ptrdiff_t(yFromBottom) * dib.bytesPerScanLine() + 3 * x];
}

} // namespace

// The pixel buffer: layout, creation, copies in and out, noise and resampling.
class TestDibSection : public QObject {
    Q_OBJECT

private slots:
    // Converted from another format or sharing the picture's pixels.
    void picturesBecomeBottomUpBgrRowsPaddedToFourBytes_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("stride");
        QTest::addColumn<int>("format");
        const int rgb32 = QImage::Format_RGB32, bgr = QImage::Format_BGR888;
        QTest::newRow("1 pixel") << 1 << 4 << rgb32;
        QTest::newRow("2 pixels") << 2 << 8 << bgr;
        QTest::newRow("3 pixels") << 3 << 12 << rgb32;
        QTest::newRow("4 pixels") << 4 << 12 << bgr;
        QTest::newRow("5 pixels") << 5 << 16 << rgb32;
        QTest::newRow("1366 pixels") << 1366 << 4100 << bgr;
    }
    void picturesBecomeBottomUpBgrRowsPaddedToFourBytes() {
        QFETCH(int, width);
        QFETCH(int, stride);
        QFETCH(int, format);
        const Picture original = placedPicture(width, 3);
        DibSection dib;
        dib.createFromPicture(original.convertToFormat(QImage::Format(format)));
        QCOMPARE(dib.bytesPerScanLine(), stride);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x)
                QCOMPARE(pixelFromTop(dib, x, y), original.pixel(x, y));
        // The padding stays as the fresh buffer had it.
        for (int i = 0; i < 3 * stride; ++i)
            QVERIFY(i % stride < 3 * width || dib.dibSectionBitsPtr()[i] == 0);
    }

    void refusedSizeLeavesTheBufferEmptyAndReportsTheRequest_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("0 x 10") << 0 << 10;
        QTest::newRow("10 x 0") << 10 << 0;
        QTest::newRow("negative width") << -4 << 7;
        QTest::newRow("stride beyond 32 bits") << INT_MAX << 1;
        QTest::newRow("block beyond memory") << 1000000 << INT_MAX;
    }
    void refusedSizeLeavesTheBufferEmptyAndReportsTheRequest() {
        QFETCH(int, width);
        QFETCH(int, height);
        DibSection dib;
        QVERIFY(dib.create(4, 4));
        QVERIFY(!dib.create(width, height));
        QVERIFY(dib.dibSectionBitsPtr() == nullptr);
        QCOMPARE(dib.width(), width);
        QCOMPARE(dib.height(), height);
        QVERIFY(dib.resample(height, width) == nullptr);
    }

    void secondCreateGivesAFreshBufferAndClearUpKeepsTheSize() {
        DibSection dib;
        QVERIFY(dib.create(3, 3));
        fillBuffer(dib, 0xAB);
        QVERIFY(dib.create(5, 2));
        QCOMPARE(dib.bytesPerScanLine(), 16);
        for (int i = 0; i < 32; ++i)
            QCOMPARE(int(dib.dibSectionBitsPtr()[i]), 0);
        dib.clearUp();
        QVERIFY(dib.isEmpty());
        QCOMPARE(QSize(dib.width(), dib.height()), QSize(5, 2));
        // An empty buffer gives no pixels, and resamples into a black one.
        Picture picture(5, 2, QImage::Format_BGR888);
        picture.fill(Qt::white);
        dib.paintPicture(picture);
        QCOMPARE(picture.pixelColor(0, 0), QColor(Qt::white));
        const std::unique_ptr<DibSection> resampled = dib.resample(3, 3);
        QVERIFY(resampled && resampled->dibSectionBitsPtr()[0] == 0);
        dib.createFromPicture(Picture());
        QVERIFY(dib.isEmpty());
    }

    // In: a 5 x 4 picture into a 4 x 3 buffer at its corner. Out: a 4 x 3 buffer onto a 5 x 5
    // picture. A negative width or height means the buffer's own; what falls outside the
    // source or the destination is not copied.
    void rectangleCopiesInAndOut_data() {
        QTest::addColumn<bool>("out");
        QTest::addColumn<QPoint>("dest");
        QTest::addColumn<QPoint>("src");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("covered"); // the destination area written, from the top
        const QPoint corner(0, 0);
        QTest::newRow("in: whole")
            << false << corner << corner << QSize(-1, -1) << QRect(0, 0, 4, 3);
        QTest::newRow("in: two columns")
            << false << corner << corner << QSize(2, -1) << QRect(0, 0, 2, 3);
        QTest::newRow("in: no columns") << false << corner << corner << QSize(0, -1) << QRect();
        QTest::newRow("in: from inside")
            << false << corner << QPoint(1, 1) << QSize(2, 2) << QRect(0, 0, 2, 2);
        QTest::newRow("in: partly left of the picture")
            << false << corner << QPoint(-1, 0) << QSize(3, 2) << QRect(1, 0, 2, 2);
        QTest::newRow("in: wholly outside")
            << false << corner << QPoint(9, 9) << QSize(-1, -1) << QRect();
        QTest::newRow("out: whole")
            << true << corner << corner << QSize(-1, -1) << QRect(0, 0, 4, 3);
        QTest::newRow("out: to an offset, cut")
            << true << QPoint(2, 3) << corner << QSize(-1, -1) << QRect(2, 3, 3, 2);
        QTest::newRow("out: part from an offset")
            << true << corner << QPoint(1, 1) << QSize(2, 2) << QRect(0, 0, 2, 2);
    }
    void rectangleCopiesInAndOut() {
        QFETCH(bool, out);
        QFETCH(QPoint, dest);
        QFETCH(QPoint, src);
        QFETCH(QSize, size);
        QFETCH(QRect, covered);
        const Picture source = placedPicture(out ? 4 : 5, out ? 3 : 4);
        Picture picture(5, 5, QImage::Format_RGB32);
        picture.fill(qRgb(1, 1, 1));
        DibSection dib;
        QVERIFY(dib.create(4, 3));
        fillBuffer(dib, 1);
        // The whole copies go through the defaults.
        const bool whole = dest.isNull() && src.isNull() && size == QSize(-1, -1);
        if (out) {
            dib.createFromPicture(source);
            if (whole)
                dib.paintPicture(picture);
            else
                dib.paintPicture(picture, dest.x(), dest.y(), size.width(), size.height(), src.x(),
                                 src.y());
            QCOMPARE(picture.format(), QImage::Format_BGR888);
        } else if (whole) {
            dib.loadPictureBlt(source);
        } else {
            dib.loadPictureBlt(source, src.x(), src.y(), size.width(), size.height());
        }
        const QSize written = out ? picture.size() : QSize(4, 3);
        for (int y = 0; y < written.height(); ++y) {
            for (int x = 0; x < written.width(); ++x) {
                const QPoint at(x, y);
                QCOMPARE(out ? picture.pixel(at) : pixelFromTop(dib, x, y),
                         covered.contains(at) ? source.pixel(at - dest + src) : qRgb(1, 1, 1));
            }
        }
    }

    void noiseFillsThePixelsAndKeepsThePadding_data() {
        QTest::addColumn<bool>("gray");
        QTest::newRow("colour: blue 0") << false;
        QTest::newRow("gray: three equal components") << true;
    }
    void noiseFillsThePixelsAndKeepsThePadding() {
        QFETCH(bool, gray);
        DibSection dib;
        QVERIFY(dib.create(5, 7)); // 15 bytes of pixels and 1 of padding a row
        fillBuffer(dib, 0x5A);
        dib.randomiseBits(gray);
        QSet<int> values;
        int unchanged = 0;
        for (int row = 0; row < 7; ++row) {
            const std::uint8_t* r = dib.dibSectionBitsPtr() + row * 16;
            QCOMPARE(int(r[15]), 0x5A);
            for (int x = 0; x < 5; ++x) {
                const std::uint8_t* pixel = r + 3 * x;
                QCOMPARE(int(pixel[0]), gray ? int(pixel[1]) : 0);
                if (gray)
                    QCOMPARE(pixel[2], pixel[1]);
                values << pixel[1] << pixel[2];
                unchanged += pixel[1] == 0x5A && pixel[2] == 0x5A;
            }
        }
        // 35 pixels of noise: a handful of values only would mean no noise at all, and five
        // pixels left as they were (a chance below 1 in 10^6) a part of the buffer missed.
        QVERIFY(values.size() > 10);
        QVERIFY(unchanged < 5);
    }

    // Blue bytes of the source listed bottom row first; the target's pixel counted likewise.
    // Sources narrower or lower than 2 read only their own pixels: in the checked builds a read
    // past a row stops the test.
    void bilinearResample_data() {
        QTest::addColumn<QSize>("from");
        QTest::addColumn<QList<int>>("blues");
        QTest::addColumn<QSize>("to");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("blue");
        const QList<int> square{0, 100, 200, 255};
        QTest::newRow("2 x 2: (0, 0)") << QSize(2, 2) << square << QSize(4, 4) << QPoint(0, 0) << 0;
        QTest::newRow("2 x 2: (1, 0)")
            << QSize(2, 2) << square << QSize(4, 4) << QPoint(1, 0) << 25;
        QTest::newRow("2 x 2: (2, 2)")
            << QSize(2, 2) << square << QSize(4, 4) << QPoint(2, 2) << 139;
        QTest::newRow("2 x 2: (3, 2), 158.5 to even")
            << QSize(2, 2) << square << QSize(4, 4) << QPoint(3, 2) << 158;
        QTest::newRow("2 x 2: (3, 3) short of the corner")
            << QSize(2, 2) << square << QSize(4, 4) << QPoint(3, 3) << 200;
        const QList<int> column{0, 100, 200};
        QTest::newRow("1 x 3: the next row up")
            << QSize(1, 3) << column << QSize(1, 4) << QPoint(0, 1) << 50;
        QTest::newRow("1 x 3: the top rows")
            << QSize(1, 3) << column << QSize(3, 4) << QPoint(2, 3) << 150;
        const QList<int> row{10, 20, 40};
        QTest::newRow("3 x 1: the next column")
            << QSize(3, 1) << row << QSize(4, 2) << QPoint(1, 1) << 15;
        QTest::newRow("3 x 1: the last two columns")
            << QSize(3, 1) << row << QSize(4, 2) << QPoint(3, 1) << 30;
        QTest::newRow("to its own size: a copy")
            << QSize(1, 3) << column << QSize(1, 3) << QPoint(0, 2) << 200; // 133 interpolated
        QTest::newRow("1 x 1") << QSize(1, 1) << QList<int>{77} << QSize(3, 3) << QPoint(2, 2)
                               << 77;
    }
    void bilinearResample() {
        QFETCH(QSize, from);
        QFETCH(QList<int>, blues);
        QFETCH(QSize, to);
        QFETCH(QPoint, at);
        DibSection dib;
        QVERIFY(dib.create(from.width(), from.height()));
        for (int i = 0; i < blues.size(); ++i)
            blueAt(dib, i % from.width(), i / from.width()) = std::uint8_t(blues[i]);
        const std::unique_ptr<DibSection> big = dib.resample(to.height(), to.width());
        QVERIFY(big);
        const std::uint8_t* pixel = &blueAt(*big, at.x(), at.y());
        QTEST(int(pixel[0]), "blue");
        QCOMPARE(int(pixel[1]) + int(pixel[2]), 0);
    }
};

QTEST_GUILESS_MAIN(TestDibSection)
#include "tst_DibSection.moc"
