#include "about/UpdateCheck.h"

#include "about/VersionCheck.h"
#include "platform/Dialogs.h"
#include "platform/HttpFetch.h"
#include "platform/Shell.h"

namespace glim {

namespace {
const QString kDownloadErrorTitle = QStringLiteral("VAR Udorodadur Error");
const QString kDownloadErrorText = QStringLiteral("An error occured");
} // namespace

UpdateCheck::UpdateCheck(HttpFetch& http, Dialogs& dialogs, Shell& shell, UpdateSource source)
    : m_http(http)
    , m_dialogs(dialogs)
    , m_shell(shell)
    , m_source(std::move(source)) {}

void UpdateCheck::run() {
    const HttpFetch::Reply reply =
        m_http.get(m_source.versionFile, m_source.timeoutMs, kMaxVersionFileBytes);
    if (!reply.ok) {
        m_dialogs.critical(kDownloadErrorTitle, kDownloadErrorText);
        return;
    }
    const VersionVerdict verdict = judgeVersionFile(reply.body);
    switch (verdict.kind) {
    case VersionVerdict::Silent:
        break;
    case VersionVerdict::Latest:
        m_dialogs.information(latestVersionText(verdict.published));
        break;
    case VersionVerdict::Newer:
        // A browser that does not start goes unnoticed, as with the Help menu's links.
        if (m_dialogs.question(newerVersionText(verdict.published)))
            m_shell.openUrl(webAddress(WebPage::Home));
        break;
    }
}

} // namespace glim
