#pragma once

#include <QString>

namespace glim {

// The folder of the executable: Settings.ini and Temp/ live in it. Passed into the application
// core so that tests run the program on a temporary folder.
class ProgramFolder {
public:
    explicit ProgramFolder(QString path);

    // The folder itself, without a trailing separator.
    const QString& path() const { return m_path; }
    QString settingsPath() const;                      // <folder>/Settings.ini
    QString tempPath() const;                          // <folder>/Temp
    QString workingFile(const QString& rowText) const; // <folder>/Temp/<rowText>.jpg

    // Deletes every file in Temp/. Missing folder, files in use or write-protected: ignored,
    // reported nowhere; it goes on with the next file. Sub-folders are not touched.
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
    QString m_path;
};

} // namespace glim
