#include "platform/x11/MappedPicture.h"
#include "platform/x11/ZPixmapConversion.h"

#include <QTest>

#include <algorithm>
#include <vector>

using namespace glim;

Q_DECLARE_METATYPE(glim::ZPixmapFormat)

namespace {

ZPixmapFormat format(int bpp, bool msbFirst, std::uint32_t red, std::uint32_t green,
                     std::uint32_t blue, int pad = 32) {
    return {bpp, msbFirst, red, green, blue, pad};
}

const ZPixmapFormat kBgrx = format(32, false, 0xff0000, 0x00ff00, 0x0000ff);
const ZPixmapFormat k565 = format(16, false, 0xf800, 0x07e0, 0x001f);

} // namespace

// The screen's pixels as X servers lay them out, converted into the program's B,G,R rows.
class TestScreenPixels : public QObject {
    Q_OBJECT

private slots:
    // Every layout a server may use for one row of pixels, and the B,G,R bytes each gives.
    void eachServerLayoutGivesTheSameColours_data() {
        QTest::addColumn<ZPixmapFormat>("layout");
        QTest::addColumn<QByteArray>("row"); // in hex, as the server sends it
        QTest::addColumn<QByteArray>("bgr");
        const auto add = [](const char* name, ZPixmapFormat layout, const char* row,
                            const char* bgr) {
            QTest::newRow(name) << layout << QByteArray::fromHex(row) << QByteArray::fromHex(bgr);
        };
        add("32-bit B,G,R,x", kBgrx, "102030ff0080ff00", "1020300080ff");
        add("32-bit most significant byte first", format(32, true, 0xff0000, 0xff00, 0xff),
            "ff302010", "102030");
        add("32-bit R,G,B,x", format(32, false, 0xff, 0xff00, 0xff0000), "30201000", "102030");
        add("24-bit packed", format(24, false, 0xff0000, 0xff00, 0xff), "102030010203",
            "102030010203");
        // 5 and 6 bits stretched over 0 to 255: full stays full, 16 of 31 is 132, 32 of 63
        // is 130, 8 of 31 is 66.
        add("16-bit 5-6-5", k565, "ffff00f8e0071f0008840000",
            "ffffff0000ff00ff00ff0000428284000000");
        add("15-bit 5-5-5", format(16, false, 0x7c00, 0x03e0, 0x001f), "007c0002", "0000ff008400");
        add("16-bit most significant byte first", format(16, true, 0xf800, 0x07e0, 0x001f),
            "f800001f", "0000ffff0000");
        // A deep colour keeps its highest 8 bits.
        add("30-bit 10-10-10", format(32, false, 0x3ff00000, 0x000ffc00, 0x000003ff), "ff03f03f",
            "ff00ff");
    }
    void eachServerLayoutGivesTheSameColours() {
        QFETCH(ZPixmapFormat, layout);
        QFETCH(QByteArray, row);
        QFETCH(QByteArray, bgr);
        QVERIFY(canConvertZPixmap(layout));
        QByteArray target(bgr.size() + 1, '\x5a');
        convertZPixmapToBgr(layout, reinterpret_cast<const std::uint8_t*>(row.constData()),
                            row.size(), reinterpret_cast<std::uint8_t*>(target.data()),
                            target.size(), int(bgr.size() / 3), 1);
        QCOMPARE(target.left(bgr.size()).toHex(' '), bgr.toHex(' '));
        QCOMPARE(target.back(), '\x5a'); // the row's padding is not the conversion's
    }

    // Rows of any width, through the vector path and its tail: every pixel lands in place,
    // and what follows each target row (its padding) is left alone.
    void wideRowsKeepEveryPixelAndThePadding_data() {
        QTest::addColumn<ZPixmapFormat>("layout");
        QTest::addColumn<int>("width");
        for (const int width : {1, 15, 16, 17, 37, 1920}) {
            QTest::addRow("B,G,R,x %d", width) << kBgrx << width;
            QTest::addRow("5-6-5 %d", width) << k565 << width;
        }
    }
    void wideRowsKeepEveryPixelAndThePadding() {
        QFETCH(ZPixmapFormat, layout);
        QFETCH(int, width);
        const int rows = 3, bytesPerPixel = layout.bitsPerPixel / 8;
        const std::int64_t sourceStride = zPixmapStride(layout, width), stride = width * 3 + 5;
        std::vector<std::uint8_t> source(std::size_t(sourceStride * rows));
        for (std::size_t i = 0; i < source.size(); ++i)
            source[i] = std::uint8_t(i * 7 + i / 251);
        std::vector<std::uint8_t> target(std::size_t(stride * rows), 0xa5);
        convertZPixmapToBgr(layout, source.data(), sourceStride, target.data(), stride, width,
                            rows);
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* in = &source[std::size_t(y * sourceStride + x * bytesPerPixel)];
                const std::uint8_t* out = &target[std::size_t(y * stride + x * 3)];
                const unsigned p = in[0] | unsigned(in[1]) << 8; // 5-6-5: compare the top bits
                QVERIFY(bytesPerPixel == 4
                            ? std::equal(out, out + 3, in)
                            : out[2] >> 3 == p >> 11 && out[1] >> 2 == (p >> 5 & 63) &&
                                  out[0] >> 3 == (p & 31));
            }
            const std::uint8_t* row = target.data() + y * stride;
            QVERIFY(std::all_of(row + width * 3, row + stride, [](int b) { return b == 0xa5; }));
        }
    }

    void unreadableLayoutsAreRefused_data() {
        QTest::addColumn<ZPixmapFormat>("layout");
        QTest::addColumn<int>("width");
        QTest::addColumn<qint64>("stride"); // 0: refused
        const auto add = [](const char* name, ZPixmapFormat layout, int width, qint64 stride) {
            QTest::newRow(name) << layout << width << stride;
        };
        add("16-bit rows padded to 32 bits", k565, 3, 8);
        add("24-bit rows padded to 32 bits", format(24, false, 0xff0000, 0xff00, 0xff), 5, 16);
        add("24-bit rows padded to 8 bits", format(24, false, 0xff0000, 0xff00, 0xff, 8), 5, 15);
        add("8-bit palette", format(8, false, 0, 0, 0, 8), 4, 0);
        add("colours overlapping", format(32, false, 0xff0000, 0x00ffff, 0x0000ff), 4, 0);
        add("a colour in two runs", format(32, false, 0xff0000, 0x00f00f, 0x000ff0), 4, 0);
        add("a colour beyond the pixel", format(16, false, 0x1f0000, 0x07e0, 0x001f), 4, 0);
        add("no row padding", format(32, false, 0xff0000, 0xff00, 0xff, 0), 4, 0);
    }
    void unreadableLayoutsAreRefused() {
        QFETCH(ZPixmapFormat, layout);
        QFETCH(int, width);
        QFETCH(qint64, stride);
        QCOMPARE(canConvertZPixmap(layout), stride != 0);
        QCOMPARE(zPixmapStride(layout, width), stride);
    }

    // The picture a screen read fills: B,G,R rows padded to four bytes, every byte writable,
    // here one large enough to be mapped in large pages (a 4K screen). The pages of one that
    // went serve the next picture of its size only: a smaller one's would not hold it.
    void pictureForAScreenReadHoldsEveryRow() {
        newMappedPicture(QSize(1024, 1024)).fill(Qt::black); // kept as the spare
        const QSize size(3841, 2160);
        for (int round = 0; round < 2; ++round) {
            Picture picture = newMappedPicture(size);
            QCOMPARE(picture.size(), size);
            QCOMPARE(picture.format(), QImage::Format_BGR888);
            QCOMPARE(picture.bytesPerLine(), (3 * size.width() + 3) / 4 * 4);
            // The second gets the first one's pages, pixels and all; fresh pages are zeroed.
            if (round == 1)
                QCOMPARE(picture.constBits()[picture.sizeInBytes() - 1], std::uint8_t(0x5A));
            std::fill_n(picture.bits(), picture.sizeInBytes(), std::uint8_t(0x5A + round));
            QCOMPARE(picture.pixel(size.width() - 1, size.height() - 1),
                     qRgb(0x5A + round, 0x5A + round, 0x5A + round));
        }
    }
};

QTEST_APPLESS_MAIN(TestScreenPixels)

#include "tst_ScreenPixels.moc"
