#include "tools/CurveTools.h"

#include "tools/FigureSink.h"
#include "tools/ToolEngine.h"

CurveTool::CurveTool(bool continuous) : BarStrokeTool(continuous, "SplnStr") {
    helpContext = 2300;
    phaseCount = 3;
    optionBar = QStringLiteral("CURVEBAR");
}

void CurveTool::Trace(ToolEngine& engine, FigureSink& sink, Pair p) {
    // Until the end is placed the band is the chord from the start.
    if (engine.phase != 2)
        figure::Line(sink, start, p, {settings.mode, settings.value, 0});
    else
        figure::Curve(sink, start, end, p, settings);
}

void CurveTool::ShowFeedback(ToolEngine& engine) {
    if (engine.phase == 0) {
        engine.ShowBrushPreview();
        return;
    }
    const Pair p = engine.shownPos;
    if (engine.phase != 2)
        engine.Status().SetPanel(3,
                                 QStringLiteral("[%1,%2]").arg(p.x - start.x).arg(p.y - start.y));
    settings.ReadBar(engine);
    RubberBand(engine);
}

void CurveTool::Click(ToolEngine& engine) {
    const Pair p = engine.imagePos;
    if (engine.phase == 0) {
        statusText = engine.Translate(QStringLiteral("SplnEnd"));
        start = p;
        return;
    }
    if (engine.phase == 1 || engine.phase == 3) {
        statusText = engine.Translate(QStringLiteral("SplnCtr"));
        end = p;
        engine.Status().SetPanel(3, QString());
        return;
    }
    Stamp(engine);
    if (!KeepsGoing()) {
        statusText = engine.Translate(QStringLiteral("SplnStr")); // ready for the next start
        return;
    }
    engine.phase = 0;
    engine.outside = true; // no feedback until the pointer moves
    start = end;
    statusText = engine.Translate(QStringLiteral("SplnEnd"));
}
