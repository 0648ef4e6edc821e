#pragma once

#include "raster/Geometry.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace stampline {

// 16.16 fixed point of v, truncated; out-of-range and NaN values are pinned so the counter
// arithmetic below cannot overflow.
inline int64_t ToFixed(double v) {
    constexpr double limit = 1e9;
    if (!(v == v)) return 0;
    if (v > limit) v = limit;
    if (v < -limit) v = -limit;
    return int64_t(v * 65536.0);
}

} // namespace stampline

// Walks the Bresenham positions from a through b inclusive (error 2·minor − major, minor step
// when the error is not negative) and calls at(x, y) for each position that gets a stamp: a
// 16.16 counter starts at the phase, a position is stamped while the counter is at most one, and
// each position uses up one while each stamp adds the spacing. Returns the remaining phase; a
// following segment passes that + 1 so its shared first point is not stamped twice.
// Every stroke tool and its rubber band use this one walk, so the band shows where stamps fall.
template <class At> double WalkStampLine(Pair a, Pair b, double spacing, double phase, At&& at) {
    constexpr int64_t one = 65536;
    const int64_t g = stampline::ToFixed(spacing);
    int64_t c = stampline::ToFixed(phase);

    const int64_t dx = std::llabs(int64_t(b.x) - a.x), dy = std::llabs(int64_t(b.y) - a.y);
    const int sx = b.x < a.x ? -1 : 1, sy = b.y < a.y ? -1 : 1;
    const bool xMajor = dx >= dy;
    const int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    int64_t e = 2 * minor - major;
    int64_t x = a.x, y = a.y;
    for (int64_t i = 0;; ++i) {
        if (c <= one) {
            at(int(x), int(y));
            c = c - one + g;
        } else {
            c -= one;
        }
        if (i == major) break;
        if (e >= 0) {
            if (xMajor)
                y += sy;
            else
                x += sx;
            e -= 2 * major;
        }
        e += 2 * minor;
        if (xMajor)
            x += sx;
        else
            y += sy;
    }
    return double(c) / 65536.0;
}
