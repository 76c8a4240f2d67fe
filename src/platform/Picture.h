#pragma once

#include <QImage>

namespace glim {

// A picture as the program passes it around: captures, files, the clipboard's image and the
// viewer's content. Once it is ours it is held as QImage::Format_BGR888 (B,G,R bytes, top-down
// rows, each row padded to 4 bytes by QImage itself). A null QImage is "no picture".
using Picture = QImage;

// The largest picture the program reads from a file: 16384 x 16384 pixels at the 4 bytes a
// pixel that the readers decode into (1024 MB), beyond any screen it captures. Qt's readers
// refuse more than 128 MB by default, which an 8192 x 8192 capture already needs.
inline constexpr qint64 kLargestPictureBytes = qint64(16384) * 16384 * 4;

// Why a picture file gave no picture.
enum class PictureFileError {
    None,
    NotAPicture, // missing, unreadable, or not a picture Qt can read
    TooLarge,    // its size needs more than kLargestPictureBytes
};

// The image as a picture of ours: itself when it is 24-bit B,G,R already (sharing its pixels),
// else a converted copy. A null image stays no picture.
Picture asPicture(const QImage& image);
// A picture file (JPEG, BMP, GIF) read into a picture of ours; no picture when the file is
// missing, is not a picture Qt can read or is too large, and then `error` (when given) says
// which.
Picture loadPicture(const QString& path, PictureFileError* error = nullptr);

} // namespace glim
