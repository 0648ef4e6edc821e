#include "brush/BrushLines.h"
#include "brush/BrushTransforms.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace brushxform {

namespace {

constexpr double HalfPi = 1.5707963267948966;

bool Bent(const Buffer& src, int d, int split, bool up, bool columns, Buffer& out) {
    if (src.Empty()) return false;
    const int n = columns ? src.Width() : src.Height();
    const int extra = std::abs(d);
    Buffer made;
    if (!lines::Grown(src, columns, extra, made)) return false;
    const int k = std::clamp(split, 0, n - 1);
    const double lift = up ? 1 : 0;
    for (int j = 0; j < n; ++j) {
        const double curve =
            j < k ? std::sin(HalfPi * j / (k + 1)) : std::cos(HalfPi * (j - k) / (n - k + 1));
        // Within 0 .. |d| for either sign of d, so every line lands inside the grown buffer.
        lines::Place(src, made, columns, j, int((lift - curve) * d));
    }
    out = std::move(made);
    return true;
}

} // namespace

int BendSplit(int pointer, int first, int n) {
    int k;
    if (pointer <= first)
        k = 1;
    else if (pointer >= first + n - 1)
        k = n - 2;
    else
        k = pointer - first;
    return std::clamp(k, 0, std::max(n - 1, 0));
}

bool BentColumns(const Buffer& src, int d, int split, bool up, Buffer& out) {
    return Bent(src, d, split, up, true, out);
}

bool BentRows(const Buffer& src, int d, int split, bool up, Buffer& out) {
    return Bent(src, d, split, up, false, out);
}

} // namespace brushxform
