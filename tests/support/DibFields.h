#pragma once

// Device-independent bitmaps written by hand for the decoder and clipboard tests, and the
// independent expectation of their pixels.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace dibfields {

using Bytes = std::vector<uint8_t>;

// What the test writer puts into a bitmap. Raw values are palette indices for up to 8 bits per
// pixel, 0x00RRGGBB for 24 bits and the stored 16- or 32-bit value otherwise; rows top to bottom.
struct DibFields {
    uint32_t headerSize = 40;
    int width = 1;
    int height = 1; // negative: top-down
    unsigned bpp = 24;
    unsigned planes = 1;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> palette; // written in full after the header (and masks)
    // R, G, B (and A): inside a header of 52 bytes or more, else after it with bit fields.
    std::vector<uint32_t> masks;
    std::vector<uint32_t> raw; // width * |height| values
};

inline void Put16(Bytes& b, size_t at, uint32_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
inline void Put32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}
inline void Append32(Bytes& b, uint32_t v) {
    b.resize(b.size() + 4);
    Put32(b, b.size() - 4, v);
}

inline Bytes Info(const DibFields& s) {
    Bytes b(s.headerSize == 12 ? 12 : s.headerSize, 0);
    Put32(b, 0, s.headerSize);
    if (s.headerSize == 12) {
        Put16(b, 4, uint32_t(s.width));
        Put16(b, 6, uint32_t(s.height));
        Put16(b, 8, s.planes);
        Put16(b, 10, s.bpp);
    } else {
        Put32(b, 4, uint32_t(s.width));
        Put32(b, 8, uint32_t(s.height));
        Put16(b, 12, s.planes);
        Put16(b, 14, s.bpp);
        Put32(b, 16, s.compression);
        Put32(b, 32, s.colorsUsed);
        if (s.headerSize >= 52)
            for (size_t i = 0; i < s.masks.size() && 40 + 4 * i + 4 <= s.headerSize; ++i)
                Put32(b, 40 + 4 * i, s.masks[i]);
        else if (s.compression == 3 || s.compression == 6)
            for (uint32_t m : s.masks) Append32(b, m);
    }
    for (uint32_t c : s.palette) {
        b.push_back(uint8_t(c));
        b.push_back(uint8_t(c >> 8));
        b.push_back(uint8_t(c >> 16));
        if (s.headerSize != 12) b.push_back(0x5A); // reserved byte: must be ignored
    }
    return b;
}

// Rows padded to 4 bytes with garbage the decoder must skip; bottom-up unless top-down.
inline Bytes Bits(const DibFields& s) {
    const int h = std::abs(s.height);
    const size_t stride = (size_t(s.width) * s.bpp + 31) / 32 * 4;
    Bytes b(stride * h, 0xA5);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = b.data() + stride * (s.height < 0 ? y : h - 1 - y);
        std::fill_n(row, (size_t(s.width) * s.bpp + 7) / 8, 0);
        for (int x = 0; x < s.width; ++x) {
            const uint32_t v = s.raw[size_t(y) * s.width + x];
            if (s.bpp < 8) {
                row[x * s.bpp / 8] |= uint8_t(v << (8 - s.bpp - x * s.bpp % 8));
            } else {
                for (unsigned i = 0; i < s.bpp / 8; ++i)
                    row[x * s.bpp / 8 + i] = uint8_t(v >> (8 * i));
            }
        }
    }
    return b;
}

inline Bytes Packed(const DibFields& s) {
    Bytes b = Info(s);
    const Bytes bits = Bits(s);
    b.insert(b.end(), bits.begin(), bits.end());
    return b;
}

// The independent expectation: a channel's value over its mask's maximum, rounded to 0..255.
inline uint32_t RefChannel(uint32_t v, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    return uint32_t(std::lround(double((v & mask) >> shift) * 255.0 / double(mask >> shift)));
}

inline uint32_t Expected(const DibFields& s, uint32_t v) {
    if (s.bpp <= 8) return v < s.palette.size() ? s.palette[v] : 0;
    if (s.bpp == 24) return v & 0xFFFFFF;
    return RefChannel(v, s.masks[0]) << 16 | RefChannel(v, s.masks[1]) << 8 |
           RefChannel(v, s.masks[2]);
}

} // namespace dibfields
