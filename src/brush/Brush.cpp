#include "brush/Brush.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace {
int ClampToInt(int64_t v) {
    return int(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}
} // namespace

Pair Brush::HandleOffset(int handle, int w, int h) {
    switch (handle) {
    case 1:
        return {0, 0};
    case 2:
        return {w - 1, 0};
    case 3:
        return {w - 1, h - 1};
    case 4:
        return {0, h - 1};
    default:
        return {w / 2, h / 2};
    }
}

void Brush::StampAt(Buffer& work, int x, int y) const {
    const Pair hot = HandleOffset(handle, stamp.Width(), stamp.Height());
    Stamper(work, stamp, Pixel::Transparent).At(int64_t(x) - hot.x, int64_t(y) - hot.y);
}

Rect Brush::StampRect(Pair p) const {
    const int w = std::max(source.Width(), 1), h = std::max(source.Height(), 1);
    const Pair hot = source.Empty() ? Pair{0, 0} : HandleOffset();
    const int64_t left = int64_t(p.x) - hot.x, top = int64_t(p.y) - hot.y;
    return {ClampToInt(left), ClampToInt(top), ClampToInt(left + w - 1), ClampToInt(top + h - 1)};
}

Rect Brush::LineRect(Pair a, Pair b) const {
    const Rect ra = StampRect(a), rb = StampRect(b);
    return {std::min(ra.left, rb.left), std::min(ra.top, rb.top), std::max(ra.right, rb.right),
            std::max(ra.bottom, rb.bottom)};
}

const char* Brush::TechniqueLetter(int t) {
    switch (t) {
    case Technique::Paint:
        return "P";
    case Technique::Color:
        return "C";
    case Technique::Replace:
        return "R";
    default:
        return "";
    }
}

bool Brush::SetTechnique(int t, uint32_t drawCol, uint32_t backCol) {
    if (t != Technique::Paint && t != Technique::Color && t != Technique::Replace) return false;
    if (t != Technique::Color && !custom) return false;
    technique = t;
    PrepareStamp(false, drawCol, backCol);
    return true;
}

bool Brush::Install(Buffer& newSource, const BrushFields& fields, uint32_t drawCol,
                    uint32_t backCol) {
    Brush next;
    static_cast<BrushFields&>(next) = fields;
    next.source = std::move(newSource);
    if (!next.PrepareStamp(false, drawCol, backCol)) {
        newSource = std::move(next.source);
        return false;
    }
    static_cast<BrushFields&>(*this) = fields;
    source = std::move(next.source);
    stamp = std::move(next.stamp);
    return true;
}
