#include "brush/StampLine.h"
#include "brush/Brush.h"

#include <algorithm>

double Brush::StampLine(Buffer& work, Pair a, Pair b, double spacing, double phase,
                        Rect* covered) const {
    const double rest =
        WalkStampLine(a, b, spacing, phase, [&](int x, int y) { StampAt(work, x, y); });
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
