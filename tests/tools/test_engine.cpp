#include "ToolBench.h"

namespace {

using namespace bench;

// A 40 x 30 patterned picture with the one-pixel test line current.
struct EngineTest : ToolBench {
    EngineTest() : ToolBench({40, 30}, Start::TestLine) {}
    // Expected image: the original with a horizontal run set to colour.
    std::vector<uint32_t> WithRow(std::vector<uint32_t> px, int y, int x1, int x2,
                                  uint32_t colour) const {
        for (int x = x1; x <= x2; ++x) px[size_t(y * W + x)] = colour;
        return px;
    }
};

TEST_F(EngineTest, HeldPressDrawsFromPressToRelease) {
    const auto before = Pixels();
    MoveView(5, 10);
    PressView(5, 10);
    EXPECT_EQ(engine.Phase(), 3);
    EXPECT_TRUE(view.running[0]);
    EXPECT_EQ(view.startedWith[0], 300);
    engine.DragIsSure(); // the press outlived the drag time
    EXPECT_FALSE(view.running[0]);
    MoveView(12, 10);
    // While dragging the band is in the image as an exclusive-or of the preview grey.
    for (int x = 5; x <= 12; ++x)
        EXPECT_EQ(Image().At(x, 10), before[size_t(10 * W + x)] ^ kXorGrey);
    engine.ShowBufMouseUp();
    EXPECT_EQ(engine.Phase(), 0);
    EXPECT_EQ(Pixels(), WithRow(before, 10, 5, 12, 0xFFFFFF));
    EXPECT_EQ(docs.CurrentDoc().changeCount, 1);
    // The undo copy holds the image as it was at the press.
    Buffer& undo = docs.UndoDoc().image;
    ASSERT_FALSE(undo.Empty());
    for (int x = 5; x <= 12; ++x) EXPECT_EQ(undo.At(x, 10), before[size_t(10 * W + x)]);
}

TEST_F(EngineTest, QuickClickStartsALineThatEndsAtTheNextPress) {
    const auto before = Pixels();
    MoveView(3, 4);
    PressView(3, 4);
    engine.ShowBufMouseUp(); // timer never fired: a click
    EXPECT_FALSE(view.running[0]);
    EXPECT_EQ(engine.Phase(), 1);
    EXPECT_EQ(docs.CurrentDoc().changeCount, 0);
    MoveView(3, 9);
    for (int y = 3; y <= 9; ++y) {
        const uint32_t orig = before[size_t(y * W + 3)];
        EXPECT_EQ(Image().At(3, y), y >= 4 ? orig ^ kXorGrey : orig) << y;
    }
    PressView(3, 9);
    engine.ShowBufMouseUp();
    EXPECT_EQ(engine.Phase(), 0);
    auto expected = before;
    for (int y = 4; y <= 9; ++y) expected[size_t(y * W + 3)] = 0xFFFFFF;
    EXPECT_EQ(Pixels(), expected);
    EXPECT_EQ(docs.CurrentDoc().changeCount, 1);
    // The second press completed the action, so it took no new undo copy.
    EXPECT_EQ(docs.UndoDoc().image.At(3, 9), before[size_t(9 * W + 3)]);
}

TEST_F(EngineTest, ChangeCountRisesOncePerCompletedAction) {
    for (int i = 1; i <= 3; ++i) {
        DragView({1, i}, {8, i});
        EXPECT_EQ(docs.CurrentDoc().changeCount, i);
    }
    // A started but unfinished line does not count.
    MoveView(1, 20);
    PressView(1, 20);
    engine.ShowBufMouseUp();
    EXPECT_EQ(docs.CurrentDoc().changeCount, 3);
}

TEST_F(EngineTest, FeedbackShownThenHiddenLeavesImageIdentical) {
    const auto before = Pixels();
    MoveView(2, 2);
    PressView(2, 2);
    engine.ShowBufMouseUp();
    for (Pair p : {Pair{30, 2}, Pair{30, 25}, Pair{2, 25}, Pair{0, 0}}) {
        MoveView(p.x, p.y);
        EXPECT_NE(Pixels(), before);
    }
    engine.ClearMouseCoords();
    EXPECT_EQ(Pixels(), before);
    EXPECT_TRUE(engine.Outside());
    EXPECT_EQ(engine.Position(), (Pair{-1, -1}));
    for (int panel = 2; panel <= 4; ++panel) EXPECT_TRUE(host.panels[size_t(panel)].isEmpty());
    // Moves outside the image neither show nor hide anything.
    MoveView(W + 5, 3);
    EXPECT_EQ(Pixels(), before);
    EXPECT_TRUE(engine.Outside());
}

TEST_F(EngineTest, BrushPreviewRestoresPixelsAndClipsAtEdges) {
    Buffer stamp;
    ASSERT_TRUE(stamp.Alloc({3, 3}));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) stamp.At(x, y) = (x + y) % 2 ? Pixel::Transparent : 0x123456;
    engine.hooks.stampBrush = [&](Pair& handle) {
        handle = {1, 1};
        return &stamp;
    };
    const auto before = Pixels();
    engine.SetGridOrigin(); // a tool that shows the brush preview
    for (Pair p : {Pair{10, 10}, Pair{0, 0}, Pair{W - 1, H - 1}, Pair{W - 1, 0}}) {
        MoveView(p.x, p.y);
        ASSERT_TRUE(engine.BrushPreviewShown());
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int x = p.x + dx, y = p.y + dy;
                if (x < 0 || y < 0 || x >= W || y >= H) continue;
                const uint32_t want = (dx + dy) % 2 ? before[size_t(y * W + x)] : 0x123456;
                EXPECT_EQ(Image().At(x, y), want) << x << "," << y;
            }
    }
    EXPECT_GT(view.updates, 0);
    engine.ClearMouseCoords();
    EXPECT_FALSE(engine.BrushPreviewShown());
    EXPECT_EQ(Pixels(), before);
}

TEST_F(EngineTest, BrushPreviewHiddenAfterScrollingStillRestores) {
    Buffer stamp;
    ASSERT_TRUE(stamp.Alloc({5, 5}));
    stamp.Box(stamp.Bounds(), 0xABCDEF);
    engine.hooks.stampBrush = [&](Pair& handle) {
        handle = {0, 0};
        return &stamp;
    };
    state.view.clipping = true;
    state.view.client = {20, H}; // x 0..19 visible
    const auto before = Pixels();
    engine.SetGridOrigin();
    MoveView(8, 8);
    ASSERT_EQ(Image().At(8, 8), 0xABCDEFu);
    state.view.scroll = {20, 0}; // the preview is now outside the visible part
    engine.HideBrushPreview();
    EXPECT_EQ(Pixels(), before);
}

TEST_F(EngineTest, CrosshairDrawnTwiceRestoresAndCoversRowAndColumn) {
    const auto before = Pixels();
    engine.ToggleCrosshair({7, 5});
    int changed = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const bool on = x == 7 || y == 5;
            const uint32_t orig = before[size_t(y * W + x)];
            EXPECT_EQ(Image().At(x, y), on ? orig ^ kXorGrey : orig);
            changed += on;
        }
    EXPECT_EQ(changed, W + H - 1);
    engine.ToggleCrosshair({7, 5});
    EXPECT_EQ(Pixels(), before);
}

TEST_F(EngineTest, ShiftLocksAxisAfterMoreThanFourViewPixels) {
    MoveView(10, 10);
    engine.ShiftPressed();
    MoveView(10, 10); // anchor
    EXPECT_EQ(engine.AxisLock(), ToolEngine::LockArmed);
    MoveView(14, 10); // exactly 4: not yet
    EXPECT_EQ(engine.AxisLock(), ToolEngine::LockArmed);
    MoveView(15, 12); // 5 right, 2 down: horizontal from the next event on
    EXPECT_EQ(engine.Position(), (Pair{15, 12}));
    EXPECT_EQ(engine.AxisLock(), ToolEngine::LockHorizontal);
    MoveView(20, 17);
    EXPECT_EQ(engine.Position(), (Pair{20, 10}));
    engine.KeyReleased();
    MoveView(21, 17);
    EXPECT_EQ(engine.Position(), (Pair{21, 17}));
    EXPECT_EQ(engine.AxisLock(), ToolEngine::LockOff);

    // Vertical, and a diagonal tie that never locks.
    engine.ShiftPressed();
    MoveView(10, 10);
    MoveView(15, 15);
    EXPECT_EQ(engine.AxisLock(), ToolEngine::LockArmed);
    MoveView(11, 3);
    MoveView(17, 20);
    EXPECT_EQ(engine.Position(), (Pair{10, 20}));
}

TEST_F(EngineTest, AxisThresholdIsInViewPixelsAndShiftNeedsThePointerInside) {
    state.view.zoom = {2, 1};
    engine.ShiftPressed(); // pointer not over the image yet: not armed
    MoveView(20, 20);
    EXPECT_EQ(engine.AxisLock(), ToolEngine::LockOff);
    engine.ShiftPressed();
    MoveView(20, 20);
    MoveView(25, 21); // 2.5 image pixels but 5 view pixels
    EXPECT_EQ(engine.AxisLock(), ToolEngine::LockHorizontal);
    MoveView(40, 30);
    EXPECT_EQ(engine.Position(), (Pair{20, 10}));
}

TEST_F(EngineTest, ImmediateToolRunsAndKeepsCurrentTool) {
    engine.SelectTool(&line, true, 2);
    const int activations = line.activations;
    state.backCol = 0x00AA00;
    docs.CurrentDoc().untitled = false;
    docs.CurrentDoc().fileName = "/tmp/a.png";
    engine.SelectTool(&engine.clearTool, true, 7);
    EXPECT_EQ(engine.CurrentTool(), &line);
    EXPECT_EQ(engine.PreviousTool(), &line);
    EXPECT_EQ(engine.PreviousVariant(), 2);
    EXPECT_EQ(line.activations, activations + 1);
    EXPECT_EQ(Pixels(), std::vector<uint32_t>(size_t(W * H), 0x00AA00u));
    EXPECT_TRUE(docs.CurrentDoc().untitled);
    EXPECT_TRUE(docs.CurrentDoc().fileName.isEmpty());
    EXPECT_EQ(docs.CurrentDoc().changeCount, 1);
    EXPECT_EQ(host.panels[0], "[1] Untitled");
}

TEST_F(EngineTest, PendingToolTakesOverFromACommand) {
    TestLineTool other;
    engine.SetPendingTool(&other);
    engine.SelectTool(&engine.clearTool, true, 0);
    EXPECT_EQ(engine.CurrentTool(), &other);
    EXPECT_EQ(engine.PendingTool(), nullptr);
    EXPECT_EQ(engine.PreviousVariant(), -1);
}

TEST_F(EngineTest, OneShotToolReturnsToPreviousToolAndVariant) {
    std::vector<std::pair<PaintTool*, int>> shown;
    engine.hooks.showInPalette = [&](PaintTool* t, int v) { shown.emplace_back(t, v); };
    engine.SelectTool(&line, true, 3);
    engine.SetGridOrigin();
    EXPECT_EQ(engine.CurrentTool(), &engine.gridOriginTool);
    EXPECT_EQ(engine.PreviousTool(), &line);
    MoveView(9, 6);
    PressView(9, 6);
    EXPECT_EQ(state.grid.px, 9);
    EXPECT_EQ(state.grid.py, 6);
    EXPECT_EQ(engine.CurrentTool(), &line);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), (std::pair<PaintTool*, int>{&line, 3}));
    // The origin tool neither took an undo copy nor changed the image.
    EXPECT_FALSE(docs.UndoDoc().HasPixels());
    EXPECT_EQ(docs.CurrentDoc().changeCount, 0);
}

// A two-phase one-shot tool, finished by the release of a drag.
class OneShotDragTool : public TestLineTool {
public:
    OneShotDragTool() { flags = OneShot; }
};

TEST_F(EngineTest, OneShotDragToolReturnsAfterTheRelease) {
    OneShotDragTool cut;
    engine.SelectTool(&cut, true, -1);
    DragView({2, 2}, {9, 2});
    EXPECT_EQ(engine.CurrentTool(), &line);
    EXPECT_EQ(engine.Phase(), 0);
    EXPECT_EQ(cut.clicks, 2);
}

// Hands over to another tool during its press, as a finished cut does.
class HandOverTool : public PaintTool {
public:
    PaintTool* next = nullptr;
    void Click(ToolContext& c) override { c.SelectTool(next, false, -1); }
};

TEST_F(EngineTest, ToolReplacedDuringClickStopsThePhaseLogic) {
    HandOverTool handOver;
    handOver.next = &line;
    engine.SelectTool(&handOver, true, 0);
    MoveView(4, 4);
    PressView(4, 4);
    EXPECT_EQ(engine.CurrentTool(), &line);
    EXPECT_EQ(engine.Phase(), 0);
    EXPECT_FALSE(view.running[0]);
    EXPECT_EQ(line.clicks, 0);
}

TEST_F(EngineTest, UndoTwiceIsTheIdentityAndFollowsTheCountRule) {
    const auto original = Pixels();
    DragView({0, 3}, {20, 3});
    const auto drawn = Pixels();
    ASSERT_NE(drawn, original);
    ASSERT_EQ(docs.CurrentDoc().changeCount, 1);
    Image().At(1, 1) |= Pixel::EdgeMark; // marks never survive an undo
    engine.SelectTool(&engine.undoTool, true, -1);
    EXPECT_EQ(Pixels(), original);
    EXPECT_EQ(docs.CurrentDoc().changeCount, 0); // 0 stays 0
    engine.SelectTool(&engine.undoTool, true, -1);
    EXPECT_EQ(Pixels(), drawn);
    EXPECT_EQ(docs.CurrentDoc().changeCount, 0); // 1 xor 1
    EXPECT_EQ(engine.CurrentTool(), &line);

    // From a count of 4: the stroke makes 5, undo brings back 4 and flips it to 5.
    docs.CurrentDoc().changeCount = 4;
    DragView({0, 7}, {5, 7});
    engine.SelectTool(&engine.undoTool, true, -1);
    EXPECT_EQ(docs.CurrentDoc().changeCount, 5);
    EXPECT_EQ(docs.UndoDoc().changeCount, 5);
}

TEST_F(EngineTest, UndoHidesTheRubberBandBeforeSwapping) {
    DragView({0, 3}, {20, 3});
    const auto drawn = Pixels();
    MoveView(5, 5);
    PressView(5, 5); // starts a line: the undo copy is now the drawn image
    engine.ShowBufMouseUp();
    MoveView(5, 15); // a band on screen
    engine.SelectTool(&engine.undoTool, true, -1);
    // Neither side of the swap may keep the band.
    EXPECT_EQ(Pixels(), drawn);
    EXPECT_EQ(engine.Phase(), 0);
    const Buffer& undo = docs.UndoDoc().image;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) ASSERT_EQ(undo.At(x, y), drawn[size_t(y * W + x)]);
}

TEST_F(EngineTest, UndoWithoutUndoCopyDoesNothing) {
    const auto before = Pixels();
    docs.CurrentDoc().changeCount = 3;
    engine.SelectTool(&engine.undoTool, true, -1);
    EXPECT_EQ(Pixels(), before);
    EXPECT_EQ(docs.CurrentDoc().changeCount, 3);
}

TEST_F(EngineTest, GridToggleSnapsDrawingToolsOnly) {
    std::vector<std::pair<PaintTool*, bool>> buttons;
    std::vector<bool> bars;
    engine.hooks.setPaletteButton = [&](PaintTool* t, bool down) { buttons.emplace_back(t, down); };
    engine.hooks.showGridBar = [&](bool on) { bars.push_back(on); };
    state.grid.SetSpacing(8, 8);
    state.grid.SetOrigin(3, 0);
    MoveView(5, 5);
    engine.SelectTool(&engine.gridTool, true, -1);
    EXPECT_TRUE(state.gridOn);
    EXPECT_EQ(engine.CurrentTool(), &line);
    EXPECT_EQ(view.pointerMoves.size(), 1u); // pointer moved so its event snaps
    MoveView(6, 6);
    EXPECT_EQ(engine.Position(), (Pair{3, 8}));
    MoveView(7, 3);
    EXPECT_EQ(engine.Position(), (Pair{11, 0}));

    HandOverTool fill; // a tool without snapping
    fill.snapToGrid = false;
    engine.SelectTool(&fill, true, 0);
    MoveView(6, 6);
    EXPECT_EQ(engine.Position(), (Pair{6, 6}));

    engine.SelectTool(&line, true, 0);
    engine.SelectTool(&engine.gridTool, true, -1);
    EXPECT_FALSE(state.gridOn);
    MoveView(6, 6);
    EXPECT_EQ(engine.Position(), (Pair{6, 6}));
    const std::vector<std::pair<PaintTool*, bool>> wantButtons{{&engine.gridTool, true},
                                                               {&engine.gridTool, false}};
    EXPECT_EQ(buttons, wantButtons);
    EXPECT_EQ(bars, (std::vector<bool>{true, false}));
}

TEST_F(EngineTest, InvalidationConvertsWithTheZoom) {
    state.view.zoom = {2, 1};
    engine.InvalidateImageRect(5, 6, 2, 3);
    ASSERT_EQ(view.invalidated.size(), 1u);
    EXPECT_EQ(view.invalidated[0], (ViewRect{3, 5, 11, 13}));
    state.view.zoom = {1, 2};
    engine.InvalidateImageRect(3, 3, 7, 6);
    // 3 * 0.5 - 1 = 0.5 and 7 * 0.5 + 1 = 4.5, both truncated.
    EXPECT_EQ(view.invalidated[1], (ViewRect{0, 0, 4, 4}));
}

TEST_F(EngineTest, MovePointerIsClampedToTheVisiblePart) {
    state.view.zoom = {2, 1};
    state.view.scroll = {10, 0};
    state.view.client = {20, 10}; // image x 5..14, y 0..4 visible
    engine.MovePointerToImage({100, -3});
    EXPECT_EQ(engine.Position(), (Pair{14, 0}));
    ASSERT_EQ(view.pointerMoves.size(), 1u);
    EXPECT_EQ(view.pointerMoves[0], (Pair{28, 0}));
    engine.MovePointerToImage({0, 3});
    EXPECT_EQ(engine.Position(), (Pair{5, 3}));
}

TEST_F(EngineTest, ClippedWorkBufferKeepsToolsInsideTheVisiblePart) {
    const auto before = Pixels();
    state.view.clipping = true;
    state.view.client = {10, 30}; // only x 0..9 visible at 1:1
    DragView({2, 4}, {30, 4});
    EXPECT_EQ(Pixels(), WithRow(before, 4, 2, 9, 0xFFFFFF));
}

TEST_F(EngineTest, StatusPanelsShowPositionAndToolText) {
    line.statusText = "LnEnd";
    line.cursor = 5;
    MoveView(12, 7);
    EXPECT_EQ(host.panels[2], "12,7");
    EXPECT_EQ(host.panels[4], "LnEnd");
    EXPECT_EQ(view.cursor, 5);
    host.panels[3] = "size";
    engine.SelectTool(&line, true, 0);
    EXPECT_TRUE(host.panels[3].isEmpty());
    // With the pointer over the image it is put back there, so its event re-applies snapping.
    ASSERT_EQ(view.pointerMoves.size(), 1u);
    EXPECT_EQ(view.pointerMoves[0], (Pair{12, 7}));
}

TEST_F(EngineTest, RepaintOnlyWhileScreenFeedbackIsMarked) {
    struct Counting : PaintTool {
        int repaints = 0;
        void Repaint(ToolContext&) override { ++repaints; }
    } tool;
    engine.SelectTool(&tool, true, 0);
    engine.ShowBufPaint();
    EXPECT_EQ(tool.repaints, 0);
    engine.SetScreenFeedback(true);
    engine.ShowBufPaint();
    EXPECT_EQ(tool.repaints, 1);
}

TEST_F(EngineTest, ActivityTickOnlyWhileInsideTheImage) {
    int ticks = 0;
    engine.hooks.activityTick = [&](PaintTool* t) { ticks += t == &line; };
    engine.ActivateIconFunc();
    EXPECT_EQ(ticks, 0);
    MoveView(3, 3);
    engine.ActivateIconFunc();
    EXPECT_EQ(ticks, 1);
}

} // namespace
