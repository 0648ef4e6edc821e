#pragma once

#include "raster/Buffer.h"
#include "raster/RasterTestUtil.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace filltest {

inline constexpr uint32_t Mark = Pixel::Transparent;
inline constexpr uint32_t Edge = Pixel::EdgeMark;

// A buffer drawn as text, top row first, one character per pixel through the legend.
inline Buffer Picture(const std::vector<std::string>& rows,
                      const std::map<char, uint32_t>& legend) {
    Buffer b = rastertest::Make(int(rows[0].size()), int(rows.size()), 0);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) b.At(x, y) = legend.at(rows[size_t(y)][size_t(x)]);
    return b;
}

// The buffer as text: 'm' where the fill mark is set, '.' elsewhere.
inline std::vector<std::string> Marks(const Buffer& b) {
    std::vector<std::string> rows;
    for (int y = b.top; y <= b.bottom; ++y) {
        rows.emplace_back();
        for (int x = b.left; x <= b.right; ++x) rows.back() += (b.At(x, y) & Mark) ? 'm' : '.';
    }
    return rows;
}

inline std::vector<uint32_t> Values(const Buffer& b) {
    std::vector<uint32_t> v;
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x) v.push_back(b.At(x, y));
    return v;
}

} // namespace filltest
