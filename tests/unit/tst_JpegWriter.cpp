#include "imaging/DibSection.h"
#include "imaging/JpegWriter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <turbojpeg.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>

using namespace glim;

namespace {

// A screenshot-like picture: a smooth gradient with a few hard-edged coloured blocks.
Picture samplePicture(int width, int height) {
    Picture picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(
                x, y,
                qRgb(x * 255 / std::max(width - 1, 1), 128, y * 255 / std::max(height - 1, 1)));
    for (int y = height / 4; y < height / 2; ++y)
        for (int x = width / 4; x < width / 2; ++x)
            picture.setPixel(x, y, qRgb(250, 250, 40));
    return picture;
}

// Noise compresses badly, so that the quality shows in the file's size.
Picture noisyPicture(int width, int height) {
    Picture picture(width, height, QImage::Format_RGB32);
    std::srand(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(std::rand() % 256, std::rand() % 256, std::rand() % 256));
    return picture;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeRaw(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

struct stat statOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

// The largest difference of any component between two pictures of one size.
int largestDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)),
                                std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return largest;
}

int chromaSubsampling(const QByteArray& jpeg) {
    tjhandle handle = tjInitDecompress();
    int width = 0, height = 0, subsampling = -1, colourspace = -1;
    tjDecompressHeader3(handle, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                        static_cast<unsigned long>(jpeg.size()), &width, &height, &subsampling,
                        &colourspace);
    tjDestroy(handle);
    return subsampling;
}

const struct timespec kOldTimes[2] = {{981173106, 123456789},   // last access: 2001-02-03
                                      {1012703045, 987654321}}; // last write: 2002-02-03

} // namespace

// Writing JPEG files: what comes back when decoded, and what happens to the file at the path.
class TestJpegWriter : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    DibSection m_dib;

    QStringList entries() const {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    // An earlier file at the path with its own bytes, mode and times.
    void placeOldFile(mode_t mode) {
        writeRaw(m_path, QByteArrayLiteral("the earlier picture"));
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(m_path).constData(), kOldTimes, 0), 0);
        QCOMPARE(::chmod(QFile::encodeName(m_path).constData(), mode), 0);
    }
    void expectOldFileUntouched(mode_t mode) {
        const struct stat st = statOf(m_path);
        QCOMPARE(st.st_mode & 07777, mode);
        QCOMPARE(st.st_atim.tv_sec, kOldTimes[0].tv_sec);
        QCOMPARE(st.st_mtim.tv_sec, kOldTimes[1].tv_sec);
        QCOMPARE(readAll(m_path), QByteArrayLiteral("the earlier picture"));
        QCOMPARE(entries(), QStringList{QStringLiteral("shot.jpg")});
    }

private slots:
    void init() {
        for (const QString& name : entries()) {
            const QString path = m_dir.filePath(name);
            ::chmod(QFile::encodeName(path).constData(), 0700);
            if (!QFile::remove(path))
                QDir(path).removeRecursively();
        }
        m_path = m_dir.filePath(QStringLiteral("shot.jpg"));
        m_dib.createFromPicture(samplePicture(40, 30));
    }

    void pictureDecodesBackAtQualityHundred_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("1 pixel wide, 1 padding byte a row") << QSize(1, 9);
        QTest::newRow("3 pixels wide, 3 padding bytes") << QSize(3, 5);
        QTest::newRow("5 pixels wide, 1 padding byte") << QSize(5, 11);
        QTest::newRow("1 x 1") << QSize(1, 1);
        QTest::newRow("odd both ways") << QSize(333, 77);
        QTest::newRow("no padding") << QSize(64, 48);
    }
    void pictureDecodesBackAtQualityHundred() {
        QFETCH(QSize, size);
        const Picture original = samplePicture(size.width(), size.height());
        DibSection dib;
        dib.createFromPicture(original);
        const JpegWriteResult result = writeJpegFile(dib, m_path, 100);
        QVERIFY2(result.ok, qPrintable(result.description));
        const QImage decoded(m_path, "JPEG");
        QCOMPARE(decoded.size(), size);
        // Rows taken with a wrong pitch or the padding encoded as pixels would shear the
        // picture by far more than the quantisation of quality 100.
        QVERIFY2(largestDifference(decoded, original) <= 12,
                 qPrintable(QString::number(largestDifference(decoded, original))));
    }

    void noiseLargerThanTheFirstBufferIsWrittenWhole() {
        // Noise at quality 100 takes several bytes a pixel, far beyond the encoder's first
        // buffer, which must grow rather than cut the picture off.
        const Picture original = noisyPicture(300, 200);
        DibSection dib;
        dib.createFromPicture(original);
        const JpegWriteResult result = writeJpegFile(dib, m_path, 100);
        QVERIFY2(result.ok, qPrintable(result.description));
        QVERIFY(QFileInfo(m_path).size() > 300 * 200);
        const QImage decoded(m_path, "JPEG");
        QCOMPARE(decoded.size(), QSize(300, 200));
        QVERIFY(largestDifference(decoded, original) <= 40);
    }

    void topRowComesBackOnTop() {
        Picture picture(16, 16, QImage::Format_RGB32);
        picture.fill(qRgb(0, 0, 255));
        for (int x = 0; x < 16; ++x)
            for (int y = 0; y < 8; ++y)
                picture.setPixel(x, y, qRgb(255, 0, 0));
        DibSection dib;
        dib.createFromPicture(picture);
        QVERIFY(writeJpegFile(dib, m_path, 100));
        const QImage decoded(m_path, "JPEG");
        QVERIFY(qRed(decoded.pixel(4, 0)) > 230 && qBlue(decoded.pixel(4, 0)) < 25);
        QVERIFY(qBlue(decoded.pixel(4, 15)) > 230 && qRed(decoded.pixel(4, 15)) < 25);
    }

    void chromaIsFullAtHighQualityAndHalvedBelow_data() {
        QTest::addColumn<int>("quality");
        QTest::addColumn<int>("subsampling");
        QTest::newRow("100") << 100 << int(TJSAMP_444);
        QTest::newRow("90") << 90 << int(TJSAMP_444);
        QTest::newRow("89") << 89 << int(TJSAMP_420);
        QTest::newRow("50") << 50 << int(TJSAMP_420);
        QTest::newRow("1") << 1 << int(TJSAMP_420);
    }
    void chromaIsFullAtHighQualityAndHalvedBelow() {
        QFETCH(int, quality);
        QFETCH(int, subsampling);
        QVERIFY(writeJpegFile(m_dib, m_path, quality));
        QCOMPARE(chromaSubsampling(readAll(m_path)), subsampling);
    }

    void lowerQualityGivesSmallerFiles() {
        DibSection dib;
        dib.createFromPicture(noisyPicture(64, 64));
        qint64 previous = std::numeric_limits<qint64>::max();
        for (int quality : {100, 95, 75, 30, 1}) {
            QVERIFY(writeJpegFile(dib, m_path, quality));
            const qint64 size = QFileInfo(m_path).size();
            QVERIFY2(size < previous, qPrintable(QString::number(quality)));
            previous = size;
        }
    }

    void replacedFileKeepsItsTimesAndMode_data() {
        QTest::addColumn<uint>("mode");
        QTest::newRow("0600") << 0600u;
        QTest::newRow("0640") << 0640u;
        QTest::newRow("0755") << 0755u;
        QTest::newRow("0200, write only") << 0200u;
    }
    void replacedFileKeepsItsTimesAndMode() {
        QFETCH(uint, mode);
        placeOldFile(mode);
        const JpegWriteResult result = writeJpegFile(m_dib, m_path, 100);
        QVERIFY2(result.ok, qPrintable(result.description));
        QCOMPARE(result.number, 0);
        // Looked at before the file is read, which would move its last-access time.
        const struct stat st = statOf(m_path);
        QCOMPARE(uint(st.st_mode & 07777), mode);
        QCOMPARE(st.st_atim.tv_sec, kOldTimes[0].tv_sec);
        QCOMPARE(st.st_atim.tv_nsec, kOldTimes[0].tv_nsec);
        QCOMPARE(st.st_mtim.tv_sec, kOldTimes[1].tv_sec);
        QCOMPARE(st.st_mtim.tv_nsec, kOldTimes[1].tv_nsec);
        QCOMPARE(entries(), QStringList{QStringLiteral("shot.jpg")});
        QVERIFY(readAll(m_path).startsWith("\xFF\xD8\xFF"));
    }

    void newFileGetsFreshTimesAndTheDefaultMode() {
        const mode_t mask = ::umask(022);
        const qint64 before = QDateTime::currentSecsSinceEpoch();
        const JpegWriteResult result = writeJpegFile(m_dib, m_path, 100);
        ::umask(mask);
        QVERIFY2(result.ok, qPrintable(result.description));
        const struct stat st = statOf(m_path);
        QCOMPARE(uint(st.st_mode & 07777), 0644u);
        QVERIFY(st.st_mtim.tv_sec >= before - 1);
        QVERIFY(st.st_mtim.tv_sec <= QDateTime::currentSecsSinceEpoch() + 1);
        QCOMPARE(entries(), QStringList{QStringLiteral("shot.jpg")});
    }

    void fileWithoutOwnerWriteBitIsNotReplaced_data() {
        QTest::addColumn<uint>("mode");
        QTest::newRow("0444") << 0444u;
        QTest::newRow("0400") << 0400u;
        QTest::newRow("0577, others may write") << 0577u;
    }
    void fileWithoutOwnerWriteBitIsNotReplaced() {
        QFETCH(uint, mode);
        placeOldFile(mode);
        const JpegWriteResult result = writeJpegFile(m_dib, m_path, 100);
        QVERIFY(!result.ok);
        QCOMPARE(result.number, 26001);
        QCOMPARE(result.description, QStringLiteral("Failed to save to JPG 2"));
        expectOldFileUntouched(mode);
    }

    void failedEncodeLeavesTheEarlierFileByteForByte_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("quality");
        QTest::addColumn<QString>("description");
        QTest::newRow("quality -1") << 40 << -1 << "Failed to save to JPG 4";
        QTest::newRow("quality 101") << 40 << 101 << "Failed to save to JPG 4";
        QTest::newRow("wider than a JPEG may be") << 70000 << 100 << "Failed to save to JPG 4";
        QTest::newRow("empty buffer") << 0 << 100 << "Failed to save to JPG 1";
    }
    void failedEncodeLeavesTheEarlierFileByteForByte() {
        QFETCH(int, width);
        QFETCH(int, quality);
        QFETCH(QString, description);
        DibSection dib;
        dib.create(width, 2);
        placeOldFile(0644);
        const JpegWriteResult result = writeJpegFile(dib, m_path, quality);
        QVERIFY(!result.ok);
        QCOMPARE(result.number, 26001);
        QCOMPARE(result.description, description);
        expectOldFileUntouched(0644);
    }

    void missingFolderFailsAndCreatesNothing() {
        const QString path = m_dir.filePath(QStringLiteral("gone/shot.jpg"));
        const JpegWriteResult result = writeJpegFile(m_dib, path, 100);
        QVERIFY(!result.ok);
        QCOMPARE(result.number, 26001);
        QCOMPARE(result.description, QStringLiteral("Failed to save to JPG 3"));
        QVERIFY(entries().isEmpty());
    }

    void folderAtThePathIsNotReplaced() {
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("shot.jpg")));
        const JpegWriteResult result = writeJpegFile(m_dib, m_path, 100);
        QVERIFY(!result.ok);
        QCOMPARE(result.description, QStringLiteral("Failed to save to JPG 6"));
        QVERIFY(QFileInfo(m_path).isDir());
        QCOMPARE(entries(), QStringList{QStringLiteral("shot.jpg")});
    }
};

QTEST_MAIN(TestJpegWriter)
#include "tst_JpegWriter.moc"
