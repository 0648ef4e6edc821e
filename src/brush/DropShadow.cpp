#include "brush/BrushTransforms.h"

#include <utility>

namespace brushxform {

bool DropShadow(const Buffer& src, int depth, int direction, uint32_t colour, Buffer& out) {
    if (src.Empty() || depth < 1 || direction < 0 || direction >= ShadowDirections) return false;
    const int w = src.Width(), h = src.Height(), d = depth;
    // East, South-East, South, South-West: whether the shadow widens and lowers the brush, and
    // where shadow and brush sit in the grown buffer.
    struct Layout {
        bool wider, taller;
        Pair shadow, brush;
    };
    const Layout layouts[ShadowDirections] = {{true, false, {d, 0}, {0, 0}},
                                              {true, true, {d, d}, {0, 0}},
                                              {false, true, {0, d}, {0, 0}},
                                              {true, true, {0, d}, {d, 0}}};
    const Layout& l = layouts[direction];
    Buffer made;
    if (!made.Alloc({l.wider ? w + d : w, l.taller ? h + d : h})) return false;
    made.Box(made.Bounds(), Pixel::Transparent);
    made.Copy(src, l.shadow, Pixel::Transparent);
    colour &= 0xFFFFFF;
    for (int y = 0; y < made.Height(); ++y) {
        uint32_t* row = made.Row(y);
        for (int x = 0; x < made.Width(); ++x)
            if (row[x] != Pixel::Transparent) row[x] = colour;
    }
    made.Copy(src, l.brush, Pixel::Transparent);
    out = std::move(made);
    return true;
}

} // namespace brushxform
