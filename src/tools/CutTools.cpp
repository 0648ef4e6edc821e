#include "tools/CutTools.h"

#include "brush/Brush.h"
#include "brush/BrushCut.h"
#include "tools/BrushTools.h"
#include "tools/FillApply.h"
#include "tools/OptionBarHost.h"
#include "tools/ToolContext.h"

#include <algorithm>
#include <cmath>

namespace cuttools {

namespace {

void BackToPrevious(ToolContext& context) {
    context.SelectTool(context.PreviousTool(), true, -1);
}

void Failed(ToolContext& context) {
    brushtools::BrushTooBig(context);
    BackToPrevious(context);
}

// The new brush covers place exactly: the pointer goes onto its handle, then follows the trim.
void Finish(ToolContext& context, const Rect& place, const Links& links) {
    Brush& brush = context.CurrentBrush();
    const Pair hot = brush.HandleOffset();
    Pair pointer{place.left + hot.x, place.top + hot.y};
    const TrimResult trim = brush.Trim(pointer, context.DrawColour(), context.BackColour());
    if (trim.trimmed) pointer = trim.pointer;
    context.MovePointerToImage(pointer);
    brush.SetTechnique(Technique::Paint, context.DrawColour(), context.BackColour());
    brushtools::ShowTechnique(context);
    if (links.next)
        context.SelectTool(links.next, true, -1);
    else
        BackToPrevious(context);
}

} // namespace

void CutRectangle(ToolContext& context, Pair a, Pair b, const Links& links) {
    ImageDoc& doc = context.Documents().CurrentDoc();
    const Rect r = brushcut::ClampedRect(a, b, {doc.image.Width(), doc.image.Height()});
    if (r.Empty()) {
        BackToPrevious(context);
        return;
    }
    const uint32_t back = context.BackColour();
    CustomBrush how;
    how.origin = {r.left, r.top};
    how.keyColour = back;
    how.keyToTransparent = true;
    if (!context.CurrentBrush().SetCustom(Buffer(doc.image, r), how, context.DrawColour(), back)) {
        Failed(context);
        return;
    }
    if (context.Keys().right) {
        context.WorkBuffer().Box(r, back & 0xFFFFFF);
        context.Invalidate(r);
        doc.AddChange();
    }
    Finish(context, r, links);
}

void CutMarked(ToolContext& context, Rect area, const Links& links) {
    DocumentTable& docs = context.Documents();
    ImageDoc& doc = docs.CurrentDoc();
    Buffer& image = doc.image;
    const Buffer& before = docs.UndoDoc().image;
    const Rect r = brushcut::MarkedBounds(image, area);
    const bool comparable =
        before.Width() == image.Width() && before.Height() == image.Height() && !before.Empty();
    if (r.Empty() || !comparable) {
        // Nothing to cut (or no picture from before the press to cut it from): the picture as it
        // was, the brush kept.
        if (docs.RestoreFromUndo(doc) != 0) image.Bool(1, Pixel::ClearMarks);
        context.Invalidate(image.Bounds());
        if (r.Empty())
            BackToPrevious(context);
        else
            Failed(context);
        return;
    }
    CustomBrush how;
    how.origin = {r.left, r.top};
    how.keyColour = brushcut::FreeColour(image, before, r, context.BackColour());
    Buffer kept;
    const bool made =
        brushcut::KeptPixels(image, before, r, kept) &&
        context.CurrentBrush().SetCustom(kept, how, context.DrawColour(), context.BackColour());
    if (made && context.Keys().right) {
        fill::PaintMarkedSolid(image, r, context.BackColour(), false);
        context.Invalidate(r);
        doc.AddChange();
    } else {
        // Takes the outline and every mark out again.
        docs.RestoreFromUndo(doc);
        context.Invalidate(image.Bounds());
    }
    if (!made) {
        Failed(context);
        return;
    }
    Finish(context, r, links);
}

} // namespace cuttools

namespace {

Rect Span(Pair a, Pair b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

void BackUpBrush(ToolContext& context) {
    context.CurrentBrush().Backup();
}

} // namespace

CutRectangleTool::CutRectangleTool() {
    flags = OneShot;
    phaseCount = 2;
}

void CutRectangleTool::Activate(ToolContext& context) {
    statusText = context.Translate(QStringLiteral("CutBrush"));
    BackUpBrush(context);
}

void CutRectangleTool::Deactivate(ToolContext& context, PaintTool*) {
    context.HideCrosshair();
    HideFrame(context);
}

void CutRectangleTool::ShowFeedback(ToolContext& context) {
    if (context.Phase() == ToolPhase::Idle) {
        context.ShowCrosshair();
        return;
    }
    HideFrame(context);
    const Pair p = context.ShownPosition();
    frame_ = Span(first_, p);
    frameShown_ = true;
    context.ToggleOverlay(OverlayKind::Frame, frame_);
    context.SetPanel(StatusPanel::Measure,
                     QStringLiteral("[%1,%2]").arg(frame_.Width()).arg(frame_.Height()));
}

void CutRectangleTool::HideFeedback(ToolContext& context) {
    context.HideCrosshair();
    HideFrame(context);
}

void CutRectangleTool::HideFrame(ToolContext& context) {
    if (!frameShown_) return;
    frameShown_ = false;
    context.ToggleOverlay(OverlayKind::Frame, frame_);
}

void CutRectangleTool::Click(ToolContext& context) {
    if (context.Phase() == ToolPhase::Idle) {
        first_ = context.Position();
        statusText = context.Translate(QStringLiteral("CutBrush2"));
        context.SetPanel(StatusPanel::Hint, statusText);
        return;
    }
    context.SetPanel(StatusPanel::Measure, QString());
    cuttools::CutRectangle(context, first_, context.Position(), links);
}

CutPredefinedTool::CutPredefinedTool() {
    flags = OneShot;
    phaseCount = 1;
}

void CutPredefinedTool::Activate(ToolContext& context) {
    statusText = context.Translate(QStringLiteral("CutResize"));
    BackUpBrush(context);
    OptionBarHost& bar = context.Bar();
    bar.SetValue(1, width);
    bar.SetValue(2, height);
    bar.SetHandler(0, [this, &context] { ResetSizeClick(context); });
    bar.SetHandler(1, [this, &context] { CutSizeChanged(context); });
    bar.SetHandler(2, [this, &context] { CutSizeChanged(context); });
    bar.SetHandler(3, [this, &context] { DoubleAreaClick(context); });
    bar.SetHandler(4, [this, &context] { HalveAreaClick(context); });
}

void CutPredefinedTool::Deactivate(ToolContext& context, PaintTool*) {
    HideFeedback(context);
}

Rect CutPredefinedTool::Placed(ToolContext& context, Pair at) const {
    // The picture may have shrunk since the size was set.
    const Buffer& image = context.Documents().CurrentDoc().image;
    const int w = std::clamp(width, 1, std::max(image.Width(), 1));
    const int h = std::clamp(height, 1, std::max(image.Height(), 1));
    return {at.x, at.y, at.x + w - 1, at.y + h - 1};
}

void CutPredefinedTool::ShowFeedback(ToolContext& context) {
    HideFeedback(context);
    // What a press here would cut: the frame stops at the picture's edges as the cut does.
    const Buffer& image = context.Documents().CurrentDoc().image;
    const Rect r = Placed(context, context.ShownPosition());
    frame_ = brushcut::ClampedRect({r.left, r.top}, {r.right, r.bottom},
                                   {image.Width(), image.Height()});
    if (frame_.Empty()) return;
    frameShown_ = true;
    context.ToggleOverlay(OverlayKind::Frame, frame_);
}

void CutPredefinedTool::HideFeedback(ToolContext& context) {
    if (!frameShown_) return;
    frameShown_ = false;
    context.ToggleOverlay(OverlayKind::Frame, frame_);
}

void CutPredefinedTool::Click(ToolContext& context) {
    const Rect r = Placed(context, context.Position());
    cuttools::CutRectangle(context, {r.left, r.top}, {r.right, r.bottom}, links);
}

void CutPredefinedTool::SetSize(ToolContext& context, double w, double h) {
    const Buffer& image = context.Documents().CurrentDoc().image;
    // Clamped as doubles first: a huge value must not reach an int conversion.
    width = int(std::clamp(w, 1.0, double(std::max(image.Width(), 1))));
    height = int(std::clamp(h, 1.0, double(std::max(image.Height(), 1))));
    context.Bar().SetValue(1, width);
    context.Bar().SetValue(2, height);
    context.RefreshToolDisplay(true, true);
}

void CutPredefinedTool::CutSizeChanged(ToolContext& context) {
    SetSize(context, context.Bar().Value(1), context.Bar().Value(2));
    aspect = float(height) / float(width);
}

void CutPredefinedTool::ResetSizeClick(ToolContext& context) {
    SetSize(context, DefaultSize, DefaultSize);
    aspect = float(height) / float(width);
}

void CutPredefinedTool::ScaleArea(ToolContext& context, double factor) {
    const double w = std::max(1.0, std::trunc(width * factor + 0.5));
    SetSize(context, w, std::max(1.0, std::trunc(w * double(aspect) + 0.5)));
}

bool CutPredefinedTool::SizeKeyPressed(ToolContext& context, SizeKey key) {
    if (!context.PointerInImage()) return false;
    const Buffer& image = context.Documents().CurrentDoc().image;
    const int maxW = image.Width(), maxH = image.Height();
    double w = width, h = height;
    const bool sides = key != SizeKey::Shrink && key != SizeKey::Grow;
    switch (key) {
    case SizeKey::WidthLess:
        if (width <= 1) return false;
        --w;
        break;
    case SizeKey::WidthMore:
        if (width >= maxW) return false;
        ++w;
        break;
    case SizeKey::HeightLess:
        if (height <= 1) return false;
        --h;
        break;
    case SizeKey::HeightMore:
        if (height >= maxH) return false;
        ++h;
        break;
    case SizeKey::Shrink:
    case SizeKey::Grow: {
        const int step = key == SizeKey::Grow ? 1 : -1;
        if (step < 0 && (width <= 1 || height <= 1)) return false;
        if (step > 0 && (width >= maxW || height >= maxH)) return false;
        // aspect is at least 1 / the largest width, never 0.
        if (height < width) {
            w += step;
            h = std::trunc(w * double(aspect) + 0.5);
        } else {
            h += step;
            w = std::trunc(h / double(aspect) + 0.5);
        }
        break;
    }
    }
    SetSize(context, w, h);
    if (sides) aspect = float(height) / float(width);
    return true;
}
