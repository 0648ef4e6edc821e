#include "brush/Brush.h"

namespace {

bool RowClear(const Buffer& b, int y, int x1, int x2) {
    const uint32_t* row = b.Row(y);
    for (int x = x1; x <= x2; ++x)
        if (row[x - b.left] != Pixel::Transparent) return false;
    return true;
}

bool ColumnClear(const Buffer& b, int x, int y1, int y2) {
    for (int y = y1; y <= y2; ++y)
        if (b.At(x, y) != Pixel::Transparent) return false;
    return true;
}

} // namespace

TrimResult Brush::Trim(Pair pointer, uint32_t drawCol, uint32_t backCol) {
    TrimResult result;
    result.pointer = pointer;
    if (source.Empty()) return result;
    Rect keep = source.Bounds();
    while (keep.top <= keep.bottom && RowClear(source, keep.top, keep.left, keep.right)) ++keep.top;
    // A brush with nothing visible stays as it is rather than vanishing.
    if (keep.top > keep.bottom) return result;
    while (RowClear(source, keep.bottom, keep.left, keep.right)) --keep.bottom;
    while (ColumnClear(source, keep.left, keep.top, keep.bottom)) ++keep.left;
    while (ColumnClear(source, keep.right, keep.top, keep.bottom)) --keep.right;
    if (keep == source.Bounds()) return result;

    Buffer made;
    if (!made.Alloc({keep.Width(), keep.Height()})) {
        result.failed = true;
        return result;
    }
    made.Copy(source, {source.left - keep.left, source.top - keep.top}, Pixel::CopyAll);
    const Pair oldHot = HandleOffset();
    const Pair newHot = HandleOffset(handle, keep.Width(), keep.Height());
    const Pair removed{keep.left - source.left, keep.top - source.top};
    // The origin names where the brush's top-left pixel was cut from, so it moves with the trim.
    BrushFields next = *this;
    next.originX += removed.x;
    next.originY += removed.y;
    if (!Install(made, next, drawCol, backCol)) {
        result.failed = true;
        return result;
    }
    result.trimmed = true;
    result.pointer = {pointer.x - oldHot.x + removed.x + newHot.x,
                      pointer.y - oldHot.y + removed.y + newHot.y};
    return result;
}
