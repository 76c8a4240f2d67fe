// The Edit Image dialog's live preview as a user drives it, in a real X display: one mouse
// movement of a pressed bar, from the event reaching the bar to the viewer's picture box
// repainted (the table built, the routine run over the whole picture, `ima` painted, the event
// loop run once), and one click of "Apply Blur". Each iteration also copies the picture's bytes
// with memcpy, the floor; x_memcpy is the preview's time over the floor's, from the same run.

#include "DesktopPicture.h"
#include "editing/EditImageDialog.h"
#include "imaging/DibSection.h"
#include "imaging/JpegWriter.h"
#include "platform/Dialogs.h"
#include "screenshots/PictureBox.h"
#include "screenshots/RecordFlag.h"
#include "screenshots/ScreenshotList.h"
#include "screenshots/ScreenshotViewer.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

using namespace glim;

namespace {

class SilentDialogs : public Dialogs {
public:
    void information(const QString&) override {}
    bool question(const QString&) override { return false; }
    void exclamation(const QString&) override {}
    void plain(const QString&) override {}
    void critical(const QString&, const QString&) override {}
};

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The processor time of this thread: what the preview costs the program itself, without the
// time it waits for the X server to take the repainted picture (or for a busy machine).
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Times the floor and the step of each iteration, by the clock and in processor time.
struct Ratios {
    double floor = 0, step = 0, floorCpu = 0, stepCpu = 0;

    template <typename F> double time(F&& work, double& wall, double& cpu) {
        const double cpuStart = threadSeconds();
        const auto start = Clock::now();
        work();
        const double seconds = secondsSince(start);
        cpu += threadSeconds() - cpuStart;
        wall += seconds;
        return seconds;
    }
    void report(benchmark::State& state) const {
        state.counters["x_memcpy"] = step / floor;
        state.counters["x_memcpy_cpu"] = stepCpu / floorCpu;
    }
};

// A main window's client area with the viewer, one screenshot of the size in its list and its
// working file, and the dialog loaded for the effect and shown beside it.
struct PreviewSetup {
    QTemporaryDir folder;
    SilentDialogs dialogs;
    RecordFlag recordFlag;
    QWidget main;
    ScreenshotViewer viewer;
    std::unique_ptr<EditImageDialog> dialog;

    PreviewSetup(QSize size, ImageEffect effect)
        : viewer(&main, ProgramFolder(folder.path()), dialogs, recordFlag) {
        main.setFixedSize(634, 480);
        const ProgramFolder programFolder(folder.path());
        programFolder.foldr();
        DibSection buffer;
        buffer.createFromPicture(desktopPicture(size.width(), size.height()));
        writeJpegFile(buffer, programFolder.workingFile(QStringLiteral("screenshot1")), 100);
        viewer.lstv()->appendRow({QStringLiteral("screenshot1"), {}, {}, {}});
        viewer.lstv()->selectRow(0);
        main.show();
        dialog = std::make_unique<EditImageDialog>(programFolder, dialogs, viewer, &main);
        if (!dialog->load())
            return;
        dialog->setEffect(effect);
        dialog->show();
    }
    bool ready() {
        return viewer.ima()->hasPicture() && QTest::qWaitForWindowExposed(&main) &&
               QTest::qWaitForWindowExposed(dialog.get());
    }
};

void send(QWidget* bar, QEvent::Type type, int x) {
    const QPointF at(x, 6);
    QMouseEvent event(
        type, at, bar->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &event);
}

// Arguments: width, height. Each iteration moves the pressed bar to another X and times it.
void barMovement(benchmark::State& state, const char* barName, int index, ImageEffect effect) {
    PreviewSetup setup(QSize(int(state.range(0)), int(state.range(1))), effect);
    if (!setup.ready()) {
        state.SkipWithError("the preview could not be set up");
        return;
    }
    QWidget* bar = setup.dialog->findChildren<QWidget*>(QLatin1String(barName)).value(index);
    const Picture& picture = setup.viewer.ima()->picture();
    const auto bytes = std::size_t(picture.sizeInBytes());
    std::vector<std::uint8_t> copy(bytes);
    send(bar, QEvent::MouseButtonPress, 60);
    send(bar, QEvent::MouseMove, 60); // the first movement gives `ima` its own pixels
    Ratios ratios;
    int x = 0;
    for (auto _ : state) {
        ratios.time(
            [&] {
                std::memcpy(copy.data(), picture.constBits(), bytes);
                benchmark::ClobberMemory();
            },
            ratios.floor, ratios.floorCpu);
        x = (x + 37) % 164;
        state.SetIterationTime(
            ratios.time([&] { send(bar, QEvent::MouseMove, x); }, ratios.step, ratios.stepCpu));
    }
    send(bar, QEvent::MouseButtonRelease, x);
    ratios.report(state);
}

void applyBlur(benchmark::State& state) {
    PreviewSetup setup(QSize(int(state.range(0)), int(state.range(1))), ImageEffect::Blur);
    if (!setup.ready()) {
        state.SkipWithError("the preview could not be set up");
        return;
    }
    auto* button = setup.dialog->findChild<QPushButton*>(QStringLiteral("Command3"));
    const Picture& picture = setup.viewer.ima()->picture();
    const auto bytes = std::size_t(picture.sizeInBytes());
    std::vector<std::uint8_t> copy(bytes);
    button->click();
    Ratios ratios;
    for (auto _ : state) {
        ratios.time(
            [&] {
                std::memcpy(copy.data(), picture.constBits(), bytes);
                benchmark::ClobberMemory();
            },
            ratios.floor, ratios.floorCpu);
        state.SetIterationTime(ratios.time([&] { button->click(); }, ratios.step, ratios.stepCpu));
    }
    ratios.report(state);
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Args({1920, 1080})->Args({3840, 2160})->ArgNames({"w", "h"});
    b->Unit(benchmark::kMillisecond)->UseManualTime();
}

} // namespace

BENCHMARK_CAPTURE(barMovement, Brightness, "Pictbright", 0, ImageEffect::Brightness)->Apply(sizes);
BENCHMARK_CAPTURE(barMovement, RGB0, "PictRGB", 0, ImageEffect::Brightness)->Apply(sizes);
BENCHMARK(applyBlur)->Apply(sizes);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "bench_preview paints in a real X display: run it under xvfb-run "
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
