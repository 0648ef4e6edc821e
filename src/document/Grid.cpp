#include "document/Grid.h"

#include <algorithm>
#include <climits>
#include <cstdint>

int SnapToGrid(int v, int spacing, int origin) {
    const int64_t a = std::clamp(spacing, GridSettings::MinSpacing, GridSettings::MaxSpacing);
    const int64_t c = int64_t(origin) % a;
    // 64-bit so positions near the int limits cannot overflow on the way.
    const int64_t snapped = c + a * ((int64_t(v) + a / 2 - c) / a);
    return int(std::clamp<int64_t>(snapped, INT_MIN, INT_MAX));
}

void GridSettings::SetSpacing(int x, int y) {
    dx = std::clamp(x, MinSpacing, MaxSpacing);
    dy = std::clamp(y, MinSpacing, MaxSpacing);
}

void GridSettings::SetOrigin(int x, int y) {
    px = std::clamp(x, 0, MaxOrigin);
    py = std::clamp(y, 0, MaxOrigin);
}

Pair GridSettings::Snap(Pair p) const {
    return {SnapToGrid(p.x, dx, px), SnapToGrid(p.y, dy, py)};
}
