#include "imaging/BmpWriter.h"

#include "imaging/DibSection.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <array>
#include <cstdint>
#include <limits>

namespace glim {

namespace {

constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;
constexpr int kPixelOffset = kFileHeaderBytes + kInfoHeaderBytes;
// 96 dots per inch in pixels per metre, as the screen's pictures are.
constexpr std::int32_t kPixelsPerMetre = 3780;

using Header = std::array<unsigned char, kPixelOffset>;

// Little-endian fields at their offsets.
void put16(Header& header, int at, std::uint16_t value) {
    qToLittleEndian(value, header.data() + at);
}
void put32(Header& header, int at, std::uint32_t value) {
    qToLittleEndian(value, header.data() + at);
}

Header headerFor(int width, int height, std::uint32_t pixelBytes) {
    Header header{};
    header[0] = 'B';
    header[1] = 'M';
    put32(header, 2, kPixelOffset + pixelBytes); // the file's size
    put32(header, 10, kPixelOffset);
    put32(header, 14, kInfoHeaderBytes);
    put32(header, 18, static_cast<std::uint32_t>(width));
    // A positive height: the rows are stored bottom-up, as the buffer holds them.
    put32(header, 22, static_cast<std::uint32_t>(height));
    put16(header, 26, 1);  // planes
    put16(header, 28, 24); // bits a pixel
    put32(header, 30, 0);  // no compression
    put32(header, 34, pixelBytes);
    put32(header, 38, kPixelsPerMetre);
    put32(header, 42, kPixelsPerMetre);
    // No colour table: the colours used and important stay 0.
    return header;
}

} // namespace

bool writeBmpFile(const DibSection& dib, const QString& path) {
    if (dib.isEmpty() || path.isEmpty())
        return false;
    const qint64 pixelBytes = qint64(dib.bytesPerScanLine()) * dib.height();
    if (pixelBytes + kPixelOffset > std::numeric_limits<std::uint32_t>::max())
        return false;
    // A write-protected file is left alone, although the folder would let it be replaced. The
    // owner's write bit decides, also for a user who could write anyway, as for the JPEG files.
    const QFileInfo existing(path);
    if (existing.exists() && !existing.permission(QFileDevice::WriteOwner))
        return false;

    const Header header = headerFor(dib.width(), dib.height(), std::uint32_t(pixelBytes));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(reinterpret_cast<const char*>(header.data()), header.size());
    file.write(reinterpret_cast<const char*>(dib.dibSectionBitsPtr()), pixelBytes);
    // Only a complete file takes the name; a failed write above makes commit() fail.
    return file.commit();
}

} // namespace glim
