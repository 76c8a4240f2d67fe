#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace glim {

// The sizes of the program's icon in pixels: the tray's and the menus' sizes and those of the
// desktop's icon theme.
inline constexpr int kProgramIconSizes[] = {16, 32, 48, 128};

// The program's own icon (a camera lens over a screen), drawn at `size` x `size` pixels.
QImage programIconImage(int size);
// The same in every size of kProgramIconSizes.
QIcon programIcon();
// The icon of a tool-bar button by its key: the desktop theme's icon where the theme has one,
// else a small icon of our own.
QIcon toolIcon(const QString& key);

} // namespace glim
