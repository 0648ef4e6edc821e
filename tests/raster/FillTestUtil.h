#pragma once

#include "raster/Buffer.h"
#include "raster/RasterTestUtil.h"

#include <cstdint>
#include <string>
#include <vector>

namespace filltest {

inline constexpr uint32_t Mark = Pixel::Transparent;
inline constexpr uint32_t Edge = Pixel::EdgeMark;

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
