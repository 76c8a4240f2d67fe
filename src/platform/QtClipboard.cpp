#include "platform/QtServices.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace glim {

void QtClipboard::putPicture(const Picture& picture, bool keepOtherFormats) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto* data = new QMimeData;
    const QMimeData* old = keepOtherFormats ? clipboard->mimeData() : nullptr;
    if (old != nullptr) {
        // Only the formats that are not pictures: the new picture takes the place of any old one.
        const QStringList formats = old->formats();
        for (const QString& format : formats) {
            if (!format.startsWith(QLatin1String("image/")) &&
                format != QLatin1String("application/x-qt-image"))
                data->setData(format, old->data(format));
        }
    } else {
        clipboard->clear();
    }
    data->setImageData(QImage(picture));
    clipboard->setMimeData(data);
}

Picture QtClipboard::picture() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr)
        return {};
    if (data->hasImage()) {
        const Picture picture = asPicture(qvariant_cast<QImage>(data->imageData()));
        if (!picture.isNull())
            return picture;
    }
    // Qt converts image formats only where the platform's clipboard does it for it: a picture
    // offered only as image/png (by this program itself, or on some platforms) is read here.
    const QStringList formats = data->formats();
    for (const QString& format : formats) {
        if (!format.startsWith(QLatin1String("image/")))
            continue;
        const QImage image = QImage::fromData(data->data(format));
        if (!image.isNull())
            return asPicture(image);
    }
    return {};
}

} // namespace glim
