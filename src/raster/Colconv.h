#pragma once

#include <cstddef>
#include <cstdint>

namespace Colconv {
// Reverses the byte order: a window-system colour 0x00BBGGRR becomes 0xRRGGBB00.
constexpr uint32_t BSwap(uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
}

// count pixels 0x00RRGGBB to 3 * count bytes B, G, R (the order of a 24-bit bitmap row).
void RGB32RGB24s(const uint32_t* src, uint8_t* dst, size_t count);
} // namespace Colconv
