#pragma once

#include "raster/Geometry.h"

// The window seams the tool engine needs beyond the status bar (document/Host.h). The Qt shell
// implements them; tests record the calls and fire the timers by hand.

// A rectangle of the view in view pixels, x2 and y2 exclusive.
struct ViewRect {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    friend bool operator==(const ViewRect&, const ViewRect&) = default;
};

enum class ToolTimer {
    Drag,     // 300 ms: tells a click from a drag
    Activity, // 50 ms: spray and airbrush ticks
};

// Figures drawn over the image on the screen only (cut rectangle, clone marker); showing the
// same figure twice removes it.
enum class OverlayKind { Frame, Marker };

class ToolHost {
public:
    virtual ~ToolHost() = default;
    // Repaint that part of the view later, without erasing the background.
    virtual void InvalidateView(ViewRect r) = 0;
    // Repaint what is invalid now (the brush preview must follow the pointer at once).
    virtual void UpdateView() = 0;
    virtual void SetCursor(int cursor) = 0;
    // Puts the system pointer over that point of the view (view pixels).
    virtual void MovePointer(Pair view) = 0;
    virtual void StartTimer(ToolTimer timer, int milliseconds) = 0;
    virtual void StopTimer(ToolTimer timer) = 0;
    virtual bool TimerRunning(ToolTimer timer) const = 0;
    // In image pixels, inclusive.
    virtual void ToggleOverlay(OverlayKind kind, Rect r) = 0;
};
