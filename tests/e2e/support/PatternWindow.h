#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QStringList>

class X11Session;

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
// Shows the pattern window in the session at `place` and waits until it is painted: its id, or
// 0 when it did not come.
qulonglong show(X11Session& x, const QRect& place);

} // namespace pattern

// The main of a test executable that also runs the pattern window when asked.
#define PATTERN_TEST_MAIN(TestClass)                                                               \
    int main(int argc, char** argv) {                                                              \
        int exitCode = 0;                                                                          \
        if (pattern::runIfAsked(argc, argv, exitCode))                                             \
            return exitCode;                                                                       \
        QCoreApplication app(argc, argv);                                                          \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
