// Device-independent bitmaps from untrusted bytes (clipboard, scanner, .bmp files).
//
// Input: a 16-bit little-endian split length, then a bitmap. The bitmap is decoded once as a
// packed DIB and once as a header block of the split length followed by the pixel block, which
// reaches splits the packed layout never produces (cut tables, masks across the split, ...).

#include "raster/Buffer.h"
#include "raster/Dib.h"
#include "raster/RasterError.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

// Whatever the input, a decoded image holds plain colours: no mark bits, no stray high byte.
void CheckPixels(const Buffer& b) {
    if (b.Empty()) return;
    for (int y = b.top; y <= b.bottom; ++y) {
        const uint32_t* row = b.Row(y);
        for (int x = 0; x < b.Width(); ++x)
            if (row[x] & 0xFF000000) __builtin_trap();
    }
}

// Legal sizes above 4 Mpixels cost seconds per run under the sanitizers (allocating and
// blackening up to a gigabyte) and reach no code the small ones do not; the size checks for
// sizes past the limit still run.
bool HugeButLegal(std::span<const uint8_t> b) {
    if (b.size() < 12) return false;
    auto u16 = [&](size_t at) { return int64_t(b[at] | b[at + 1] << 8); };
    auto i32 = [&](size_t at) {
        return int64_t(int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 |
                               uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24));
    };
    const bool core = b[0] == 12 && b[1] == 0 && b[2] == 0 && b[3] == 0;
    const int64_t w = core ? u16(4) : i32(4), h = core ? u16(6) : i32(8);
    const int64_t pixels = (w < 0 ? -w : w) * (h < 0 ? -h : h);
    return pixels > (int64_t(1) << 22) && pixels <= Buffer::MaxPixels;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t split = size_t(data[0] | data[1] << 8);
    const std::span<const uint8_t> bitmap(data + 2, size - 2);
    if (HugeButLegal(bitmap)) return -1; // kept out of the corpus

    // One image alive at a time: a lying header may ask for a gigabyte.
    {
        Buffer packed;
        try {
            BitmapFromPacked(packed, bitmap);
        } catch (const RasterError&) {
        }
        CheckPixels(packed);
    }
    Buffer stream;
    const size_t infoSize = split < bitmap.size() ? split : bitmap.size();
    try {
        BitmapFromStream(stream, bitmap.first(infoSize), bitmap.subspan(infoSize));
    } catch (const RasterError&) {
    }
    CheckPixels(stream);
    return 0;
}
