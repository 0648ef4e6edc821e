// Freehand, line and curve tools driven through the engine's pointer events, checked pixel by
// pixel against small reference walks written out in the bench.
#include "ToolBench.h"
#include "brush/StampLine.h"
#include "tools/FigureSink.h"
#include "tools/Figures.h"
#include "tools/StrokeGeometry.h"

namespace {

using namespace bench;

// A 120 x 80 patterned picture, a 1 x 1 brush, continuous freehand current.
struct StrokeTest : ToolBench {
    static constexpr uint32_t Draw = 0x2040E0, Back = 0xE0A010;

    StrokeTest() : ToolBench({120, 80}, Start::Freehand) {}
    void SetUp() override {
        ToolBench::SetUp();
        state.drawCol = Draw;
        state.backCol = Back;
        engine.SetOptionBar(&bar);
        UseBrush(0); // 1 x 1
    }
    // LINEBAR / CURVEBAR: 0 spacing mode, 1 value, 2 arrowhead size.
    void Use(PaintTool& tool, int mode = 0, int value = 2, int arrow = 0) {
        ToolBench::Use(tool, {double(mode), double(value), double(arrow)});
    }
};

TEST_F(StrokeTest, SpacingModesStampWhereTheRubberBandShows) {
    const auto before = Pixels();
    // Mode 2, two stamps over a length of 10: both ends only, in the band and in the stroke.
    Use(tools.singleLine, 2, 2);
    Click({10, 20});
    Move({20, 20});
    EXPECT_TRUE(Same(Pixels(), Xored(before, {{10, 20}, {20, 20}})));
    Click({20, 20});
    // Mode 1: every third pixel from the start, so the end is missed; every fifth reaches it.
    Use(tools.singleLine, 1, 3);
    Drag({{10, 30}, {20, 30}});
    Use(tools.singleLine, 1, 5);
    Drag({{10, 40}, {20, 40}});
    // Mode 2 on a steep diagonal measures the longer side: 3 stamps over 20 rows.
    Use(tools.singleLine, 2, 3);
    Drag({{30, 10}, {40, 30}});
    Leave();
    const Points stamps = Join({{{10, 20}, {20, 20}, {10, 30}, {13, 30}, {16, 30}, {19, 30}},
                                {{10, 40}, {15, 40}, {20, 40}},
                                Every(RefLine({30, 10}, {40, 30}), 10)});
    EXPECT_TRUE(Same(Pixels(), With(before, stamps, Draw)));
}

TEST_F(StrokeTest, ArrowheadsAreStrokesIntoTheEnd) {
    std::array<Pair, 2> a;
    ASSERT_TRUE(stroke::ArrowPoints({0, 0}, {100, 0}, 4, a));
    // 60·cos 30° = 51.96 truncated, 60·sin 30° = 30 exactly.
    EXPECT_EQ(Str(a[0]), "(49,30)");
    EXPECT_EQ(Str(a[1]), "(49,-30)");
    EXPECT_FALSE(stroke::ArrowPoints({5, 5}, {5, 5}, 4, a)); // no direction
    EXPECT_FALSE(stroke::ArrowPoints({0, 0}, {9, 9}, 0, a));

    const auto before = Pixels();
    Use(tools.singleLine, 0, 2, 4);
    Drag({{0, 40}, {100, 40}});
    Click({60, 60}); // a line of no length: one stamp, no arrowhead
    Click({60, 60});
    Leave();
    const Points painted = Join({RefLine({0, 40}, {100, 40}),
                                 RefLine({49, 70}, {100, 40}),
                                 RefLine({49, 10}, {100, 40}),
                                 {{60, 60}}});
    EXPECT_TRUE(Same(Pixels(), With(before, painted, Draw)));
}

TEST_F(StrokeTest, SingleLineByHeldDragAndByClickMoveClick) {
    const auto before = Pixels();
    Use(tools.singleLine);
    Drag({{3, 5}, {20, 30}, {40, 17}});
    EXPECT_EQ(engine.Phase(), 0);
    EXPECT_EQ(Changes(), 1);
    EXPECT_TRUE(Same(Snapshot(docs.UndoDoc().image), before));
    Leave();
    const auto first = With(before, RefLine({3, 5}, {40, 17}), Draw);
    EXPECT_TRUE(Same(Pixels(), first));

    Click({90, 45}); // released within the drag time: only the start
    EXPECT_EQ(engine.Phase(), 1);
    EXPECT_EQ(Changes(), 1);
    Move({70, 50});
    Click({50, 60});
    Leave();
    EXPECT_TRUE(Same(Pixels(), With(first, RefLine({90, 45}, {50, 60}), Draw)));
    EXPECT_EQ(Changes(), 2);
    // The undo copy is from the press that started the line, not the one that ended it.
    EXPECT_TRUE(Same(Snapshot(docs.UndoDoc().image), first));
}

TEST_F(StrokeTest, ContinuousLineChainsFromClickToClick) {
    const auto before = Pixels();
    Use(tools.continuousLine);
    Click({10, 10});
    Click({50, 10});
    Click({50, 40});
    Leave();
    const auto drawn =
        With(before, Join({RefLine({10, 10}, {50, 10}), RefLine({50, 10}, {50, 40})}), Draw);
    EXPECT_TRUE(Same(Pixels(), drawn));
    EXPECT_EQ(Changes(), 2);
    Move({20, 40}); // the next band starts at the last click
    EXPECT_TRUE(Same(Pixels(), Xored(drawn, RefLine({50, 40}, {20, 40}))));
}

TEST_F(StrokeTest, FreehandKinds) {
    const auto before = Pixels();
    Use(tools.continuousFreehand);
    Click({10, 10}); // a quick click is one dab and a whole action
    EXPECT_EQ(engine.Phase(), 0);
    EXPECT_EQ(Changes(), 1);
    EXPECT_TRUE(Same(Snapshot(docs.UndoDoc().image), before));
    Drag({{20, 20}, {30, 20}, {35, 30}, {20, 34}});
    EXPECT_EQ(Changes(), 2);
    Use(tools.singleFreehand); // dragging adds nothing to the press's dab
    Drag({{60, 10}, {70, 10}, {80, 20}});
    EXPECT_EQ(Changes(), 3);
    Use(tools.dottedFreehand); // one dab per pointer sample
    Drag({{60, 40}, {66, 42}, {80, 50}});
    EXPECT_EQ(Changes(), 4);
    Leave();
    const Points dabs = Join({RefLine({20, 20}, {30, 20}),
                              RefLine({30, 20}, {35, 30}),
                              RefLine({35, 30}, {20, 34}),
                              {{10, 10}, {60, 10}, {60, 40}, {66, 42}, {80, 50}}});
    EXPECT_TRUE(Same(Pixels(), With(before, dabs, Draw)));
}

TEST_F(StrokeTest, CurvePassesThroughTheBendPoint) {
    const auto before = Pixels();
    const Pair s{11, 61}, e{100, 60}, p{55, 15}; // odd sums: the mid point truncates
    Use(tools.singleCurve);
    Drag({s, {60, 70}, e}); // a held first press sets the end at its release
    EXPECT_EQ(engine.Phase(), 2);
    Click(p);
    EXPECT_EQ(engine.Phase(), 0);
    EXPECT_EQ(Changes(), 1);
    Leave();
    EXPECT_TRUE(Same(Pixels(), With(before, RefCurve(s, p, e), Draw)));
    int near = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) near += Image().At(p.x + dx, p.y + dy) == Draw;
    EXPECT_GT(near, 0);
}

TEST_F(StrokeTest, ContinuousCurveStartsTheNextAtTheLastEndAndSpacingRunsOn) {
    const auto before = Pixels();
    Use(tools.continuousCurve, 1, 4);
    for (Pair q : {Pair{10, 40}, Pair{60, 40}, Pair{35, 10}, Pair{110, 70}, Pair{90, 40}}) {
        Move(q);
        Click(q);
    }
    Leave();
    EXPECT_EQ(Changes(), 2);
    const Points stamps = Join({Every(RefCurve({10, 40}, {35, 10}, {60, 40}), 4),
                                Every(RefCurve({60, 40}, {90, 40}, {110, 70}), 4)});
    EXPECT_TRUE(Same(Pixels(), With(before, stamps, Draw)));
}

TEST_F(StrokeTest, RightButtonPaintsBackgroundAndRestoresTheStamp) {
    const auto before = Pixels();
    Use(tools.singleLine);
    Drag({{10, 10}, {50, 30}}, true);
    EXPECT_EQ(state.brush.stamp.At(0, 0), Draw);
    Use(tools.continuousFreehand);
    Drag({{60, 10}, {80, 10}}, true);
    EXPECT_EQ(state.brush.stamp.At(0, 0), Draw);
    Click({90, 50}, true);
    EXPECT_EQ(state.brush.stamp.At(0, 0), Draw);
    Use(tools.singleCurve);
    Click({10, 60}, true);
    Click({50, 60}, true);
    Click({30, 50}, true);
    EXPECT_EQ(state.brush.stamp.At(0, 0), Draw);
    Leave();
    EXPECT_TRUE(Same(Pixels(), With(before,
                                    Join({RefLine({10, 10}, {50, 30}),
                                          RefLine({60, 10}, {80, 10}),
                                          {{90, 50}},
                                          RefCurve({10, 60}, {30, 50}, {50, 60})}),
                                    Back)));
}

TEST_F(StrokeTest, BarChangeMovesTheRubberBandAlong) {
    const auto before = Pixels();
    Use(tools.singleLine);
    Click({10, 10});
    Move({70, 40});
    const auto arrow = RefArrow({10, 10}, {70, 40}, 35);
    bar.Change(2, 3);
    const Points line = RefLine({10, 10}, {70, 40});
    const Points heads = Join({RefLine(arrow[0], {70, 40}), RefLine(arrow[1], {70, 40})});
    EXPECT_TRUE(Same(Pixels(), Xored(before, Join({line, heads}))));
    bar.Change(0, 1);
    bar.Change(1, 4);
    EXPECT_TRUE(Same(Pixels(), Xored(before, Join({Every(line, 4), heads}))));
    Leave();
    EXPECT_TRUE(Same(Pixels(), before));
}

// Every kind of feedback, drawn and removed along a walk at several zooms, with and without
// clipping to a scrolled part of the image, must leave the image exactly as it was, also when
// the bar changes under a rubber band.
TEST_F(StrokeTest, FeedbackLeavesNoResidue) {
    UseBrush(3);
    Points walk;
    for (int i = 0; i < 24; ++i) walk.push_back({2 * ((i * 37) % 60), 2 * ((i * 23) % 40)});
    walk.insert(walk.begin() + 8, Pair{W + 10, 10}); // off the image and back
    walk.push_back({W - 2, H - 2});

    // How far a tool gets before the walk: 0 idle (brush preview), 1 start clicked, 3 start held,
    // 2 start and end clicked, 4 a continuous curve drawn and the next one begun.
    const Pair s{30, 30}, e{70, 50};
    std::vector<std::pair<PaintTool*, int>> cases{
        {&tools.continuousFreehand, 0}, {&tools.dottedFreehand, 0},  {&tools.singleFreehand, 0},
        {&tools.singleLine, 0},         {&tools.singleLine, 1},      {&tools.singleLine, 3},
        {&tools.continuousLine, 0},     {&tools.continuousLine, 1},  {&tools.continuousLine, 3},
        {&tools.singleCurve, 0},        {&tools.singleCurve, 1},     {&tools.singleCurve, 3},
        {&tools.singleCurve, 2},        {&tools.continuousCurve, 1}, {&tools.continuousCurve, 3},
        {&tools.continuousCurve, 2},    {&tools.continuousCurve, 4}};
    for (PaintTool* shape : std::initializer_list<PaintTool*>{
             &tools.filledRectangle, &tools.rectangle, &tools.filledSquare, &tools.square,
             &tools.circle, &tools.filledCircle, &tools.ellipse, &tools.filledEllipse})
        for (int how : {0, 1, 3}) cases.push_back({shape, how});
    // A held filled shape draws its outline for good; its idle pixel and the polygon's band do not.
    cases.insert(cases.end(), {{&tools.filledShape, 0},
                               {&tools.filledPolygon, 0},
                               {&tools.filledPolygon, 1},
                               {&tools.filledPolygon, 3}});

    for (ZoomRatio z : {ZoomRatio{1, 1}, ZoomRatio{3, 1}, ZoomRatio{1, 2}})
        for (bool clip : {false, true}) {
            state.view.zoom = z;
            state.view.clipping = clip;
            // Image x 12..91, y 8..67 visible.
            state.view.scroll = clip ? ToView({12, 8}) : Pair{0, 0};
            state.view.client = clip ? ToView({80, 60}) : Pair{0, 0};
            for (size_t k = 0; k < cases.size(); ++k) {
                const auto [tool, how] = cases[k];
                SCOPED_TRACE(testing::Message() << "case " << k << " zoom " << z.n << "/" << z.d
                                                << (clip ? " clipped" : ""));
                Use(*tool, 2, 5, 2);
                if (how == 3) Press(s);
                if (how != 0 && how != 3) Click(s);
                if (how == 2 || how == 4) Click(e);
                if (how == 4) Click({50, 10});
                Leave();
                const auto before = Pixels();
                bool shown = false;
                for (size_t i = 0; i < walk.size(); ++i) {
                    Move(walk[i]);
                    shown = shown || Pixels() != before;
                    if (i == walk.size() / 2) {
                        bar.Change(2, 4);
                        bar.Change(0, 1);
                        bar.Change(1, 3);
                    }
                }
                Leave();
                EXPECT_TRUE(shown);
                EXPECT_TRUE(Same(Pixels(), before));
                // Back to idle without finishing a held press.
                engine.SelectTool(&tools.continuousFreehand, true, 0);
                Release();
            }
        }
}

// Every position a figure's trace sends, repeats included.
struct RecordingSink : FigureSink {
    Points at;
    double Piece(Pair a, Pair b, double spacing, double phase) override {
        return WalkStampLine(a, b, spacing, phase, [&](int x, int y) { at.push_back({x, y}); });
    }
};

// For every figure and spacing mode the tools trace one routine for the band and the strokes: the
// band shows each position of the figure (an exclusive-or, so a position reached twice cancels)
// and the strokes stamp exactly those positions.
TEST_F(StrokeTest, RubberBandShowsExactlyWhereTheStampsFall) {
    struct Case {
        const char* name;
        bool curve;
        Pair s, e, p; // a line ends at e; a curve ends at e and bends through p
        int arrow;
    };
    const Case cases[] = {{"flat line", false, {10, 40}, {100, 40}, {}, 4},
                          {"steep line", false, {70, 5}, {40, 75}, {}, 2},
                          {"curve", true, {11, 61}, {100, 60}, {55, 15}, 3},
                          {"curve back", true, {100, 20}, {10, 30}, {60, 70}, 1}};
    const std::pair<int, int> spacings[] = {{0, 1}, {1, 3}, {1, 7}, {2, 2}, {2, 5}};
    for (const Case& c : cases)
        for (const auto& [mode, value] : spacings) {
            SCOPED_TRACE(testing::Message() << c.name << " mode " << mode << " value " << value);
            SetUp();
            const auto before = Pixels();
            const StrokeSettings settings{{mode, value, c.arrow}};
            RecordingSink figure;
            if (c.curve)
                figure::Curve(figure, c.s, c.e, c.p, settings);
            else
                figure::Line(figure, c.s, c.e, settings);
            Use(c.curve ? static_cast<PaintTool&>(tools.singleCurve) : tools.singleLine, mode,
                value, c.arrow);
            Click(c.s);
            if (c.curve) Click(c.e);
            const Pair end = c.curve ? c.p : c.e;
            Move(end);
            EXPECT_TRUE(Same(Pixels(), Xored(before, figure.at)));
            Click(end);
            Leave();
            EXPECT_TRUE(Same(Pixels(), With(before, figure.at, Draw)));
        }
}

} // namespace
