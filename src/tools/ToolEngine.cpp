#include "tools/ToolEngine.h"

#include "document/WorkArea.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

ToolEngine::ToolEngine(DocumentTable& documents, ToolHost& host, StatusHost& status,
                       PaintTool* start)
    : docs(documents), host_(host), status_(status) {
    // A command or a switch can never be current; fall back to the idle tool.
    if (!start || start->Is(PaintTool::Immediate) || start->Is(PaintTool::Toggle)) start = &idle_;
    current_ = start;
    previous_ = start;
}

QString ToolEngine::Translate(const QString& key) const {
    return hooks.translate ? hooks.translate(key) : key;
}

bool ToolEngine::PointerInImage() const {
    return !outside && imagePos.x >= 0 && imagePos.y >= 0;
}

// The lock in force at the start of the event decides; a new lock applies from the next one.
void ToolEngine::ApplyAxisLock(Pair& view) {
    if (!lockShift_) {
        axisLock_ = LockOff;
        return;
    }
    switch (axisLock_) {
    case LockOff:
        anchor_ = view;
        axisLock_ = LockArmed;
        break;
    case LockArmed: {
        const int dx = std::abs(anchor_.x - view.x);
        const int dy = std::abs(anchor_.y - view.y);
        if (dy < dx && dx > AxisLockThreshold)
            axisLock_ = LockHorizontal;
        else if (dx < dy && dy > AxisLockThreshold)
            axisLock_ = LockVertical;
        break;
    }
    case LockHorizontal:
        view.y = anchor_.y;
        break;
    case LockVertical:
        view.x = anchor_.x;
        break;
    default:
        break;
    }
}

Pair ToolEngine::ToImage(Pair view) const {
    return PointerImagePosition(view, zoom, gridOn && current_->snapToGrid ? &grid : nullptr);
}

void ToolEngine::ShiftPressed() {
    if (PointerInImage()) lockShift_ = true;
}

void ToolEngine::KeyReleased() {
    lockShift_ = false;
}

void ToolEngine::ShowBufMouseDown(Pair view, ShiftState state) {
    PaintTool* const before = current_;
    if (hooks.capturePointer) hooks.capturePointer(true);
    if (hooks.clearActiveControl) hooks.clearActiveControl();
    ApplyAxisLock(view);
    viewPos = view;
    imagePos = ToImage(view);
    shiftState = state;
    buttonDown = true;

    HideFeedback();
    if (phase == 0 && current_->keepsUndo) TakeUndo();
    current_->Click(*this);

    if (current_ != before || phase != 0) {
        // A tool that replaced itself ends the phase logic of this press.
        if (phase == 1 || phase == 2) AdvancePhase();
        return;
    }
    host_.StartTimer(ToolTimer::Drag, DragMilliseconds);
    if (current_->phaseCount > 1) {
        phase = 3;
        ShowFeedback();
    } else if (current_->Is(PaintTool::OneShot)) {
        ReturnToPreviousTool(true);
    }
}

void ToolEngine::ShowBufMouseUp() {
    buttonDown = false;
    if (hooks.capturePointer) hooks.capturePointer(false);
    if (phase != 3) return;
    if (host_.TimerRunning(ToolTimer::Drag)) {
        // Released within the press time: a click; the tool finishes on the next press or in
        // its feedback.
        host_.StopTimer(ToolTimer::Drag);
        HideFeedback();
        phase = 1;
        RefreshToolDisplay(false, true);
        return;
    }
    HideFeedback();
    PaintTool* const tool = current_;
    tool->Click(*this);
    if (current_ != tool) return;
    if (phase == 3) phase = 1;
    AdvancePhase();
}

void ToolEngine::StoreMouseCoords(Pair view, ShiftState state) {
    ApplyAxisLock(view);
    viewPos = view;
    imagePos = ToImage(view);
    shiftState = state;
    status_.SetPanel(2, CoordinatesText(imagePos));
    if (outside || imagePos != shownPos) RefreshToolDisplay(true, true);
}

void ToolEngine::ClearMouseCoords() {
    imagePos = {-1, -1};
    viewPos = {-1, -1};
    shiftState = {};
    if (outside) return;
    HideFeedback();
    outside = true;
    for (int panel = 2; panel <= 4; ++panel) status_.SetPanel(panel, QString());
}

void ToolEngine::ShowBufPaint() {
    if (screenFeedback) current_->Repaint(*this);
}

void ToolEngine::DragIsSure() {
    host_.StopTimer(ToolTimer::Drag);
}

void ToolEngine::ActivateIconFunc() {
    if (!outside && hooks.activityTick) hooks.activityTick(current_);
}

void ToolEngine::ShowFeedback() {
    shownPos = imagePos;
    const Buffer& image = docs.CurrentDoc().image;
    outside = imagePos.x < 0 || imagePos.x >= image.Width() || imagePos.y < 0 ||
              imagePos.y >= image.Height();
    if (!outside) current_->ShowFeedback(*this);
}

void ToolEngine::HideFeedback() {
    if (!outside) current_->HideFeedback(*this);
}

void ToolEngine::AdvancePhase() {
    if (phase < current_->phaseCount - 1) {
        ++phase;
    } else if (current_->Is(PaintTool::OneShot)) {
        ReturnToPreviousTool(false);
        return;
    } else {
        phase = 0;
    }
    RefreshToolDisplay(false, true);
}

void ToolEngine::RefreshToolDisplay(bool hide, bool show) {
    host_.SetCursor(current_->cursor);
    status_.SetPanel(4, current_->statusText);
    // A click-mode tool waits for the release before it shows anything.
    if (phase == 1 && buttonDown) return;
    if (hide) HideFeedback();
    if (show) ShowFeedback();
}

void ToolEngine::ReturnToPreviousTool(bool redraw) {
    SelectTool(previous_, redraw, previousVariant_);
}

void ToolEngine::SelectTool(PaintTool* tool, bool redraw, int variant) {
    if (!tool) return;
    // Commands run and hand back; the bound stops a command that keeps naming another.
    for (int guard = 0; tool->Is(PaintTool::Immediate); ++guard) {
        if (guard == 16) return;
        HideFeedback();
        current_->Deactivate(*this, tool);
        tool->Activate(*this);
        if (pending_) {
            tool = pending_;
            pending_ = nullptr;
            variant = -1;
        } else {
            tool = current_;
            variant = tool->Is(PaintTool::OneShot) ? -1 : previousVariant_;
        }
        redraw = false;
    }
    if (tool->Is(PaintTool::Toggle)) {
        if (tool->phaseCount != 0) {
            tool->Deactivate(*this, tool);
            if (hooks.setPaletteButton) hooks.setPaletteButton(tool, false);
        } else {
            if (hooks.setPaletteButton) hooks.setPaletteButton(tool, true);
            tool->Activate(*this);
        }
        tool->phaseCount = tool->phaseCount != 0 ? 0 : 1;
        return;
    }
    if (!tool->Is(PaintTool::OneShot)) {
        previous_ = tool;
        previousVariant_ = variant;
    }
    if (redraw) HideFeedback();
    status_.SetPanel(3, QString());
    if (!current_->optionBar.isEmpty() && hooks.hideOptionBar)
        hooks.hideOptionBar(current_->optionBar, tool);
    current_->Deactivate(*this, tool);
    current_ = tool;
    if (hooks.showInPalette) hooks.showInPalette(tool, variant);
    if (hooks.setHelpContext) hooks.setHelpContext(tool->helpContext);
    phase = 0;
    if (!tool->optionBar.isEmpty() && hooks.showOptionBar) hooks.showOptionBar(tool);
    tool->Activate(*this);
    RefreshToolDisplay(false, true);
    // The pointer event this causes re-applies the new tool's snapping.
    if (PointerInImage()) MovePointerToImage(imagePos);
}

void ToolEngine::InvalidateImageRect(int x1, int y1, int x2, int y2) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    const double z = zoom.Factor();
    auto view = [](double v) {
        return int(std::clamp(std::trunc(v), -2147483647.0, 2147483647.0));
    };
    host_.InvalidateView({view(x1 * z - 1), view(y1 * z - 1), view(x2 * z + 1), view(y2 * z + 1)});
}

void ToolEngine::MovePointerToImage(Pair p) {
    const Buffer& image = docs.CurrentDoc().image;
    Pair low{0, 0};
    Pair high{image.Width(), image.Height()}; // exclusive
    if (client.x > 0 && client.y > 0) {
        const Pair first = ViewToImage(scroll, zoom);
        const Pair end = ViewToImage({scroll.x + client.x, scroll.y + client.y}, zoom);
        low = {std::max(low.x, first.x), std::max(low.y, first.y)};
        high = {std::min(high.x, end.x), std::min(high.y, end.y)};
    }
    p.x = std::max(low.x, std::min(p.x, high.x - 1));
    p.y = std::max(low.y, std::min(p.y, high.y - 1));
    imagePos = p;
    host_.MovePointer(ImageToView(p, zoom));
}

bool ToolEngine::TakeUndo() {
    return docs.TakeUndoSnapshot(docs.CurrentDoc());
}

Buffer& ToolEngine::WorkBuffer() {
    if (!RefreshWorkBuffer(work_, docs.CurrentDoc().image, clipping, scroll, client, zoom))
        work_.Free();
    return work_;
}

void ToolEngine::ShowBrushPreview() {
    // Never save a preview under another one.
    HideBrushPreview();
    Pair handle{0, 0};
    const Buffer* stamp = nullptr;
    if (hooks.stampBrush) {
        stamp = hooks.stampBrush(handle);
    } else {
        stamp = &brush.stamp;
        handle = brush.HandleOffset();
    }
    if (!stamp || stamp->Empty()) return;
    const Pair at{imagePos.x - handle.x, imagePos.y - handle.y};
    if (!saveUnder_.Alloc({stamp->Width(), stamp->Height()})) return;
    Buffer& image = docs.CurrentDoc().image;
    saveUnder_.Box(saveUnder_.Bounds(), 0);
    saveUnder_.Copy(image, {-at.x, -at.y}, Pixel::CopyAll);
    WorkBuffer().Copy(*stamp, at, Pixel::Transparent);
    previewAt_ = at;
    previewShown_ = true;
    InvalidateImageRect(at.x, at.y, at.x + stamp->Width(), at.y + stamp->Height());
    host_.UpdateView();
}

void ToolEngine::HideBrushPreview() {
    if (!previewShown_) return;
    previewShown_ = false;
    // Into the whole image: the visible part may have scrolled since the preview was drawn.
    docs.CurrentDoc().image.Copy(saveUnder_, previewAt_, Pixel::CopyAll);
    InvalidateImageRect(previewAt_.x, previewAt_.y, previewAt_.x + saveUnder_.Width(),
                        previewAt_.y + saveUnder_.Height());
}

void ToolEngine::ToggleCrosshair(Pair p) {
    const Buffer& image = docs.CurrentDoc().image;
    if (image.Empty()) return;
    Buffer& work = WorkBuffer();
    if (work.Empty()) return;
    work.Line({image.left, p.y}, {image.right, p.y}, Pixel::Preview);
    // The centre belongs to the horizontal line only, or the two would cancel there.
    if (p.y > image.top) work.VLine(p.x, image.top, p.y - 1, Pixel::Preview);
    if (p.y < image.bottom) work.VLine(p.x, p.y + 1, image.bottom, Pixel::Preview);
    InvalidateImageRect(image.left, p.y, image.right + 1, p.y + 1);
    InvalidateImageRect(p.x, image.top, p.x + 1, image.bottom + 1);
}
