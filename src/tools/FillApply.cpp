#include "tools/FillApply.h"

#include "raster/FloodMark.h"

#include <algorithm>
#include <vector>

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

// The same over a pattern: paint(p, bx, by) with the brush column and row at the pixel. Each row
// is walked in runs that each take a stretch of one brush row, so nothing is divided per pixel.
template <class Paint>
void ForMarked(Buffer& work, Rect area, const Pattern& pattern, Paint paint) {
    const Rect c = area.Intersect(work.Bounds());
    if (work.Empty() || c.Empty()) return;
    const int w = pattern.brush->Width(), h = pattern.brush->Height();
    const int first = Wrap(int64_t(c.left) + pattern.offset.x, w);
    for (int y = c.top; y <= c.bottom; ++y) {
        const int by = Wrap(int64_t(y) + pattern.offset.y, h);
        uint32_t* row = &work.At(c.left, y);
        for (int i = 0, n = c.Width(), bx = first; i < n; bx = 0) {
            for (const int end = std::min(n, i + w - bx); i < end; ++i, ++bx) {
                const uint32_t p = row[i];
                row[i] = (p & FillMark) ? paint(p, bx, by) & 0xFFFFFF : p & Pixel::ClearMarks;
            }
        }
    }
}

} // namespace

HueShade::HueShade(HsvValue hsv) {
    const int s = std::clamp(hsv.s, 0, 255);
    grey_ = s == 0;
    const int h = (hsv.h % 360 + 360) % 360;
    const float sf = float(s) / 255.0f;
    sector_ = h / 60;
    const float f = float(h) / 60.0f - float(sector_);
    p_ = 1.0f - sf;
    q_ = 1.0f - sf * f;
    t_ = 1.0f - sf * (1.0f - f);
}

uint32_t HueShade::At(int v) const {
    v = std::clamp(v, 0, 255);
    if (grey_) return RgbValue{v, v, v}.Pixel();
    const float vf = float(v);
    return FromSector(sector_, v, int(vf * p_), int(vf * q_), int(vf * t_)).Pixel();
}

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
    const Buffer& brush = *pattern.brush;
    const auto colourAt = [&](int bx, int by) {
        const uint32_t q = brush.At(brush.left + bx, brush.top + by);
        return q == Pixel::Transparent ? pattern.background : q;
    };
    if (!shade) {
        ForMarked(work, area, pattern, [&](uint32_t, int bx, int by) { return colourAt(bx, by); });
        return;
    }
    // Each brush pixel's conversion once, not once per pixel it covers.
    struct Shade {
        HueShade hue;
        int v;
    };
    const int w = brush.Width();
    std::vector<Shade> shades(size_t(w) * size_t(brush.Height()));
    for (int by = 0; by < brush.Height(); ++by)
        for (int bx = 0; bx < w; ++bx) {
            const HsvValue hsv = RgbToHsv(RgbValue::FromPixel(colourAt(bx, by)));
            shades[size_t(by) * size_t(w) + size_t(bx)] = {HueShade(hsv), hsv.v};
        }
    ForMarked(work, area, pattern, [&](uint32_t p, int bx, int by) {
        const Shade& q = shades[size_t(by) * size_t(w) + size_t(bx)];
        return q.hue.At((MaxChannel(p) + q.v) / 2);
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
