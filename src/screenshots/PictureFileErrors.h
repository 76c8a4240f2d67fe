#pragma once

#include "platform/Picture.h"

#include <QString>

namespace glim {

// Why a picture file chosen in Open gave no picture, in the classic numbered form that the
// program reports: the number goes into the message's title, the description is its text.
struct OpenFileError {
    int number = 0; // 0: no error
    QString description;
};

inline constexpr int kFileNotFound = 53;
inline constexpr int kPathFileAccessError = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kInvalidPicture = 481;

// The description of an error number of the table above.
QString pictureFileErrorText(int number);

// Reads the file as a picture. On failure the picture is null and `error` tells why, from what
// the file system says about the path: a missing folder, a missing file, something that is not
// a readable file, or a file that is no picture the program can read (a picture too large to
// read included).
Picture readPictureFile(const QString& path, OpenFileError& error);

} // namespace glim
