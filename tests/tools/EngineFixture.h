#pragma once

// A program state for the engine tests: a 40 x 30 patterned image, a line tool current.

#include "../document/FakeHost.h"
#include "FakeToolHost.h"
#include "tools/ToolEngine.h"

#include <gtest/gtest.h>

#include <vector>

// Draws a one-pixel line: the rubber band in the preview colour while it is being placed, the
// drawing colour on completion. Horizontal and vertical lines keep expectations easy to compute.
class TestLineTool : public PaintTool {
public:
    Pair first{0, 0};
    bool bandShown = false;
    Pair bandA, bandB;
    int clicks = 0, activations = 0, deactivations = 0;

    void ShowFeedback(ToolEngine& e) override {
        if (e.phase == 0) return;
        bandA = first;
        bandB = e.imagePos;
        e.WorkBuffer().Line(bandA, bandB, Pixel::Preview);
        bandShown = true;
    }
    void HideFeedback(ToolEngine&) override;
    void Click(ToolEngine& e) override {
        ++clicks;
        if (e.phase == 0) {
            first = e.imagePos;
            return;
        }
        e.WorkBuffer().Line(first, e.imagePos, e.drawCol);
        e.docs.CurrentDoc().AddChange();
    }
    void Activate(ToolEngine&) override { ++activations; }
    void Deactivate(ToolEngine&, PaintTool*) override { ++deactivations; }
};

inline void TestLineTool::HideFeedback(ToolEngine& e) {
    if (!bandShown) return;
    e.WorkBuffer().Line(bandA, bandB, Pixel::Preview);
    bandShown = false;
}

struct EngineTest : ::testing::Test {
    static constexpr int W = 40, H = 30;

    FakeHost host;
    FakeToolHost view;
    DocumentTable docs{host, host, host};
    TestLineTool line;
    ToolEngine engine{docs, view, host, &line};

    void SetUp() override {
        ASSERT_TRUE(docs.CurrentDoc().MakeBlank({W, H}));
        Buffer& img = Image();
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                img.At(x, y) = uint32_t((x * 7 + y * 13) * 0x010203) & 0xFFFFFF;
    }

    Buffer& Image() { return docs.CurrentDoc().image; }
    std::vector<uint32_t> Pixels() {
        std::vector<uint32_t> out;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) out.push_back(Image().At(x, y));
        return out;
    }

    void Move(int x, int y, ShiftState s = {}) { engine.StoreMouseCoords({x, y}, s); }
    void Press(int x, int y) { engine.ShowBufMouseDown({x, y}, ShiftState{.left = true}); }
    // A press held past the drag time.
    void Drag(Pair from, Pair to) {
        Move(from.x, from.y);
        Press(from.x, from.y);
        engine.DragIsSure();
        Move(to.x, to.y);
        engine.ShowBufMouseUp();
    }
};
