// Opening and saving a 4000 x 3000 photo-like picture the way the File menu does it, beside Qt's
// bare reader and writer on the same files in the same run.
#include "document/DocumentTable.h"
#include "document/Host.h"
#include "files/ImageFiles.h"
#include "raster/BufferSpare.h"
#include "raster/GFXFile.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>

namespace {

constexpr int W = 4000, H = 3000;

struct Quiet : MessageHost, PromptHost, StatusHost {
    int MessageByKey(const QString&, const QString&, int) override { return MessageCode::Ok; }
    int Prompt(const QString&, const QString&, int) override { return MessageCode::Cancel; }
    void SetPanel(int, const QString&) override {}
};

// Smooth gradients with a little texture, so that both coders work as on a photograph.
ImageDoc Photo() {
    ImageDoc doc;
    doc.MakeBlank({W, H});
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const uint32_t r = uint32_t(128 + 100 * std::sin(x * 0.003)) & 0xFF;
            const uint32_t g = uint32_t(y * 255 / H);
            const uint32_t b = uint32_t((x ^ y) & 0x1F) + 100;
            doc.image.At(x, y) = r << 16 | g << 8 | b;
        }
    return doc;
}

struct Files {
    QTemporaryDir dir;
    ImageDoc photo = Photo();
    QString Name(const char* ext) const { return dir.filePath(QStringLiteral("photo.") + ext); }
    Files() {
        for (const char* ext : {"png", "jpg"}) {
            GFXtra32 extra;
            GFXFile::Save(photo.image, Name(ext), &extra, nullptr);
        }
    }
};

Files& Shared() {
    static Files files;
    return files;
}

void SetRate(benchmark::State& state) {
    state.counters["Mpixel/s"] =
        benchmark::Counter(double(W) * H * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_LoadImageFile(benchmark::State& state, const char* ext) {
    Quiet quiet;
    DocumentTable docs(quiet, quiet, quiet);
    const QString name = Shared().Name(ext);
    for (auto _ : state) {
        uint32_t a = 0, b = 0;
        QString entry;
        if (LoadImageFile(docs, docs.CurrentDoc(), name, 1, false, quiet, a, b, entry) != 0)
            state.SkipWithError("load failed");
    }
    SetRate(state);
}

// An open into a program that has not opened anything yet: every page of the picture is fresh.
// (BM_LoadImageFile replaces a picture of the same size: its pages are reused.)
void BM_FirstOpen(benchmark::State& state, const char* ext) {
    Quiet quiet;
    const QString name = Shared().Name(ext);
    for (auto _ : state) {
        state.PauseTiming();
        buffers::DropSpare(); // as in a fresh process
        state.ResumeTiming();
        DocumentTable docs(quiet, quiet, quiet);
        uint32_t a = 0, b = 0;
        QString entry;
        if (LoadImageFile(docs, docs.CurrentDoc(), name, 1, false, quiet, a, b, entry) != 0)
            state.SkipWithError("load failed");
    }
    SetRate(state);
}

// Resident memory in bytes, from the kernel's own count.
double ResidentBytes() {
    long pages = 0, resident = 0;
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (f && std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    if (f) std::fclose(f);
    return double(resident) * 4096.0;
}

// How many full pictures an open keeps in memory (the goal is one until the first edit).
void BM_MemoryAfterOpen(benchmark::State& state) {
    Quiet quiet;
    const QString name = Shared().Name("png");
    double copies = 0;
    for (auto _ : state) {
        buffers::DropSpare(); // as in a fresh process
        DocumentTable docs(quiet, quiet, quiet);
        const double before = ResidentBytes();
        uint32_t a = 0, b = 0;
        QString entry;
        if (LoadImageFile(docs, docs.CurrentDoc(), name, 1, false, quiet, a, b, entry) != 0)
            state.SkipWithError("load failed");
        copies = (ResidentBytes() - before) / (double(W) * H * 4);
    }
    state.counters["pictures"] = copies;
}

void BM_QImageReader(benchmark::State& state, const char* ext) {
    const QString name = Shared().Name(ext);
    for (auto _ : state) {
        QImageReader reader(name);
        QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
    }
    SetRate(state);
}

void BM_SaveImageFile(benchmark::State& state, const char* ext) {
    Quiet quiet;
    ImageDoc doc = Photo();
    ImageDoc scratch;
    const QString name = Shared().dir.filePath(QStringLiteral("saved.") + ext);
    for (auto _ : state) {
        SaveOptions options;
        options.scratch = &scratch.image;
        if (SaveImageFile(doc, name, options, quiet).isEmpty()) state.SkipWithError("save failed");
    }
    SetRate(state);
}

void BM_QImageWriter(benchmark::State& state, const char* ext) {
    QImage image(W, H, QImage::Format_RGB32);
    const ImageDoc& photo = Shared().photo;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            reinterpret_cast<uint32_t*>(image.scanLine(y))[x] = 0xFF000000u | photo.image.At(x, y);
    const QString name = Shared().dir.filePath(QStringLiteral("bare.") + ext);
    for (auto _ : state) {
        QImageWriter writer(name);
        if (QByteArray(ext) == "jpg") writer.setQuality(90); // as the program saves
        if (!writer.write(image)) state.SkipWithError("write failed");
    }
    SetRate(state);
}

} // namespace

BENCHMARK_CAPTURE(BM_LoadImageFile, png, "png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_QImageReader, png, "png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FirstOpen, png, "png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FirstOpen, jpg, "jpg")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryAfterOpen)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadImageFile, jpg, "jpg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_QImageReader, jpg, "jpg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SaveImageFile, png, "png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_QImageWriter, png, "png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SaveImageFile, jpg, "jpg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_QImageWriter, jpg, "jpg")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
