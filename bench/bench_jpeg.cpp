// The JPEG writer at quality 100 against its floor and against Qt's own JPEG writer. Each
// iteration writes the same picture three ways, one after the other, so that the ratios are
// measured side by side in one run:
//   x_raw  writeJpegFile / (tjCompress2 with the same settings on the same buffer + writing
//          the bytes to a file): what the writer adds around the encoder;
//   x_qt   writeJpegFile / QImageWriter ("jpg", quality 100) on the picture;
//   x_qt_from_picture  writeJpegFile of the picture itself / QImageWriter: the program's whole
//          road from a screenshot to its file.

#include "DesktopPicture.h"
#include "RawJpeg.h"
#include "imaging/DibSection.h"
#include "imaging/JpegWriter.h"

#include <QCoreApplication>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>

using namespace glim;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void writeAtQualityHundred(benchmark::State& state) {
    const Picture picture = desktopPicture(int(state.range(0)), int(state.range(1)));
    QTemporaryDir folder;
    const QString ours = folder.filePath(QStringLiteral("ours.jpg"));
    const QByteArray raw = QFile::encodeName(folder.filePath(QStringLiteral("raw.jpg")));
    const QString qt = folder.filePath(QStringLiteral("qt.jpg"));
    DibSection dib;
    dib.createFromPicture(picture);

    double oursSeconds = 0, rawSeconds = 0, qtSeconds = 0, fromPictureSeconds = 0;
    bool oursFirst = true;
    for (auto _ : state) {
        // The writer and its floor take turns at going first, so that neither always finds the
        // buffer in the cache where the other left it.
        double seconds = 0;
        for (bool oursNow : {oursFirst, !oursFirst}) {
            const auto start = Clock::now();
            if (oursNow) {
                if (!writeJpegFile(dib, ours, 100))
                    state.SkipWithError("writeJpegFile failed");
                seconds = secondsSince(start);
                oursSeconds += seconds;
            } else {
                if (!rawEncodeAndWrite(dib.dibSectionBitsPtr(), dib.width(), dib.bytesPerScanLine(),
                                       dib.height(), TJFLAG_BOTTOMUP, raw.constData()))
                    state.SkipWithError("tjCompress2 failed");
                rawSeconds += secondsSince(start);
            }
        }
        oursFirst = !oursFirst;
        state.SetIterationTime(seconds);

        auto start = Clock::now();
        QImageWriter writer(qt, "jpg");
        writer.setQuality(100);
        if (!writer.write(picture))
            state.SkipWithError("QImageWriter failed");
        qtSeconds += secondsSince(start);

        start = Clock::now();
        if (!writeJpegFile(picture, ours, 100))
            state.SkipWithError("writeJpegFile failed");
        fromPictureSeconds += secondsSince(start);
    }
    state.counters["x_raw"] = oursSeconds / rawSeconds;
    state.counters["x_qt"] = oursSeconds / qtSeconds;
    state.counters["x_qt_from_picture"] = fromPictureSeconds / qtSeconds;
}

} // namespace

BENCHMARK(writeAtQualityHundred)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->ArgNames({"w", "h"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // Qt finds its JPEG plugin through the application object.
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
