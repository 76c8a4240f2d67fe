#pragma once

#include <QWidget>

namespace glim {

// The selector overlay `Glim`: a frameless window over the whole screen that shows a frozen
// copy of it while the user drags out a rectangle. Created and sized at start-up, shown only
// during a selector capture.
class SelectorOverlay : public QWidget {
    Q_OBJECT
public:
    explicit SelectorOverlay(QWidget* parent = nullptr);

    // Covers the whole primary screen: left 0, top 0, the screen's width and height.
    void coverScreen();
};

} // namespace glim
