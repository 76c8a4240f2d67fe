#pragma once

#include "about/WebAddresses.h"

namespace glim {

class Dialogs;
class HttpFetch;
class Shell;

// The update check: fetches the published version file, compares its first line with the own
// version and tells the user, offering the maker's site when a newer version is out. The file
// is read from memory, at most 64 KiB of it; a larger one, an error of the server or the
// network, or no answer within the source's time-out is a download error. The check is one
// synchronous step: the windows repaint while it waits, but no other command starts.
class UpdateCheck {
public:
    static constexpr qint64 kMaxVersionFileBytes = 64 * 1024;

    UpdateCheck(HttpFetch& http, Dialogs& dialogs, Shell& shell, UpdateSource source);

    void run();

private:
    HttpFetch& m_http;
    Dialogs& m_dialogs;
    Shell& m_shell;
    UpdateSource m_source;
};

} // namespace glim
