#include "platform/x11/ZPixmapConversion.h"

#include <QTest>

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
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<QByteArray>("bgr");
        QTest::newRow("32-bit B,G,R,x")
            << kBgrx << QByteArray("\x10\x20\x30\xff\x00\x80\xff\x00", 8)
            << QByteArray("\x10\x20\x30\x00\x80\xff", 6);
        QTest::newRow("32-bit most significant byte first")
            << format(32, true, 0xff0000, 0x00ff00, 0x0000ff) << QByteArray("\xff\x30\x20\x10", 4)
            << QByteArray("\x10\x20\x30", 3);
        QTest::newRow("32-bit R,G,B,x")
            << format(32, false, 0x0000ff, 0x00ff00, 0xff0000) << QByteArray("\x30\x20\x10\x00", 4)
            << QByteArray("\x10\x20\x30", 3);
        QTest::newRow("24-bit packed") << format(24, false, 0xff0000, 0x00ff00, 0x0000ff)
                                       << QByteArray("\x10\x20\x30\x01\x02\x03", 6)
                                       << QByteArray("\x10\x20\x30\x01\x02\x03", 6);
        // 5 and 6 bits stretched over 0 to 255: full stays full, 16 of 31 is 132, 32 of 63
        // is 130, 8 of 31 is 66.
        QTest::newRow("16-bit 5-6-5")
            << k565 << QByteArray("\xff\xff\x00\xf8\xe0\x07\x1f\x00\x08\x84\x00\x00", 12)
            << QByteArray("\xff\xff\xff\x00\x00\xff\x00\xff\x00\xff\x00\x00\x42\x82\x84"
                          "\x00\x00\x00",
                          18);
        QTest::newRow("15-bit 5-5-5")
            << format(16, false, 0x7c00, 0x03e0, 0x001f) << QByteArray("\x00\x7c\x00\x02", 4)
            << QByteArray("\x00\x00\xff\x00\x84\x00", 6);
        QTest::newRow("16-bit most significant byte first")
            << format(16, true, 0xf800, 0x07e0, 0x001f) << QByteArray("\xf8\x00\x00\x1f", 4)
            << QByteArray("\x00\x00\xff\xff\x00\x00", 6);
        // A deep colour keeps its highest 8 bits.
        QTest::newRow("30-bit 10-10-10")
            << format(32, false, 0x3ff00000, 0x000ffc00, 0x000003ff)
            << QByteArray("\xff\x03\xf0\x3f", 4) << QByteArray("\xff\x00\xff", 3);
    }
    void eachServerLayoutGivesTheSameColours() {
        QFETCH(ZPixmapFormat, layout);
        QFETCH(QByteArray, row);
        QFETCH(QByteArray, bgr);
        QVERIFY(canConvertZPixmap(layout));
        const int width = int(bgr.size() / 3);
        QByteArray target(bgr.size() + 1, '\x5a');
        convertZPixmapToBgr(layout, reinterpret_cast<const std::uint8_t*>(row.constData()),
                            row.size(), reinterpret_cast<std::uint8_t*>(target.data()),
                            target.size(), width, 1);
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
        const int rows = 3;
        const int bytesPerPixel = layout.bitsPerPixel / 8;
        const auto sourceStride = zPixmapStride(layout, width);
        std::vector<std::uint8_t> source(std::size_t(sourceStride * rows));
        for (std::size_t i = 0; i < source.size(); ++i)
            source[i] = std::uint8_t(i * 7 + i / 251);
        const std::int64_t targetStride = width * 3 + 5;
        std::vector<std::uint8_t> target(std::size_t(targetStride * rows), 0xa5);
        convertZPixmapToBgr(layout, source.data(), sourceStride, target.data(), targetStride, width,
                            rows);
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* in = &source[std::size_t(y * sourceStride + x * bytesPerPixel)];
                const std::uint8_t* out = &target[std::size_t(y * targetStride + x * 3)];
                if (bytesPerPixel == 4) {
                    QCOMPARE(QByteArray(reinterpret_cast<const char*>(out), 3),
                             QByteArray(reinterpret_cast<const char*>(in), 3));
                } else {
                    const unsigned pixel = in[0] | unsigned(in[1]) << 8;
                    QCOMPARE(out[2] >> 3, int(pixel >> 11));
                    QCOMPARE(out[1] >> 2, int(pixel >> 5 & 63));
                    QCOMPARE(out[0] >> 3, int(pixel & 31));
                }
            }
            for (std::int64_t pad = width * 3; pad < targetStride; ++pad)
                QCOMPARE(target[std::size_t(y * targetStride + pad)], std::uint8_t(0xa5));
        }
    }

    void unreadableLayoutsAreRefused_data() {
        QTest::addColumn<ZPixmapFormat>("layout");
        QTest::addColumn<int>("width");
        QTest::addColumn<qint64>("stride");
        QTest::newRow("32-bit, 1920 wide") << kBgrx << 1920 << qint64(7680);
        QTest::newRow("16-bit rows padded to 32 bits") << k565 << 3 << qint64(8);
        QTest::newRow("24-bit rows padded to 32 bits")
            << format(24, false, 0xff0000, 0xff00, 0xff) << 5 << qint64(16);
        QTest::newRow("24-bit rows padded to 8 bits")
            << format(24, false, 0xff0000, 0xff00, 0xff, 8) << 5 << qint64(15);
        QTest::newRow("8-bit palette") << format(8, false, 0, 0, 0, 8) << 4 << qint64(0);
        QTest::newRow("colours overlapping")
            << format(32, false, 0xff0000, 0x00ffff, 0x0000ff) << 4 << qint64(0);
        QTest::newRow("a colour in two runs")
            << format(32, false, 0xff0000, 0x00f00f, 0x000ff0) << 4 << qint64(0);
        QTest::newRow("a colour beyond the pixel")
            << format(16, false, 0x1f0000, 0x07e0, 0x001f) << 4 << qint64(0);
        QTest::newRow("no row padding")
            << format(32, false, 0xff0000, 0xff00, 0xff, 0) << 4 << qint64(0);
    }
    void unreadableLayoutsAreRefused() {
        QFETCH(ZPixmapFormat, layout);
        QFETCH(int, width);
        QFETCH(qint64, stride);
        QCOMPARE(canConvertZPixmap(layout), stride != 0);
        QCOMPARE(zPixmapStride(layout, width), stride);
    }
};

QTEST_APPLESS_MAIN(TestScreenPixels)

#include "tst_ScreenPixels.moc"
