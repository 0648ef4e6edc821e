// Cutting brushes through the tool engine, as a user's press or menu command runs them: the magic
// wand on a 4096 x 4096 comb (half the picture marked, undo copy and restore included) and
// Select All followed by Outline of a 4000 x 3000 brush. Rates in Mpixel/s of the picture.
#include "document/Host.h"
#include "tools/BrushMenu.h"
#include "tools/StandardTools.h"
#include "tools/ToolEngine.h"

#include <benchmark/benchmark.h>

namespace {

struct QuietHost : MessageHost, PromptHost, StatusHost, ToolHost {
    int MessageByKey(const QString&, const QString&, int) override { return MessageCode::Ok; }
    int Prompt(const QString&, const QString&, int) override { return MessageCode::Ok; }
    void SetPanel(int, const QString&) override {}
    void InvalidateView(ViewRect) override {}
    void UpdateView() override {}
    void SetCursor(int) override {}
    void MovePointer(Pair) override {}
    void StartTimer(ToolTimer, int) override {}
    void StopTimer(ToolTimer) override {}
    bool TimerRunning(ToolTimer) const override { return false; }
    void ToggleOverlay(OverlayKind, Rect) override {}
};

struct Program {
    QuietHost host;
    ProgramState state{host, host, host};
    StandardTools tools;
    NullOptionBarHost bar;
    ToolEngine engine{state, host, &tools.continuousFreehand};

    explicit Program(Pair size) {
        state.docs.CurrentDoc().MakeBlank(size, 0x000000);
        state.brush.SelectBuiltIn(BrushShape::Circular, 1, state.drawCol, state.backCol);
        engine.SetOptionBar(&bar);
    }
    Buffer& Image() { return state.docs.CurrentDoc().image; }
};

void SetRate(benchmark::State& state, int64_t pixels) {
    state.counters["Mpixel/s"] =
        benchmark::Counter(double(pixels) * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}

// Teeth one pixel wide on every other column, joined by the top row; the gaps between them are
// the background. Each tooth row is a span of one pixel.
void BM_WandComb(benchmark::State& state) {
    constexpr int N = 4096;
    Program p({N, N});
    Buffer& image = p.Image();
    for (int x = 0; x < N; x += 2) image.VLine(x, 0, N - 1, 0x336699);
    image.Box({0, 0, N - 1, 0}, 0x336699);
    p.tools.cutWand.tolerance = 0;
    for (auto _ : state) {
        p.engine.SelectTool(&p.tools.cutWand, false, -1);
        p.engine.StoreMouseCoords({10, 0}, {});
        p.engine.ShowBufMouseDown({10, 0}, ShiftState{.left = true});
        p.engine.ShowBufMouseUp();
        benchmark::DoNotOptimize(p.state.brush.source.pixels);
    }
    if (p.state.brush.source.Width() != N) state.SkipWithError("the wand missed the comb");
    SetRate(state, int64_t(N) * N);
}
BENCHMARK(BM_WandComb)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SelectAllOutline(benchmark::State& state) {
    constexpr int W = 4000, H = 3000;
    Program p({W, H});
    Buffer& image = p.Image();
    // A disc-like blob in colours, the rest background: the outline has a real edge to follow.
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const int64_t dx = x - W / 2, dy = y - H / 2;
            if (dx * dx + dy * dy < int64_t(H / 2 - 10) * (H / 2 - 10))
                image.At(x, y) = (uint32_t(x * 7 + y * 13) & 0xFFFFFF) | 0x010101;
        }
    for (auto _ : state) {
        brushmenu::SelectAll(p.engine, &p.tools.dottedFreehand);
        brushmenu::Outline(p.engine);
        benchmark::DoNotOptimize(p.state.brush.source.pixels);
    }
    SetRate(state, int64_t(W) * H);
}
BENCHMARK(BM_SelectAllOutline)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
