#include "tools/BrushMenu.h"

#include "brush/Brush.h"
#include "tools/BrushTools.h"
#include "tools/ToolEngine.h"

namespace brushmenu {

namespace {

// Trims and keeps the brush over the pixels it covered: the pointer follows what was removed.
void TrimAt(ToolEngine& engine, Pair pointer) {
    const TrimResult trim =
        engine.CurrentBrush().Trim(pointer, engine.DrawColour(), engine.BackColour());
    if (engine.PointerInImage() && (trim.trimmed || pointer != engine.Position()))
        engine.MovePointerToImage(trim.pointer);
}

} // namespace

bool SelectAll(ToolEngine& engine, PaintTool* next) {
    engine.HideFeedback();
    // Leaves an open polygon before the picture is taken, so its edges are not in the brush.
    engine.CurrentTool()->Deactivate(engine, nullptr);
    Brush& brush = engine.CurrentBrush();
    brush.Backup();
    ImageDoc& doc = engine.Documents().CurrentDoc();
    CustomBrush how;
    how.keyColour = engine.BackColour();
    how.keyToTransparent = true;
    how.handle = 0;
    const bool made = !doc.image.Empty() &&
                      brush.SetCustom(doc.image, how, engine.DrawColour(), engine.BackColour());
    if (!made) {
        brushtools::BrushTooBig(engine);
        engine.CurrentTool()->Activate(engine);
        engine.RefreshToolDisplay(false, true);
        return false;
    }
    TrimAt(engine, engine.Position());
    brushtools::ShowTechnique(engine);
    if (next) {
        engine.SelectTool(next, false, -1);
    } else {
        engine.CurrentTool()->Activate(engine);
        engine.RefreshToolDisplay(false, true);
    }
    return true;
}

std::optional<Pair> Crop(ToolEngine& engine) {
    engine.ReturnToPreviousTool(true);
    engine.HideFeedback();
    const Brush& brush = engine.CurrentBrush();
    if (brush.source.Empty()) return std::nullopt;
    const Pair size{brush.source.Width(), brush.source.Height()};
    Buffer made;
    if (!made.Alloc(size)) {
        engine.Message(QStringLiteral("ImgBig"), QStringLiteral("Err"), MessageCode::OkWarning);
        engine.ShowFeedback();
        return std::nullopt;
    }
    made.Copy(brush.source, {0, 0}, Pixel::CopyAll);
    made.ChColor(Pixel::Transparent, brush.keyColour & 0xFFFFFF);
    DocumentTable& docs = engine.Documents();
    ImageDoc& doc = docs.CurrentDoc();
    engine.TakeUndo();
    doc.image = std::move(made);
    doc.AddChange();
    if (docs.hooks.showCurrent) docs.hooks.showCurrent(true);
    engine.InvalidateImageRect(0, 0, size.x, size.y);
    engine.ShowFeedback();
    return size;
}

bool Outline(ToolEngine& engine) {
    engine.HideFeedback();
    Brush& brush = engine.CurrentBrush();
    brush.Backup();
    if (!brush.Outline(engine.DrawColour(), engine.DrawColour(), engine.BackColour())) {
        brushtools::BrushTooBig(engine);
        engine.ShowFeedback();
        return false;
    }
    const Pair shift = Brush::OutlineShift(brush.handle);
    const Pair p = engine.Position();
    TrimAt(engine, {p.x + shift.x, p.y + shift.y});
    engine.ShowFeedback();
    return true;
}

void MirrorLeftRight(ToolEngine& engine, bool optimise) {
    engine.HideFeedback();
    Brush& brush = engine.CurrentBrush();
    brush.Backup();
    brush.MirrorLeftRight(engine.DrawColour(), engine.BackColour());
    if (optimise) TrimAt(engine, engine.Position());
    engine.ShowFeedback();
}

void MirrorTopBottom(ToolEngine& engine, bool optimise) {
    engine.HideFeedback();
    Brush& brush = engine.CurrentBrush();
    brush.Backup();
    brush.MirrorTopBottom(engine.DrawColour(), engine.BackColour());
    if (optimise) TrimAt(engine, engine.Position());
    engine.ShowFeedback();
}

void SetHandle(ToolEngine& engine, int handle) {
    engine.HideFeedback();
    engine.CurrentBrush().handle = handle >= 0 && handle <= 4 ? handle : 0;
    engine.ShowFeedback();
}

void StepHandle(ToolEngine& engine) {
    SetHandle(engine, Brush::NextHandle(engine.CurrentBrush().handle));
}

} // namespace brushmenu
