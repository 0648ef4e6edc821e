#pragma once

#include "tools/BrushTools.h"
#include "tools/CloneTools.h"
#include "tools/ColourPickTools.h"
#include "tools/CurveTools.h"
#include "tools/CutTools.h"
#include "tools/FillTools.h"
#include "tools/FilledShapeTools.h"
#include "tools/FreehandTools.h"
#include "tools/LineTools.h"
#include "tools/ShapeTools.h"
#include "tools/SprayTools.h"
#include "tools/TextTools.h"
#include "tools/ToolRegistry.h"
#include "tools/TransformToolSet.h"

#include <array>

// The palette's tools that exist so far, one object each for the whole run. The registry's entries
// find them here (ToolObjects::standard) and give them their settings when they are built.
struct StandardTools {
    StandardTools();
    StandardTools(const StandardTools&) = delete;
    StandardTools& operator=(const StandardTools&) = delete;

    // BRUSH1, BRUSH11..13, BRUSH2, BRUSH21..23 in palette order.
    std::array<BuiltInBrushTool, 8> brushes;
    FreehandTool continuousFreehand{FreehandTool::Kind::Continuous};
    FreehandTool dottedFreehand{FreehandTool::Kind::Dotted};
    FreehandTool singleFreehand{FreehandTool::Kind::Single};
    LineTool singleLine{false};
    LineTool continuousLine{true};
    CurveTool singleCurve{false};
    CurveTool continuousCurve{true};
    RestoreBrushTool restoreBrush;
    // RECT1..4 and CRC1..4 in palette order.
    BoxTool filledRectangle{true, false};
    BoxTool rectangle{false, false};
    BoxTool filledSquare{true, true};
    BoxTool square{false, true};
    EllipseTool circle{false, true};
    EllipseTool filledCircle{true, true};
    EllipseTool ellipse{false, false};
    EllipseTool filledEllipse{true, false};
    FillTool solidFill{FillTool::Kind::Solid};
    FillTool patternFill{FillTool::Kind::Pattern};
    FillOriginTool fillOrigin;
    FilledShapeTool filledShape;
    FilledPolygonTool filledPolygon;
    // CUT1..5 in palette order.
    CutRectangleTool cutRectangle;
    CutPredefinedTool cutPredefined;
    CutFreehandTool cutFreehand;
    CutPolygonTool cutPolygon;
    CutWandTool cutWand;
    SprayTool spray;
    AirbrushTool airbrush;
    TextTool writeText;
    CloneTool clone;
    GetColourTool getColour;
    ChangeColourTool changeColour;
    // Brush and picture size and shape; the menus, the Brushes group's alternate and the spray's
    // bar select them.
    TransformToolSet transform;
    // The spray-size tool, for the spray and airbrush bars' size button.
    PaintTool& SpraySizeTool() { return transform.spraySize; }
};
