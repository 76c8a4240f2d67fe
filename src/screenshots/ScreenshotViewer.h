#pragma once

#include "platform/ProgramFolder.h"

#include <QObject>

class QLabel;
class QPushButton;
class QScrollBar;

namespace glim {

class Dialogs;
class PictureBox;
class RecordFlag;
class ScreenshotList;
class ViewerScrollBar;
struct Placement;

// The lower part of the main window: the viewer frame `imagroot` with the picture box `ima`,
// the scroll bars `HScroll1` and `VScroll1`, the screenshot list `lstv` and the focus sink
// `afl`, at their fixed places in the main window's client area (the window is not laid out
// again when resized). It shows the chosen row's picture, scrolls, pages and aligns it, and
// reads and sets the record flag that tells the screenshot store whether a new picture is
// recorded.
class ScreenshotViewer : public QObject {
    Q_OBJECT
public:
    ScreenshotViewer(QWidget* clientArea, ProgramFolder folder, Dialogs& dialogs,
                     RecordFlag& recordFlag);

    QLabel* imagroot() const { return m_imagroot; }
    PictureBox* ima() const { return m_ima; }
    ViewerScrollBar* hBar() const { return m_hBar; }
    ViewerScrollBar* vBar() const { return m_vBar; }
    QScrollBar* hScroll() const;
    QScrollBar* vScroll() const;
    ScreenshotList* lstv() const { return m_lstv; }
    QPushButton* afl() const { return m_afl; }

    // The record flag `chch`: true means the next picture assigned to `ima` is a new screenshot.
    bool recordFlag() const;
    void setRecordFlag(bool on);

    // The main window's load steps for the viewer: both bars disabled, their ranges set from
    // the picture box's size.
    void loadState();
    // After every change of the picture: both bars enabled with steps 100 and 1000, their
    // ranges set from the picture's size, and the picture placed by placeAfterChange().
    void setUpForPicture();
    // Places the picture after a change (see placeAfterPictureChange); the bars keep their
    // values.
    void placeAfterChange();
    // Places a picture the user chose (a list row, an opened file, a paste) and puts both bars
    // at 0.
    void placeChosenPicture();
    void setPictureCommands(bool enabled) { emit pictureCommandsSwitched(enabled); }

    // Loads the selected row's file into the viewer without recording it, places it and switches
    // the picture commands on. A file that cannot be read keeps the current picture and says so.
    void showSelectedRow();
    // Page Up and Page Down move the picture by the vertical bar's length.
    void checkKeyCode(int keyCode);

    // Horizontal placement commands of the tool bar; a picture wider than the frame stays put.
    void alignLeft();
    void alignCenter();
    void alignRight();

signals:
    // The picture commands (Edit Image, Save, Copy, Print, the alignment buttons) are to be
    // switched on or off together.
    void pictureCommandsSwitched(bool enabled);
    // The picture was centred because it is narrower than the bar: "Center" is to be pressed.
    void centrePressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place(const Placement& placement);
    void scrolled(ViewerScrollBar* bar, int value);

    ProgramFolder m_folder;
    Dialogs& m_dialogs;
    QLabel* m_imagroot;
    PictureBox* m_ima;
    ViewerScrollBar* m_hBar;
    ViewerScrollBar* m_vBar;
    ScreenshotList* m_lstv;
    QPushButton* m_afl;
    RecordFlag& m_recordFlag;
};

} // namespace glim
