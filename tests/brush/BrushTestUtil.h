#pragma once

#include "brush/Brush.h"
#include "raster/RasterTestUtil.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace brushtest {

inline constexpr uint32_t T = Pixel::Transparent;
inline constexpr uint32_t kDraw = 0xFFFFFF;
inline constexpr uint32_t kBack = 0x000000;

// A buffer from rows of values, top row first.
inline Buffer FromRows(std::initializer_list<std::vector<uint32_t>> rows) {
    const int h = int(rows.size()), w = int(rows.begin()->size());
    Buffer b = rastertest::Make(w, h, 0);
    int y = 0;
    for (const auto& row : rows) {
        for (int x = 0; x < w; ++x) b.At(b.left + x, b.top + y) = row[size_t(x)];
        ++y;
    }
    return b;
}

inline std::vector<uint32_t> Pixels(const Buffer& b) {
    std::vector<uint32_t> v;
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x) v.push_back(b.At(x, y));
    return v;
}

// A brush made custom from rows, with technique Paint.
inline Brush CustomFrom(std::initializer_list<std::vector<uint32_t>> rows, int handle = 0,
                        uint32_t key = 0x00FF00) {
    Brush brush;
    CustomBrush how;
    how.keyColour = key;
    how.handle = handle;
    EXPECT_TRUE(brush.SetCustom(FromRows(rows), how, kDraw, kBack));
    return brush;
}

} // namespace brushtest
