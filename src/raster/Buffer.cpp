#include "raster/Buffer.h"
#include "raster/BufferSpare.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <utility>

#include <immintrin.h>
#include <sys/mman.h>

namespace {

// Keyed copy of a rectangle: every source pixel but key lands. A stroke stamps small brushes
// thousands of times, so rows go in whole vectors where the processor has them (picked once),
// the plain loop elsewhere.
using KeyedRectFn = Stamper::Rows;

void KeyedRectPlain(uint32_t* d, ptrdiff_t dStride, const uint32_t* s, ptrdiff_t sStride, int n,
                    int rows, uint32_t key) {
    for (; rows > 0; --rows, d += dStride, s += sStride)
        for (int i = 0; i < n; ++i) d[i] = s[i] != key ? s[i] : d[i]; // a select: vectorises
}

void CopyRect(uint32_t* d, ptrdiff_t dStride, const uint32_t* s, ptrdiff_t sStride, int n, int rows,
              uint32_t) {
    for (; rows > 0; --rows, d += dStride, s += sStride)
        std::memcpy(d, s, sizeof(uint32_t) * size_t(n));
}

// Rows of 8 pixels and more go in whole vectors, the last one overlapping the one before: a
// keyed copy is pixel by pixel, so blending both from the pixels as they were (all loads before
// the stores) writes the overlap alike twice, and nothing outside the row is touched. Narrower
// rows take masked operations.
[[maybe_unused]] __attribute__((target("avx2"))) void KeyedRect256(uint32_t* d, ptrdiff_t dStride,
                                                                   const uint32_t* s,
                                                                   ptrdiff_t sStride, int n,
                                                                   int rows, uint32_t key) {
    const __m256i k = _mm256_set1_epi32(int(key));
    if (n < 8) {
        const __m256i tail =
            _mm256_cmpgt_epi32(_mm256_set1_epi32(n), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
        for (; rows > 0; --rows, d += dStride, s += sStride) {
            const __m256i v = _mm256_maskload_epi32(reinterpret_cast<const int*>(s), tail);
            const __m256i put = _mm256_andnot_si256(_mm256_cmpeq_epi32(v, k), tail);
            _mm256_maskstore_epi32(reinterpret_cast<int*>(d), put, v);
        }
        return;
    }
    const int last = n - 8;
    for (; rows > 0; --rows, d += dStride, s += sStride) {
        const __m256i sl = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + last));
        const __m256i dl = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + last));
        const __m256i rl = _mm256_blendv_epi8(sl, dl, _mm256_cmpeq_epi32(sl, k));
        for (int i = 0; i < last; i += 8) {
            const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
            const __m256i o = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i),
                                _mm256_blendv_epi8(v, o, _mm256_cmpeq_epi32(v, k)));
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + last), rl);
    }
}

// With mask registers a row up to brush size never reads the target: each vector stores only its
// non-key pixels. Successive stamps of a stroke overlap by all but a pixel, and reading back what
// the stamp before has just stored, at another alignment, stalls on every row; a masked store
// does not. Wider rows (pastes, whole pictures) are never written just before, and there whole
// stores of the blend with the target stream faster than partly masked ones. The row's end is a
// masked vector in both (masked-off pixels are neither read nor written).
constexpr int kMaskedRowsUpTo = 256;

[[maybe_unused]] __attribute__((target("avx512f"))) void
KeyedRect512(uint32_t* d, ptrdiff_t dStride, const uint32_t* s, ptrdiff_t sStride, int n, int rows,
             uint32_t key) {
    const __m512i k = _mm512_set1_epi32(int(key));
    const int whole = n & ~15;
    const auto tail = __mmask16((1u << (n & 15)) - 1);
    if (n <= 16) { // a small brush: one vector a row
        const auto row = n == 16 ? __mmask16(0xFFFF) : tail;
        for (; rows > 0; --rows, d += dStride, s += sStride) {
            const __m512i v = _mm512_maskz_loadu_epi32(row, s);
            _mm512_mask_storeu_epi32(d, _mm512_mask_cmpneq_epi32_mask(row, v, k), v);
        }
        return;
    }
    const bool masked = n <= kMaskedRowsUpTo;
    for (; rows > 0; --rows, d += dStride, s += sStride) {
        for (int i = 0; i < whole; i += 16) {
            const __m512i v = _mm512_loadu_si512(s + i);
            const __mmask16 put = _mm512_cmpneq_epi32_mask(v, k);
            if (masked)
                _mm512_mask_storeu_epi32(d + i, put, v);
            else
                _mm512_storeu_si512(d + i,
                                    _mm512_mask_blend_epi32(put, _mm512_loadu_si512(d + i), v));
        }
        if (tail) {
            const __m512i v = _mm512_maskz_loadu_epi32(tail, s + whole);
            _mm512_mask_storeu_epi32(d + whole, _mm512_mask_cmpneq_epi32_mask(tail, v, k), v);
        }
    }
}

KeyedRectFn PickKeyedRect() {
#ifndef __SANITIZE_ADDRESS__ // the checker may take a masked access for a whole-width one
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f")) return KeyedRect512;
    if (__builtin_cpu_supports("avx2")) return KeyedRect256;
#endif
    return KeyedRectPlain;
}

KeyedRectFn KeyedRect() {
    static const KeyedRectFn pick = PickKeyedRect();
    return pick;
}

// Freshly mapped memory costs a page fault per 4 KiB on first touch, which dominates loading a
// large picture. Large stores therefore come 2 MiB-aligned with huge-page advice, so that a
// fault maps 2 MiB at once where the kernel allows it.
constexpr size_t kHugePage = size_t(2) << 20;
constexpr size_t kHugeFrom = size_t(4) << 20;

// The mapping of the last large store freed, kept for the next store of the same size: a
// picture replaced by one of its size (an open, the undo copy after a load) then writes into
// pages already mapped instead of faulting each one in again. One at most, and given up as soon
// as a store of another size is wanted, so it never adds to the peak.
struct Spare {
    std::mutex lock;
    void* block = nullptr;
    size_t mapped = 0;
};

Spare& TheSpare() {
    static Spare* spare = new Spare; // never destroyed: stores may outlive static destruction
    return *spare;
}

void ReleaseMapping(void* block, size_t mapped) {
    Spare& s = TheSpare();
    void* old = nullptr;
    size_t oldMapped = 0;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        std::swap(old, s.block);
        std::swap(oldMapped, s.mapped);
        s.block = block;
        s.mapped = mapped;
    }
    if (old) munmap(old, oldMapped);
}

// The spare when it has this size (taken), else nothing (the spare freed).
void* TakeSpare(size_t mapped) {
    Spare& s = TheSpare();
    void* block = nullptr;
    size_t blockMapped = 0;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        std::swap(block, s.block);
        std::swap(blockMapped, s.mapped);
    }
    if (block && blockMapped == mapped) return block;
    if (block) munmap(block, blockMapped);
    return nullptr;
}

std::shared_ptr<uint32_t[]> NewStore(size_t count) {
    const size_t bytes = count * sizeof(uint32_t);
    if (bytes < kHugeFrom) return std::shared_ptr<uint32_t[]>(new (std::nothrow) uint32_t[count]);
    const size_t mapped = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    auto* block = static_cast<char*>(TakeSpare(mapped));
    if (!block) {
        // Over-map by one huge page and trim to an aligned block.
        void* raw = mmap(nullptr, mapped + kHugePage, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (raw == MAP_FAILED) return nullptr;
        auto* base = static_cast<char*>(raw);
        const auto addr = reinterpret_cast<uintptr_t>(base);
        const size_t head = (kHugePage - addr % kHugePage) % kHugePage;
        if (head) munmap(base, head);
        if (kHugePage - head) munmap(base + head + mapped, kHugePage - head);
        block = base + head;
        madvise(block, mapped, MADV_HUGEPAGE); // advice only: a refusal still leaves good memory
    }
    try {
        return std::shared_ptr<uint32_t[]>(reinterpret_cast<uint32_t*>(block),
                                           [mapped](uint32_t* p) { ReleaseMapping(p, mapped); });
    } catch (const std::bad_alloc&) {
        munmap(block, mapped);
        return nullptr;
    }
}

// calloc leaves memory it maps fresh untouched (it is zero already); the large stores may be
// the reused spare, which is cleared.
std::shared_ptr<uint32_t[]> NewZeroedStore(size_t count) {
    if (count * sizeof(uint32_t) >= kHugeFrom) {
        std::shared_ptr<uint32_t[]> store = NewStore(count);
        if (store) std::memset(store.get(), 0, count * sizeof(uint32_t));
        return store;
    }
    auto* pixels = static_cast<uint32_t*>(std::calloc(count, sizeof(uint32_t)));
    if (!pixels) return nullptr;
    try {
        return std::shared_ptr<uint32_t[]>(pixels, [](uint32_t* p) { std::free(p); });
    } catch (const std::bad_alloc&) {
        return nullptr; // the deleter has freed the pixels
    }
}

} // namespace

void buffers::DropSpare() {
    TakeSpare(0);
}

Buffer::Buffer(Buffer& parent, Rect r) {
    Alloc(parent, r);
}

Buffer::Buffer(const Buffer& other) {
    *this = other;
}

Buffer& Buffer::operator=(const Buffer& other) {
    if (this == &other) return *this;
    if (other.Empty()) {
        Free();
        return *this;
    }
    Buffer copy;
    if (!copy.Alloc({other.Width(), other.Height()})) throw std::bad_alloc();
    for (int y = other.top; y <= other.bottom; ++y)
        std::memcpy(copy.pixels + ptrdiff_t(y - other.top) * copy.stride, other.Row(y),
                    sizeof(uint32_t) * size_t(other.Width()));
    copy.left = other.left;
    copy.top = other.top;
    copy.right = other.right;
    copy.bottom = other.bottom;
    *this = std::move(copy);
    return *this;
}

Buffer::Buffer(Buffer&& other) noexcept {
    *this = std::move(other);
}

Buffer& Buffer::operator=(Buffer&& other) noexcept {
    if (this == &other) return *this;
    pixels = std::exchange(other.pixels, nullptr);
    stride = std::exchange(other.stride, 0);
    left = std::exchange(other.left, 0);
    top = std::exchange(other.top, 0);
    right = std::exchange(other.right, -1);
    bottom = std::exchange(other.bottom, -1);
    store_ = std::move(other.store_);
    other.store_.reset();
    return *this;
}

bool Buffer::Alloc(Pair size) {
    return Alloc(size, false);
}

bool Buffer::AllocZeroed(Pair size) {
    return Alloc(size, true);
}

bool Buffer::Alloc(Pair size, bool zeroed) {
    if (size.x <= 0 || size.y <= 0 || int64_t(size.x) * size.y > MaxPixels) return false;
    const size_t count = size_t(size.x) * size_t(size.y);
    std::shared_ptr<uint32_t[]> store = zeroed ? NewZeroedStore(count) : NewStore(count);
    if (!store) return false;
    store_ = std::move(store);
    pixels = store_.get();
    stride = size.x;
    left = top = 0;
    right = size.x - 1;
    bottom = size.y - 1;
    return true;
}

bool Buffer::Alloc(Buffer& parent, Rect r) {
    const Rect inside = r.Intersect(parent.Bounds());
    if (parent.Empty() || inside.Empty()) {
        Free();
        return false;
    }
    uint32_t* origin = &parent.At(inside.left, inside.top);
    store_ = parent.store_; // before touching pixels: parent may be *this
    stride = parent.stride;
    pixels = origin;
    left = inside.left;
    top = inside.top;
    right = inside.right;
    bottom = inside.bottom;
    return true;
}

void Buffer::Free() {
    store_.reset();
    pixels = nullptr;
    stride = 0;
    left = top = 0;
    right = bottom = -1;
}

void Buffer::Copy(const Buffer& src, Pair pos, uint32_t key) {
    Stamper(*this, src, key).At(pos.x, pos.y);
}

Stamper::Stamper(Buffer& target, const Buffer& src, uint32_t key)
    : target_(target), src_(src), key_(key), rows_(key == Pixel::CopyAll ? CopyRect : KeyedRect()) {
    if (target.Empty() || src.Empty() || target.SharesPixelsWith(src)) return;
    base_ = target.pixels;
    stride_ = target.stride;
    from_ = src.pixels;
    fromStride_ = src.stride;
    w_ = src.Width();
    h_ = src.Height();
    minX_ = target.left;
    minY_ = target.top;
    maxX_ = int64_t(target.right) - src.Width() + 1;
    maxY_ = int64_t(target.bottom) - src.Height() + 1;
}

void Stamper::Clipped(int64_t x, int64_t y) {
    if (target_.Empty() || src_.Empty()) return;
    if (target_.SharesPixelsWith(src_)) {
        const Buffer detached(src_); // overlapping views: read from a snapshot
        Stamper(target_, detached, key_).At(x, y);
        return;
    }
    // The target rectangle of the whole source, clipped; in 64 bits, so any position is safe.
    const int64_t l = std::max<int64_t>(x, target_.left), t = std::max<int64_t>(y, target_.top);
    const int64_t r = std::min<int64_t>(x + src_.Width() - 1, target_.right);
    const int64_t b = std::min<int64_t>(y + src_.Height() - 1, target_.bottom);
    if (l > r || t > b) return;
    const uint32_t* s = src_.pixels + (t - y) * src_.stride + (l - x);
    uint32_t* d = target_.pixels + (t - target_.top) * target_.stride + (l - target_.left);
    rows_(d, target_.stride, s, src_.stride, int(r - l + 1), int(b - t + 1), key_);
}

namespace {
inline void Plot(uint32_t& target, uint32_t colour) {
    if (colour & Pixel::XorFlag)
        target ^= colour & 0xFFFFFF;
    else
        target = colour;
}
} // namespace

void Buffer::PutPixel(Pair p, uint32_t colour) {
    if (Contains(p.x, p.y)) Plot(At(p.x, p.y), colour);
}

namespace {
// floor(n / d) for d > 0.
inline int64_t FloorDiv(__int128 n, __int128 d) {
    __int128 q = n / d;
    if ((n % d != 0) && (n < 0)) --q;
    return int64_t(q);
}
} // namespace

void Buffer::Line(Pair a, Pair b, uint32_t colour) {
    if (Empty()) return;
    // One pixel per step of the major axis at the nearest minor coordinate (ties round up). The
    // pixel set depends only on the two end points, never on the direction, so a rubber band
    // drawn from either end is removed by the other; each pixel is touched once. Only the major
    // range inside the buffer is walked, so far-off end points cost nothing.
    const bool xMajor = std::abs(int64_t(b.x) - a.x) >= std::abs(int64_t(b.y) - a.y);
    if (xMajor ? a.x > b.x : a.y > b.y) std::swap(a, b);
    const int64_t major0 = xMajor ? a.x : a.y, major1 = xMajor ? b.x : b.y;
    const int64_t minor0 = xMajor ? a.y : a.x;
    const int64_t dMajor = major1 - major0,
                  dMinor = (xMajor ? int64_t(b.y) - a.y : int64_t(b.x) - a.x);
    const int64_t lo = std::max<int64_t>(major0, xMajor ? left : top);
    const int64_t hi = std::min<int64_t>(major1, xMajor ? right : bottom);
    for (int64_t m = lo; m <= hi; ++m) {
        const int64_t n = dMajor == 0
                              ? minor0
                              : minor0 + FloorDiv(__int128(2) * (m - major0) * dMinor + dMajor,
                                                  __int128(2) * dMajor);
        const int64_t x = xMajor ? m : n, y = xMajor ? n : m;
        if (x >= left && x <= right && y >= top && y <= bottom) Plot(At(int(x), int(y)), colour);
    }
}

void Buffer::VLine(int x, int y1, int y2, uint32_t colour) {
    if (y1 > y2) std::swap(y1, y2);
    Box({x, y1, x, y2}, colour);
}

void Buffer::Box(Rect r, uint32_t colour) {
    if (Empty()) return;
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    const Rect c = r.Intersect(Bounds());
    if (c.Empty()) return;
    for (int y = c.top; y <= c.bottom; ++y) {
        uint32_t* d = &At(c.left, y);
        const int n = c.Width();
        if (colour & Pixel::XorFlag) {
            const uint32_t x = colour & 0xFFFFFF;
            for (int i = 0; i < n; ++i) d[i] ^= x;
        } else {
            std::fill_n(d, n, colour);
        }
    }
}

void Buffer::ChColor(uint32_t from, uint32_t to) {
    for (int y = top; pixels && y <= bottom; ++y) {
        uint32_t* d = Row(y);
        for (int i = 0, n = Width(); i < n; ++i)
            if (d[i] == from) d[i] = to;
    }
}

void Buffer::Bool(int op, uint32_t value) {
    if (op < 1 || op > 3) return;
    for (int y = top; pixels && y <= bottom; ++y) {
        uint32_t* d = Row(y);
        const int n = Width();
        switch (op) {
        case 1:
            for (int i = 0; i < n; ++i) d[i] &= value;
            break;
        case 2:
            for (int i = 0; i < n; ++i) d[i] |= value;
            break;
        case 3:
            for (int i = 0; i < n; ++i) d[i] ^= value;
            break;
        }
    }
}
