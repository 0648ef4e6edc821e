#include "tools/CutTools.h"

#include "brush/Brush.h"
#include "tools/OptionBarHost.h"
#include "tools/ToolContext.h"

#include <algorithm>
#include <new>

CutFreehandTool::CutFreehandTool() : FilledShapeTool("CutDraw") {
    flags = OneShot;
}

void CutFreehandTool::Activate(ToolContext& context) {
    FilledShapeTool::Activate(context);
    context.CurrentBrush().Backup();
}

void CutFreehandTool::Complete(ToolContext& context, Buffer&, Rect area, uint32_t) {
    cuttools::CutMarked(context, area, links);
}

CutPolygonTool::CutPolygonTool() : FilledPolygonTool("CutPoly") {
    flags = OneShot;
}

void CutPolygonTool::Activate(ToolContext& context) {
    FilledPolygonTool::Activate(context);
    context.CurrentBrush().Backup();
}

void CutPolygonTool::Complete(ToolContext& context, Buffer&, Rect area, uint32_t) {
    cuttools::CutMarked(context, area, links);
}

CutWandTool::CutWandTool() {
    flags = OneShot;
    phaseCount = 1;
    snapToGrid = false;
}

void CutWandTool::Activate(ToolContext& context) {
    statusText = context.Translate(QStringLiteral("CutWand"));
    context.CurrentBrush().Backup();
    context.Bar().SetValue(0, tolerance);
}

void CutWandTool::Deactivate(ToolContext& context, PaintTool*) {
    tolerance = int(std::clamp(context.Bar().Value(0), 0.0, double(fill::MaxTolerance)));
}

void CutWandTool::Click(ToolContext& context) {
    tolerance = int(std::clamp(context.Bar().Value(0), 0.0, double(fill::MaxTolerance)));
    const Pair seed = context.Position();
    Buffer& work = context.WorkBuffer();
    if (!work.Contains(seed.x, seed.y)) return;
    Rect marked;
    try {
        marked = marker_.Mark(work, seed, tolerance, false);
    } catch (const std::bad_alloc&) {
        return; // the marker took its marks out again
    }
    cuttools::CutMarked(context, marked, links);
}
