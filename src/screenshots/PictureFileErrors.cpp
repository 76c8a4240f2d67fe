#include "screenshots/PictureFileErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>

namespace glim {

namespace {

struct ErrorRow {
    int number;
    const char* description;
};

constexpr std::array kErrors{
    ErrorRow{kFileNotFound, "File not found"},
    ErrorRow{kPathFileAccessError, "Path/File access error"},
    ErrorRow{kPathNotFound, "Path not found"},
    ErrorRow{kInvalidPicture, "Invalid picture"},
};

int failureNumber(const QString& path) {
    const QFileInfo file(path);
    if (!file.exists())
        return file.absoluteDir().exists() ? kFileNotFound : kPathNotFound;
    QFile reading(path);
    if (!file.isFile() || !reading.open(QIODevice::ReadOnly))
        return kPathFileAccessError;
    return kInvalidPicture;
}

} // namespace

QString pictureFileErrorText(int number) {
    for (const ErrorRow& row : kErrors) {
        if (row.number == number)
            return QString::fromLatin1(row.description);
    }
    return {};
}

Picture readPictureFile(const QString& path, OpenFileError& error) {
    const Picture picture = loadPicture(path);
    if (!picture.isNull()) {
        error = {};
        return picture;
    }
    const int number = failureNumber(path);
    error = {number, pictureFileErrorText(number)};
    return picture;
}

} // namespace glim
