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

// The blue byte of the pixel at (x, y) counted from the bottom, in the buffer itself.
std::uint8_t* pixelAt(DibSection& dib, int x, int yFromBottom) {
    return dib.dibSectionBitsPtr() + std::ptrdiff_t(yFromBottom) * dib.bytesPerScanLine() + 3 * x;
}

// The pixel at (x, y) counted from the top.
QRgb pixelFromTop(DibSection& dib, int x, int y) {
    const std::uint8_t* p = pixelAt(dib, x, dib.height() - 1 - y);
    return qRgb(p[2], p[1], p[0]);
}

void fillBuffer(DibSection& dib, std::uint8_t value) {
    std::memset(dib.dibSectionBitsPtr(), value,
                std::size_t(dib.bytesPerScanLine()) * std::size_t(dib.height()));
}

} // namespace

// The pixel buffer: layout, creation, copies in and out, noise and resampling.
class TestDibSection : public QObject {
    Q_OBJECT

private slots:
    // A buffer that holds pixels is made again: from a picture of another format or one whose
    // pixels it can share, or refused (stride 0) and then empty, reporting the size asked for,
    // copying nothing and resampled into a black buffer.
    void createMakesBottomUpBgrRowsPaddedToFourBytesOrNothing_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("stride");
        const int rgb32 = QImage::Format_RGB32, bgr = QImage::Format_BGR888;
        QTest::newRow("1 pixel") << QSize(1, 3) << rgb32 << 4;
        QTest::newRow("2 pixels") << QSize(2, 3) << bgr << 8;
        QTest::newRow("3 pixels") << QSize(3, 3) << rgb32 << 12;
        QTest::newRow("4 pixels") << QSize(4, 3) << bgr << 12;
        QTest::newRow("0 x 10") << QSize(0, 10) << bgr << 0;
        QTest::newRow("10 x 0") << QSize(10, 0) << bgr << 0;
        QTest::newRow("stride beyond 32 bits") << QSize(INT_MAX, 1) << bgr << 0;
        QTest::newRow("block beyond memory") << QSize(1000000, INT_MAX) << bgr << 0;
    }
    void createMakesBottomUpBgrRowsPaddedToFourBytesOrNothing() {
        QFETCH(QSize, size);
        QFETCH(int, stride);
        DibSection dib;
        QVERIFY(dib.create(5, 5));
        fillBuffer(dib, 0xAB);
        if (stride == 0) {
            QVERIFY(!dib.create(size.width(), size.height()));
            QVERIFY(dib.dibSectionBitsPtr() == nullptr);
            QCOMPARE(QSize(dib.width(), dib.height()), size);
            QVERIFY(dib.resample(size.height(), size.width()) == nullptr);
            // Each would write through or read from the released block.
            Picture picture(5, 2, QImage::Format_BGR888);
            dib.paintPicture(picture);
            dib.loadPictureBlt(picture);
            dib.randomiseBits();
            const std::unique_ptr<DibSection> resampled = dib.resample(3, 3);
            QVERIFY(resampled && resampled->dibSectionBitsPtr()[0] == 0);
            return;
        }
        const Picture original = placedPicture(size.width(), size.height());
        QFETCH(int, format);
        dib.createFromPicture(original.convertToFormat(QImage::Format(format)));
        QCOMPARE(dib.bytesPerScanLine(), stride);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < size.width(); ++x)
                QCOMPARE(pixelFromTop(dib, x, y), original.pixel(x, y));
        // The padding is zero, as in a fresh bitmap, whatever the earlier buffer held.
        for (int i = 0; i < 3 * stride; ++i)
            QVERIFY(i % stride < 3 * size.width() || dib.dibSectionBitsPtr()[i] == 0);
    }

    // In: a 5 x 4 picture into a 4 x 3 buffer at its corner. Out: a 4 x 3 buffer onto a 5 x 5
    // picture. A negative width or height means the buffer's own (the whole copy in is the
    // creation's); what falls outside the source or the destination is not copied.
    void rectangleCopiesInAndOut_data() {
        QTest::addColumn<bool>("out");
        QTest::addColumn<QPoint>("dest");
        QTest::addColumn<QRect>("src");     // its place and size
        QTest::addColumn<QRect>("covered"); // the destination area written, from the top
        const QPoint corner(0, 0);
        const QRect whole(0, 0, -1, -1);
        const bool in = false, out = true;
        QTest::newRow("in: 2 columns") << in << corner << QRect(0, 0, 2, -1) << QRect(0, 0, 2, 3);
        QTest::newRow("in: no columns") << in << corner << QRect(0, 0, 0, -1) << QRect();
        // Partly left of the picture, partly above it, wholly outside it.
        QTest::newRow("in: left") << in << corner << QRect(-1, 0, 3, 2) << QRect(1, 0, 2, 2);
        QTest::newRow("in: above") << in << corner << QRect(0, -2, -1, -1) << QRect(0, 2, 4, 1);
        QTest::newRow("in: outside") << in << corner << QRect(9, 9, -1, -1) << QRect();
        QTest::newRow("out: to (2, 3), cut") << out << QPoint(2, 3) << whole << QRect(2, 3, 3, 2);
        QTest::newRow("out: part of it") << out << corner << QRect(1, 1, 2, 2) << QRect(0, 0, 2, 2);
    }
    void rectangleCopiesInAndOut() {
        QFETCH(bool, out);
        QFETCH(QPoint, dest);
        QFETCH(QRect, src);
        QFETCH(QRect, covered);
        const Picture source = placedPicture(out ? 4 : 5, out ? 3 : 4);
        Picture picture(5, 5, QImage::Format_RGB32);
        picture.fill(qRgb(1, 1, 1));
        DibSection dib;
        QVERIFY(dib.create(4, 3));
        fillBuffer(dib, 1);
        if (out) {
            dib.createFromPicture(source);
            dib.paintPicture(picture, dest.x(), dest.y(), src.width(), src.height(), src.x(),
                             src.y());
            QCOMPARE(picture.format(), QImage::Format_BGR888);
        } else {
            dib.loadPictureBlt(source, src.x(), src.y(), src.width(), src.height());
        }
        const QSize written = out ? picture.size() : QSize(4, 3);
        for (int y = 0; y < written.height(); ++y)
            for (int x = 0; x < written.width(); ++x)
                QCOMPARE(out ? picture.pixel(x, y) : pixelFromTop(dib, x, y),
                         covered.contains(x, y) ? source.pixel(QPoint(x, y) - dest + src.topLeft())
                                                : qRgb(1, 1, 1));
    }

    // Colour: blue 0; gray: three equal components.
    void noiseFillsThePixelsAndKeepsThePadding() {
        for (const bool gray : {false, true}) {
            DibSection dib;
            QVERIFY(dib.create(5, 7)); // 15 bytes of pixels and 1 of padding a row
            fillBuffer(dib, 0x5A);
            dib.randomiseBits(gray);
            QSet<int> values;
            int unchanged = 0;
            for (int row = 0; row < 7; ++row) {
                const std::uint8_t* r = dib.dibSectionBitsPtr() + row * 16;
                QCOMPARE(int(r[15]), 0x5A);
                for (const std::uint8_t* pixel = r; pixel < r + 15; pixel += 3) {
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
        const QSize s2(2, 2), s4(4, 4);
        QTest::newRow("2 x 2: (1, 0)") << s2 << square << s4 << QPoint(1, 0) << 25;
        QTest::newRow("2 x 2: (2, 2)") << s2 << square << s4 << QPoint(2, 2) << 139;
        QTest::newRow("2 x 2: (3, 2), 158.5 to even") << s2 << square << s4 << QPoint(3, 2) << 158;
        QTest::newRow("2 x 2: (3, 3), short of the corner")
            << s2 << square << s4 << QPoint(3, 3) << 200;
        const QList<int> column{0, 100, 200}, row{10, 20, 40};
        const QSize c3(1, 3);
        QTest::newRow("1 x 3: the top rows") << c3 << column << QSize(3, 4) << QPoint(2, 3) << 150;
        QTest::newRow("1 x 3: rows 0 and 1") << c3 << column << QSize(1, 4) << QPoint(0, 1) << 50;
        QTest::newRow("3 x 1: the last columns")
            << QSize(3, 1) << row << QSize(4, 2) << QPoint(3, 1) << 30;
        // To its own size: a copy (interpolated, the pixel would be 133).
        QTest::newRow("1 x 3 to 1 x 3") << c3 << column << c3 << QPoint(0, 2) << 200;
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
            *pixelAt(dib, i % from.width(), i / from.width()) = std::uint8_t(blues[i]);
        const std::unique_ptr<DibSection> big = dib.resample(to.height(), to.width());
        QVERIFY(big);
        const std::uint8_t* pixel = pixelAt(*big, at.x(), at.y());
        QTEST(int(pixel[0]), "blue");
        QCOMPARE(int(pixel[1]) + int(pixel[2]), 0);
    }
};

QTEST_GUILESS_MAIN(TestDibSection)
#include "tst_DibSection.moc"
