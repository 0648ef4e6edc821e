#pragma once

#include "raster/Buffer.h"
#include "raster/Geometry.h"

#include <functional>

class ToolContext;

// A live preview drawn into the picture over a rectangle, with what it covers saved and put back
// exactly: the reshaping tools show their result this way while the pointer moves. The drawing
// goes into a view of the rectangle, so nothing outside it can change.
class BrushGhost {
public:
    // Hides any previous ghost, then saves under r (clipped to the picture) and draws.
    void Show(ToolContext& context, Rect r, const std::function<void(Buffer& view)>& draw);
    // The buffer's pixels with its top-left corner at `at`, transparent ones left out.
    void ShowPixels(ToolContext& context, const Buffer& pixels, Pair at);
    void Hide(ToolContext& context);
    bool Shown() const { return shown_; }

private:
    Buffer under_;
    Pair at_{0, 0};
    bool shown_ = false;
};
