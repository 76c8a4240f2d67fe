#pragma once

#include <QUrl>

namespace glim {

// The desktop's own handling of web addresses: the user's browser.
class Shell {
public:
    virtual ~Shell() = default;

    // Opens the address in the user's browser; false when no browser could be started.
    virtual bool openUrl(const QUrl& url) = 0;
};

} // namespace glim
