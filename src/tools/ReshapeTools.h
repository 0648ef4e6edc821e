#pragma once

#include "tools/BrushDragTool.h"

#include <QString>

// The brush's shape: bent into an arch or trough, sheared along a line, turned by any angle by
// dragging, turned a quarter or half turn at once, and given a drop shadow.

// Up-and-down moves columns vertically (the pointer's height from the middle row bends);
// left-and-right moves rows horizontally.
class BendTool : public BrushDragTool {
public:
    explicit BendTool(bool upAndDown);
    const bool upAndDown;

protected:
    void Preview(ToolContext& context) override;
    void Finish(ToolContext& context) override;

private:
    // The bent brush for the pointer at p and its top-left corner; false when it cannot be made.
    bool Build(ToolContext& context, Pair p, Buffer& out, Pair& at) const;
};

// Up-and-down moves columns vertically along a line to the pointer's height below the last row;
// left-and-right moves rows horizontally to the pointer's distance right of the last column.
class ShearTool : public BrushDragTool {
public:
    explicit ShearTool(bool upAndDown);
    const bool upAndDown;

protected:
    void Preview(ToolContext& context) override;
    void Finish(ToolContext& context) override;

private:
    bool Build(ToolContext& context, Pair p, Buffer& out, Pair& at) const;
};

// Turns the brush about its centre by the pointer's angle around it.
class RotateTool : public BrushDragTool {
public:
    RotateTool();
    // Counter-clockwise from the right with y up; 0 with the pointer on the centre.
    static double Angle(Pair centre, Pair p);
    // Panel 3: degrees with two decimals and the degree sign "`".
    static QString AngleText(double radians);

protected:
    void Preview(ToolContext& context) override;
    void Finish(ToolContext& context) override;

private:
    Pair Centre() const { return {corner_.x + size_.x / 2, corner_.y + size_.y / 2}; }
};

// Rotate 90 (a quarter turn counter-clockwise) or 180 degrees, exact pixel moves.
class TurnCommand : public PaintTool {
public:
    explicit TurnCommand(bool quarter);
    const bool quarter;
    void Activate(ToolContext& context) override;
};

// The drop shadow in the draw colour; the dialog sets depth and direction, then selects it.
class DropShadowCommand : public PaintTool {
public:
    DropShadowCommand();
    int depth = 1;     // 1 .. 999
    int direction = 0; // East, South-East, South, South-West
    void Activate(ToolContext& context) override;
};
