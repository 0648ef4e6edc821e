#pragma once

#include "raster/Geometry.h"

#include <optional>

class PaintTool;
class ToolEngine;

// The Brush menu's immediate commands on the brush and the picture: Select All, Crop, Outline,
// the two mirrors and the handle. Each hides the feedback first and shows it again at the end, so
// neither the brush nor the picture ever takes a preview in. With optimise (the OptimBrush
// preference) the brush is trimmed after every operation that changes its pixels.
namespace brushmenu {

// The whole picture becomes the brush, background-coloured pixels transparent, handle centred;
// the tool next (Dotted Freehand) continues. False after "BrTooBig" (old brush and tool kept).
bool SelectAll(ToolEngine& engine, PaintTool* next);

// The picture becomes the brush: its size, every brush pixel, transparent ones in the brush's key
// colour; one change, undoable. The new size for the New dialog to remember, or nothing after
// "ImgBig" (the picture kept) or without a brush.
std::optional<Pair> Crop(ToolEngine& engine);

// A ring in the drawing colour around the brush; the brush stays over the same pixels.
bool Outline(ToolEngine& engine);
void MirrorLeftRight(ToolEngine& engine, bool optimise);
void MirrorTopBottom(ToolEngine& engine, bool optimise);

// Handle 0 centre, 1 left top, 2 right top, 3 right bottom, 4 left bottom; the step key goes to
// the next of them.
void SetHandle(ToolEngine& engine, int handle);
void StepHandle(ToolEngine& engine);

} // namespace brushmenu
