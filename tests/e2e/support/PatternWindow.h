#pragma once

#include <QImage>
#include <QRect>
#include <QStringList>

class X11Session;

// A window of known pixels for the capture tests: 32 x 32 blocks whose colours tell where
// each block lies, drawn by a second process of the test executable in the session's display.
namespace pattern {

// The pattern as a picture of the given size, for comparing a capture with.
QImage picture(QSize size);

// Shows another pattern window in the session at `place` (client area, screen pixels), run by
// a process of the test executable, and waits until it is painted: its id, or 0 when it did
// not come. runIfAsked() is that process's entry: true when its arguments asked for the window
// (the process then runs it until it is ended).
qulonglong show(X11Session& x, const QRect& place);
bool runIfAsked(int argc, char** argv, int& exitCode);

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
