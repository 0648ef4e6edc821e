#include "tools/FillTools.h"

#include "brush/Brush.h"
#include "tools/FillApply.h"
#include "tools/OptionBarHost.h"
#include "tools/ToolContext.h"

#include <algorithm>
#include <new>

namespace {

// Bar values arrive as any double; converting one out of int's range would be undefined.
int BarInt(const OptionBarHost& bar, int index, int low, int high) {
    return int(std::clamp(bar.Value(index), double(low), double(high)));
}

} // namespace

FillTool::FillTool(Kind kind) : kind_(kind) {
    phaseCount = 1;
    snapToGrid = false;
    // Taken in Click, and only when the press really changes pixels, so a press on an area that
    // already has the colour keeps the previous undo copy.
    keepsUndo = false;
}

void FillTool::ReadBar(ToolContext& context) {
    const OptionBarHost& bar = context.Bar();
    tolerance = BarInt(bar, 0, 0, fill::MaxTolerance);
    diagonal = bar.Value(1) != 0;
}

void FillTool::Activate(ToolContext& context) {
    statusText = context.Translate(QStringLiteral("FillIP"));
    OptionBarHost& bar = context.Bar();
    bar.SetValue(0, tolerance);
    bar.SetValue(1, diagonal ? 1 : 0);
    bar.SetValue(2, shade ? 1 : 0);
    bar.SetHandler(2, [this, &context] { shade = context.Bar().Value(2) != 0; });
    if (kind_ != Kind::Pattern) return;
    bar.SetValue(4, originMode);
    bar.SetHandler(3, [this, &context] {
        if (originTool) context.SelectTool(originTool, true, -1);
    });
    bar.SetHandler(4, [this, &context] { originMode = BarInt(context.Bar(), 4, 0, 2); });
}

void FillTool::Deactivate(ToolContext& context, PaintTool*) {
    ReadBar(context);
}

void FillTool::Click(ToolContext& context) {
    ReadBar(context);
    const uint32_t colour = context.Keys().right ? context.BackColour() : context.DrawColour();
    const Pair seed = context.Position();
    {
        const Buffer& work = context.WorkBuffer();
        if (!work.Contains(seed.x, seed.y)) return;
        if (kind_ == Kind::Solid && fill::SeedIsFillColour(work, seed, colour)) return;
    }
    context.TakeUndo();
    Buffer& work = context.WorkBuffer();
    Rect marked;
    try {
        marked = marker_.Mark(work, seed, tolerance, diagonal);
    } catch (const std::bad_alloc&) {
        return; // the marker took its marks out again; nothing changed
    }
    if (marked.Empty()) return;
    PaintMarked(context, work, marked, colour);
    context.Invalidate(marked);
    context.Documents().CurrentDoc().AddChange();
}

void FillTool::PaintMarked(ToolContext& context, Buffer& work, Rect area, uint32_t colour) {
    const Brush& brush = context.CurrentBrush();
    const bool custom = brush.custom && !brush.source.Empty();
    if (kind_ == Kind::Solid || !custom) {
        // Without a custom brush the pattern fill is the solid fill, with that tool's shade.
        const bool shaded = kind_ == Kind::Pattern && solid ? solid->shade : shade;
        fill::PaintMarkedSolid(work, area, colour, shaded);
        return;
    }
    const Pair size{brush.source.Width(), brush.source.Height()};
    fill::Pattern pattern;
    pattern.brush = &brush.source;
    pattern.offset = fill::PatternOffset(originMode, size, {brush.originX, brush.originY},
                                         originTool ? originTool->offset : Pair{0, 0});
    pattern.background = context.BackColour();
    fill::PaintMarkedPattern(work, area, colour, pattern, shade);
}

FillOriginTool::FillOriginTool() {
    flags = OneShot;
    phaseCount = 1;
    keepsUndo = false; // it changes no pixel, so the undo copy stays what it was
}

void FillOriginTool::Activate(ToolContext& context) {
    statusText = context.Translate(QStringLiteral("FillPos"));
}

void FillOriginTool::ShowFeedback(ToolContext& context) {
    context.ShowBrushPreview();
}

void FillOriginTool::HideFeedback(ToolContext& context) {
    context.HideBrushPreview();
}

void FillOriginTool::Click(ToolContext& context) {
    const Brush& brush = context.CurrentBrush();
    offset = fill::FillOriginOffset(brush.HandleOffset(), context.Position(),
                                    {brush.source.Width(), brush.source.Height()});
    if (pattern) pattern->originMode = fill::OriginStored;
}

namespace filltools {

FillTool& CurrentFill(ToolContext& context, FillTool& fallback) {
    auto* fill = dynamic_cast<FillTool*>(context.CurrentFillVariant());
    return fill ? *fill : fallback;
}

} // namespace filltools
