#pragma once

#include "raster/Buffer.h"
#include "raster/Geometry.h"

#include <cstdint>

// The pixel work of cutting a brush out of a picture: the rectangle a cut covers, the pixels a
// marked cut keeps, and a key colour that none of them has. The tools do the rest.
namespace brushcut {

// The rectangle between two corners in any order, clamped to a picture of size on all four sides.
// Empty when it lies wholly outside (a drag released left of or above the picture).
Rect ClampedRect(Pair a, Pair b, Pair size);

// The bounding rectangle of the pixels of image inside area that carry the fill mark; empty
// when there are none.
Rect MarkedBounds(const Buffer& image, Rect area);

// The least used colour among the kept pixels: those of r that carry the fill mark in marked,
// counted on their colours in original (the outline has already painted over them in marked).
// Red first; when every red value occurs, green among the pixels of the rarest red, then blue.
// background when even blue is full.
uint32_t FreeColour(const Buffer& marked, const Buffer& original, Rect r, uint32_t background);

// The brush pixels of a marked cut: r of original, with every pixel whose counterpart in marked
// has no fill mark made transparent. False when out of memory.
bool KeptPixels(const Buffer& marked, const Buffer& original, Rect r, Buffer& out);

} // namespace brushcut
