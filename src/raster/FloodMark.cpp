#include "raster/FloodMark.h"

#include <algorithm>
#include <new>

namespace fill {

bool SeedIsFillColour(const Buffer& work, Pair seed, uint32_t colour) {
    return work.Contains(seed.x, seed.y) && work.At(seed.x, seed.y) == colour;
}

template <class Test> Rect FloodMarker::Run(Buffer& work, Pair seed, bool diagonal, Test test) {
    const int w = work.Width(), h = work.Height(), d = diagonal ? 1 : 0;
    uint32_t* const base = work.pixels;
    const ptrdiff_t stride = work.stride;
    int minX = w, maxX = -1, minY = h, maxY = -1;

    // Marks the run through column i of row y (i itself passed the test) and stacks it.
    const auto take = [&](uint32_t* row, int y, int& i, int dir, int pl, int pr) {
        int j = i;
        row[i] |= FillMark;
        while (j > 0 && test(row[j - 1])) row[--j] |= FillMark;
        while (i < w - 1 && test(row[i + 1])) row[++i] |= FillMark;
        minX = std::min(minX, j);
        maxX = std::max(maxX, i);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
        stack_.push_back({y, j, i, dir, pl, pr});
    };
    // New runs in row y between columns a and b, found from the run [pl, pr] one row back.
    const auto scan = [&](int y, int a, int b, int dir, int pl, int pr) {
        if (unsigned(y) >= unsigned(h)) return;
        a = std::max(a, 0);
        b = std::min(b, w - 1);
        uint32_t* row = base + ptrdiff_t(y) * stride;
        for (int i = a; i <= b; ++i)
            if (test(row[i])) take(row, y, i, dir, pl, pr);
    };

    stack_.clear();
    const int sx = seed.x - work.left, sy = seed.y - work.top;
    try {
        int r = sx;
        // The seed run has no parent: an empty parent range makes both neighbour rows scan whole.
        take(base + ptrdiff_t(sy) * stride, sy, r, 1, 0, -1);
        stack_.back().pl = r + 1;
        stack_.back().pr = r;
        while (!stack_.empty()) {
            const Span s = stack_.back();
            stack_.pop_back();
            scan(s.y + s.dir, s.l - d, s.r + d, s.dir, s.l, s.r);
            scan(s.y - s.dir, s.l - d, s.pl - 1, -s.dir, s.l, s.r);
            scan(s.y - s.dir, s.pr + 1, s.r + d, -s.dir, s.l, s.r);
        }
    } catch (const std::bad_alloc&) {
        // Noise can need a stack of a few percent of the pixels; when even that is refused, the
        // half-marked region is unmarked again so nothing half-done reaches the image.
        std::vector<Span>().swap(stack_);
        for (int y = minY; y <= maxY; ++y)
            for (int x = minX; x <= maxX; ++x) base[ptrdiff_t(y) * stride + x] &= ~FillMark;
        throw;
    }
    return {minX + work.left, minY + work.top, maxX + work.left, maxY + work.top};
}

Rect FloodMarker::Mark(Buffer& work, Pair seed, int tolerance, bool diagonal) {
    if (!work.Contains(seed.x, seed.y)) return {};
    const uint32_t s = work.At(seed.x, seed.y);
    if (s & FillMark) return {};
    const uint32_t colour = s & 0xFFFFFF;
    tolerance = std::clamp(tolerance, 0, MaxTolerance);
    // One test per case, so the runs' inner loops stay a mask and a compare where they can.
    if (tolerance == 0)
        return Run(work, seed, diagonal,
                   [colour](uint32_t p) { return (p & (FillMark | 0xFFFFFF)) == colour; });
    if (tolerance == MaxTolerance)
        return Run(work, seed, diagonal, [](uint32_t p) { return !(p & FillMark); });
    // Most pixels of a typical region are the seed's colour exactly: test that first.
    return Run(work, seed, diagonal, [colour, tolerance](uint32_t p) {
        return (p & (FillMark | 0xFFFFFF)) == colour ||
               (!(p & FillMark) && ColourDistance(p, colour) <= tolerance);
    });
}

} // namespace fill
