#include "tools/ImageTransformTools.h"

#include "brush/BrushTransforms.h"
#include "document/DocumentTable.h"
#include "raster/Buffer.h"
#include "tools/OptionBarHost.h"
#include "tools/ToolContext.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

// A bar value as a side: truncated, clamped to what an int holds, never 0.
int Side(double v) {
    if (!(std::fabs(v) < 2147483647.0)) return v < 0 ? -2147483647 : 2147483647;
    const int side = int(v);
    return side == 0 ? 1 : side;
}

} // namespace

bool StretchImageTool::Stretched(const Buffer& source, Pair size, bool smooth, uint32_t fill,
                                 Buffer& out) {
    if (source.Empty()) return false;
    if (size.x == 0) size.x = 1;
    if (size.y == 0) size.y = 1;
    Buffer made;
    if (!made.Alloc({std::abs(size.x), std::abs(size.y)})) return false;
    // Cleared first: pixels the scaling skips must not show stale memory.
    made.Box(made.Bounds(), fill & 0xFFFFFF);
    made.Scale(source, size, {0, 0}, Pixel::Transparent, smooth);
    out = std::move(made);
    return true;
}

ImagePreviewTool::Settings StretchImageTool::Read(ToolContext& context) {
    const OptionBarHost& bar = context.Bar();
    const bool smooth = settings && settings->Smooth();
    return {double(Side(bar.Value(WidthPixels))), double(Side(bar.Value(HeightPixels))),
            smooth ? 1.0 : 0.0};
}

bool StretchImageTool::Render(ToolContext& context, const Buffer& source, const Settings& s,
                              Buffer& out) {
    return Stretched(source, {int(s[0]), int(s[1])}, s[2] != 0, context.BackColour(), out);
}

void StretchImageTool::Started(ToolContext& context) {
    const Buffer& undo = context.Documents().UndoDoc().image;
    original_ = {undo.Width(), undo.Height()};
    OptionBarHost& bar = context.Bar();
    bar.SetValue(WidthPixels, original_.x);
    bar.SetValue(HeightPixels, original_.y);
    bar.SetValue(WidthPercent, 100);
    bar.SetValue(HeightPercent, 100);
    bar.SetValue(Keep, keepProportions ? 1 : 0);
    for (Control c : {WidthPixels, HeightPixels, WidthPercent, HeightPercent})
        bar.SetHandler(c, [this, &context, c] { Linked(context, c); });
    bar.SetHandler(Keep, [this, &context] { keepProportions = context.Bar().Value(Keep) != 0; });
    BindButtons(context, PreviewButton, ApplyButton);
}

void StretchImageTool::Linked(ToolContext& context, Control changed) {
    OptionBarHost& bar = context.Bar();
    const bool keep = bar.Value(Keep) != 0;
    const bool width = changed == WidthPixels || changed == WidthPercent;
    const Control pixels = width ? WidthPixels : HeightPixels;
    const Control percent = width ? WidthPercent : HeightPercent;
    const int full = width ? original_.x : original_.y;
    if (changed == pixels)
        bar.SetValue(percent, bar.Value(pixels) * 100 / full);
    else
        bar.SetValue(pixels, std::trunc(bar.Value(percent) * full * 0.01));
    if (!keep) return;
    // The other axis takes the same percentage, and its pixels follow.
    const Control otherPixels = width ? HeightPixels : WidthPixels;
    const Control otherPercent = width ? HeightPercent : WidthPercent;
    const int otherFull = width ? original_.y : original_.x;
    const double pct = bar.Value(percent);
    bar.SetValue(otherPercent, pct);
    bar.SetValue(otherPixels, std::trunc(pct * otherFull * 0.01));
}

bool RotateImageTool::Rotated(const Buffer& source, double degrees, bool keep, bool smooth,
                              uint32_t fill, Buffer& out) {
    if (source.Empty() || !std::isfinite(degrees)) return false;
    const double a = degrees * 0.017453292519943295;
    const Pair old{source.Width(), source.Height()};
    const Pair size = keep ? old : brushxform::RotatedSize(old, a);
    Buffer made;
    if (!made.Alloc(size)) return false;
    made.Box(made.Bounds(), fill & 0xFFFFFF);
    // Half the size difference puts the old centre on the new one.
    const Pair offset{(size.x - old.x) / 2 - source.left, (size.y - old.y) / 2 - source.top};
    made.XFormLin(source, brushxform::TurnMatrix(a), offset, Pixel::CopyAll, smooth);
    out = std::move(made);
    return true;
}

ImagePreviewTool::Settings RotateImageTool::Read(ToolContext& context) {
    const OptionBarHost& bar = context.Bar();
    keepSize = bar.Value(KeepSize) != 0;
    angle = bar.Value(Angle);
    return {keepSize ? 1.0 : 0.0, angle, settings && settings->Smooth() ? 1.0 : 0.0};
}

bool RotateImageTool::Render(ToolContext& context, const Buffer& source, const Settings& s,
                             Buffer& out) {
    return Rotated(source, s[1], s[0] != 0, s[2] != 0, context.BackColour(), out);
}

void RotateImageTool::Started(ToolContext& context) {
    OptionBarHost& bar = context.Bar();
    bar.SetValue(KeepSize, keepSize ? 1 : 0);
    bar.SetValue(Angle, angle);
    BindButtons(context, PreviewButton, ApplyButton);
}
