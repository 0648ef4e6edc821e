#include "brush/Brush.h"

#include <algorithm>

void Brush::MirrorLeftRight(uint32_t drawCol, uint32_t backCol) {
    for (int y = source.top; !source.Empty() && y <= source.bottom; ++y) {
        uint32_t* row = source.Row(y);
        std::reverse(row, row + source.Width());
    }
    PrepareStamp(false, drawCol, backCol);
}

void Brush::MirrorTopBottom(uint32_t drawCol, uint32_t backCol) {
    for (int a = source.top, b = source.bottom; !source.Empty() && a < b; ++a, --b)
        std::swap_ranges(source.Row(a), source.Row(a) + source.Width(), source.Row(b));
    PrepareStamp(false, drawCol, backCol);
}
