#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace glim {

// One bounded HTTP GET of a small resource, synchronous for the caller.
class HttpFetch {
public:
    struct Reply {
        bool ok = false;
        QByteArray body; // the whole resource when ok
        QString error;   // what went wrong otherwise, for the log of a developer
    };

    virtual ~HttpFetch() = default;

    // Fetches `url`, giving up after `timeoutMs` in all and failing when the resource is larger
    // than `maxBytes`. While it waits the windows keep repainting, but no user input reaches the
    // program, so that no other command starts meanwhile.
    virtual Reply get(const QUrl& url, int timeoutMs, qint64 maxBytes) = 0;
};

} // namespace glim
