#include "tools/FilledShapeTools.h"

#include "raster/FloodMark.h"
#include "tools/FillTools.h"
#include "tools/ToolContext.h"

#include <algorithm>

namespace {

Rect Span(Pair a, Pair b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

} // namespace

OutlineFillTool::OutlineFillTool(const char* status) : status_(status) {
    phaseCount = 2;
}

void OutlineFillTool::Begin(ToolContext& context, Pair p) {
    Buffer& work = context.WorkBuffer();
    if (work.Empty() || !region_.Alloc(context.Documents().CurrentDoc().image, work.Bounds()))
        region_.Free();
    colour_ = context.Keys().right ? context.BackColour() : context.DrawColour();
    outline_.Start(p);
    open_ = true;
}

void OutlineFillTool::AddEdge(ToolContext& context, Pair to) {
    const Pair from = outline_.Last();
    if (from == to) return;
    outline_.AddEdge(region_, to, colour_);
    context.Invalidate(Span(from, to));
}

void OutlineFillTool::Finish(ToolContext& context, bool single) {
    open_ = false;
    Rect area;
    if (single) {
        const Pair p = outline_.First();
        if (region_.Contains(p.x, p.y)) region_.At(p.x, p.y) |= fill::FillMark;
        area = {p.x, p.y, p.x, p.y};
    } else {
        outline_.Close(region_, colour_);
        area = outline_.Marked();
    }
    Complete(context, region_, area, colour_);
    region_.Free();
}

void OutlineFillTool::Complete(ToolContext& context, Buffer& region, Rect area, uint32_t colour) {
    if (fallbackFill && !area.Empty())
        filltools::CurrentFill(context, *fallbackFill).PaintMarked(context, region, area, colour);
    if (!area.Empty()) context.Invalidate(area);
    context.Documents().CurrentDoc().AddChange();
}

QString OutlineFillTool::Status(ToolContext& context) const {
    return context.Translate(QString::fromLatin1(status_));
}

void OutlineFillTool::Deactivate(ToolContext& context, PaintTool*) {
    if (!open_) return;
    open_ = false;
    region_.Free();
    // Takes the open outline's edges out again, marks and all.
    ImageDoc& doc = context.Documents().CurrentDoc();
    context.Documents().RestoreFromUndo(doc);
    context.Invalidate(doc.image.Bounds());
}

Pair OutlineFillTool::BandStart(ToolContext& context) const {
    return context.ShownPosition();
}

// Into the whole image, so a view that scrolled since showing still takes it out again.
void OutlineFillTool::Band(ToolContext& context) {
    Buffer& image = context.Documents().CurrentDoc().image;
    if (image.Empty()) return;
    image.Line(bandA_, bandB_, Pixel::Preview);
    context.Invalidate(Span(bandA_, bandB_));
}

void OutlineFillTool::ShowFeedback(ToolContext& context) {
    if (bandShown_) return;
    bandA_ = BandStart(context);
    bandB_ = context.ShownPosition();
    bandShown_ = true;
    Band(context);
}

void OutlineFillTool::HideFeedback(ToolContext& context) {
    if (!bandShown_) return;
    bandShown_ = false;
    Band(context);
}

FilledShapeTool::FilledShapeTool() : OutlineFillTool("Pen") {}

void FilledShapeTool::Activate(ToolContext& context) {
    statusText = Status(context);
}

void FilledShapeTool::ShowFeedback(ToolContext& context) {
    if (!open_) {
        OutlineFillTool::ShowFeedback(context);
        return;
    }
    // The outline itself is the feedback: it grows while the button is held.
    if (context.Phase() == ToolPhase::Held) AddEdge(context, context.ShownPosition());
}

void FilledShapeTool::Click(ToolContext& context) {
    if (context.Phase() == ToolPhase::Idle) {
        Begin(context, context.Position());
        return;
    }
    const bool single =
        context.Phase() == ToolPhase::Placed && context.Position() == Outline().First();
    Finish(context, single);
}

FilledPolygonTool::FilledPolygonTool() : FilledPolygonTool("FillPoly") {}

FilledPolygonTool::FilledPolygonTool(const char* status) : OutlineFillTool(status) {
    // The undo copy is taken at the first corner only: later corners must not replace it with
    // a picture holding the open polygon's edges and marks.
    keepsUndo = false;
}

void FilledPolygonTool::Activate(ToolContext& context) {
    statusText = Status(context);
    context.RunActivityTimer(true);
}

void FilledPolygonTool::Deactivate(ToolContext& context, PaintTool* next) {
    context.RunActivityTimer(false);
    cursor = ToolCursor::Cross;
    OutlineFillTool::Deactivate(context, next);
}

Pair FilledPolygonTool::BandStart(ToolContext& context) const {
    return open_ ? Outline().Last() : context.ShownPosition();
}

bool FilledPolygonTool::NearFirst(ToolContext& context) const {
    return open_ && ClosesPolygon(Outline().First(), context.ViewPointer(), context.ZoomFactor());
}

void FilledPolygonTool::ShowFeedback(ToolContext& context) {
    if (open_) {
        const Pair p = context.ShownPosition(), last = Outline().Last();
        context.SetPanel(StatusPanel::Measure,
                         QStringLiteral("[%1,%2]").arg(p.x - last.x).arg(p.y - last.y));
    }
    OutlineFillTool::ShowFeedback(context);
}

void FilledPolygonTool::Click(ToolContext& context) {
    const Pair p = context.Position();
    if (!open_) {
        context.TakeUndo();
        Begin(context, p);
    } else if (NearFirst(context) && p != Outline().Last()) {
        context.SetPanel(StatusPanel::Measure, QString());
        Finish(context, false);
        Tick(context);
    } else {
        AddEdge(context, p);
    }
    // Each corner ends the press: the next click is a new corner, not the end of a drag.
    context.SetPhase(ToolPhase::Idle);
}

void FilledPolygonTool::Tick(ToolContext& context) {
    const int want = NearFirst(context) ? ToolCursor::CrossOk : ToolCursor::Cross;
    if (want == cursor) return;
    cursor = want;
    context.RefreshToolDisplay(false, false);
}
