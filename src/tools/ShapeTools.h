#pragma once

#include "raster/Geometry.h"
#include "tools/Figures.h"
#include "tools/PaintTool.h"

#include <cstdint>

class FigureSink;
class FillTool;

// Rectangle, Square and their filled variants: press at one corner, release or press again at
// the other. Outline boxes stamp four lines; filled boxes mark the box and let the current fill
// variant paint it. Idle feedback is the crosshair.
class BoxTool : public PaintTool {
public:
    BoxTool(bool filled, bool square);

    Pair first{0, 0};
    FillTool* fallbackFill = nullptr; // when the palette has no fill variant (StandardTools)

    void ShowFeedback(ToolContext& context) override;
    void HideFeedback(ToolContext& context) override;
    void Click(ToolContext& context) override;
    void Activate(ToolContext& context) override;

    // The second corner for a pointer at p (squares move it to make a square).
    Pair Constrain(Pair p) const;

private:
    void RubberBand(ToolContext& context);
    void Draw(ToolContext& context, Pair p);

    bool filled_, square_;
};

// Circle, Ellipse and their filled variants: press at the centre, release or press again on the
// outline. The outline variants keep CIRCLEBAR / ELLIPSEBAR's spacing mode and value.
class EllipseTool : public PaintTool {
public:
    EllipseTool(bool filled, bool circle);

    Pair centre{0, 0};
    int rx = 0, ry = 0;
    figure::Stroke spacing; // mode and value; no arrowheads
    FillTool* fallbackFill = nullptr;

    void ShowFeedback(ToolContext& context) override;
    void HideFeedback(ToolContext& context) override;
    void Click(ToolContext& context) override;
    void Activate(ToolContext& context) override;
    void Deactivate(ToolContext& context, PaintTool* next) override;

    // The radii for a pointer at p.
    Pair Radii(Pair p) const;

private:
    void ReadBar(ToolContext& context);
    void RubberBand(ToolContext& context);
    void Draw(ToolContext& context, Pair p);

    bool filled_, circle_;
};
