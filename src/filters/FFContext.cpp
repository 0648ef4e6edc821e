#include "filters/FFContext.h"

#include "filters/FFOps.h"
#include "raster/SineTable.h"

#include <cmath>
#include <numbers>

namespace ff {

uint32_t& RandomState() {
    static uint32_t state = 0;
    return state;
}

const int32_t* TangentTable() {
    static const auto table = [] {
        std::array<int32_t, kTangents> t{};
        for (int k = 0; k < kTangents; ++k) {
            const double v = 512.0 * std::tan(2.0 * std::numbers::pi * k / kTangents);
            t[k] = int32_t(std::fmax(-16777216.0, std::fmin(16777216.0, std::trunc(v))));
        }
        return t;
    }();
    return table.data();
}

int32_t AngleOf(int64_t dx, int64_t dy) {
    return FromReal(std::atan2((long double)dy, (long double)dx) * (long double)kAngleScale);
}

int32_t RoundedRoot(long double square) {
    return FromReal(std::sqrt(square));
}

void PrepareContext(PixelContext& ctx, const uint32_t* origin, int stride, int width, int height) {
    ctx.origin = origin;
    ctx.stride = stride;
    ctx.width = width;
    ctx.height = height;
    // The largest m: the distance of a corner.
    ctx.maxM = RoundedRoot((long double)width * width + (long double)height * height) >> 1;
    ctx.cells.fill(0);
    ctx.sine = sine::Table().data();
    ctx.tangent = TangentTable();
}

void PreparePixel(PixelVars& v, uint32_t uses, uint32_t p, int x, int y, int width, int height) {
    v.r = int32_t((p >> 16) & 255);
    v.g = int32_t((p >> 8) & 255);
    v.b = int32_t(p & 255);
    if (uses & UsesI) v.i = (76 * v.r + 150 * v.g + 29 * v.b) >> 8;
    if (uses & UsesU) v.u = (56 * v.b - 37 * v.g - 19 * v.r) >> 8;
    if (uses & UsesV) v.v = (78 * v.r - 65 * v.g - 13 * v.b) >> 8;
    const int64_t dx = 2 * int64_t(x) - width, dy = 2 * int64_t(y) - height;
    if (uses & UsesD) v.d = AngleOf(dx, dy);
    if (uses & UsesM) v.m = RoundedRoot((long double)(dx * dx + dy * dy)) >> 1;
}

} // namespace ff
