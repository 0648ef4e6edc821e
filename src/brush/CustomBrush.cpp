#include "brush/Brush.h"

bool Brush::SetCustom(const Buffer& pixels, const CustomBrush& how, uint32_t drawCol,
                      uint32_t backCol) {
    if (pixels.Empty()) return false;
    // The brush lives at (0, 0) whatever view it came from.
    Buffer made;
    if (!made.Alloc({pixels.Width(), pixels.Height()})) return false;
    made.Copy(pixels, {0, 0}, Pixel::CopyAll);
    const uint32_t key = how.keyColour & 0xFFFFFF;
    if (how.keyToTransparent) made.ChColor(key, Pixel::Transparent);
    if (!Backup()) return false;
    BrushFields next = *this;
    next.originX = how.origin.x;
    next.originY = how.origin.y;
    next.keyColour = key;
    next.custom = true;
    next.technique = Technique::Paint;
    if (how.handle >= 0 && how.handle <= 4) next.handle = how.handle;
    return Install(made, next, drawCol, backCol);
}
