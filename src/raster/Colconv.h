#pragma once

#include <cstddef>
#include <cstdint>

namespace Colconv {
// Reverses the byte order: a window-system colour 0x00BBGGRR becomes 0xRRGGBB00.
constexpr uint32_t BSwap(uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
}
// Window-system colour (0x00BBGGRR) to pixel (0x00RRGGBB) and back.
constexpr uint32_t ColorToPixel(uint32_t c) { return BSwap(c) >> 8; }
constexpr uint32_t PixelToColor(uint32_t p) { return BSwap(p & 0xFFFFFF) >> 8; }

// count pixels 0x00RRGGBB to 3 * count bytes B, G, R (the order of a 24-bit bitmap row).
void RGB32RGB24s(const uint32_t* src, uint8_t* dst, size_t count);
} // namespace Colconv
