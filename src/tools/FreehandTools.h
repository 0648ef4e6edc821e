#pragma once

#include "raster/Geometry.h"
#include "tools/PaintTool.h"

// Continuous, Dotted and Single Freehand: the stroke follows the pointer while the button is held.
class FreehandTool : public PaintTool {
public:
    enum class Kind { Continuous, Dotted, Single };
    explicit FreehandTool(Kind kind);

    Kind kind;
    Pair first{0, 0};
    bool firstResult = false;

    void ShowFeedback(ToolContext& context) override;
    void HideFeedback(ToolContext& context) override;
    void Click(ToolContext& context) override;
    void Activate(ToolContext& context) override;
    // Paints from a to b; true when one press makes the whole stroke.
    virtual bool DrawSegment(ToolContext& context, Pair a, Pair b);

private:
    void EndStroke(ToolContext& context);
};
