// Repainting a 1920 x 1080 window onto a 4000 x 3000 image, in ms per repaint, at the zooms 1/4,
// 1, 3 and 32. The view paints into an image the size of the window, as into a backing store.
// For comparison: Qt's own nearest-neighbour drawImage of the same area from an image already in
// screen format (so without the conversion from our pixels the view has to do).
#include "document/Zoom.h"
#include "document/ui/TBuffer.h"
#include "raster/Buffer.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

constexpr int W = 4000, H = 3000;
constexpr int ScreenW = 1920, ScreenH = 1080;

const Buffer& Image() {
    static const Buffer image = [] {
        Buffer b;
        b.Alloc({W, H});
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) b.At(x, y) = uint32_t(x * 31 + y * 17) & 0xFFFFFF;
        return b;
    }();
    return image;
}

// Zoom steps as benchmark arguments: -4 is 1/4.
ZoomRatio RatioOf(const benchmark::State& state) {
    return ZoomRatioOfStep(int(state.range(0)));
}

// The window onto the middle of the zoomed view, as a scroll box would show it.
QRect Window(Pair view) {
    const int x = std::max(0, (view.x - ScreenW) / 2), y = std::max(0, (view.y - ScreenH) / 2);
    return QRect(x, y, ScreenW, ScreenH).intersected(QRect(0, 0, view.x, view.y));
}

void BM_ViewRepaint(benchmark::State& state) {
    Buffer image = Image();
    const ZoomRatio r = RatioOf(state);
    const Pair view = ZoomedViewSize({W, H}, r);
    TBuffer widget;
    widget.SetBuffer(&image);
    widget.SetZoom(PackZoom(r));
    widget.resize(view.x, view.y);
    const QRect window = Window(view);
    QImage screen(ScreenW, ScreenH, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&screen);
        p.translate(-window.topLeft());
        widget.PaintRegion(p, QRegion(window));
        p.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
}

void BM_QtDrawImageNearest(benchmark::State& state) {
    const Buffer& image = Image();
    const QImage source(reinterpret_cast<const uchar*>(image.pixels), W, H, image.stride * 4,
                        QImage::Format_RGB32);
    const ZoomRatio r = RatioOf(state);
    const Pair view = ZoomedViewSize({W, H}, r);
    const QRect window = Window(view);
    // The source area behind the window.
    const QRectF from(double(window.x()) * r.d / r.n, double(window.y()) * r.d / r.n,
                      double(window.width()) * r.d / r.n, double(window.height()) * r.d / r.n);
    QImage screen(ScreenW, ScreenH, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&screen);
        p.drawImage(QRectF(0, 0, window.width(), window.height()), source, from);
        p.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
}

void ZoomArgs(benchmark::internal::Benchmark* b) {
    b->ArgName("step")->Arg(-4)->Arg(1)->Arg(3)->Arg(32)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_ViewRepaint)->Apply(ZoomArgs);
BENCHMARK(BM_QtDrawImageNearest)->Apply(ZoomArgs);

namespace {

// A whole 1920 x 1080 window at zoom 1/4 over an 8000 x 8000 picture (2000 x 2000 zoomed).
void BM_LargeViewQuarter(benchmark::State& state) {
    Buffer image;
    if (!image.Alloc({8000, 8000})) {
        state.SkipWithError("out of memory");
        return;
    }
    for (int y = 0; y < 8000; ++y)
        for (int x = 0; x < 8000; ++x) image.At(x, y) = uint32_t(x * 31 + y * 17) & 0xFFFFFF;
    const ZoomRatio r = ZoomRatioOfStep(-4);
    TBuffer widget;
    widget.SetBuffer(&image);
    widget.SetZoom(PackZoom(r));
    widget.resize(2000, 2000);
    QImage screen(ScreenW, ScreenH, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&screen);
        widget.PaintRegion(p, QRegion(0, 0, ScreenW, ScreenH));
        p.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
}

} // namespace

BENCHMARK(BM_LargeViewQuarter)->Unit(benchmark::kMillisecond);

// Widgets need an application object, even when never shown.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
