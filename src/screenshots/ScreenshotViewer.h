#pragma once

#include <QObject>

class QPushButton;
class QScrollBar;
class QTreeWidget;
class QWidget;

namespace glim {

class PictureBox;

// The lower part of the main window: the viewer frame `imagroot` with the picture box `ima`,
// the scroll bars `HScroll1` and `VScroll1`, the screenshot list `lstv` and the focus sink
// `afl`. It creates them as children of the main window's client area, at their fixed places
// (pixels, client coordinates; the window is not laid out again when resized).
class ScreenshotViewer : public QObject {
    Q_OBJECT
public:
    explicit ScreenshotViewer(QWidget* clientArea);

    QWidget* imagroot() const { return m_imagroot; }
    PictureBox* ima() const { return m_ima; }
    QScrollBar* hScroll() const { return m_hScroll; }
    QScrollBar* vScroll() const { return m_vScroll; }
    QTreeWidget* lstv() const { return m_lstv; }
    QPushButton* afl() const { return m_afl; }

    // The record flag `chch`: true means the next picture assigned to `ima` is a new screenshot.
    bool recordFlag() const { return m_recordFlag; }
    void setRecordFlag(bool on) { m_recordFlag = on; }

    // The main window's load steps for the viewer: both bars disabled, their ranges set from
    // the picture box's size.
    void loadState();

    // Horizontal placement commands of the tool bar.
    void alignLeft();
    void alignCenter();
    void alignRight();

signals:
    // The picture commands (Edit Image, Save, Copy, Print, the alignment buttons) are to be
    // switched on or off together.
    void pictureCommandsSwitched(bool enabled);
    // The picture was centred because it is narrower than the bar: "Center" is to be pressed.
    void centrePressed();

private:
    QWidget* m_imagroot;
    PictureBox* m_ima;
    QScrollBar* m_hScroll;
    QScrollBar* m_vScroll;
    QTreeWidget* m_lstv;
    QPushButton* m_afl;
    bool m_recordFlag = false;
};

} // namespace glim
