#include "platform/Picture.h"

#include <QImageReader>

namespace glim {

Picture asPicture(const QImage& image) {
    if (image.isNull() || image.format() == QImage::Format_BGR888)
        return image;
    return image.convertToFormat(QImage::Format_BGR888);
}

Picture loadPicture(const QString& path) {
    return asPicture(QImageReader(path).read());
}

} // namespace glim
