#pragma once

// Conversions between RGB and hue/saturation/value, shared by the colour selector and the shaded
// fills. H is in degrees 0 to 359 (HsvToRgb also takes 360 as 0), S, V and the channels 0 to 255.
// Both directions compute in single precision and truncate toward zero, so results are the same
// on every machine and callers may rely on exact values.

#include <cstdint>

struct RgbValue {
    int r = 0, g = 0, b = 0;

    // Pixel 0x00RRGGBB; the mark bits are ignored.
    static constexpr RgbValue FromPixel(uint32_t pixel) {
        return {int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF)};
    }
    constexpr uint32_t Pixel() const { return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }
    friend bool operator==(const RgbValue&, const RgbValue&) = default;
};

struct HsvValue {
    int h = 0, s = 0, v = 0;
    friend bool operator==(const HsvValue&, const HsvValue&) = default;
};

// Channels outside 0 to 255 are clamped. Greys (including black) have S 0 and H 0.
HsvValue RgbToHsv(int r, int g, int b);
inline HsvValue RgbToHsv(RgbValue c) {
    return RgbToHsv(c.r, c.g, c.b);
}

// The channels of hue sector (H div 60, 0 to 5) from V and the three shades p, q and t, as
// both the conversion and the selector's picture pick them.
constexpr RgbValue FromSector(int sector, int v, int p, int q, int t) {
    switch (sector) {
    case 0:
        return {v, t, p};
    case 1:
        return {q, v, p};
    case 2:
        return {p, v, t};
    case 3:
        return {p, q, v};
    case 4:
        return {t, p, v};
    default:
        return {v, p, q};
    }
}

// h is taken modulo 360 (negative values wrap); s and v are clamped to 0 to 255.
RgbValue HsvToRgb(int h, int s, int v);
inline RgbValue HsvToRgb(HsvValue c) {
    return HsvToRgb(c.h, c.s, c.v);
}
