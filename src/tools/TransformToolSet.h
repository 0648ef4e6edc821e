#pragma once

#include "tools/BrushDragTool.h"
#include "tools/ImageTransformTools.h"
#include "tools/ReshapeTools.h"
#include "tools/SizeTools.h"

// The tools that resize and reshape the brush and the whole picture, one object each for the
// whole run, sharing one ReshapeSettings (the shell wires AntiAlias and the spray radius).
// Menu commands select them; the brush-resize tool is the Brushes group's right-button
// alternate and the spray-size tool is selected from the spray's bar.
struct TransformToolSet {
    TransformToolSet();
    TransformToolSet(const TransformToolSet&) = delete;
    TransformToolSet& operator=(const TransformToolSet&) = delete;

    ReshapeSettings settings;

    BrushScaleCommand halveBoth{0.5, StretchTool::Axes::Both};
    BrushScaleCommand halveWidth{0.5, StretchTool::Axes::Width};
    BrushScaleCommand halveHeight{0.5, StretchTool::Axes::Height};
    BrushScaleCommand doubleBoth{2, StretchTool::Axes::Both};
    BrushScaleCommand doubleWidth{2, StretchTool::Axes::Width};
    BrushScaleCommand doubleHeight{2, StretchTool::Axes::Height};
    StretchTool stretchBoth{StretchTool::Axes::Both};
    StretchTool stretchWidth{StretchTool::Axes::Width};
    StretchTool stretchHeight{StretchTool::Axes::Height};
    BrushResizeTool brushResize;
    SprayResizeTool spraySize;
    BendTool bendUpDown{true};
    BendTool bendLeftRight{false};
    ShearTool shearUpDown{true};
    ShearTool shearLeftRight{false};
    RotateTool rotate;
    TurnCommand rotate90{true};
    TurnCommand rotate180{false};
    DropShadowCommand dropShadow;
    StretchImageTool stretchImage;
    RotateImageTool rotateImage;
};
