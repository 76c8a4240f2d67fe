#include "imaging/DibSection.h"
#include "platform/Dialogs.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>

#include <climits>
#include <cstring>

using namespace glim;

namespace {

// Records every message; the buffer only ever shows one with an OK button.
class RecordedDialogs : public Dialogs {
public:
    QStringList plainTexts;
    int others = 0;
    void information(const QString&) override { ++others; }
    bool question(const QString&) override { return ++others, false; }
    void exclamation(const QString&) override { ++others; }
    void plain(const QString& text) override { plainTexts << text; }
    void critical(const QString&, const QString&) override { ++others; }
};

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

// The pixel buffer: layout, creation, copies in and out, clipboard, noise and resampling.
class TestDibSection : public QObject {
    Q_OBJECT

private slots:
    void rowsArePaddedToFourBytes_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("stride");
        QTest::newRow("1 pixel") << 1 << 4;
        QTest::newRow("2 pixels") << 2 << 8;
        QTest::newRow("3 pixels") << 3 << 12;
        QTest::newRow("4 pixels") << 4 << 12;
        QTest::newRow("5 pixels") << 5 << 16;
        QTest::newRow("1366 pixels") << 1366 << 4100;
    }
    void rowsArePaddedToFourBytes() {
        QFETCH(int, width);
        QFETCH(int, stride);
        DibSection dib;
        QVERIFY(dib.create(width, 3));
        QCOMPARE(dib.bytesPerScanLine(), stride);
        // Rows really lie one stride apart: the bottom row of the picture starts the block.
        Picture picture(width, 3, QImage::Format_RGB32);
        picture.fill(Qt::black);
        picture.setPixel(width - 1, 2, qRgb(1, 2, 3));
        dib.createFromPicture(picture);
        const std::uint8_t* last = dib.dibSectionBitsPtr() + 3 * (width - 1);
        QCOMPARE(int(last[0]), 3);
        QCOMPARE(int(last[2]), 1);
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
        QVERIFY(dib.isEmpty());
        QVERIFY(dib.dibSectionBitsPtr() == nullptr);
        QCOMPARE(dib.hDib(), std::uintptr_t(0));
        QCOMPARE(dib.hdc(), std::uintptr_t(0));
        QCOMPARE(dib.width(), width);
        QCOMPARE(dib.height(), height);
    }

    void secondCreateReplacesTheFirstWithAFreshBuffer() {
        DibSection dib;
        QVERIFY(dib.create(3, 3));
        fillBuffer(dib, 0xAB);
        QVERIFY(dib.create(5, 2));
        QCOMPARE(dib.width(), 5);
        QCOMPARE(dib.height(), 2);
        QCOMPARE(dib.bytesPerScanLine(), 16);
        const std::uint8_t* bits = dib.dibSectionBitsPtr();
        for (int i = 0; i < 32; ++i)
            QCOMPARE(int(bits[i]), 0);
    }

    void clearUpEmptiesTheBufferButKeepsItsSize() {
        DibSection dib;
        QVERIFY(dib.create(7, 9));
        dib.clearUp();
        QVERIFY(dib.isEmpty());
        QCOMPARE(dib.width(), 7);
        QCOMPARE(dib.height(), 9);
        QCOMPARE(dib.bytesPerScanLine(), 24);
    }

    void everyPictureFormatBecomesBottomUpBgr_data() {
        QTest::addColumn<int>("format");
        QTest::newRow("RGB32") << int(QImage::Format_RGB32);
        QTest::newRow("ARGB32") << int(QImage::Format_ARGB32);
        QTest::newRow("ARGB32 premultiplied") << int(QImage::Format_ARGB32_Premultiplied);
        QTest::newRow("RGB888") << int(QImage::Format_RGB888);
        QTest::newRow("BGR888") << int(QImage::Format_BGR888);
        QTest::newRow("RGB16") << int(QImage::Format_RGB16);
        QTest::newRow("Indexed8") << int(QImage::Format_Indexed8);
        QTest::newRow("RGBA64") << int(QImage::Format_RGBA64);
    }
    void everyPictureFormatBecomesBottomUpBgr() {
        QFETCH(int, format);
        // Colours that every format holds exactly; the top row differs from the bottom row.
        const QRgb colours[3][3] = {{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)},
                                    {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(255, 0, 255)},
                                    {qRgb(0, 255, 255), qRgb(255, 255, 0), qRgb(0, 0, 0)}};
        Picture original(3, 3, QImage::Format_RGB32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                original.setPixel(x, y, colours[y][x]);
        const Picture picture = original.convertToFormat(QImage::Format(format));
        QCOMPARE(int(picture.format()), format);

        DibSection dib;
        dib.createFromPicture(picture);
        QVERIFY(!dib.isEmpty());
        QCOMPARE(dib.width(), 3);
        QCOMPARE(dib.height(), 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                QCOMPARE(pixelFromTop(dib, x, y), colours[y][x]);
        // The padding byte of each 9-byte row stays as the fresh buffer had it.
        for (int row = 0; row < 3; ++row)
            QCOMPARE(int(dib.dibSectionBitsPtr()[row * 12 + 9]), 0);
    }

    void nullPictureLeavesTheBufferEmpty() {
        DibSection dib;
        QVERIFY(dib.create(2, 2));
        dib.createFromPicture(Picture());
        QVERIFY(dib.isEmpty());
        QCOMPARE(dib.width(), 0);
        QCOMPARE(dib.height(), 0);
    }

    void loadPictureBltCopiesTheRectangle_data() {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QRect>("copied"); // the buffer area (from the top) that is written
        QTest::newRow("whole") << 0 << 0 << -1 << -1 << QRect(0, 0, 4, 3);
        QTest::newRow("two columns") << 0 << 0 << 2 << -1 << QRect(0, 0, 2, 3);
        QTest::newRow("one row") << 0 << 0 << -1 << 1 << QRect(0, 0, 4, 1);
        QTest::newRow("from inside") << 1 << 1 << 2 << 2 << QRect(0, 0, 2, 2);
        QTest::newRow("whole from an offset") << 2 << 1 << -1 << -1 << QRect(0, 0, 3, 3);
        QTest::newRow("partly left of the picture") << -1 << 0 << 3 << 2 << QRect(1, 0, 2, 2);
        QTest::newRow("wholly outside") << 9 << 9 << -1 << -1 << QRect();
    }
    void loadPictureBltCopiesTheRectangle() {
        QFETCH(int, left);
        QFETCH(int, top);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QRect, copied);
        const Picture picture = placedPicture(5, 4);
        DibSection dib;
        QVERIFY(dib.create(4, 3));
        fillBuffer(dib, 0x11);
        dib.loadPictureBlt(picture, left, top, width, height, RasterOp::SrcCopy);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x) {
                const QRgb expected = copied.contains(x, y) ? picture.pixel(left + x, top + y)
                                                            : qRgb(0x11, 0x11, 0x11);
                QCOMPARE(pixelFromTop(dib, x, y), expected);
            }
        }
    }

    void rasterOperationsCombineWithTheBuffer_data() {
        QTest::addColumn<quint32>("rop");
        QTest::addColumn<int>("expected"); // the blue byte, source 0x0F onto 0x3C
        QTest::newRow("copy") << quint32(RasterOp::SrcCopy) << 0x0F;
        QTest::newRow("or") << quint32(RasterOp::SrcPaint) << 0x3F;
        QTest::newRow("and") << quint32(RasterOp::SrcAnd) << 0x0C;
        QTest::newRow("xor") << quint32(RasterOp::SrcInvert) << 0x33;
        QTest::newRow("not source") << quint32(RasterOp::NotSrcCopy) << 0xF0;
        QTest::newRow("unknown code") << quint32(0x12345678) << 0x3C;
    }
    void rasterOperationsCombineWithTheBuffer() {
        QFETCH(quint32, rop);
        QFETCH(int, expected);
        Picture picture(2, 2, QImage::Format_RGB32);
        picture.fill(qRgb(0, 0, 0x0F));
        DibSection dib;
        QVERIFY(dib.create(2, 2));
        fillBuffer(dib, 0x3C);
        dib.loadPictureBlt(picture, 0, 0, -1, -1, RasterOp(rop));
        QCOMPARE(int(blueAt(dib, 1, 1)), expected);
    }

    void paintPictureCopiesOutWithTheSameRule_data() {
        QTest::addColumn<QRect>("dest"); // left, top, width, height as passed
        QTest::addColumn<QPoint>("src");
        QTest::newRow("whole") << QRect(0, 0, -1, -1) << QPoint(0, 0);
        QTest::newRow("to an offset") << QRect(2, 1, -1, -1) << QPoint(0, 0);
        QTest::newRow("part from an offset") << QRect(0, 0, 2, 2) << QPoint(1, 1);
    }
    void paintPictureCopiesOutWithTheSameRule() {
        QFETCH(QRect, dest);
        QFETCH(QPoint, src);
        const Picture original = placedPicture(4, 3);
        DibSection dib;
        dib.createFromPicture(original);
        Picture out(5, 5, QImage::Format_RGB32);
        out.fill(qRgb(1, 2, 3));
        dib.paintPicture(out, dest.x(), dest.y(), dest.width(), dest.height(), src.x(), src.y());
        QCOMPARE(out.format(), QImage::Format_BGR888);
        const int w = dest.width() < 0 ? 4 : dest.width();
        const int h = dest.height() < 0 ? 3 : dest.height();
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 5; ++x) {
                const int sx = x - dest.x() + src.x();
                const int sy = y - dest.y() + src.y();
                const bool inside = x >= dest.x() && y >= dest.y() && x < dest.x() + w &&
                                    y < dest.y() + h && sx < 4 && sy < 3;
                QCOMPARE(out.pixel(x, y), inside ? original.pixel(sx, sy) : qRgb(1, 2, 3));
            }
        }
    }

    void copyAsDibShowsTheMessageAndLeavesTheClipboard() {
        QGuiApplication::clipboard()->setText(QStringLiteral("keep me"));
        DibSection dib;
        dib.createFromPicture(placedPicture(3, 2));
        RecordedDialogs dialogs;
        QVERIFY(!dib.copyToClipboard(dialogs, true));
        QCOMPARE(dialogs.plainTexts,
                 QStringList{QStringLiteral("I don't know how to put a DIB on the clipboard! "
                                            "Copy as bitmap instead!!!")});
        QCOMPARE(dialogs.others, 0);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("keep me"));
    }

    void copyAsBitmapPutsThePictureOnTheClipboard() {
        const Picture original = placedPicture(3, 2);
        DibSection dib;
        dib.createFromPicture(original);
        RecordedDialogs dialogs;
        QVERIFY(dib.copyToClipboard(dialogs));
        QVERIFY(dialogs.plainTexts.isEmpty());
        const QImage pasted = QGuiApplication::clipboard()->image();
        QCOMPARE(pasted.size(), QSize(3, 2));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                QCOMPARE(pasted.pixel(x, y), original.pixel(x, y));
    }

    void emptyBufferIsNotCopied() {
        DibSection dib;
        dib.create(0, 3);
        RecordedDialogs dialogs;
        QVERIFY(!dib.copyToClipboard(dialogs));
    }

    void colourNoiseHasNoBlueAndKeepsThePadding() {
        DibSection dib;
        QVERIFY(dib.create(5, 7)); // 15 bytes of pixels and 1 of padding a row
        fillBuffer(dib, 0x5A);
        dib.randomiseBits();
        const std::uint8_t* bits = dib.dibSectionBitsPtr();
        int nonZero = 0;
        for (int row = 0; row < 7; ++row) {
            const std::uint8_t* r = bits + row * 16;
            QCOMPARE(int(r[15]), 0x5A);
            for (int x = 0; x < 5; ++x) {
                QCOMPARE(int(r[3 * x]), 0);
                nonZero += (r[3 * x + 1] != 0x5A) + (r[3 * x + 2] != 0x5A);
            }
        }
        // 70 random components: all of them keeping the fill value would mean no noise at all.
        QVERIFY(nonZero > 60);
    }

    void grayNoiseHasEqualComponentsAndKeepsThePadding() {
        DibSection dib;
        QVERIFY(dib.create(5, 7));
        fillBuffer(dib, 0x5A);
        dib.randomiseBits(true);
        const std::uint8_t* bits = dib.dibSectionBitsPtr();
        QSet<int> values;
        for (int row = 0; row < 7; ++row) {
            const std::uint8_t* r = bits + row * 16;
            QCOMPARE(int(r[15]), 0x5A);
            for (int x = 0; x < 5; ++x) {
                QCOMPARE(r[3 * x + 1], r[3 * x]);
                QCOMPARE(r[3 * x + 2], r[3 * x]);
                values.insert(r[3 * x]);
            }
        }
        QVERIFY(values.size() > 10);
    }

    void resampleToTheSameSizeIsAnIdenticalCopy() {
        DibSection dib;
        QVERIFY(dib.create(5, 4));
        dib.randomiseBits();
        const std::unique_ptr<DibSection> copy = dib.resample(4, 5);
        QVERIFY(copy);
        QCOMPARE(copy->width(), 5);
        QCOMPARE(copy->height(), 4);
        QVERIFY(copy->dibSectionBitsPtr() != dib.dibSectionBitsPtr());
        QCOMPARE(std::memcmp(copy->dibSectionBitsPtr(), dib.dibSectionBitsPtr(), 16 * 4), 0);
    }

    void bilinearResampleOfTwoByTwo_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y"); // from the bottom
        QTest::addColumn<int>("blue");
        QTest::newRow("(0, 0)") << 0 << 0 << 0;
        QTest::newRow("(1, 0)") << 1 << 0 << 25;
        QTest::newRow("(3, 0)") << 3 << 0 << 75;
        QTest::newRow("(0, 2)") << 0 << 2 << 100;
        QTest::newRow("(2, 2)") << 2 << 2 << 139;
        QTest::newRow("(3, 2): 158.5 rounds to even") << 3 << 2 << 158;
        QTest::newRow("(3, 3) short of the top right") << 3 << 3 << 200;
    }
    void bilinearResampleOfTwoByTwo() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, blue);
        DibSection dib;
        QVERIFY(dib.create(2, 2));
        blueAt(dib, 0, 0) = 0;
        blueAt(dib, 1, 0) = 100;
        blueAt(dib, 0, 1) = 200;
        blueAt(dib, 1, 1) = 255;
        const std::unique_ptr<DibSection> big = dib.resample(4, 4); // height first
        QVERIFY(big);
        QCOMPARE(big->bytesPerScanLine(), 12);
        QCOMPARE(int(blueAt(*big, x, y)), blue);
        const std::uint8_t* pixel = &blueAt(*big, x, y);
        QCOMPARE(int(pixel[1]), 0);
        QCOMPARE(int(pixel[2]), 0);
    }

    void resampleOfATinySourceReadsOnlyTheSource_data() {
        QTest::addColumn<QSize>("from");
        QTest::addColumn<QSize>("to");
        QTest::newRow("1 x 1 to 3 x 3") << QSize(1, 1) << QSize(3, 3);
        QTest::newRow("1 x 3 to 4 x 6") << QSize(1, 3) << QSize(4, 6);
        QTest::newRow("3 x 1 to 6 x 2") << QSize(3, 1) << QSize(6, 2);
    }
    void resampleOfATinySourceReadsOnlyTheSource() {
        QFETCH(QSize, from);
        QFETCH(QSize, to);
        // A source of one colour: whatever is sampled, nothing but that colour may come out.
        Picture picture(from, QImage::Format_RGB32);
        picture.fill(qRgb(7, 77, 177));
        DibSection dib;
        dib.createFromPicture(picture);
        const std::unique_ptr<DibSection> big = dib.resample(to.height(), to.width());
        QVERIFY(big);
        for (int y = 0; y < to.height(); ++y)
            for (int x = 0; x < to.width(); ++x)
                QCOMPARE(pixelFromTop(*big, x, y), qRgb(7, 77, 177));
    }

    void resampleToARefusedSizeGivesNoBuffer() {
        DibSection dib;
        QVERIFY(dib.create(2, 2));
        QVERIFY(dib.resample(0, 5) == nullptr);
    }
};

QTEST_MAIN(TestDibSection)
#include "tst_DibSection.moc"
