#include "raster/Buffer.h"
#include "raster/Resample.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using namespace resample;

namespace {

int64_t FloorDiv(int64_t a, int64_t b) { // b > 0
    const int64_t q = a / b;
    return (a % b < 0) ? q - 1 : q;
}

// One axis of the scaled image, planned for the target pixels that survive clipping only, so
// a huge requested size costs no more than the visible part. Visible pixel v is pixel
// first + v of the scaled image, which shows pixel Scaled(v) of the unmirrored result.
struct Axis {
    int64_t srcN = 0; // source length
    int64_t dstN = 0; // scaled length
    bool mirror = false;
    int64_t first = 0;
    int count = 0;

    std::vector<int> nearest; // source index per visible pixel
    // Smooth taps, the same number for every pixel so the inner loops have a fixed length:
    // visible pixel v reads source pixels start[v] .. start[v] + taps - 1 with the weights
    // weight[v * taps ...], which add up to AxisOne. Padding taps weigh 0.
    int taps = 0;
    std::vector<int> start;
    std::vector<uint32_t> weight;

    int64_t Scaled(int v) const { return mirror ? dstN - 1 - (first + v) : first + v; }

    // Clips the scaled span [pos, pos + |size|) to [lo, hi]; false when nothing is visible.
    bool Plan(int64_t sourceLength, int size, int pos, int lo, int hi) {
        srcN = sourceLength;
        dstN = size < 0 ? -int64_t(size) : int64_t(size);
        mirror = size < 0;
        const int64_t from = std::max<int64_t>(lo, pos);
        const int64_t to = std::min<int64_t>(hi, int64_t(pos) + dstN - 1);
        if (dstN == 0 || srcN <= 0 || to < from) return false;
        first = from - pos;
        count = int(to - from + 1);
        nearest.resize(size_t(count));
        for (int v = 0; v < count; ++v)
            nearest[size_t(v)] = int((2 * Scaled(v) + 1) * srcN / (2 * dstN));
        return true;
    }

    // Appends the unpadded taps of scaled pixel j: (source index, weight) pairs in index order.
    void TapsOf(int64_t j, std::vector<int64_t>& index, std::vector<uint32_t>& w) const {
        index.clear();
        w.clear();
        if (dstN == srcN) {
            index.push_back(j);
            w.push_back(AxisOne);
        } else if (dstN > srcN) {
            // Linear between the two source centres around this pixel's centre, which lies at
            // ((2j + 1) srcN - dstN) / (2 dstN) in source pixel units; clamped at the ends.
            const int64_t den = 2 * dstN;
            const int64_t num = (2 * j + 1) * srcN - dstN;
            const int64_t k = FloorDiv(num, den);
            const int64_t far = (((num - k * den) << AxisBits) + dstN) / den;
            if (k < 0 || k >= srcN - 1) {
                index.push_back(k < 0 ? 0 : srcN - 1);
                w.push_back(AxisOne);
            } else {
                index.insert(index.end(), {k, k + 1});
                w.insert(w.end(), {AxisOne - uint32_t(far), uint32_t(far)});
            }
        } else {
            // Box overlap, in units where a source pixel is dstN long and the footprint srcN.
            // Rounding the running total keeps the sum exact.
            const int64_t lo = j * srcN, hi = lo + srcN;
            int64_t done = 0, given = 0;
            for (int64_t k = lo / dstN; k <= (hi - 1) / dstN; ++k) {
                done += std::min((k + 1) * dstN, hi) - std::max(k * dstN, lo);
                const int64_t upTo = ((done << AxisBits) + srcN / 2) / srcN;
                index.push_back(k);
                w.push_back(uint32_t(upTo - given));
                given = upTo;
            }
        }
    }

    // With `even`, the tap count is rounded up to an even number where the source allows it.
    void BuildTaps(bool even) {
        std::vector<int64_t> index;
        std::vector<uint32_t> w;
        taps = 1;
        for (int v = 0; v < count; ++v) {
            TapsOf(Scaled(v), index, w);
            taps = std::max(taps, int(index.size()));
        }
        if (even && taps % 2 && taps < srcN) ++taps;
        start.assign(size_t(count), 0);
        weight.assign(size_t(count) * size_t(taps), 0);
        for (int v = 0; v < count; ++v) {
            TapsOf(Scaled(v), index, w);
            // Shift the window left where it would run past the end; the extra taps weigh 0.
            const int64_t s = std::min(index.front(), srcN - taps);
            start[size_t(v)] = int(s);
            for (size_t t = 0; t < index.size(); ++t)
                weight[size_t(v) * size_t(taps) + size_t(index[t] - s)] = w[t];
        }
    }
};

void ScaleNearest(Buffer& dst, const Source& src, const Axis& ax, const Axis& ay, Pair at,
                  uint32_t key) {
    for (int vy = 0; vy < ay.count; ++vy) {
        const uint32_t* from = src.Row(ay.nearest[size_t(vy)]);
        uint32_t* to = &dst.At(at.x, at.y + vy);
        for (int vx = 0; vx < ax.count; ++vx) {
            const uint32_t p = from[ax.nearest[size_t(vx)]];
            if (!Keyed(p, key)) to[vx] = p;
        }
    }
}

// A horizontally resampled column: weighted sums of b, g, r and the weight of the unkeyed
// pixels. Each stays below 255 * AxisOne.
struct Sums {
    uint32_t c[4];
};

// One source row resampled horizontally, per visible column. N is the tap count when known at
// compile time (0: ax.taps).
template <int N, bool UseKey>
void ResampleRow(const uint32_t* row, const Axis& ax, uint32_t key, Sums* out) {
    const int n = N ? N : ax.taps;
    const int count = ax.count;
    const int* start = ax.start.data();
    const uint32_t* w = ax.weight.data();
    for (int v = 0; v < count; ++v, w += n) {
        const uint32_t* p = row + start[v];
        uint32_t b = 0, g = 0, r = 0, t = 0;
        for (int k = 0; k < n; ++k) {
            const uint32_t px = p[k];
            const uint32_t wt = (UseKey && px == key) ? 0 : w[k];
            b += (px & 0xFF) * wt;
            g += ((px >> 8) & 0xFF) * wt;
            r += ((px >> 16) & 0xFF) * wt;
            t += wt;
        }
        out[v] = {{b, g, r, t}};
    }
}

// Rounds 2-D sums over total (FullWeight unless keyed pixels dropped out) to a pixel carrying
// the marks of p.
inline uint32_t Pack(uint32_t b, uint32_t g, uint32_t r, uint32_t t, uint32_t p) {
    if (t == FullWeight) {
        constexpr uint32_t half = FullWeight / 2;
        return (p & 0xFF000000u) | (((r + half) >> FullBits) << 16) |
               (((g + half) >> FullBits) << 8) | ((b + half) >> FullBits);
    }
    // A zero total only arises at extreme shrink ratios where every weight rounded away.
    return t ? Mean(r, g, b, t, p) : p;
}

// Writes one target row from the weighted sum of one or two horizontally resampled rows;
// keyed nearest samples leave the target alone.
template <bool UseKey>
void WriteRow(uint32_t* to, const uint32_t* nearRow, const Axis& ax, uint32_t key, const Sums* h0,
              uint32_t w0, const Sums* h1, uint32_t w1) {
    const int count = ax.count;
    const int* nearest = ax.nearest.data();
    for (int v = 0; v < count; ++v) {
        const uint32_t p = nearRow[nearest[v]];
        if (UseKey && p == key) continue;
        uint32_t s[4];
        for (int c = 0; c < 4; ++c) s[c] = h0[v].c[c] * w0 + h1[v].c[c] * w1;
        to[v] = Pack(s[0], s[1], s[2], s[3], p);
    }
}

#if defined(__SSE2__)
// The same arithmetic, several channels per instruction. Horizontal sums (below 2^20) are
// cached as 16-bit halves, sum >> Split and sum & (2^Split - 1), laid out b g r t | b g r t,
// so that pmaddwd can apply the vertical weights as well; all products stay exact.
constexpr int Split = 12;

inline __m128i Load(const Sums* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Taps go in pairs: pmaddwd multiplies two pixels' bytes by their 16-bit weights and adds
// them. The marks byte is replaced by 1 so its lane sums the weights; keyed pixels get weight 0.
template <int Pairs, bool UseKey> // Pairs: taps / 2 when known at compile time, else 0
void ResampleRowSimd(const uint32_t* row, const Axis& ax, uint32_t key, const uint32_t* pairs,
                     Sums* out) {
    const __m128i zero = _mm_setzero_si128(), keys = _mm_set1_epi32(int(key));
    const __m128i colour = _mm_set_epi16(0, 0, -1, -1, -1, -1, -1, -1);
    const __m128i ones = _mm_set_epi16(1, 1, 0, 0, 0, 0, 0, 0);
    const __m128i lowMask = _mm_set1_epi32((1 << Split) - 1);
    const int count = ax.count, n = Pairs ? Pairs : ax.taps / 2;
    const int* start = ax.start.data();
    for (int v = 0; v < count; ++v, pairs += n) {
        const uint32_t* p = row + start[v];
        __m128i sums = zero;
        for (int k = 0; k < n; ++k) {
            const __m128i two = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 2 * k));
            const __m128i wide = _mm_unpacklo_epi8(two, zero); // b0 g0 r0 a0 b1 g1 r1 a1
            __m128i mixed = _mm_unpacklo_epi16(wide, _mm_srli_si128(wide, 8)); // b0 b1 g0 g1 ..
            mixed = _mm_or_si128(_mm_and_si128(mixed, colour), ones);
            __m128i w = _mm_set1_epi32(int(pairs[k]));
            if (UseKey) {
                const __m128i hit = _mm_packs_epi32(_mm_cmpeq_epi32(two, keys), zero);
                w = _mm_andnot_si128(_mm_shuffle_epi32(hit, 0), w);
            }
            sums = _mm_add_epi32(sums, _mm_madd_epi16(mixed, w));
        }
        const __m128i halves =
            _mm_packs_epi32(_mm_srli_epi32(sums, Split), _mm_and_si128(sums, lowMask));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + v), halves);
    }
}

// w0 * a + w1 * b as 32-bit lanes b g r t, with w01 holding w0 and w1 as 16-bit halves.
inline __m128i Vertical(__m128i a, __m128i b, __m128i w01) {
    const __m128i hi = _mm_madd_epi16(_mm_unpacklo_epi16(a, b), w01);
    const __m128i lo = _mm_madd_epi16(_mm_unpackhi_epi16(a, b), w01);
    return _mm_add_epi32(_mm_slli_epi32(hi, Split), lo);
}

template <bool UseKey>
void WriteRowSimd(uint32_t* to, const uint32_t* nearRow, const Axis& ax, uint32_t key,
                  const Sums* h0, uint32_t w0, const Sums* h1, uint32_t w1) {
    const __m128i w01 = _mm_set1_epi32(int(w0 | w1 << 16));
    const __m128i half = _mm_set1_epi32(FullWeight / 2), zero = _mm_setzero_si128();
    const int count = ax.count;
    const int* nearest = ax.nearest.data();
    int v = 0;
    if (!UseKey) // two pixels at a time
        for (; v + 1 < count; v += 2) {
            const __m128i s0 = Vertical(Load(h0 + v), Load(h1 + v), w01);
            const __m128i s1 = Vertical(Load(h0 + v + 1), Load(h1 + v + 1), w01);
            const __m128i bytes =
                _mm_packus_epi16(_mm_packs_epi32(_mm_srli_epi32(_mm_add_epi32(s0, half), FullBits),
                                                 _mm_srli_epi32(_mm_add_epi32(s1, half), FullBits)),
                                 zero);
            const uint32_t p0 = uint32_t(_mm_cvtsi128_si32(bytes));
            const uint32_t p1 = uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(bytes, 4)));
            to[v] = (nearRow[nearest[v]] & 0xFF000000u) | (p0 & 0xFFFFFF);
            to[v + 1] = (nearRow[nearest[v + 1]] & 0xFF000000u) | (p1 & 0xFFFFFF);
        }
    for (; v < count; ++v) {
        const uint32_t p = nearRow[nearest[v]];
        if (UseKey && p == key) continue;
        const __m128i sum = Vertical(Load(h0 + v), Load(h1 + v), w01);
        if (UseKey && uint32_t(_mm_cvtsi128_si32(_mm_shuffle_epi32(sum, 0xFF))) != FullWeight) {
            alignas(16) uint32_t s[4]; // keyed pixels dropped out: divide by what is left
            _mm_store_si128(reinterpret_cast<__m128i*>(s), sum);
            to[v] = Pack(s[0], s[1], s[2], s[3], p);
            continue;
        }
        const __m128i rounded = _mm_srli_epi32(_mm_add_epi32(sum, half), FullBits);
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(rounded, zero), zero);
        to[v] = (p & 0xFF000000u) | (uint32_t(_mm_cvtsi128_si32(bytes)) & 0xFFFFFF);
    }
}

// acc += w * h over a row, h in the split layout and acc in plain 32-bit sums.
void Accumulate(Sums* acc, const Sums* h, uint32_t w, size_t n) {
    const __m128i zero = _mm_setzero_si128(), wz = _mm_set1_epi32(int(w));
    for (size_t i = 0; i < n; ++i) {
        const __m128i x = Load(h + i);
        const __m128i hi = _mm_madd_epi16(_mm_unpacklo_epi16(x, zero), wz);
        const __m128i lo = _mm_madd_epi16(_mm_unpackhi_epi16(x, zero), wz);
        __m128i* a = reinterpret_cast<__m128i*>(acc + i);
        _mm_storeu_si128(
            a, _mm_add_epi32(_mm_loadu_si128(a), _mm_add_epi32(_mm_slli_epi32(hi, Split), lo)));
    }
}
#else
void Accumulate(Sums* acc, const Sums* h, uint32_t w, size_t n) {
    for (size_t i = 0; i < n; ++i)
        for (int c = 0; c < 4; ++c) acc[i].c[c] += h[i].c[c] * w;
}
#endif

void ResampleRowScalar(const uint32_t* row, const Axis& ax, uint32_t key, Sums* out) {
    if (key != Pixel::CopyAll) return ResampleRow<0, true>(row, ax, key, out);
    switch (ax.taps) {
    case 1:
        return ResampleRow<1, false>(row, ax, key, out);
    case 2:
        return ResampleRow<2, false>(row, ax, key, out);
    default:
        return ResampleRow<0, false>(row, ax, key, out);
    }
}

// Separable: rows are resampled horizontally once and then combined vertically. The
// unkeyed-weight sum travels along, so the result is the 2-D weighted mean over unkeyed pixels.
// Consecutive target rows share at most their boundary source rows, so two cached rows suffice
// when the rows are visited in source order.
void ScaleSmooth(Buffer& dst, const Source& src, Axis& ax, Axis& ay, Pair at, uint32_t key) {
    const bool useKey = key != Pixel::CopyAll;
    const size_t n = size_t(ax.count);
#if defined(__SSE2__)
    ax.BuildTaps(true);
    std::vector<uint32_t> pairs; // the weights two by two as 16-bit halves, for pmaddwd
    if (ax.taps % 2 == 0)
        for (size_t i = 0; i + 1 < ax.weight.size(); i += 2)
            pairs.push_back(ax.weight[i] | ax.weight[i + 1] << 16);
    const auto resample = [&](const uint32_t* row, Sums* out) {
        const uint32_t* w = pairs.data();
        if (pairs.empty()) { // a source too narrow for an even tap count
            ResampleRowScalar(row, ax, key, out);
            for (size_t i = 0; i < n; ++i) {
                const __m128i s = Load(out + i);
                const __m128i halves = _mm_packs_epi32(
                    _mm_srli_epi32(s, Split), _mm_and_si128(s, _mm_set1_epi32((1 << Split) - 1)));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), halves);
            }
        } else if (ax.taps == 2) {
            useKey ? ResampleRowSimd<1, true>(row, ax, key, w, out)
                   : ResampleRowSimd<1, false>(row, ax, key, w, out);
        } else {
            useKey ? ResampleRowSimd<0, true>(row, ax, key, w, out)
                   : ResampleRowSimd<0, false>(row, ax, key, w, out);
        }
    };
    const auto write = [&](uint32_t* to, const uint32_t* nearRow, const Sums* h0, uint32_t w0,
                           const Sums* h1, uint32_t w1) {
        useKey ? WriteRowSimd<true>(to, nearRow, ax, key, h0, w0, h1, w1)
               : WriteRowSimd<false>(to, nearRow, ax, key, h0, w0, h1, w1);
    };
#else
    ax.BuildTaps(false);
    const auto resample = [&](const uint32_t* row, Sums* out) {
        ResampleRowScalar(row, ax, key, out);
    };
    const auto write = [&](uint32_t* to, const uint32_t* nearRow, const Sums* h0, uint32_t w0,
                           const Sums* h1, uint32_t w1) {
        useKey ? WriteRow<true>(to, nearRow, ax, key, h0, w0, h1, w1)
               : WriteRow<false>(to, nearRow, ax, key, h0, w0, h1, w1);
    };
#endif
    ay.BuildTaps(false);

    std::vector<Sums> cache[2] = {std::vector<Sums>(n), std::vector<Sums>(n)};
    int cached[2] = {-1, -1};
    const auto horizontal = [&](int row) -> const Sums* {
        const int slot = row & 1;
        if (cached[slot] != row) {
            resample(src.Row(row), cache[slot].data());
            cached[slot] = row;
        }
        return cache[slot].data();
    };

    std::vector<Sums> acc;
    for (int step = 0; step < ay.count; ++step) {
        const int vy = ay.mirror ? ay.count - 1 - step : step;
        const uint32_t* wy = ay.weight.data() + size_t(vy) * size_t(ay.taps);
        const int firstRow = ay.start[size_t(vy)];
        uint32_t* to = &dst.At(at.x, at.y + vy);
        const uint32_t* nearRow = src.Row(ay.nearest[size_t(vy)]);
        if (ay.taps <= 2) {
            // Enlarging or halving: at most two neighbouring rows, both held by the cache.
            int k0 = 0;
            while (wy[k0] == 0) ++k0; // the weights add up to AxisOne, so one is non-zero
            const bool two = k0 + 1 < ay.taps && wy[k0 + 1] != 0;
            const Sums* h0 = horizontal(firstRow + k0);
            const Sums* h1 = two ? horizontal(firstRow + k0 + 1) : h0;
            write(to, nearRow, h0, wy[k0], h1, two ? wy[k0 + 1] : 0);
            continue;
        }
        // Past two rows the sums no longer fit the cache layout: add them up in 32 bits.
        acc.assign(n, Sums{});
        for (int k = 0; k < ay.taps; ++k)
            if (wy[k]) Accumulate(acc.data(), horizontal(firstRow + k), wy[k], n);
        if (useKey)
            WriteRow<true>(to, nearRow, ax, key, acc.data(), 1, acc.data(), 0);
        else
            WriteRow<false>(to, nearRow, ax, key, acc.data(), 1, acc.data(), 0);
    }
}

} // namespace

void Buffer::Scale(const Buffer& src, Pair size, Pair pos, uint32_t key, bool smooth) {
    if (Empty() || src.Empty()) return;
    Axis ax, ay;
    if (!ax.Plan(src.Width(), size.x, pos.x, left, right)) return;
    if (!ay.Plan(src.Height(), size.y, pos.y, top, bottom)) return;
    const Source source(src, *this);
    const Pair at{int(pos.x + ax.first), int(pos.y + ay.first)};
    if (smooth)
        ScaleSmooth(*this, source, ax, ay, at, key);
    else
        ScaleNearest(*this, source, ax, ay, at, key);
}
