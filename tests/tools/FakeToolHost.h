#pragma once

// Records what the engine asks of the view; the timers only run until a test fires them.

#include "tools/ToolHost.h"

#include <array>
#include <vector>

class FakeToolHost : public ToolHost {
public:
    std::vector<ViewRect> invalidated;
    int updates = 0;
    int cursor = -1;
    std::vector<Pair> pointerMoves;
    std::array<bool, 2> running{};
    std::array<int, 2> startedWith{};
    std::vector<std::pair<OverlayKind, Rect>> overlays;

    void InvalidateView(ViewRect r) override { invalidated.push_back(r); }
    void UpdateView() override { ++updates; }
    void SetCursor(int c) override { cursor = c; }
    void MovePointer(Pair view) override { pointerMoves.push_back(view); }
    void StartTimer(ToolTimer t, int ms) override {
        running[Index(t)] = true;
        startedWith[Index(t)] = ms;
    }
    void StopTimer(ToolTimer t) override { running[Index(t)] = false; }
    bool TimerRunning(ToolTimer t) const override { return running[Index(t)]; }
    void ToggleOverlay(OverlayKind kind, Rect r) override { overlays.emplace_back(kind, r); }

private:
    static size_t Index(ToolTimer t) { return t == ToolTimer::Drag ? 0 : 1; }
};
