// The thumbnail browser on a folder of photographs: the first (cold) showing, which decodes every
// picture and fills the cache, and the second (warm) showing from browser.ov; then the quiet
// loader's scaled JPEG decoding beside a full decode and beside Qt's plain reader and
// QImage::scaled, on the same files in the same run.
//
// The folder (OV_BENCH_BROWSE_FILES pictures, 1000 by default: three JPEGs to one PNG, 1 to 12
// megapixels) is made once under $XDG_CACHE_HOME/orvelpaint-bench (or ~/.cache) and kept.
#include "browser/BrowseEntries.h"
#include "browser/BrowseThread.h"
#include "browser/ThumbCache.h"
#include "browser/ThumbLoader.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QStandardPaths>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>

namespace {

int FileCount() {
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("OV_BENCH_BROWSE_FILES", &ok);
    return ok && n > 0 ? n : 1000;
}

// Smooth light and shade with fine grain, so both coders work about as on a photograph.
QImage Photo(int w, int h, int seed) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int r = int(128 + 100 * std::sin((x + seed * 37) * 0.004));
            const int g = y * 255 / h;
            const int b = 96 + int((uint32_t(x * 2654435761u) ^ uint32_t(y * 40503u)) >> 27);
            row[x] = 0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
        }
    }
    return img;
}

QString PhotoName(int i) {
    return QStringLiteral("photo%1.%2").arg(i, 4, 10, QChar('0')).arg(i % 4 == 3 ? "png" : "jpg");
}

// The folder of photographs, made on first use.
QString Folder() {
    static const QString folder = [] {
        QString base = qEnvironmentVariable("XDG_CACHE_HOME");
        if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.cache");
        const int n = FileCount();
        const QString dir = QStringLiteral("%1/orvelpaint-bench/browse-%2").arg(base).arg(n);
        const QString done = dir + QStringLiteral("/.complete");
        if (!QFile::exists(done)) {
            QDir().mkpath(dir);
            std::fprintf(stderr, "making %d photographs in %s (once)\n", n, qPrintable(dir));
            for (int i = 0; i < n; ++i) {
                const QString name = dir + QLatin1Char('/') + PhotoName(i);
                if (QFile::exists(name)) continue;
                const double mp = 1 + (i * 7) % 12; // 1 to 12 megapixels
                const int w = int(std::sqrt(mp * 1e6 * 4 / 3)), h = w * 3 / 4;
                Photo(w, h, i).save(name, nullptr, 85);
            }
            QFile f(done);
            f.open(QIODevice::WriteOnly);
        }
        return dir;
    }();
    return folder;
}

struct NoCells : BrowseCells {
    int shown = 0;
    void HideCell(int) override {}
    void ShowCell(int, int, const Buffer&, const QString&) override { ++shown; }
};

// Every picture of the folder through the window's worker, as if all were on show at once.
double ShowFolder(bool caching) {
    const QString folder = Folder();
    QElapsedTimer t;
    t.start();
    const std::vector<BrowseEntry> entries = ScanFolder(folder);
    NoCells cells;
    ThumbCache cache(folder);
    const bool open = caching && cache.Open();
    {
        TBrowseImageThread worker(cells, entries, folder, open ? &cache : nullptr, {});
        worker.Start();
        worker.SetRange({0, int(entries.size()) + 3});
        while (!worker.Idle()) QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    }
    cache.Close();
    return t.nsecsElapsed() / 1e9;
}

void BM_BrowseCold(benchmark::State& state) {
    const QString cacheFile = Folder() + QStringLiteral("/browser.ov");
    for (auto _ : state) {
        QFile::remove(cacheFile);
        state.SetIterationTime(ShowFolder(true));
    }
    state.counters["files"] = FileCount();
}
BENCHMARK(BM_BrowseCold)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_BrowseWarm(benchmark::State& state) {
    if (!QFile::exists(Folder() + QStringLiteral("/browser.ov"))) ShowFolder(true);
    for (auto _ : state) state.SetIterationTime(ShowFolder(true));
    state.counters["files"] = FileCount();
}
BENCHMARK(BM_BrowseWarm)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// The 12-megapixel JPEGs of the folder.
QStringList LargeJpegs() {
    QStringList out;
    for (int i = 0; i < FileCount() && out.size() < 8; ++i)
        if ((i * 7) % 12 == 11 && i % 4 != 3) out << Folder() + QLatin1Char('/') + PhotoName(i);
    return out;
}

void BM_JpegThumb(benchmark::State& state) {
    const QStringList files = LargeJpegs();
    ThumbLoadOptions options;
    options.scaledDecode = state.range(0) != 0;
    for (auto _ : state)
        for (const QString& f : files) {
            ThumbLoad load;
            benchmark::DoNotOptimize(LoadThumbnail(f, load, options));
        }
    state.SetItemsProcessed(state.iterations() * files.size());
}
BENCHMARK(BM_JpegThumb)->Arg(1)->Arg(0)->ArgName("scaled")->Unit(benchmark::kMillisecond);

// Reference: Qt's reader in full and QImage's smooth scaling, no conversion of ours.
void BM_JpegThumbQtReference(benchmark::State& state) {
    const QStringList files = LargeJpegs();
    for (auto _ : state)
        for (const QString& f : files) {
            QImage img = QImageReader(f).read();
            benchmark::DoNotOptimize(
                img.scaled(120, 90, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        }
    state.SetItemsProcessed(state.iterations() * files.size());
}
BENCHMARK(BM_JpegThumbQtReference)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QImageReader::setAllocationLimit(2048);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
