#include "brush/StampLine.h"
#include "brush/Brush.h"

#include <algorithm>

double Brush::StampLine(Buffer& work, Pair a, Pair b, double spacing, double phase,
                        Rect* covered) const {
    // The handle, the clipping bounds and the row code are settled once for the whole line.
    const Pair hot = HandleOffset(handle, stamp.Width(), stamp.Height());
    Stamper stamper(work, stamp, Pixel::Transparent);
    const double rest = WalkStampLine(a, b, spacing, phase, [&](int x, int y) {
        stamper.At(int64_t(x) - hot.x, int64_t(y) - hot.y);
    });
    if (covered) *covered = LineRect(a, b);
    return rest;
}

double Brush::PreviewLine(Buffer& work, Pair a, Pair b, double spacing, double phase,
                          uint32_t colour, Rect* covered) {
    const double rest = WalkStampLine(a, b, spacing, phase, [&](int x, int y) {
        work.PutPixel({x, y}, colour);
    });
    if (covered)
        *covered = {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    return rest;
}
