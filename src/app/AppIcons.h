#pragma once

#include <QIcon>
#include <QString>

namespace glim {

// The program's own icon (a camera lens over a screen, 32 x 32).
QIcon programIcon();
// The icon of a tool-bar button by its key: the desktop theme's icon where the theme has one,
// else a small icon of our own.
QIcon toolIcon(const QString& key);

} // namespace glim
