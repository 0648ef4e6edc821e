#include "tools/BrushTools.h"

#include "document/Host.h"
#include "tools/ToolEngine.h"

BuiltInBrushTool::BuiltInBrushTool(BrushShape s, int r) : shape(s), radius(r) {
    flags = Immediate;
    keepsUndo = false;
}

void BuiltInBrushTool::Activate(ToolContext& context) {
    if (!context.CurrentBrush().SelectBuiltIn(shape, radius, context.DrawColour(),
                                              context.BackColour())) {
        brushtools::BrushTooBig(context);
        return;
    }
    brushtools::ShowTechnique(context);
    PaintTool* entry = shape == BrushShape::Square ? squareEntry : circularEntry;
    if (entry) context.ShowInPalette(entry, Brush::BuiltInVariant(shape));
    // A single-dab tool continues as continuous freehand with the new brush.
    const PaintTool* previous = context.PreviousTool();
    if (continuousFreehand && previous &&
        (previous == singleFreehand || previous == dottedFreehand))
        context.SetPendingTool(continuousFreehand);
}

RestoreBrushTool::RestoreBrushTool() {
    flags = Immediate;
    keepsUndo = false;
    helpContext = 2000;
}

void RestoreBrushTool::Activate(ToolContext& context) {
    if (!context.CurrentBrush().Restore(context.DrawColour(), context.BackColour())) {
        brushtools::BrushTooBig(context);
        return;
    }
    brushtools::ShowTechnique(context);
}

namespace brushtools {

void ShowTechnique(ToolContext& context) {
    const int technique = context.CurrentBrush().technique;
    context.SetPanel(StatusPanel::Technique,
                     QString::fromLatin1(Brush::TechniqueLetter(technique)));
}

bool ChooseTechnique(ToolEngine& engine, int technique) {
    engine.HideFeedback();
    const bool chosen =
        engine.CurrentBrush().SetTechnique(technique, engine.DrawColour(), engine.BackColour());
    if (chosen) ShowTechnique(engine);
    engine.ShowFeedback();
    return chosen;
}

void ColourChanged(ToolEngine& engine) {
    engine.ColourChanged();
}

void BrushTooBig(ToolContext& context) {
    context.Message(QStringLiteral("BrTooBig"), QStringLiteral("Err"), MessageCode::OkWarning);
    context.CurrentBrush().Restore(context.DrawColour(), context.BackColour());
    ShowTechnique(context);
}

} // namespace brushtools
