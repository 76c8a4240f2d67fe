#pragma once

#include "platform/ProgramFolder.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;

namespace glim {

class Dialogs;
class FileDialogs;
class ScreenshotViewer;

// What the Save/export dialog writes: the folder and the name as the user gave them, the
// format and, for a JPEG, its quality.
struct ExportRequest {
    enum class Format { Jpeg, Bmp };
    QString folder;
    QString name;
    Format format = Format::Jpeg;
    int quality = 100;
};

// The exported file: folder, name and ".jpg" or ".bmp". A separator is put between the folder
// and the name when the folder does not end in one, so that a typed "/home/me/Pics" and "shot"
// give /home/me/Pics/shot.jpg inside the folder rather than a file beside it.
QString exportPath(const ExportRequest& request);

// The JPEG quality the dialog starts with from the stored value: a whole number is clamped
// into 1 to 100; a missing or empty value, or one that is not a whole number, gives 100.
int storedQuality(const QString& value);

// Writes the viewer's picture as the request says, then says how it went: "Failed to save
// picture." or the success message of the format. True when the file was written.
bool exportPicture(const ExportRequest& request, const ScreenshotViewer& viewer, Dialogs& dialogs);

// The Save/export dialog `sa`: the export folder and file name, JPG or BMP, and the JPEG
// quality on a slider. Each opening starts from the selected row's name, JPG, and the folder
// and quality stored by the last export.
class SaveDialog : public QDialog {
    Q_OBJECT
public:
    SaveDialog(ProgramFolder folder, Dialogs& dialogs, FileDialogs& fileDialogs,
               ScreenshotViewer& viewer, QWidget* parent = nullptr);

    // "Export" (`Command2`).
    void exportPicture();
    // "..." (`Command1`): a folder from the system's chooser into the Filepath box.
    void browse();

private:
    void formatChosen();
    void showQuality();

    ProgramFolder m_folder;
    Dialogs& m_dialogs;
    FileDialogs& m_fileDialogs;
    ScreenshotViewer& m_viewer;
    QLineEdit* m_fileName;
    QLineEdit* m_filePath;
    QRadioButton* m_jpeg;
    QRadioButton* m_bmp;
    QGroupBox* m_qualityFrame;
    QSlider* m_slider;
    QLabel* m_quality;
};

// The main window's "Save" command: a fresh dialog, modal, gone once closed.
void showSaveDialog(const ProgramFolder& folder, Dialogs& dialogs, FileDialogs& fileDialogs,
                    ScreenshotViewer& viewer, QWidget* parent);

} // namespace glim
