#include "raster/ColourChange.h"

#include "raster/FloodMark.h"

#include <algorithm>

namespace fill {

int64_t ChangeColour(Buffer& work, uint32_t source, uint32_t target, int tolerance) {
    tolerance = std::clamp(tolerance, 0, MaxTolerance);
    int64_t changed = 0;
    if (work.Empty() || (tolerance > 0 && (source & FillMark))) return 0;
    const int n = work.Width();
    for (int y = work.top; y <= work.bottom; ++y) {
        uint32_t* d = work.Row(y);
        for (int i = 0; i < n; ++i) {
            const uint32_t p = d[i];
            const bool match = tolerance == 0
                                   ? p == source
                                   : !(p & FillMark) && ColourDistance(p, source) <= tolerance;
            if (match && p != target) {
                d[i] = target;
                ++changed;
            }
        }
    }
    return changed;
}

} // namespace fill
