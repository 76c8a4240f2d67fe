#pragma once

#include "platform/Clipboard.h"
#include "platform/FileDialogs.h"
#include "platform/HttpFetch.h"
#include "platform/Printer.h"
#include "platform/Shell.h"

namespace glim {

// The platform services as Qt offers them on every desktop it runs on.

class QtClipboard : public Clipboard {
public:
    void putPicture(const Picture& picture, bool keepOtherFormats) override;
    Picture picture() const override;
};

// Qt Print Support's default printer (CUPS on Linux).
class QtPrinter : public Printer {
public:
    bool printPicture(const Picture& picture) override;
};

// QDesktopServices: xdg-open on Linux.
class DesktopShell : public Shell {
public:
    bool openUrl(const QUrl& url) override;
};

// QNetworkAccessManager on a local event loop that leaves user input waiting.
class QtHttpFetch : public HttpFetch {
public:
    Reply get(const QUrl& url, int timeoutMs, qint64 maxBytes) override;
};

// Qt's file dialogs (the desktop's own where the platform theme offers them).
class QtFileDialogs : public FileDialogs {
public:
    QString openFile(QWidget* parent, const QString& startPath, const QString& filter) override;
    QString chooseFolder(QWidget* parent, const QString& title) override;
};

} // namespace glim
