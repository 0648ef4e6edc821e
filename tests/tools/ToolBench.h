#pragma once

// The bench every tool test stands on: a program state with a patterned picture, a recording
// view, an option bar the test sets, the engine, pointer actions in view or image pixels, the
// reference walks expectations are built from, and pixel comparisons that name what differs.

#include "../document/FakeHost.h"
#include "FakeToolHost.h"
#include "tools/StandardTools.h"
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

namespace bench {

inline constexpr uint32_t kXorGrey = 0x8F8F8F;

using Points = std::vector<Pair>;

// Through QString: GCC 12 at -O3 warns falsely (-Wrestrict) on "(" + std::string.
inline std::string Str(Pair p) {
    return QStringLiteral("(%1,%2)").arg(p.x).arg(p.y).toStdString();
}

// Bresenham from a through b: error 2·minor − major, minor step when it is not negative.
inline Points RefLine(Pair a, Pair b) {
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
inline std::array<Pair, 2> RefArrow(Pair s, Pair e, int length) {
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
inline Points RefCurve(Pair s, Pair p, Pair e) {
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
inline Points Every(const Points& pts, size_t n) {
    Points out;
    for (size_t i = 0; i < pts.size(); i += n) out.push_back(pts[i]);
    return out;
}

inline Points Join(std::initializer_list<Points> parts) {
    Points out;
    for (const Points& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// An option bar of a few values, as the tools see it; the test plays the user.
struct FakeBar : OptionBarHost {
    std::array<double, 12> values{};
    std::array<std::function<void()>, 12> handlers;
    std::array<std::function<void()>, 12> swatchHandlers;
    std::array<bool, 12> disabled{};

    double Value(int i) const override { return size_t(i) < values.size() ? values[size_t(i)] : 0; }
    void SetValue(int i, double v) override { values.at(size_t(i)) = v; }
    void SetHandler(int i, std::function<void()> h) override { handlers.at(size_t(i)) = h; }
    void SetSwatchHandler(int i, std::function<void()> h) override {
        swatchHandlers.at(size_t(i)) = h;
    }
    void SetEnabled(int i, bool on) override { disabled.at(size_t(i)) = !on; }
    // The user edits a control: new value, then its handler.
    void Change(int i, double v) {
        values.at(size_t(i)) = v;
        if (handlers.at(size_t(i))) handlers.at(size_t(i))();
    }
};

// Draws a one-pixel line: the rubber band in the preview colour while it is being placed, the
// drawing colour on completion. Horizontal and vertical lines keep expectations easy to compute.
class TestLineTool : public PaintTool {
public:
    Pair first{0, 0};
    bool bandShown = false;
    Pair bandA, bandB;
    int clicks = 0, activations = 0, deactivations = 0;

    void ShowFeedback(ToolContext& c) override {
        if (c.Phase() == ToolPhase::Idle) return;
        bandA = first;
        bandB = c.Position();
        c.WorkBuffer().Line(bandA, bandB, Pixel::Preview);
        bandShown = true;
    }
    void HideFeedback(ToolContext& c) override {
        if (!bandShown) return;
        c.WorkBuffer().Line(bandA, bandB, Pixel::Preview);
        bandShown = false;
    }
    void Click(ToolContext& c) override {
        ++clicks;
        if (c.Phase() == ToolPhase::Idle) {
            first = c.Position();
            return;
        }
        c.WorkBuffer().Line(first, c.Position(), c.DrawColour());
        c.Documents().CurrentDoc().AddChange();
    }
    void Activate(ToolContext&) override { ++activations; }
    void Deactivate(ToolContext&, PaintTool*) override { ++deactivations; }
};

// The bench. Derived fixtures choose the picture's size and the first current tool.
class ToolBench : public ::testing::Test {
protected:
    enum class Start { TestLine, Freehand };

    ToolBench(Pair size, Start start)
        : W(size.x), H(size.y), engine(state, view,
                                       start == Start::TestLine ? static_cast<PaintTool*>(&line)
                                                                : &tools.continuousFreehand) {}

    void SetUp() override {
        ASSERT_TRUE(docs.CurrentDoc().MakeBlank({W, H}));
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                Image().At(x, y) = uint32_t((x * 7 + y * 13) * 0x010203) & 0xFFFFFF;
    }

    const int W, H;
    FakeHost host;
    FakeToolHost view;
    ProgramState state{host, host, host};
    DocumentTable& docs = state.docs;
    FakeBar bar;
    StandardTools tools;
    TestLineTool line;
    ToolEngine engine;

    Buffer& Image() { return docs.CurrentDoc().image; }
    int Changes() { return docs.CurrentDoc().changeCount; }
    std::vector<uint32_t> Pixels() { return Snapshot(Image()); }
    std::vector<uint32_t> Snapshot(const Buffer& b) const {
        std::vector<uint32_t> out;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) out.push_back(b.At(x, y));
        return out;
    }
    // The picture with the positions set to colour.
    std::vector<uint32_t> With(std::vector<uint32_t> px, const Points& pts, uint32_t col) const {
        for (Pair p : pts)
            if (p.x >= 0 && p.x < W && p.y >= 0 && p.y < H) px[size_t(p.y * W + p.x)] = col;
        return px;
    }
    // Pixels covered an odd number of times show the preview grey.
    std::vector<uint32_t> Xored(std::vector<uint32_t> px, const Points& pts) const {
        std::vector<int> n(px.size());
        for (Pair p : pts)
            if (p.x >= 0 && p.x < W && p.y >= 0 && p.y < H) ++n[size_t(p.y * W + p.x)];
        for (size_t i = 0; i < px.size(); ++i)
            if (n[i] % 2) px[i] ^= kXorGrey;
        return px;
    }
    // Names the first differing pixels, so that a failure says where.
    testing::AssertionResult Same(const std::vector<uint32_t>& got,
                                  const std::vector<uint32_t>& want) const {
        testing::AssertionResult r = testing::AssertionFailure();
        int diffs = 0;
        for (size_t i = 0; i < got.size(); ++i)
            if (got[i] != want[i] && ++diffs <= 6)
                r << " (" << i % size_t(W) << "," << i / size_t(W) << ") is "
                  << QString::number(got[i], 16).toStdString() << " not "
                  << QString::number(want[i], 16).toStdString();
        return diffs ? r << "; " << diffs << " pixels differ" : testing::AssertionSuccess();
    }

    // The pointer in view pixels.
    void MoveView(int x, int y, ShiftState s = {}) { engine.StoreMouseCoords({x, y}, s); }
    void PressView(int x, int y) { engine.ShowBufMouseDown({x, y}, ShiftState{.left = true}); }
    // A press held past the drag time.
    void DragView(Pair from, Pair to) {
        MoveView(from.x, from.y);
        PressView(from.x, from.y);
        engine.DragIsSure();
        MoveView(to.x, to.y);
        engine.ShowBufMouseUp();
    }

    // The pointer in image pixels, through the zoom.
    Pair ToView(Pair p) const {
        const ZoomRatio z = state.view.zoom;
        return {p.x * z.n / z.d, p.y * z.n / z.d};
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
    // The pointer leaves the view, taking any feedback with it.
    void Leave() { engine.ClearMouseCoords(); }

    // Selects tool; Activate puts the tool's own values into the bar, the test's come after.
    void Use(PaintTool& tool, std::initializer_list<double> barValues = {}) {
        engine.SelectTool(&tool, true, 0);
        size_t i = 0;
        for (double v : barValues) bar.values.at(i++) = v;
    }
    void UseBrush(int radius) {
        ASSERT_TRUE(
            state.brush.SelectBuiltIn(BrushShape::Circular, radius, state.drawCol, state.backCol));
    }
};

} // namespace bench
