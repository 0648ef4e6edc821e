#include "tools/FreehandTools.h"

#include "tools/ToolEngine.h"

FreehandTool::FreehandTool(Kind k) : kind(k) {
    phaseCount = 2;
}

void FreehandTool::Activate(ToolEngine& engine) {
    statusText = engine.Translate(QStringLiteral("Pen"));
}

void FreehandTool::ShowFeedback(ToolEngine& engine) {
    switch (engine.phase) {
    case 0:
        engine.ShowBrushPreview();
        break;
    case 3: // button held: paint up to the pointer
        if (engine.imagePos != first) {
            DrawSegment(engine, first, engine.imagePos);
            first = engine.imagePos;
        }
        break;
    case 1: // a quick click was released: its dab is down
        engine.docs.CurrentDoc().AddChange();
        engine.PrepareStamp(false);
        engine.ShowBrushPreview();
        engine.phase = 0;
        break;
    default:
        break;
    }
}

void FreehandTool::HideFeedback(ToolEngine& engine) {
    if (engine.phase == 0) engine.HideBrushPreview(); // strokes stay
}

void FreehandTool::Click(ToolEngine& engine) {
    const Pair p = engine.imagePos;
    if (engine.phase == 0) {
        engine.PrepareStamp(engine.shiftState.right);
        first = p;
        firstResult = DrawSegment(engine, p, p);
        if (!firstResult) return; // held: painting goes on in ShowFeedback
    } else {
        DrawSegment(engine, p, p); // one more dab where the button came up
    }
    EndStroke(engine);
}

void FreehandTool::EndStroke(ToolEngine& engine) {
    engine.docs.CurrentDoc().AddChange();
    engine.PrepareStamp(false);
    engine.phase = 2;
}

bool FreehandTool::DrawSegment(ToolEngine& engine, Pair a, Pair b) {
    Buffer& work = engine.WorkBuffer();
    Rect covered;
    if (kind == Kind::Continuous) {
        engine.brush.StampLine(work, a, b, 1, 1, &covered);
    } else {
        engine.brush.StampAt(work, b.x, b.y);
        covered = engine.brush.StampRect(b);
    }
    engine.InvalidateImageRect(covered.left, covered.top, covered.right + 1, covered.bottom + 1);
    // A dab per pointer sample shows at once, as the brush preview does.
    if (kind == Kind::Dotted) engine.Host().UpdateView();
    return kind == Kind::Single;
}
