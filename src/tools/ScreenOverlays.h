#pragma once

#include "document/Zoom.h"
#include "raster/Geometry.h"
#include "tools/ToolHost.h"

#include <vector>

// The figures the view paints over the picture after the image (the cut rectangle, the clone
// marker). They live in image pixels, so they follow zoom and scrolling; toggling a figure that is
// listed removes it, so a tool shows and hides it with the same call.
class ScreenOverlays {
public:
    struct Figure {
        OverlayKind kind = OverlayKind::Frame;
        Rect image;
        friend bool operator==(const Figure&, const Figure&) = default;
    };
    // Half the size of the marker's X in view pixels.
    static constexpr int MarkerReach = 4;

    // True when the figure is shown afterwards.
    bool Toggle(OverlayKind kind, const Rect& image);
    const std::vector<Figure>& Figures() const { return figures_; }
    bool Empty() const { return figures_.empty(); }

    // The view pixels a figure covers at zoom r, x2 and y2 exclusive: a frame runs along the
    // outer edge of its image pixels; a marker is an X of fixed size on the middle of them.
    static ViewRect ViewBounds(const Figure& figure, ZoomRatio r);

private:
    std::vector<Figure> figures_;
};
