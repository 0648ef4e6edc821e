#pragma once

#include "raster/Geometry.h"

// The grid bar's values and the snapping of pointer positions to the grid. Whether snapping is
// on is the Grid tool's state; callers snap only while it is.
struct GridSettings {
    static constexpr int MinSpacing = 1;
    static constexpr int MaxSpacing = 16384;
    static constexpr int MaxOrigin = 16384;
    static constexpr int DefaultSpacing = 8;

    int dx = DefaultSpacing, dy = DefaultSpacing; // GridDx, GridDy
    int px = 0, py = 0;                           // GridPx, GridPy

    // Values out of range are clamped, as the bar's edits are.
    void SetSpacing(int x, int y);
    void SetOrigin(int x, int y);
    // Brush Size button: the spacing becomes the brush's size.
    void SetSpacingFromBrush(Pair brushSize) { SetSpacing(brushSize.x, brushSize.y); }

    Pair Snap(Pair p) const;
};

// The nearest grid line of spacing a through origin c, ties going up:
// (c mod a) + a * ((v + a div 2 - (c mod a)) div a), every division truncating. The truncation
// means values left of the first line above zero snap toward zero rather than down.
int SnapToGrid(int v, int spacing, int origin);
