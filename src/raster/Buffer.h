#pragma once

#include "raster/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class QString;
struct TextFont;

// Pixel values: colour 0x00RRGGBB plus two mark bits.
namespace Pixel {
inline constexpr uint32_t Transparent = 0x01000000; // transparent brush pixel, fill mark, copy key
inline constexpr uint32_t EdgeMark = 0x02000000;
inline constexpr uint32_t CopyAll = 0xFFFFFFFF; // key that copies every pixel
inline constexpr uint32_t XorFlag = 0x80000000; // drawing value: XOR the low 24 bits
inline constexpr uint32_t Preview = 0x808F8F8F; // rubber bands; drawn twice restores
inline constexpr uint32_t ClearMarks = 0xFCFFFFFF;
inline constexpr uint32_t ClearEdgeMark = 0xFDFFFFFF;
} // namespace Pixel

// A 2-D image of 32-bit pixels. Pixel (x, y) lives at
// pixels[(y - top) * stride + (x - left)]. A view shares its parent's pixel store (kept alive by
// reference count) and keeps the parent's coordinates, so a tool drawing into a clipped view uses
// image coordinates and is clipped to the view. Every drawing operation clips to the bounds.
class Buffer {
public:
    uint32_t* pixels = nullptr;
    int stride = 0; // in pixels
    int left = 0, top = 0, right = -1, bottom = -1;

    static constexpr int default_x = 640;
    static constexpr int default_y = 480;
    // Largest pixel count Alloc accepts (16384 x 16384).
    static constexpr int64_t MaxPixels = int64_t(16384) * 16384;

    Buffer() = default;
    // View onto the part of parent inside r.
    Buffer(Buffer& parent, Rect r);
    Buffer(const Buffer& other);            // deep copy
    Buffer& operator=(const Buffer& other); // deep copy, bounds included
    Buffer(Buffer&& other) noexcept;
    Buffer& operator=(Buffer&& other) noexcept;
    ~Buffer() = default;

    // New pixels of size.x by size.y at (0, 0), contents undefined. On failure (size not
    // positive, too large, out of memory) returns false and leaves the buffer as it was.
    bool Alloc(Pair size);
    // The same, every pixel 0. Fresh memory is zero already, so pages are only touched once the
    // pixels are used: a black picture costs nothing until it is drawn on.
    bool AllocZeroed(Pair size);
    // Turns this buffer into a view onto the part of parent inside r.
    bool Alloc(Buffer& parent, Rect r);
    void Free();

    bool Empty() const { return pixels == nullptr; }
    int Width() const { return pixels ? right - left + 1 : 0; }
    int Height() const { return pixels ? bottom - top + 1 : 0; }
    Rect Bounds() const { return {left, top, right, bottom}; }
    bool Contains(int x, int y) const {
        return pixels && x >= left && x <= right && y >= top && y <= bottom;
    }
    bool SharesPixelsWith(const Buffer& other) const { return store_ && store_ == other.store_; }

    uint32_t* Row(int y) { return pixels + ptrdiff_t(y - top) * stride; }
    const uint32_t* Row(int y) const { return pixels + ptrdiff_t(y - top) * stride; }
    uint32_t& At(int x, int y) { return Row(y)[x - left]; }
    uint32_t At(int x, int y) const { return Row(y)[x - left]; }
    // The pixel, or fallback outside the bounds.
    uint32_t Get(int x, int y, uint32_t fallback = 0) const {
        return Contains(x, y) ? At(x, y) : fallback;
    }

    // Draws src with its top-left corner at pos; source pixels equal to key are skipped
    // (CopyAll copies every pixel). Works between overlapping views of one store.
    void Copy(const Buffer& src, Pair pos, uint32_t key);
    // Draws src resampled to |size| at pos; a negative width or height mirrors. Smooth averages
    // areas when shrinking and interpolates when enlarging; keyed source pixels are never drawn
    // and never blend into their neighbours.
    void Scale(const Buffer& src, Pair size, Pair pos, uint32_t key, bool smooth);
    // Draws src transformed by m about its centre, the centre landing at the centre of src plus
    // offset (both in target coordinates). Every target pixel is mapped back into src.
    void XFormLin(const Buffer& src, const Matrix2D& m, Pair offset, uint32_t key, bool smooth);

    // Values with XorFlag set exclusive-or the target with their low 24 bits.
    void PutPixel(Pair p, uint32_t colour);
    void Line(Pair a, Pair b, uint32_t colour); // both end points included, each pixel once
    void VLine(int x, int y1, int y2, uint32_t colour);
    void Box(Rect r, uint32_t colour); // filled, inclusive
    void ChColor(uint32_t from, uint32_t to);
    // op 1: AND with value; 2: OR; 3: XOR. Other ops change nothing.
    void Bool(int op, uint32_t value);

    // Text without anti-aliasing, its cell's top-left at p.
    void OutText(const TextFont& font, Pair p, const QString& text, uint32_t colour);
    static Pair GetTextExtent(const TextFont& font, const QString& text);

private:
    bool Alloc(Pair size, bool zeroed);
    std::shared_ptr<uint32_t[]> store_;
};

// Keyed copies of one source into one target at many positions, as a brush stroke makes: what
// Copy decides per call (overlap, key mode, row code, the target's extent) is decided once, so a
// copy lying wholly inside costs a bounds test and the rows. Each At is exactly
// target.Copy(src, {x, y}, key) for any position, far-off ones included. Neither buffer may be
// reallocated or re-bounded while a Stamper on them is in use.
class Stamper {
public:
    Stamper(Buffer& target, const Buffer& src, uint32_t key);
    void At(int64_t x, int64_t y) {
        if (x >= minX_ && x <= maxX_ && y >= minY_ && y <= maxY_)
            rows_(base_ + (y - minY_) * stride_ + (x - minX_), stride_, from_, fromStride_, w_, h_,
                  key_);
        else
            Clipped(x, y);
    }

    using Rows = void (*)(uint32_t* d, ptrdiff_t dStride, const uint32_t* s, ptrdiff_t sStride,
                          int n, int rows, uint32_t key);

private:
    void Clipped(int64_t x, int64_t y);

    Buffer& target_;
    const Buffer& src_;
    uint32_t key_;
    Rows rows_;
    uint32_t* base_ = nullptr; // the target's top-left pixel
    ptrdiff_t stride_ = 0;
    const uint32_t* from_ = nullptr; // the source's
    ptrdiff_t fromStride_ = 0;
    int w_ = 0, h_ = 0;
    // Where the source's top-left corner may go for a copy wholly inside; empty when none can
    // be (an empty buffer, a source larger than the target, or a source sharing the target's
    // store, which Clipped copies from a snapshot).
    int64_t minX_ = 0, maxX_ = -1, minY_ = 0, maxY_ = -1;
};
