// Turning a whole 4000 x 3000 picture by 30 degrees, smoothed and not, beside Qt's
// QImage::transformed on the same pixels; and the live preview of a 500 x 500 brush bend, as one
// pointer move builds it (the bent brush plus its copy into the picture), which must stay well
// under a 16 ms frame.
#include "brush/BrushTransforms.h"
#include "tools/ImageTransformTools.h"

#include <QImage>
#include <QTransform>

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

Buffer Picture(int w, int h) {
    Buffer b;
    b.Alloc({w, h});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.At(x, y) = uint32_t((x * 7 + y * 13) * 0x010203) & 0xFFFFFF;
    return b;
}

void SetRate(benchmark::State& state, int64_t pixels) {
    state.counters["Mpixel/s"] =
        benchmark::Counter(double(pixels) * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_RotatePicture30(benchmark::State& state) {
    const bool smooth = state.range(0) != 0;
    const Buffer source = Picture(4000, 3000);
    Buffer out;
    for (auto _ : state) {
        RotateImageTool::Rotated(source, 30, false, smooth, 0, out);
        benchmark::DoNotOptimize(out.pixels);
    }
    SetRate(state, int64_t(out.Width()) * out.Height());
    state.SetLabel(smooth ? "smooth" : "nearest");
}
BENCHMARK(BM_RotatePicture30)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_QtRotatePicture30(benchmark::State& state) {
    const bool smooth = state.range(0) != 0;
    const Buffer source = Picture(4000, 3000);
    QImage image(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < 3000; ++y)
        std::memcpy(image.scanLine(y), source.Row(y), 4000 * sizeof(uint32_t));
    QImage out;
    for (auto _ : state) {
        out = image.transformed(QTransform().rotate(30),
                                smooth ? Qt::SmoothTransformation : Qt::FastTransformation);
        benchmark::DoNotOptimize(out.constBits());
    }
    SetRate(state, int64_t(out.width()) * out.height());
    state.SetLabel(smooth ? "Qt smooth" : "Qt fast");
}
BENCHMARK(BM_QtRotatePicture30)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// One pointer move of the bend tool: the bent brush for a new depth, and its transparent copy
// into the picture (the save-under copy is one more plain copy of the same rectangle).
void BM_BendPreview500(benchmark::State& state) {
    Buffer brush = Picture(500, 500);
    brush.Box({0, 0, 99, 99}, Pixel::Transparent);
    Buffer picture = Picture(1600, 1200);
    Buffer made, under;
    int depth = 1;
    for (auto _ : state) {
        depth = depth % 200 + 1;
        brushxform::BentColumns(brush, depth, brushxform::BendSplit(300, 0, 500), true, made);
        under.Alloc({made.Width(), made.Height()});
        under.Copy(picture, {-300, -200}, Pixel::CopyAll);
        picture.Copy(made, {300, 200}, Pixel::Transparent);
        picture.Copy(under, {300, 200}, Pixel::CopyAll);
        benchmark::DoNotOptimize(picture.pixels);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BendPreview500)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
