#include "tools/CloneTools.h"

#include "brush/Brush.h"
#include "raster/Buffer.h"
#include "tools/OptionBarHost.h"
#include "tools/ToolContext.h"

#include <algorithm>

namespace clonestamp {

Rect Stamp(Buffer& work, const Buffer& source, const Brush& brush, Pair p, Pair offset) {
    const Buffer& b = brush.stamp;
    if (b.Empty()) return {};
    const Pair hot = brush.HandleOffset(brush.handle, b.Width(), b.Height());
    const Rect covered{p.x - hot.x, p.y - hot.y, p.x - hot.x + b.Width() - 1,
                       p.y - hot.y + b.Height() - 1};
    if (work.Empty() || source.Empty()) return covered;
    // The work buffer's own corner: with clipping it need not start at (0, 0).
    const Rect dest = covered.Intersect(work.Bounds());
    for (int i = dest.top; i <= dest.bottom; ++i) {
        const int sy = std::clamp(i + offset.y, source.top, source.bottom);
        for (int j = dest.left; j <= dest.right; ++j) {
            if (b.At(b.left + j - covered.left, b.top + i - covered.top) == Pixel::Transparent)
                continue;
            const int sx = std::clamp(j + offset.x, source.left, source.right);
            work.At(j, i) = source.At(sx, sy);
        }
    }
    return covered;
}

} // namespace clonestamp

CloneTool::CloneTool() {
    // The copy is taken by a press that starts a stroke, never by the source click.
    keepsUndo = false;
}

void CloneTool::Activate(ToolContext& context) {
    statusText = context.Translate(QStringLiteral("CloneIP"));
    context.Bar().SetValue(0, fromUndo ? 1 : 0);
}

void CloneTool::Deactivate(ToolContext& context, PaintTool*) {
    fromUndo = context.Bar().Value(0) != 0;
    HideMarker(context);
}

Pair CloneTool::Source(ToolContext& context) const {
    if (pending) return at;
    const Pair p = context.Position();
    return {p.x + at.x, p.y + at.y};
}

void CloneTool::ShowMarker(ToolContext& context) {
    HideMarker(context);
    markerAt_ = Source(context);
    markerShown_ = true;
    context.ToggleOverlay(OverlayKind::Marker,
                          {markerAt_.x, markerAt_.y, markerAt_.x, markerAt_.y});
}

void CloneTool::HideMarker(ToolContext& context) {
    if (!markerShown_) return;
    markerShown_ = false;
    // Where it was drawn: the pointer or the source may have moved since.
    context.ToggleOverlay(OverlayKind::Marker,
                          {markerAt_.x, markerAt_.y, markerAt_.x, markerAt_.y});
}

void CloneTool::Stamp(ToolContext& context) {
    if (NoOffset()) return;
    Buffer& work = context.WorkBuffer();
    const Buffer& undo = context.Documents().UndoDoc().image;
    // An empty undo copy (none taken yet) leaves the current picture as the only source.
    const Buffer& source =
        fromUndo && !undo.Empty() ? undo : context.Documents().CurrentDoc().image;
    const Rect r = clonestamp::Stamp(work, source, context.CurrentBrush(), context.Position(), at);
    if (r.Empty()) return;
    context.Invalidate(r);
    context.UpdateViewNow();
}

void CloneTool::ShowFeedback(ToolContext& context) {
    const Pair p = context.Position();
    const Pair shown = pending ? Pair{at.x - p.x, at.y - p.y} : at;
    context.SetPanel(StatusPanel::Measure, QStringLiteral("[%1,%2]").arg(shown.x).arg(shown.y));
    switch (context.Phase()) {
    case ToolPhase::Idle:
        context.ShowBrushPreview();
        break;
    case ToolPhase::Held:
        Stamp(context);
        break;
    case ToolPhase::Placed:
        Stamp(context);
        context.ShowBrushPreview();
        context.SetPhase(ToolPhase::Idle);
        context.Documents().CurrentDoc().AddChange();
        break;
    default:
        break;
    }
    ShowMarker(context);
}

void CloneTool::HideFeedback(ToolContext& context) {
    if (context.Phase() == ToolPhase::Idle) context.HideBrushPreview();
    HideMarker(context);
}

void CloneTool::Click(ToolContext& context) {
    if (context.Phase() != ToolPhase::Idle) {
        context.Documents().CurrentDoc().AddChange();
        return;
    }
    fromUndo = context.Bar().Value(0) != 0;
    const ShiftState& keys = context.Keys();
    if (keys.alt || keys.ctrl) {
        pending = true;
        at = context.Position();
        ShowMarker(context);
        context.SetPhase(ToolPhase::Placed); // the press ends here, without a stamp
        return;
    }
    if (pending) {
        pending = false;
        const Pair p = context.Position();
        at = {at.x - p.x, at.y - p.y};
    }
    // Copying every pixel onto itself changes nothing: the copy of the last real action stays.
    if (!NoOffset()) context.TakeUndo();
}
