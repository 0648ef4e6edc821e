#include "tools/StandardTools.h"

StandardTools::StandardTools()
    : brushes{BuiltInBrushTool{BrushShape::Circular, -1}, BuiltInBrushTool{BrushShape::Circular, 1},
              BuiltInBrushTool{BrushShape::Circular, 5},  BuiltInBrushTool{BrushShape::Circular, 10},
              BuiltInBrushTool{BrushShape::Square, -1},   BuiltInBrushTool{BrushShape::Square, 1},
              BuiltInBrushTool{BrushShape::Square, 5},    BuiltInBrushTool{BrushShape::Square, 10}} {
    for (BuiltInBrushTool& b : brushes) {
        b.circularEntry = &brushes[0];
        b.squareEntry = &brushes[4];
        b.continuousFreehand = &continuousFreehand;
        b.singleFreehand = &singleFreehand;
        b.dottedFreehand = &dottedFreehand;
    }
}

PaintTool* StandardTools::ByIcon(const QString& icon) {
    static const char* const brushIcons[] = {"BRUSH1", "BRUSH11", "BRUSH12", "BRUSH13",
                                             "BRUSH2", "BRUSH21", "BRUSH22", "BRUSH23"};
    for (size_t i = 0; i < brushes.size(); ++i)
        if (icon == QLatin1String(brushIcons[i])) return &brushes[i];
    const std::pair<const char*, PaintTool*> others[] = {
        {"PEN1", &continuousFreehand}, {"PEN2", &dottedFreehand},  {"PEN3", &singleFreehand},
        {"LINE1", &singleLine},        {"LINE2", &continuousLine}, {"SPLINE1", &singleCurve},
        {"SPLINE2", &continuousCurve},
    };
    for (const auto& [name, tool] : others)
        if (icon == QLatin1String(name)) return tool;
    return nullptr;
}
