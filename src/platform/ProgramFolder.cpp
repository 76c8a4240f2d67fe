#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace glim {

namespace {

// Settings.ini is replaced through a new file beside it and the working pictures are written
// the same way, so what counts is whether a new file can be made in the folder.
bool takesNewFiles(const QString& folder) {
    QTemporaryFile probe(folder + QStringLiteral("/.glimwell-write-test-XXXXXX"));
    return probe.open();
}

} // namespace

ProgramFolder::ProgramFolder(QString path)
    : m_path(std::move(path)) {
    while (m_path.size() > 1 && m_path.endsWith(QLatin1Char('/')))
        m_path.chop(1);
}

QString ProgramFolder::settingsPath() const {
    return m_path + QStringLiteral("/Settings.ini");
}

QString ProgramFolder::tempPath() const {
    return m_path + QStringLiteral("/Temp");
}

QString ProgramFolder::workingFile(const QString& rowText) const {
    return tempPath() + QLatin1Char('/') + rowText + QStringLiteral(".jpg");
}

void ProgramFolder::clearTempFolder() const {
    const QDir temp(tempPath());
    const auto files = temp.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : files)
        QFile::remove(temp.filePath(name));
}

void ProgramFolder::foldr() const {
    const QFileInfo entry(tempPath());
    if (entry.exists() || entry.isSymLink())
        return;
    QDir().mkpath(tempPath());
}

QString ProgramFolder::unwritableFolder() const {
    if (!takesNewFiles(m_path))
        return m_path;
    if (QFileInfo(tempPath()).isDir() && !takesNewFiles(tempPath()))
        return tempPath();
    return {};
}

} // namespace glim
