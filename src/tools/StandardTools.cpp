#include "tools/StandardTools.h"

StandardTools::StandardTools()
    : brushes{
          BuiltInBrushTool{BrushShape::Circular, -1}, BuiltInBrushTool{BrushShape::Circular, 1},
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
    patternFill.originTool = &fillOrigin;
    spray.sizeTool = airbrush.sizeTool = &transform.spraySize;
    patternFill.solid = &solidFill;
    fillOrigin.pattern = &patternFill;
    for (BoxTool* b : {&filledRectangle, &rectangle, &filledSquare, &square})
        b->fallbackFill = &solidFill;
    for (EllipseTool* e : {&circle, &filledCircle, &ellipse, &filledEllipse})
        e->fallbackFill = &solidFill;
    filledShape.fallbackFill = &solidFill;
    filledPolygon.fallbackFill = &solidFill;
    // A cut continues with dabs of the new brush.
    for (cuttools::Links* l : {&cutRectangle.links, &cutPredefined.links, &cutFreehand.links,
                               &cutPolygon.links, &cutWand.links})
        l->next = &dottedFreehand;
    toolregistry::ApplySettings({this, nullptr});
}
