#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace glim {

// The single-instance rule: a system-wide lock keyed by the executable's path, so that two
// copies in different folders stay independent. The lock is a lock file in the runtime folder
// that records its owner's process id; a lock left by a crashed instance is taken over.
class InstanceLock {
public:
    // `executablePath` keys the lock; `lockFolder` defaults to the user's runtime folder.
    explicit InstanceLock(const QString& executablePath, const QString& lockFolder = {});
    ~InstanceLock();

    enum class Result {
        Acquired,      // this process holds the lock now
        HeldByAnother, // a running instance of this executable holds it
        Failed,        // the lock could not be taken (unwritable or full folder...): nothing
                       // says that another instance runs
    };
    Result tryLock();
    QString lockFilePath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace glim
