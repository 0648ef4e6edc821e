// Fills on 16-megapixel pictures: flood marking beside OpenCV's cv::floodFill on the same pixels
// (its in-place fill of 32-bit values, the closest match to marking), the filled ellipse, and
// the apply steps over a full mark. Rates in Mpixel/s of pixels filled.
#include "raster/FloodMark.h"
#include "tools/FillApply.h"
#include "tools/ShapeGeometry.h"

#include <benchmark/benchmark.h>

#ifdef OV_HAVE_OPENCV
#include <opencv2/imgproc.hpp>
#endif

#include <cstring>

namespace {

constexpr int W = 4000, H = 4000;
constexpr uint32_t Path = 0x336699, Wall = 0x000000;

Buffer Blank() {
    Buffer b;
    b.Alloc({W, H});
    b.Box(b.Bounds(), Path);
    return b;
}

// One-pixel-wide columns joined alternately at the bottom and the top: every row of the path is
// a span of one pixel, the worst case for a span fill.
Buffer Serpentine() {
    Buffer b = Blank();
    for (int x = 1; x < W; x += 2) {
        b.VLine(x, 0, H - 1, Wall);
        b.At(x, (x / 2) % 2 == 0 ? H - 1 : 0) = Path;
    }
    return b;
}

int64_t PathPixels(const Buffer& b) {
    int64_t n = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) n += b.At(x, y) == Path;
    return n;
}

void SetRate(benchmark::State& state, int64_t pixels) {
    state.counters["Mpixel/s"] =
        benchmark::Counter(double(pixels) * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}

// Puts the picture back between fills, outside the timing.
void Restore(benchmark::State& state, Buffer& b, const Buffer& picture) {
    state.PauseTiming();
    std::memcpy(b.pixels, picture.pixels, sizeof(uint32_t) * size_t(W) * H);
    state.ResumeTiming();
}

template <Buffer (*Picture)()> void BM_FloodMark(benchmark::State& state) {
    const Buffer picture = Picture();
    Buffer b = picture;
    fill::FloodMarker marker;
    const int tolerance = int(state.range(0));
    for (auto _ : state) {
        Restore(state, b, picture);
        benchmark::DoNotOptimize(marker.Mark(b, {0, 0}, tolerance, false));
        benchmark::ClobberMemory();
    }
    SetRate(state, PathPixels(picture));
}

#ifdef OV_HAVE_OPENCV
template <Buffer (*Picture)()> void BM_OpenCVFloodFill(benchmark::State& state) {
    const Buffer picture = Picture();
    Buffer b = picture;
    cv::Mat mat(H, W, CV_32SC1, b.pixels, size_t(b.stride) * sizeof(uint32_t));
    const cv::Scalar marked(double(int32_t(Path | fill::FillMark)));
    for (auto _ : state) {
        Restore(state, b, picture);
        benchmark::DoNotOptimize(
            cv::floodFill(mat, cv::Point(0, 0), marked, nullptr, cv::Scalar(), cv::Scalar(), 4));
        benchmark::ClobberMemory();
    }
    SetRate(state, PathPixels(picture));
}
#endif

void BM_MarkEllipse(benchmark::State& state) {
    Buffer b;
    b.Alloc({W + 100, H + 100});
    b.Box(b.Bounds(), Path);
    const int r = 2000;
    int64_t pixels = 0;
    shape::EllipseSpans({2050, 2050}, r, r, [&](int, int l, int rt) { pixels += rt - l + 1; });
    for (auto _ : state) {
        benchmark::DoNotOptimize(shape::MarkEllipse(b, {2050, 2050}, r, r));
        benchmark::ClobberMemory();
    }
    SetRate(state, pixels);
}

// range(0): 0 solid, 1 pattern; range(1): shade.
void BM_PaintMarked(benchmark::State& state) {
    Buffer b = Blank();
    Buffer brush;
    brush.Alloc({61, 37});
    for (int y = 0; y < 37; ++y)
        for (int x = 0; x < 61; ++x)
            brush.At(x, y) =
                (x + y) % 9 == 0 ? Pixel::Transparent : uint32_t(x * 4 << 16 | y * 6 << 8 | 0x40);
    const bool pattern = state.range(0) != 0, shade = state.range(1) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        b.Bool(2, fill::FillMark);
        state.ResumeTiming();
        if (pattern)
            fill::PaintMarkedPattern(b, b.Bounds(), Path, {&brush, {5, 3}, 0x102030}, shade);
        else
            fill::PaintMarkedSolid(b, b.Bounds(), 0x3080C0, shade);
        benchmark::ClobberMemory();
    }
    SetRate(state, int64_t(W) * H);
}

} // namespace

BENCHMARK(BM_FloodMark<Blank>)
    ->Name("FloodMark/blank")
    ->Arg(0)
    ->Arg(40)
    ->Arg(765)
    ->Unit(benchmark::kMillisecond);
#ifdef OV_HAVE_OPENCV
BENCHMARK(BM_OpenCVFloodFill<Blank>)->Name("OpenCVFloodFill/blank")->Unit(benchmark::kMillisecond);
#endif
BENCHMARK(BM_FloodMark<Serpentine>)
    ->Name("FloodMark/serpentine")
    ->Arg(0)
    ->Arg(40)
    ->Unit(benchmark::kMillisecond);
#ifdef OV_HAVE_OPENCV
BENCHMARK(BM_OpenCVFloodFill<Serpentine>)
    ->Name("OpenCVFloodFill/serpentine")
    ->Unit(benchmark::kMillisecond);
#endif
BENCHMARK(BM_MarkEllipse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintMarked)
    ->ArgNames({"pattern", "shade"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
