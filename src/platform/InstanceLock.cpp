#include "platform/InstanceLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace glim {

InstanceLock::InstanceLock(const QString& executablePath, const QString& lockFolder) {
    QString folder = lockFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QString canonical = QFileInfo(executablePath).absoluteFilePath();
    const QByteArray key =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    m_path =
        folder + QStringLiteral("/glimwell-") + QString::fromLatin1(key) + QStringLiteral(".lock");
    m_lock = std::make_unique<QLockFile>(m_path);
    // Never stale by age: only a lock whose owner process is gone is taken over, however long
    // the first instance has been running.
    m_lock->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

InstanceLock::Result InstanceLock::tryLock() {
    // A lock file whose recorded process is no longer running is taken over by tryLock.
    if (m_lock->isLocked() || m_lock->tryLock(0))
        return Result::Acquired;
    // Only this error means a live owner; the others are failures to write the lock file.
    return m_lock->error() == QLockFile::LockFailedError ? Result::HeldByAnother : Result::Failed;
}

} // namespace glim
