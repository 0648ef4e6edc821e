#pragma once

#include "raster/Buffer.h"
#include "raster/Geometry.h"

#include <cstdint>
#include <vector>

// Flood marking for the fills and the magic wand: the fill mark is ORed into every pixel of the
// region around a seed, keeping the colours, and a separate step paints or cuts the marked pixels
// and clears the marks again.
namespace fill {

inline constexpr uint32_t FillMark = Pixel::Transparent;
inline constexpr uint32_t BothMarks = Pixel::Transparent | Pixel::EdgeMark;
inline constexpr int MaxTolerance = 765;

// |dR| + |dG| + |dB| of the colour parts, 0 to 765.
inline int ColourDistance(uint32_t a, uint32_t b) {
    const auto d = [](uint32_t p, uint32_t q, int shift) {
        const int c = int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF);
        return c < 0 ? -c : c;
    };
    return d(a, b, 16) + d(a, b, 8) + d(a, b, 0);
}

// The solid fill's no-op test: the seed pixel, all 32 bits, already is the fill colour (false
// when the seed lies outside the buffer).
bool SeedIsFillColour(const Buffer& work, Pair seed, uint32_t colour);

// Marks the region reachable from the seed through pixels whose colour lies within the tolerance
// (clamped to 0 … 765) of the seed's colour, 4-connected or, with diagonal, 8-connected. Pixels
// that already carry the fill mark never join (they are as far from everything as possible), so a
// seed that carries it marks nothing. Works in any buffer, views included, and never leaves it.
//
// A scanline span fill with an explicit stack: each pixel is tested a bounded number of times, and
// the stack is kept between fills, so a marker that has filled once does not allocate again for
// regions of a similar shape.
class FloodMarker {
public:
    // Returns the bounding rectangle of the newly marked pixels; empty when there were none.
    // Throws std::bad_alloc when the stack cannot grow, after taking its marks out again (and
    // any other fill marks in their rectangle).
    Rect Mark(Buffer& work, Pair seed, int tolerance, bool diagonal);

private:
    // A marked run [l, r] on row y, found from the row y - dir whose run [pl, pr] was its
    // parent: the parent row needs scanning only outside [pl, pr].
    struct Span {
        int y, l, r, dir, pl, pr;
    };
    template <class Test> Rect Run(Buffer& work, Pair seed, bool diagonal, Test test);

    std::vector<Span> stack_;
};

} // namespace fill
