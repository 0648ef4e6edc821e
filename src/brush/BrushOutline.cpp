#include "brush/Brush.h"

namespace {

bool Clear(const Buffer& b, int x, int y) {
    return b.Get(x, y, 0) == Pixel::Transparent;
}

} // namespace

bool Brush::Outline(uint32_t ring, uint32_t drawCol, uint32_t backCol) {
    if (source.Empty()) return false;
    const int w = source.Width(), h = source.Height();
    // The ring is decided on the unchanged brush, so pixels it adds never grow a second ring.
    Buffer made;
    if (!made.Alloc({w + 2, h + 2})) return false;
    made.Box(made.Bounds(), Pixel::Transparent);
    made.Copy(source, {1, 1}, Pixel::CopyAll);
    ring &= 0xFFFFFF;
    for (int y = 0; y < h + 2; ++y)
        for (int x = 0; x < w + 2; ++x) {
            if (!Clear(made, x, y)) continue;
            const int sx = x - 1 + source.left, sy = y - 1 + source.top;
            const bool touches = (source.Contains(sx, sy - 1) && !Clear(source, sx, sy - 1)) ||
                                 (source.Contains(sx - 1, sy) && !Clear(source, sx - 1, sy)) ||
                                 (source.Contains(sx, sy + 1) && !Clear(source, sx, sy + 1)) ||
                                 (source.Contains(sx + 1, sy) && !Clear(source, sx + 1, sy));
            if (touches) made.At(x, y) = ring;
        }
    return Install(made, *this, drawCol, backCol);
}

Pair Brush::OutlineShift(int handle) {
    switch (handle) {
    case 1:
        return {-1, -1};
    case 2:
        return {1, -1};
    case 3:
        return {1, 1};
    case 4:
        return {-1, 1};
    default:
        return {0, 0};
    }
}
