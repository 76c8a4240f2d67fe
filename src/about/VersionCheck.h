#pragma once

#include <QByteArray>
#include <QString>

namespace glim {

// The program's own version text, as the update check compares it.
inline const QString kOwnVersion = QStringLiteral("1.00");

// What the published version file says about the installed version.
struct VersionVerdict {
    enum Kind {
        Silent, // an empty first line, or one that sorts before the own version: no message
        Latest, // the same version: "You still have the latest version."
        Newer,  // sorts after the own version: the offer to download it
    };
    Kind kind = Silent;
    QString published; // the file's first line
};

// Judges a version file: its first line is everything before the first carriage return (a line
// feed alone does not end it), each byte one character, compared with the own version by
// character codes, not as a number ("1.5" and "10.0" are newer than "1.00", so is "1.00 ").
VersionVerdict judgeVersionFile(const QByteArray& file);

// The texts of the two messages, lines separated by CR LF.
QString latestVersionText(const QString& published);
QString newerVersionText(const QString& published);

} // namespace glim
