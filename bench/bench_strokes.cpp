// A continuous stroke of 1000 stamp-line segments (a closed 1000-gon of radius 1200) on a
// 4000 x 3000 image, spacing 1 with the phase carried across the joints as the freehand and curve
// tools do, with the built-in circular brushes of 11 x 11 and 101 x 101.
#include "brush/Brush.h"
#include "raster/Buffer.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr int W = 4000, H = 3000, Segments = 1000, Radius = 1200;

std::vector<Pair> Polygon() {
    std::vector<Pair> points;
    for (int i = 0; i <= Segments; ++i) {
        const double a = 2 * 3.14159265358979323846 * i / Segments;
        points.push_back({W / 2 + int(std::lround(Radius * std::cos(a))),
                          H / 2 + int(std::lround(Radius * std::sin(a)))});
    }
    return points;
}

void BM_ContinuousStroke(benchmark::State& state) {
    Buffer image;
    Brush brush;
    if (!image.Alloc({W, H}) ||
        !brush.SelectBuiltIn(BrushShape::Circular, int(state.range(0)), 0x2040E0, 0)) {
        state.SkipWithError("out of memory");
        return;
    }
    image.Box(image.Bounds(), 0x808080);
    const std::vector<Pair> points = Polygon();
    // Spacing 1: every line position once, a joint only once.
    int64_t stamps = 1;
    for (size_t i = 1; i < points.size(); ++i)
        stamps += std::max(std::abs(points[i].x - points[i - 1].x),
                           std::abs(points[i].y - points[i - 1].y));
    for (auto _ : state) {
        double phase = 1;
        for (size_t i = 1; i < points.size(); ++i)
            phase = brush.StampLine(image, points[i - 1], points[i], 1, phase) + 1;
        benchmark::DoNotOptimize(image.pixels);
        benchmark::ClobberMemory();
    }
    state.counters["stamps/s"] =
        benchmark::Counter(double(stamps), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["stamps"] = double(stamps);
}

} // namespace

// Radius 5 and 50: 11 x 11 and 101 x 101.
BENCHMARK(BM_ContinuousStroke)->Arg(5)->Arg(50)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
