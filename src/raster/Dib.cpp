#include "raster/Dib.h"

#include "raster/RasterError.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

// Decoding choices made here:
// - Colour-table entries missing from the table and pixel indices past the colours in use come
//   out black, as other decoders do; only an explicit colour count that lies is an error.
// - A row counts as present when its pixel bytes are, so a last row without its padding still
//   decodes. Rows that were never decoded are black.
// - When not a single row can be decoded, dst is left untouched (non-partial error). RLE data
//   is decoded into a black image, so dst is reallocated even when the stream is empty of pixels.
// - Header sizes 16..39 are the short OS/2 2.x forms: the absent fields are zero.
// - Flaws that still leave a whole picture (an unknown header size, absurd densities, an image
//   size larger than the data, a channel without bits or channels sharing bits, indices past the
//   colour table, runs past the edge) are decoded in full and then reported as an invalid image
//   with its pixels, so the caller can offer to keep them.

namespace {

enum : uint32_t {
    BiRgb = 0,
    BiRle8 = 1,
    BiRle4 = 2,
    BiBitfields = 3,
    BiJpeg = 4,
    BiPng = 5,
    BiAlphaBitfields = 6,
};

constexpr uint32_t CoreHeaderSize = 12;
constexpr uint32_t MasksInHeaderSize = 52; // V2 and later hold the masks in the header

uint16_t Get16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

[[noreturn]] void Invalid(const char* what, bool partial = false) {
    throw InvalidImageError(std::string("bitmap: ") + what, partial);
}
[[noreturn]] void Unsupported(const char* what) {
    throw LibraryError(std::string("bitmap: ") + what);
}
[[noreturn]] void TooLarge(const char* what) {
    throw ImageTooLargeError(std::string("bitmap: ") + what);
}

struct Header {
    uint32_t size = 0;
    bool core = false;
    int width = 0;
    int height = 0; // absolute
    bool topDown = false;
    unsigned bpp = 0;
    uint32_t compression = BiRgb;
    uint32_t colorsUsed = 0;
    std::array<uint32_t, 3> masks{}; // red, green, blue
    size_t entrySize = 4;
    uint32_t imageSize = 0; // as the header claims; 0 when absent
    bool flawed = false;    // see the note at the top

    bool Bitfields() const { return compression == BiBitfields || compression == BiAlphaBitfields; }
    // Bytes of masks between the header and the colour table.
    size_t MaskBytes() const {
        if (!Bitfields() || size >= MasksInHeaderSize) return 0;
        return compression == BiAlphaBitfields ? 16 : 12;
    }
    // Colour-table entries a packed bitmap carries before its pixels.
    uint64_t PackedEntries() const {
        if (!core && colorsUsed != 0) return colorsUsed;
        return bpp <= 8 ? uint64_t(1) << bpp : 0;
    }
};

void CheckDepth(const Header& h) {
    switch (h.compression) {
    case BiRgb:
        if (h.bpp == 64) Unsupported("64 bits per pixel are not supported");
        if (h.bpp != 1 && h.bpp != 2 && h.bpp != 4 && h.bpp != 8 && h.bpp != 16 && h.bpp != 24 &&
            h.bpp != 32)
            Invalid("bad bit count");
        break;
    case BiRle8:
    case BiRle4:
        if (h.bpp != (h.compression == BiRle8 ? 8u : 4u)) Invalid("bad bit count for RLE");
        if (h.topDown) Invalid("RLE bitmaps cannot be top-down");
        break;
    case BiBitfields:
    case BiAlphaBitfields:
        if (h.bpp == 1 && h.compression == BiBitfields) // the OS/2 meaning of 3
            Unsupported("Huffman-coded bitmaps are not supported");
        if (h.bpp != 16 && h.bpp != 32) Invalid("bad bit count for bit fields");
        break;
    case BiJpeg:
    case BiPng:
        Unsupported("JPEG, PNG and RLE24 compression are not supported"); // 4 is RLE24 for OS/2
    case 11:
    case 12:
    case 13: // CMYK variants
        Unsupported("CMYK bitmaps are not supported");
    default:
        Invalid("unknown compression");
    }
}

// Reads and checks the header fields; masks and colour table are left to the caller.
Header ReadHeader(std::span<const uint8_t> data) {
    if (data.size() < 4) Invalid("header missing");
    Header h;
    h.size = Get32(data.data());
    int64_t height = 0;
    unsigned planes = 0;
    if (h.size == CoreHeaderSize) {
        if (data.size() < CoreHeaderSize) Invalid("header cut short");
        h.core = true;
        h.entrySize = 3;
        h.width = Get16(data.data() + 4);
        height = Get16(data.data() + 6);
        planes = Get16(data.data() + 8);
        h.bpp = Get16(data.data() + 10);
    } else {
        if (h.size < 16) Invalid("unknown header size");
        if (h.size > data.size()) Invalid("header larger than the data");
        const uint8_t* p = data.data();
        auto field32 = [&](uint32_t at) { return at + 4 <= h.size ? Get32(p + at) : 0u; };
        auto field16 = [&](uint32_t at) { return at + 2 <= h.size ? Get16(p + at) : 0u; };
        h.width = int32_t(field32(4));
        height = int32_t(field32(8));
        planes = field16(12);
        h.bpp = field16(14);
        h.compression = field32(16);
        h.colorsUsed = field32(32);
        h.imageSize = field32(20);
        const int32_t densityX = int32_t(field32(24)), densityY = int32_t(field32(28));
        constexpr int32_t MaxDensity = 1000000; // pixels per metre: 25400 per inch
        if (densityX < 0 || densityY < 0 || densityX > MaxDensity || densityY > MaxDensity)
            h.flawed = true;
        if (h.size != 16 && h.size != 40 && h.size != 52 && h.size != 56 && h.size != 64 &&
            h.size != 108 && h.size != 124)
            h.flawed = true;
        if (height < 0) {
            h.topDown = true;
            height = -height; // 64-bit: INT32_MIN negates safely
        }
        if (h.Bitfields() && h.size >= MasksInHeaderSize)
            h.masks = {field32(40), field32(44), field32(48)};
    }
    if (planes != 1) Invalid("bad plane count");
    if (h.width <= 0) Invalid("bad width");
    if (height == 0) Invalid("bad height");
    CheckDepth(h);
    if (int64_t(h.width) * height > Buffer::MaxPixels) TooLarge("bitmap too large");
    h.height = int(height);
    if (h.compression == BiRgb && h.bpp == 16) h.masks = {0x7C00, 0x03E0, 0x001F};
    if (h.compression == BiRgb && h.bpp == 32) h.masks = {0xFF0000, 0x00FF00, 0x0000FF};
    return h;
}

// One masked channel scaled to 0..255, rounded. A table pays off only when there are more
// pixels than channel values.
class Channel {
public:
    Channel(uint32_t mask, int64_t pixels) : mask_(mask) {
        if (mask == 0) return;
        shift_ = unsigned(std::countr_zero(mask));
        max_ = mask >> shift_;
        if (max_ <= 0xFFFF && max_ < pixels) {
            lut_.resize(size_t(max_) + 1);
            for (uint32_t v = 0; v <= max_; ++v) lut_[v] = uint8_t(Scale(v));
        }
    }
    uint32_t operator()(uint32_t px) const {
        const uint32_t v = (px & mask_) >> shift_;
        return lut_.empty() ? (max_ ? Scale(v) : 0) : lut_[v];
    }

private:
    uint32_t Scale(uint32_t v) const { return uint32_t((uint64_t(v) * 255 + max_ / 2) / max_); }
    uint32_t mask_;
    unsigned shift_ = 0;
    uint32_t max_ = 0;
    std::vector<uint8_t> lut_;
};

// Marks entries past the colour table; no decoded colour has these bits.
constexpr uint32_t NoColour = 0xFF000000;

struct Palette {
    std::array<uint32_t, 256> colours{}; // entries past the table hold NoColour
};

Palette ReadPalette(const Header& h, std::span<const uint8_t> table) {
    const uint64_t available = table.size() / h.entrySize;
    uint64_t count = h.bpp <= 8 ? uint64_t(1) << h.bpp : 0;
    if (!h.core && h.colorsUsed != 0) {
        if (h.bpp < 32 && h.colorsUsed > (uint64_t(1) << h.bpp))
            Invalid("more colours than the depth allows");
        if (h.colorsUsed > available) Invalid("colour table cut short");
        count = h.colorsUsed;
    }
    Palette pal;
    if (h.bpp > 8) return pal;
    count = std::min<uint64_t>({count, available, pal.colours.size()});
    std::fill(pal.colours.begin() + ptrdiff_t(count), pal.colours.end(), NoColour);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = table.data() + i * h.entrySize;
        pal.colours[i] = uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0];
    }
    return pal;
}

// Palette indices of 1, 2, 4 or 8 bits, the leftmost pixel in the high bits of each byte.
void IndexedRow(const uint8_t* src, uint32_t* dst, int width, unsigned bpp, const Palette& pal) {
    if (bpp == 8) {
        for (int x = 0; x < width; ++x) dst[x] = pal.colours[src[x]];
        return;
    }
    const unsigned perByte = 8 / bpp;
    const unsigned mask = (1u << bpp) - 1;
    int x = 0;
    for (; x + int(perByte) <= width; ++src) {
        const unsigned byte = *src;
        for (unsigned k = 1; k <= perByte; ++k)
            dst[x++] = pal.colours[(byte >> (8 - k * bpp)) & mask];
    }
    for (unsigned shift = 8 - bpp; x < width; shift -= bpp)
        dst[x++] = pal.colours[(*src >> shift) & mask];
}

class RowDecoder {
public:
    RowDecoder(const Header& h, const Palette& pal) : h_(h), pal_(pal) {
        if (h.bpp == 16 || h.bpp == 32) {
            const int64_t pixels = int64_t(h.width) * h.height;
            const Channel r(h.masks[0], pixels), g(h.masks[1], pixels), b(h.masks[2], pixels);
            plain32_ = h.bpp == 32 && h.masks == std::array<uint32_t, 3>{0xFF0000, 0xFF00, 0xFF};
            if (h.bpp == 16 && pixels > 0x10000) {
                // Every 16-bit value once, so the rows are a single lookup per pixel.
                lut16_.resize(0x10000);
                for (uint32_t v = 0; v < 0x10000; ++v) lut16_[v] = r(v) << 16 | g(v) << 8 | b(v);
            } else if (!plain32_) {
                channels_ = {r, g, b};
            }
        }
    }

    void operator()(const uint8_t* src, uint32_t* dst) const {
        const int w = h_.width;
        switch (h_.bpp) {
        case 16:
            if (!lut16_.empty()) {
                for (int x = 0; x < w; ++x, src += 2) dst[x] = lut16_[Get16(src)];
            } else {
                const Channel &r = channels_[0], &g = channels_[1], &b = channels_[2];
                for (int x = 0; x < w; ++x, src += 2) {
                    const uint32_t v = Get16(src);
                    dst[x] = r(v) << 16 | g(v) << 8 | b(v);
                }
            }
            break;
        case 24:
            for (int x = 0; x < w; ++x, src += 3)
                dst[x] = uint32_t(src[2]) << 16 | uint32_t(src[1]) << 8 | src[0];
            break;
        case 32:
            if (plain32_) {
                for (int x = 0; x < w; ++x, src += 4) dst[x] = Get32(src) & 0xFFFFFF;
            } else {
                const Channel &r = channels_[0], &g = channels_[1], &b = channels_[2];
                for (int x = 0; x < w; ++x, src += 4) {
                    const uint32_t v = Get32(src);
                    dst[x] = r(v) << 16 | g(v) << 8 | b(v);
                }
            }
            break;
        default:
            IndexedRow(src, dst, w, h_.bpp, pal_);
        }
    }

private:
    const Header& h_;
    const Palette& pal_;
    bool plain32_ = false;
    std::vector<uint32_t> lut16_;
    std::vector<Channel> channels_;
};

void Allocate(Buffer& dst, const Header& h) {
    if (!dst.Alloc(Pair{h.width, h.height})) TooLarge("out of memory");
}

// Turns indices past the colour table black; true when there were any.
bool ClearMissingColours(Buffer& dst) {
    bool found = false;
    for (int y = dst.top; y <= dst.bottom; ++y) {
        uint32_t* row = dst.Row(y);
        for (int x = 0, w = dst.Width(); x < w; ++x)
            if (row[x] == NoColour) {
                row[x] = 0;
                found = true;
            }
    }
    return found;
}

void DecodeRows(Buffer& dst, const Header& h, const Palette& pal, std::span<const uint8_t> bits) {
    const uint64_t rowBytes = (uint64_t(h.width) * h.bpp + 7) / 8;
    const uint64_t stride = (uint64_t(h.width) * h.bpp + 31) / 32 * 4;
    const uint64_t rows = bits.size() < rowBytes
                              ? 0
                              : std::min<uint64_t>(h.height, (bits.size() - rowBytes) / stride + 1);
    if (rows == 0) Invalid("pixel data missing");

    Allocate(dst, h);
    const RowDecoder decode(h, pal);
    for (uint64_t r = 0; r < rows; ++r) {
        const int y = h.topDown ? int(r) : h.height - 1 - int(r);
        decode(bits.data() + r * stride, dst.Row(y));
    }
    for (uint64_t r = rows; r < uint64_t(h.height); ++r) {
        const int y = h.topDown ? int(r) : h.height - 1 - int(r);
        std::fill_n(dst.Row(y), h.width, 0u);
    }
    if (rows < uint64_t(h.height)) Invalid("pixel data cut short", true);
}

// Run-length encoded 8 and 4 bits per pixel; always bottom-up.
void DecodeRle(Buffer& dst, Header& h, const Palette& pal, std::span<const uint8_t> bits) {
    if (bits.size() < 2) Invalid("pixel data missing");
    Allocate(dst, h);
    for (int y = 0; y < h.height; ++y) std::fill_n(dst.Row(y), h.width, 0u);

    const bool four = h.compression == BiRle4;
    const size_t n = bits.size();
    const uint8_t* in = bits.data();
    size_t pos = 0;
    int64_t x = 0, y = 0; // y counts up from the bottom row; runs may push x past the width
    bool any = false;
    bool& flawed = h.flawed;
    // Writes count pixels from x on, clipped to the image; pixelAt(k) is the k-th index.
    auto put = [&](int64_t count, auto pixelAt) {
        if (y >= h.height || x + count > h.width) flawed = true;
        if (y < h.height && x < h.width) {
            uint32_t* row = dst.Row(h.height - 1 - int(y));
            const int64_t end = std::min<int64_t>(x + count, h.width);
            for (int64_t i = x; i < end; ++i) row[i] = pal.colours[pixelAt(i - x)];
            any = true;
        }
        x += count;
    };
    while (y < h.height) {
        if (n - pos < 2) Invalid("RLE data cut short", any);
        const unsigned count = in[pos], code = in[pos + 1];
        pos += 2;
        if (count > 0) {
            const unsigned hi = four ? code >> 4 : code, lo = four ? code & 15 : code;
            put(count, [&](int64_t k) { return k & 1 ? lo : hi; });
        } else if (code == 0) {
            x = 0;
            ++y;
        } else if (code == 1) {
            return;
        } else if (code == 2) {
            if (n - pos < 2) Invalid("RLE data cut short", any);
            x += in[pos];
            y += in[pos + 1];
            pos += 2;
            if (x > h.width || y > h.height) flawed = true;
        } else {
            const size_t bytes = four ? (code + 1) / 2 : code;
            if (n - pos < bytes) Invalid("RLE data cut short", any);
            const uint8_t* run = in + pos;
            if (four)
                put(code, [&](int64_t k) { return k & 1 ? run[k / 2] & 15u : run[k / 2] >> 4u; });
            else
                put(code, [&](int64_t k) { return unsigned(run[k]); });
            pos += std::min(n - pos, (bytes + 1) & ~size_t(1)); // runs keep 16-bit alignment
        }
    }
}

} // namespace

void BitmapFromStream(Buffer& dst, std::span<const uint8_t> info, std::span<const uint8_t> bits) {
    Header h = ReadHeader(info);
    const size_t tableAt = size_t(h.size) + h.MaskBytes();
    if (tableAt > info.size()) Invalid("bit-field masks missing");
    if (h.Bitfields() && h.size < MasksInHeaderSize) {
        const uint8_t* m = info.data() + h.size;
        h.masks = {Get32(m), Get32(m + 4), Get32(m + 8)};
    }
    if (h.Bitfields()) {
        const auto [r, g, b] = h.masks;
        if (r == 0 || g == 0 || b == 0 || (r & g) || (r & b) || (g & b)) h.flawed = true;
    }
    if (h.imageSize > bits.size()) h.flawed = true;
    const Palette pal = ReadPalette(h, info.subspan(tableAt));
    try {
        if (h.compression == BiRle8 || h.compression == BiRle4)
            DecodeRle(dst, h, pal, bits);
        else
            DecodeRows(dst, h, pal, bits);
    } catch (const InvalidImageError& e) {
        if (e.Partial() && h.bpp <= 8) ClearMissingColours(dst); // what is kept must be clean
        throw;
    }
    if (h.bpp <= 8 && ClearMissingColours(dst)) h.flawed = true;
    if (h.flawed) Invalid("flawed bitmap", true);
}

void BitmapFromPacked(Buffer& dst, std::span<const uint8_t> packed) {
    const Header h = ReadHeader(packed);
    const uint64_t tableAt = uint64_t(h.size) + h.MaskBytes();
    const uint64_t pixelsAt = tableAt + h.PackedEntries() * h.entrySize;
    if (pixelsAt > packed.size()) Invalid("colour table past the end of the data");
    BitmapFromStream(dst, packed.first(size_t(pixelsAt)), packed.subspan(size_t(pixelsAt)));
}

void BitmapFromFileBytes(Buffer& dst, std::span<const uint8_t> file) {
    constexpr size_t FileHeader = 14;
    if (file.size() < FileHeader) Invalid("bitmap file header cut short");
    if (file[0] != 'B' || file[1] != 'M') Invalid("not a bitmap file");
    const uint32_t declaredSize = Get32(file.data() + 2), pixelsAt = Get32(file.data() + 10);
    if (pixelsAt < FileHeader || pixelsAt > file.size())
        Invalid("bitmap pixel offset outside the file");
    BitmapFromStream(dst, file.subspan(FileHeader, pixelsAt - FileHeader), file.subspan(pixelsAt));
    // The pixels are whole, yet the file says it is longer than it is.
    if (declaredSize > file.size()) Invalid("bitmap file shorter than it claims", true);
}
