#include "brush/Brush.h"

namespace {

// What a source pixel becomes in the stamp.
uint32_t StampPixel(uint32_t p, int technique, bool useBackground, uint32_t drawCol,
                    uint32_t backCol, uint32_t key) {
    const bool clear = p == Pixel::Transparent;
    if (useBackground) {
        if (technique == Technique::Replace) return backCol;
        return clear ? p : backCol;
    }
    switch (technique) {
    case Technique::Color:
        return clear ? p : drawCol;
    case Technique::Replace:
        return clear ? key : p;
    default:
        return p;
    }
}

} // namespace

bool Brush::PrepareStamp(bool useBackground, uint32_t drawCol, uint32_t backCol) {
    if (source.Empty()) {
        stamp.Free();
        return true;
    }
    const int w = source.Width(), h = source.Height();
    if (stamp.Width() != w || stamp.Height() != h || stamp.SharesPixelsWith(source)) {
        Buffer fresh;
        if (!fresh.Alloc({w, h})) {
            stamp.Free();
            return false;
        }
        stamp = std::move(fresh);
    }
    // Colours never carry mark bits, or a colour could turn into the transparent key.
    drawCol &= 0xFFFFFF;
    backCol &= 0xFFFFFF;
    const uint32_t key = keyColour & 0xFFFFFF;
    for (int y = 0; y < h; ++y) {
        const uint32_t* s = source.Row(source.top + y);
        uint32_t* d = stamp.Row(stamp.top + y);
        for (int x = 0; x < w; ++x)
            d[x] = StampPixel(s[x], technique, useBackground, drawCol, backCol, key);
    }
    return true;
}
