#pragma once

#include <QString>

namespace glim {

class DibSection;

// Writes the buffer's pixels to `path` as a Windows bitmap that any program reads: a
// BITMAPFILEHEADER, a 40-byte BITMAPINFOHEADER of 24 bits a pixel without compression, then
// the buffer's own rows as they are (B,G,R, bottom row first, padded to 4 bytes). The new file
// takes the place of an existing one only once it is complete; a file that may not be written
// stays as it is. False, with nothing changed at the path, when the buffer is empty, the
// picture is too large for the format's 32-bit sizes, or the file cannot be made or written.
bool writeBmpFile(const DibSection& dib, const QString& path);

} // namespace glim
