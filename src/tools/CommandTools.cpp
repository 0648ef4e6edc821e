#include "tools/CommandTools.h"

#include "document/DocumentTable.h"
#include "tools/ToolContext.h"

UndoTool::UndoTool() {
    flags = Immediate;
    keepsUndo = false;
    helpContext = 3600;
}

void UndoTool::Activate(ToolContext& context) {
    ImageDoc& doc = context.Documents().CurrentDoc();
    if (!context.Documents().ExchangeWithUndo(doc)) return;
    if (context.Documents().hooks.showCurrent) context.Documents().hooks.showCurrent(true);
    context.Documents().UpdateFileLabel();
    if (doc.changeCount != 0) doc.changeCount ^= 1;
}

ClearTool::ClearTool() {
    flags = Immediate;
    keepsUndo = false;
    helpContext = 3700;
}

void ClearTool::Activate(ToolContext& context) {
    ImageDoc& doc = context.Documents().CurrentDoc();
    if (!doc.HasPixels()) return;
    context.TakeUndo();
    doc.image.Box(doc.image.Bounds(), context.BackColour() & 0xFFFFFF);
    doc.untitled = true;
    doc.fileName.clear();
    context.Documents().UpdateFileLabel();
    doc.AddChange();
    context.Invalidate(doc.image.Bounds());
}

GridTool::GridTool() {
    flags = Toggle;
    keepsUndo = false;
    snapToGrid = false;
    phaseCount = 0; // off
}

void GridTool::Activate(ToolContext& context) {
    context.SetGridOn(true);
    // The pointer event this causes snaps the position.
    if (context.PointerInImage()) context.MovePointerToImage(context.Position());
}

void GridTool::Deactivate(ToolContext& context, PaintTool*) {
    context.SetGridOn(false);
}

GridOriginTool::GridOriginTool() {
    flags = OneShot;
    keepsUndo = false;
    snapToGrid = false;
    phaseCount = 1; // the press is the whole action
}

void GridOriginTool::ShowFeedback(ToolContext& context) {
    context.ShowBrushPreview();
}
void GridOriginTool::HideFeedback(ToolContext& context) {
    context.HideBrushPreview();
}

void GridOriginTool::Click(ToolContext& context) {
    context.Grid().SetOrigin(context.Position().x, context.Position().y);
}

void GridOriginTool::Activate(ToolContext& context) {
    statusText = context.Translate("GridSet");
}
