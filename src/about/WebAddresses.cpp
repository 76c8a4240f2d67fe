#include "about/WebAddresses.h"

namespace glim {

namespace {

QUrl onMakerHost(const QString& host, const QString& path, const QString& query = {}) {
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(host);
    url.setPath(path);
    if (!query.isEmpty())
        url.setQuery(query);
    return url;
}

} // namespace

QUrl webAddress(WebPage page) {
    switch (page) {
    case WebPage::Faq:
        return onMakerHost(kMakerHost, QStringLiteral("/modules.php"),
                           QStringLiteral("op=modload&name=FAQ&file=index&myfaq=yes&id_cat=4"));
    case WebPage::Forums:
        return onMakerHost(QStringLiteral("forums.zivra-glimwell.example"), QStringLiteral("/"));
    case WebPage::Downloads:
        return onMakerHost(kMakerHost, QStringLiteral("/modules.php"),
                           QStringLiteral("op=modload&name=Downloads&file=index"));
    case WebPage::Home:
        break;
    }
    return onMakerHost(kMakerHost, QStringLiteral("/"));
}

QUrl UpdateSource::defaultVersionFile() {
    return onMakerHost(kMakerHost, QStringLiteral("/version.txt"));
}

UpdateSource UpdateSource::from(const QString& versionFile, const QString& timeoutMs) {
    UpdateSource source;
    const QUrl url(versionFile, QUrl::StrictMode);
    if (url.isValid() && !url.isRelative() && !url.host().isEmpty())
        source.versionFile = url;
    bool ok = false;
    const int timeout = timeoutMs.toInt(&ok);
    if (ok && timeout > 0)
        source.timeoutMs = timeout;
    return source;
}

} // namespace glim
