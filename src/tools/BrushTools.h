#pragma once

#include "brush/Brush.h"
#include "tools/PaintTool.h"

class ToolContext;
class ToolEngine;

// One of the eight entries of the Brushes group: a built-in brush, chosen at once.
class BuiltInBrushTool : public PaintTool {
public:
    // radius < 0: the current built-in size.
    BuiltInBrushTool(BrushShape shape, int radius);

    BrushShape shape;
    int radius;
    // Set by the owner: the group's first circular and square entries (shown after a choice), and
    // the freehand tools of the hand-over.
    PaintTool* circularEntry = nullptr;
    PaintTool* squareEntry = nullptr;
    PaintTool* continuousFreehand = nullptr;
    const PaintTool* singleFreehand = nullptr;
    const PaintTool* dottedFreehand = nullptr;

    void Activate(ToolContext& context) override;
};

// Restore: the previous custom brush comes back (the cut group's alternate, Shift+B).
class RestoreBrushTool : public PaintTool {
public:
    RestoreBrushTool();
    void Activate(ToolContext& context) override;
};

namespace brushtools {
// Paint, Color or Replace from the Techniques menu; Paint and Replace need a custom brush.
bool ChooseTechnique(ToolEngine& engine, int technique);
// Panel 1 shows the technique's letter.
void ShowTechnique(ToolContext& context);
// A swatch colour changed: the colour-change notice (ToolEngine::ColourChanged).
void ColourChanged(ToolEngine& engine);
// "BrTooBig", then the previous brush back.
void BrushTooBig(ToolContext& context);
} // namespace brushtools
