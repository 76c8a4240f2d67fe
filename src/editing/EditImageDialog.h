#pragma once

#include "imaging/EffectTables.h"
#include "platform/ProgramFolder.h"

#include <QDialog>

#include <array>
#include <optional>

class QLabel;
class QPushButton;

namespace glim {

class Dialogs;
class EffectBar;
class PictureBox;
class ScreenshotViewer;

// The five commands of the Edit Image menu, each opening the dialog for one effect.
enum class ImageEffect { Brightness, Contrast, HorizontalRipples, Blur, Invert };

// Where the dialog goes: its right edge left of the main window's right edge by the vertical
// bar's height and 40, and 1100 below the main window's top, all in twips, with the bar's
// height (a number of pixels) taken as twips as it stands. Frame and width in pixels; the place
// rounded to whole pixels, halves to even.
QPoint editImagePlace(const QRect& mainFrame, int dialogWidth, int vScrollHeight,
                      int twipsPerPixel);

// The Edit Image dialog `eff`: a borderless window of three bars, four buttons and their labels
// that previews one effect at a time in the main window's picture box `ima`. It keeps the
// selected screenshot's unedited picture in the hidden `Pictbuf` and recomputes `ima` from it at
// every bar movement, so effects never add up. "Apply Changes" writes the viewer's picture over
// the screenshot's working file; "Cancel" (also Escape or closing the window) shows the file
// again. Nothing reaches the file before "Apply Changes".
class EditImageDialog : public QDialog {
    Q_OBJECT
public:
    EditImageDialog(ProgramFolder folder, Dialogs& dialogs, ScreenshotViewer& viewer,
                    const QWidget* mainWindow);

    // The load step: placed beside the main window, the selected row's working file read into
    // `Pictbuf` and, not recorded, into `ima`. False when the file gives no picture: that is
    // said, and the viewer keeps what it shows.
    bool load();
    // The command's states: only its effect's control enabled and its label black, the other
    // labels grey. "Apply Changes", "Cancel" and the channel bars stay as they are.
    void setEffect(ImageEffect effect);

    void invertPicture();
    void applyBlur();
    void applyChanges();
    void cancel();
    void reject() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Table { Gain, Contrast, Ripple };
    struct BarMove {
        Table table;
        QString routine;
        float x;
    };

    EffectBar* bar(const char* name, const QRect& place, bool channel);
    void barMoved(const BarMove& move);
    void preview(const BarMove& move);
    void run(const QString& routine);
    void showWorkingFile(const QString& rowText);
    void placeInViewer();

    ProgramFolder m_folder;
    Dialogs& m_dialogs;
    ScreenshotViewer& m_viewer;
    const QWidget* m_mainWindow;
    PictureBox* m_pictbuf;
    std::array<QLabel*, 3> m_labels{};    // Label1, Label2, Label6
    std::array<QWidget*, 5> m_controls{}; // the bars, "Apply Blur", "Invert Picture"
    EffectTables m_tables;
    bool m_previewing = false;
    std::optional<BarMove> m_pendingMove;
    std::optional<QPoint> m_dragOffset;
    bool m_systemMove = false;
};

} // namespace glim
