// The five cut tools, Select All and Crop driven through the engine's pointer events.
#include "ToolBench.h"
#include "tools/BrushMenu.h"
#include "tools/ScreenOverlays.h"

namespace {

using namespace bench;

// A 40 x 30 picture with the bench's pattern, a 3 x 3 built-in brush, the test line tool current.
struct CutTest : ToolBench {
    static constexpr uint32_t Draw = 0x2040E0, Back = 0x101010;

    CutTest() : ToolBench({40, 30}, Start::TestLine) {}
    void SetUp() override {
        ToolBench::SetUp();
        state.drawCol = Draw;
        state.backCol = Back;
        engine.SetOptionBar(&bar);
        UseBrush(1);
    }
    const Brush& B() const { return state.brush; }
    // Each opaque brush pixel is the picture's pixel under it, as cut from origin; returns how
    // many.
    int ExpectCutFrom(const std::vector<uint32_t>& picture) {
        int opaque = 0;
        for (int y = 0; y < B().source.Height(); ++y)
            for (int x = 0; x < B().source.Width(); ++x) {
                const uint32_t p = B().source.At(x, y);
                if (p == Pixel::Transparent) continue;
                ++opaque;
                const int ix = B().originX + x, iy = B().originY + y;
                EXPECT_EQ(p, picture[size_t(iy * W + ix)]) << Str({ix, iy});
                EXPECT_NE(p, B().keyColour) << Str({ix, iy});
            }
        return opaque;
    }
    // Pressed, held past the drag time, released where it was.
    void SlowClick(Pair p, bool right = false) {
        Press(p, right);
        engine.DragIsSure();
        Release();
    }
    void ExpectCutDone() {
        EXPECT_EQ(engine.CurrentTool(), &tools.dottedFreehand);
        EXPECT_EQ(host.panels[StatusPanel::Technique], "P");
        EXPECT_TRUE(B().custom);
        EXPECT_EQ(B().technique, Technique::Paint);
    }
};

TEST_F(CutTest, RightButtonRectangleLeavesAHoleAndATransparentBackground) {
    Image().Box({12, 8, 14, 9}, Back); // background inside the piece
    const auto before = Pixels();
    Use(tools.cutRectangle);
    Click({10, 6}, true);
    Click({19, 11}, true);
    ExpectCutDone();
    Leave();
    // The hole, and nothing else changed.
    std::vector<uint32_t> want = before;
    for (int y = 6; y <= 11; ++y)
        for (int x = 10; x <= 19; ++x) want[size_t(y * W + x)] = Back;
    EXPECT_TRUE(Same(Pixels(), want));
    EXPECT_EQ(Changes(), 1);
    ASSERT_EQ(B().source.Width(), 10);
    ASSERT_EQ(B().source.Height(), 6);
    EXPECT_EQ(B().keyColour, Back);
    EXPECT_EQ(B().source.At(3, 2), Pixel::Transparent);
    EXPECT_EQ(ExpectCutFrom(before), 60 - 6);
}

TEST_F(CutTest, RectanglesPastAnyEdgeAreClampedAndEmptyOnesIgnored) {
    struct Case {
        Pair from, to;
        Rect want; // empty: no cut
    };
    for (const Case& c :
         {Case{{30, 20}, {55, 44}, {30, 20, 39, 29}}, Case{{5, 4}, {-20, -9}, {0, 0, 5, 4}},
          Case{{0, 3}, {-1, 8}, {0, 3, 0, 8}}}) {
        SCOPED_TRACE(Str(c.to));
        Use(tools.cutRectangle);
        Press(c.from);
        engine.DragIsSure();
        Move(c.to);
        Release();
        ExpectCutDone();
        EXPECT_EQ((Rect{B().originX, B().originY, B().originX + B().source.Width() - 1,
                        B().originY + B().source.Height() - 1}),
                  c.want);
    }
    // A frame wholly off the picture cuts nothing: the old brush and the tool before.
    UseBrush(2);
    engine.SelectTool(&line, true, 0);
    tools.cutPredefined.width = 5;
    Use(tools.cutPredefined);
    engine.ShowBufMouseDown({-8, 3}, Button(false));
    EXPECT_EQ(engine.CurrentTool(), &line);
    EXPECT_FALSE(B().custom);
    EXPECT_EQ(B().source.Width(), 5);
}

TEST_F(CutTest, EveryCutEndsWithDottedFreehandAndPaint) {
    struct Case {
        const char* name;
        PaintTool* tool;
        std::function<void()> cut;
    };
    const Case cases[] = {
        {"rectangle", &tools.cutRectangle,
         [&] {
             Drag({{4, 4}, {9, 8}});
         }},
        {"predefined", &tools.cutPredefined,
         [&] {
             Click({4, 4});
         }},
        {"freehand", &tools.cutFreehand,
         [&] {
             Drag({{4, 4}, {12, 4}, {12, 10}, {4, 10}});
         }},
        {"polygon", &tools.cutPolygon,
         [&] {
             for (Pair p : {Pair{4, 4}, {24, 4}, {24, 20}, {4, 4}}) Click(p);
         }},
        {"wand", &tools.cutWand,
         [&] {
             Click({20, 20});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseBrush(1);
        Use(*c.tool);
        host.panels[StatusPanel::Technique] = "C";
        c.cut();
        ExpectCutDone();
        // The old brush comes back with Restore.
        ASSERT_TRUE(state.brush.Restore(Draw, Back));
        EXPECT_FALSE(B().custom);
    }
}

TEST_F(CutTest, LeftButtonMarkedCutsLeaveThePictureAsItWas) {
    struct Case {
        const char* name;
        PaintTool* tool;
        std::function<void()> cut;
    };
    const Case cases[] = {
        {"freehand", &tools.cutFreehand,
         [&] {
             Drag({{4, 4}, {16, 5}, {14, 13}, {5, 11}});
         }},
        {"freehand click", &tools.cutFreehand,
         [&] {
             Click({7, 7});
             Click({7, 7});
         }},
        {"polygon, slow clicks", &tools.cutPolygon,
         [&] {
             // Corners more than 10 pixels from the first, or they would close the polygon.
             for (Pair p : {Pair{4, 4}, {26, 5}, {26, 5}, {24, 23}, {5, 21}, {4, 4}}) SlowClick(p);
         }},
        {"wand, slow click", &tools.cutWand,
         [&] {
             SlowClick({7, 7});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = Pixels();
        const int changes = Changes();
        Use(*c.tool, {765});
        c.cut();
        ExpectCutDone();
        Leave();
        EXPECT_TRUE(Same(Pixels(), before));
        EXPECT_EQ(Changes(), changes);
        EXPECT_GT(ExpectCutFrom(before), 0);
    }
}

TEST_F(CutTest, RightButtonFreehandPaintsThePieceInTheBackground) {
    const auto before = Pixels();
    Use(tools.cutFreehand);
    Drag({{4, 4}, {16, 4}, {16, 12}, {4, 12}}, true);
    ExpectCutDone();
    Leave();
    EXPECT_EQ(Changes(), 1);
    // Brush pixels are the originals; the picture under each is background now.
    const int opaque = ExpectCutFrom(before);
    EXPECT_GT(opaque, 12 * 8);
    int holes = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const bool inBrush =
                x >= B().originX && y >= B().originY && x < B().originX + B().source.Width() &&
                y < B().originY + B().source.Height() &&
                B().source.At(x - B().originX, y - B().originY) != Pixel::Transparent;
            const uint32_t want = inBrush ? Back : before[size_t(y * W + x)];
            if (Image().At(x, y) == Back && inBrush) ++holes;
            ASSERT_EQ(Image().At(x, y), want) << Str({x, y});
        }
    EXPECT_EQ(holes, opaque);
}

TEST_F(CutTest, WandAtToleranceZeroTakesTheConnectedSeedColourOnly) {
    constexpr uint32_t C = 0x336699;
    Image().Box(Image().Bounds(), 0x000000);
    Image().Box({5, 5, 9, 9}, C);
    Image().Box({10, 5, 12, 6}, C + 1); // one step away: not taken
    Image().Box({14, 5, 16, 9}, C);     // the same colour, not connected
    Image().PutPixel({10, 10}, C);      // touches only at a corner
    Image().Box({7, 10, 7, 12}, C);     // connected below
    Use(tools.cutWand, {0});
    Click({6, 6});
    ExpectCutDone();
    ASSERT_EQ(B().source.Width(), 5);
    ASSERT_EQ(B().source.Height(), 8);
    EXPECT_EQ(B().originX, 5);
    EXPECT_EQ(B().originY, 5);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 5; ++x) {
            const bool in = y < 5 || x == 2;
            EXPECT_EQ(B().source.At(x, y), in ? C : Pixel::Transparent) << Str({x, y});
        }
}

TEST_F(CutTest, ACutWithNothingMarkedKeepsTheBrushAndThePicture) {
    // Clipping shows only the picture's left half; the outline lies wholly right of it.
    state.view.clipping = true;
    state.view.client = {20, 30};
    const auto before = Pixels();
    const Buffer old = B().source;
    Use(tools.cutPolygon);
    for (Pair p : {Pair{25, 5}, {35, 5}, {35, 15}, {25, 5}}) Click(p);
    EXPECT_EQ(engine.CurrentTool(), &line);
    EXPECT_FALSE(B().custom);
    EXPECT_EQ(B().source.Width(), old.Width());
    Leave();
    EXPECT_TRUE(Same(Pixels(), before));
}

TEST_F(CutTest, TheRectangleOverlayIsShownAndTakenAwayAgain) {
    ScreenOverlays shown;
    auto replay = [&] {
        for (const auto& [kind, r] : view.overlays) shown.Toggle(kind, r);
        view.overlays.clear();
    };
    const auto before = Pixels();
    Use(tools.cutRectangle);
    Move({3, 4});
    Click({3, 4});
    Move({10, 12});
    replay();
    ASSERT_EQ(shown.Figures().size(), 1u);
    EXPECT_EQ(shown.Figures()[0].image, (Rect{3, 4, 10, 12}));
    EXPECT_EQ(host.panels[StatusPanel::Measure], "[8,9]");
    Leave();
    replay();
    EXPECT_TRUE(shown.Empty());
    // The crosshair and the frame never stay in the picture.
    EXPECT_TRUE(Same(Pixels(), before));
}

TEST_F(CutTest, PredefinedSizeStaysWithinOneAndThePicture) {
    Use(tools.cutPredefined);
    Move({5, 5});
    CutPredefinedTool& cut = tools.cutPredefined;
    bar.Change(1, 1e12);
    bar.Change(2, -7);
    EXPECT_EQ(cut.width, W);
    EXPECT_EQ(cut.height, 1);
    bar.Change(1, 8);
    bar.Change(2, 4); // aspect 1/2
    using K = CutPredefinedTool::SizeKey;
    EXPECT_TRUE(cut.SizeKeyPressed(engine, K::Grow));
    EXPECT_EQ(cut.width, 9);
    EXPECT_EQ(cut.height, 5); // trunc(9 * 0.5 + 0.5)
    // Down to 2 x 1 keeping the aspect, and no further.
    for (int i = 0; i < 20; ++i) cut.SizeKeyPressed(engine, K::Shrink);
    EXPECT_EQ(cut.width, 2);
    EXPECT_EQ(cut.height, 1);
    EXPECT_FALSE(cut.SizeKeyPressed(engine, K::HeightLess));
    bar.Change(1, 10);
    bar.Change(2, 20);
    bar.handlers[3](); // double the area: each side times the root of two
    EXPECT_EQ(cut.width, 14);
    EXPECT_EQ(cut.height, 28);
    EXPECT_EQ(bar.values[2], 28);
    // The frame shows what a press would cut: it stops at the picture's edges.
    Move({36, 27});
    ASSERT_FALSE(view.overlays.empty());
    EXPECT_EQ(view.overlays.back().second, (Rect{36, 27, 39, 29}));
    // The keys act only over the picture.
    Leave();
    EXPECT_FALSE(cut.SizeKeyPressed(engine, K::WidthMore));
}

TEST_F(CutTest, RightBottomHandlePutsThePointerOnTheLastPixel) {
    state.brush.handle = 3;
    Use(tools.cutRectangle);
    Click({6, 7});
    Click({13, 11});
    ExpectCutDone();
    ASSERT_FALSE(view.pointerMoves.empty());
    EXPECT_EQ(view.pointerMoves.back(), (Pair{13, 11}));
    // The preview at the pointer covers the cut area exactly.
    EXPECT_EQ(B().StampRect(engine.Position()), (Rect{6, 7, 13, 11}));
    brushmenu::SetHandle(engine, 1);
    EXPECT_EQ(B().StampRect(engine.Position()), (Rect{13, 11, 20, 15}));
}

TEST_F(CutTest, SelectAllThenCropGivesThePictureBack) {
    Image().Box({0, 0, W - 1, 0}, Back); // a background top row is trimmed away
    const auto before = Pixels();
    brushmenu::SelectAll(engine, &tools.dottedFreehand);
    ExpectCutDone();
    EXPECT_EQ(B().handle, 0);
    ASSERT_EQ(B().source.Width(), W);
    ASSERT_EQ(B().source.Height(), H - 1);
    EXPECT_EQ(B().originY, 1); // the origin follows the trim
    EXPECT_EQ(B().source.At(0, 0), before[size_t(W)]);

    Image().Box(Image().Bounds(), 0x777777);
    const auto size = brushmenu::Crop(engine);
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(*size, (Pair{W, H - 1}));
    ASSERT_EQ(Image().Height(), H - 1);
    for (int y = 0; y < H - 1; ++y)
        for (int x = 0; x < W; ++x) {
            // Transparent brush pixels come back in the key colour, the background.
            ASSERT_EQ(Image().At(x, y), before[size_t((y + 1) * W + x)]) << Str({x, y});
        }
    EXPECT_EQ(Changes(), 1);
    ASSERT_TRUE(docs.ExchangeWithUndo(docs.CurrentDoc()));
    EXPECT_EQ(Image().Height(), H);
}

TEST_F(CutTest, OutlineKeepsTheBrushOverTheSamePixels) {
    Use(tools.cutRectangle);
    Click({10, 10});
    Click({13, 12});
    for (int handle : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE(handle);
        brushmenu::SetHandle(engine, handle);
        const Rect before = B().StampRect(engine.Position());
        ASSERT_TRUE(brushmenu::Outline(engine));
        const Rect after = B().StampRect(engine.Position());
        EXPECT_EQ(after,
                  (Rect{before.left - 1, before.top - 1, before.right + 1, before.bottom + 1}));
        EXPECT_EQ(B().source.At(B().source.Width() / 2, 0), Draw);
    }
}

} // namespace
