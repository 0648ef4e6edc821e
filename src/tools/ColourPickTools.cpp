#include "tools/ColourPickTools.h"

#include "raster/ColourChange.h"
#include "raster/FloodMark.h"
#include "tools/OptionBarHost.h"
#include "tools/ToolContext.h"

#include <algorithm>

namespace {

int BarTolerance(const OptionBarHost& bar) {
    return int(std::clamp(bar.Value(0), 0.0, double(fill::MaxTolerance)));
}

} // namespace

void ColourPickTool::ShowStatus(ToolContext& context) {
    statusText = context.Translate(QLatin1String(status_));
}

void ColourPickTool::ShowFeedback(ToolContext& context) {
    const Pair p = context.Position();
    const Buffer& image = context.Documents().CurrentDoc().image;
    if (!image.Contains(p.x, p.y)) return; // the last colour stays in the panel
    const uint32_t c = image.At(p.x, p.y);
    context.SetPanel(
        StatusPanel::Measure,
        QStringLiteral("[%1,%2,%3]").arg((c >> 16) & 0xFF).arg((c >> 8) & 0xFF).arg(c & 0xFF));
}

GetColourTool::GetColourTool() : ColourPickTool("GetColor") {
    flags = OneShot;
    keepsUndo = false;
    snapToGrid = false;
    phaseCount = 1;
}

void GetColourTool::Activate(ToolContext& context) {
    ShowStatus(context);
}

void GetColourTool::Click(ToolContext& context) {
    const Pair p = context.Position();
    const Buffer& image = context.Documents().CurrentDoc().image;
    if (!image.Contains(p.x, p.y)) return;
    // A swatch holds a colour; the mark bits of the pixel are no part of it.
    context.SetColour(context.Keys().right, image.At(p.x, p.y) & 0xFFFFFF);
}

ChangeColourTool::ChangeColourTool() : ColourPickTool("ChangeColor") {
    snapToGrid = false;
    phaseCount = 1;
}

void ChangeColourTool::Activate(ToolContext& context) {
    ShowStatus(context);
    context.Bar().SetValue(0, tolerance);
}

void ChangeColourTool::Deactivate(ToolContext& context, PaintTool*) {
    tolerance = BarTolerance(context.Bar());
}

void ChangeColourTool::Click(ToolContext& context) {
    const Pair p = context.Position();
    Buffer& image = context.Documents().CurrentDoc().image;
    if (!image.Contains(p.x, p.y)) return;
    const uint32_t source = image.At(p.x, p.y);
    const uint32_t target = context.Keys().right ? context.BackColour() : context.DrawColour();
    Buffer& work = context.WorkBuffer();
    fill::ChangeColour(work, source, target, BarTolerance(context.Bar()));
    context.SetPanel(StatusPanel::Measure, QString());
    context.Documents().CurrentDoc().AddChange();
    context.Invalidate(work.Bounds());
}
