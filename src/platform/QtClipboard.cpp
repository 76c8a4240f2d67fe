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
    if (data == nullptr || !data->hasImage())
        return {};
    return asPicture(qvariant_cast<QImage>(data->imageData()));
}

} // namespace glim
