#include "raster/Buffer.h"
#include "raster/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

using namespace resample;

namespace {

// Added to every source position, so that one a hair below a whole number counts as that
// number. Quarter turns built with cos and sin carry errors near 1e-16; where a target centre
// maps onto a source pixel edge the noise would otherwise pick either side from pixel to pixel.
constexpr double SnapEps = 1e-9;

// Narrows [lo, hi] to the x where 0 <= c0 + d x < n, give or take a pixel; the exact test is
// made per pixel. NaNs leave the range as it was.
void Narrow(double c0, double d, double n, double& lo, double& hi) {
    if (d == 0) {
        if (!(c0 >= 0 && c0 < n)) hi = lo - 1;
        return;
    }
    const double a = -c0 / d, b = (n - c0) / d;
    lo = std::max(lo, std::min(a, b) - 1);
    hi = std::min(hi, std::max(a, b) + 1);
}

// Bilinear over the four pixel centres around (u, v) (source units from its top-left corner),
// leaving out pixels outside the source or equal to key; `near` is the nearest pixel, already
// known to be inside and unkeyed, and gives the mark bits.
uint32_t Bilinear(const Source& src, double u, double v, uint32_t key, uint32_t near) {
    // u, v >= 0, so truncating a + 1 floors a.
    const double a = u - 0.5, b = v - 0.5;
    const int x0 = int(a + 1) - 1, y0 = int(b + 1) - 1;
    const uint32_t wx1 = uint32_t((a - x0) * AxisOne + 0.5),
                   wy1 = uint32_t((b - y0) * AxisOne + 0.5);
    const uint32_t wx[2] = {AxisOne - wx1, wx1}, wy[2] = {AxisOne - wy1, wy1};
    const bool inside = x0 >= 0 && y0 >= 0 && x0 + 1 < src.width && y0 + 1 < src.height;
    uint32_t r = 0, g = 0, bl = 0, t = 0;
    for (int j = 0; j < 2; ++j) {
        const int y = y0 + j;
        if (!inside && (y < 0 || y >= src.height)) continue;
        const uint32_t* row = src.Row(y);
        for (int i = 0; i < 2; ++i) {
            const int x = x0 + i;
            if (!inside && (x < 0 || x >= src.width)) continue;
            const uint32_t p = row[x];
            if (Keyed(p, key)) continue;
            const uint32_t w = wx[i] * wy[j];
            r += ((p >> 16) & 0xFF) * w;
            g += ((p >> 8) & 0xFF) * w;
            bl += (p & 0xFF) * w;
            t += w;
        }
    }
    // The nearest pixel always carries at least a quarter of the weight, so t > 0.
    return t ? Mean(r, g, bl, t, near) : near;
}

} // namespace

void Buffer::XFormLin(const Buffer& src, const Matrix2D& m, Pair offset, uint32_t key,
                      bool smooth) {
    if (Empty() || src.Empty()) return;
    const double det = m.Determinant();
    if (det == 0 || !std::isfinite(det)) return;
    const Matrix2D inv = m.Inverse();

    // Target position of the source centre; source positions are taken from the source's
    // top-left corner, where its centre is at half its size.
    const double halfW = src.Width() / 2.0, halfH = src.Height() / 2.0;
    const double tx = (double(src.left) + src.right + 1) / 2.0 + offset.x;
    const double ty = (double(src.top) + src.bottom + 1) / 2.0 + offset.y;

    // Bounding box of the turned source rectangle, a pixel wider on each side against
    // rounding; the per-pixel test below decides exactly.
    const double ex = std::fabs(m.a11) * halfW + std::fabs(m.a12) * halfH;
    const double ey = std::fabs(m.a21) * halfW + std::fabs(m.a22) * halfH;
    const double x0 = std::max<double>(left, std::floor(tx - ex) - 1);
    const double x1 = std::min<double>(right, std::ceil(tx + ex) + 1);
    const double y0 = std::max<double>(top, std::floor(ty - ey) - 1);
    const double y1 = std::min<double>(bottom, std::ceil(ty + ey) + 1);
    if (!(x0 <= x1 && y0 <= y1)) return;

    const Source source(src, *this);
    const double w = source.width, h = source.height;
    for (int y = int(y0); y <= int(y1); ++y) {
        // Along the row the source position is (u0 + du x, v0 + dv x).
        const double dy = y + 0.5 - ty;
        const double du = inv.a11, dv = inv.a21;
        const double u0 = inv.a12 * dy + du * (0.5 - tx) + halfW + SnapEps;
        const double v0 = inv.a22 * dy + dv * (0.5 - tx) + halfH + SnapEps;
        double lo = x0, hi = x1;
        Narrow(u0, du, w, lo, hi);
        Narrow(v0, dv, h, lo, hi);
        if (!(lo <= hi)) continue;
        uint32_t* out = Row(y);
        for (int x = int(std::ceil(lo)); x <= int(hi); ++x) {
            const double u = u0 + du * x, v = v0 + dv * x;
            if (!(u >= 0 && u < w && v >= 0 && v < h)) continue;
            const uint32_t near = source.At(int(u), int(v));
            if (Keyed(near, key)) continue;
            out[x - left] = smooth ? Bilinear(source, u, v, key, near) : near;
        }
    }
}
