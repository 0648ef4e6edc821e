#include "tools/ToolEngine.h"

#include "document/WorkArea.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

ToolEngine::ToolEngine(ProgramState& programState, ToolHost& host, PaintTool* start)
    : state(programState), host_(host) {
    // A command or a switch can never be current; fall back to the idle tool.
    if (!start || start->Is(PaintTool::Immediate) || start->Is(PaintTool::Toggle)) start = &idle_;
    current_ = start;
    previous_ = start;
}

bool ToolEngine::PointerInImage() const {
    return !outside_ && imagePos_.x >= 0 && imagePos_.y >= 0;
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
    const bool snap = state.gridOn && current_->snapToGrid;
    return PointerImagePosition(view, state.view.zoom, snap ? &state.grid : nullptr);
}

void ToolEngine::ShiftPressed() {
    if (PointerInImage()) lockShift_ = true;
}

void ToolEngine::KeyReleased() {
    lockShift_ = false;
}

void ToolEngine::ShowBufMouseDown(Pair view, ShiftState keys) {
    PaintTool* const before = current_;
    if (hooks.capturePointer) hooks.capturePointer(true);
    if (hooks.clearActiveControl) hooks.clearActiveControl();
    ApplyAxisLock(view);
    viewPos_ = view;
    imagePos_ = ToImage(view);
    shiftState_ = keys;
    buttonDown_ = true;

    HideFeedback();
    // A press may write the image: an undo copy still sharing its pixels must not change too.
    if (phase_ == ToolPhase::Idle && current_->keepsUndo)
        TakeUndo();
    else
        state.docs.DetachUndo();
    current_->Click(*this);

    if (current_ != before || phase_ != ToolPhase::Idle) {
        // A tool that replaced itself ends the phase logic of this press.
        if (phase_ == ToolPhase::Placed || phase_ == ToolPhase::Second) AdvancePhase();
        return;
    }
    host_.StartTimer(ToolTimer::Drag, DragMilliseconds);
    if (current_->phaseCount > 1) {
        phase_ = ToolPhase::Held;
        ShowFeedback();
    } else if (current_->Is(PaintTool::OneShot)) {
        ReturnToPreviousTool(true);
    }
}

void ToolEngine::ShowBufMouseUp() {
    buttonDown_ = false;
    if (hooks.capturePointer) hooks.capturePointer(false);
    if (phase_ != ToolPhase::Held) return;
    if (host_.TimerRunning(ToolTimer::Drag)) {
        // Released within the press time: a click; the tool finishes on the next press or in
        // its feedback.
        host_.StopTimer(ToolTimer::Drag);
        HideFeedback();
        phase_ = ToolPhase::Placed;
        RefreshToolDisplay(false, true);
        return;
    }
    HideFeedback();
    PaintTool* const tool = current_;
    tool->Click(*this);
    if (current_ != tool) return;
    if (phase_ == ToolPhase::Held) phase_ = ToolPhase::Placed;
    AdvancePhase();
}

void ToolEngine::StoreMouseCoords(Pair view, ShiftState keys) {
    ApplyAxisLock(view);
    viewPos_ = view;
    imagePos_ = ToImage(view);
    shiftState_ = keys;
    state.status.SetPanel(StatusPanel::Position, CoordinatesText(imagePos_));
    if (outside_ || imagePos_ != shownPos_) RefreshToolDisplay(true, true);
}

void ToolEngine::ClearMouseCoords() {
    imagePos_ = {-1, -1};
    viewPos_ = {-1, -1};
    shiftState_ = {};
    if (outside_) return;
    HideFeedback();
    outside_ = true;
    for (int panel : {StatusPanel::Position, StatusPanel::Measure, StatusPanel::Hint})
        state.status.SetPanel(panel, QString());
}

void ToolEngine::ShowBufPaint() {
    if (screenFeedback_) current_->Repaint(*this);
}

void ToolEngine::DragIsSure() {
    host_.StopTimer(ToolTimer::Drag);
}

void ToolEngine::ActivateIconFunc() {
    if (!outside_ && hooks.activityTick) hooks.activityTick(current_);
}

void ToolEngine::ShowFeedback() {
    shownPos_ = imagePos_;
    const Buffer& image = state.docs.CurrentDoc().image;
    outside_ = imagePos_.x < 0 || imagePos_.x >= image.Width() || imagePos_.y < 0 ||
               imagePos_.y >= image.Height();
    if (!outside_) current_->ShowFeedback(*this);
}

void ToolEngine::HideFeedback() {
    if (!outside_) current_->HideFeedback(*this);
}

void ToolEngine::AdvancePhase() {
    if (phase_ < current_->phaseCount - 1) {
        ++phase_;
    } else if (current_->Is(PaintTool::OneShot)) {
        ReturnToPreviousTool(false);
        return;
    } else {
        phase_ = ToolPhase::Idle;
    }
    RefreshToolDisplay(false, true);
}

void ToolEngine::RefreshToolDisplay(bool hide, bool show) {
    host_.SetCursor(current_->cursor);
    state.status.SetPanel(StatusPanel::Hint, current_->statusText);
    // A click-mode tool waits for the release before it shows anything.
    if (phase_ == ToolPhase::Placed && buttonDown_) return;
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
    state.status.SetPanel(StatusPanel::Measure, QString());
    if (!current_->optionBar.isEmpty() && hooks.hideOptionBar)
        hooks.hideOptionBar(current_->optionBar, tool);
    current_->Deactivate(*this, tool);
    current_ = tool;
    if (hooks.showInPalette) hooks.showInPalette(tool, variant);
    if (hooks.setHelpContext) hooks.setHelpContext(tool->helpContext);
    phase_ = ToolPhase::Idle;
    if (!tool->optionBar.isEmpty() && hooks.showOptionBar) hooks.showOptionBar(tool);
    tool->Activate(*this);
    RefreshToolDisplay(false, true);
    // The pointer event this causes re-applies the new tool's snapping.
    if (PointerInImage()) MovePointerToImage(imagePos_);
}

void ToolEngine::InvalidateImageRect(int x1, int y1, int x2, int y2) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    const double z = state.view.zoom.Factor();
    auto view = [](double v) {
        return int(std::clamp(std::trunc(v), -2147483647.0, 2147483647.0));
    };
    host_.InvalidateView({view(x1 * z - 1), view(y1 * z - 1), view(x2 * z + 1), view(y2 * z + 1)});
}

void ToolEngine::MovePointerToImage(Pair p) {
    const Buffer& image = state.docs.CurrentDoc().image;
    Pair low{0, 0};
    Pair high{image.Width(), image.Height()}; // exclusive
    if (state.view.client.x > 0 && state.view.client.y > 0) {
        const ViewPlacement& v = state.view;
        const Pair first = ViewToImage(v.scroll, v.zoom);
        const Pair end = ViewToImage({v.scroll.x + v.client.x, v.scroll.y + v.client.y}, v.zoom);
        low = {std::max(low.x, first.x), std::max(low.y, first.y)};
        high = {std::min(high.x, end.x), std::min(high.y, end.y)};
    }
    p.x = std::max(low.x, std::min(p.x, high.x - 1));
    p.y = std::max(low.y, std::min(p.y, high.y - 1));
    imagePos_ = p;
    host_.MovePointer(ImageToView(p, state.view.zoom));
}

bool ToolEngine::TakeUndo() {
    return state.docs.TakeUndoSnapshot(state.docs.CurrentDoc());
}

Buffer& ToolEngine::WorkBuffer() {
    const ViewPlacement& v = state.view;
    if (!RefreshWorkBuffer(work_, state.docs.CurrentDoc().image, v.clipping, v.scroll, v.client,
                           v.zoom))
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
        stamp = &state.brush.stamp;
        handle = state.brush.HandleOffset();
    }
    if (!stamp || stamp->Empty()) return;
    const Pair at{imagePos_.x - handle.x, imagePos_.y - handle.y};
    if (!saveUnder_.Alloc({stamp->Width(), stamp->Height()})) return;
    Buffer& image = state.docs.CurrentDoc().image;
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
    state.docs.CurrentDoc().image.Copy(saveUnder_, previewAt_, Pixel::CopyAll);
    InvalidateImageRect(previewAt_.x, previewAt_.y, previewAt_.x + saveUnder_.Width(),
                        previewAt_.y + saveUnder_.Height());
}

void ToolEngine::SetGridOn(bool on) {
    state.gridOn = on;
    if (hooks.showGridBar) hooks.showGridBar(on);
    if (on && hooks.redrawView) hooks.redrawView();
}

void ToolEngine::ToggleCrosshair(Pair p) {
    // Into the whole image: a clipped work buffer may have scrolled between showing and hiding.
    Buffer& image = state.docs.CurrentDoc().image;
    if (image.Empty()) return;
    image.Line({image.left, p.y}, {image.right, p.y}, Pixel::Preview);
    // The centre belongs to the horizontal line only, or the two would cancel there.
    if (p.y > image.top) image.VLine(p.x, image.top, p.y - 1, Pixel::Preview);
    if (p.y < image.bottom) image.VLine(p.x, p.y + 1, image.bottom, Pixel::Preview);
    InvalidateImageRect(image.left, p.y, image.right + 1, p.y + 1);
    InvalidateImageRect(p.x, image.top, p.x + 1, image.bottom + 1);
}

void ToolEngine::ShowCrosshair() {
    HideCrosshair();
    crosshairAt_ = imagePos_;
    crosshairShown_ = true;
    ToggleCrosshair(crosshairAt_);
}

void ToolEngine::HideCrosshair() {
    if (!crosshairShown_) return;
    crosshairShown_ = false;
    ToggleCrosshair(crosshairAt_);
}

void ToolEngine::SetColour(bool background, uint32_t colour) {
    (background ? state.backCol : state.drawCol) = colour & 0xFFFFFF;
    if (hooks.coloursChanged) hooks.coloursChanged();
    ColourChanged();
}

void ToolEngine::ColourChanged() {
    if (auto* follower = dynamic_cast<ColourFollower*>(current_)) {
        follower->ColoursChanged(*this);
        return;
    }
    HideFeedback();
    PrepareStamp(false);
    RefreshToolDisplay(false, true);
}
