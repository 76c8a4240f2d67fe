#include "platform/Picture.h"

#include <QImageReader>

namespace glim {

Picture loadPicture(const QString& path) {
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        return {};
    return image.format() == QImage::Format_BGR888 ? image
                                                   : image.convertToFormat(QImage::Format_BGR888);
}

} // namespace glim
