#include "brush/BrushCut.h"

#include <algorithm>
#include <array>

namespace brushcut {

Rect ClampedRect(Pair a, Pair b, Pair size) {
    Rect r{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    return r.Intersect({0, 0, size.x - 1, size.y - 1});
}

Rect MarkedBounds(const Buffer& image, Rect area) {
    area = area.Intersect(image.Bounds());
    Rect found{area.right + 1, area.bottom + 1, area.left - 1, area.top - 1};
    for (int y = area.top; y <= area.bottom; ++y) {
        const uint32_t* row = image.Row(y) - image.left;
        for (int x = area.left; x <= area.right; ++x) {
            if (!(row[x] & Pixel::Transparent)) continue;
            found.left = std::min(found.left, x);
            found.right = std::max(found.right, x);
            found.top = std::min(found.top, y);
            found.bottom = y;
        }
    }
    return found.Empty() ? Rect{} : found;
}

namespace {

// The first value of count 0, else the lowest of the smallest count; with whether it was free.
std::pair<int, bool> Rarest(const std::array<int64_t, 256>& count) {
    int best = 0;
    for (int v = 0; v < 256; ++v) {
        if (count[size_t(v)] == 0) return {v, true};
        if (count[size_t(v)] < count[size_t(best)]) best = v;
    }
    return {best, false};
}

} // namespace

uint32_t FreeColour(const Buffer& marked, const Buffer& original, Rect r, uint32_t background) {
    // Level 0 counts red over every kept pixel; level 1 green where red is the chosen one; level 2
    // blue where red and green are.
    uint32_t chosen = 0, mask = 0;
    for (int level = 0; level < 3; ++level) {
        const int shift = 16 - 8 * level;
        std::array<int64_t, 256> count{};
        for (int y = r.top; y <= r.bottom; ++y)
            for (int x = r.left; x <= r.right; ++x) {
                if (!(marked.At(x, y) & Pixel::Transparent)) continue;
                const uint32_t p = original.At(x, y) & 0xFFFFFF;
                if ((p & mask) == chosen) ++count[(p >> shift) & 0xFF];
            }
        const auto [value, free] = Rarest(count);
        chosen |= uint32_t(value) << shift;
        mask |= 0xFFu << shift;
        if (free) return chosen;
    }
    return background & 0xFFFFFF;
}

bool KeptPixels(const Buffer& marked, const Buffer& original, Rect r, Buffer& out) {
    if (r.Empty() || !out.Alloc({r.Width(), r.Height()})) return false;
    for (int y = r.top; y <= r.bottom; ++y) {
        uint32_t* dst = out.Row(y - r.top);
        for (int x = r.left; x <= r.right; ++x)
            dst[x - r.left] = marked.At(x, y) & Pixel::Transparent ? original.At(x, y) & 0xFFFFFF
                                                                   : Pixel::Transparent;
    }
    return true;
}

} // namespace brushcut
