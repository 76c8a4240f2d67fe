#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace glim {

namespace {

// Settings.ini is replaced through a new file beside it and the working pictures are written
// the same way, so what counts is whether a new file can be made in the folder.
bool takesNewFiles(const QString& folder) {
    QTemporaryFile probe(folder + QStringLiteral("/.glimwell-write-test-XXXXXX"));
    return probe.open();
}

} // namespace

// One thread, started with the first write, that runs the writes in the order they came; it
// ends when the last copy of the folder goes, after the writes still waiting.
class ProgramFolder::Writer {
public:
    ~Writer() {
        {
            const std::lock_guard lock(m_mutex);
            m_closing = true;
        }
        m_changed.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }

    void hand(std::function<void()> write) {
        const std::lock_guard lock(m_mutex);
        m_waiting.push_back(std::move(write));
        ++m_unfinished;
        if (!m_thread.joinable())
            m_thread = std::thread(&Writer::run, this);
        m_changed.notify_all();
    }

    void await() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_unfinished == 0; });
    }

private:
    void run() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [this] { return m_closing || !m_waiting.empty(); });
            if (m_waiting.empty())
                return;
            std::function<void()> write = std::move(m_waiting.front());
            m_waiting.pop_front();
            lock.unlock();
            write();
            // What the write holds (a picture) goes before it counts as ended.
            write = nullptr;
            lock.lock();
            --m_unfinished;
            m_changed.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::function<void()>> m_waiting;
    int m_unfinished = 0;
    bool m_closing = false;
    std::thread m_thread;
};

ProgramFolder::ProgramFolder(QString path)
    : m_path(std::move(path))
    , m_writer(std::make_shared<Writer>()) {
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

void ProgramFolder::writeInBackground(std::function<void()> write) const {
    m_writer->hand(std::move(write));
}

void ProgramFolder::awaitWrites() const {
    m_writer->await();
}

Picture ProgramFolder::loadWorkingFile(const QString& rowText) const {
    awaitWrites();
    return loadPicture(workingFile(rowText));
}

void ProgramFolder::clearTempFolder() const {
    awaitWrites();
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
