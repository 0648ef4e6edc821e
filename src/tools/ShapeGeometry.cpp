#include "tools/ShapeGeometry.h"

#include "brush/StampLine.h"
#include "raster/Buffer.h"
#include "raster/FloodMark.h"
#include "raster/SineTable.h"
#include "tools/FigureSink.h"
#include "tools/StrokeGeometry.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace shape {

namespace {

int Sign(int v) {
    return (v > 0) - (v < 0);
}

int Round(double v) {
    return int(std::min(std::trunc(v + 0.5), double(INT_MAX)));
}

} // namespace

Rect BoxRect(Pair a, Pair b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

Pair ConstrainSquare(Pair first, Pair p) {
    const int dx = p.x - first.x, dy = p.y - first.y;
    if (std::abs(dx) < std::abs(dy)) return {first.x + std::abs(dy) * Sign(dx), p.y};
    return {p.x, first.y + std::abs(dx) * Sign(dy)};
}

int CircleRadius(Pair centre, Pair p) {
    const double dx = double(p.x) - centre.x, dy = double(p.y) - centre.y;
    return Round(std::sqrt(dx * dx + dy * dy));
}

Pair EllipseRadii(Pair centre, Pair p) {
    const double root2 = std::sqrt(2.0);
    return {Round(std::abs(root2 * (double(p.x) - centre.x))),
            Round(std::abs(root2 * (double(p.y) - centre.y)))};
}

int ChordCount(int rx, int ry) {
    // The doubling stops at 1024 chords: the shift would otherwise wrap and bring large
    // ellipses back to a handful of chords.
    const int q = std::max({rx, ry, 0}) / 32;
    return q >= 6 ? 1024 : 16 << q;
}

std::vector<Pair> EllipsePolygon(Pair centre, int rx, int ry) {
    const auto t = sine::Table();
    const int n = ChordCount(rx, ry), k = sine::Steps / n;
    std::vector<Pair> points(size_t(n) + 1);
    points[0] = {centre.x, centre.y - ry};
    for (int i = 1; i <= n; ++i) {
        const int j = (i * k) % sine::Steps;
        points[size_t(i)] = {int(centre.x - int64_t(rx) * t[size_t(j)] / sine::Unit),
                             int(centre.y - int64_t(ry) * t[size_t(j) + 256] / sine::Unit)};
    }
    return points;
}

int PolygonLength(const std::vector<Pair>& polygon) {
    int64_t length = 0;
    for (size_t i = 1; i < polygon.size(); ++i)
        length += std::max(std::llabs(int64_t(polygon[i].x) - polygon[i - 1].x),
                           std::llabs(int64_t(polygon[i].y) - polygon[i - 1].y));
    return int(std::min<int64_t>(length, INT_MAX));
}

double EllipseSpacing(int mode, int value, int length) {
    if (mode == stroke::Distance) return std::max(value, 1);
    if (mode == stroke::Count) return double(length) / std::max(value, 1);
    return 1;
}

void EllipseSpans(Pair centre, int rx, int ry,
                  const std::function<void(int y, int left, int right)>& span) {
    const std::vector<Pair> polygon = EllipsePolygon(centre, rx, ry);
    bool first = true;
    int row = 0;
    const auto at = [&](int x, int y) {
        if (!first && y == row) return;
        first = false;
        row = y;
        span(y, x, 2 * centre.x - x);
    };
    // The walk with spacing 1 visits every point of the chord, as the outline's stamps do.
    for (size_t i = 1; i <= polygon.size() / 2; ++i)
        WalkStampLine(polygon[i - 1], polygon[i], 1, 1, at);
}

Rect FillEllipse(Buffer& work, Pair centre, int rx, int ry, uint32_t value) {
    EllipseSpans(centre, rx, ry, [&](int y, int l, int r) { work.Box({l, y, r, y}, value); });
    return {centre.x - rx, centre.y - ry, centre.x + rx, centre.y + ry};
}

namespace {

void MarkRow(Buffer& work, int y, int l, int r) {
    if (work.Empty() || y < work.top || y > work.bottom) return;
    l = std::max(l, work.left);
    r = std::min(r, work.right);
    uint32_t* row = work.Row(y) - work.left;
    for (int x = l; x <= r; ++x) row[x] |= fill::FillMark;
}

} // namespace

Rect MarkEllipse(Buffer& work, Pair centre, int rx, int ry) {
    EllipseSpans(centre, rx, ry, [&](int y, int l, int r) { MarkRow(work, y, l, r); });
    return {centre.x - rx, centre.y - ry, centre.x + rx, centre.y + ry};
}

Rect MarkBox(Buffer& work, Pair a, Pair b) {
    const Rect box = BoxRect(a, b);
    for (int y = std::max(box.top, work.top); y <= std::min(box.bottom, work.bottom); ++y)
        MarkRow(work, y, box.left, box.right);
    return box;
}

} // namespace shape

namespace figure {

void OutlineBox(FigureSink& sink, Pair a, Pair b) {
    sink.Piece(a, {b.x, a.y}, 1, 1);
    sink.Piece({b.x, a.y}, b, 1, 1);
    sink.Piece(b, {a.x, b.y}, 1, 1);
    sink.Piece({a.x, b.y}, a, 1, 1);
}

void Ellipse(FigureSink& sink, Pair centre, int rx, int ry, const Stroke& stroke) {
    const std::vector<Pair> polygon = shape::EllipsePolygon(centre, rx, ry);
    const double spacing =
        shape::EllipseSpacing(stroke.mode, stroke.value, shape::PolygonLength(polygon));
    double phase = 2;
    for (size_t i = 1; i < polygon.size(); ++i)
        phase = sink.Piece(polygon[i - 1], polygon[i], spacing, phase) + 1;
}

} // namespace figure
