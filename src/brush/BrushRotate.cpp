#include "brush/BrushTransforms.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace brushxform {

Matrix2D TurnMatrix(double a) {
    // The raster maps forward, so the unit matrix turned by -a turns the picture by a
    // counter-clockwise on the screen, the way the angle is measured.
    return Matrix2D::Rotation(-a);
}

Pair RotatedSize(Pair size, double a) {
    const double s = std::fabs(std::sin(a)), c = std::fabs(std::cos(a));
    const double w = s * size.y + c * size.x, h = c * size.y + s * size.x;
    // Anything past the pixel limit is refused by the caller's allocation; keep it out of int.
    if (!(w < 2147483647.0 && h < 2147483647.0)) return {0, 0};
    return {std::max(int(w), 1), std::max(int(h), 1)};
}

bool Rotated(const Buffer& src, double a, bool smooth, Buffer& out) {
    if (src.Empty()) return false;
    const Pair size = RotatedSize({src.Width(), src.Height()}, a);
    Buffer made;
    if (!made.Alloc(size)) return false;
    made.Box(made.Bounds(), Pixel::Transparent);
    // The raster places the source centre at its own centre plus the offset: half the size
    // difference lands it on the middle of the new buffer.
    // (A view elsewhere than (0, 0) has its centre moved by its own corner.)
    const Pair offset{(size.x - src.Width()) / 2 - src.left, (size.y - src.Height()) / 2 - src.top};
    made.XFormLin(src, TurnMatrix(a), offset, Pixel::Transparent, smooth);
    out = std::move(made);
    return true;
}

bool QuarterTurned(const Buffer& src, Buffer& out) {
    if (src.Empty()) return false;
    const int w = src.Width(), h = src.Height();
    Buffer made;
    if (!made.Alloc({h, w})) return false;
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = src.Row(src.top + y);
        for (int x = 0; x < w; ++x) made.At(y, w - 1 - x) = row[x];
    }
    out = std::move(made);
    return true;
}

void HalfTurn(Buffer& b) {
    if (b.Empty()) return;
    const int w = b.Width(), h = b.Height();
    // Pairs of pixels exchanged from both ends; the middle row of an odd height meets itself.
    for (int y = 0; y < (h + 1) / 2; ++y) {
        uint32_t* top = b.Row(b.top + y);
        uint32_t* bottom = b.Row(b.bottom - y);
        const int count = top == bottom ? w / 2 : w;
        for (int x = 0; x < count; ++x) std::swap(top[x], bottom[w - 1 - x]);
    }
}

} // namespace brushxform
