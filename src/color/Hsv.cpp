#include "color/Hsv.h"

#include <algorithm>

// Single precision on purpose: the hue of colours such as (2, 3, 0) lands one degree lower than
// the exact value, and the shades the fills build must match the selector's.

HsvValue RgbToHsv(int r, int g, int b) {
    r = std::clamp(r, 0, 255);
    g = std::clamp(g, 0, 255);
    b = std::clamp(b, 0, 255);
    const int v = std::max({r, g, b});
    const int d = v - std::min({r, g, b});
    if (v == 0) return {0, 0, 0};
    const int s = int(float(d) * 255.0f / float(v));
    if (s == 0) return {0, 0, v};
    float h;
    if (r == v)
        h = float(g - b) / float(d);
    else if (g == v)
        h = 2.0f + float(b - r) / float(d);
    else
        h = 4.0f + float(r - g) / float(d);
    int hue = int(h * 60.0f);
    if (hue < 0) hue += 360;
    return {hue, s, v};
}

RgbValue HsvToRgb(int h, int s, int v) {
    s = std::clamp(s, 0, 255);
    v = std::clamp(v, 0, 255);
    if (s == 0) return {v, v, v};
    h %= 360;
    if (h < 0) h += 360;
    const float sf = float(s) / 255.0f;
    const int sector = h / 60;
    const float f = float(h) / 60.0f - float(sector);
    const float vf = float(v);
    const int p = int(vf * (1.0f - sf));
    const int q = int(vf * (1.0f - sf * f));
    const int t = int(vf * (1.0f - sf * (1.0f - f)));
    return FromSector(sector, v, p, q, t);
}
