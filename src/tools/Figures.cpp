#include "tools/Figures.h"

#include "tools/FigureSink.h"
#include "tools/StrokeGeometry.h"

#include <array>

namespace figure {

namespace {

// The two strokes of an arrowhead at e for a stroke arriving from s.
void Arrows(FigureSink& sink, Pair s, Pair e, int arrow) {
    std::array<Pair, 2> points;
    if (!stroke::ArrowPoints(s, e, arrow, points)) return;
    for (const Pair& a : points) sink.Piece(a, e, 1, 1);
}

} // namespace

void Line(FigureSink& sink, Pair s, Pair e, const Stroke& st) {
    Arrows(sink, s, e, st.arrow);
    sink.Piece(s, e, stroke::LineSpacing(st.mode, st.value, s, e), 1);
}

void Curve(FigureSink& sink, Pair s, Pair e, Pair bend, const Stroke& st) {
    const auto points = stroke::CurvePoints(s, stroke::BendControl(s, e, bend), e);
    const double spacing = stroke::CurveSpacing(st.mode, st.value, stroke::CurveLength(points));
    double phase = 1;
    for (size_t k = 1; k < points.size(); ++k)
        phase = sink.Piece(points[k - 1], points[k], spacing, phase) + 1;
    Arrows(sink, points[15], points[16], st.arrow);
}

} // namespace figure
