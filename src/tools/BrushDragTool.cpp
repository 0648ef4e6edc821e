#include "tools/BrushDragTool.h"

#include "brush/Brush.h"
#include "document/Host.h"
#include "tools/BrushTools.h"
#include "tools/ToolContext.h"

namespace reshape {

void TooBig(ToolContext& context) {
    context.Message(QStringLiteral("BrTooBig"), QStringLiteral("Err"), MessageCode::OkWarning);
}

bool Install(ToolContext& context, Buffer& made, const Pair* topLeft) {
    Brush& brush = context.CurrentBrush();
    // Built aside first, so a refusal leaves both the brush and what Restore would bring back.
    if (made.Empty() || !brush.Backup()) {
        TooBig(context);
        return false;
    }
    if (!brush.Reshape(made, context.DrawColour(), context.BackColour())) {
        TooBig(context);
        return false;
    }
    Pair pointer = context.Position();
    if (topLeft) {
        const Pair hot = brush.HandleOffset();
        pointer = {topLeft->x + hot.x, topLeft->y + hot.y};
    }
    const TrimResult trim = brush.Trim(pointer, context.DrawColour(), context.BackColour());
    if (trim.trimmed) pointer = trim.pointer;
    if (topLeft || trim.trimmed) context.MovePointerToImage(pointer);
    brushtools::ShowTechnique(context);
    return true;
}

} // namespace reshape

BrushDragTool::BrushDragTool(const char* idleKey, const char* dragKey)
    : idleKey_(idleKey), dragKey_(dragKey) {
    flags = OneShot;
    keepsUndo = false;
    helpContext = 1200;
    phaseCount = 2;
}

void BrushDragTool::Activate(ToolContext& context) {
    statusText = context.Translate(QLatin1String(idleKey_));
}

void BrushDragTool::Deactivate(ToolContext& context, PaintTool*) {
    ghost_.Hide(context);
}

void BrushDragTool::ShowFeedback(ToolContext& context) {
    if (context.Phase() == ToolPhase::Idle)
        context.ShowBrushPreview();
    else
        Preview(context);
}

void BrushDragTool::HideFeedback(ToolContext& context) {
    context.HideBrushPreview();
    ghost_.Hide(context);
}

void BrushDragTool::Pressed(ToolContext& context) {
    const Brush& brush = context.CurrentBrush();
    const Pair hot = brush.HandleOffset();
    corner_ = {context.Position().x - hot.x, context.Position().y - hot.y};
    size_ = {brush.source.Width(), brush.source.Height()};
}

void BrushDragTool::Click(ToolContext& context) {
    if (context.Phase() != ToolPhase::Idle) {
        context.SetPanel(StatusPanel::Measure, QString());
        Finish(context);
        return;
    }
    if (NeedsBrush() && context.CurrentBrush().source.Empty()) return;
    statusText = context.Translate(QLatin1String(dragKey_));
    context.SetPanel(StatusPanel::Hint, statusText);
    Pressed(context);
}
