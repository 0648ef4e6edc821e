#include "files/ColourCount.h"

#include <memory>
#include <new>

namespace {

constexpr uint32_t kColourBits = 0xFFFFFF;

template <typename Visit> void ForEachPixel(const Buffer& b, bool skipTransparent, Visit visit) {
    const int w = b.Width();
    for (int y = b.top; y <= b.bottom; ++y) {
        const uint32_t* row = b.Row(y);
        for (int x = 0; x < w; ++x) {
            const uint32_t p = row[x];
            if (skipTransparent && p == Pixel::Transparent) continue;
            visit(p & kColourBits);
        }
    }
}

std::unique_ptr<uint8_t[]> Table(size_t bytes) {
    std::unique_ptr<uint8_t[]> t(new (std::nothrow) uint8_t[bytes]);
    return t;
}

int64_t CountSmall(const Buffer& b, bool skipTransparent) {
    constexpr size_t kBytes = 0x10000; // 2^19 bits: one per colour sharing its low five bits
    auto table = Table(kBytes);
    if (!table) return 0;
    int64_t count = 0;
    for (uint32_t pass = 0; pass < 32; ++pass) {
        std::fill_n(table.get(), kBytes, uint8_t(0));
        ForEachPixel(b, skipTransparent, [&](uint32_t c) {
            if ((c & 31) != pass) return;
            const uint32_t bit = c >> 5;
            uint8_t& byte = table[bit >> 3];
            const uint8_t mask = uint8_t(1u << (bit & 7));
            if (!(byte & mask)) {
                byte |= mask;
                ++count;
            }
        });
    }
    return count;
}

int64_t CountLarge(const Buffer& b, bool skipTransparent) {
    constexpr size_t kBytes = 0x200000; // 2^24 bits, one per colour
    auto table = Table(kBytes);
    if (!table) return 0;
    std::fill_n(table.get(), kBytes, uint8_t(0));
    int64_t count = 0;
    ForEachPixel(b, skipTransparent, [&](uint32_t c) {
        uint8_t& byte = table[c >> 3];
        const uint8_t mask = uint8_t(1u << (c & 7));
        count += !(byte & mask);
        byte |= mask;
    });
    return count;
}

} // namespace

int64_t CountColours(const Buffer& pixels, ColourCountOptions options) {
    if (pixels.Empty()) return 0;
    const int64_t n = int64_t(pixels.Width()) * pixels.Height();
    return CountsWithFullTable(n) ? CountLarge(pixels, options.skipTransparent)
                                  : CountSmall(pixels, options.skipTransparent);
}
