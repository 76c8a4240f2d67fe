#pragma once

#include "platform/Picture.h"

#include <QString>

#include <functional>
#include <memory>

namespace glim {

// The folder of the executable: Settings.ini and Temp/ live in it. Passed into the application
// core so that tests run the program on a temporary folder. Copies are the same folder: they
// share its background writes.
class ProgramFolder {
public:
    explicit ProgramFolder(QString path);

    // The folder itself, without a trailing separator.
    const QString& path() const { return m_path; }
    QString settingsPath() const;                      // <folder>/Settings.ini
    QString tempPath() const;                          // <folder>/Temp
    QString workingFile(const QString& rowText) const; // <folder>/Temp/<rowText>.jpg

    // Runs `write` on the folder's own thread, after every write handed over before it: a
    // capture's working file is encoded there while its row is already shown.
    void writeInBackground(std::function<void()> write) const;
    // Returns once every write handed over has ended. Whoever reads, replaces or deletes a
    // working file calls it first.
    void awaitWrites() const;
    // The working file read back, once the writes under way have ended; no picture when it is
    // missing or unreadable.
    Picture loadWorkingFile(const QString& rowText) const;

    // Deletes every file in Temp/, once the writes under way have ended. Missing folder, files
    // in use or write-protected: ignored, reported nowhere; it goes on with the next file.
    // Sub-folders are not touched.
    void clearTempFolder() const;
    // Creates Temp/ unless an entry of that name exists (an existing file named Temp counts as
    // present, and nothing is created then).
    void foldr() const;

    // The first folder that the program writes into and cannot (the program folder itself, for
    // Settings.ini and a Temp/ still to be made, then an existing Temp/); empty when both take
    // files. Found by creating a file, not from permission bits, which do not tell a read-only
    // mount or an access list.
    QString unwritableFolder() const;

private:
    class Writer;

    QString m_path;
    std::shared_ptr<Writer> m_writer;
};

} // namespace glim
