// Fills, boxes and ellipses driven through the engine's pointer events.
#include "ToolBench.h"
#include "brush/StampLine.h"
#include "tools/FigureSink.h"
#include "tools/FillApply.h"
#include "tools/ShapeGeometry.h"

namespace {

using namespace bench;

// A 60 x 40 picture, a 1 x 1 brush, the test line tool current.
struct FillShapeTest : ToolBench {
    static constexpr uint32_t Draw = 0x2040E0, Back = 0xE0A010, A = 0x102030;

    FillShapeTest() : ToolBench({60, 40}, Start::TestLine) {}
    void SetUp() override {
        ToolBench::SetUp();
        state.drawCol = Draw;
        state.backCol = Back;
        engine.SetOptionBar(&bar);
        UseBrush(0);
    }
    // Left half A, right half one step of blue away from it.
    void TwoHalves() {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) Image().At(x, y) = x < W / 2 ? A : A + 1;
    }
    int Count(uint32_t colour) {
        const auto px = Pixels();
        return int(std::count(px.begin(), px.end(), colour));
    }
    testing::AssertionResult NoMarks() {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (Image().At(x, y) & fill::BothMarks)
                    return testing::AssertionFailure() << "mark at " << Str({x, y});
        return testing::AssertionSuccess();
    }
    // A custom brush cut from the picture's rectangle r.
    void CutBrush(Rect r) {
        Buffer view(Image(), r);
        ASSERT_TRUE(state.brush.SetCustom(view, {.origin = {r.left, r.top}}, Draw, Back));
    }
};

TEST_F(FillShapeTest, ToleranceThroughTheTool) {
    // Above 765 the bar's value is clamped: every colour is within reach.
    for (const auto& [tolerance, filled] :
         {std::pair{0, 30 * 40}, {765, 60 * 40}, {5000, 60 * 40}}) {
        SCOPED_TRACE(tolerance);
        TwoHalves();
        Use(tools.solidFill, {double(tolerance)});
        Click({3, 3});
        EXPECT_EQ(Count(Draw), filled);
        EXPECT_TRUE(NoMarks());
    }
}

TEST_F(FillShapeTest, ClippedFillStopsAtTheVisibleEdge) {
    Image().Box(Image().Bounds(), A);
    state.view.clipping = true;
    state.view.scroll = {10, 5};
    state.view.client = {20, 15};
    Use(tools.solidFill);
    Click({15, 10});
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(Image().At(x, y), x >= 10 && x < 30 && y >= 5 && y < 20 ? Draw : A)
                << Str({x, y});
}

TEST_F(FillShapeTest, PatternModeOneReproducesTheSourceArea) {
    const auto original = Pixels();
    CutBrush({7, 4, 13, 9});
    Image().Box(Image().Bounds(), A);
    Use(tools.patternFill);
    bar.Change(4, 1);
    Click({30, 20});
    for (int y = 4; y <= 9; ++y)
        for (int x = 7; x <= 13; ++x)
            ASSERT_EQ(Image().At(x, y), original[size_t(y * W + x)]) << Str({x, y});
    EXPECT_TRUE(NoMarks());
}

TEST_F(FillShapeTest, SquareDraggedTo13_20IsDrawnTo20_20) {
    Use(tools.filledSquare);
    Drag({{10, 10}, {13, 20}});
    Leave();
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (x >= 10 && x <= 20 && y >= 10 && y <= 20) {
                ASSERT_EQ(Image().At(x, y), Draw);
            }
    EXPECT_EQ(Count(Draw), 11 * 11);
    EXPECT_EQ(Changes(), 1);
}

TEST_F(FillShapeTest, RightButtonFilledShapesTakeTheBackgroundColour) {
    for (PaintTool* tool : std::initializer_list<PaintTool*>{
             &tools.filledRectangle, &tools.filledCircle, &tools.filledEllipse}) {
        SetUp();
        Use(*tool);
        Drag({{30, 20}, {36, 26}}, true);
        EXPECT_GT(Count(Back), 20);
        EXPECT_EQ(Count(Draw), 0);
        EXPECT_TRUE(NoMarks());
    }
}

TEST_F(FillShapeTest, FilledBoxTakesThePatternFillWhenItIsCurrent) {
    CutBrush({0, 0, 4, 2});
    const auto original = Pixels();
    engine.hooks.currentFill = [&] { return &tools.patternFill; };
    Use(tools.filledRectangle);
    Drag({{20, 10}, {40, 30}});
    Leave(); // the crosshair
    for (int y = 10; y <= 30; ++y)
        for (int x = 20; x <= 40; ++x)
            ASSERT_EQ(Image().At(x, y), original[size_t((y % 3) * W + x % 5)]) << Str({x, y});
    EXPECT_TRUE(NoMarks());
}

TEST_F(FillShapeTest, PressesThatChangeNothingKeepTheUndoCopy) {
    Image().Box(Image().Bounds(), Draw);
    Use(tools.rectangle);
    Drag({{5, 5}, {9, 9}}); // any change: the undo copy holds the all-Draw picture
    const auto undo = Snapshot(docs.UndoDoc().image);
    Use(tools.solidFill);
    Click({30, 30}); // already Draw
    EXPECT_EQ(Snapshot(docs.UndoDoc().image), undo);
    engine.SelectTool(&tools.fillOrigin, true, -1);
    Click({3, 3});
    EXPECT_EQ(Snapshot(docs.UndoDoc().image), undo);
    EXPECT_EQ(tools.patternFill.originMode, fill::OriginStored);
}

// At zoom 4 the first corner (10, 10) sits at screen (42, 42): 9 screen pixels away closes the
// polygon, 10 adds a corner; the activity ticks show which the next click will do.
TEST_F(FillShapeTest, PolygonClosesWithinNineScreenPixels) {
    engine.hooks.activityTick = [&](PaintTool* t) {
        if (auto* k = dynamic_cast<TickingTool*>(t)) k->Tick(engine);
    };
    state.view.zoom = {4, 1};
    for (const auto& [dx, closes] : {std::pair{9, true}, {10, false}}) {
        SCOPED_TRACE(dx);
        SetUp();
        const auto before = Pixels();
        const int changes = Changes();
        Use(tools.filledPolygon);
        EXPECT_EQ(view.startedWith[1], ToolEngine::ActivityMilliseconds);
        for (Pair p : {Pair{10, 10}, {30, 10}, {30, 30}}) Click(p);
        MoveView(42 + dx, 42);
        engine.ActivateIconFunc();
        EXPECT_EQ(view.cursor, closes ? ToolCursor::CrossOk : ToolCursor::Cross);
        engine.ShowBufMouseDown({42 + dx, 42}, ShiftState{.left = true});
        Release();
        EXPECT_EQ(tools.filledPolygon.Open(), !closes);
        Leave();
        EXPECT_EQ(Changes() - changes, closes ? 1 : 0);
        if (closes) {
            EXPECT_EQ(Image().At(25, 15), Draw); // inside the triangle
        }
        Use(tools.solidFill); // leaving an open polygon takes its edges out
        if (!closes) {
            EXPECT_TRUE(Same(Pixels(), before));
        }
        EXPECT_TRUE(NoMarks());
    }
}

// The polygon keeps the visible part it started in: a scroll between corners neither leaks the
// parity along rows of the new view nor leaves marks outside the area painted.
TEST_F(FillShapeTest, PolygonKeepsItsWorkAreaWhenTheViewScrolls) {
    Image().Box(Image().Bounds(), A);
    state.view.clipping = true;
    state.view.client = {40, 30};
    Use(tools.filledPolygon);
    Click({5, 5});
    Click({30, 5});
    state.view.scroll = {15, 8};
    Click({30, 25});
    Click({5, 25});
    state.view.scroll = {0, 0};
    Click({5, 6});
    Leave();
    EXPECT_FALSE(tools.filledPolygon.Open());
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(Image().At(x, y), x >= 5 && x <= 30 && y >= 5 && y <= 25 ? Draw : A)
                << Str({x, y});
}

TEST_F(FillShapeTest, RightButtonFilledShapeTakesTheBackgroundColour) {
    Use(tools.filledShape);
    Drag({{10, 10}, {30, 10}, {30, 30}, {10, 30}}, true);
    Leave();
    for (int y = 10; y <= 30; ++y)
        for (int x = 10; x <= 30; ++x) ASSERT_EQ(Image().At(x, y), Back) << Str({x, y});
    EXPECT_EQ(Count(Back), 21 * 21);
    EXPECT_TRUE(NoMarks());
}

// The crosshair goes into the whole image and away again where it was drawn, though the visible
// part scrolled in between.
TEST_F(FillShapeTest, CrosshairLeavesNothingAfterAScroll) {
    state.view.clipping = true;
    state.view.client = {30, 20};
    const auto before = Pixels();
    Use(tools.rectangle);
    Move({12, 9});
    EXPECT_EQ(Image().At(50, 9), before[size_t(9 * W + 50)] ^ kXorGrey); // beyond the view too
    state.view.scroll = {20, 10};
    Leave();
    EXPECT_TRUE(Same(Pixels(), before));
}

// Every position a figure's trace sends, repeats included.
struct Recorder : FigureSink {
    Points at;
    double Piece(Pair a, Pair b, double spacing, double phase) override {
        return WalkStampLine(a, b, spacing, phase, [&](int x, int y) { at.push_back({x, y}); });
    }
};

// The band of boxes and ellipses shows each traced position, the strokes stamp exactly those.
TEST_F(FillShapeTest, RubberBandShowsExactlyWhereTheShapeStampsFall) {
    const Pair s{30, 20}, e{41, 27};
    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(mode);
        Recorder ellipse, box;
        const Pair r = shape::EllipseRadii(s, e);
        figure::Ellipse(ellipse, s, r.x, r.y, {mode, 3, 0});
        figure::OutlineBox(box, s, e);
        for (auto [tool, figure] : {std::pair<PaintTool*, Points*>{&tools.ellipse, &ellipse.at},
                                    {&tools.rectangle, &box.at}}) {
            SetUp();
            const auto before = Pixels();
            Use(*tool, {double(mode), 3});
            Click(s);
            Move(e);
            EXPECT_TRUE(Same(Pixels(), Xored(before, *figure)));
            Click(e);
            Leave(); // the crosshair of the next box
            EXPECT_TRUE(Same(Pixels(), With(before, *figure, Draw)));
        }
    }
}

} // namespace
