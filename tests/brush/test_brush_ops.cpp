// Outline, mirrors and the cut key colour against hand-made pixels.
#include "BrushTestUtil.h"
#include "brush/BrushCut.h"
#include "raster/FloodMark.h"

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
        {"solid", FromRows({{A, A}, {A, A}}), {T, R, R, T, R, A, A, R, R, A, A, R, T, R, R, T}},
        // A diagonal pair: inner corners are reached from two sides, the outer ones not at all.
        {"diagonal", FromRows({{A, T}, {T, A}}), {T, R, T, T, R, A, R, T, T, R, A, R, T, T, R, T}},
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

} // namespace
