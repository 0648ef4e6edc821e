#pragma once

#include "tools/BrushTools.h"
#include "tools/CurveTools.h"
#include "tools/FreehandTools.h"
#include "tools/LineTools.h"

#include <QString>

#include <array>

// The palette's tools that exist so far, one object each for the whole run.
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

    // The tool of a palette icon name, or nullptr.
    PaintTool* ByIcon(const QString& icon);
};
