#include "tools/SizeTools.h"

#include "brush/BrushTransforms.h"
#include "document/Host.h"
#include "tools/BrushTools.h"
#include "tools/ToolContext.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

QString Bracketed(int a, int b) {
    return QStringLiteral("[%1,%2]").arg(a).arg(b);
}

} // namespace

StretchTool::StretchTool(Axes a) : BrushDragTool("StretchBrush", "StretchBrush2"), axes(a) {}

Pair StretchTool::TargetSize(Pair p) const {
    auto side = [](int offset) { return offset >= 0 ? offset + 1 : offset - 1; };
    return {axes == Axes::Height ? size_.x : side(p.x - corner_.x),
            axes == Axes::Width ? size_.y : side(p.y - corner_.y)};
}

Pair StretchTool::Placed(Pair p, Pair size) const {
    // Mirrored along an axis, the brush reaches from the pointer back to the corner.
    return {size.x < 0 ? p.x : corner_.x, size.y < 0 ? p.y : corner_.y};
}

void StretchTool::Preview(ToolContext& context) {
    const Buffer& source = context.CurrentBrush().source;
    if (source.Empty()) return;
    const Pair p = context.Position(), size = TargetSize(p), at = Placed(p, size);
    context.SetPanel(StatusPanel::Measure, Bracketed(size.x, size.y));
    // Resampled straight into the picture: only the visible part of a huge stretch is computed.
    const Rect r{at.x, at.y, at.x + std::abs(size.x) - 1, at.y + std::abs(size.y) - 1};
    const bool smooth = Smooth();
    ghost_.Show(context, r,
                [&](Buffer& view) { view.Scale(source, size, at, Pixel::Transparent, smooth); });
}

void StretchTool::Finish(ToolContext& context) {
    const Buffer& source = context.CurrentBrush().source;
    if (source.Empty()) return;
    const Pair p = context.Position(), size = TargetSize(p), at = Placed(p, size);
    Buffer made;
    brushxform::Scaled(source, size, Smooth(), made);
    reshape::Install(context, made, &at);
}

BrushScaleCommand::BrushScaleCommand(double f, StretchTool::Axes a) : factor(f), axes(a) {
    flags = Immediate;
    keepsUndo = false;
    helpContext = 1200;
}

int BrushScaleCommand::NewSide(int side) const {
    if (factor < 1 && side <= 1) return 0;
    if (factor > 1 && side >= brushxform::MaxSide) return 0;
    return int(side * factor);
}

void BrushScaleCommand::Activate(ToolContext& context) {
    const Buffer& source = context.CurrentBrush().source;
    if (source.Empty()) return;
    const int w = source.Width(), h = source.Height();
    const bool width = axes != StretchTool::Axes::Height, height = axes != StretchTool::Axes::Width;
    const int newW = width ? NewSide(w) : w, newH = height ? NewSide(h) : h;
    // Both sides change together or not at all.
    if (newW == 0 || newH == 0) return;
    Buffer made;
    brushxform::Scaled(source, {newW, newH}, settings && settings->Smooth(), made);
    reshape::Install(context, made, nullptr);
}

RadiusDragTool::RadiusDragTool(const char* idleKey, const char* dragKey)
    : BrushDragTool(idleKey, dragKey) {
    helpContext = 2000;
}

int RadiusDragTool::Radius(BrushShape shape, Pair d) {
    double r;
    if (shape == BrushShape::Square)
        r = std::max(std::fabs(double(d.x)), std::fabs(double(d.y)));
    else
        r = std::trunc(std::sqrt(double(d.x) * d.x + double(d.y) * d.y) + 0.5);
    // A release at the press point still leaves a brush; past MaxRadius no buffer fits.
    return int(std::clamp(r, 1.0, double(MaxRadius)));
}

int RadiusDragTool::DraggedRadius(ToolContext& context) const {
    const Pair p = context.Position();
    return Radius(Shape(context), {p.x - press_.x, p.y - press_.y});
}

void RadiusDragTool::Pressed(ToolContext& context) {
    press_ = context.Position();
}

void RadiusDragTool::Preview(ToolContext& context) {
    const Pair p = context.Position();
    context.SetPanel(StatusPanel::Measure, Bracketed(p.x - press_.x, p.y - press_.y));
    const int r = DraggedRadius(context);
    const BrushShape shape = Shape(context);
    const uint32_t colour = context.DrawColour();
    if (r != shownRadius_ || shape != shownShape_ || colour != shownColour_) {
        shownRadius_ = -1;
        if (!Brush::BuildBuiltIn(shape, r, colour, shown_)) return;
        shownRadius_ = r;
        shownShape_ = shape;
        shownColour_ = colour;
    }
    ghost_.ShowPixels(context, shown_, {press_.x - r, press_.y - r});
}

BrushResizeTool::BrushResizeTool() : RadiusDragTool("ResizeBrush", "ResizeBrush2") {}

BrushShape BrushResizeTool::Shape(ToolContext& context) const {
    return context.CurrentBrush().shape;
}

void BrushResizeTool::Activate(ToolContext& context) {
    RadiusDragTool::Activate(context);
    Brush& brush = context.CurrentBrush();
    if (savedHandle_ < 0) savedHandle_ = brush.handle;
    brush.handle = 0;
}

void BrushResizeTool::Deactivate(ToolContext& context, PaintTool* next) {
    RadiusDragTool::Deactivate(context, next);
    if (savedHandle_ >= 0) context.CurrentBrush().handle = savedHandle_;
    savedHandle_ = -1;
}

void BrushResizeTool::Finish(ToolContext& context) {
    Brush& brush = context.CurrentBrush();
    const int r = DraggedRadius(context);
    if (!brush.SelectBuiltIn(Shape(context), r, context.DrawColour(), context.BackColour())) {
        reshape::TooBig(context);
        return;
    }
    brushtools::ShowTechnique(context);
}

SprayResizeTool::SprayResizeTool() : RadiusDragTool("ResizeSpray", "ResizeSpray2") {
    helpContext = 2900;
}

void SprayResizeTool::Finish(ToolContext& context) {
    if (settings && settings->sprayRadius) *settings->sprayRadius = DraggedRadius(context);
}
