// The reshaping algorithms on plain buffers, against expectations computed here by index.
#include "BrushTestUtil.h"
#include "brush/BrushTransforms.h"

#include <cmath>
#include <numbers>

namespace {

using namespace brushtest;

// Distinct opaque colours, with a transparent corner, w x h.
Buffer Numbered(int w, int h) {
    Buffer b = rastertest::Make(w, h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.At(x, y) = uint32_t(0x100 * (y + 1) + x + 1);
    b.At(0, 0) = T;
    return b;
}

TEST(BrushScale, TransparentStaysTransparentAndTheKeyColourStaysOpaque) {
    // Left half transparent, right half in a colour that happens to be the cut key colour.
    Buffer src = rastertest::Make(8, 6, T);
    src.Box({4, 0, 7, 5}, 0x00FF00);
    const Pair sizes[] = {{4, 3}, {16, 12}, {-8, 6}, {5, 7}};
    for (bool smooth : {false, true})
        for (Pair size : sizes) {
            Buffer out;
            ASSERT_TRUE(brushxform::Scaled(src, size, smooth, out));
            ASSERT_EQ(out.Width(), std::abs(size.x));
            const int w = out.Width();
            for (int y = 0; y < out.Height(); ++y)
                for (int x = 0; x < w; ++x) {
                    // Which half the pixel came from, mirrored for a negative width.
                    const int fromX = (2 * x + 1) * 8 / (2 * w);
                    const bool opaque = size.x < 0 ? fromX < 4 : fromX >= 4;
                    EXPECT_EQ(out.At(x, y), opaque ? 0x00FF00u : T)
                        << size.x << "x" << size.y << " smooth " << smooth << " at " << x << ","
                        << y;
                }
        }
}

TEST(BrushBend, NoDepthChangesNothingAndASinglePixelColumnBends) {
    const Buffer src = Numbered(5, 4);
    for (bool columns : {true, false}) {
        Buffer out;
        ASSERT_TRUE(columns ? brushxform::BentColumns(src, 0, 2, false, out)
                            : brushxform::BentRows(src, 0, 2, false, out));
        EXPECT_EQ(Pixels(out), Pixels(src));
    }
    // One column wide: the split is that column, never one outside the brush.
    EXPECT_EQ(brushxform::BendSplit(10, 0, 1), 0);
    EXPECT_EQ(brushxform::BendSplit(-10, 0, 1), 0);
    EXPECT_EQ(brushxform::BendSplit(-3, 0, 9), 1);
    EXPECT_EQ(brushxform::BendSplit(30, 0, 9), 7);
    EXPECT_EQ(brushxform::BendSplit(4, 0, 9), 4);
    Buffer out;
    ASSERT_TRUE(
        brushxform::BentColumns(Numbered(1, 3), 4, brushxform::BendSplit(9, 0, 1), true, out));
    EXPECT_EQ(out.Height(), 7);
    EXPECT_EQ(out.At(0, 1), 0x201u); // the split column is not moved
}

TEST(BrushBend, AnArchRaisesTheSplitColumnAndKeepsTheEdgesLevel) {
    const Buffer src = rastertest::Make(9, 2, 0x777777);
    Buffer out;
    ASSERT_TRUE(brushxform::BentColumns(src, 6, 4, true, out));
    ASSERT_EQ(out.Height(), 8);
    EXPECT_EQ(out.At(4, 0), 0x777777u); // split column at the top
    EXPECT_EQ(out.At(0, 6), 0x777777u); // first column moved down by the whole depth
    EXPECT_EQ(out.At(0, 5), T);
}

TEST(BrushShear, NoOffsetChangesNothingAndADiagonalMovesEachColumnByItsIndex) {
    const Buffer src = Numbered(6, 3);
    Buffer same;
    ASSERT_TRUE(brushxform::ShearedColumns(src, 0, same));
    EXPECT_EQ(Pixels(same), Pixels(src));
    ASSERT_TRUE(brushxform::ShearedRows(src, 0, same));
    EXPECT_EQ(Pixels(same), Pixels(src));

    for (int sign : {1, -1}) {
        Buffer out;
        ASSERT_TRUE(brushxform::ShearedColumns(src, sign * 5, out));
        ASSERT_EQ(out.Height(), 3 + 5);
        for (int x = 0; x < 6; ++x)
            for (int y = 0; y < 3; ++y) {
                const int to = sign > 0 ? y + x : y + 5 - x;
                EXPECT_EQ(out.At(x, to), src.At(x, y)) << sign << " " << x << "," << y;
            }
    }
    // Steeper than the brush is wide: the one column is smeared over every row it passes.
    Buffer smear;
    ASSERT_TRUE(brushxform::ShearedColumns(rastertest::Make(1, 1, 0xABCDEF), 3, smear));
    EXPECT_EQ(Pixels(smear), std::vector<uint32_t>(4, 0xABCDEF));
}

TEST(BrushRotate, SizesFollowTheAngle) {
    EXPECT_EQ(brushxform::RotatedSize({7, 3}, 0), (Pair{7, 3}));
    EXPECT_EQ(brushxform::RotatedSize({7, 3}, std::numbers::pi / 2), (Pair{3, 7}));
    for (int s : {1, 10, 33, 100}) {
        const int diagonal = int(s * std::numbers::sqrt2);
        EXPECT_EQ(brushxform::RotatedSize({s, s}, std::numbers::pi / 4),
                  (Pair{diagonal, diagonal}));
    }
    // 16384 x 16384 at 45 degrees needs 23170 x 23170: refused by the allocation, not by int.
    const Pair huge = brushxform::RotatedSize({16384, 16384}, std::numbers::pi / 4);
    EXPECT_EQ(huge, (Pair{23170, 23170}));
    Buffer none;
    EXPECT_FALSE(none.Alloc(huge));
}

TEST(BrushRotate, ByZeroIsTheSameBrushAndAQuarterOfAnOddSquareIsTheExactTurn) {
    const Buffer src = Numbered(5, 5);
    Buffer out;
    ASSERT_TRUE(brushxform::Rotated(src, 0, false, out));
    EXPECT_EQ(Pixels(out), Pixels(src));
    ASSERT_TRUE(brushxform::Rotated(src, std::numbers::pi / 2, false, out));
    ASSERT_EQ(out.Width(), 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(out.At(y, 4 - x), src.At(x, y)) << x << "," << y;
}

TEST(BrushRotate, FourQuarterTurnsAndTwoHalfTurnsGiveTheBrushBack) {
    for (Pair size : {Pair{1, 1}, Pair{7, 3}, Pair{2, 9}, Pair{8, 8}}) {
        const Buffer src = Numbered(size.x, size.y);
        Buffer a = src, b;
        ASSERT_TRUE(brushxform::QuarterTurned(a, b));
        EXPECT_EQ(b.Width(), size.y);
        // Counter-clockwise: the top-right pixel goes to the top-left.
        EXPECT_EQ(b.At(0, 0), src.At(size.x - 1, 0));
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(brushxform::QuarterTurned(b, a));
            b = a;
        }
        EXPECT_EQ(Pixels(b), Pixels(src));

        Buffer half = src;
        brushxform::HalfTurn(half);
        EXPECT_EQ(half.At(0, 0), src.At(size.x - 1, size.y - 1));
        EXPECT_EQ(half.At(size.x / 2, size.y / 2),
                  src.At(size.x - 1 - size.x / 2, size.y - 1 - size.y / 2));
        brushxform::HalfTurn(half);
        EXPECT_EQ(Pixels(half), Pixels(src));
    }
}

TEST(DropShadow, EachDirectionGrowsTheBrushAndPutsTheShadowBehindIt) {
    // A 2 x 2 brush with its top-left pixel transparent; depth 3; shadow colour S.
    constexpr uint32_t S = 0x445566;
    const Buffer src = FromRows({{T, 0x111111}, {0x222222, 0x333333}});
    struct Case {
        int direction;
        Pair size, shadow, brush;
    } cases[] = {{0, {5, 2}, {3, 0}, {0, 0}},
                 {1, {5, 5}, {3, 3}, {0, 0}},
                 {2, {2, 5}, {0, 3}, {0, 0}},
                 {3, {5, 5}, {0, 3}, {3, 0}}};
    for (const Case& c : cases) {
        Buffer out;
        ASSERT_TRUE(brushxform::DropShadow(src, 3, c.direction, S, out));
        ASSERT_EQ((Pair{out.Width(), out.Height()}), c.size) << c.direction;
        Buffer want = rastertest::Make(c.size.x, c.size.y, T);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                if (src.At(x, y) != T) want.At(c.shadow.x + x, c.shadow.y + y) = S;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                if (src.At(x, y) != T) want.At(c.brush.x + x, c.brush.y + y) = src.At(x, y);
        EXPECT_EQ(Pixels(out), Pixels(want)) << c.direction;
    }
}

} // namespace
