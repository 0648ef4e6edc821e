#include "tools/CommandTools.h"

#include "tools/ToolEngine.h"

UndoTool::UndoTool() {
    flags = Immediate;
    keepsUndo = false;
    helpContext = 3600;
}

void UndoTool::Activate(ToolEngine& engine) {
    ImageDoc& doc = engine.docs.CurrentDoc();
    if (!engine.docs.ExchangeWithUndo(doc)) return;
    if (engine.docs.hooks.showCurrent) engine.docs.hooks.showCurrent(true);
    engine.docs.UpdateFileLabel();
    if (doc.changeCount != 0) doc.changeCount ^= 1;
}

ClearTool::ClearTool() {
    flags = Immediate;
    keepsUndo = false;
    helpContext = 3700;
}

void ClearTool::Activate(ToolEngine& engine) {
    ImageDoc& doc = engine.docs.CurrentDoc();
    if (!doc.HasPixels()) return;
    engine.TakeUndo();
    doc.image.Box(doc.image.Bounds(), engine.backCol & 0xFFFFFF);
    doc.untitled = true;
    doc.fileName.clear();
    engine.docs.UpdateFileLabel();
    doc.AddChange();
    engine.InvalidateImageRect(doc.image.left, doc.image.top, doc.image.right + 1,
                               doc.image.bottom + 1);
}

GridTool::GridTool() {
    flags = Toggle;
    keepsUndo = false;
    snapToGrid = false;
    phaseCount = 0; // off
}

void GridTool::Activate(ToolEngine& engine) {
    engine.gridOn = true;
    if (engine.hooks.showGridBar) engine.hooks.showGridBar(true);
    if (engine.hooks.redrawView) engine.hooks.redrawView();
    // The pointer event this causes snaps the position.
    if (engine.PointerInImage()) engine.MovePointerToImage(engine.imagePos);
}

void GridTool::Deactivate(ToolEngine& engine, PaintTool*) {
    engine.gridOn = false;
    if (engine.hooks.showGridBar) engine.hooks.showGridBar(false);
}

GridOriginTool::GridOriginTool() {
    flags = OneShot;
    keepsUndo = false;
    snapToGrid = false;
    phaseCount = 1; // the press is the whole action
}

void GridOriginTool::ShowFeedback(ToolEngine& engine) {
    engine.ShowBrushPreview();
}
void GridOriginTool::HideFeedback(ToolEngine& engine) {
    engine.HideBrushPreview();
}

void GridOriginTool::Click(ToolEngine& engine) {
    engine.grid.SetOrigin(engine.imagePos.x, engine.imagePos.y);
}

void GridOriginTool::Activate(ToolEngine& engine) {
    statusText = engine.Translate("GridSet");
}
