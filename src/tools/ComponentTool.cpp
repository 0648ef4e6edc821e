#include "tools/ComponentTool.h"

#include "brush/Brush.h"
#include "brush/StampLine.h"
#include "document/DocumentTable.h"
#include "tools/ToolContext.h"

ComponentImageTool::ComponentImageTool(int c, const ComponentToolHooks& hooks)
    : component(c), hooks_(hooks) {
    flags = OneShot;
    keepsUndo = false; // the copy taken as the component starts is what every run reads
    snapToGrid = false;
    // A press places (1) and advances to Second (2); the last phase is never reached, so the
    // tool stays current through any number of clicks.
    phaseCount = 3;
    helpContext = 5500;
}

void ComponentImageTool::Activate(ToolContext&) {
    if (hooks_.started) hooks_.started(component, false);
}

void ComponentImageTool::Deactivate(ToolContext&, PaintTool*) {
    if (hooks_.ended) hooks_.ended(component);
}

void ComponentImageTool::ColoursChanged(ToolContext&) {
    if (hooks_.coloursChanged) hooks_.coloursChanged();
}

void ComponentImageTool::Click(ToolContext& context) {
    const Buffer& image = context.Documents().CurrentDoc().image;
    if (hooks_.click && !image.Empty())
        hooks_.click(context.Position(), {image.Width(), image.Height()}, context.Keys().right);
    context.SetPhase(ToolPhase::Placed);
}

ComponentBrushTool::ComponentBrushTool(int c, const ComponentToolHooks& hooks)
    : FreehandTool(Kind::Continuous), component(c), hooks_(hooks) {
    helpContext = 5500;
}

void ComponentBrushTool::Activate(ToolContext& context) {
    FreehandTool::Activate(context);
    if (hooks_.started) hooks_.started(component, true);
}

void ComponentBrushTool::Deactivate(ToolContext& context, PaintTool* next) {
    FreehandTool::Deactivate(context, next);
    if (hooks_.ended) hooks_.ended(component);
}

bool ComponentBrushTool::DrawSegment(ToolContext& context, Pair a, Pair b) {
    const Brush& brush = context.CurrentBrush();
    if (a == b) phase_ = 1; // a new stroke
    phase_ = WalkStampLine(a, b, 1, phase_, [&](int x, int y) {
        const Rect r = brush.StampRect({x, y});
        if (hooks_.stamp) hooks_.stamp(brush.stamp, {r.left, r.top});
    });
    phase_ += 1; // the next segment starts on this one's last point
    context.Invalidate(brush.LineRect(a, b));
    return false;
}
