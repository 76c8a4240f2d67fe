#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QStringList>

// A window of known pixels for the capture tests: 32 x 32 blocks whose colours tell where
// each block lies, drawn by a second process of the test executable in the session's display.
namespace pattern {

inline const QString kTitle = QStringLiteral("Glimwell test pattern");

// The colour of the block that holds the window-local pixel (x, y).
QColor colourAt(int x, int y);
// The pattern as a picture of the given size, for comparing a capture with.
QImage picture(QSize size);

// The arguments that make the test executable show the pattern window at `place` (client
// area, screen pixels), and the entry that handles them: true when the arguments asked for it
// (the process then runs the window until it is ended).
QStringList arguments(const QRect& place);
bool runIfAsked(int argc, char** argv, int& exitCode);

} // namespace pattern
