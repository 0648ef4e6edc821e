#include "brush/BrushTestUtil.h"

using namespace brushtest;
using rastertest::Make;

namespace {

using V = std::vector<uint32_t>;

TEST(BrushCustom, TakesAViewAtTheOriginWithKeyedPixelsTransparent) {
    Buffer parent = Make(10, 10, 0);
    rastertest::Pattern(parent);
    parent.At(4, 5) = 0x00FF00;
    Buffer view(parent, {3, 4, 6, 5});

    Brush brush;
    ASSERT_TRUE(brush.SelectBuiltIn(BrushShape::Circular, 1, kDraw, kBack));
    brush.handle = 3;
    CustomBrush how;
    how.origin = {3, 4};
    how.keyColour = 0x00FF00;
    how.keyToTransparent = true;
    ASSERT_TRUE(brush.SetCustom(view, how, kDraw, kBack));

    EXPECT_EQ(brush.source.Bounds(), (Rect{0, 0, 3, 1}));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(brush.source.At(x, y), x == 1 && y == 1 ? T : parent.At(3 + x, 4 + y));
    EXPECT_TRUE(brush.custom);
    EXPECT_EQ(brush.technique, Technique::Paint);
    EXPECT_EQ(brush.handle, 3);
    EXPECT_EQ(brush.originX, 3);
    EXPECT_EQ(brush.originY, 4);
    EXPECT_EQ(brush.keyColour, 0x00FF00u);
    EXPECT_EQ(Pixels(brush.stamp), Pixels(brush.source));
    // The image itself is left alone.
    EXPECT_EQ(parent.At(4, 5), 0x00FF00u);

    // Nothing to take: refused, brush unchanged.
    const V before = Pixels(brush.source);
    EXPECT_FALSE(brush.SetCustom(Buffer(), how, kDraw, kBack));
    EXPECT_EQ(Pixels(brush.source), before);
}

TEST(BrushBackup, RestoreTwiceGivesThePreviousCustomThenTheBuiltIn) {
    const uint32_t red = 0xFF0000, blue = 0x0000FF;
    Brush brush;
    ASSERT_TRUE(brush.SelectBuiltIn(BrushShape::Square, 2, kDraw, kBack));
    CustomBrush a;
    a.origin = {3, 4};
    a.keyColour = 0x00FF00;
    ASSERT_TRUE(brush.SetCustom(FromRows({{red, T}}), a, kDraw, kBack));
    ASSERT_TRUE(brush.SetTechnique(Technique::Replace, kDraw, kBack));
    CustomBrush b;
    b.origin = {7, 8};
    b.keyColour = 0x0000AA;
    ASSERT_TRUE(brush.SetCustom(FromRows({{blue}}), b, kDraw, kBack));
    EXPECT_EQ(brush.technique, Technique::Paint);

    ASSERT_TRUE(brush.Restore(kDraw, kBack));
    EXPECT_FALSE(brush.HasBackup());
    EXPECT_TRUE(brush.custom);
    EXPECT_EQ(brush.technique, Technique::Replace);
    EXPECT_EQ(brush.originX, 3);
    EXPECT_EQ(brush.keyColour, 0x00FF00u);
    EXPECT_EQ(Pixels(brush.source), (V{red, T}));
    EXPECT_EQ(Pixels(brush.stamp), (V{red, 0x00FF00}));

    // No backup left: the remembered built-in shape at the current radius, in today's colour.
    ASSERT_TRUE(brush.Restore(0x445566, kBack));
    EXPECT_FALSE(brush.custom);
    EXPECT_EQ(brush.technique, Technique::Color);
    EXPECT_EQ(brush.shape, BrushShape::Square);
    EXPECT_EQ(Pixels(brush.source), V(25, 0x445566));
    EXPECT_EQ(Pixels(brush.stamp), V(25, 0x445566));
    EXPECT_FALSE(brush.HasBackup());
}

TEST(BrushBackup, OnlyACustomBrushIsBackedUpWhenABuiltInIsChosen) {
    Brush brush = CustomFrom({{1, 2}, {3, 4}});
    ASSERT_TRUE(brush.SelectBuiltIn(BrushShape::Square, 1, kDraw, kBack));
    ASSERT_TRUE(brush.SelectBuiltIn(BrushShape::Circular, 3, kDraw, kBack));
    ASSERT_TRUE(brush.HasBackup());
    EXPECT_EQ(Pixels(brush.BackupBuffer()), (V{1, 2, 3, 4}));
    ASSERT_TRUE(brush.Restore(kDraw, kBack));
    EXPECT_TRUE(brush.custom);
    EXPECT_EQ(brush.technique, Technique::Paint);
    EXPECT_EQ(Pixels(brush.source), (V{1, 2, 3, 4}));
}

// Stamps of the brush at p onto a fresh canvas.
V StampedAt(const Brush& brush, Pair p) {
    Buffer work = Make(24, 24, 0x777777);
    brush.StampAt(work, p.x, p.y);
    return Pixels(work);
}

TEST(BrushTrim, RemovesClearMarginsAndKeepsTheBrushOnTheSamePixels) {
    const Pair pointer{10, 10};
    const Pair expected[] = {{10, 10}, {11, 11}, {8, 11}, {8, 10}, {11, 10}};
    for (int handle = 0; handle <= 4; ++handle) {
        Brush brush = CustomFrom(
            {{T, T, T, T, T}, {T, 1, 2, T, T}, {T, 3, T, T, T}, {T, 4, 5, T, T}}, handle);
        const V before = StampedAt(brush, pointer);
        const TrimResult r = brush.Trim(pointer, kDraw, kBack);
        ASSERT_TRUE(r.trimmed);
        EXPECT_FALSE(r.failed);
        EXPECT_EQ(r.pointer, expected[handle]) << "handle " << handle;
        EXPECT_EQ(brush.source.Bounds(), (Rect{0, 0, 1, 2}));
        EXPECT_EQ(Pixels(brush.source), (V{1, 2, 3, T, 4, 5}));
        EXPECT_EQ(Pixels(brush.stamp), Pixels(brush.source));
        EXPECT_EQ(StampedAt(brush, r.pointer), before) << "handle " << handle;
    }
}

TEST(BrushTrim, LeavesOpaqueAndInvisibleBrushesAlone) {
    Brush solid = CustomFrom({{1, T, 2}, {T, T, T}, {3, T, 4}});
    TrimResult r = solid.Trim({5, 6}, kDraw, kBack);
    EXPECT_FALSE(r.trimmed);
    EXPECT_EQ(r.pointer, (Pair{5, 6}));
    EXPECT_EQ(Pixels(solid.source), (V{1, T, 2, T, T, T, 3, T, 4}));

    Brush clear = CustomFrom({{T, T}, {T, T}});
    r = clear.Trim({5, 6}, kDraw, kBack);
    EXPECT_FALSE(r.trimmed);
    EXPECT_EQ(Pixels(clear.source), V(4, T));
}

} // namespace
