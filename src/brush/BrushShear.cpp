#include "brush/BrushLines.h"
#include "brush/BrushTransforms.h"

#include <cstdlib>
#include <utility>

namespace brushxform {

namespace {

// Walks the Bresenham line from line 0 (offset 0) to line n - 1 (offset d) and places each line
// at every offset the walk passes while on it.
bool Sheared(const Buffer& src, int d, bool columns, Buffer& out) {
    if (src.Empty()) return false;
    const int n = columns ? src.Width() : src.Height();
    const int a = std::abs(d), b = n - 1;
    Buffer made;
    if (!lines::Grown(src, columns, a, made)) return false;
    const int base = d < 0 ? a : 0, step = d < 0 ? -1 : 1;
    const bool steep = a > b;
    const int major = steep ? a : b, minor = steep ? b : a;
    int line = 0, offset = 0;
    for (int i = 0, e = 2 * minor - major; i <= major; ++i) {
        lines::Place(src, made, columns, line, base + offset);
        if (e >= 0) {
            steep ? ++line : offset += step;
            e -= 2 * major;
        }
        e += 2 * minor;
        steep ? offset += step : ++line;
    }
    out = std::move(made);
    return true;
}

} // namespace

bool ShearedColumns(const Buffer& src, int d, Buffer& out) {
    return Sheared(src, d, true, out);
}

bool ShearedRows(const Buffer& src, int d, Buffer& out) {
    return Sheared(src, d, false, out);
}

} // namespace brushxform
