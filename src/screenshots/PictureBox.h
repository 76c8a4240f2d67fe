#pragma once

#include "platform/Picture.h"

#include <QWidget>

namespace glim {

// The viewer's picture box `ima`: holds one picture (or none), sizes itself to it and draws it
// at natural size. Its position inside the frame is its Left/Top. Every assignment raises
// pictureChanged() synchronously, also when a handler of that signal assigns again.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    const Picture& picture() const { return m_picture; }
    bool hasPicture() const { return !m_picture.isNull(); }
    // Assigns a picture (a null one clears it), resizes the box to it when it holds one, and
    // emits pictureChanged() before returning.
    void setPicture(const Picture& picture);
    // The persistent drawing surface: effects write into it, then the box is repainted.
    Picture& surface() { return m_picture; }

signals:
    void pictureChanged();
    // Page Up or Page Down went down while the box had the focus, as the key codes 33 and 34
    // of the viewer's paging. No other key is reported.
    void keyDown(int keyCode);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Picture m_picture;
};

} // namespace glim
