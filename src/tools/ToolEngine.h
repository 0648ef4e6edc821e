#pragma once

#include "brush/Brush.h"
#include "document/DocumentTable.h"
#include "document/Grid.h"
#include "document/Zoom.h"
#include "raster/Buffer.h"
#include "tools/CommandTools.h"
#include "tools/OptionBarHost.h"
#include "tools/PaintTool.h"
#include "tools/ToolHost.h"

#include <QString>

#include <functional>

// The last pointer event's keys and buttons.
struct ShiftState {
    bool shift = false, alt = false, ctrl = false;
    bool left = false, right = false, middle = false, dbl = false;
    friend bool operator==(const ShiftState&, const ShiftState&) = default;
};

// Routes the view's pointer events into the current tool: coordinates, grid, Shift axis lock,
// the click-or-drag phase machine, feedback on screen, the undo copy, and tool switching.
class ToolEngine {
public:
    static constexpr int DragMilliseconds = 300;
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
        std::function<QString(const QString&)> translate; // unset: the key itself
        // Replaces the brush's stamp and handle offset in the brush preview; null draws nothing.
        std::function<const Buffer*(Pair& handle)> stampBrush;
        // A keyed message box (see document/Host.h for styles and answers).
        std::function<int(const QString& text, const QString& title, int style)> messageByKey;
        // Spray and airbrush ticks, the polygon closing cursor.
        std::function<void(PaintTool* current)> activityTick;
    };

    // start is the first current tool (never an Immediate or Toggle one; null gives an idle
    // tool that does nothing).
    ToolEngine(DocumentTable& docs, ToolHost& host, StatusHost& status, PaintTool* start);
    ToolEngine(const ToolEngine&) = delete;
    ToolEngine& operator=(const ToolEngine&) = delete;

    Hooks hooks;
    DocumentTable& docs;

    // Program state the engine reads; the shell keeps them in line.
    ZoomRatio zoom;
    Pair scroll{0, 0}; // view pixels
    Pair client{0, 0}; // scroll box client area; 0 x 0: the whole image counts as visible
    bool clipping = false;
    GridSettings grid;
    bool gridOn = false; // set by the Grid tool
    uint32_t drawCol = 0xFFFFFF;
    uint32_t backCol = 0x000000;
    // The one brush every tool stamps.
    Brush brush;

    // Engine state that tools read and change.
    int phase = 0;
    Pair imagePos{-1, -1};
    Pair viewPos{-1, -1};
    Pair shownPos{-1, -1};
    bool outside = true;
    bool buttonDown = false;
    ShiftState shiftState;
    bool screenFeedback = false; // a tool drew on the view's canvas; Repaint redraws it

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

    void SelectTool(PaintTool* tool, bool redraw, int variant);
    void ReturnToPreviousTool(bool redraw);
    void SetPendingTool(PaintTool* tool) { pending_ = tool; }
    PaintTool* CurrentTool() const { return current_; }
    PaintTool* PreviousTool() const { return previous_; }
    int PreviousVariant() const { return previousVariant_; }
    PaintTool* PendingTool() const { return pending_; }
    // Palette and menu entry for the grid origin picker.
    void SetGridOrigin() { SelectTool(&gridOriginTool, true, -1); }
    // The grid bar's Brush Size button: the spacing becomes the current brush's size.
    void SetGridDeltaFromBrush() { grid.SetSpacingFromBrush({brush.source.Width(), brush.source.Height()}); }

    void ShowFeedback();
    void HideFeedback();
    void AdvancePhase();
    void RefreshToolDisplay(bool hide, bool show);
    // Image pixels, x2 and y2 exclusive, in either order.
    void InvalidateImageRect(int x1, int y1, int x2, int y2);
    void MovePointerToImage(Pair image);
    // The undo copy of the current image; false when it could not be taken.
    bool TakeUndo();
    // Rebuilt from the current image on every call (it follows scrolling when clipping).
    Buffer& WorkBuffer();

    // The brush preview at the image position, with its save-under buffer.
    void ShowBrushPreview();
    void HideBrushPreview();
    bool BrushPreviewShown() const { return previewShown_; }
    // A horizontal and a vertical line through p across the image in the preview colour;
    // drawing it again at the same place removes it.
    void ToggleCrosshair(Pair p);

    // The stamp brush for the pressed button (background colour for the right one).
    void PrepareStamp(bool useBackground) { brush.PrepareStamp(useBackground, drawCol, backCol); }
    // The current tool's option bar; a bar-less stand-in until the shell sets one.
    OptionBarHost& Bar() { return *bar_; }
    void SetOptionBar(OptionBarHost* bar) { bar_ = bar ? bar : &noBar_; }

    // For tools: overlays, cursors, the activity timer, panel 3.
    ToolHost& Host() { return host_; }
    StatusHost& Status() { return status_; }

    QString Translate(const QString& key) const;
    bool PointerInImage() const;

private:
    void ApplyAxisLock(Pair& view);
    Pair ToImage(Pair view) const;

    ToolHost& host_;
    StatusHost& status_;
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
    NullOptionBarHost noBar_;
    OptionBarHost* bar_ = &noBar_;
};
