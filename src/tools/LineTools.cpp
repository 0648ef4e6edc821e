#include "tools/LineTools.h"

#include "tools/OptionBarHost.h"
#include "tools/StrokeGeometry.h"
#include "tools/ToolEngine.h"

#include <cmath>

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

namespace stroke {

void StampArrows(ToolEngine& engine, Buffer& work, Pair s, Pair e, int arrow) {
    std::array<Pair, 2> points;
    if (!ArrowPoints(s, e, arrow, points)) return;
    for (const Pair& a : points) {
        Rect r;
        engine.brush.StampLine(work, a, e, 1, 1, &r);
        engine.InvalidateImageRect(r.left, r.top, r.right + 1, r.bottom + 1);
    }
}

void PreviewArrows(ToolEngine& engine, Buffer& image, Pair s, Pair e, int arrow) {
    std::array<Pair, 2> points;
    if (!ArrowPoints(s, e, arrow, points)) return;
    for (const Pair& a : points) {
        Rect r;
        Brush::PreviewLine(image, a, e, 1, 1, Pixel::Preview, &r);
        engine.InvalidateImageRect(r.left, r.top, r.right + 1, r.bottom + 1);
    }
}

} // namespace stroke

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

void BarStrokeTool::HideFeedback(ToolEngine& engine) {
    if (engine.phase == 0)
        engine.HideBrushPreview();
    else
        RubberBand(engine);
}

LineTool::LineTool(bool continuous) : BarStrokeTool(continuous, "LnStr") {
    phaseCount = 2;
}

void LineTool::RubberBand(ToolEngine& engine) {
    Buffer& image = engine.docs.CurrentDoc().image;
    if (image.Empty()) return;
    const Pair end = engine.shownPos;
    Rect r;
    Brush::PreviewLine(image, first, end,
                       stroke::LineSpacing(settings.mode, settings.value, first, end), 1,
                       Pixel::Preview, &r);
    engine.InvalidateImageRect(r.left, r.top, r.right + 1, r.bottom + 1);
    stroke::PreviewArrows(engine, image, first, end, settings.arrow);
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
    const bool right = engine.shiftState.right;
    engine.PrepareStamp(right);
    settings.ReadBar(engine);
    Buffer& work = engine.WorkBuffer();
    stroke::StampArrows(engine, work, first, p, settings.arrow);
    Rect r;
    engine.brush.StampLine(work, first, p,
                           stroke::LineSpacing(settings.mode, settings.value, first, p), 1, &r);
    engine.InvalidateImageRect(r.left, r.top, r.right + 1, r.bottom + 1);
    if (right) engine.PrepareStamp(false);
    engine.docs.CurrentDoc().AddChange();
    if (!KeepsGoing()) {
        statusText = engine.Translate(QStringLiteral("LnStr")); // ready for the next start
        return;
    }
    engine.phase = 0;
    statusText = engine.Translate(QStringLiteral("LnEnd"));
    first = p;
}
