#include "tools/CurveTools.h"

#include "tools/StrokeGeometry.h"
#include "tools/ToolEngine.h"

CurveTool::CurveTool(bool continuous) : BarStrokeTool(continuous, "SplnStr") {
    phaseCount = 3;
}

void CurveTool::RubberBand(ToolEngine& engine) {
    Buffer& image = engine.docs.CurrentDoc().image;
    if (image.Empty()) return;
    const Pair p = engine.shownPos;
    Rect r;
    if (engine.phase != 2) {
        Brush::PreviewLine(image, start, p,
                           stroke::LineSpacing(settings.mode, settings.value, start, p), 1,
                           Pixel::Preview, &r);
        engine.InvalidateImageRect(r.left, r.top, r.right + 1, r.bottom + 1);
        return;
    }
    const auto points = stroke::CurvePoints(start, stroke::BendControl(start, end, p), end);
    const double spacing =
        stroke::CurveSpacing(settings.mode, settings.value, stroke::CurveLength(points));
    double phase = 1;
    for (size_t k = 1; k < points.size(); ++k)
        phase = Brush::PreviewLine(image, points[k - 1], points[k], spacing, phase,
                                   Pixel::Preview) + 1;
    stroke::PreviewArrows(engine, image, points[15], points[16], settings.arrow);
    // The curve stays within the box of its three points and the control point's pull; the
    // whole image is cheaper to reason about than a tight box.
    engine.InvalidateImageRect(image.left, image.top, image.right + 1, image.bottom + 1);
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
    const bool right = engine.shiftState.right;
    engine.PrepareStamp(right);
    settings.ReadBar(engine);
    const auto points = stroke::CurvePoints(start, stroke::BendControl(start, end, p), end);
    const double spacing =
        stroke::CurveSpacing(settings.mode, settings.value, stroke::CurveLength(points));
    Buffer& work = engine.WorkBuffer();
    double phase = 1;
    for (size_t k = 1; k < points.size(); ++k) {
        Rect r;
        phase = engine.brush.StampLine(work, points[k - 1], points[k], spacing, phase, &r) + 1;
        engine.InvalidateImageRect(r.left, r.top, r.right + 1, r.bottom + 1);
    }
    stroke::StampArrows(engine, work, points[15], points[16], settings.arrow);
    if (right) engine.PrepareStamp(false);
    engine.docs.CurrentDoc().AddChange();
    if (!KeepsGoing()) {
        statusText = engine.Translate(QStringLiteral("SplnStr")); // ready for the next start
        return;
    }
    engine.phase = 0;
    engine.outside = true; // no feedback until the pointer moves
    start = end;
    statusText = engine.Translate(QStringLiteral("SplnEnd"));
}
