// Clipboard import from untrusted bytes: whatever another program offers as "image/bmp" (with
// or without the file header) or as a packed bitmap must either leave the picture as it was or
// replace it with a clean one.

#include "files/ClipboardDib.h"
#include "raster/Buffer.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

// Legal sizes above 4 Mpixels cost seconds per run under the sanitizers and reach no code the
// small ones do not (see fuzz_dib).
bool Huge(std::span<const uint8_t> b) {
    if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M') b = b.subspan(std::min<size_t>(14, b.size()));
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
    const std::span<const uint8_t> bytes(data, size);
    if (Huge(bytes)) return -1;
    Buffer picture;
    if (!picture.Alloc({3, 2})) return 0;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) picture.At(x, y) = 0x123456;
    const DibImport result = ImportDib(bytes, picture);
    if (result == DibImport::Failed) {
        // Untouched.
        if (picture.Width() != 3 || picture.Height() != 2) __builtin_trap();
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                if (picture.At(x, y) != 0x123456) __builtin_trap();
        return 0;
    }
    if (picture.Empty()) __builtin_trap();
    for (int y = picture.top; y <= picture.bottom; ++y)
        for (int x = picture.left; x <= picture.right; ++x)
            if (picture.At(x, y) & 0xFF000000) __builtin_trap();
    return 0;
}
