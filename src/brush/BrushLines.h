#pragma once

// Moving whole columns or rows of a brush, for the bends and shears; private to src/brush.

#include "raster/Buffer.h"

namespace brushxform::lines {

// Column (or row) `line` of src into out, moved along itself by offset (down, or right);
// transparent pixels are skipped. Both buffers are read from their own top-left corner.
inline void Place(const Buffer& src, Buffer& out, bool columns, int line, int offset) {
    const int n = columns ? src.Height() : src.Width();
    for (int i = 0; i < n; ++i) {
        const int sx = columns ? line : i, sy = columns ? i : line;
        const uint32_t p = src.At(src.left + sx, src.top + sy);
        if (p == Pixel::Transparent) continue;
        const int tx = columns ? sx : sx + offset, ty = columns ? sy + offset : sy;
        if (out.Contains(out.left + tx, out.top + ty)) out.At(out.left + tx, out.top + ty) = p;
    }
}

// A transparent buffer `extra` larger than src along the moving axis.
inline bool Grown(const Buffer& src, bool columns, int extra, Buffer& made) {
    const Pair size =
        columns ? Pair{src.Width(), src.Height() + extra} : Pair{src.Width() + extra, src.Height()};
    if (!made.Alloc(size)) return false;
    made.Box(made.Bounds(), Pixel::Transparent);
    return true;
}

} // namespace brushxform::lines
