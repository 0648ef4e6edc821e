#include "filters/Convolution.h"

#include "raster/Buffer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace conv {
namespace {

// Round to nearest even without a library call: adding and taking off 1.5 * 2^52 leaves the
// integer nearest v in the current rounding mode; exact for |v| < 2^51, far beyond any sum here.
constexpr double kShift = 6755399441055744.0;

inline uint32_t Clamp8(double v) {
    v = (v + kShift) - kShift;
    return uint32_t(v < 0 ? 0 : (v > 255 ? 255 : v));
}

inline float ChannelOf(uint32_t p, int ch) {
    return float((p >> (16 - 8 * ch)) & 255);
}

uint32_t BorderPixel(const Kernel& k, const Buffer& src, int x, int y) {
    const int r = k.size / 2, w = src.Width(), h = src.Height();
    uint32_t pixel = 0;
    for (int ch = 0; ch < 3; ++ch) {
        float acc = k.bias;
        for (int dy = -r; dy <= r; ++dy) {
            const int yy = std::clamp(y + dy, 0, h - 1);
            for (int dx = -r; dx <= r; ++dx) {
                const int xx = std::clamp(x + dx, 0, w - 1);
                acc += k.w[(dy + r) * k.size + dx + r] *
                       ChannelOf(src.At(src.left + xx, src.top + yy), ch);
            }
        }
        pixel = pixel << 8 | Clamp8(acc);
    }
    return pixel;
}

// The interior pixel at x the reference way: double-precision weights, bias first, taps row by
// row. rows[ch][t] points at channel ch of the kernel's row t, offset by -r columns.
uint32_t InteriorPixel(const Kernel& k, const double* wd, const float* const (*rows)[5], int x) {
    uint32_t pixel = 0;
    for (int ch = 0; ch < 3; ++ch) {
        double a = k.bias;
        for (int dy = 0; dy < k.size; ++dy)
            for (int dx = 0; dx < k.size; ++dx)
                a += wd[dy * k.size + dx] * double(rows[ch][dy][x + dx]);
        pixel = pixel << 8 | Clamp8(a);
    }
    return pixel;
}

// Whether the cells can stand in for the weights: every product of a cell and a channel value
// is an integer, and with 255 * sum |cell| below 2^23 every partial sum of them is exact in
// single precision.
bool IntegerForm(const Kernel& k) {
    if (k.divisor < 1) return false;
    int64_t total = 0;
    for (int i = 0; i < k.size * k.size; ++i) {
        if (k.w[size_t(i)] != float(k.cells[size_t(i)]) / float(k.divisor)) return false;
        total += std::abs(int(k.cells[size_t(i)]));
    }
    return total * 255 < (int64_t(1) << 23);
}

constexpr int kLanes = 16;
typedef float vf __attribute__((vector_size(4 * kLanes)));
typedef double vd __attribute__((vector_size(4 * kLanes))); // half a block
typedef int32_t vi __attribute__((vector_size(4 * kLanes)));
typedef uint32_t vu __attribute__((vector_size(4 * kLanes)));

struct RowJob {
    const float* rows[3][5]; // channel, kernel row; offset by -r columns
    float cells[25];
    double reciprocal, bias;
    bool findTies;
};

#define OV_LOAD(v, p) std::memcpy(&(v), (p), sizeof(v))

// Interior columns [x0, x1) of one row, x1 - x0 >= kLanes, kLanes pixels at a time (the last
// block overlaps the one before). The sum S of cell times value is an exact integer in single
// precision; S * (1 / divisor) + bias in double precision lies within 2^-28 of the exact
// quotient, far less than 1 / (2 * divisor), the least distance from a half of a quotient that
// is not a tie. The reference sum with single-precision weights stays within
// 255 * sum |cell| * 2^-24 / divisor of the exact quotient, also less: both round alike. A
// tie (exactly a half, only with an even divisor) may land on either side here and beside it
// in the reference; positions within 5e-7 of a half go to ties when asked. Returns how many.
template <int S>
[[gnu::always_inline]] inline int InteriorBlocksOf(const RowJob& j, int x0, int x1, uint32_t* out,
                                                   int* ties) {
    typedef float hf __attribute__((vector_size(2 * kLanes)));
    typedef int32_t hi __attribute__((vector_size(2 * kLanes)));
    int found = 0;
    for (int x = x0;; x += kLanes) {
        if (x + kLanes > x1) x = x1 - kLanes;
        vu pixel = {};
        vi near = {};
        for (int ch = 0; ch < 3; ++ch) {
            vf acc[S] = {};
#pragma GCC unroll 5
            for (int dy = 0; dy < S; ++dy)
#pragma GCC unroll 5
                for (int dx = 0; dx < S; ++dx) {
                    vf v;
                    OV_LOAD(v, j.rows[ch][dy] + x + dx);
                    acc[dy] += j.cells[dy * S + dx] * v;
                }
#pragma GCC unroll 5
            for (int dy = 1; dy < S; ++dy) acc[0] += acc[dy];
            vi q;
            for (int half = 0; half < 2; ++half) {
                hf part;
                std::memcpy(&part, reinterpret_cast<const char*>(acc) + half * sizeof part,
                            sizeof part);
                vd t = __builtin_convertvector(part, vd) * j.reciprocal + j.bias;
                t = t < -1.0 ? -1.0 : t;
                t = t > 256.0 ? 256.0 : t;
                const vd rounded = (t + kShift) - kShift;
                const hi n = __builtin_convertvector(rounded, hi);
                std::memcpy(reinterpret_cast<char*>(&q) + half * sizeof n, &n, sizeof n);
                if (j.findTies) {
                    const vd off = t - rounded;
                    const hi isNear = __builtin_convertvector(off * off > 0.2499995, hi);
                    hi prev;
                    std::memcpy(&prev, reinterpret_cast<const char*>(&near) + half * sizeof n,
                                sizeof prev);
                    prev |= isNear;
                    std::memcpy(reinterpret_cast<char*>(&near) + half * sizeof n, &prev,
                                sizeof prev);
                }
            }
            q = q < 0 ? 0 : q;
            q = q > 255 ? 255 : q;
            pixel = pixel << 8 | vu(q);
        }
        std::memcpy(out + x, &pixel, sizeof pixel);
        if (j.findTies)
            for (int l = 0; l < kLanes; ++l)
                if (near[l]) ties[found++] = x + l;
        if (x + kLanes >= x1) break;
    }
    return found;
}

__attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default"))) int
InteriorBlocks3(const RowJob& j, int x0, int x1, uint32_t* out, int* ties) {
    return InteriorBlocksOf<3>(j, x0, x1, out, ties);
}

__attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default"))) int
InteriorBlocks5(const RowJob& j, int x0, int x1, uint32_t* out, int* ties) {
    return InteriorBlocksOf<5>(j, x0, x1, out, ties);
}

// One source row into three planes of channel values.
__attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default"))) void
Planes(const uint32_t* s, int w, float* red, float* green, float* blue) {
    int x = 0;
    for (; x + kLanes <= w; x += kLanes) {
        vu p;
        OV_LOAD(p, s + x);
        const vf r = __builtin_convertvector(vi(p >> 16 & 255), vf);
        const vf g = __builtin_convertvector(vi(p >> 8 & 255), vf);
        const vf b = __builtin_convertvector(vi(p & 255), vf);
        std::memcpy(red + x, &r, sizeof r);
        std::memcpy(green + x, &g, sizeof g);
        std::memcpy(blue + x, &b, sizeof b);
    }
    for (; x < w; ++x) {
        red[x] = float((s[x] >> 16) & 255);
        green[x] = float((s[x] >> 8) & 255);
        blue[x] = float(s[x] & 255);
    }
}

} // namespace

Kernel MakeKernel(const ConvolutionSettings& s) {
    std::array<float, 25> w{};
    bool outer = false;
    for (int i = 0; i < 25; ++i) {
        w[i] = float(s.cells[i]) / float(s.divisor);
        const int row = i / 5, col = i % 5;
        if ((row == 0 || row == 4 || col == 0 || col == 4) && std::fabs(w[i]) > kZeroWeight)
            outer = true;
    }
    Kernel k;
    k.bias = float(s.bias);
    k.divisor = s.divisor;
    if (outer) {
        k.size = 5;
        k.w = w;
        k.cells = s.cells;
    } else {
        for (int i = 0; i < 9; ++i) {
            k.w[i] = w[(i / 3 + 1) * 5 + i % 3 + 1];
            k.cells[i] = s.cells[(i / 3 + 1) * 5 + i % 3 + 1];
        }
    }
    return k;
}

void Rows(const Kernel& k, const Buffer& source, Buffer& dest, int y0, int y1) {
    const int r = k.size / 2, w = source.Width(), h = source.Height();
    y0 = std::max({y0, dest.top, 0});
    y1 = std::min({y1, dest.bottom + 1, h});
    const int xl = std::max(dest.left, 0), xr = std::min(dest.right, w - 1);
    if (y0 >= y1 || xl > xr) return;
    double wd[25];
    for (int i = 0; i < k.size * k.size; ++i) wd[i] = k.w[i];
    const bool integer = IntegerForm(k);
    RowJob job{};
    if (integer) {
        for (int i = 0; i < k.size * k.size; ++i) job.cells[i] = k.cells[size_t(i)];
        job.reciprocal = 1.0 / k.divisor;
        job.bias = double(k.bias);
        // With a power of two the reciprocal is exact, and so are ties.
        job.findTies = (k.divisor & (k.divisor - 1)) != 0 && k.divisor % 2 == 0;
    }
    // Planes of the source rows a kernel reaches, one per channel, kept while they are reused.
    const int ringRows = k.size;
    std::vector<float> planes(size_t(ringRows) * 3 * size_t(w));
    std::vector<int> loaded(ringRows, -1);
    std::vector<int> ties(integer ? size_t(w) + kLanes : 0);
    for (int y = y0; y < y1; ++y) {
        uint32_t* out = dest.Row(y) - dest.left;
        const bool innerRow = y - r >= 0 && y + r <= h - 1;
        const int ix0 = std::max(xl, r), ix1 = std::min(xr, w - 1 - r) + 1; // interior columns
        if (!innerRow || ix0 >= ix1) {
            for (int x = xl; x <= xr; ++x) out[x] = BorderPixel(k, source, x, y);
            continue;
        }
        for (int dy = -r; dy <= r; ++dy) {
            const int sy = y + dy, slot = sy % ringRows;
            if (loaded[slot] == sy) continue;
            float* p = planes.data() + size_t(slot) * 3 * w;
            Planes(source.Row(source.top + sy), w, p, p + w, p + 2 * w);
            loaded[slot] = sy;
        }
        for (int ch = 0; ch < 3; ++ch)
            for (int dy = -r; dy <= r; ++dy)
                job.rows[ch][dy + r] =
                    planes.data() + size_t((y + dy) % ringRows) * 3 * w + size_t(ch) * w - r;
        for (int x = xl; x < ix0; ++x) out[x] = BorderPixel(k, source, x, y);
        int x = ix0;
        if (integer && ix1 - ix0 >= kLanes) {
            const int n = k.size == 5 ? InteriorBlocks5(job, ix0, ix1, out, ties.data())
                                      : InteriorBlocks3(job, ix0, ix1, out, ties.data());
            for (int i = 0; i < n; ++i) out[ties[i]] = InteriorPixel(k, wd, job.rows, ties[i]);
            x = ix1;
        }
        for (; x < ix1; ++x) out[x] = InteriorPixel(k, wd, job.rows, x);
        for (int x = ix1; x <= xr; ++x) out[x] = BorderPixel(k, source, x, y);
    }
}

} // namespace conv
