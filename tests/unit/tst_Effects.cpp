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

Picture pictureOf(int width, int rows, const std::uint8_t* bytes) {
    Picture picture(width, rows, QImage::Format_BGR888);
    std::memcpy(picture.bits(), bytes, std::size_t(picture.sizeInBytes()));
    return picture;
}

bool holds(const Picture& picture, const std::uint8_t* bytes) {
    return std::memcmp(picture.constBits(), bytes, std::size_t(picture.sizeInBytes())) == 0;
}

// The engine's names: the first five have loops of their own on every vector path, the last
// two name no routine (names compare exactly).
const char* const kRoutines[] = {
    "Brightness/Contrast", "RGB0", "RGB1", "RGB2", "Blur", "Invert", "HRipple", "invert", "RGB3"};

// Routine `r` of kRoutines as its definition states it, one byte at a time over `rows` rows
// of `stride` bytes, padding included. RGB0 is red, byte 2 of B,G,R. Rows beyond the ripple's
// table stay in place, and its entries outside the picture are pulled in.
void reference(int r, const Bytes& s, std::uint8_t* t, int stride, int rows,
               const EffectTables& tables) {
    const auto at = [stride](int column, int row) { return std::size_t(row * stride + column); };
    for (int y = 0; y < rows; ++y) {
        const std::size_t tableRows = tables.rippleRows.size();
        const int from = std::size_t(y) < tableRows
                             ? std::clamp(tables.rippleRows[std::size_t(y)], 0, rows - 1)
                             : y;
        for (int x = 0; x < stride; ++x) {
            const std::size_t i = at(x, y);
            if (r == 0 || (r <= 3 && x % 3 == 3 - r))
                t[i] = tables.temPal[s[i]];
            else if (r == 4 && y >= 1 && y <= rows - 2 && x >= 3 && x <= stride - 4)
                t[i] = std::uint8_t(
                    (s[i - 3] + s[i] + s[i + 3] + s[at(x, y - 1)] + s[at(x, y + 1)]) / 5);
            else if (r == 5)
                t[i] = std::uint8_t(255 - s[i]);
            else if (r == 6)
                t[i] = s[at(x, from)];
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
        const float gain200 = gainFactor(200.0f), contrast200 = contrastFactor(200.0f);
        QTest::newRow("gain 0: 3 to 0.6, 1") << true << gainFactor(0.0f) << 3 << 1;
        QTest::newRow("gain -40 counts as 0: 255 to 51") << true << gainFactor(-40.0f) << 255 << 51;
        QTest::newRow("gain 50 ln 5 keeps 200")
            << true << gainFactor(float(50.0 * std::log(5.0))) << 200 << 200;
        QTest::newRow("gain 200: 23 to 251") << true << gain200 << 23 << 251;
        QTest::newRow("gain 200: 24 clamped") << true << gain200 << 24 << 255;
        QTest::newRow("gain: 5 to 2.5, 2") << true << 0.5f << 5 << 2;
        QTest::newRow("contrast 0: 255 to 133") << false << contrastFactor(0.0f) << 255 << 133;
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

    // Every path that this processor runs, and the engine on its own choice, against the
    // definitions: random pictures and tables, widths 1 to 70 (strides 4 to 212, every
    // remainder of a vector's width and of the channel's step of three) and a few large ones,
    // 1, 2, 3 and 6 rows (the blur writes nothing in the first two). The source is exactly the
    // picture's size, so that a read past it is an error under the address sanitizer; the
    // target has guard bytes on either side, so that a write past it fails in any build, and
    // bytes a routine must leave show that it left them.
    void everyPathGivesTheDefinitionsBytes_data() {
        QTest::addColumn<int>("routine");
        QTest::addColumn<int>("width");
        std::vector<int> widths;
        for (int width = 1; width <= 70; ++width)
            widths.push_back(width);
        widths.insert(widths.end(), {341, 1920, 2731});
        for (int r = 0; r < int(std::size(kRoutines)); ++r)
            for (int width : widths)
                QTest::addRow("%s, %d wide", kRoutines[r], width) << r << width;
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
            // The ripple's table is one row short, with entries beyond either end.
            tables.rippleRows.clear();
            for (int y = 0; y + 1 < rows; ++y)
                tables.rippleRows.push_back(int(engine() % unsigned(rows + 4)) - 2);
            const std::size_t size = std::size_t(stride) * std::size_t(rows);
            const Bytes source = randomBytes(size, engine);
            const Bytes before = randomBytes(kGuard + size + kGuard, engine);
            Bytes expected = before;
            reference(routine, source, expected.data() + kGuard, stride, rows, tables);
            for (int path = 0; path <= int(VectorPath::Avx512Vbmi) && routine < 5; ++path) {
                if (!processorRuns(VectorPath(path)))
                    continue;
                Bytes target = before;
                runOnPath(routine, VectorPath(path), source, target.data() + kGuard, stride, rows,
                          tables.temPal);
                QVERIFY2(target == expected,
                         qPrintable(QStringLiteral("%1 rows, path %2").arg(rows).arg(path)));
            }
            const Picture unedited = pictureOf(width, rows, source.data());
            Picture edited = pictureOf(width, rows, before.data() + kGuard);
            ScriptedDialogs dialogs;
            const QLatin1String name(kRoutines[routine]);
            doImagePro(name, unedited, edited, tables, dialogs);
            QVERIFY2(holds(edited, expected.data() + kGuard), qPrintable(QString::number(rows)));
            // A target that shares the source's pixels, here by being the source, gets pixels
            // of its own: the routine reads unedited bytes and the source stays as it was.
            Bytes inPlace = source;
            reference(routine, source, inPlace.data(), stride, rows, tables);
            Picture same = unedited;
            doImagePro(name, same, same, tables, dialogs);
            QVERIFY(holds(same, inPlace.data()) && holds(unedited, source.data()));
            QVERIFY(dialogs.shown().isEmpty());
        }
    }

    // 4 x 4 targets; "Invert" writes nothing into any of them.
    void picturesItCannotWorkOnStayAsTheyWere_data() {
        QTest::addColumn<int>("targetFormat");
        QTest::addColumn<int>("sourceFormat");
        QTest::addColumn<int>("sourceRows");
        QTest::addColumn<QStringList>("messages");
        const int bgr = QImage::Format_BGR888, rgb = QImage::Format_RGB888;
        const QStringList only24 = {QStringLiteral(" 24-bit bitmaps only")};
        QTest::newRow("24-bit target of another order") << rgb << bgr << 4 << QStringList();
        QTest::newRow("24-bit source of another order") << bgr << rgb << 4 << QStringList();
        QTest::newRow("source one row taller") << bgr << bgr << 5 << QStringList();
        QTest::newRow("RGB32 target") << int(QImage::Format_RGB32) << bgr << 4 << only24;
        QTest::newRow("Indexed8 target") << int(QImage::Format_Indexed8) << bgr << 4 << only24;
    }
    void picturesItCannotWorkOnStayAsTheyWere() {
        QFETCH(int, targetFormat);
        QFETCH(int, sourceFormat);
        QFETCH(int, sourceRows);
        Picture source(4, sourceRows, QImage::Format(sourceFormat));
        source.fill(Qt::darkCyan);
        Picture target(4, 4, QImage::Format_BGR888);
        target.fill(QColor(9, 9, 9));
        target.convertTo(QImage::Format(targetFormat));
        const Picture before = target.copy();
        ScriptedDialogs dialogs;
        doImagePro(QStringLiteral("Invert"), source, target, {}, dialogs);
        QTEST(dialogs.texts(), "messages");
        QCOMPARE(target, before);
    }
};

QTEST_GUILESS_MAIN(TestEffects)
#include "tst_Effects.moc"
