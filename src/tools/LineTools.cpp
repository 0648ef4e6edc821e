#include "tools/LineTools.h"

#include "tools/FigureSink.h"
#include "tools/OptionBarHost.h"
#include "tools/ToolEngine.h"

void StrokeSettings::ReadBar(ToolEngine& engine) {
    const OptionBarHost& bar = engine.Bar();
    mode = int(bar.Value(0));
    value = int(bar.Value(1));
    arrow = int(bar.Value(2));
}

void StrokeSettings::ShowInBar(ToolEngine& engine) const {
    OptionBarHost& bar = engine.Bar();
    bar.SetValue(0, mode);
    bar.SetValue(1, value);
    bar.SetValue(2, arrow);
}

void StrokeSettings::AttachBarHandlers(ToolEngine& engine) {
    for (int i = 0; i < 3; ++i)
        engine.Bar().SetHandler(i, [&engine] { engine.RefreshToolDisplay(true, true); });
}

BarStrokeTool::BarStrokeTool(bool continuous, const char* startStatus)
    : continuous_(continuous), startStatus_(startStatus) {}

void BarStrokeTool::Activate(ToolEngine& engine) {
    statusText = engine.Translate(QString::fromLatin1(startStatus_));
    settings.ShowInBar(engine);
    StrokeSettings::AttachBarHandlers(engine);
}

void BarStrokeTool::Deactivate(ToolEngine& engine, PaintTool*) {
    settings.ReadBar(engine);
}

void BarStrokeTool::RubberBand(ToolEngine& engine) {
    Buffer& image = engine.docs.CurrentDoc().image;
    if (image.Empty()) return;
    PreviewSink sink(image, Pixel::Preview, [&engine](const Rect& r) {
        engine.InvalidateImageRect(r.left, r.top, r.right + 1, r.bottom + 1);
    });
    Trace(engine, sink, engine.shownPos);
}

void BarStrokeTool::Stamp(ToolEngine& engine) {
    const bool right = engine.shiftState.right;
    engine.PrepareStamp(right);
    settings.ReadBar(engine);
    StampSink sink(engine.brush, engine.WorkBuffer(), [&engine](const Rect& r) {
        engine.InvalidateImageRect(r.left, r.top, r.right + 1, r.bottom + 1);
    });
    Trace(engine, sink, engine.imagePos);
    if (right) engine.PrepareStamp(false);
    engine.docs.CurrentDoc().AddChange();
}

void BarStrokeTool::HideFeedback(ToolEngine& engine) {
    if (engine.phase == 0)
        engine.HideBrushPreview();
    else
        RubberBand(engine);
}

LineTool::LineTool(bool continuous) : BarStrokeTool(continuous, "LnStr") {
    helpContext = 2200;
    phaseCount = 2;
    optionBar = QStringLiteral("LINEBAR");
}

void LineTool::Trace(ToolEngine&, FigureSink& sink, Pair p) {
    figure::Line(sink, first, p, settings);
}

void LineTool::ShowFeedback(ToolEngine& engine) {
    if (engine.phase == 0) {
        engine.ShowBrushPreview();
        return;
    }
    const Pair p = engine.shownPos;
    engine.Status().SetPanel(3, QStringLiteral("[%1,%2]").arg(p.x - first.x).arg(p.y - first.y));
    settings.ReadBar(engine);
    RubberBand(engine);
}

void LineTool::Click(ToolEngine& engine) {
    const Pair p = engine.imagePos;
    if (engine.phase == 0) {
        statusText = engine.Translate(QStringLiteral("LnEnd"));
        first = p;
        return;
    }
    engine.Status().SetPanel(3, QString());
    Stamp(engine);
    if (!KeepsGoing()) {
        statusText = engine.Translate(QStringLiteral("LnStr")); // ready for the next start
        return;
    }
    engine.phase = 0;
    statusText = engine.Translate(QStringLiteral("LnEnd"));
    first = p;
}
