#pragma once

#include "raster/FloodMark.h"
#include "raster/Geometry.h"
#include "tools/FilledShapeTools.h"
#include "tools/PaintTool.h"

#include <cstdint>

class Buffer;

// The Cut group: five one-shot tools that make a custom brush out of part of the picture. Every
// cut backs up the brush when the tool is chosen (Shift+B brings it back), and after a cut the
// brush is trimmed, the technique is Paint, the pointer sits where the brush covers the cut
// area, and Dotted Freehand is current. The right button also removes the piece from the picture
// (background colour). A cut that cannot make its brush shows "BrTooBig" and puts the old brush
// and the previous tool back.
namespace cuttools {

// The tool a cut continues with; set by StandardTools.
struct Links {
    PaintTool* next = nullptr;
};

// The brush from the rectangle between two corners of the current picture, clamped to it;
// background-coloured pixels become transparent. An empty rectangle cuts nothing and returns to
// the previous tool.
void CutRectangle(ToolContext& context, Pair a, Pair b, const Links& links);

// The brush from the pixels carrying the fill mark inside area of the current picture, taken in
// their colours from the undo copy. The left button then restores the picture from the undo
// copy; the right one paints the marked pixels in the background colour. With nothing marked the
// picture is restored, the brush kept and the previous tool comes back.
void CutMarked(ToolContext& context, Rect area, const Links& links);

} // namespace cuttools

// Cut Rectangle: the first press places a corner, the second press (or the release of a held
// drag) the other. Idle it shows the crosshair; while cutting, the rectangle as a screen overlay
// and "[width,height]" in panel 3.
class CutRectangleTool : public PaintTool {
public:
    CutRectangleTool();
    cuttools::Links links;

    void ShowFeedback(ToolContext& context) override;
    void HideFeedback(ToolContext& context) override;
    void Click(ToolContext& context) override;
    void Activate(ToolContext& context) override;
    void Deactivate(ToolContext& context, PaintTool* next) override;

private:
    void HideFrame(ToolContext& context);

    Pair first_{0, 0};
    bool frameShown_ = false;
    Rect frame_;
};

// Cut Predefined Rectangle (CUTBAR): a press cuts a rectangle of the bar's width and height with
// its top-left corner at the pointer; the overlay shows it before. The size stays between 1 and
// the picture's size; the aspect (height / width) follows the user's edits, not the keyed ones.
class CutPredefinedTool : public PaintTool {
public:
    static constexpr int DefaultSize = 32;
    // The six keys of the main window while this tool is current.
    enum class SizeKey { WidthLess, WidthMore, HeightLess, HeightMore, Shrink, Grow };

    CutPredefinedTool();
    cuttools::Links links;
    int width = DefaultSize, height = DefaultSize;
    float aspect = 1.0f;

    void ShowFeedback(ToolContext& context) override;
    void HideFeedback(ToolContext& context) override;
    void Click(ToolContext& context) override;
    void Activate(ToolContext& context) override;
    void Deactivate(ToolContext& context, PaintTool* next) override;

    // Bar index 0 Reset (to the default size), 1 width, 2 height, 3 double and 4 halve the area,
    // both keeping the aspect.
    void ResetSizeClick(ToolContext& context);
    void CutSizeChanged(ToolContext& context);
    void DoubleAreaClick(ToolContext& context) { ScaleArea(context, 1.4142135623730951); }
    void HalveAreaClick(ToolContext& context) { ScaleArea(context, 0.7071067811865476); }
    // True when the key changed the size (only with the pointer over the picture).
    bool SizeKeyPressed(ToolContext& context, SizeKey key);

private:
    void ScaleArea(ToolContext& context, double factor);
    // Width and height within 1 and the picture's size, shown in the bar and in the overlay.
    void SetSize(ToolContext& context, double w, double h);
    Rect Placed(ToolContext& context, Pair at) const;

    bool frameShown_ = false;
    Rect frame_;
};

// Cut Freehand: the outline follows the pointer while the button is held, as Filled Shape draws
// it; the release closes it and the inside becomes the brush. A click on the first point cuts
// that pixel.
class CutFreehandTool : public FilledShapeTool {
public:
    CutFreehandTool();
    cuttools::Links links;
    void Activate(ToolContext& context) override;

protected:
    void Complete(ToolContext& context, Buffer& region, Rect area, uint32_t colour) override;
};

// Cut Polygon: corners by clicks as Filled Polygon takes them (CROSSOK near the first corner);
// the closing click makes the brush.
class CutPolygonTool : public FilledPolygonTool {
public:
    CutPolygonTool();
    cuttools::Links links;
    void Activate(ToolContext& context) override;

protected:
    void Complete(ToolContext& context, Buffer& region, Rect area, uint32_t colour) override;
};

// Cut with Magic Wand (WANDBAR: tolerance, default 128): a press marks the connected area within
// the tolerance of the pressed colour (four-connected) and makes it the brush.
class CutWandTool : public PaintTool {
public:
    CutWandTool();
    cuttools::Links links;
    int tolerance = 128;

    void Click(ToolContext& context) override;
    void Activate(ToolContext& context) override;
    void Deactivate(ToolContext& context, PaintTool* next) override;

private:
    fill::FloodMarker marker_;
};
