#pragma once

// The brush reshaping algorithms, on plain buffers: each builds its result into out (allocated
// here, starting at (0, 0)) and returns false, with out untouched, when it cannot be allocated.
// Transparent pixels are Pixel::Transparent throughout; the source may be any buffer or view.

#include "raster/Buffer.h"
#include "raster/Geometry.h"

namespace brushxform {

// Largest side a brush may take; doubling stops at it.
inline constexpr int MaxSide = 16384;

// src resampled to the signed size (a negative side mirrors along that axis), |size| large;
// transparent stays transparent, smoothing never blends it into its neighbours. A side of 0
// counts as 1.
bool Scaled(const Buffer& src, Pair signedSize, bool smooth, Buffer& out);

// The split column (or row) of a bend: the pointer's offset from the brush's first column while
// it is inside the brush, 1 at or before the first, n - 2 at or past the last; always a column of
// the brush, so a brush one pixel wide splits at 0.
int BendSplit(int pointer, int first, int n);
// Columns move vertically (rows, horizontally) by an arch or trough of depth d through the split
// (up: the pointer is above the middle row, or left of the middle column). out is |d| larger
// along the moving axis.
bool BentColumns(const Buffer& src, int d, int split, bool up, Buffer& out);
bool BentRows(const Buffer& src, int d, int split, bool up, Buffer& out);

// Columns (rows) move along a Bresenham line from the first (not moved) to the last (moved by d);
// where the line is steep a column is smeared over the rows it passes. out is |d| larger along
// the moving axis.
bool ShearedColumns(const Buffer& src, int d, Buffer& out);
bool ShearedRows(const Buffer& src, int d, Buffer& out);

// Size of a w x h brush turned by a radians: (trunc(|sin a| h + |cos a| w),
// trunc(|cos a| h + |sin a| w)), at least 1 x 1; (0, 0) when that is past what can be allocated.
Pair RotatedSize(Pair size, double a);
// The matrix that turns by a radians counter-clockwise on the screen (y down): the unit matrix
// turned by -a, rows (cos a, sin a) and (-sin a, cos a). Used for the brush and the picture.
Matrix2D TurnMatrix(double a);
// src turned by a about its centre into a buffer of RotatedSize, transparent around it.
bool Rotated(const Buffer& src, double a, bool smooth, Buffer& out);
// Exact pixel moves: a quarter turn counter-clockwise ((x, y) to (y, w - 1 - x)) and a half turn
// in place.
bool QuarterTurned(const Buffer& src, Buffer& out);
void HalfTurn(Buffer& b);

// Shadow directions: East, South-East, South, South-West.
inline constexpr int ShadowDirections = 4;
// The brush over its flat silhouette in colour, offset by depth (1 ..) in direction (0 .. 3).
bool DropShadow(const Buffer& src, int depth, int direction, uint32_t colour, Buffer& out);

} // namespace brushxform
