#include "imaging/ByteTable.h"
#include "imaging/EffectLoops.h"
#include "imaging/EffectTables.h"
#include "imaging/EffectsEngine.h"
#include "platform/Dialogs.h"

#include <QTest>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

using namespace glim;

namespace {

// Records every message the engine shows.
class RecordedDialogs : public Dialogs {
public:
    QStringList criticalTexts;
    int others = 0;
    void information(const QString&) override { ++others; }
    bool question(const QString&) override { return ++others, false; }
    void exclamation(const QString&) override { ++others; }
    void plain(const QString&) override { ++others; }
    void critical(const QString&, const QString& text) override { criticalTexts << text; }
};

// A 24-bit picture whose every byte, padding included, is random.
Picture randomPicture(int width, int height, unsigned seed = 1) {
    Picture picture(width, height, QImage::Format_BGR888);
    std::mt19937 engine(seed);
    std::uint8_t* bits = picture.bits();
    for (qsizetype i = 0; i < picture.sizeInBytes(); ++i)
        bits[i] = std::uint8_t(engine());
    return picture;
}

Picture filledPicture(int width, int height, std::uint8_t value) {
    Picture picture(width, height, QImage::Format_BGR888);
    std::memset(picture.bits(), value, std::size_t(picture.sizeInBytes()));
    return picture;
}

std::uint8_t at(const Picture& picture, int x, int y) {
    return picture.constScanLine(y)[x];
}

bool sameBytes(const Picture& a, const Picture& b) {
    return a.sizeInBytes() == b.sizeInBytes() &&
           std::memcmp(a.constBits(), b.constBits(), std::size_t(a.sizeInBytes())) == 0;
}

EffectTables gainTables(float x) {
    EffectTables tables;
    buildGainTable(gainFactor(x), tables.temPal);
    return tables;
}

using Bytes = std::vector<std::uint8_t>;

Bytes randomBytes(std::size_t count, std::mt19937& engine) {
    Bytes bytes(count);
    for (std::uint8_t& byte : bytes)
        byte = std::uint8_t(engine());
    return bytes;
}

// The routines of doImagePro as their definitions state them, one byte at a time, over `rows`
// rows of `stride` bytes. `routine` is the engine's name for it.
void referenceRoutine(const QString& routine, const std::uint8_t* s, std::uint8_t* t, int stride,
                      int rows, const TemPal& temPal) {
    const auto at = [stride](int x, int y) { return std::size_t(y) * std::size_t(stride) + x; };
    if (routine == QLatin1String("Brightness/Contrast")) {
        for (std::size_t i = 0; i < std::size_t(stride) * std::size_t(rows); ++i)
            t[i] = temPal[s[i]];
    } else if (routine.startsWith(QLatin1String("RGB"))) {
        const int first = 2 - (routine.back().unicode() - '0'); // RGB0 red: byte 2 of B,G,R
        for (int y = 0; y < rows; ++y)
            for (int x = first; x < stride; x += 3)
                t[at(x, y)] = temPal[s[at(x, y)]];
    } else if (routine == QLatin1String("Blur")) {
        for (int y = 1; y <= rows - 2; ++y)
            for (int x = 3; x <= stride - 4; ++x)
                t[at(x, y)] = std::uint8_t((s[at(x - 3, y)] + s[at(x, y)] + s[at(x + 3, y)] +
                                            s[at(x, y - 1)] + s[at(x, y + 1)]) /
                                           5);
    }
}

// The engine's loop for `routine` on one path.
void runOnPath(const QString& routine, VectorPath path, const std::uint8_t* s, std::uint8_t* t,
               int stride, int rows, const TemPal& temPal) {
    const ConstPixelRows source(s, stride, rows);
    const PixelRows target(t, stride, rows);
    if (routine == QLatin1String("Brightness/Contrast"))
        mapThroughTable(s, t, std::size_t(stride) * std::size_t(rows), temPal, path);
    else if (routine.startsWith(QLatin1String("RGB")))
        mapComponent(source, target, 2 - (routine.back().unicode() - '0'), temPal, path);
    else if (routine == QLatin1String("Blur"))
        blur(source, target, path);
}

const char* pathName(VectorPath path) {
    switch (path) {
    case VectorPath::Plain:
        return "plain";
    case VectorPath::Avx2:
        return "AVX2";
    case VectorPath::Avx512Bw:
        return "AVX-512 BW";
    case VectorPath::Avx512Vbmi:
        return "AVX-512 VBMI";
    }
    return "?";
}

} // namespace

// The effects engine and its table builders, with the figures of the bars' ends.
class TestEffects : public QObject {
    Q_OBJECT

private slots:
    void gainTable_data() {
        QTest::addColumn<float>("x");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("X 0: 255 becomes 51") << 0.0f << 255 << 51;
        QTest::newRow("X 0: 128 becomes 25.6, 26") << 0.0f << 128 << 26;
        QTest::newRow("X 0: 2 becomes 0.4, 0") << 0.0f << 2 << 0;
        QTest::newRow("X 0: 3 becomes 0.6, 1") << 0.0f << 3 << 1;
        QTest::newRow("negative X counts as 0") << -40.0f << 255 << 51;
        QTest::newRow("X 50 ln 5 keeps 200") << float(50.0 * std::log(5.0)) << 200 << 200;
        QTest::newRow("X 200: 23 becomes 251") << 200.0f << 23 << 251;
        QTest::newRow("X 200: 24 is clamped") << 200.0f << 24 << 255;
        QTest::newRow("X 200: 0 stays") << 200.0f << 0 << 0;
    }
    void gainTable() {
        QFETCH(float, x);
        QFETCH(int, value);
        QFETCH(int, expected);
        QCOMPARE(int(gainTables(x).temPal[std::size_t(value)]), expected);
    }

    void gainTenClampsFromTwentySix() {
        TemPal temPal{};
        buildGainTable(10.0f, temPal);
        for (int v = 0; v < 26; ++v)
            QCOMPARE(int(temPal[std::size_t(v)]), 10 * v);
        for (int v = 26; v < 256; ++v)
            QCOMPARE(int(temPal[std::size_t(v)]), 255);
    }

    void contrastTable_data() {
        QTest::addColumn<float>("x");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("X 0: 0 becomes 120.65, 121") << 0.0f << 0 << 121;
        QTest::newRow("X 0: 255 becomes 133.4, 133") << 0.0f << 255 << 133;
        QTest::newRow("X 0: 127 stays") << 0.0f << 127 << 127;
        QTest::newRow("negative X counts as 0") << -5.0f << 0 << 121;
        QTest::newRow("X 30 ln 20 keeps 40") << float(30.0 * std::log(20.0)) << 40 << 40;
        QTest::newRow("X 200: 0 clamped to 0") << 200.0f << 0 << 0;
        QTest::newRow("X 200: 255 clamped to 255") << 200.0f << 255 << 255;
        QTest::newRow("X 200: 127 stays") << 200.0f << 127 << 127;
    }
    void contrastTable() {
        QFETCH(float, x);
        QFETCH(int, value);
        QFETCH(int, expected);
        TemPal temPal{};
        buildContrastTable(contrastFactor(x), temPal);
        QCOMPARE(int(temPal[std::size_t(value)]), expected);
    }

    // Factors of one half put entries exactly on halves, which go to the even neighbour.
    void tableHalvesGoToTheEvenNeighbour_data() {
        QTest::addColumn<bool>("gain");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("gain: 1 becomes 0.5, 0") << true << 1 << 0;
        QTest::newRow("gain: 3 becomes 1.5, 2") << true << 3 << 2;
        QTest::newRow("gain: 5 becomes 2.5, 2") << true << 5 << 2;
        QTest::newRow("gain: 255 becomes 127.5, 128") << true << 255 << 128;
        QTest::newRow("contrast: 0 becomes 63.5, 64") << false << 0 << 64;
        QTest::newRow("contrast: 128 becomes 127.5, 128") << false << 128 << 128;
        QTest::newRow("contrast: 130 becomes 128.5, 128") << false << 130 << 128;
        QTest::newRow("contrast: 126 becomes 126.5, 126") << false << 126 << 126;
    }
    void tableHalvesGoToTheEvenNeighbour() {
        QFETCH(bool, gain);
        QFETCH(int, value);
        QFETCH(int, expected);
        TemPal temPal{};
        if (gain)
            buildGainTable(0.5f, temPal);
        else
            buildContrastTable(0.5f, temPal);
        QCOMPARE(int(temPal[std::size_t(value)]), expected);
    }

    void rippleTable_data() {
        QTest::addColumn<float>("x");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("expected");
        QTest::newRow("amplitude 10, row 16") << 40.0f << 300 << 16 << 26;  // 9.996 + 16
        QTest::newRow("amplitude 10, row 47") << 40.0f << 300 << 47 << 37;  // -9.999 + 47
        QTest::newRow("negative X, row 16") << -40.0f << 300 << 16 << 6;    // -9.996 + 16
        QTest::newRow("below row 0 pulled in") << -400.0f << 300 << 1 << 0; // -9.98 + 1
        QTest::newRow("beyond the last row") << 400.0f << 20 << 18 << 19;   // 97.4 + 18
        QTest::newRow("row 1000 of a tall picture") << 40.0f << 2000 << 1000 << 995;
    }
    void rippleTable() {
        QFETCH(float, x);
        QFETCH(int, rows);
        QFETCH(int, y);
        QFETCH(int, expected);
        RippleRows table;
        buildRippleTable(rippleAmplitude(x), rows, table);
        QCOMPARE(int(table.size()), rows);
        QCOMPARE(table[std::size_t(y)], expected);
    }

    void toneRoutineMapsEveryByteWithThePadding() {
        const Picture source = randomPicture(5, 7); // rows of 15 bytes and 1 of padding, 112 bytes
        Picture target = filledPicture(5, 7, 0);
        const EffectTables tables = gainTables(0.0f);
        RecordedDialogs dialogs;
        doImagePro(QStringLiteral("Brightness/Contrast"), source, target, tables, dialogs);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 16; ++x)
                QCOMPARE(at(target, x, y), tables.temPal[at(source, x, y)]);
        QVERIFY(dialogs.criticalTexts.isEmpty());
    }

    void toneRoutineFollowsAnyTable() {
        // Every byte value, in 900 bytes (not a whole number of any vector width), through a
        // table that is neither monotone nor smooth.
        Picture source(100, 3, QImage::Format_BGR888);
        for (qsizetype i = 0; i < source.sizeInBytes(); ++i)
            source.bits()[i] = std::uint8_t(i % 256);
        Picture target = filledPicture(100, 3, 0);
        EffectTables tables;
        for (int v = 0; v < 256; ++v)
            tables.temPal[std::size_t(v)] = std::uint8_t((v * 37) ^ 0x5A);
        RecordedDialogs dialogs;
        doImagePro(QStringLiteral("Brightness/Contrast"), source, target, tables, dialogs);
        for (qsizetype i = 0; i < target.sizeInBytes(); ++i)
            QCOMPARE(int(target.constBits()[i]), ((int(i % 256) * 37) ^ 0x5A) & 0xFF);
    }

    void invertTwiceIsInvertOnce() {
        const Picture source = randomPicture(5, 6);
        Picture target = filledPicture(5, 6, 0);
        RecordedDialogs dialogs;
        doImagePro(QStringLiteral("Invert"), source, target, {}, dialogs);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 16; ++x)
                QCOMPARE(int(at(target, x, y)), 255 - at(source, x, y));
        const Picture once = target.copy();
        doImagePro(QStringLiteral("Invert"), source, target, {}, dialogs);
        QVERIFY(sameBytes(target, once));
    }

    void blurAveragesSameComponentNeighbours_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("expected");
        // Source: every byte 100, byte (6, 1) 254, the padding bytes (9 to 11) 0.
        QTest::newRow("its left neighbour") << 3 << 1 << 130;     // 654 / 5 drops 0.8
        QTest::newRow("the bright byte itself") << 6 << 1 << 110; // a padding byte to its right
        QTest::newRow("the byte above it") << 6 << 2 << 110;
        QTest::newRow("another component") << 4 << 1 << 100;
        QTest::newRow("padding enters the sum") << 8 << 2 << 80;
        QTest::newRow("first three columns left") << 2 << 1 << 0xEE;
        QTest::newRow("last three columns left") << 9 << 1 << 0xEE;
        QTest::newRow("first row left") << 6 << 0 << 0xEE;
        QTest::newRow("last row left") << 6 << 3 << 0xEE;
    }
    void blurAveragesSameComponentNeighbours() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, expected);
        Picture source = filledPicture(3, 4, 100); // stride 12
        for (int row = 0; row < 4; ++row)
            std::memset(source.scanLine(row) + 9, 0, 3);
        source.scanLine(1)[6] = 254;
        Picture target = filledPicture(3, 4, 0xEE);
        RecordedDialogs dialogs;
        doImagePro(QStringLiteral("Blur"), source, target, {}, dialogs);
        QCOMPARE(int(at(target, x, y)), expected);
    }

    void threePixelWideBlurWritesOnlyItsInnerBytes() {
        const Picture source = randomPicture(3, 7);
        Picture target = filledPicture(3, 7, 0xEE);
        RecordedDialogs dialogs;
        doImagePro(QStringLiteral("Blur"), source, target, {}, dialogs);
        int written = 0;
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 12; ++x) {
                const bool inner = x >= 3 && x <= 8 && y >= 1 && y <= 5;
                if (!inner)
                    QCOMPARE(int(at(target, x, y)), 0xEE);
                written += inner && at(target, x, y) != 0xEE;
            }
        }
        QVERIFY(written > 25); // of 30 inner bytes; a random average rarely lands on 0xEE
    }

    void blurTwiceIsBlurOnceAndKeepsAnEarlierChangeInTheBorder() {
        const Picture source = randomPicture(6, 5);
        Picture target = filledPicture(6, 5, 0);
        const EffectTables tables = gainTables(0.0f);
        RecordedDialogs dialogs;
        doImagePro(QStringLiteral("Brightness/Contrast"), source, target, tables, dialogs);
        doImagePro(QStringLiteral("Blur"), source, target, tables, dialogs);
        const Picture once = target.copy();
        doImagePro(QStringLiteral("Blur"), source, target, tables, dialogs);
        QVERIFY(sameBytes(target, once));
        const int stride = int(target.bytesPerLine());
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < stride; ++x) {
                if (y == 0 || y == 4 || x < 3 || x >= stride - 3)
                    QCOMPARE(at(target, x, y), tables.temPal[at(source, x, y)]);
            }
        }
    }

    void channelRoutinesKeepEachOthersChanges() {
        const Picture source = randomPicture(5, 4); // stride 16: byte 15 is a blue step
        Picture target = source.copy();
        const EffectTables strong = gainTables(200.0f);
        const EffectTables middle = gainTables(100.0f);
        const EffectTables weak = gainTables(0.0f);
        RecordedDialogs dialogs;
        doImagePro(QStringLiteral("RGB0"), source, target, strong, dialogs);
        const Picture redOnly = target.copy();
        doImagePro(QStringLiteral("RGB1"), source, target, middle, dialogs);
        doImagePro(QStringLiteral("RGB2"), source, target, weak, dialogs);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 16; ++x) {
                const std::uint8_t s = at(source, x, y);
                const EffectTables& last = x % 3 == 2 ? strong : x % 3 == 1 ? middle : weak;
                QCOMPARE(at(target, x, y), last.temPal[s]);
                // After the red routine alone, green and blue were still the source's.
                QCOMPARE(at(redOnly, x, y), x % 3 == 2 ? strong.temPal[s] : s);
            }
        }
    }

    // Every path that this processor runs, and the engine on its own choice, against the
    // definitions: random pictures and a random table, widths 1 to 70 (strides 4 to 212, every
    // remainder of a vector's width and of the channel's step of three) and a few large ones,
    // 1, 2, 3 and 6 rows (the blur writes nothing in the first two). The source is exactly the
    // picture's size, so that a read past it is an error under the address sanitizer; the
    // target has guard bytes on either side, so that a write past it fails in any build.
    void everyPathGivesTheDefinitionsBytes_data() {
        QTest::addColumn<QString>("routine");
        QTest::addColumn<int>("width");
        std::vector<int> widths;
        for (int width = 1; width <= 70; ++width)
            widths.push_back(width);
        widths.insert(widths.end(), {341, 1920, 2731});
        for (const char* routine : {"Brightness/Contrast", "RGB0", "RGB1", "RGB2", "Blur"})
            for (int width : widths)
                QTest::addRow("%s, %d wide", routine, width)
                    << QString::fromLatin1(routine) << width;
    }
    void everyPathGivesTheDefinitionsBytes() {
        QFETCH(QString, routine);
        QFETCH(int, width);
        const int stride = (3 * width + 3) / 4 * 4;
        constexpr std::size_t kGuard = 128;
        std::mt19937 engine(unsigned(width) * 7919u + unsigned(qHash(routine)));
        EffectTables tables;
        for (std::uint8_t& entry : tables.temPal)
            entry = std::uint8_t(engine());
        for (int rows : {1, 2, 3, 6}) {
            const std::size_t size = std::size_t(stride) * std::size_t(rows);
            const Bytes source = randomBytes(size, engine);
            const Bytes before = randomBytes(kGuard + size + kGuard, engine);
            Bytes expected = before;
            referenceRoutine(routine, source.data(), expected.data() + kGuard, stride, rows,
                             tables.temPal);
            for (VectorPath path : {VectorPath::Plain, VectorPath::Avx2, VectorPath::Avx512Bw,
                                    VectorPath::Avx512Vbmi}) {
                if (!processorRuns(path))
                    continue;
                Bytes target = before;
                runOnPath(routine, path, source.data(), target.data() + kGuard, stride, rows,
                          tables.temPal);
                QVERIFY2(target == expected, qPrintable(QStringLiteral("%1 rows, %2 path")
                                                            .arg(rows)
                                                            .arg(QLatin1String(pathName(path)))));
            }

            // The engine itself, on pictures of that size.
            Picture picture(width, rows, QImage::Format_BGR888);
            std::memcpy(picture.bits(), source.data(), size);
            Picture edited(width, rows, QImage::Format_BGR888);
            std::memcpy(edited.bits(), before.data() + kGuard, size);
            RecordedDialogs dialogs;
            doImagePro(routine, picture, edited, tables, dialogs);
            QVERIFY2(std::memcmp(edited.constBits(), expected.data() + kGuard, size) == 0,
                     qPrintable(QStringLiteral("%1 rows, doImagePro").arg(rows)));
        }
    }

    void rippleOfAmplitudeZeroCopiesTheRows() {
        const Picture source = randomPicture(7, 400);
        Picture target = filledPicture(7, 400, 0);
        EffectTables tables;
        buildRippleTable(rippleAmplitude(0.0f), 400, tables.rippleRows);
        RecordedDialogs dialogs;
        doImagePro(QStringLiteral("HRipple"), source, target, tables, dialogs);
        QVERIFY(sameBytes(target, source));
    }

    void rippleOfATallPictureStaysInside_data() {
        QTest::addColumn<float>("x");
        QTest::newRow("amplitude 1000") << 4000.0f;
        QTest::newRow("amplitude -1000") << -4000.0f;
        QTest::newRow("amplitude 60") << 240.0f;
    }
    void rippleOfATallPictureStaysInside() {
        QFETCH(float, x);
        const Picture source = randomPicture(3, 2000);
        Picture target = filledPicture(3, 2000, 0);
        EffectTables tables;
        buildRippleTable(rippleAmplitude(x), 2000, tables.rippleRows);
        for (int from : tables.rippleRows)
            QVERIFY(from >= 0 && from <= 1999);
        RecordedDialogs dialogs;
        doImagePro(QStringLiteral("HRipple"), source, target, tables, dialogs);
        for (int y = 0; y < 2000; ++y) {
            const int from = tables.rippleRows[std::size_t(y)];
            QCOMPARE(std::memcmp(target.constScanLine(y), source.constScanLine(from), 12), 0);
        }
        // The rows beyond 300 ripple too.
        QVERIFY(tables.rippleRows[1500] != 1500);
    }

    void rippleWithATooShortTableStillReadsOnlyThePicture() {
        const Picture source = randomPicture(3, 50);
        Picture target = filledPicture(3, 50, 0);
        EffectTables tables;
        tables.rippleRows = {5, -7, 900};
        RecordedDialogs dialogs;
        doImagePro(QStringLiteral("HRipple"), source, target, tables, dialogs);
        QCOMPARE(std::memcmp(target.constScanLine(0), source.constScanLine(5), 12), 0);
        QCOMPARE(std::memcmp(target.constScanLine(1), source.constScanLine(0), 12), 0);
        QCOMPARE(std::memcmp(target.constScanLine(2), source.constScanLine(49), 12), 0);
        QCOMPARE(std::memcmp(target.constScanLine(30), source.constScanLine(30), 12), 0);
    }

    void otherNamesWriteNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("invert") << "invert";
        QTest::newRow("INVERT") << "INVERT";
        QTest::newRow("blur") << "blur";
        QTest::newRow("hripple") << "hripple";
        QTest::newRow("rgb0") << "rgb0";
        QTest::newRow("Brightness/contrast") << "Brightness/contrast";
        QTest::newRow("trailing space") << "Invert ";
        QTest::newRow("RGB3") << "RGB3";
        QTest::newRow("empty") << "";
    }
    void otherNamesWriteNothing() {
        QFETCH(QString, name);
        const Picture source = randomPicture(4, 4);
        Picture target = filledPicture(4, 4, 9);
        const Picture before = target.copy();
        EffectTables tables = gainTables(0.0f);
        buildRippleTable(40.0f, 4, tables.rippleRows);
        RecordedDialogs dialogs;
        doImagePro(name, source, target, tables, dialogs);
        QVERIFY(sameBytes(target, before));
        QVERIFY(dialogs.criticalTexts.isEmpty());
        QCOMPARE(dialogs.others, 0);
    }

    void targetThatIsNot24BitGetsTheMessage_data() {
        QTest::addColumn<int>("format");
        QTest::newRow("RGB32") << int(QImage::Format_RGB32);
        QTest::newRow("ARGB32") << int(QImage::Format_ARGB32);
        QTest::newRow("Indexed8") << int(QImage::Format_Indexed8);
        QTest::newRow("Grayscale8") << int(QImage::Format_Grayscale8);
        QTest::newRow("RGB16") << int(QImage::Format_RGB16);
    }
    void targetThatIsNot24BitGetsTheMessage() {
        QFETCH(int, format);
        const Picture source = randomPicture(4, 4);
        Picture target = filledPicture(4, 4, 9).convertToFormat(QImage::Format(format));
        const Picture before = target.copy();
        RecordedDialogs dialogs;
        doImagePro(QStringLiteral("Invert"), source, target, {}, dialogs);
        QCOMPARE(dialogs.criticalTexts, QStringList{QStringLiteral(" 24-bit bitmaps only")});
        QCOMPARE(dialogs.others, 0);
        QCOMPARE(target, before);
        QCOMPARE(int(target.format()), format);
    }

    void sourceOfAnotherSizeWritesNothing() {
        const Picture source = randomPicture(4, 4);
        Picture target = filledPicture(5, 4, 9);
        const Picture before = target.copy();
        RecordedDialogs dialogs;
        doImagePro(QStringLiteral("Invert"), source, target, {}, dialogs);
        QVERIFY(sameBytes(target, before));
    }

    void targetSharingTheSourcesPixelsLeavesTheSourceUnedited() {
        const Picture source = randomPicture(4, 4);
        const Picture unedited = source.copy();
        Picture target = source; // shares the pixels until written
        RecordedDialogs dialogs;
        doImagePro(QStringLiteral("Invert"), source, target, {}, dialogs);
        QVERIFY(sameBytes(source, unedited));
        QCOMPARE(int(at(target, 0, 0)), 255 - at(source, 0, 0));

        // One picture as both source and target: the blur still reads the unedited bytes.
        Picture both = randomPicture(6, 6, 3);
        Picture separate = both.copy();
        doImagePro(QStringLiteral("Blur"), both.copy(), separate, {}, dialogs);
        doImagePro(QStringLiteral("Blur"), both, both, {}, dialogs);
        QVERIFY(sameBytes(both, separate));
    }

    void picturesBeyondSixteenBitCountersAreWorkedWhole() {
        // 40000 rows, and rows of 33000 bytes.
        const Picture tall = randomPicture(1, 40000);
        Picture tallTarget = filledPicture(1, 40000, 0);
        RecordedDialogs dialogs;
        doImagePro(QStringLiteral("Invert"), tall, tallTarget, {}, dialogs);
        QCOMPARE(int(at(tallTarget, 3, 39999)), 255 - at(tall, 3, 39999));

        Picture wide = filledPicture(11000, 3, 50);
        wide.scanLine(1)[32990] = 100;
        Picture wideTarget = filledPicture(11000, 3, 0);
        doImagePro(QStringLiteral("Blur"), wide, wideTarget, {}, dialogs);
        QCOMPARE(int(at(wideTarget, 32990, 1)), 60);
        QCOMPARE(int(at(wideTarget, 32993, 1)), 60);
        QCOMPARE(int(at(wideTarget, 32996, 1)), 50);
        QCOMPARE(int(at(wideTarget, 32997, 1)), 0); // the last three byte columns are left
    }
};

QTEST_MAIN(TestEffects)
#include "tst_Effects.moc"
