#pragma once

// Pieces shared by Scale and XFormLin; private to the raster layer.

#include "raster/Buffer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace resample {

// Fixed-point weights: AxisBits fraction bits per axis, so a 2-D weight is at most FullWeight
// and 255 * FullWeight plus a rounding half still fits in 32 bits.
inline constexpr int AxisBits = 12;
inline constexpr uint32_t AxisOne = 1u << AxisBits;
inline constexpr int FullBits = 2 * AxisBits;
inline constexpr uint32_t FullWeight = 1u << FullBits;

inline bool Keyed(uint32_t p, uint32_t key) {
    return key != Pixel::CopyAll && p == key;
}

// The source pixels addressed 0-based. When they share a store with the target they are
// copied first, so that writing the target never changes what is still to be read.
class Source {
public:
    Source(const Buffer& src, const Buffer& target) : width(src.Width()), height(src.Height()) {
        if (src.Empty()) return;
        if (!src.SharesPixelsWith(target)) {
            pixels_ = src.pixels;
            stride_ = src.stride;
            return;
        }
        copy_.resize(size_t(width) * size_t(height));
        for (int y = 0; y < height; ++y) {
            const uint32_t* from = src.Row(src.top + y);
            std::copy(from, from + width, copy_.begin() + ptrdiff_t(y) * width);
        }
        pixels_ = copy_.data();
        stride_ = width;
    }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;

    const uint32_t* Row(int y) const { return pixels_ + ptrdiff_t(y) * stride_; }
    uint32_t At(int x, int y) const { return Row(y)[x]; }

    const int width;
    const int height;

private:
    std::vector<uint32_t> copy_;
    const uint32_t* pixels_ = nullptr;
    ptrdiff_t stride_ = 0;
};

// Channel sums r, g, b weighted by fixed-point weights adding up to total (> 0), rounded to
// the nearest value and packed under the high byte `marks`.
inline uint32_t Mean(uint32_t r, uint32_t g, uint32_t b, uint32_t total, uint32_t marks) {
    if (total == FullWeight) {
        constexpr uint32_t half = FullWeight / 2;
        r = (r + half) >> FullBits;
        g = (g + half) >> FullBits;
        b = (b + half) >> FullBits;
    } else {
        const uint32_t half = total / 2;
        r = (r + half) / total;
        g = (g + half) / total;
        b = (b + half) / total;
    }
    return (marks & 0xFF000000u) | (r << 16) | (g << 8) | b;
}

} // namespace resample
