#include "platform/QtServices.h"

#include <QDesktopServices>

namespace glim {

bool DesktopShell::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace glim
