#include "tools/CurveTools.h"

#include "tools/FigureSink.h"
#include "tools/ToolContext.h"

CurveTool::CurveTool(bool continuous) : BarStrokeTool(continuous, "SplnStr") {
    phaseCount = 3;
}

void CurveTool::Trace(ToolContext& context, FigureSink& sink, Pair p) {
    // Until the end is placed the band is the chord from the start.
    if (context.Phase() != ToolPhase::Second)
        figure::Line(sink, start, p, {settings.mode, settings.value, 0});
    else
        figure::Curve(sink, start, end, p, settings);
}

void CurveTool::ShowFeedback(ToolContext& context) {
    if (context.Phase() == ToolPhase::Idle) {
        context.ShowBrushPreview();
        return;
    }
    const Pair p = context.ShownPosition();
    if (context.Phase() != ToolPhase::Second)
        context.SetPanel(StatusPanel::Measure,
                         QStringLiteral("[%1,%2]").arg(p.x - start.x).arg(p.y - start.y));
    settings.ReadBar(context);
    RubberBand(context);
}

void CurveTool::Click(ToolContext& context) {
    const Pair p = context.Position();
    if (context.Phase() == ToolPhase::Idle) {
        statusText = context.Translate(QStringLiteral("SplnEnd"));
        start = p;
        return;
    }
    if (context.Phase() == ToolPhase::Placed || context.Phase() == ToolPhase::Held) {
        statusText = context.Translate(QStringLiteral("SplnCtr"));
        end = p;
        context.SetPanel(StatusPanel::Measure, QString());
        return;
    }
    Stamp(context);
    if (!KeepsGoing()) {
        statusText = context.Translate(QStringLiteral("SplnStr")); // ready for the next start
        return;
    }
    context.SetPhase(ToolPhase::Idle);
    context.HideUntilPointerMoves(); // no feedback until the pointer moves
    start = end;
    statusText = context.Translate(QStringLiteral("SplnEnd"));
}
