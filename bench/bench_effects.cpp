// The effects engine against its floor: each iteration copies the source into the target with
// memcpy and then runs the routine over the same bytes, both timed, so that the ratio in the
// counter x_memcpy is measured side by side in one run however busy the machine is.

#include "imaging/EffectTables.h"
#include "imaging/EffectsEngine.h"
#include "platform/Dialogs.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
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

Picture noisePicture(int width, int height) {
    Picture picture(width, height, QImage::Format_BGR888);
    std::mt19937 engine(42);
    std::uint8_t* bits = picture.bits();
    for (qsizetype i = 0; i < picture.sizeInBytes(); ++i)
        bits[i] = std::uint8_t(engine());
    return picture;
}

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Arguments: width, height. The routine's name is the benchmark's own.
void runRoutine(benchmark::State& state, const char* routine) {
    const int width = int(state.range(0));
    const int height = int(state.range(1));
    const Picture source = noisePicture(width, height);
    Picture target = noisePicture(width, height);
    EffectTables tables;
    buildGainTable(gainFactor(120.0f), tables.temPal);
    buildRippleTable(rippleAmplitude(40.0f), height, tables.rippleRows);
    SilentDialogs dialogs;
    const QString name = QString::fromLatin1(routine);
    const auto bytes = std::size_t(source.sizeInBytes());
    double floorSeconds = 0;
    double routineSeconds = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        std::memcpy(target.bits(), source.constBits(), bytes);
        benchmark::ClobberMemory();
        floorSeconds += secondsSince(start);
        start = Clock::now();
        doImagePro(name, source, target, tables, dialogs);
        benchmark::ClobberMemory();
        const double seconds = secondsSince(start);
        routineSeconds += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["x_memcpy"] = routineSeconds / floorSeconds;
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}

void memcpyFloor(benchmark::State& state) {
    const Picture source = noisePicture(int(state.range(0)), int(state.range(1)));
    Picture target = noisePicture(int(state.range(0)), int(state.range(1)));
    const auto bytes = std::size_t(source.sizeInBytes());
    for (auto _ : state) {
        std::memcpy(target.bits(), source.constBits(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}

// Building the gain and the contrast table, as a bar movement does before its call, against
// one "Brightness/Contrast" call on a 1080p picture (the median of a few calls made first).
void tableBuilding(benchmark::State& state) {
    const Picture source = noisePicture(1920, 1080);
    Picture target = noisePicture(1920, 1080);
    EffectTables tables;
    SilentDialogs dialogs;
    std::vector<double> calls;
    for (int i = 0; i < 21; ++i) {
        const auto start = Clock::now();
        doImagePro(QStringLiteral("Brightness/Contrast"), source, target, tables, dialogs);
        benchmark::ClobberMemory();
        calls.push_back(secondsSince(start));
    }
    std::nth_element(calls.begin(), calls.begin() + 10, calls.end());
    const double callSeconds = calls[10];

    float x = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        buildGainTable(gainFactor(x), tables.temPal);
        buildContrastTable(contrastFactor(x), tables.temPal);
        benchmark::DoNotOptimize(tables.temPal);
        x = x < 200 ? x + 1 : 0;
    }
    const double buildSeconds = secondsSince(start) / double(state.iterations());
    state.counters["pct_of_1080p_call"] = 100.0 * buildSeconds / callSeconds;
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Args({1920, 1080})->Args({3840, 2160})->ArgNames({"w", "h"});
    b->Unit(benchmark::kMillisecond);
}

void routineSizes(benchmark::internal::Benchmark* b) {
    sizes(b);
    b->UseManualTime();
}

} // namespace

BENCHMARK(memcpyFloor)->Apply(sizes);
BENCHMARK_CAPTURE(runRoutine, Invert, "Invert")->Apply(routineSizes);
BENCHMARK_CAPTURE(runRoutine, HRipple, "HRipple")->Apply(routineSizes);
BENCHMARK_CAPTURE(runRoutine, BrightnessContrast, "Brightness/Contrast")->Apply(routineSizes);
BENCHMARK_CAPTURE(runRoutine, RGB0, "RGB0")->Apply(routineSizes);
BENCHMARK_CAPTURE(runRoutine, RGB1, "RGB1")->Apply(routineSizes);
BENCHMARK_CAPTURE(runRoutine, RGB2, "RGB2")->Apply(routineSizes);
BENCHMARK_CAPTURE(runRoutine, Blur, "Blur")->Apply(routineSizes);
BENCHMARK(tableBuilding)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
