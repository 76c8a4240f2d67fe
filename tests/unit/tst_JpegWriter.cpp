#include "imaging/DibSection.h"
#include "imaging/JpegWriter.h"
#include "platform/Picture.h"
#include "support/FileBytes.h"
#include "support/PictureCompare.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <fcntl.h>
#include <sys/stat.h>

#include <optional>
#include <random>

using namespace glim;

namespace {

// A screenshot-like picture (a smooth gradient with a hard-edged block), or noise, which
// compresses so badly that it needs more than the encoder's first buffer.
Picture samplePicture(QSize size, bool noise = false) {
    Picture picture(size, QImage::Format_BGR888);
    std::mt19937 engine(7);
    const int w = size.width(), h = size.height();
    for (int y = 0; y < h; ++y) {
        uchar* pixel = picture.scanLine(y);
        for (int x = 0; x < w; ++x, pixel += 3) {
            const QRgb colour =
                noise ? QRgb(engine())
                      : qRgb(x * 255 / std::max(w - 1, 1), 128, y * 255 / std::max(h - 1, 1));
            pixel[0] = uchar(qBlue(colour));
            pixel[1] = uchar(qGreen(colour));
            pixel[2] = uchar(qRed(colour));
        }
    }
    QPainter(&picture).fillRect(w / 4, h / 4, w / 4, h / 4, QColor(250, 250, 40));
    return picture;
}

const struct timespec kOldTimes[2] = {{981173106, 123456789},   // last access: 2001-02-03
                                      {1012703045, 987654321}}; // last write: 2002-02-03

} // namespace

// Writing JPEG files: what comes back when decoded, and what happens to the file at the path.
class TestJpegWriter : public QObject {
    Q_OBJECT

private:
    std::optional<QTemporaryDir> m_dir;
    QString m_path;
    DibSection m_dib;

private slots:
    void init() {
        m_dir.emplace();
        m_path = m_dir->filePath(QStringLiteral("shot.jpg"));
        m_dib.createFromPicture(samplePicture(QSize(40, 30)));
    }

    // The quality goes to the encoder unchanged, with full-resolution colour from 90 on.
    void qualityChoosesTheSizeAndTheChroma() {
        DibSection noise;
        noise.createFromPicture(samplePicture(QSize(64, 64), true));
        qint64 previous = std::numeric_limits<qint64>::max();
        for (int quality : {100, 90, 89, 1}) {
            QVERIFY(writeJpegFile(noise, m_path, quality));
            const QByteArray jpeg = readFile(m_path);
            QVERIFY2(jpeg.size() < previous, qPrintable(QString::number(quality)));
            previous = jpeg.size();
            // The first component's sampling factors in the baseline frame header.
            const qsizetype frame = jpeg.indexOf("\xFF\xC0");
            QCOMPARE(int(jpeg.at(frame + 11)), quality >= 90 ? 0x11 : 0x22);
        }
    }

    // What stands at the path before a write of the 40 x 30 picture (or of a buffer `width`
    // wide, 0 for an empty one): a failed write leaves it as it was, a good one keeps its
    // times and mode, and no temporary file stays behind.
    void fileAtThePath_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<uint>("mode");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("quality");
        QTest::addColumn<QString>("description"); // empty: written
        const QString file = QStringLiteral("file"), none = QString();
        QTest::newRow("new: fresh times, default mode") << "nothing" << 0u << 40 << 100 << none;
        QTest::newRow("replaces 0200, write only") << file << 0200u << 40 << 100 << none;
        QTest::newRow("others may write")
            << file << 0577u << 40 << 100 << "Failed to save to JPG 2";
        QTest::newRow("quality -1") << file << 0644u << 40 << -1 << "Failed to save to JPG 4";
        QTest::newRow("quality 101") << file << 0644u << 40 << 101 << "Failed to save to JPG 4";
        QTest::newRow("empty buffer") << file << 0644u << 0 << 100 << "Failed to save to JPG 1";
        QTest::newRow("missing folder") << "gone/" << 0u << 40 << 100 << "Failed to save to JPG 3";
        QTest::newRow("a folder at the path")
            << "folder" << 0u << 40 << 100 << "Failed to save to JPG 6";
    }
    void fileAtThePath() {
        QFETCH(QString, before);
        QFETCH(uint, mode);
        QFETCH(int, width);
        QFETCH(int, quality);
        QFETCH(QString, description);
        const QByteArray name = QFile::encodeName(m_path);
        if (width != 40)
            m_dib.create(width, 2);
        if (before == u"file") { // an earlier file with its own bytes, mode and times
            writeFile(m_path, QByteArrayLiteral("the earlier picture"));
            QCOMPARE(::utimensat(AT_FDCWD, name.constData(), kOldTimes, 0), 0);
            QCOMPARE(::chmod(name.constData(), mode), 0);
        } else if (before == u"folder") {
            QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("shot.jpg")));
        }
        const mode_t mask = ::umask(022);
        const qint64 start = QDateTime::currentSecsSinceEpoch();
        const QString path = before == u"gone/" ? m_dir->filePath(u"gone/shot.jpg"_qs) : m_path;
        const JpegWriteResult result = writeJpegFile(m_dib, path, quality);
        ::umask(mask);
        QCOMPARE(result.description, description);
        QCOMPARE(result.ok, description.isEmpty());
        QCOMPARE(result.number, result.ok ? 0 : 26001);
        QCOMPARE(
            QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            before == u"gone/" ? QStringList() : QStringList{u"shot.jpg"_qs});
        if (before != u"file" && before != u"nothing")
            return;
        // Looked at before the file is read, which would move its last-access time.
        struct stat st {};
        QCOMPARE(::stat(name.constData(), &st), 0);
        QCOMPARE(uint(st.st_mode & 07777), before == u"file" ? mode : 0644u);
        if (before == u"file") {
            QCOMPARE(st.st_atim.tv_nsec, kOldTimes[0].tv_nsec);
            QCOMPARE(st.st_mtim.tv_sec, kOldTimes[1].tv_sec);
            QCOMPARE(st.st_mtim.tv_nsec, kOldTimes[1].tv_nsec);
        } else {
            QVERIFY(st.st_mtim.tv_sec >= start - 1);
        }
        const QByteArray bytes = readFile(m_path);
        QVERIFY(result.ok ? bytes.startsWith("\xFF\xD8\xFF") : bytes == "the earlier picture");
    }

    // What the program writes it reads back as it was, also beyond Qt's default limit of
    // 128 MB, which an 8192 x 8192 capture exceeds.
    void pictureReadsBackAsWritten_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("noise");
        QTest::newRow("1 pixel wide, 1 padding byte a row") << QSize(1, 9) << false;
        QTest::newRow("3 pixels wide, 3 padding bytes") << QSize(3, 5) << false;
        QTest::newRow("no padding") << QSize(64, 48) << false;
        // Several bytes a pixel, far beyond the encoder's first buffer: it must grow, and the
        // first buffer must then be freed (the sanitizer run's leak check sees it otherwise).
        QTest::newRow("noise") << QSize(300, 200) << true;
        QTest::newRow("8192 x 8192 capture") << QSize(8192, 8192) << false;
    }
    void pictureReadsBackAsWritten() {
        QFETCH(QSize, size);
        QFETCH(bool, noise);
        const Picture original = samplePicture(size, noise);
        DibSection dib;
        dib.createFromPicture(original);
        const JpegWriteResult result = writeJpegFile(dib, m_path, 100);
        QVERIFY2(result.ok, qPrintable(result.description));
        dib.clearUp();
        // A screenshot is encoded from the picture's own top-down rows, converted first when
        // they are not B,G,R: the same bytes as from the bottom-up buffer.
        const QString fromPicture = m_dir->filePath(QStringLiteral("picture.jpg"));
        QVERIFY(writeJpegFile(original.convertToFormat(QImage::Format_RGB32), fromPicture, 100));
        QVERIFY(readFile(fromPicture) == readFile(m_path));
        auto error = PictureFileError(-1);
        const Picture back = loadPicture(m_path, &error);
        QCOMPARE(error, PictureFileError::None);
        QCOMPARE(back.format(), QImage::Format_BGR888);
        // Rows taken with a wrong pitch, the padding encoded as pixels or the rows upside down
        // would move the picture by far more than the quantisation of quality 100.
        const QSize block = size.boundedTo(QSize(64, 64));
        for (const QPoint& at :
             {QPoint(0, 0), QPoint(size.width() - block.width(), size.height() - block.height())}) {
            const int difference =
                largestDifference(back.copy(QRect(at, block)), original.copy(QRect(at, block)));
            QVERIFY2(difference <= (noise ? 40 : 12), qPrintable(QString::number(difference)));
        }
    }

    // A frame header claiming one row beyond 16384 x 16384, and bytes that are no picture.
    void damagedPictureSaysWhy() {
        QVERIFY(writeJpegFile(m_dib, m_path, 100));
        const QByteArray written = readFile(m_path);
        for (const bool garbage : {false, true}) {
            QByteArray bytes = written;
            const qsizetype frame = bytes.indexOf("\xFF\xC0"); // baseline frame header
            qToBigEndian(quint16(16385), bytes.data() + frame + 5);
            qToBigEndian(quint16(16384), bytes.data() + frame + 7);
            writeFile(m_path, garbage ? QByteArray(bytes.size(), 'x') : bytes);
            auto error = PictureFileError::None;
            QVERIFY(loadPicture(m_path, &error).isNull());
            QCOMPARE(error, garbage ? PictureFileError::NotAPicture : PictureFileError::TooLarge);
        }
    }
};

QTEST_GUILESS_MAIN(TestJpegWriter)
#include "tst_JpegWriter.moc"
