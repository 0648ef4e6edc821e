#pragma once

#include "raster/Geometry.h"

class FigureSink;

// The figures of the drawing tools, each traced once into a sink (FigureSink.h): the tools call
// the same routine for the rubber band and for the final strokes.
namespace figure {

// How a stroke is spaced and finished: the line and curve bars' three values.
struct Stroke {
    int mode = 0;  // spacing mode (stroke::EveryPixel, Distance, Count)
    int value = 2; // spacing, or number of stamps
    int arrow = 0; // arrowhead size index, 0 none
};

// A straight stroke from s to e: the arrowheads at e first (spacing 1), then the stroke.
void Line(FigureSink& sink, Pair s, Pair e, const Stroke& stroke);
// The curve from s to e that passes through bend at its middle, then its arrowheads at e.
void Curve(FigureSink& sink, Pair s, Pair e, Pair bend, const Stroke& stroke);

} // namespace figure
