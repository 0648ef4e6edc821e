#pragma once

#include "brush/Brush.h"
#include "brush/BrushTransforms.h"
#include "tools/BrushDragTool.h"

// The brush's size: stretched by dragging (both sides, width or height; dragging past the
// brush's left or top edge mirrors it), halved or doubled at once, and the built-in brush and
// the spray radius sized by dragging a circle or square out of the press point.

class StretchTool : public BrushDragTool {
public:
    enum class Axes { Both, Width, Height };
    explicit StretchTool(Axes axes);
    const Axes axes;

    // The signed size for the pointer at p: 1 more than the offset from the corner, or 1 less
    // when it is negative (the brush mirrored); a side the tool keeps stays.
    Pair TargetSize(Pair p) const;

protected:
    void Preview(ToolContext& context) override;
    void Finish(ToolContext& context) override;

private:
    Pair Placed(Pair p, Pair size) const; // top-left corner of the result
};

// Halve or double (factor 0.5 or 2) both sides, the width or the height, at once.
class BrushScaleCommand : public PaintTool {
public:
    BrushScaleCommand(double factor, StretchTool::Axes axes);
    const double factor;
    const StretchTool::Axes axes;
    const ReshapeSettings* settings = nullptr;

    // The new side, or 0 when this side is left alone (halving 1, doubling MaxSide or more).
    int NewSide(int side) const;
    void Activate(ToolContext& context) override;
};

// Drags a radius out of the press point: r = the distance rounded (circle) or the larger offset
// (square), at least 1 and at most what a (2r + 1)² buffer allows.
class RadiusDragTool : public BrushDragTool {
public:
    static constexpr int MaxRadius = (brushxform::MaxSide - 1) / 2;
    RadiusDragTool(const char* idleKey, const char* dragKey);
    static int Radius(BrushShape shape, Pair offset);

protected:
    bool NeedsBrush() const override { return false; }
    void Pressed(ToolContext& context) override;
    void Preview(ToolContext& context) override;
    virtual BrushShape Shape(ToolContext& context) const = 0;
    int DraggedRadius(ToolContext& context) const;

    Pair press_{0, 0};

private:
    Buffer shown_; // the preview disc, rebuilt only when its radius or colour changes
    int shownRadius_ = -1;
    BrushShape shownShape_ = BrushShape::Circular;
    uint32_t shownColour_ = 0;
};

// The Brushes group's alternate: resizes the built-in brush of the shape chosen last.
class BrushResizeTool : public RadiusDragTool {
public:
    BrushResizeTool();
    void Activate(ToolContext& context) override;
    void Deactivate(ToolContext& context, PaintTool* next) override;

protected:
    BrushShape Shape(ToolContext& context) const override;
    void Finish(ToolContext& context) override;

private:
    int savedHandle_ = -1; // while resizing, the centre handle is used
};

// Sizes the one spray radius the spray and airbrush read; the brush is left alone.
class SprayResizeTool : public RadiusDragTool {
public:
    SprayResizeTool();

protected:
    BrushShape Shape(ToolContext&) const override { return BrushShape::Circular; }
    void Finish(ToolContext& context) override;
};
