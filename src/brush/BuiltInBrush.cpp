#include "brush/Brush.h"

namespace {

// The midpoint walk of a filled circle: rows r ± i span the current half-width rr, rows r ± rr
// span i. While rr is still r the first spans run across the whole brush.
void FillCircle(Buffer& out, int r, uint32_t colour) {
    const auto span = [&](int row, int x1, int x2) { out.Box({x1, row, x2, row}, colour); };
    int d = 3 - 2 * r;
    int rr = r;
    for (int i = 0; rr >= i; ++i) {
        if (d < 0) {
            span(r - i, r - rr, r + rr);
            span(r + i, r - rr, r + rr);
            d += 4 * i + 10;
        } else {
            span(r - rr, r - i, r + i);
            span(r + rr, r - i, r + i);
            if (i < rr) {
                span(r - i, r - rr, r + rr);
                span(r + i, r - rr, r + rr);
            }
            d += 4 * (i - rr) + 14;
            --rr;
        }
    }
}

} // namespace

bool Brush::BuildBuiltIn(BrushShape shape, int radius, uint32_t colour, Buffer& out) {
    // Past this the side overflows long before the pixel limit stops it.
    if (radius < 0 || radius > 0x3FFFFFFF) return false;
    const int side = 2 * radius + 1;
    Buffer made;
    if (!made.Alloc({side, side})) return false;
    colour &= 0xFFFFFF;
    if (shape == BrushShape::Square) {
        made.Box(made.Bounds(), colour);
    } else {
        made.Box(made.Bounds(), Pixel::Transparent);
        FillCircle(made, radius, colour);
    }
    out = std::move(made);
    return true;
}

bool Brush::SelectBuiltIn(BrushShape shape, int r, uint32_t drawCol, uint32_t backCol) {
    if (r < 0) r = radius;
    Buffer made;
    if (!BuildBuiltIn(shape, r, drawCol, made)) return false;
    if (custom && !Backup()) return false;
    BrushFields next = *this;
    next.shape = shape;
    next.radius = r;
    next.custom = false;
    next.technique = Technique::Color;
    return Install(made, next, drawCol, backCol);
}
