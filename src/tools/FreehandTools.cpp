#include "tools/FreehandTools.h"

#include "brush/Brush.h"
#include "tools/ToolContext.h"

FreehandTool::FreehandTool(Kind k) : kind(k) {
    phaseCount = 2;
}

void FreehandTool::Activate(ToolContext& context) {
    statusText = context.Translate(QStringLiteral("Pen"));
}

void FreehandTool::ShowFeedback(ToolContext& context) {
    switch (context.Phase()) {
    case 0:
        context.ShowBrushPreview();
        break;
    case 3: // button held: paint up to the pointer
        if (context.Position() != first) {
            DrawSegment(context, first, context.Position());
            first = context.Position();
        }
        break;
    case 1: // a quick click was released: its dab is down
        context.Documents().CurrentDoc().AddChange();
        context.PrepareStamp(false);
        context.ShowBrushPreview();
        context.SetPhase(ToolPhase::Idle);
        break;
    default:
        break;
    }
}

void FreehandTool::HideFeedback(ToolContext& context) {
    if (context.Phase() == ToolPhase::Idle) context.HideBrushPreview(); // strokes stay
}

void FreehandTool::Click(ToolContext& context) {
    const Pair p = context.Position();
    if (context.Phase() == ToolPhase::Idle) {
        context.PrepareStamp(context.Keys().right);
        first = p;
        firstResult = DrawSegment(context, p, p);
        if (!firstResult) return; // held: painting goes on in ShowFeedback
    } else {
        DrawSegment(context, p, p); // one more dab where the button came up
    }
    EndStroke(context);
}

void FreehandTool::EndStroke(ToolContext& context) {
    context.Documents().CurrentDoc().AddChange();
    context.PrepareStamp(false);
    context.SetPhase(ToolPhase::Second);
}

bool FreehandTool::DrawSegment(ToolContext& context, Pair a, Pair b) {
    Buffer& work = context.WorkBuffer();
    Rect covered;
    if (kind == Kind::Continuous) {
        context.CurrentBrush().StampLine(work, a, b, 1, 1, &covered);
    } else {
        context.CurrentBrush().StampAt(work, b.x, b.y);
        covered = context.CurrentBrush().StampRect(b);
    }
    context.Invalidate(covered);
    // A dab per pointer sample shows at once, as the brush preview does.
    if (kind == Kind::Dotted) context.UpdateViewNow();
    return kind == Kind::Single;
}
