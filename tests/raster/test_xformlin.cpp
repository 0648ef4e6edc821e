#include "raster/Buffer.h"
#include "raster/RasterTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using rastertest::Make;
using rastertest::Pattern;

constexpr uint32_t kBack = 0x00ABCDEF; // target background, never produced by a source here
constexpr double kQuarter = 1.5707963267948966;

// Where 0-based source pixel (x, y) of a w x h image lands after `turns` quarter turns
// (clockwise on screen, as Rotation does with y pointing down).
Pair Turned(int turns, int x, int y, int w, int h) {
    switch (turns & 3) {
    case 1:
        return {h - 1 - y, x};
    case 2:
        return {w - 1 - x, h - 1 - y};
    case 3:
        return {y, w - 1 - x};
    default:
        return {x, y};
    }
}

int CountDifferent(const Buffer& got, const Buffer& want) {
    int bad = 0;
    for (int y = got.top; y <= got.bottom; ++y)
        for (int x = got.left; x <= got.right; ++x)
            if (got.At(x, y) != want.At(x, y)) ++bad;
    return bad;
}

TEST(XFormLin, QuarterTurnsMovePixelsExactly) {
    struct Size {
        int w, h;
    };
    const Size sizes[] = {{1, 1}, {7, 7}, {8, 8},  {9, 9},  {32, 32}, {33, 33},
                          {7, 9}, {9, 3}, {8, 12}, {32, 6}, {1, 33}};
    for (const Size s : sizes)
        for (int turns = 1; turns <= 3; ++turns)
            for (bool smooth : {false, true}) {
                Buffer src = Make(s.w, s.h, 0);
                Pattern(src, uint32_t(s.w * 64 + s.h));
                src.At(0, 0) |= Pixel::EdgeMark;
                const bool odd = turns & 1;
                const int tw = odd ? s.h : s.w, th = odd ? s.w : s.h;
                Buffer want = Make(tw, th, kBack), got = Make(tw, th, kBack);
                for (int y = 0; y < s.h; ++y)
                    for (int x = 0; x < s.w; ++x) {
                        const Pair p = Turned(turns, x, y, s.w, s.h);
                        want.At(p.x, p.y) = src.At(x, y);
                    }
                got.XFormLin(src, Matrix2D::Rotation(turns * kQuarter),
                             {(tw - s.w) / 2, (th - s.h) / 2}, Pixel::CopyAll, smooth);
                EXPECT_EQ(CountDifferent(got, want), 0)
                    << s.w << "x" << s.h << " turned " << turns << (smooth ? " smooth" : "");
            }
}

TEST(XFormLin, IdentityMovesByTheOffsetAndClips) {
    Buffer parent = Make(12, 12, 0);
    Pattern(parent, 21);
    Buffer src(parent, {2, 3, 6, 6}); // 5 x 4 at (2, 3)
    for (Pair off : {Pair{3, 2}, Pair{-4, 5}, Pair{8, -5}, Pair{0, 0}})
        for (bool smooth : {false, true}) {
            Buffer got = Make(10, 9, kBack), want = Make(10, 9, kBack);
            for (int y = 3; y <= 6; ++y)
                for (int x = 2; x <= 6; ++x)
                    if (want.Contains(x + off.x, y + off.y))
                        want.At(x + off.x, y + off.y) = parent.At(x, y);
            got.XFormLin(src, Matrix2D::Unit, off, Pixel::CopyAll, smooth);
            EXPECT_EQ(CountDifferent(got, want), 0) << off.x << ", " << off.y;
        }
}

TEST(XFormLin, KeyedPixelsLeaveTheTargetAloneAndNeverBlend) {
    const uint32_t red = 0xFF0000;
    for (uint32_t key : {Pixel::Transparent, uint32_t(0x00FF00)}) {
        Buffer src = Make(9, 7, red);
        for (int y = 0; y < 7; ++y) src.At(3, y) = key;
        src.At(6, 5) = key;
        // Exact quarter turn: the keyed pixels map to known places.
        for (bool smooth : {false, true}) {
            Buffer got = Make(7, 9, kBack), want = Make(7, 9, kBack);
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < 9; ++x) {
                    const Pair p = Turned(1, x, y, 9, 7);
                    if (src.At(x, y) != key) want.At(p.x, p.y) = red;
                }
            got.XFormLin(src, Matrix2D::Rotation(kQuarter), {-1, 1}, key, smooth);
            EXPECT_EQ(CountDifferent(got, want), 0) << smooth;
        }
        // Any angle: written pixels are pure red, the rest untouched, in both modes alike.
        Buffer nearest = Make(20, 20, kBack), smooth = Make(20, 20, kBack);
        nearest.XFormLin(src, Matrix2D::Rotation(0.5), {5, 6}, key, false);
        smooth.XFormLin(src, Matrix2D::Rotation(0.5), {5, 6}, key, true);
        int written = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                EXPECT_EQ(smooth.At(x, y), nearest.At(x, y)) << x << ", " << y;
                EXPECT_TRUE(nearest.At(x, y) == red || nearest.At(x, y) == kBack);
                written += nearest.At(x, y) == red;
            }
        EXPECT_GT(written, 30); // about 9 * 7 - 8 keyed pixels
        EXPECT_LT(written, 70);
    }
}

TEST(XFormLin, SmoothTurnOfAUniformColourKeepsIt) {
    const uint32_t colour = Pixel::EdgeMark | 0x3A7FC1;
    Buffer src = Make(16, 12, colour);
    const double a = 0.5235987755982988; // 30 degrees
    const int w = int(std::fabs(std::sin(a)) * 12 + std::fabs(std::cos(a)) * 16);
    const int h = int(std::fabs(std::cos(a)) * 12 + std::fabs(std::sin(a)) * 16);
    Buffer got = Make(w, h, kBack);
    got.XFormLin(src, Matrix2D::Rotation(a), {(w - 16) / 2, (h - 12) / 2}, Pixel::CopyAll, true);
    int written = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t p = got.At(x, y);
            EXPECT_TRUE(p == colour || p == kBack) << std::hex << p;
            written += p == colour;
        }
    EXPECT_EQ(got.At(w / 2, h / 2), colour);
    EXPECT_NEAR(written, 16 * 12, 16 + 12); // area preserved up to the rim
}

// The brush rotation: source centred on the origin, scratch buffer of the turned size.
TEST(XFormLin, BrushCentredOnTheOriginTurnsIntoItsScratch) {
    for (Pair size : {Pair{7, 5}, Pair{8, 6}, Pair{1, 3}, Pair{12, 12}})
        for (int turns = 1; turns <= 3; ++turns)
            for (bool aa : {false, true}) {
                const int w = size.x, h = size.y;
                Buffer brush = Make(w, h, 0);
                Pattern(brush, 99);
                brush.At(w - 1, 0) = Pixel::Transparent;
                Buffer plain = Make(w, h, 0);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) plain.At(x, y) = brush.At(x, y);
                brush.left -= w / 2;
                brush.right -= w / 2;
                brush.top -= h / 2;
                brush.bottom -= h / 2;

                const double a = turns * 90 * 0.017453292519943295;
                const int W = int(std::fabs(std::sin(a)) * h + std::fabs(std::cos(a)) * w);
                const int H = int(std::fabs(std::cos(a)) * h + std::fabs(std::sin(a)) * w);
                Buffer scratch = Make(W, H, Pixel::Transparent);
                Buffer want = Make(W, H, Pixel::Transparent);
                ASSERT_EQ(W, (turns & 1) ? h : w);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) {
                        const Pair p = Turned(turns, x, y, w, h);
                        want.At(p.x, p.y) = plain.At(x, y);
                    }
                const Matrix2D m{std::cos(a), -std::sin(a), std::sin(a), std::cos(a)};
                scratch.XFormLin(brush, m, {W / 2, H / 2}, Pixel::Transparent, aa);
                EXPECT_EQ(CountDifferent(scratch, want), 0)
                    << w << "x" << h << " turned " << turns << (aa ? " smooth" : "");
            }
}

// With one odd and one even side the centres are half a pixel apart, so target centres map
// onto source pixel edges; the turn must still be one rigid move, not torn by rounding noise.
TEST(XFormLin, QuarterTurnWithMixedParityStaysRigid) {
    for (Pair size : {Pair{7, 6}, Pair{6, 9}, Pair{10, 5}})
        for (int turns = 1; turns <= 3; turns += 2) {
            const int w = size.x, h = size.y;
            Buffer brush = Make(w, h, 0);
            Pattern(brush, 7);
            Buffer plain = Make(w, h, 0);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) plain.At(x, y) = brush.At(x, y);
            brush.left -= w / 2;
            brush.right -= w / 2;
            brush.top -= h / 2;
            brush.bottom -= h / 2;
            Buffer scratch = Make(h, w, Pixel::Transparent);
            scratch.XFormLin(brush, Matrix2D::Rotation(turns * kQuarter), {h / 2, w / 2},
                             Pixel::Transparent, false);
            bool rigid = false;
            for (int sy = -1; sy <= 1 && !rigid; ++sy)
                for (int sx = -1; sx <= 1 && !rigid; ++sx) {
                    int matched = 0, wrong = 0;
                    for (int y = 0; y < h; ++y)
                        for (int x = 0; x < w; ++x) {
                            const Pair p = Turned(turns, x, y, w, h);
                            if (!scratch.Contains(p.x + sx, p.y + sy)) continue;
                            if (scratch.At(p.x + sx, p.y + sy) == plain.At(x, y))
                                ++matched;
                            else
                                ++wrong;
                        }
                    rigid = wrong == 0 && matched >= (w - 1) * (h - 1);
                }
            EXPECT_TRUE(rigid) << w << "x" << h << " turned " << turns;
        }
}

TEST(XFormLin, TurningInPlaceReadsTheUntouchedSource) {
    for (bool smooth : {false, true}) {
        Buffer img = Make(9, 9, 0);
        Pattern(img, 4);
        Buffer want = Make(9, 9, 0);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 9; ++x) {
                const Pair p = Turned(1, x, y, 9, 9);
                want.At(p.x, p.y) = img.At(x, y);
            }
        img.XFormLin(img, Matrix2D::Rotation(kQuarter), {0, 0}, Pixel::CopyAll, smooth);
        EXPECT_EQ(CountDifferent(img, want), 0);
    }
}

TEST(XFormLin, SingularOrBrokenMatricesDrawNothing) {
    Buffer src = Make(6, 6, 0x123456);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Matrix2D bad[] = {
        {0, 0, 0, 0}, {1, 2, 2, 4}, {nan, 0, 0, 1}, {inf, 0, 0, 1}, {1e-300, 0, 0, 1e-300}};
    for (const Matrix2D& m : bad)
        for (bool smooth : {false, true}) {
            Buffer got = Make(8, 8, kBack), want = Make(8, 8, kBack);
            got.XFormLin(src, m, {1, 1}, Pixel::CopyAll, smooth);
            EXPECT_EQ(CountDifferent(got, want), 0) << m.a11;
        }
    // Huge but regular: a stretch far beyond the target only fills what it covers.
    Buffer got = Make(8, 8, kBack);
    got.XFormLin(src, Matrix2D::Scaling(1e12, 1e12), {0, 0}, Pixel::CopyAll, true);
    EXPECT_EQ(got.At(0, 0), 0x123456u);
    EXPECT_EQ(got.At(7, 7), 0x123456u);
}

} // namespace
