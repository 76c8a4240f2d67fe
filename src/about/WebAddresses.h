#pragma once

#include <QString>
#include <QUrl>

namespace glim {

// The maker's web addresses and the published version file, in one place. They stand on a
// reserved example host until the maker's own site exists.
inline const QString kMakerHost = QStringLiteral("www.zivra-glimwell.example");

// The pages that the Help menu opens; the home page is also where the update offer leads.
enum class WebPage { Faq, Home, Forums, Downloads };
QUrl webAddress(WebPage page);

// Where the update check fetches the version file and how long it waits for it.
struct UpdateSource {
    QUrl versionFile = defaultVersionFile();
    int timeoutMs = kDefaultTimeoutMs;

    static constexpr int kDefaultTimeoutMs = 60000;
    static QUrl defaultVersionFile();
    // The source with a version-file address and a time-out in milliseconds given as texts (as
    // the environment holds them); an empty or unusable text keeps the default.
    static UpdateSource from(const QString& versionFile, const QString& timeoutMs);
};

} // namespace glim
