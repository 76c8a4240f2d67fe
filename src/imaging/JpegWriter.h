#pragma once

#include "platform/Picture.h"

#include <QString>

namespace glim {

class DibSection;

// The error number of every failed JPEG write; the description says which step failed.
inline constexpr int kJpegWriteErrorNumber = 26001;

// What a JPEG write reports: ok, or the error number with its description. Callers branch on
// it and show their own message; the writer shows none.
struct JpegWriteResult {
    bool ok = false;
    int number = 0;
    QString description;

    explicit operator bool() const { return ok; }
};

// Writes the buffer's pixels to `path` as a JPEG of the given quality (1 to 100, passed to the
// encoder unchanged), upright. The new picture is put in place of an existing file only once
// it is complete, and it keeps that file's last-access and last-write times and its mode bits;
// a file whose owner write bit is clear is not replaced. A new path gets fresh times and the
// default mode.
JpegWriteResult writeJpegFile(DibSection& dib, const QString& path, int quality);

// The same for a picture, encoded from its own rows: the file holds what the buffer filled from
// it would give, without the copy.
JpegWriteResult writeJpegFile(const Picture& picture, const QString& path, int quality);

} // namespace glim
