#pragma once

#include <QString>

class QWidget;

namespace glim {

// The system's file and folder choosers.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    // A file to open, chosen by the user in a dialog that starts at `startPath` (a file or a
    // folder) and shows the files that match `filter` ("Picture Files (*.jpg *.gif *.bmp)").
    // Empty when the user cancelled.
    virtual QString openFile(QWidget* parent, const QString& startPath, const QString& filter) = 0;
    // A folder chosen by the user in a dialog titled `title`; empty when the user cancelled.
    virtual QString chooseFolder(QWidget* parent, const QString& title) = 0;
};

} // namespace glim
