#include "tools/BrushTools.h"

#include "document/Host.h"
#include "tools/ToolEngine.h"

BuiltInBrushTool::BuiltInBrushTool(BrushShape s, int r) : shape(s), radius(r) {
    flags = Immediate;
    keepsUndo = false;
}

void BuiltInBrushTool::Activate(ToolEngine& engine) {
    if (!engine.brush.SelectBuiltIn(shape, radius, engine.drawCol, engine.backCol)) {
        brushtools::BrushTooBig(engine);
        return;
    }
    brushtools::ShowTechnique(engine);
    PaintTool* entry = shape == BrushShape::Square ? squareEntry : circularEntry;
    if (entry && engine.hooks.showInPalette)
        engine.hooks.showInPalette(entry, Brush::BuiltInVariant(shape));
    // A single-dab tool continues as continuous freehand with the new brush.
    const PaintTool* previous = engine.PreviousTool();
    if (continuousFreehand && previous &&
        (previous == singleFreehand || previous == dottedFreehand))
        engine.SetPendingTool(continuousFreehand);
}

RestoreBrushTool::RestoreBrushTool() {
    flags = Immediate;
    keepsUndo = false;
    helpContext = 2000;
}

void RestoreBrushTool::Activate(ToolEngine& engine) {
    if (!engine.brush.Restore(engine.drawCol, engine.backCol)) {
        brushtools::BrushTooBig(engine);
        return;
    }
    brushtools::ShowTechnique(engine);
}

namespace brushtools {

void ShowTechnique(ToolEngine& engine) {
    engine.Status().SetPanel(1, QString::fromLatin1(Brush::TechniqueLetter(engine.brush.technique)));
}

bool ChooseTechnique(ToolEngine& engine, int technique) {
    engine.HideFeedback();
    const bool chosen = engine.brush.SetTechnique(technique, engine.drawCol, engine.backCol);
    if (chosen) ShowTechnique(engine);
    engine.ShowFeedback();
    return chosen;
}

void ColourChanged(ToolEngine& engine) {
    engine.HideFeedback();
    engine.PrepareStamp(false);
    engine.RefreshToolDisplay(false, true);
}

void BrushTooBig(ToolEngine& engine) {
    if (engine.hooks.messageByKey)
        engine.hooks.messageByKey(QStringLiteral("BrTooBig"), QStringLiteral("Err"),
                                  MessageCode::OkWarning);
    engine.brush.Restore(engine.drawCol, engine.backCol);
    ShowTechnique(engine);
}

} // namespace brushtools
