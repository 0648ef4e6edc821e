#include "tools/ReshapeTools.h"

#include "brush/Brush.h"
#include "brush/BrushTransforms.h"
#include "document/Host.h"
#include "tools/ToolContext.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.141592653589793;

} // namespace

BendTool::BendTool(bool ud) : BrushDragTool("BendBrush", "BendBrush2"), upAndDown(ud) {}

bool BendTool::Build(ToolContext& context, Pair p, Buffer& out, Pair& at) const {
    const Buffer& source = context.CurrentBrush().source;
    if (source.Empty()) return false;
    const int w = size_.x, h = size_.y;
    if (upAndDown) {
        const int middle = corner_.y + (h >> 1), d = middle - p.y;
        at = {corner_.x, std::min(corner_.y, p.y - (h >> 1))};
        return brushxform::BentColumns(source, d, brushxform::BendSplit(p.x, corner_.x, w),
                                       p.y < middle, out);
    }
    const int middle = corner_.x + (w >> 1), d = middle - p.x;
    at = {std::min(corner_.x, p.x - (w >> 1)), corner_.y};
    return brushxform::BentRows(source, d, brushxform::BendSplit(p.y, corner_.y, h), p.x < middle,
                                out);
}

void BendTool::Preview(ToolContext& context) {
    Buffer made;
    Pair at;
    if (Build(context, context.Position(), made, at)) ghost_.ShowPixels(context, made, at);
}

void BendTool::Finish(ToolContext& context) {
    Buffer made;
    Pair at;
    if (context.CurrentBrush().source.Empty()) return;
    Build(context, context.Position(), made, at);
    reshape::Install(context, made, &at);
}

ShearTool::ShearTool(bool ud) : BrushDragTool("ShearBrush", "ShearBrush2"), upAndDown(ud) {}

bool ShearTool::Build(ToolContext& context, Pair p, Buffer& out, Pair& at) const {
    const Buffer& source = context.CurrentBrush().source;
    if (source.Empty()) return false;
    const int w = size_.x, h = size_.y;
    if (upAndDown) {
        at = {corner_.x, std::min(corner_.y, p.y - (h - 1))};
        return brushxform::ShearedColumns(source, p.y - (corner_.y + h - 1), out);
    }
    at = {std::min(corner_.x, p.x - (w - 1)), corner_.y};
    return brushxform::ShearedRows(source, p.x - (corner_.x + w - 1), out);
}

void ShearTool::Preview(ToolContext& context) {
    Buffer made;
    Pair at;
    if (Build(context, context.Position(), made, at)) ghost_.ShowPixels(context, made, at);
}

void ShearTool::Finish(ToolContext& context) {
    Buffer made;
    Pair at;
    if (context.CurrentBrush().source.Empty()) return;
    Build(context, context.Position(), made, at);
    reshape::Install(context, made, &at);
}

RotateTool::RotateTool() : BrushDragTool("RotateBrush", "RotateBrush2") {
    cursor = ToolCursor::Rotate;
}

double RotateTool::Angle(Pair c, Pair p) {
    if (p == c) return 0;
    return std::atan2(double(c.y) - p.y, double(p.x) - c.x);
}

QString RotateTool::AngleText(double a) {
    return QString::number(a * (1 / Pi) * 180, 'f', 2) + QLatin1Char('`');
}

void RotateTool::Preview(ToolContext& context) {
    const Buffer& source = context.CurrentBrush().source;
    if (source.Empty()) return;
    const double a = Angle(Centre(), context.Position());
    context.SetPanel(StatusPanel::Measure, AngleText(a));
    // Turned straight into the picture, about the centre the brush has where it lies.
    const Pair size = brushxform::RotatedSize(size_, a);
    const Pair offset{(size.x - size_.x) / 2, (size.y - size_.y) / 2};
    const Pair at{corner_.x - offset.x, corner_.y - offset.y};
    const Rect r{at.x, at.y, at.x + size.x - 1, at.y + size.y - 1};
    const bool smooth = Smooth();
    ghost_.Show(context, r, [&](Buffer& view) {
        view.XFormLin(source, brushxform::TurnMatrix(a), corner_, Pixel::Transparent, smooth);
    });
}

void RotateTool::Finish(ToolContext& context) {
    const Buffer& source = context.CurrentBrush().source;
    if (source.Empty()) return;
    const double a = Angle(Centre(), context.Position());
    Buffer made;
    brushxform::Rotated(source, a, Smooth(), made);
    // Same place as the preview: the centre stays where it was.
    const Pair size{made.Width(), made.Height()};
    const Pair at{corner_.x - (size.x - size_.x) / 2, corner_.y - (size.y - size_.y) / 2};
    reshape::Install(context, made, &at);
}

TurnCommand::TurnCommand(bool q) : quarter(q) {
    flags = Immediate;
    keepsUndo = false;
    helpContext = 1200;
}

void TurnCommand::Activate(ToolContext& context) {
    const Buffer& source = context.CurrentBrush().source;
    if (source.Empty()) return;
    Buffer made;
    if (quarter) {
        brushxform::QuarterTurned(source, made);
    } else if (made.Alloc({source.Width(), source.Height()})) {
        made.Copy(source, {0, 0}, Pixel::CopyAll);
        brushxform::HalfTurn(made);
    }
    reshape::Install(context, made, nullptr);
}

DropShadowCommand::DropShadowCommand() {
    flags = Immediate;
    keepsUndo = false;
    helpContext = 1210;
}

void DropShadowCommand::Activate(ToolContext& context) {
    const Buffer& source = context.CurrentBrush().source;
    if (source.Empty()) return;
    Buffer made;
    brushxform::DropShadow(source, std::clamp(depth, 1, 999), direction, context.DrawColour(),
                           made);
    reshape::Install(context, made, nullptr);
}
