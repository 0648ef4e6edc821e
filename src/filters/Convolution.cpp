#include "filters/Convolution.h"

#include "raster/Buffer.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace conv {
namespace {

// Round to nearest even without a library call: adding and taking off 1.5 * 2^52 leaves the
// integer nearest v in the current rounding mode; exact for |v| < 2^51, far beyond any sum here.
inline uint32_t Clamp8(double v) {
    constexpr double kShift = 6755399441055744.0;
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

typedef double v4d __attribute__((vector_size(32)));
typedef float v4f __attribute__((vector_size(16)));

// One channel of the interior of a row: out[x] for x in [x0, x1), rows[t] pointing at the
// planes of the kernel's rows (already offset by -r columns).
__attribute__((target_clones("arch=x86-64-v3", "default"))) void
InteriorChannel(const float* const* rows, int size, const double* w, double bias, int x0, int x1,
                double* out) {
    int x = x0;
    for (; x + 8 <= x1; x += 8) {
        v4d a0 = {bias, bias, bias, bias}, a1 = a0;
        for (int dy = 0; dy < size; ++dy) {
            const float* row = rows[dy] + x;
            for (int dx = 0; dx < size; ++dx) {
                const double wt = w[dy * size + dx];
                const v4d wv = {wt, wt, wt, wt};
                v4f f0, f1;
                std::memcpy(&f0, row + dx, sizeof f0);
                std::memcpy(&f1, row + dx + 4, sizeof f1);
                a0 += wv * __builtin_convertvector(f0, v4d);
                a1 += wv * __builtin_convertvector(f1, v4d);
            }
        }
        std::memcpy(out + x, &a0, sizeof a0);
        std::memcpy(out + x + 4, &a1, sizeof a1);
    }
    for (; x < x1; ++x) {
        double a = bias;
        for (int dy = 0; dy < size; ++dy)
            for (int dx = 0; dx < size; ++dx) a += w[dy * size + dx] * double(rows[dy][x + dx]);
        out[x] = a;
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
    if (outer) {
        k.size = 5;
        k.w = w;
    } else {
        for (int i = 0; i < 9; ++i) k.w[i] = w[(i / 3 + 1) * 5 + i % 3 + 1];
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
    // Planes of the source rows a kernel reaches, one per channel, kept while they are reused.
    const int ringRows = k.size;
    std::vector<float> planes(size_t(ringRows) * 3 * size_t(w));
    std::vector<int> loaded(ringRows, -1);
    std::vector<double> sums(3 * size_t(w));
    const float* rows[5];
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
            const uint32_t* s = source.Row(source.top + sy);
            float* p = planes.data() + size_t(slot) * 3 * w;
            for (int x = 0; x < w; ++x) {
                p[x] = float((s[x] >> 16) & 255);
                p[w + x] = float((s[x] >> 8) & 255);
                p[2 * w + x] = float(s[x] & 255);
            }
            loaded[slot] = sy;
        }
        for (int ch = 0; ch < 3; ++ch) {
            for (int dy = -r; dy <= r; ++dy)
                rows[dy + r] =
                    planes.data() + size_t((y + dy) % ringRows) * 3 * w + size_t(ch) * w - r;
            InteriorChannel(rows, k.size, wd, double(k.bias), ix0, ix1,
                            sums.data() + size_t(ch) * w);
        }
        for (int x = xl; x < ix0; ++x) out[x] = BorderPixel(k, source, x, y);
        for (int x = ix0; x < ix1; ++x)
            out[x] = Clamp8(sums[x]) << 16 | Clamp8(sums[w + x]) << 8 | Clamp8(sums[2 * w + x]);
        for (int x = ix1; x <= xr; ++x) out[x] = BorderPixel(k, source, x, y);
    }
}

} // namespace conv
