#include "tools/LineTools.h"

#include "tools/FigureSink.h"
#include "tools/OptionBarHost.h"
#include "tools/ToolContext.h"

void StrokeSettings::ReadBar(ToolContext& context) {
    const OptionBarHost& bar = context.Bar();
    mode = int(bar.Value(0));
    value = int(bar.Value(1));
    arrow = int(bar.Value(2));
}

void StrokeSettings::ShowInBar(ToolContext& context) const {
    OptionBarHost& bar = context.Bar();
    bar.SetValue(0, mode);
    bar.SetValue(1, value);
    bar.SetValue(2, arrow);
}

void StrokeSettings::AttachBarHandlers(ToolContext& context) {
    for (int i = 0; i < 3; ++i)
        context.Bar().SetHandler(i, [&context] { context.RefreshToolDisplay(true, true); });
}

BarStrokeTool::BarStrokeTool(bool continuous, const char* startStatus)
    : continuous_(continuous), startStatus_(startStatus) {}

void BarStrokeTool::Activate(ToolContext& context) {
    statusText = context.Translate(QString::fromLatin1(startStatus_));
    settings.ShowInBar(context);
    StrokeSettings::AttachBarHandlers(context);
}

void BarStrokeTool::Deactivate(ToolContext& context, PaintTool*) {
    settings.ReadBar(context);
}

void BarStrokeTool::RubberBand(ToolContext& context) {
    Buffer& image = context.Documents().CurrentDoc().image;
    if (image.Empty()) return;
    PreviewSink sink(image, Pixel::Preview, [&context](const Rect& r) { context.Invalidate(r); });
    Trace(context, sink, context.ShownPosition());
}

void BarStrokeTool::Stamp(ToolContext& context) {
    const bool right = context.Keys().right;
    context.PrepareStamp(right);
    settings.ReadBar(context);
    StampSink sink(context.CurrentBrush(), context.WorkBuffer(),
                   [&context](const Rect& r) { context.Invalidate(r); });
    Trace(context, sink, context.Position());
    if (right) context.PrepareStamp(false);
    context.Documents().CurrentDoc().AddChange();
}

void BarStrokeTool::HideFeedback(ToolContext& context) {
    if (context.Phase() == ToolPhase::Idle)
        context.HideBrushPreview();
    else
        RubberBand(context);
}

LineTool::LineTool(bool continuous) : BarStrokeTool(continuous, "LnStr") {
    phaseCount = 2;
}

void LineTool::Trace(ToolContext&, FigureSink& sink, Pair p) {
    figure::Line(sink, first, p, settings);
}

void LineTool::ShowFeedback(ToolContext& context) {
    if (context.Phase() == ToolPhase::Idle) {
        context.ShowBrushPreview();
        return;
    }
    const Pair p = context.ShownPosition();
    context.SetPanel(StatusPanel::Measure,
                     QStringLiteral("[%1,%2]").arg(p.x - first.x).arg(p.y - first.y));
    settings.ReadBar(context);
    RubberBand(context);
}

void LineTool::Click(ToolContext& context) {
    const Pair p = context.Position();
    if (context.Phase() == ToolPhase::Idle) {
        statusText = context.Translate(QStringLiteral("LnEnd"));
        first = p;
        return;
    }
    context.SetPanel(StatusPanel::Measure, QString());
    Stamp(context);
    if (!KeepsGoing()) {
        statusText = context.Translate(QStringLiteral("LnStr")); // ready for the next start
        return;
    }
    context.SetPhase(ToolPhase::Idle);
    statusText = context.Translate(QStringLiteral("LnEnd"));
    first = p;
}
