#pragma once

#include "raster/Buffer.h"
#include "raster/Geometry.h"

#include <cstdint>

// The filled freehand shape and the filled polygon: the outline is drawn edge by edge into the
// work buffer in the fill colour with both marks, and every edge row toggles the fill mark from
// the edge to the end of the row, so when the outline closes the inside carries the fill mark by
// parity, with no second pass. The apply step (FillApply.h) then paints and unmarks it.
//
// The work buffer is passed to each call, as the tools get a fresh one on every event; rows
// outside it are left alone and spans left of it start at its first column, so a clipped view
// still fills what it shows by the parity of the whole outline.
class OutlineFill {
public:
    static constexpr int Unknown = -5; // first direction before any edge went up or down

    // A new outline at p; nothing is drawn.
    void Start(Pair p);
    // The edge from the last point to `to`, which becomes the last point. Nothing for an edge of
    // no length; a horizontal edge toggles nothing.
    void AddEdge(Buffer& work, Pair to, uint32_t colour);
    // The edge back to the first point, and the first point's row once more when the outline
    // arrives there going the way the first edge left.
    void Close(Buffer& work, uint32_t colour);

    Pair First() const { return first_; }
    Pair Last() const { return last_; }
    // -1 up, +1 down; Unknown until an edge was not horizontal.
    int FirstDirection() const { return firstDir_; }
    // 0 until an edge was not horizontal.
    int LatestDirection() const { return latestDir_; }
    // Every pixel drawn or toggled since Start (inside the buffers used), for invalidation and
    // for the apply step.
    Rect Marked() const { return marked_; }

private:
    void Plot(Buffer& work, int x, int y, uint32_t value);
    void Toggle(Buffer& work, int x, int y);
    void Cover(const Rect& r);

    Pair first_, last_;
    int firstDir_ = Unknown;
    int latestDir_ = 0;
    Rect marked_;
};

// The filled polygon closes when the pointer (view pixels) is less than 10 view pixels from the
// middle of the first corner's screen pixel at zoom factor zoom.
bool ClosesPolygon(Pair first, Pair pointer, double zoom);
