#pragma once

#include <QBuffer>
#include <QDataStream>
#include <QImage>

#include <turbojpeg.h>

// Picture files of the depths and kinds that Qt writes no file of (32-bit BMP, CMYK JPEG),
// written byte by byte from a picture of known colours, and the files Qt does write.
namespace picturefiles {

// A BMP of 32 bits a pixel (B, G, R, and an unused byte), rows bottom-up. A `claimed` size
// beyond the pixels that follow makes a header-only file.
inline QByteArray bmp32(const QImage& image, QSize claimed = {}) {
    const QSize size = claimed.isValid() ? claimed : image.size();
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 pixelBytes = quint32(image.width() * image.height() * 4);
    out << quint16(0x4d42) << quint32(54 + pixelBytes) << quint32(0) << quint32(54);
    out << quint32(40) << qint32(size.width()) << qint32(size.height()) << quint16(1) << quint16(32)
        << quint32(0) << pixelBytes << qint32(3780) << qint32(3780) << quint32(0) << quint32(0);
    for (int y = image.height() - 1; y >= 0; --y)
        for (int x = 0; x < image.width(); ++x)
            out << quint32(image.pixel(x, y) & 0xffffff);
    return bytes;
}

// A JPEG of C, M, Y, K components (as Adobe writes them: 255 is no ink), from the picture's
// red, green and blue taken as the inverted C, M, Y, and K at none.
inline QByteArray cmykJpeg(const QImage& image) {
    QByteArray cmyk;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            cmyk.append(char(qRed(c)))
                .append(char(qGreen(c)))
                .append(char(qBlue(c)))
                .append('\xff');
        }
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    tjCompress2(handle, reinterpret_cast<const unsigned char*>(cmyk.constData()), image.width(), 0,
                image.height(), TJPF_CMYK, &jpeg, &size, TJSAMP_444, 100, 0);
    const QByteArray bytes(reinterpret_cast<const char*>(jpeg), qsizetype(size));
    tjFree(jpeg);
    tjDestroy(handle);
    return bytes;
}

inline QByteArray qtWritten(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 100);
    return bytes;
}

} // namespace picturefiles
