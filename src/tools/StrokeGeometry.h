#pragma once

#include "raster/Geometry.h"

#include <array>

// The arithmetic the line and curve tools share: stroke spacing, arrowheads and the curve's
// sixteen chords.
namespace stroke {

// Spacing modes of the line and curve bars.
inline constexpr int EveryPixel = 0, Distance = 1, Count = 2;

// Arrowhead length in pixels for a size index (0 none, 1..4); 0 for anything else.
int ArrowLength(int size);

// Spacing of a straight stroke a-b. A count below 2 leaves a single stamp at the start.
double LineSpacing(int mode, int value, Pair a, Pair b);
// Spacing of a curve whose length estimate is length.
double CurveSpacing(int mode, int value, double length);

// The two arrowhead strokes at e for a stroke coming from s start at these points and end at e.
// False when there is no arrowhead (size 0, or s equal to e).
bool ArrowPoints(Pair s, Pair e, int size, std::array<Pair, 2>& out);

// The curve's control point for start s, end e and bend point p, which the curve passes through
// at its middle.
Pair BendControl(Pair s, Pair e, Pair p);
// Points 0..16 of the curve from s to e with control c: point 0 is s, 16 is where t reaches 1.
std::array<Pair, 17> CurvePoints(Pair s, Pair c, Pair e);
// Sum over the 16 chords of the longer side of each.
double CurveLength(const std::array<Pair, 17>& points);

} // namespace stroke
