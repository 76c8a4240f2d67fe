#pragma once

#include <QImage>

namespace glim {

// A picture as the program passes it around: captures, files, the clipboard's image and the
// viewer's content. Once it is ours it is held as QImage::Format_BGR888 (B,G,R bytes, top-down
// rows, each row padded to 4 bytes by QImage itself). A null QImage is "no picture".
using Picture = QImage;

// The image as a picture of ours: itself when it is 24-bit B,G,R already (sharing its pixels),
// else a converted copy. A null image stays no picture.
Picture asPicture(const QImage& image);
// A picture file (JPEG, BMP, GIF) read into a picture of ours; no picture when the file is
// missing or is not a picture Qt can read.
Picture loadPicture(const QString& path);

} // namespace glim
