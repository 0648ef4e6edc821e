// Outline, mirrors and the cut helpers against hand-made brushes.
#include "BrushTestUtil.h"
#include "brush/BrushCut.h"
#include "raster/FloodMark.h"

#include <cstdlib>

namespace {

using namespace brushtest;
constexpr uint32_t R = 0x123456; // ring colour
constexpr uint32_t A = 0xA00000, B = 0x00B000;

TEST(BrushOutline, RingsFollowTheFourNeighbours) {
    struct Case {
        const char* name;
        Buffer in;
        std::vector<uint32_t> want; // (w + 2) x (h + 2), row by row
    };
    const Case cases[] = {
        // One pixel: a plus.
        {"single", FromRows({{A}}), {T, R, T, R, A, R, T, R, T}},
        // Fully opaque: a frame without its corners.
        {"solid",
         FromRows({{A, A}, {A, A}}),
         {T, R, R, T, R, A, A, R, R, A, A, R, T, R, R, T}},
        // A diagonal pair: inner corners are reached from two sides, the outer ones not at all.
        {"diagonal",
         FromRows({{A, T}, {T, A}}),
         {T, R, T, T, R, A, R, T, T, R, A, R, T, T, R, T}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Brush brush;
        ASSERT_TRUE(brush.SetCustom(c.in, {}, kDraw, kBack));
        const int w = brush.source.Width(), h = brush.source.Height();
        ASSERT_TRUE(brush.Outline(R, kDraw, kBack));
        EXPECT_EQ(brush.source.Width(), w + 2);
        EXPECT_EQ(brush.source.Height(), h + 2);
        EXPECT_EQ(Pixels(brush.source), c.want);
        EXPECT_EQ(Pixels(brush.stamp), c.want); // Paint: the stamp follows
    }
}

TEST(BrushOutline, TwiceGivesASecondRingAroundTheFirst) {
    Brush brush = CustomFrom({{A}});
    ASSERT_TRUE(brush.Outline(R, kDraw, kBack));
    ASSERT_TRUE(brush.Outline(B, kDraw, kBack));
    // Manhattan distance from the middle: 0 the pixel, 1 the first ring, 2 the second.
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            const int d = std::abs(x - 2) + std::abs(y - 2);
            EXPECT_EQ(brush.source.At(x, y), d == 0 ? A : d == 1 ? R : d == 2 ? B : T)
                << x << "," << y;
        }
}

TEST(BrushMirror, EachMirrorTwiceIsTheIdentity) {
    // Odd and even sizes: the middle row or column stays, the others swap.
    for (const Pair size : {Pair{1, 1}, Pair{3, 2}, Pair{4, 5}, Pair{33, 7}}) {
        Buffer pixels = rastertest::Make(size.x, size.y, 0);
        for (int y = 0; y < size.y; ++y)
            for (int x = 0; x < size.x; ++x) pixels.At(x, y) = uint32_t(y * 1000 + x);
        Brush brush;
        ASSERT_TRUE(brush.SetCustom(pixels, {}, kDraw, kBack));
        brush.MirrorLeftRight(kDraw, kBack);
        brush.MirrorTopBottom(kDraw, kBack);
        for (int y = 0; y < size.y; ++y)
            for (int x = 0; x < size.x; ++x)
                ASSERT_EQ(brush.stamp.At(x, y),
                          uint32_t((size.y - 1 - y) * 1000 + (size.x - 1 - x)));
        brush.MirrorLeftRight(kDraw, kBack);
        brush.MirrorTopBottom(kDraw, kBack);
        EXPECT_EQ(Pixels(brush.source), Pixels(pixels));
    }
}

TEST(BrushCut, RectanglesAreClampedOnEverySide) {
    const Pair size{10, 8};
    struct Case {
        Pair a, b;
        Rect want;
    };
    for (const Case& c : {
             Case{{2, 3}, {5, 6}, {2, 3, 5, 6}},
             Case{{5, 6}, {2, 3}, {2, 3, 5, 6}},     // corners in any order
             Case{{7, 5}, {40, 30}, {7, 5, 9, 7}},   // past right and bottom
             Case{{3, 2}, {-9, -4}, {0, 0, 3, 2}},   // past left and top
             Case{{-9, 2}, {-1, 4}, {0, 2, -1, 4}},  // wholly left: empty
             Case{{2, -5}, {4, -1}, {2, 0, 4, -1}},  // wholly above: empty
         }) {
        const Rect r = brushcut::ClampedRect(c.a, c.b, size);
        if (c.want.Empty())
            EXPECT_TRUE(r.Empty());
        else
            EXPECT_EQ(r, c.want);
    }
}

// Every red value is kept once in row 0; row 1 adds reds 0 and 1 with every green; row 2 is
// never kept.
TEST(BrushCut, FreeColourIsAbsentFromTheKeptOriginals) {
    Buffer original = rastertest::Make(256, 3, 0);
    for (int x = 0; x < 256; ++x) {
        original.At(x, 0) = uint32_t(x) << 16 | 0x0101;
        original.At(x, 1) = uint32_t(x % 2) << 16 | uint32_t(x) << 8;
        original.At(x, 2) = 0x020000;
    }
    struct Case {
        const char* name;
        int keptRows;
        uint32_t want;
    };
    for (const Case& c : {
             // Every red once: the lowest, 0, with its free green 0.
             Case{"row 0", 1, 0x000000},
             // Reds 0 and 1 now occur 129 times: red 2 and green 0, though row 2 (not kept)
             // holds exactly that colour.
             Case{"rows 0 and 1", 2, 0x020000},
         }) {
        SCOPED_TRACE(c.name);
        // The kept rows carry the fill mark over a colour the outline painted on top.
        Buffer marked = rastertest::Make(256, 3, 0xFFFFFF);
        for (int y = 0; y < c.keptRows; ++y)
            for (int x = 0; x < 256; ++x) marked.At(x, y) |= fill::FillMark;
        const uint32_t key = brushcut::FreeColour(marked, original, {0, 0, 255, 2}, 0x777777);
        EXPECT_EQ(key, c.want);
        for (int y = 0; y < c.keptRows; ++y)
            for (int x = 0; x < 256; ++x) ASSERT_NE(original.At(x, y), key);
    }
}

TEST(BrushCut, KeptPixelsTakeTheOriginalsAndTheBoundsAreExact) {
    Buffer original = rastertest::Make(6, 5, 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) original.At(x, y) = uint32_t(x + 10 * y);
    Buffer marked = rastertest::Make(6, 5, 0x4444);
    marked.At(2, 1) = 0x030000FF; // an outline pixel: colour painted over, both marks
    marked.At(3, 3) |= fill::FillMark;
    const Rect r = brushcut::MarkedBounds(marked, marked.Bounds());
    ASSERT_EQ(r, (Rect{2, 1, 3, 3}));
    Buffer out;
    ASSERT_TRUE(brushcut::KeptPixels(marked, original, r, out));
    EXPECT_EQ(Pixels(out), (std::vector<uint32_t>{12, T, T, T, T, 33}));
    EXPECT_TRUE(brushcut::MarkedBounds(original, original.Bounds()).Empty());
}

} // namespace
