#include "tools/ShapeTools.h"

#include "raster/Buffer.h"
#include "raster/FloodMark.h"
#include "tools/FigureSink.h"
#include "tools/FillTools.h"
#include "tools/OptionBarHost.h"
#include "tools/ShapeGeometry.h"
#include "tools/StrokeGeometry.h"
#include "tools/ToolContext.h"

#include <algorithm>
#include <cstdlib>

namespace {

FigureSink::Invalidate Invalidator(ToolContext& context) {
    return [&context](const Rect& r) { context.Invalidate(r); };
}

// Filled figures: the right button paints the background colour straight away; the left marks
// the figure and the current fill variant paints it in the drawing colour.
void PaintFilled(ToolContext& context, FillTool* fallback, Buffer& work, Rect area) {
    if (!context.Keys().right && fallback)
        filltools::CurrentFill(context, *fallback)
            .PaintMarked(context, work, area, context.DrawColour());
    context.Invalidate(area);
}

} // namespace

BoxTool::BoxTool(bool filled, bool square) : filled_(filled), square_(square) {
    phaseCount = 2;
}

Pair BoxTool::Constrain(Pair p) const {
    return square_ ? shape::ConstrainSquare(first, p) : p;
}

void BoxTool::Activate(ToolContext& context) {
    statusText = context.Translate(QStringLiteral("BoxStr"));
}

void BoxTool::RubberBand(ToolContext& context) {
    Buffer& image = context.Documents().CurrentDoc().image;
    if (image.Empty()) return;
    const Pair p = Constrain(context.ShownPosition());
    if (filled_) {
        const Rect r = shape::BoxRect(first, p);
        image.Box(r, Pixel::Preview);
        context.Invalidate(r);
        return;
    }
    PreviewSink sink(image, Pixel::Preview, Invalidator(context));
    figure::OutlineBox(sink, first, p);
}

void BoxTool::ShowFeedback(ToolContext& context) {
    if (context.Phase() == ToolPhase::Idle) {
        context.ShowCrosshair();
        return;
    }
    const Rect r = shape::BoxRect(first, Constrain(context.ShownPosition()));
    context.SetPanel(StatusPanel::Measure,
                     QStringLiteral("[%1,%2]").arg(r.Width()).arg(r.Height()));
    RubberBand(context);
}

void BoxTool::HideFeedback(ToolContext& context) {
    if (context.Phase() == ToolPhase::Idle)
        context.HideCrosshair();
    else
        RubberBand(context);
}

void BoxTool::Click(ToolContext& context) {
    if (context.Phase() == ToolPhase::Idle) {
        statusText = context.Translate(QStringLiteral("Box2"));
        first = context.Position();
        return;
    }
    context.SetPanel(StatusPanel::Measure, QString());
    Draw(context, Constrain(context.Position()));
    context.Documents().CurrentDoc().AddChange();
    statusText = context.Translate(QStringLiteral("BoxStr"));
}

void BoxTool::Draw(ToolContext& context, Pair p) {
    const bool right = context.Keys().right;
    if (filled_) {
        Buffer& work = context.WorkBuffer();
        const Rect area = shape::BoxRect(first, p);
        if (right)
            work.Box(area, context.BackColour());
        else
            shape::MarkBox(work, first, p);
        PaintFilled(context, fallbackFill, work, area);
        return;
    }
    context.PrepareStamp(right);
    StampSink sink(context.CurrentBrush(), context.WorkBuffer(), Invalidator(context));
    figure::OutlineBox(sink, first, p);
    if (right) context.PrepareStamp(false);
}

EllipseTool::EllipseTool(bool filled, bool circle) : filled_(filled), circle_(circle) {
    phaseCount = 2;
}

Pair EllipseTool::Radii(Pair p) const {
    if (!circle_) return shape::EllipseRadii(centre, p);
    const int r = shape::CircleRadius(centre, p);
    return {r, r};
}

void EllipseTool::ReadBar(ToolContext& context) {
    if (filled_) return;
    const OptionBarHost& bar = context.Bar();
    // Clamped here: a value out of int's range must not reach the conversion; the spacing
    // itself never divides by less than 1.
    spacing.mode = int(std::clamp(bar.Value(0), 0.0, 2.0));
    spacing.value = int(std::clamp(bar.Value(1), -1e9, 1e9));
}

void EllipseTool::Activate(ToolContext& context) {
    statusText = context.Translate(QLatin1String(circle_ ? "CircleIO" : "EllipseIO"));
    if (filled_) return;
    OptionBarHost& bar = context.Bar();
    bar.SetValue(0, spacing.mode);
    bar.SetValue(1, spacing.value);
    for (int i = 0; i < 2; ++i)
        bar.SetHandler(i, [&context] { context.RefreshToolDisplay(true, true); });
}

void EllipseTool::Deactivate(ToolContext& context, PaintTool*) {
    ReadBar(context);
}

void EllipseTool::RubberBand(ToolContext& context) {
    Buffer& image = context.Documents().CurrentDoc().image;
    if (image.Empty()) return;
    if (filled_) {
        context.Invalidate(shape::FillEllipse(image, centre, rx, ry, Pixel::Preview));
        return;
    }
    PreviewSink sink(image, Pixel::Preview, Invalidator(context));
    figure::Ellipse(sink, centre, rx, ry, spacing);
}

void EllipseTool::ShowFeedback(ToolContext& context) {
    if (context.Phase() == ToolPhase::Idle) {
        context.ShowCrosshair();
        return;
    }
    const Pair p = context.ShownPosition();
    context.SetPanel(StatusPanel::Measure,
                     QStringLiteral("[%1,%2]").arg(p.x - centre.x).arg(p.y - centre.y));
    ReadBar(context);
    const Pair r = Radii(p);
    rx = r.x;
    ry = r.y;
    RubberBand(context);
}

void EllipseTool::HideFeedback(ToolContext& context) {
    if (context.Phase() == ToolPhase::Idle)
        context.HideCrosshair();
    else
        RubberBand(context); // the radii and spacing it was shown with
}

void EllipseTool::Click(ToolContext& context) {
    if (context.Phase() == ToolPhase::Idle) {
        statusText = context.Translate(QLatin1String(circle_ ? "Circle2" : "Ellipse2"));
        centre = context.Position();
        return;
    }
    context.SetPanel(StatusPanel::Measure, QString());
    Draw(context, context.Position());
    context.Documents().CurrentDoc().AddChange();
    statusText = context.Translate(QLatin1String(circle_ ? "CircleIO" : "EllipseIO"));
}

void EllipseTool::Draw(ToolContext& context, Pair p) {
    const bool right = context.Keys().right;
    const Pair r = Radii(p);
    if (filled_) {
        Buffer& work = context.WorkBuffer();
        const Rect area = right ? shape::FillEllipse(work, centre, r.x, r.y, context.BackColour())
                                : shape::MarkEllipse(work, centre, r.x, r.y);
        PaintFilled(context, fallbackFill, work, area);
        return;
    }
    ReadBar(context);
    context.PrepareStamp(right);
    StampSink sink(context.CurrentBrush(), context.WorkBuffer(), Invalidator(context));
    figure::Ellipse(sink, centre, r.x, r.y, spacing);
    if (right) context.PrepareStamp(false);
}
