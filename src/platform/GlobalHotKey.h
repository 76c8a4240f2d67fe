#pragma once

#include <QObject>

#include <memory>

namespace glim {

// A key combination that reaches the program wherever the keyboard focus is on the desktop.
// It is taken from the window system once, when it is made; when another program holds it,
// or the window system offers no such thing, it is simply never pressed.
class GlobalHotKey : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void pressed();
};

// Ctrl+F9 on the window system the program runs on, with Caps Lock and Num Lock either way.
std::unique_ptr<GlobalHotKey> createSelectorHotKey();

} // namespace glim
