#include "brush/BrushTransforms.h"

#include <cstdlib>
#include <utility>

namespace brushxform {

bool Scaled(const Buffer& src, Pair size, bool smooth, Buffer& out) {
    if (src.Empty()) return false;
    if (size.x == 0) size.x = 1;
    if (size.y == 0) size.y = 1;
    Buffer made;
    if (!made.Alloc({std::abs(size.x), std::abs(size.y)})) return false;
    made.Box(made.Bounds(), Pixel::Transparent);
    // The transparent value itself is the key: no opaque colour can be taken for a hole.
    made.Scale(src, size, {0, 0}, Pixel::Transparent, smooth);
    out = std::move(made);
    return true;
}

} // namespace brushxform
