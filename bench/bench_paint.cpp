// The painting tools' inner loops: one airbrush burst at radius 999 (it must fit well inside the
// 50 ms activity period), a spray burst, Change Color over 16 megapixels at tolerance 0 and 100,
// and a text block of two lines with shadow and outline.
#include "raster/ColourChange.h"
#include "tools/SprayTools.h"
#include "tools/TextBlock.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

Buffer Picture(int w, int h) {
    Buffer b;
    b.Alloc({w, h});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.At(x, y) = uint32_t((x * 7 + y * 13) * 0x010203) & 0xFFFFFF;
    return b;
}

void BM_AirbrushBurst(benchmark::State& state) {
    const int r = int(state.range(0));
    Buffer b = Picture(2 * r + 2, 2 * r + 2);
    SeededRandom random;
    for (auto _ : state) spray::Airbrush(b, {r, r}, r, spray::Strength(10), 0xFFFFFF, random);
    state.SetItemsProcessed(state.iterations() * int64_t(3.14159 * r * r));
}
BENCHMARK(BM_AirbrushBurst)->Arg(999)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_SprayDabs(benchmark::State& state) {
    SeededRandom random;
    for (auto _ : state) benchmark::DoNotOptimize(spray::Dabs(random, {500, 500}, 999, 100));
}
BENCHMARK(BM_SprayDabs)->Unit(benchmark::kMicrosecond);

void BM_ChangeColour(benchmark::State& state) {
    Buffer b = Picture(4096, 4096);
    const int tolerance = int(state.range(0));
    uint32_t target = 0;
    for (auto _ : state) {
        // Alternating targets, so every run changes the same pixels again.
        fill::ChangeColour(b, b.At(0, 0), target ^= 0x010101, tolerance);
    }
    state.SetItemsProcessed(state.iterations() * 4096 * 4096);
}
BENCHMARK(BM_ChangeColour)->Arg(0)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_TextBlock(benchmark::State& state) {
    Buffer b = Picture(800, 300);
    TextStyle s;
    s.font.name = QStringLiteral("Times New Roman");
    s.font.size = 32;
    s.shadow = s.outline = true;
    s.antiAlias = state.range(0) != 0;
    if (s.antiAlias) s.font.size *= 2;
    const QStringList lines{QStringLiteral("The quick brown fox"), QStringLiteral("jumps over|")};
    const TextLayout l = textblock::Measure(s, lines);
    for (auto _ : state) textblock::Draw(b, s, lines, {10, 250}, l);
}
BENCHMARK(BM_TextBlock)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts need it
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
