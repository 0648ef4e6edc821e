// Raster primitives on a 4000 x 3000 image, in Mpixel/s of target pixels written or examined.
// The plain memcpy of the same buffer is the limit the copies are measured against.
#include "raster/Buffer.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr int W = 4000, H = 3000;

Buffer MakeImage(bool withKeys) {
    Buffer b;
    b.Alloc({W, H});
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            b.At(x, y) = (withKeys && ((x / 7 + y / 5) % 4 == 0))
                             ? Pixel::Transparent
                             : (uint32_t(x * 31 + y * 17) & 0xFFFFFF);
    return b;
}

// A target whose pages are already touched, so first-touch faults stay out of the timing.
Buffer MakeTarget(int w, int h) {
    Buffer b;
    b.Alloc({w, h});
    b.Box(b.Bounds(), 0);
    return b;
}

void SetRate(benchmark::State& state, int64_t pixelsPerIteration) {
    state.counters["Mpixel/s"] = benchmark::Counter(double(pixelsPerIteration) * 1e-6,
                                                    benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Memcpy(benchmark::State& state) {
    std::vector<uint32_t> src(size_t(W) * H, 0x123456), dst(size_t(W) * H);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    SetRate(state, int64_t(W) * H);
}

void BM_CopyAll(benchmark::State& state) {
    const Buffer src = MakeImage(false);
    Buffer dst = MakeTarget(W, H);
    for (auto _ : state) {
        dst.Copy(src, {0, 0}, Pixel::CopyAll);
        benchmark::ClobberMemory();
    }
    SetRate(state, int64_t(W) * H);
}

void BM_CopyKeyed(benchmark::State& state) {
    const Buffer src = MakeImage(true);
    Buffer dst = MakeTarget(W, H);
    for (auto _ : state) {
        dst.Copy(src, {0, 0}, Pixel::Transparent);
        benchmark::ClobberMemory();
    }
    SetRate(state, int64_t(W) * H);
}

void BM_Box(benchmark::State& state) {
    Buffer dst = MakeTarget(W, H);
    const uint32_t colour = uint32_t(state.range(0));
    for (auto _ : state) {
        dst.Box(dst.Bounds(), colour);
        benchmark::ClobberMemory();
    }
    SetRate(state, int64_t(W) * H);
}

// range(0): target width in per mille of the source, range(1): smooth.
void BM_Scale(benchmark::State& state) {
    const Buffer src = MakeImage(state.range(2) != 0);
    const int tw = int(int64_t(W) * state.range(0) / 1000),
              th = int(int64_t(H) * state.range(0) / 1000);
    Buffer dst = MakeTarget(tw, th);
    const uint32_t key = state.range(2) ? Pixel::Transparent : Pixel::CopyAll;
    for (auto _ : state) {
        dst.Scale(src, {tw, th}, {0, 0}, key, state.range(1) != 0);
        benchmark::ClobberMemory();
    }
    SetRate(state, int64_t(tw) * th);
}

} // namespace

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyKeyed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Box)->Arg(0x123456)->Arg(int64_t(Pixel::Preview))->Unit(benchmark::kMillisecond);
// Halve and double, nearest and smooth, plain and keyed.
BENCHMARK(BM_Scale)
    ->ArgNames({"permille", "smooth", "keyed"})
    ->Args({500, 0, 0})
    ->Args({500, 1, 0})
    ->Args({2000, 0, 0})
    ->Args({2000, 1, 0})
    ->Args({500, 1, 1})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
