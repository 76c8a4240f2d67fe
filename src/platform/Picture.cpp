#include "platform/Picture.h"

#include <QImageReader>

#include <mutex>

namespace glim {

namespace {

// Qt's readers keep one limit for the whole process, in whole megabytes.
void allowTheLargestPicture() {
    static std::once_flag raised;
    std::call_once(raised, [] {
        QImageReader::setAllocationLimit(int(kLargestPictureBytes / (1024 * 1024)));
    });
}

} // namespace

Picture asPicture(const QImage& image) {
    if (image.isNull() || image.format() == QImage::Format_BGR888)
        return image;
    return image.convertToFormat(QImage::Format_BGR888);
}

Picture loadPicture(const QString& path, PictureFileError* error) {
    allowTheLargestPicture();
    QImageReader reader(path);
    // The header tells the size before any pixel is decoded.
    const QSize size = reader.size();
    const bool tooLarge =
        size.isValid() && qint64(size.width()) * size.height() * 4 > kLargestPictureBytes;
    const Picture picture = tooLarge ? Picture() : asPicture(reader.read());
    if (error)
        *error = tooLarge           ? PictureFileError::TooLarge
                 : picture.isNull() ? PictureFileError::NotAPicture
                                    : PictureFileError::None;
    return picture;
}

} // namespace glim
