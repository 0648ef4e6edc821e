#pragma once

#include "raster/Geometry.h"
#include "tools/Figures.h"

#include <cstdint>
#include <functional>
#include <vector>

class Buffer;
class FigureSink;

// The arithmetic of the box, square, circle and ellipse tools: constraints, radii, the ellipse
// polygon from the shared sine table, and the filled figures' spans. Outline figures are traced
// into a FigureSink so rubber bands and strokes share one routine (Figures.h).
namespace shape {

// The box from a to b with left <= right and top <= bottom.
Rect BoxRect(Pair a, Pair b);
// Moves p so the box from first to p is a square, along the longer side; a zero side on one
// axis keeps that axis, so the square collapses to a line.
Pair ConstrainSquare(Pair first, Pair p);

// Radius of the circle about centre through p, rounded half up.
int CircleRadius(Pair centre, Pair p);
// Radii of the ellipse about centre whose 45-degree point is p: √2 times each distance, rounded.
Pair EllipseRadii(Pair centre, Pair p);

// Chords of the ellipse polygon: 16 · 2^q with q = max(rx, ry) div 32, and 1024 from q = 6 on,
// for every larger radius too (no shift ever overflows).
int ChordCount(int rx, int ry);
// The N + 1 corners of the ellipse polygon, starting and ending at the top (cx, cy - ry) and
// running down the left side first.
std::vector<Pair> EllipsePolygon(Pair centre, int rx, int ry);
// Sum over the chords of the longer side of each.
int PolygonLength(const std::vector<Pair>& polygon);
// Stamp spacing of an outline ellipse for the bar's spacing mode and value (stroke:: modes).
double EllipseSpacing(int mode, int value, int length);

// The filled ellipse as one span per row: the left half of the polygon is walked chord by chord,
// and each step that reaches a new row gives the span from the walk's point to its mirror about
// the centre column. Rows come top to bottom, each once.
void EllipseSpans(Pair centre, int rx, int ry,
                  const std::function<void(int y, int left, int right)>& span);
// Fills those spans with value (a colour, or an exclusive-or value for the rubber band: every
// pixel is touched once). Returns the bounding rectangle cx ± rx, cy ± ry for invalidation.
Rect FillEllipse(Buffer& work, Pair centre, int rx, int ry, uint32_t value);
// ORs the fill mark into those spans, keeping the colours for a shaded apply step.
Rect MarkEllipse(Buffer& work, Pair centre, int rx, int ry);
// ORs the fill mark into the box from a to b (clipped). Returns BoxRect(a, b).
Rect MarkBox(Buffer& work, Pair a, Pair b);

} // namespace shape

namespace figure {

// The outline box from a to b: four strokes, each with spacing 1 from phase 1, so every corner
// gets two stamps (a preview through this plots corners twice and so leaves them out).
void OutlineBox(FigureSink& sink, Pair a, Pair b);
// The ellipse polygon's chords in order with the stroke's spacing (mode and value only): the
// first from phase 2, each next from the returned phase + 1, so the closing corner counts once.
void Ellipse(FigureSink& sink, Pair centre, int rx, int ry, const Stroke& stroke);

} // namespace figure
