#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// What the channel programs read: the source, the controls, the shared cells and the tables.
namespace ff {

inline constexpr int kCells = 1024;
inline constexpr int kTangents = 1024;
inline constexpr float kAngleScale = 162.97466f; // 512 / pi, single precision

struct PixelContext {
    const uint32_t* origin = nullptr; // pixel (0, 0) of the source
    int stride = 0;                   // in pixels
    int width = 0, height = 0;        // X and Y
    int32_t maxM = 0;                 // M
    std::array<int32_t, 8> ctl{};
    std::array<int32_t, kCells> cells{};
    const int32_t* sine = nullptr; // 1280 entries, amplitude 512
    const int32_t* tangent = nullptr;

    uint32_t Source(int32_t x, int32_t y) const {
        x = x < 0 ? 0 : (x >= width ? width - 1 : x);
        y = y < 0 ? 0 : (y >= height ? height - 1 : y);
        return origin[ptrdiff_t(y) * stride + x];
    }
};

// The tangent table: entry k = trunc(512 tan(2 pi k / 1024)), the poles held at +-2^24.
const int32_t* TangentTable();

// Fills origin, stride, width, height, M and the tables for a source of that size; the cells
// are cleared. The ctl values are the caller's.
void PrepareContext(PixelContext& ctx, const uint32_t* origin, int stride, int width, int height);

// The per-pixel variables, indexed by symbol for r g b i u v d m.
struct PixelVars {
    int32_t r = 0, g = 0, b = 0, i = 0, u = 0, v = 0, d = 0, m = 0;
};
// Computes those in uses (VarBit) for the pixel value p at (x, y).
void PreparePixel(PixelVars& vars, uint32_t uses, uint32_t p, int x, int y, int width, int height);

int32_t AngleOf(int64_t dx, int64_t dy); // round(atan2(dy, dx) K)
int32_t RoundedRoot(long double square); // round(sqrt), out of range -> INT_MIN

} // namespace ff
