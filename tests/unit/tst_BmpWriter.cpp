#include "imaging/BmpWriter.h"
#include "imaging/DibSection.h"
#include "support/PictureCompare.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace glim;

namespace {

// Every pixel of its own colour, so that a swapped channel, row or column shows.
Picture numbered(QSize size) {
    Picture picture(size, QImage::Format_BGR888);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 40 + 7, y * 60 + 11, (x + y) * 20 + 3));
    return picture;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 field32(const QByteArray& bytes, int at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}
quint16 field16(const QByteArray& bytes, int at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

} // namespace

// Writing the pixel buffer as a Windows bitmap file, read back by Qt's own reader.
class TestBmpWriter : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void writesA24BitBottomUpBitmapThatReadsBackExactly_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("stride");
        // Rows padded to 4 bytes: 4, 8, 12, 12, 16 for widths 1 to 5.
        QTest::newRow("1") << 1 << 4;
        QTest::newRow("2") << 2 << 8;
        QTest::newRow("3") << 3 << 12;
        QTest::newRow("4") << 4 << 12;
        QTest::newRow("5") << 5 << 16;
    }
    void writesA24BitBottomUpBitmapThatReadsBackExactly() {
        QFETCH(int, width);
        QFETCH(int, stride);
        const Picture picture = numbered(QSize(width, 3));
        DibSection dib;
        dib.createFromPicture(picture);
        const QString path = m_dir.filePath(QStringLiteral("w%1.bmp").arg(width));
        QVERIFY(writeBmpFile(dib, path));

        const QByteArray bytes = readAll(path);
        const int pixelBytes = stride * 3;
        QCOMPARE(bytes.size(), 54 + pixelBytes);
        QCOMPARE(bytes.left(2), QByteArray("BM"));
        const QList<quint32> header = {field32(bytes, 2),  field32(bytes, 10), field32(bytes, 14),
                                       field32(bytes, 18), field32(bytes, 22), field16(bytes, 26),
                                       field16(bytes, 28), field32(bytes, 30), field32(bytes, 34)};
        QCOMPARE(header, (QList<quint32>{quint32(54 + pixelBytes), 54, 40, quint32(width), 3, 1, 24,
                                         0, quint32(pixelBytes)}));
        // The first row in the file is the picture's bottom row, blue first.
        const QRgb bottomLeft = picture.pixel(0, 2);
        const QList<int> first = {uchar(bytes[54]), uchar(bytes[55]), uchar(bytes[56])};
        QCOMPARE(first, (QList<int>{qBlue(bottomLeft), qGreen(bottomLeft), qRed(bottomLeft)}));
        QCOMPARE(largestDifference(QImage(path, "BMP"), picture), 0);
    }

    void failsWithoutTouchingWhatIsThere() {
        DibSection empty;
        const QString fresh = m_dir.filePath(QStringLiteral("fresh.bmp"));
        QVERIFY(!writeBmpFile(empty, fresh));
        QVERIFY(!QFile::exists(fresh));

        DibSection dib;
        dib.createFromPicture(numbered(QSize(4, 2)));
        QVERIFY(!writeBmpFile(dib, m_dir.filePath(QStringLiteral("gone/shot.bmp"))));

        // A write-protected file keeps its bytes; a writable one is replaced.
        const QString kept = m_dir.filePath(QStringLiteral("kept.bmp"));
        QFile file(kept);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("earlier");
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner));
        QVERIFY(!writeBmpFile(dib, kept));
        QCOMPARE(readAll(kept), QByteArray("earlier"));
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(writeBmpFile(dib, kept));
        QCOMPARE(QImage(kept).size(), QSize(4, 2));
        // No temporary file stays behind.
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"kept.bmp", "w1.bmp", "w2.bmp", "w3.bmp", "w4.bmp", "w5.bmp"}));
    }
};

QTEST_GUILESS_MAIN(TestBmpWriter)
#include "tst_BmpWriter.moc"
