// Freehand, line and curve tools driven through the engine's pointer events, checked pixel by
// pixel against small reference walks written out here.
#include "../document/FakeHost.h"
#include "FakeToolHost.h"
#include "tools/StandardTools.h"
#include "tools/StrokeGeometry.h"
#include "tools/ToolEngine.h"

#include <QString>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kXorGrey = 0x8F8F8F;

// LINEBAR / CURVEBAR as the tools see it: 0 spacing mode, 1 value, 2 arrowhead size.
struct FakeBar : OptionBarHost {
    std::array<double, 3> values{};
    std::array<std::function<void()>, 3> handlers;

    double Value(int i) const override { return size_t(i) < 3 ? values[size_t(i)] : 0; }
    void SetValue(int i, double v) override { values.at(size_t(i)) = v; }
    void SetHandler(int i, std::function<void()> h) override { handlers.at(size_t(i)) = h; }
    // The user edits a control: new value, then its handler.
    void Change(int i, double v) {
        values.at(size_t(i)) = v;
        if (handlers.at(size_t(i))) handlers.at(size_t(i))();
    }
};

using Points = std::vector<Pair>;

std::string Hex(uint32_t v) {
    return QString::number(v, 16).toStdString();
}

// Through QString: GCC 12 at -O3 warns falsely (-Wrestrict) on "(" + std::string.
std::string Str(Pair p) {
    return QStringLiteral("(%1,%2)").arg(p.x).arg(p.y).toStdString();
}

// Bresenham from a through b: error 2·minor − major, minor step when it is not negative.
Points RefLine(Pair a, Pair b) {
    const int dx = std::abs(b.x - a.x), dy = std::abs(b.y - a.y);
    const bool xMajor = dx >= dy;
    const int major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    const Pair majorStep = xMajor ? Pair{b.x < a.x ? -1 : 1, 0} : Pair{0, b.y < a.y ? -1 : 1};
    const Pair minorStep = xMajor ? Pair{0, b.y < a.y ? -1 : 1} : Pair{b.x < a.x ? -1 : 1, 0};
    Points out;
    Pair p = a;
    for (int i = 0, e = 2 * minor - major; i <= major; ++i) {
        out.push_back(p);
        if (e >= 0) {
            p = {p.x + minorStep.x, p.y + minorStep.y};
            e -= 2 * major;
        }
        e += 2 * minor;
        p = {p.x + majorStep.x, p.y + majorStep.y};
    }
    return out;
}

// Arrowhead tips with the exact sine and cosine of 30 degrees.
std::array<Pair, 2> RefArrow(Pair s, Pair e, int length) {
    const double dx = s.x - e.x, dy = s.y - e.y, d = std::hypot(dx, dy);
    const double c = std::sqrt(3.0) / 2;
    std::array<Pair, 2> out;
    for (size_t k = 0; k < 2; ++k) {
        const double sn = k == 0 ? -0.5 : 0.5;
        out[k] = {e.x + int(std::trunc((dx * c - dy * sn) * length / d)),
                  e.y + int(std::trunc((dx * sn + dy * c) * length / d))};
    }
    return out;
}

// The stamp positions along the sixteen chords of the quadratic from s to e that passes through p
// at its middle; a joint counts once, as the spacing runs on across it.
Points RefCurve(Pair s, Pair p, Pair e) {
    const Pair c{2 * p.x - (s.x + e.x) / 2, 2 * p.y - (s.y + e.y) / 2};
    Points out{s};
    for (int k = 1; k <= 16; ++k) {
        const double t = k / 16.0, u = 1 - t;
        const Pair q{int(std::trunc(u * u * s.x + 2 * t * u * c.x + t * t * e.x)),
                     int(std::trunc(u * u * s.y + 2 * t * u * c.y + t * t * e.y))};
        const Points chord = RefLine(out.back(), q);
        out.insert(out.end(), chord.begin() + 1, chord.end());
    }
    return out;
}

// Every n-th position from the first.
Points Every(const Points& pts, size_t n) {
    Points out;
    for (size_t i = 0; i < pts.size(); i += n) out.push_back(pts[i]);
    return out;
}

Points Join(std::initializer_list<Points> parts) {
    Points out;
    for (const Points& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

struct StrokeTest : ::testing::Test {
    static constexpr int W = 120, H = 80;
    static constexpr uint32_t Draw = 0x2040E0, Back = 0xE0A010;

    FakeHost host;
    FakeToolHost view;
    DocumentTable docs{host, host, host};
    StandardTools tools;
    FakeBar bar;
    ToolEngine engine{docs, view, host, &tools.continuousFreehand};

    void SetUp() override {
        ASSERT_TRUE(docs.CurrentDoc().MakeBlank({W, H}));
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                Image().At(x, y) = uint32_t((x * 7 + y * 13) * 0x010203) & 0xFFFFFF;
        engine.drawCol = Draw;
        engine.backCol = Back;
        engine.SetOptionBar(&bar);
        UseBrush(0); // 1 x 1
    }

    Buffer& Image() { return docs.CurrentDoc().image; }
    int Changes() { return docs.CurrentDoc().changeCount; }
    std::vector<uint32_t> Pixels() { return Snapshot(Image()); }
    static std::vector<uint32_t> Snapshot(const Buffer& b) {
        std::vector<uint32_t> out;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) out.push_back(b.At(x, y));
        return out;
    }
    static std::vector<uint32_t> With(std::vector<uint32_t> px, const Points& pts, uint32_t col) {
        for (Pair p : pts)
            if (p.x >= 0 && p.x < W && p.y >= 0 && p.y < H) px[size_t(p.y * W + p.x)] = col;
        return px;
    }
    // Pixels covered an odd number of times show the preview grey.
    static std::vector<uint32_t> Xored(std::vector<uint32_t> px, const Points& pts) {
        std::vector<int> n(px.size());
        for (Pair p : pts)
            if (p.x >= 0 && p.x < W && p.y >= 0 && p.y < H) ++n[size_t(p.y * W + p.x)];
        for (size_t i = 0; i < px.size(); ++i)
            if (n[i] % 2) px[i] ^= kXorGrey;
        return px;
    }

    void UseBrush(int radius) {
        ASSERT_TRUE(engine.brush.SelectBuiltIn(BrushShape::Circular, radius, Draw, Back));
    }
    // Activate puts the tool's own values into the bar; the test's come after.
    void Use(PaintTool& tool, int mode = 0, int value = 2, int arrow = 0) {
        engine.SelectTool(&tool, true, 0);
        bar.values = {double(mode), double(value), double(arrow)};
    }

    Pair ToView(Pair p) const {
        return {p.x * engine.zoom.n / engine.zoom.d, p.y * engine.zoom.n / engine.zoom.d};
    }
    static ShiftState Button(bool right) {
        return right ? ShiftState{.right = true} : ShiftState{.left = true};
    }
    void Move(Pair p, bool right = false) { engine.StoreMouseCoords(ToView(p), Button(right)); }
    void Press(Pair p, bool right = false) {
        Move(p, right);
        engine.ShowBufMouseDown(ToView(p), Button(right));
    }
    void Release() { engine.ShowBufMouseUp(); }
    // Released while the drag timer still runs.
    void Click(Pair p, bool right = false) {
        Press(p, right);
        Release();
    }
    // Held past the drag time, moved through the path, released at its end.
    void Drag(Points path, bool right = false) {
        Press(path[0], right);
        engine.DragIsSure();
        for (size_t i = 1; i < path.size(); ++i) Move(path[i], right);
        Release();
    }
    // Names the first differing pixels, so that a failure says where.
    static testing::AssertionResult Same(const std::vector<uint32_t>& got,
                                         const std::vector<uint32_t>& want) {
        testing::AssertionResult r = testing::AssertionFailure();
        int diffs = 0;
        for (size_t i = 0; i < got.size(); ++i)
            if (got[i] != want[i] && ++diffs <= 6)
                r << " (" << i % W << "," << i / W << ") is " << Hex(got[i]) << " not "
                  << Hex(want[i]);
        return diffs ? r << "; " << diffs << " pixels differ" : testing::AssertionSuccess();
    }
    // The pointer leaves the view, taking any feedback with it.
    void Leave() { engine.ClearMouseCoords(); }
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
    EXPECT_EQ(engine.phase, 0);
    EXPECT_EQ(Changes(), 1);
    EXPECT_TRUE(Same(Snapshot(docs.UndoDoc().image), before));
    Leave();
    const auto first = With(before, RefLine({3, 5}, {40, 17}), Draw);
    EXPECT_TRUE(Same(Pixels(), first));

    Click({90, 45}); // released within the drag time: only the start
    EXPECT_EQ(engine.phase, 1);
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
    EXPECT_EQ(engine.phase, 0);
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
    EXPECT_EQ(engine.phase, 2);
    Click(p);
    EXPECT_EQ(engine.phase, 0);
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
    EXPECT_EQ(engine.brush.stamp.At(0, 0), Draw);
    Use(tools.continuousFreehand);
    Drag({{60, 10}, {80, 10}}, true);
    EXPECT_EQ(engine.brush.stamp.At(0, 0), Draw);
    Click({90, 50}, true);
    EXPECT_EQ(engine.brush.stamp.At(0, 0), Draw);
    Use(tools.singleCurve);
    Click({10, 60}, true);
    Click({50, 60}, true);
    Click({30, 50}, true);
    EXPECT_EQ(engine.brush.stamp.At(0, 0), Draw);
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
    const std::vector<std::pair<PaintTool*, int>> cases{
        {&tools.continuousFreehand, 0}, {&tools.dottedFreehand, 0},  {&tools.singleFreehand, 0},
        {&tools.singleLine, 0},         {&tools.singleLine, 1},      {&tools.singleLine, 3},
        {&tools.continuousLine, 0},     {&tools.continuousLine, 1},  {&tools.continuousLine, 3},
        {&tools.singleCurve, 0},        {&tools.singleCurve, 1},     {&tools.singleCurve, 3},
        {&tools.singleCurve, 2},        {&tools.continuousCurve, 1}, {&tools.continuousCurve, 3},
        {&tools.continuousCurve, 2},    {&tools.continuousCurve, 4}};

    for (ZoomRatio z : {ZoomRatio{1, 1}, ZoomRatio{3, 1}, ZoomRatio{1, 2}})
        for (bool clip : {false, true}) {
            engine.zoom = z;
            engine.clipping = clip;
            // Image x 12..91, y 8..67 visible.
            engine.scroll = clip ? ToView({12, 8}) : Pair{0, 0};
            engine.client = clip ? ToView({80, 60}) : Pair{0, 0};
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

} // namespace
