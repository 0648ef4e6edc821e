// Get Color, Change Color and Clone through the engine.
#include "ToolBench.h"

#include "raster/ColourChange.h"

#include <algorithm>

namespace {

using namespace bench;

// A 160 x 100 patterned picture, a 1 x 1 brush.
struct PickTest : ToolBench {
    PickTest() : ToolBench({160, 100}, Start::TestLine) {}
    void SetUp() override {
        ToolBench::SetUp();
        engine.SetOptionBar(&bar);
        UseBrush(0);
    }
    int Count(uint32_t colour) {
        const auto px = Pixels();
        return int(std::count(px.begin(), px.end(), colour));
    }
    // Every overlay figure toggled an even number of times, i.e. none left on the screen.
    bool NoOverlayLeft() const {
        for (const auto& o : view.overlays)
            if (std::count(view.overlays.begin(), view.overlays.end(), o) % 2) return false;
        return true;
    }
};

TEST_F(PickTest, GetColorTakesTheColourBitsIntoTheButtonsSwatch) {
    Image().At(5, 6) = 0x01123456; // carries the fill mark
    Use(tools.singleLine);
    Use(tools.getColour);
    Move({5, 6});
    EXPECT_EQ(host.panels[StatusPanel::Measure], "[18,52,86]");
    Click({5, 6}, true);
    EXPECT_EQ(state.backCol, 0x123456u);
    EXPECT_EQ(state.drawCol, 0xFFFFFFu);
    EXPECT_EQ(engine.CurrentTool(), &tools.singleLine);
}

TEST_F(PickTest, ChangeColorTolerance) {
    Image().At(3, 3) = 0x102030;
    Image().At(150, 90) = 0x102030;
    Image().At(80, 50) = 0x102031;
    state.drawCol = 0xABCDEF;
    for (const auto& [tolerance, changed] :
         {std::pair{0, 2}, {1, 3}, {765, 160 * 100}, {9999, 160 * 100}}) {
        SCOPED_TRACE(tolerance);
        Image().Box(Image().Bounds(), 0x500000);
        Image().At(3, 3) = Image().At(150, 90) = 0x102030;
        Image().At(80, 50) = 0x102031;
        Use(tools.changeColour, {double(tolerance)});
        Click({3, 3});
        EXPECT_EQ(Count(0xABCDEF), changed);
    }
    EXPECT_EQ(Changes(), 4);
}

TEST_F(PickTest, ChangeColorWithClippingKeepsTheHiddenPart) {
    Image().Box(Image().Bounds(), 0x123456);
    state.view.clipping = true;
    state.view.scroll = {10, 5};
    state.view.client = {20, 15};
    Use(tools.changeColour, {0});
    Click({15, 10});
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(Image().At(x, y),
                      x >= 10 && x < 30 && y >= 5 && y < 20 ? 0xFFFFFFu : 0x123456u)
                << Str({x, y});
}

TEST_F(PickTest, CloneWithoutASourceChangesNothingAndKeepsTheUndoCopy) {
    Use(tools.circle);
    Drag({{40, 40}, {50, 40}}); // a real action: its undo copy must stay
    Leave();
    const auto undo = Snapshot(docs.UndoDoc().image);
    const auto drawn = Pixels();
    Use(tools.clone);
    Drag({{10, 10}, {40, 30}, {60, 30}});
    Leave();
    EXPECT_TRUE(Same(Pixels(), drawn));
    EXPECT_TRUE(Same(Snapshot(docs.UndoDoc().image), undo));
    EXPECT_FALSE(Same(undo, drawn));
}

TEST_F(PickTest, SourceClickFixesTheOffsetAtTheNextPress) {
    const auto original = Pixels();
    Use(tools.clone);
    for (ShiftState keys :
         {ShiftState{.alt = true, .left = true}, ShiftState{.ctrl = true, .left = true}}) {
        tools.clone.at = {0, 0};
        Move({100, 50});
        engine.ShowBufMouseDown(ToView({100, 50}), keys);
        Release();
        EXPECT_TRUE(tools.clone.pending);
        EXPECT_EQ(Changes(), 0);
        EXPECT_TRUE(docs.UndoDoc().image.Empty()) << "the source click took an undo copy";
    }
    Move({10, 10});
    EXPECT_EQ(host.panels[StatusPanel::Measure], "[90,40]");
    Drag({{10, 10}, {20, 20}});
    Leave();
    EXPECT_EQ(tools.clone.at, (Pair{90, 40}));
    EXPECT_EQ(Image().At(20, 20), original[size_t(60 * W + 110)]);
    EXPECT_EQ(Changes(), 1);
    Use(tools.continuousFreehand);
    EXPECT_TRUE(NoOverlayLeft());
    EXPECT_EQ(view.overlays.front(), (std::pair{OverlayKind::Marker, Rect{100, 50, 100, 50}}));
}

TEST_F(PickTest, SourcesOutsideTheBufferTakeTheNearestEdgePixel) {
    // The picture itself, and a source of another size (an undo copy of another picture).
    const auto original = Pixels();
    tools.clone.at = {W, -H};
    Use(tools.clone);
    Click({30, 40});
    Leave();
    EXPECT_EQ(Image().At(30, 40), original[size_t(W - 1)]);
    Buffer small;
    ASSERT_TRUE(small.Alloc({3, 2}));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) small.At(x, y) = uint32_t(0x10 * (y * 3 + x + 1));
    clonestamp::Stamp(Image(), small, state.brush, {50, 50}, {1, -60});
    EXPECT_EQ(Image().At(50, 50), 0x30u);
}

TEST_F(PickTest, FromUndoCopyNeverRereadsTheStroke) {
    // Source 4 pixels to the left: reading the picture repeats what the stroke painted; reading
    // the undo copy copies the row as it was.
    for (bool fromUndo : {false, true}) {
        SCOPED_TRACE(fromUndo);
        SetUp();
        const auto original = Pixels();
        tools.clone.at = {-4, 0};
        Use(tools.clone, {fromUndo ? 1.0 : 0.0});
        Points path;
        for (int x = 20; x <= 40; ++x) path.push_back({x, 30});
        Drag(path);
        Leave();
        for (int x = 20; x <= 40; ++x) {
            const int from = fromUndo ? x - 4 : 16 + (x - 20) % 4;
            ASSERT_EQ(Image().At(x, 30), original[size_t(30 * W + from)]) << x;
        }
    }
}

} // namespace
