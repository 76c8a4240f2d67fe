#include "PrivateCups.h"

#include "X11Session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

PrivateCups::PrivateCups() {
    const QDir dir(m_dir.path());
    for (const char* sub : {"state", "cache", "spool", "tmp", "out"})
        dir.mkpath(QString::fromLatin1(sub));
    const auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                      QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                      QFileDevice::ExeOther;
    QFile::setPermissions(dir.path(), open);
    for (const char* shared : {"tmp", "out"})
        QFile::setPermissions(dir.filePath(QString::fromLatin1(shared)),
                              open | QFileDevice::WriteGroup | QFileDevice::WriteOther);
    const QString socket = dir.filePath("cups.sock");
    const QString access = "  Order allow,deny\n  Allow all\n";
    writeBytes(dir.filePath("cupsd.conf"),
               QStringLiteral("Listen %1\nLogLevel warn\nWebInterface No\nBrowsing No\n"
                              "<Location />\n%2</Location>\n"
                              "<Policy default>\n<Limit All>\n%2</Limit>\n</Policy>\n")
                   .arg(socket, access)
                   .toUtf8());
    // Not root: the scheduler and its filters run as the user and group running the test.
    QString user;
    if (geteuid() != 0)
        user = QStringLiteral("User %1\nGroup %2\nSystemGroup %2\n")
                   .arg(QString::fromLocal8Bit(getpwuid(geteuid())->pw_name),
                        QString::fromLocal8Bit(getgrgid(getegid())->gr_name));
    writeBytes(dir.filePath("cups-files.conf"),
               QStringLiteral("FileDevice Yes\n%2ServerRoot %1\nStateDir %1/state\n"
                              "CacheDir %1/cache\nRequestRoot %1/spool\nTempDir %1/tmp\n"
                              "ErrorLog %1/error_log\nAccessLog %1/access_log\n"
                              "PageLog %1/page_log\nServerBin /usr/lib/cups\n"
                              "DataDir /usr/share/cups\n")
                   .arg(dir.path(), user)
                   .toUtf8());
    qputenv("CUPS_SERVER", socket.toLocal8Bit());
    m_cupsd.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    X11Session::endWithTheTest(m_cupsd);
    m_cupsd.start("/usr/sbin/cupsd",
                  {"-f", "-c", dir.filePath("cupsd.conf"), "-s", dir.filePath("cups-files.conf")});
    // lpstat says whether the scheduler answers (its exit code does not).
    if (!X11Session::waitUntil([&] { return lpstat({"-r"}).startsWith("scheduler is running"); },
                               X11Session::kStartMs))
        m_error = "cupsd did not come up; see " + dir.filePath("error_log");
}

PrivateCups::~PrivateCups() {
    // Killed by its own destructor when it has not ended by then.
    m_cupsd.terminate();
    m_cupsd.waitForFinished(5000);
    qunsetenv("CUPS_SERVER");
}

bool PrivateCups::addPdfQueue(const QString& name) {
    return run("lpadmin", {"-p", name, "-E", "-v", "file://" + outputFile(), "-P",
                           "/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd"}) &&
           run("lpadmin", {"-d", name});
}

QByteArray PrivateCups::lpstat(const QStringList& arguments) {
    QProcess tool;
    tool.start("lpstat", arguments);
    tool.waitForFinished(5000);
    return tool.readAllStandardOutput();
}

bool PrivateCups::waitForPrintedPage(int timeoutMs) const {
    return X11Session::waitUntil(
        [&] {
            return QFileInfo(outputFile()).size() > 0 &&
                   lpstat({"-W", "not-completed", "-o"}).trimmed().isEmpty();
        },
        timeoutMs);
}

bool PrivateCups::run(const QString& program, const QStringList& arguments) const {
    QProcess tool;
    tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    tool.start(program, arguments);
    return tool.waitForFinished(15000) && tool.exitStatus() == QProcess::NormalExit &&
           tool.exitCode() == 0;
}
