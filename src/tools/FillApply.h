#pragma once

#include "color/Hsv.h"
#include "raster/Buffer.h"
#include "raster/Geometry.h"

#include <array>
#include <cstdint>

// The apply step of the fills: paints the pixels that carry the fill mark (from a flood, an
// outline fill, a filled box or ellipse) and leaves no mark bit behind in the rectangle it looked
// at. The fill tools' PaintMarked is one of these with the tool's settings.
namespace fill {

// Pattern origin modes of the pattern fill's bar.
inline constexpr int OriginImage = 0, OriginSource = 1, OriginStored = 2;

// HsvToRgb(h, s, v) for one hue and saturation at many values: the conversion's per-colour
// single-precision steps done once, the per-value ones exactly as it does them, so the results
// are identical. The shaded pattern fill needs one per brush pixel.
class HueShade {
public:
    HueShade() = default;
    explicit HueShade(HsvValue hsv); // its h and s
    uint32_t At(int v) const;

private:
    bool grey_ = true;
    int sector_ = 0;
    float p_ = 1, q_ = 1, t_ = 1; // the factors of v for the three shades
};

// 256 colours of the fill colour's hue and saturation, entry v with value v.
using ShadeTable = std::array<uint32_t, 256>;
ShadeTable Shades(uint32_t colour);

// Every marked pixel of area (clipped to work) becomes colour or, with shade, the shade of colour
// at the pixel's own max(R, G, B), so the area keeps its brightness.
void PaintMarkedSolid(Buffer& work, Rect area, uint32_t colour, bool shade);

// The source brush repeated over the image: image pixel (x, y) takes brush pixel
// ((x + offset.x) mod w, (y + offset.y) mod h) from the brush's top-left corner. Image
// coordinates, so the pattern stays put when a clipped work buffer scrolls.
struct Pattern {
    const Buffer* brush = nullptr; // null or empty: no custom brush, a plain colour fill
    Pair offset{0, 0};
    uint32_t background = 0; // what transparent brush pixels stand for
};

// Marked pixels become the pattern colour or, with shade, its hue and saturation at the value
// (max(R, G, B) + pattern value) / 2. Without a brush this is PaintMarkedSolid with colour.
void PaintMarkedPattern(Buffer& work, Rect area, uint32_t colour, const Pattern& pattern,
                        bool shade);

// The pattern offset of an origin mode for a w x h brush cut at origin (mode 1 lines the pattern
// up with where it was cut; mode 2 is the offset Set Fill Origin stored; anything else is 0, 0).
Pair PatternOffset(int mode, Pair brushSize, Pair origin, Pair stored);
// Set Fill Origin: the offset that makes the pattern match a brush stamped with its handle at
// press; each part raised by the brush size until not negative. A size below 1 leaves it as is.
Pair FillOriginOffset(Pair handle, Pair press, Pair brushSize);

} // namespace fill
