#pragma once

#include "raster/Geometry.h"
#include "tools/PaintTool.h"

#include <cstdint>

class Brush;
class Buffer;

// Clone (CLONEBAR: 0 copy from the undo copy). Alt+click, or Ctrl+click where the desktop keeps
// Alt+drag for itself, sets a source point; the next ordinary press fixes the offset from there
// to the pointer, and each stamp of the brush copies the pixels at that offset under the brush's
// opaque pixels. The source is marked by an X on the screen (an overlay, never in the image).
class CloneTool final : public PaintTool {
public:
    CloneTool();

    // While pending: the source point; afterwards the offset (source minus destination).
    Pair at{0, 0};
    bool pending = false;
    bool fromUndo = false;

    void ShowFeedback(ToolContext& context) override;
    void HideFeedback(ToolContext& context) override;
    void Click(ToolContext& context) override;
    void Activate(ToolContext& context) override;
    void Deactivate(ToolContext& context, PaintTool* next) override;

private:
    void Stamp(ToolContext& context);
    bool NoOffset() const { return !pending && at == Pair{0, 0}; }
    Pair Source(ToolContext& context) const;
    void ShowMarker(ToolContext& context);
    void HideMarker(ToolContext& context);

    bool markerShown_ = false;
    Pair markerAt_{0, 0};
};

namespace clonestamp {
// Stamps brush (its opaque pixels, with its handle at p) into work from source at offset: each
// source position clamped into source's own bounds. source may be work itself or share its
// pixels. Returns the rectangle the brush covers.
Rect Stamp(Buffer& work, const Buffer& source, const Brush& brush, Pair p, Pair offset);
} // namespace clonestamp
