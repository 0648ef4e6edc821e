#include "tools/FillApply.h"

#include "color/Hsv.h"
#include "raster/FloodMark.h"

#include <algorithm>

namespace fill {

namespace {

int MaxChannel(uint32_t p) {
    return int(std::max({(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF}));
}

// The remainder that never goes negative, so no offset can index outside the brush.
int Wrap(int64_t v, int n) {
    const int64_t m = v % n;
    return int(m < 0 ? m + n : m);
}

// paint(p) gives the new colour of each marked pixel p of area; the others lose both marks.
template <class Paint> void ForMarked(Buffer& work, Rect area, Paint paint) {
    const Rect c = area.Intersect(work.Bounds());
    if (work.Empty() || c.Empty()) return;
    for (int y = c.top; y <= c.bottom; ++y) {
        uint32_t* row = &work.At(c.left, y);
        for (int i = 0, n = c.Width(); i < n; ++i) {
            const uint32_t p = row[i];
            row[i] = (p & FillMark) ? paint(p) & 0xFFFFFF : p & Pixel::ClearMarks;
        }
    }
}

// The same with paint(p, q) also given the pattern colour q at the pixel. Each row is walked in
// runs that each take a stretch of one brush row, so nothing is divided per pixel.
template <class Paint>
void ForMarked(Buffer& work, Rect area, const Pattern& pattern, Paint paint) {
    const Rect c = area.Intersect(work.Bounds());
    if (work.Empty() || c.Empty()) return;
    const Buffer& brush = *pattern.brush;
    const int w = brush.Width(), h = brush.Height();
    const int first = Wrap(int64_t(c.left) + pattern.offset.x, w);
    for (int y = c.top; y <= c.bottom; ++y) {
        const uint32_t* source = brush.Row(brush.top + Wrap(int64_t(y) + pattern.offset.y, h));
        uint32_t* row = &work.At(c.left, y);
        for (int i = 0, n = c.Width(), b = first; i < n; b = 0) {
            for (const int end = std::min(n, i + w - b); i < end; ++i, ++b) {
                const uint32_t p = row[i], q = source[b];
                row[i] = !(p & FillMark)           ? p & Pixel::ClearMarks
                         : q == Pixel::Transparent ? paint(p, pattern.background) & 0xFFFFFF
                                                   : paint(p, q) & 0xFFFFFF;
            }
        }
    }
}

} // namespace

ShadeTable Shades(uint32_t colour) {
    const HsvValue hsv = RgbToHsv(RgbValue::FromPixel(colour));
    ShadeTable t;
    for (int v = 0; v < 256; ++v) t[size_t(v)] = HsvToRgb(hsv.h, hsv.s, v).Pixel();
    return t;
}

void PaintMarkedSolid(Buffer& work, Rect area, uint32_t colour, bool shade) {
    if (!shade) {
        ForMarked(work, area, [colour](uint32_t) { return colour; });
        return;
    }
    const ShadeTable t = Shades(colour);
    ForMarked(work, area, [&t](uint32_t p) { return t[size_t(MaxChannel(p))]; });
}

void PaintMarkedPattern(Buffer& work, Rect area, uint32_t colour, const Pattern& pattern,
                        bool shade) {
    if (!pattern.brush || pattern.brush->Empty()) {
        PaintMarkedSolid(work, area, colour, shade);
        return;
    }
    if (!shade) {
        ForMarked(work, area, pattern, [](uint32_t, uint32_t q) { return q; });
        return;
    }
    ForMarked(work, area, pattern, [](uint32_t p, uint32_t q) {
        const HsvValue hsv = RgbToHsv(RgbValue::FromPixel(q));
        return HsvToRgb(hsv.h, hsv.s, (MaxChannel(p) + hsv.v) / 2).Pixel();
    });
}

Pair PatternOffset(int mode, Pair brushSize, Pair origin, Pair stored) {
    if (mode == OriginStored) return stored;
    if (mode != OriginSource || brushSize.x < 1 || brushSize.y < 1) return {0, 0};
    // The remainder keeps the dividend's sign: a brush cut left of the image gives more than w.
    return {brushSize.x - origin.x % brushSize.x, brushSize.y - origin.y % brushSize.y};
}

Pair FillOriginOffset(Pair handle, Pair press, Pair brushSize) {
    const auto raise = [](int64_t v, int n) {
        if (n < 1 || v >= 0) return int(v);
        return int(v + (-v + n - 1) / n * n);
    };
    return {raise(int64_t(handle.x) - press.x, brushSize.x),
            raise(int64_t(handle.y) - press.y, brushSize.y)};
}

} // namespace fill
