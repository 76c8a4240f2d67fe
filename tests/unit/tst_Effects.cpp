#include "imaging/ByteTable.h"
#include "imaging/EffectLoops.h"
#include "imaging/EffectTables.h"
#include "imaging/EffectsEngine.h"
#include "support/ScriptedDialogs.h"

#include <QTest>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

using namespace glim;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes randomBytes(std::size_t count, std::mt19937& engine) {
    Bytes bytes(count);
    for (std::uint8_t& byte : bytes)
        byte = std::uint8_t(engine());
    return bytes;
}

// A 24-bit picture whose every byte, padding included, is random, or `value` when given.
Picture picture(int width, int height, int value = -1) {
    Picture picture(width, height, QImage::Format_BGR888);
    std::mt19937 engine(unsigned(width * height));
    const Bytes bytes = randomBytes(std::size_t(picture.sizeInBytes()), engine);
    for (qsizetype i = 0; i < picture.sizeInBytes(); ++i)
        picture.bits()[i] = value < 0 ? bytes[std::size_t(i)] : std::uint8_t(value);
    return picture;
}

bool sameRows(const Picture& a, int rowOfA, const Picture& b, int rowOfB) {
    return std::memcmp(a.constScanLine(rowOfA), b.constScanLine(rowOfB),
                       std::size_t(a.bytesPerLine())) == 0;
}

// The routines over whole rows, by the engine's names; all but Invert have paths of their own.
const char* const kRowRoutines[] = {
    "Brightness/Contrast", "RGB0", "RGB1", "RGB2", "Blur", "Invert"};

// Routine `r` of kRowRoutines as its definition states it, one byte at a time over `rows` rows
// of `stride` bytes, padding included. RGB0 is red, byte 2 of B,G,R.
void reference(int r, const Bytes& s, std::uint8_t* t, int stride, int rows, const TemPal& pal) {
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < stride; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(stride) + std::size_t(x);
            if (r == 0 || (r <= 3 && x % 3 == 3 - r))
                t[i] = pal[s[i]];
            else if (r == 5)
                t[i] = std::uint8_t(255 - s[i]);
            else if (r == 4 && y >= 1 && y <= rows - 2 && x >= 3 && x <= stride - 4)
                t[i] = std::uint8_t((s[i - 3] + s[i] + s[i + 3] + s[i - std::size_t(stride)] +
                                     s[i + std::size_t(stride)]) /
                                    5);
        }
    }
}

void runOnPath(int r, VectorPath path, const Bytes& s, std::uint8_t* t, int stride, int rows,
               const TemPal& pal) {
    const ConstPixelRows source(s.data(), stride, rows);
    const PixelRows target(t, stride, rows);
    if (r == 0)
        mapThroughTable(s.data(), t, s.size(), pal, path);
    else if (r <= 3)
        mapComponent(source, target, 3 - r, pal, path);
    else
        blur(source, target, path);
}

} // namespace

// The effects engine and its table builders, with the figures of the bars' ends.
class TestEffects : public QObject {
    Q_OBJECT

private slots:
    // Bar positions as the dialog passes them; a factor of one half puts entries on halves,
    // which go to the even neighbour.
    void toneTables_data() {
        QTest::addColumn<bool>("gain");
        QTest::addColumn<float>("factor");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected");
        const float gain0 = gainFactor(0.0f), gain200 = gainFactor(200.0f);
        const float contrast0 = contrastFactor(0.0f), contrast200 = contrastFactor(200.0f);
        QTest::newRow("gain 0: 255 to 51") << true << gain0 << 255 << 51;
        QTest::newRow("gain 0: 3 to 0.6, 1") << true << gain0 << 3 << 1;
        QTest::newRow("gain -40 counts as 0") << true << gainFactor(-40.0f) << 255 << 51;
        QTest::newRow("gain 50 ln 5 keeps 200")
            << true << gainFactor(float(50.0 * std::log(5.0))) << 200 << 200;
        QTest::newRow("gain 200: 23 to 251") << true << gain200 << 23 << 251;
        QTest::newRow("gain 200: 24 clamped") << true << gain200 << 24 << 255;
        QTest::newRow("gain: 5 to 2.5, 2") << true << 0.5f << 5 << 2;
        QTest::newRow("contrast 0: 0 to 120.65, 121") << false << contrast0 << 0 << 121;
        QTest::newRow("contrast 0: 255 to 133.4, 133") << false << contrast0 << 255 << 133;
        QTest::newRow("contrast -5 counts as 0") << false << contrastFactor(-5.0f) << 0 << 121;
        QTest::newRow("contrast 30 ln 20 keeps 40")
            << false << contrastFactor(float(30.0 * std::log(20.0))) << 40 << 40;
        QTest::newRow("contrast 200: 0 clamped") << false << contrast200 << 0 << 0;
        QTest::newRow("contrast 200: 255 clamped") << false << contrast200 << 255 << 255;
        QTest::newRow("contrast: 130 to 128.5, 128") << false << 0.5f << 130 << 128;
    }
    void toneTables() {
        QFETCH(bool, gain);
        QFETCH(float, factor);
        QFETCH(int, value);
        TemPal temPal{};
        (gain ? buildGainTable : buildContrastTable)(factor, temPal);
        QTEST(int(temPal[std::size_t(value)]), "expected");
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
        RippleRows table;
        buildRippleTable(rippleAmplitude(x), rows, table);
        QCOMPARE(int(table.size()), rows);
        QTEST(table[std::size_t(y)], "expected");
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
    }
    void blurAveragesSameComponentNeighbours() {
        QFETCH(int, x);
        QFETCH(int, y);
        Picture source = picture(3, 4, 100); // stride 12
        for (int row = 0; row < 4; ++row)
            std::memset(source.scanLine(row) + 9, 0, 3);
        source.scanLine(1)[6] = 254;
        Picture target = picture(3, 4, 0xEE);
        ScriptedDialogs dialogs;
        doImagePro(QStringLiteral("Blur"), source, target, {}, dialogs);
        QTEST(int(target.constScanLine(y)[x]), "expected");
    }

    // Every path that this processor runs, and the engine on its own choice (Invert has only
    // that), against the definitions: random pictures and a random table, widths 1 to 70 (strides 4
    // to 212, every remainder of a vector's width and of the channel's step of three) and a few
    // large ones, 1, 2, 3 and 6 rows (the blur writes nothing in the first two). The source is
    // exactly the picture's size, so that a read past it is an error under the address sanitizer;
    // the target has guard bytes on either side, so that a write past it fails in any build, and
    // bytes a routine must leave show that it left them.
    void everyPathGivesTheDefinitionsBytes_data() {
        QTest::addColumn<int>("routine");
        QTest::addColumn<int>("width");
        std::vector<int> widths;
        for (int width = 1; width <= 70; ++width)
            widths.push_back(width);
        widths.insert(widths.end(), {341, 1920, 2731});
        for (int r = 0; r < 6; ++r)
            for (int width : widths)
                QTest::addRow("%s, %d wide", kRowRoutines[r], width) << r << width;
    }
    void everyPathGivesTheDefinitionsBytes() {
        QFETCH(int, routine);
        QFETCH(int, width);
        const int stride = (3 * width + 3) / 4 * 4;
        constexpr std::size_t kGuard = 128;
        std::mt19937 engine(unsigned(width * 7919 + routine));
        EffectTables tables;
        for (std::uint8_t& entry : tables.temPal)
            entry = std::uint8_t(engine());
        for (int rows : {1, 2, 3, 6}) {
            const std::size_t size = std::size_t(stride) * std::size_t(rows);
            const Bytes source = randomBytes(size, engine);
            const Bytes before = randomBytes(kGuard + size + kGuard, engine);
            Bytes expected = before;
            reference(routine, source, expected.data() + kGuard, stride, rows, tables.temPal);
            for (int path = 0; path <= int(VectorPath::Avx512Vbmi) && routine < 5; ++path) {
                if (!processorRuns(VectorPath(path)))
                    continue;
                Bytes target = before;
                runOnPath(routine, VectorPath(path), source, target.data() + kGuard, stride, rows,
                          tables.temPal);
                QVERIFY2(target == expected,
                         qPrintable(QStringLiteral("%1 rows, path %2").arg(rows).arg(path)));
            }
            Picture unedited(width, rows, QImage::Format_BGR888);
            std::memcpy(unedited.bits(), source.data(), size);
            Picture edited(width, rows, QImage::Format_BGR888);
            std::memcpy(edited.bits(), before.data() + kGuard, size);
            ScriptedDialogs dialogs;
            doImagePro(QLatin1String(kRowRoutines[routine]), unedited, edited, tables, dialogs);
            QVERIFY2(std::memcmp(edited.constBits(), expected.data() + kGuard, size) == 0,
                     qPrintable(QStringLiteral("%1 rows, doImagePro").arg(rows)));
        }
    }

    void rippleReadsOnlyThePicture_data() {
        QTest::addColumn<RippleRows>("table"); // empty: built for amplitude 1000
        QTest::newRow("amplitude 1000, 2000 rows") << RippleRows();
        QTest::newRow("too short a table, outside the picture") << RippleRows{5, -7, 5000};
    }
    void rippleReadsOnlyThePicture() {
        QFETCH(RippleRows, table);
        const Picture source = picture(3, 2000);
        Picture target = picture(3, 2000, 0);
        EffectTables tables;
        tables.rippleRows = table;
        if (table.empty())
            buildRippleTable(rippleAmplitude(4000.0f), 2000, tables.rippleRows);
        ScriptedDialogs dialogs;
        doImagePro(QStringLiteral("HRipple"), source, target, tables, dialogs);
        // Rows beyond the table stay in place; entries outside the picture are pulled in.
        for (int y = 0; y < 2000; ++y) {
            const int from =
                y < int(tables.rippleRows.size()) ? tables.rippleRows[std::size_t(y)] : y;
            QVERIFY(sameRows(target, y, source, std::clamp(from, 0, 1999)));
        }
        if (table.empty())
            QVERIFY(tables.rippleRows[1500] != 1500); // the rows beyond 300 ripple too
    }

    void wrongNamesAndPicturesWriteNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("sourceWidth");
        QTest::addColumn<QStringList>("messages");
        const int bgr = QImage::Format_BGR888;
        const QStringList none;
        QTest::newRow("invert") << "invert" << bgr << 4 << none;
        QTest::newRow("hripple") << "hripple" << bgr << 4 << none;
        QTest::newRow("trailing space") << "Invert " << bgr << 4 << none;
        QTest::newRow("RGB3") << "RGB3" << bgr << 4 << none;
        QTest::newRow("source of another size") << "Invert" << bgr << 5 << none;
        const QStringList only24 = {QStringLiteral(" 24-bit bitmaps only")};
        QTest::newRow("RGB32 target") << "Invert" << int(QImage::Format_RGB32) << 4 << only24;
        QTest::newRow("Indexed8 target") << "Blur" << int(QImage::Format_Indexed8) << 4 << only24;
    }
    void wrongNamesAndPicturesWriteNothing() {
        QFETCH(QString, name);
        QFETCH(int, format);
        QFETCH(int, sourceWidth);
        const Picture source = picture(sourceWidth, 4);
        Picture target = picture(4, 4, 9).convertToFormat(QImage::Format(format));
        const Picture before = target.copy();
        EffectTables tables;
        buildRippleTable(40.0f, 4, tables.rippleRows);
        ScriptedDialogs dialogs;
        doImagePro(name, source, target, tables, dialogs);
        QTEST(dialogs.texts(), "messages");
        QCOMPARE(int(target.format()), format);
        QVERIFY(std::memcmp(target.constBits(), before.constBits(),
                            std::size_t(before.sizeInBytes())) == 0);
    }

    void targetSharingTheSourcesPixelsLeavesTheSourceUnedited() {
        const Picture source = picture(4, 4);
        const Picture unedited = source.copy();
        Picture target = source; // shares the pixels until written
        ScriptedDialogs dialogs;
        doImagePro(QStringLiteral("Invert"), source, target, {}, dialogs);
        QVERIFY(sameRows(source, 2, unedited, 2));
        QCOMPARE(int(target.constBits()[0]), 255 - source.constBits()[0]);

        // One picture as both source and target: the blur still reads the unedited bytes.
        Picture both = picture(6, 6);
        Picture separate = both.copy();
        doImagePro(QStringLiteral("Blur"), both.copy(), separate, {}, dialogs);
        doImagePro(QStringLiteral("Blur"), both, both, {}, dialogs);
        for (int y = 0; y < 6; ++y)
            QVERIFY(sameRows(both, y, separate, y));
    }
};

QTEST_GUILESS_MAIN(TestEffects)
#include "tst_Effects.moc"
