// Full-screen captures on a real X screen of 1920 x 1080 showing a desktop-like picture.
//
// fullScreenTickToRecordedFile: from the timer's tick to the recorded screenshot (its row
// selected; the JPEG at quality 100 is then written in the background), and to its file on
// the disk. Each iteration takes the screen five ways, one after the other, so that the ratios
// are measured side by side in one run:
//   x_floor     the program's tick (read, picture, row) / (a bare shared-memory read of the
//               screen + tjCompress2 of the server's pixels as they lie in the segment +
//               writing the bytes as the writer does);
//   x_floor_file  the same from the tick to the file written and flushed;
//   x_qt_floor  the tick / the same floor with the screen grabbed through Qt instead
//               (QScreen::grabWindow and its conversion to B,G,R), the program's earlier read;
//   x_scrot     the tick / `scrot -o -q 100 file.jpg`;
//   x_maim      the tick / `maim -f jpg -m 10 file.jpg` (its best JPEG quality);
//   x_scrot_file, x_maim_file  the same to the file on the disk.
// The peers are timed as a user runs them: a process that connects, grabs, encodes and writes.
//
// screenReadIntoPicture: the grabber's read of the whole screen into a picture against the bare
// shared-memory read of the same area (x_bare_read), and Qt's grab with its conversion against
// the same (x_qt_read).
//
// selectorTickToFrozenOverlay: the selector's tick, from the call that freezes the screen to
// the overlay painted with the frozen picture on the screen, against the bare shared-memory
// read of the whole screen (x_bare_read); a press and a release then end the selection.
//
// Each ratio is one of medians of the single captures' times. Run it in a display of that
// size, for instance:
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bin/bench_capture

#include "BareShmRead.h"
#include "DesktopPicture.h"
#include "RawJpeg.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "capture/SelectorOverlay.h"
#include "platform/Dialogs.h"
#include "platform/QtServices.h"
#include "platform/x11/X11ScreenGrabber.h"
#include "screenshots/ScreenshotList.h"
#include "screenshots/ScreenshotViewer.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QRasterWindow>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace glim;

namespace {

using Clock = std::chrono::steady_clock;

// Time for the desktop to repaint where the hidden main window stood, so that every grab reads
// a screen at rest.
constexpr int kSettleMs = 100;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Any message during the run means a capture failed.
class CountingDialogs : public Dialogs {
public:
    void information(const QString&) override { ++shown; }
    bool question(const QString&) override { return ++shown, false; }
    void exclamation(const QString&) override { ++shown; }
    void plain(const QString&) override { ++shown; }
    void critical(const QString&, const QString&) override { ++shown; }
    int shown = 0;
};

// The desktop under the capture: one window over the whole screen.
class Desktop : public QRasterWindow {
public:
    explicit Desktop(QSize size)
        : m_picture(desktopPicture(size.width(), size.height())) {
        setFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint);
        setGeometry(QRect(QPoint(0, 0), size));
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, m_picture); }

private:
    Picture m_picture;
};

// The program's earlier read: Qt's grab of the screen, converted to B,G,R.
Picture qtGrab() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_BGR888);
}

bool shmFloor(BareShmRead& bare, QSize screen, const char* path) {
    return bare.read() && rawEncodeAndWrite(bare.pixels(), screen.width(), bare.stride(),
                                            screen.height(), 0, path, TJPF_BGRX);
}

bool qtFloor(const char* path) {
    const Picture picture = qtGrab();
    return rawEncodeAndWrite(picture.constBits(), picture.width(), int(picture.bytesPerLine()),
                             picture.height(), 0, path);
}

// Medians rather than sums: on a virtual machine a few grabs take twice as long as the rest,
// and a sum lets them decide the ratio.
double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + long(values.size() / 2), values.end());
    return values[values.size() / 2];
}

bool runPeer(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

bool showDesktop(Desktop& desktop, benchmark::State& state) {
    desktop.show();
    if (!QTest::qWaitForWindowExposed(&desktop)) {
        state.SkipWithError("the desktop window was not shown");
        return false;
    }
    QTest::qWait(200);
    return true;
}

// The desktop shown, and the floor's bare read able to reach the screen.
bool showDesktopForBareReads(Desktop& desktop, const BareShmRead& bare, benchmark::State& state) {
    if (!showDesktop(desktop, state))
        return false;
    if (!bare.isReady()) {
        state.SkipWithError("the X server took no shared-memory segment");
        return false;
    }
    return true;
}

void fullScreenTickToRecordedFile(benchmark::State& state) {
    const QSize screen = QGuiApplication::primaryScreen()->size();
    Desktop desktop(screen);
    BareShmRead bare(screen.width(), screen.height());
    if (!showDesktopForBareReads(desktop, bare, state))
        return;

    QTemporaryDir folder;
    QTemporaryDir lockFolder;
    CountingDialogs dialogs;
    X11ScreenGrabber grabber;
    QtClipboard clipboard;
    QtPrinter printer;
    DesktopShell shell;
    QtHttpFetch http;
    QtFileDialogs fileDialogs;
    const ProgramFolder programFolder(folder.path()); // shares the application's writes
    Application app({.folder = programFolder,
                     .dialogs = dialogs,
                     .grabber = grabber,
                     .clipboard = clipboard,
                     .printer = printer,
                     .shell = shell,
                     .http = http,
                     .fileDialogs = fileDialogs,
                     .executablePath = folder.filePath(QStringLiteral("Glimwell")),
                     .lockFolder = lockFolder.path(),
                     .quit = [] {}});
    app.start();
    MainWindow* window = app.mainWindow();
    QAction* fullScreen = window->menu().capture[std::size_t(CaptureMode::FullScreen)];
    QTimer* tick = window->findChild<QTimer*>(QStringLiteral("bckt"));
    const QString floorFile = folder.filePath(QStringLiteral("floor.jpg"));
    const QByteArray floorPath = QFile::encodeName(floorFile);
    const QString scrotPath = folder.filePath(QStringLiteral("scrot.jpg"));
    const QString maimPath = folder.filePath(QStringLiteral("maim.jpg"));

    // The screenshot is recorded when its row is selected, its file then being written in the
    // background; the tick goes on to show the main window again, which is not part of the
    // road to the row. The file is on the disk once the folder's writes have ended.
    Clock::time_point recorded;
    QObject::connect(window->viewer()->lstv(), &QTreeWidget::currentItemChanged,
                     [&recorded](QTreeWidgetItem* row) {
                         if (row)
                             recorded = Clock::now();
                     });

    // One capture each way before the clock runs: the first tick loads what Qt loads lazily
    // (fonts, the list's painting) and costs several times a later one.
    fullScreen->trigger();
    QTest::qWait(kSettleMs);
    QMetaObject::invokeMethod(tick, "timeout");
    window->hide();
    QTest::qWait(kSettleMs);
    shmFloor(bare, screen, floorPath.constData());
    qtFloor(floorPath.constData());

    std::vector<double> ours, onDisk, floor, qtFloors, scrot, maim;
    for (auto _ : state) {
        // The command: the list and Temp emptied so that every tick records a new
        // screenshot1, as the first capture of an event does; the main window hidden and the
        // desktop repainted where it stood; the timer armed.
        window->viewer()->lstv()->clear();
        programFolder.clearTempFolder();
        fullScreen->trigger();
        QTest::qWait(kSettleMs);

        auto start = Clock::now();
        QMetaObject::invokeMethod(tick, "timeout");
        programFolder.awaitWrites();
        onDisk.push_back(secondsSince(start));
        const double seconds = std::chrono::duration<double>(recorded - start).count();
        ours.push_back(seconds);
        state.SetIterationTime(seconds);
        if (window->viewer()->lstv()->rowCount() != 1 || dialogs.shown != 0)
            state.SkipWithError("the tick recorded no screenshot");
        if (grabber.lastReadPath() != ScreenReadPath::SharedMemory)
            state.SkipWithError("the tick did not read through shared memory");
        window->hide();
        QTest::qWait(kSettleMs);

        // Each floor writes a new file, as the tick does into the emptied Temp.
        QFile::remove(floorFile);
        start = Clock::now();
        if (!shmFloor(bare, screen, floorPath.constData()))
            state.SkipWithError("the shared-memory floor failed");
        floor.push_back(secondsSince(start));

        QFile::remove(floorFile);
        start = Clock::now();
        if (!qtFloor(floorPath.constData()))
            state.SkipWithError("the Qt floor failed");
        qtFloors.push_back(secondsSince(start));

        start = Clock::now();
        if (!runPeer(QStringLiteral("scrot"), {QStringLiteral("-o"), QStringLiteral("-q"),
                                               QStringLiteral("100"), scrotPath}))
            state.SkipWithError("scrot failed");
        scrot.push_back(secondsSince(start));

        start = Clock::now();
        if (!runPeer(QStringLiteral("maim"),
                     {QStringLiteral("-f"), QStringLiteral("jpg"), QStringLiteral("-m"),
                      QStringLiteral("10"), maimPath}))
            state.SkipWithError("maim failed");
        maim.push_back(secondsSince(start));
    }
    state.counters["x_floor"] = median(ours) / median(floor);
    state.counters["x_floor_file"] = median(onDisk) / median(floor);
    state.counters["x_qt_floor"] = median(ours) / median(qtFloors);
    state.counters["x_scrot"] = median(ours) / median(scrot);
    state.counters["x_maim"] = median(ours) / median(maim);
    state.counters["x_scrot_file"] = median(onDisk) / median(scrot);
    state.counters["x_maim_file"] = median(onDisk) / median(maim);
    state.counters["ms_tick"] = 1000 * median(ours);
    state.counters["ms_file"] = 1000 * median(onDisk);
    state.counters["ms_floor"] = 1000 * median(floor);
}

void screenReadIntoPicture(benchmark::State& state) {
    const QSize screen = QGuiApplication::primaryScreen()->size();
    Desktop desktop(screen);
    if (!showDesktop(desktop, state))
        return;
    BareShmRead bare(screen.width(), screen.height());
    X11ScreenGrabber grabber;
    const QRect whole(QPoint(0, 0), screen);
    if (!bare.isReady() || grabber.grab(whole).isNull() ||
        grabber.lastReadPath() != ScreenReadPath::SharedMemory) {
        state.SkipWithError("the X server took no shared-memory segment");
        return;
    }
    std::vector<double> bareReads, grabs, qtGrabs;
    for (auto _ : state) {
        auto start = Clock::now();
        if (!bare.read())
            state.SkipWithError("the bare read failed");
        bareReads.push_back(secondsSince(start));

        start = Clock::now();
        const Picture picture = grabber.grab(whole);
        grabs.push_back(secondsSince(start));
        state.SetIterationTime(grabs.back());
        if (picture.isNull() || grabber.lastReadPath() != ScreenReadPath::SharedMemory)
            state.SkipWithError("the grabber did not read through shared memory");

        start = Clock::now();
        benchmark::DoNotOptimize(qtGrab().constBits());
        qtGrabs.push_back(secondsSince(start));
    }
    state.counters["x_bare_read"] = median(grabs) / median(bareReads);
    state.counters["x_qt_read"] = median(qtGrabs) / median(bareReads);
    state.counters["ms_bare_read"] = 1000 * median(bareReads);
    state.counters["ms_read"] = 1000 * median(grabs);
}

// Notes when the overlay has painted its frozen picture, then ends the selection with a press
// and a release, as the user's drag would.
class PaintedThenSelect : public QObject {
public:
    explicit PaintedThenSelect(QWidget* overlay)
        : m_overlay(overlay) {}
    Clock::time_point painted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_overlay && event->type() == QEvent::Paint && !m_pending) {
            m_pending = true;
            // Queued behind the paint, so that the time includes it.
            QTimer::singleShot(0, this, [this] {
                QApplication::sync();
                painted = Clock::now();
                QTest::mousePress(m_overlay, Qt::LeftButton, {}, QPoint(10, 10));
                QTest::mouseMove(m_overlay, QPoint(110, 110));
                QTest::mouseRelease(m_overlay, Qt::LeftButton, {}, QPoint(110, 110));
                m_pending = false;
            });
        }
        return false;
    }

private:
    QWidget* m_overlay;
    bool m_pending = false;
};

void selectorTickToFrozenOverlay(benchmark::State& state) {
    const QSize screen = QGuiApplication::primaryScreen()->size();
    Desktop desktop(screen);
    BareShmRead bare(screen.width(), screen.height());
    if (!showDesktopForBareReads(desktop, bare, state))
        return;
    X11ScreenGrabber grabber;
    SelectorOverlay overlay;
    overlay.coverScreen();
    PaintedThenSelect select(&overlay);
    overlay.installEventFilter(&select);
    overlay.selectRegion(grabber); // the first showing loads what Qt loads lazily
    QTest::qWait(kSettleMs);

    std::vector<double> ticks, bareReads;
    for (auto _ : state) {
        const auto start = Clock::now();
        const Picture picture = overlay.selectRegion(grabber);
        const double seconds = std::chrono::duration<double>(select.painted - start).count();
        ticks.push_back(seconds);
        state.SetIterationTime(seconds);
        if (picture.size() != QSize(100, 100))
            state.SkipWithError("the selection recorded no picture");
        QTest::qWait(kSettleMs);

        const auto readStart = Clock::now();
        if (!bare.read())
            state.SkipWithError("the bare read failed");
        bareReads.push_back(secondsSince(readStart));
    }
    state.counters["x_bare_read"] = median(ticks) / median(bareReads);
    state.counters["ms_tick"] = 1000 * median(ticks);
    state.counters["ms_bare_read"] = 1000 * median(bareReads);
}

} // namespace

// The grab's time varies by half from one call to the next on a virtual machine: enough
// iterations for the sums to settle, few enough for the slow peers.
BENCHMARK(fullScreenTickToRecordedFile)
    ->UseManualTime()
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(screenReadIntoPicture)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);
BENCHMARK(selectorTickToFrozenOverlay)
    ->UseManualTime()
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "bench_capture reads a real X screen: run it under xvfb-run "
                             "-a -s \"-screen 0 1920x1080x24\"\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
