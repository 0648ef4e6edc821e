#pragma once

#include "tools/CommandTools.h"
#include "tools/OptionBarHost.h"
#include "tools/PaintTool.h"
#include "tools/ProgramState.h"
#include "tools/ToolContext.h"
#include "tools/ToolHost.h"

#include <QString>

#include <functional>

// Routes the view's pointer events into the current tool: coordinates, grid, Shift axis lock,
// the click-or-drag phase machine, feedback on screen, the undo copy, and tool switching. Tools
// see it only as their ToolContext.
class ToolEngine final : public ToolContext {
public:
    static constexpr int DragMilliseconds = 300;
    static constexpr int ActivityMilliseconds = 50;
    static constexpr int AxisLockThreshold = 4; // view pixels
    // Axis lock values.
    static constexpr int LockOff = -2, LockArmed = -1, LockVertical = 0, LockHorizontal = 1;

    // What the engine asks of the shell beyond ToolHost; an unset hook is skipped.
    struct Hooks {
        std::function<void(bool)> capturePointer;
        std::function<void()> clearActiveControl; // no option-bar control keeps the focus
        // Called whenever the old tool has a bar, even when next shares it: the shell decides.
        std::function<void(const QString& bar, PaintTool* next)> hideOptionBar;
        std::function<void(PaintTool*)> showOptionBar; // shown and filled from the tool
        // The palette group shows the tool (variant -1: search the group for it).
        std::function<void(PaintTool*, int variant)> showInPalette;
        std::function<void(PaintTool*, bool down)> setPaletteButton;
        std::function<void(int)> setHelpContext;
        std::function<void(bool)> showGridBar;
        std::function<void()> redrawView;
        // Replaces the brush's stamp and handle offset in the brush preview; null draws nothing.
        std::function<const Buffer*(Pair& handle)> stampBrush;
        // Spray and airbrush ticks, the polygon closing cursor.
        std::function<void(PaintTool* current)> activityTick;
        // The current variant of the palette's fill group.
        std::function<PaintTool*()> currentFill;
        // A swatch colour was set by a tool: the swatches show it.
        std::function<void()> coloursChanged;
        std::function<QString()> clipboardText;
        std::function<void(const QString&)> setClipboardText;
        // The colour selector on a colour of a tool, and closing it again.
        std::function<void(const QString& captionKey, std::function<uint32_t()> get,
                           std::function<void(uint32_t)> set)>
            editColour;
        std::function<void()> closeColourEditor;
    };

    // start is the first current tool (never an Immediate or Toggle one; null gives an idle
    // tool that does nothing).
    ToolEngine(ProgramState& state, ToolHost& host, PaintTool* start);
    ToolEngine(const ToolEngine&) = delete;
    ToolEngine& operator=(const ToolEngine&) = delete;

    Hooks hooks;
    ProgramState& state;

    // The framework's own tools.
    UndoTool undoTool;
    ClearTool clearTool;
    GridTool gridTool;
    GridOriginTool gridOriginTool;

    // Pointer events of the view, in view pixels.
    void ShowBufMouseDown(Pair view, ShiftState state);
    void ShowBufMouseUp();
    void StoreMouseCoords(Pair view, ShiftState state);
    void ClearMouseCoords();
    void ShowBufPaint();
    // Timer ticks.
    void DragIsSure();
    void ActivateIconFunc();
    // Shift pressed over the image arms the axis lock; releasing any key disarms it.
    void ShiftPressed();
    void KeyReleased();
    int AxisLock() const { return axisLock_; }

    void SelectTool(PaintTool* tool, bool redraw, int variant) override;
    void ReturnToPreviousTool(bool redraw);
    PaintTool* CurrentTool() const { return current_; }
    int PreviousVariant() const { return previousVariant_; }
    PaintTool* PendingTool() const { return pending_; }
    // Palette and menu entry for the grid origin picker.
    void SetGridOrigin() { SelectTool(&gridOriginTool, true, -1); }
    // The grid bar's Brush Size button: the spacing becomes the current brush's size.
    void SetGridDeltaFromBrush() {
        state.grid.SetSpacingFromBrush({state.brush.source.Width(), state.brush.source.Height()});
    }

    void ShowFeedback();
    void HideFeedback();
    void AdvancePhase();
    // Image pixels, x2 and y2 exclusive, in either order.
    void InvalidateImageRect(int x1, int y1, int x2, int y2);
    Pair ViewPosition() const { return viewPos_; }
    // Nothing is shown while the pointer is outside the image.
    bool Outside() const { return outside_; }
    bool ButtonDown() const { return buttonDown_; }
    bool BrushPreviewShown() const { return previewShown_; }
    // A horizontal and a vertical line through p across the image in the preview colour;
    // drawing it again at the same place removes it.
    void ToggleCrosshair(Pair p);
    // A tool drew on the view's canvas; the view's repaint redraws it through the tool.
    void SetScreenFeedback(bool on) { screenFeedback_ = on; }
    // The current tool's option bar; a bar-less stand-in until the shell sets one.
    void SetOptionBar(OptionBarHost* bar) { bar_ = bar ? bar : &noBar_; }
    // For tools to come: overlays, cursors, the activity timer.
    ToolHost& Host() { return host_; }

    // ToolContext.
    Pair Position() const override { return imagePos_; }
    Pair ShownPosition() const override { return shownPos_; }
    const ShiftState& Keys() const override { return shiftState_; }
    bool PointerInImage() const override;
    void MovePointerToImage(Pair image) override;
    int Phase() const override { return phase_; }
    void SetPhase(int phase) override { phase_ = phase; }
    void HideUntilPointerMoves() override { outside_ = true; }
    DocumentTable& Documents() override { return state.docs; }
    // Rebuilt from the current image on every call (it follows scrolling when clipping).
    Buffer& WorkBuffer() override;
    void Invalidate(const Rect& r) override {
        InvalidateImageRect(r.left, r.top, r.right + 1, r.bottom + 1);
    }
    // The undo copy of the current image; false when it could not be taken.
    bool TakeUndo() override;
    void UpdateViewNow() override { host_.UpdateView(); }
    Brush& CurrentBrush() override { return state.brush; }
    uint32_t DrawColour() const override { return state.drawCol; }
    uint32_t BackColour() const override { return state.backCol; }
    // The stamp brush for the pressed button (background colour for the right one).
    void PrepareStamp(bool useBackground) override {
        state.brush.PrepareStamp(useBackground, state.drawCol, state.backCol);
    }
    void SetColour(bool background, uint32_t colour) override;
    // The colour-change notice: a ColourFollower redraws itself, any other tool gets the stamp
    // brush rebuilt and its display refreshed.
    void ColourChanged();
    bool AntiAlias() const override { return state.antiAlias; }
    int& SprayRadius() override { return state.sprayRadius; }
    // The brush preview at the image position, with its save-under buffer.
    void ShowBrushPreview() override;
    void HideBrushPreview() override;
    void RefreshToolDisplay(bool hide, bool show) override;
    void ShowCrosshair() override;
    void HideCrosshair() override;
    void ToggleOverlay(OverlayKind kind, const Rect& image) override {
        host_.ToggleOverlay(kind, image);
    }
    GridSettings& Grid() override { return state.grid; }
    void SetGridOn(bool on) override;
    OptionBarHost& Bar() override { return *bar_; }
    void SetPanel(int panel, const QString& text) override { state.status.SetPanel(panel, text); }
    QString Translate(const QString& key) const override { return state.Translate(key); }
    int Message(const QString& textKey, const QString& titleKey, int style) override {
        return state.messages.MessageByKey(textKey, titleKey, style);
    }
    QString ClipboardText() override {
        return hooks.clipboardText ? hooks.clipboardText() : QString();
    }
    void SetClipboardText(const QString& text) override {
        if (hooks.setClipboardText) hooks.setClipboardText(text);
    }
    void EditColour(const QString& captionKey, std::function<uint32_t()> get,
                    std::function<void(uint32_t)> set) override {
        if (hooks.editColour) hooks.editColour(captionKey, std::move(get), std::move(set));
    }
    void CloseColourEditor() override {
        if (hooks.closeColourEditor) hooks.closeColourEditor();
    }
    PaintTool* PreviousTool() const override { return previous_; }
    void SetPendingTool(PaintTool* tool) override { pending_ = tool; }
    void ShowInPalette(PaintTool* tool, int variant) override {
        if (hooks.showInPalette) hooks.showInPalette(tool, variant);
    }
    PaintTool* CurrentFillVariant() override {
        return hooks.currentFill ? hooks.currentFill() : nullptr;
    }
    Pair ViewPointer() const override { return viewPos_; }
    double ZoomFactor() const override { return state.view.zoom.Factor(); }
    void RunActivityTimer(bool on) override {
        if (on)
            host_.StartTimer(ToolTimer::Activity, ActivityMilliseconds);
        else
            host_.StopTimer(ToolTimer::Activity);
    }

private:
    void ApplyAxisLock(Pair& view);
    Pair ToImage(Pair view) const;

    ToolHost& host_;
    int phase_ = ToolPhase::Idle;
    Pair imagePos_{-1, -1};
    Pair viewPos_{-1, -1};
    Pair shownPos_{-1, -1};
    bool outside_ = true;
    bool buttonDown_ = false;
    ShiftState shiftState_;
    bool screenFeedback_ = false;
    PaintTool idle_;
    PaintTool* current_;
    PaintTool* previous_;
    int previousVariant_ = 0;
    PaintTool* pending_ = nullptr;
    bool lockShift_ = false;
    int axisLock_ = LockOff;
    Pair anchor_{0, 0};
    Buffer work_;
    Buffer saveUnder_;
    Pair previewAt_{0, 0};
    bool previewShown_ = false;
    Pair crosshairAt_{0, 0};
    bool crosshairShown_ = false;
    NullOptionBarHost noBar_;
    OptionBarHost* bar_ = &noBar_;
};
