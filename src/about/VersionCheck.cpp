#include "about/VersionCheck.h"

namespace glim {

VersionVerdict judgeVersionFile(const QByteArray& file) {
    const qsizetype end = file.indexOf('\r');
    // Latin-1 gives every byte the character of its own code, so that the comparison below
    // orders the bytes of the file as they are.
    const QString published = QString::fromLatin1(end < 0 ? file : file.left(end));
    const int order = published.compare(kOwnVersion, Qt::CaseSensitive);
    if (published.isEmpty() || order < 0)
        return {VersionVerdict::Silent, published};
    return {order == 0 ? VersionVerdict::Latest : VersionVerdict::Newer, published};
}

QString latestVersionText(const QString& published) {
    return QStringLiteral("          Your version: ") + kOwnVersion +
           QStringLiteral("\r\n        Current version: ") + published +
           QStringLiteral("\r\nYou still have the latest version.");
}

QString newerVersionText(const QString& published) {
    return QStringLiteral("               Your version: ") + kOwnVersion +
           QStringLiteral("\r\n             Current version: ") + published +
           QStringLiteral("\r\nGo to Zivra to download the new version?");
}

} // namespace glim
