#pragma once

#include "document/DocumentTable.h"
#include "document/Grid.h"
#include "document/Host.h"
#include "raster/Geometry.h"
#include "tools/ToolHost.h"

#include <QString>

#include <cstdint>
#include <functional>

class Brush;
class Buffer;
class OptionBarHost;
class PaintTool;

// The last pointer event's keys and buttons.
struct ShiftState {
    bool shift = false, alt = false, ctrl = false;
    bool left = false, right = false, middle = false, dbl = false;
    friend bool operator==(const ShiftState&, const ShiftState&) = default;
};

// What a tool may read and do while the engine runs it: the whole of a tool's view of the
// program. The engine implements it; tools never see the engine.
class ToolContext {
public:
    // The pointer: its image position (snapped while the grid is on), where the feedback was
    // last shown, the keys and buttons of its last event.
    virtual Pair Position() const = 0;
    virtual Pair ShownPosition() const = 0;
    virtual const ShiftState& Keys() const = 0;
    virtual bool PointerInImage() const = 0;
    virtual void MovePointerToImage(Pair image) = 0;

    // The action's phase (ToolPhase). A tool moves it only through these.
    virtual int Phase() const = 0;
    virtual void SetPhase(int phase) = 0;
    // Nothing is shown until the pointer moves again.
    virtual void HideUntilPointerMoves() = 0;

    // The picture: the documents, the buffer to paint into (only the visible part while
    // clipping), invalidation in image pixels (inclusive), the undo copy.
    virtual DocumentTable& Documents() = 0;
    virtual Buffer& WorkBuffer() = 0;
    virtual void Invalidate(const Rect& image) = 0;
    virtual bool TakeUndo() = 0;
    // A dab must show at once, not when the window gets round to it.
    virtual void UpdateViewNow() = 0;

    // The brush and the two colours; the stamp brush prepared for a button.
    virtual Brush& CurrentBrush() = 0;
    virtual uint32_t DrawColour() const = 0;
    virtual uint32_t BackColour() const = 0;
    virtual void PrepareStamp(bool useBackground) = 0;
    // A swatch takes a colour (its colour bits only); the colour-change notice follows.
    virtual void SetColour(bool background, uint32_t colour) = 0;
    // The radius spray and airbrush share (ProgramState::sprayRadius).
    virtual int& SprayRadius() = 0;
    // The AntiAlias preference.
    virtual bool AntiAlias() const = 0;

    // Feedback.
    virtual void ShowBrushPreview() = 0;
    virtual void HideBrushPreview() = 0;
    virtual void RefreshToolDisplay(bool hide, bool show) = 0;
    // The crosshair through the pointer, drawn into the whole image and hidden again at the
    // position it was shown at, so a scroll in between leaves nothing behind.
    virtual void ShowCrosshair() = 0;
    virtual void HideCrosshair() = 0;
    // A figure over the picture on the screen only, never in its pixels (the cut rectangle, the
    // clone marker); the same call again removes it.
    virtual void ToggleOverlay(OverlayKind kind, const Rect& image) = 0;

    // The grid and its switch (which shows or hides the grid bar and redraws the view).
    virtual GridSettings& Grid() = 0;
    virtual void SetGridOn(bool on) = 0;

    // The current tool's option bar, the status bar, texts and keyed messages.
    virtual OptionBarHost& Bar() = 0;
    virtual void SetPanel(int panel, const QString& text) = 0;
    virtual QString Translate(const QString& key) const = 0;
    virtual int Message(const QString& textKey, const QString& titleKey, int style) = 0;
    // The clipboard's text, and text put there.
    virtual QString ClipboardText() = 0;
    virtual void SetClipboardText(const QString& text) = 0;
    // The colour selector edits a colour in place under the caption's key; set runs on every
    // change. Closing it is the tool's when it is left.
    virtual void EditColour(const QString& captionKey, std::function<uint32_t()> get,
                            std::function<void(uint32_t)> set) = 0;
    virtual void CloseColourEditor() = 0;

    // Other tools: hand over to one (ends this press's phase logic), the one before, the one to
    // continue with after a command, the palette.
    virtual void SelectTool(PaintTool* tool, bool redraw, int variant) = 0;
    virtual PaintTool* PreviousTool() const = 0;
    virtual void SetPendingTool(PaintTool* tool) = 0;
    virtual void ShowInPalette(PaintTool* tool, int variant) = 0;
    // The variant current in the palette's fill group (null when there is none): filled shapes
    // paint through its PaintMarked, so they take the fill style the user chose last.
    virtual PaintTool* CurrentFillVariant() = 0;

    // The pointer in view pixels and the zoom factor, for distances measured on the screen.
    virtual Pair ViewPointer() const = 0;
    virtual double ZoomFactor() const = 0;
    // The 50 ms activity ticks (the shell's activity hook) while a tool wants them.
    virtual void RunActivityTimer(bool on) = 0;

protected:
    ~ToolContext() = default;
};
