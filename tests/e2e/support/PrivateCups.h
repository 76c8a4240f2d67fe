#pragma once

#include <QProcess>
#include <QTemporaryDir>

// A CUPS scheduler of the test's own: configuration, spool, logs and its socket in a temporary
// folder, file: devices allowed, nothing shared with the machine's spooler. Processes started
// after it see CUPS_SERVER pointing at its socket. It runs as whoever runs the test: as root
// its filters run as the lp user, so the folder is opened up for them.
class PrivateCups {
public:
    PrivateCups();
    ~PrivateCups();
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    bool isReady() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }
    // Where the PDF queue writes its pages.
    QString outputFile() const { return m_dir.filePath(QStringLiteral("out/page.pdf")); }

    // A queue named `name` on the generic PDF driver writing to outputFile(), made the default.
    bool addPdfQueue(const QString& name);
    // Runs a CUPS tool (lpadmin, cupsreject ...) against this scheduler; true when it succeeded.
    bool run(const QString& program, const QStringList& arguments) const;
    // Waits until a page has been written and no job is left unfinished.
    bool waitForPrintedPage(int timeoutMs) const;

private:
    static QByteArray lpstat(const QStringList& arguments);

    QTemporaryDir m_dir;
    QProcess m_cupsd;
    QString m_error;
};
