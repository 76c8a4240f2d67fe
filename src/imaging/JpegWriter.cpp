#include "imaging/JpegWriter.h"

#include "imaging/DibSection.h"

#include <QFile>
#include <QRandomGenerator>

#include <turbojpeg.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace glim {

namespace {

// The two descriptions of a failed write, each followed by a status number in decimal.
const QString kInitFailedText = QStringLiteral("Failed to initialise the IJL library: ");
const QString kSaveFailedText = QStringLiteral("Failed to save to JPG ");

// Status numbers after "Failed to initialise the IJL library: ".
enum InitStatus {
    EncoderNotStarted = 1, // the encoder could not be started (no compressor handle)
};

// Status numbers after "Failed to save to JPG ". In every case the file at the path is left
// exactly as it was, and no temporary file stays behind.
enum SaveStatus {
    NoPixels = 1,         // the buffer holds no pixels
    TargetReadOnly = 2,   // the existing file's owner write bit is clear
    CannotCreateFile = 3, // no new file could be made beside the target (missing folder...)
    EncoderFailed = 4,    // the encoder refused the picture (quality outside 0 to 100, a
                          // side longer than a JPEG allows, no memory)
    WriteFailed = 5,      // the encoded bytes could not all be written (disk full...)
    ReplaceFailed = 6,    // the new file could not be put in place (the path is a folder...)
};

JpegWriteResult failure(const QString& text, int status) {
    return {false, kJpegWriteErrorNumber, text + QString::number(status)};
}

// The encoder's output buffer, released however the write ends.
struct EncodedJpeg {
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    ~EncodedJpeg() { tjFree(bytes); }

    // When the encoder outgrows the buffer it was given, it puts a larger one of its own in its
    // place and leaves the first to the caller: without this, every picture that did not fit
    // would leak that buffer.
    void releaseIfReplaced(unsigned char* first) {
        if (first != bytes)
            tjFree(first);
    }

    // A first buffer of a quarter of the worst case, which the encoder enlarges when a picture
    // needs more. Screenshots at quality 100 take 1 to 2 bits a pixel, so it rarely has to;
    // a worst-case buffer (as large as the picture) made big pictures a third slower, and
    // growing from nothing made every picture slower. Without a first buffer the encoder
    // makes its own.
    void startFor(int width, int height, int subsampling) {
        const unsigned long worst = tjBufSize(width, height, subsampling);
        if (worst == static_cast<unsigned long>(-1) || worst / 4 > 0x7fffffffUL)
            return;
        bytes = tjAlloc(static_cast<int>(worst / 4));
        size = bytes != nullptr ? worst / 4 : 0;
    }
};

struct CompressorHandle {
    tjhandle handle = tjInitCompress();
    ~CompressorHandle() {
        if (handle != nullptr)
            tjDestroy(handle);
    }
};

// The new picture's file beside the target. It is removed again unless it was put in place.
class SiblingFile {
public:
    explicit SiblingFile(const QByteArray& target) {
        const int slash = target.lastIndexOf('/');
        m_folder = slash < 0 ? QByteArray(".") : target.left(slash + 1);
        const QByteArray name = target.mid(slash + 1);
        // Created exclusively with the default mode, as any new file of the user's would be;
        // a clash with an existing name only costs another try.
        for (int attempt = 0; attempt < 64 && m_fd < 0; ++attempt) {
            const QByteArray suffix =
                QByteArray::number(QRandomGenerator::global()->generate(), 16);
            m_path = m_folder + '.' + name + '.' + suffix + ".tmp";
            m_fd = ::open(m_path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd < 0 && errno != EEXIST)
                break;
        }
    }
    ~SiblingFile() {
        closeFile();
        if (!m_placed && !m_path.isEmpty())
            ::unlink(m_path.constData());
    }
    SiblingFile(const SiblingFile&) = delete;
    SiblingFile& operator=(const SiblingFile&) = delete;

    bool isOpen() const { return m_fd >= 0; }

    bool writeAll(const unsigned char* bytes, unsigned long size) {
        while (size > 0) {
            const ssize_t written = ::write(m_fd, bytes, size);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            bytes += written;
            size -= static_cast<unsigned long>(written);
        }
        return true;
    }

    // Gives the new file the replaced file's times and mode bits. Failures here leave the
    // picture written with fresh times, which is no reason to fail the write.
    void takeOver(const struct stat& old) {
        const struct timespec times[2] = {old.st_atim, old.st_mtim};
        (void)::futimens(m_fd, times);
        (void)::fchmod(m_fd, old.st_mode & 07777);
    }

    // Puts the bytes on the disk before the file takes the target's name, so that a power loss
    // leaves either the earlier picture or the whole new one at the path, never an empty file.
    bool flush() { return ::fsync(m_fd) == 0; }

    bool closeFile() {
        if (m_fd < 0)
            return true;
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0;
    }

    // The rename itself is on the disk only once the folder is: flushed too. A folder that
    // cannot be flushed (some file systems refuse) leaves the picture in place all the same.
    bool placeAt(const QByteArray& target) {
        m_placed = ::rename(m_path.constData(), target.constData()) == 0;
        if (m_placed) {
            const int folder = ::open(m_folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (folder >= 0) {
                (void)::fsync(folder);
                ::close(folder);
            }
        }
        return m_placed;
    }

private:
    QByteArray m_folder;
    QByteArray m_path;
    int m_fd = -1;
    bool m_placed = false;
};

// The rows the encoder reads: B,G,R pixels, `pitch` bytes apart, the top row first unless
// `bottomUp`.
struct EncoderRows {
    const unsigned char* bits = nullptr;
    int width = 0;
    int pitch = 0;
    int height = 0;
    bool bottomUp = false;
};

JpegWriteResult writeRows(const EncoderRows& rows, const QString& path, int quality) {
    CompressorHandle compressor;
    if (compressor.handle == nullptr)
        return failure(kInitFailedText, EncoderNotStarted);

    if (rows.bits == nullptr || rows.width <= 0 || rows.height <= 0)
        return failure(kSaveFailedText, NoPixels);

    // The file being replaced keeps its times and mode; one that may not be written stays as
    // it is (tested by the mode bit itself, which also holds for a user who may write anyway).
    const QByteArray target = QFile::encodeName(path);
    struct stat old {};
    const bool replacing = !target.isEmpty() && ::stat(target.constData(), &old) == 0;
    if (replacing && (old.st_mode & S_IWUSR) == 0)
        return failure(kSaveFailedText, TargetReadOnly);

    // Screenshots are full of coloured text: full-resolution colour at the high qualities.
    const int subsampling = quality >= 90 ? TJSAMP_444 : TJSAMP_420;
    EncodedJpeg jpeg;
    jpeg.startFor(rows.width, rows.height, subsampling);
    unsigned char* const first = jpeg.bytes;
    const int status = tjCompress2(compressor.handle, rows.bits, rows.width, rows.pitch,
                                   rows.height, TJPF_BGR, &jpeg.bytes, &jpeg.size, subsampling,
                                   quality, rows.bottomUp ? TJFLAG_BOTTOMUP : 0);
    jpeg.releaseIfReplaced(first);
    if (status != 0)
        return failure(kSaveFailedText, EncoderFailed);

    if (target.isEmpty())
        return failure(kSaveFailedText, CannotCreateFile);
    SiblingFile file(target);
    if (!file.isOpen())
        return failure(kSaveFailedText, CannotCreateFile);
    if (!file.writeAll(jpeg.bytes, jpeg.size))
        return failure(kSaveFailedText, WriteFailed);
    // Linux keeps no settable creation time, so the last-access and last-write times and the
    // mode bits are what the replaced file hands on.
    if (replacing)
        file.takeOver(old);
    if (!file.flush() || !file.closeFile())
        return failure(kSaveFailedText, WriteFailed);
    if (!file.placeAt(target))
        return failure(kSaveFailedText, ReplaceFailed);
    return {true, 0, {}};
}

} // namespace

JpegWriteResult writeJpegFile(DibSection& dib, const QString& path, int quality) {
    // The buffer's own memory goes to the encoder: padded rows, bottom row first.
    return writeRows(
        {dib.dibSectionBitsPtr(), dib.width(), dib.bytesPerScanLine(), dib.height(), true}, path,
        quality);
}

JpegWriteResult writeJpegFile(const Picture& picture, const QString& path, int quality) {
    // The picture's own rows when they are B,G,R already, as a screenshot's always are.
    const Picture bgr = asPicture(picture);
    return writeRows({bgr.constBits(), bgr.width(), int(bgr.bytesPerLine()), bgr.height(), false},
                     path, quality);
}

} // namespace glim
