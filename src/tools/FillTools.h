#pragma once

#include "raster/FloodMark.h"
#include "raster/Geometry.h"
#include "tools/PaintTool.h"

#include <cstdint>

class Buffer;
class FillOriginTool;

// Solid Fill and Pattern Fill (SFILLBAR, PFILLBAR): a press floods the area under the pointer in
// the work buffer and paints it. PaintMarked is the family operation the filled boxes, ellipses,
// shapes and polygons call on the variant current in the palette's fill group.
class FillTool : public PaintTool {
public:
    enum class Kind { Solid, Pattern };
    explicit FillTool(Kind kind);

    // Bar index 0 tolerance, 1 diagonal, 2 shade, 3 the Set Fill Origin button, 4 origin mode.
    int tolerance = 0;
    bool diagonal = false;
    bool shade = false;
    int originMode = 0;
    // Pattern Fill only: the origin picker, and the Solid Fill whose shade a fill without a
    // custom brush takes. Set by StandardTools.
    FillOriginTool* originTool = nullptr;
    const FillTool* solid = nullptr;

    void Click(ToolContext& context) override;
    void Activate(ToolContext& context) override;
    void Deactivate(ToolContext& context, PaintTool* next) override;

    // Paints every marked pixel of area (clipped to work) in colour with this tool's apply step and
    // settings, and leaves no mark bit in area.
    virtual void PaintMarked(ToolContext& context, Buffer& work, Rect area, uint32_t colour);

private:
    void ReadBar(ToolContext& context);

    Kind kind_;
    fill::FloodMarker marker_;
};

// Set Fill Origin: the press is where a brush stamped with its handle would line up with the
// pattern; the Pattern Fill then uses that origin (mode 2). Changes no pixel.
class FillOriginTool : public PaintTool {
public:
    FillOriginTool();

    Pair offset{0, 0};
    FillTool* pattern = nullptr; // set by StandardTools

    void ShowFeedback(ToolContext& context) override;
    void HideFeedback(ToolContext& context) override;
    void Click(ToolContext& context) override;
    void Activate(ToolContext& context) override;
};

namespace filltools {
// The fill variant the filled shapes paint through: the palette's current one, else fallback.
FillTool& CurrentFill(ToolContext& context, FillTool& fallback);
} // namespace filltools
