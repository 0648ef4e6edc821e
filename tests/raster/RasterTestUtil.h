#pragma once

#include "raster/Buffer.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace rastertest {

// A new w x h buffer at (0, 0) filled with one value.
inline Buffer Make(int w, int h, uint32_t fill) {
    Buffer b;
    EXPECT_TRUE(b.Alloc({w, h}));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.At(x, y) = fill;
    return b;
}

// Colours that differ from pixel to pixel and row to row, mark bits clear; mask keeps them below
// a value the tests reserve.
inline void Pattern(Buffer& b, uint32_t seed = 0, uint32_t mask = 0x7FFFFF) {
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x)
            b.At(x, y) = ((uint32_t(x) * 2654435761u) ^ (uint32_t(y) * 40503u) ^ seed) & mask;
}

} // namespace rastertest
