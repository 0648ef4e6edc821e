// Colour counting of a 16-megapixel noise picture beside ImageMagick's `identify -format %k` on
// the same picture in the same run, and the clipboard export of a 16-megapixel picture.
#include "files/ClipboardDib.h"
#include "files/ColourCount.h"
#include "raster/GFXFile.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int W = 4096, H = 4096;

const Buffer& Noise() {
    static const Buffer noise = [] {
        Buffer b;
        b.Alloc({W, H});
        std::mt19937 random(1);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) b.At(x, y) = random() & 0xFFFFFF;
        return b;
    }();
    return noise;
}

void BM_CountColours16MP(benchmark::State& state) {
    const Buffer& b = Noise();
    int64_t count = 0;
    for (auto _ : state) benchmark::DoNotOptimize(count = CountColours(b));
    state.counters["colours"] = double(count);
}
BENCHMARK(BM_CountColours16MP)->Unit(benchmark::kMillisecond);

// ImageMagick on the same picture, written once as a PPM (the cheapest file it reads); only the
// process run is timed, reading included, as a user would run it.
void BM_IdentifyColours16MP(benchmark::State& state) {
    const QString identify = QStandardPaths::findExecutable(QStringLiteral("identify"));
    if (identify.isEmpty()) {
        state.SkipWithError("identify (imagemagick) is not installed");
        return;
    }
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("noise.ppm"));
    GFXtra32 extra;
    GFXFile::Save(Noise(), name, &extra, nullptr);
    QString count;
    for (auto _ : state) {
        QProcess p;
        p.start(identify, {QStringLiteral("-format"), QStringLiteral("%k"), name});
        p.waitForFinished(-1);
        count = QString::fromUtf8(p.readAllStandardOutput());
    }
    state.counters["colours"] = count.toDouble();
}
BENCHMARK(BM_IdentifyColours16MP)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ExportBmp16MP(benchmark::State& state) {
    const Buffer& b = Noise();
    for (auto _ : state) benchmark::DoNotOptimize(BmpFileFromBuffer(b));
    state.SetBytesProcessed(int64_t(state.iterations()) * W * H * 4);
}
BENCHMARK(BM_ExportBmp16MP)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
