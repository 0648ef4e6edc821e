#include "raster/Buffer.h"
#include "raster/TextFont.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(Text, ExtentGrowsWithSizeStyleAndLength) {
    TextFont f;
    f.size = 10;
    const Pair small = Buffer::GetTextExtent(f, "Orvel");
    EXPECT_GT(small.x, 0);
    EXPECT_GT(small.y, 0);
    f.size = 20;
    const Pair big = Buffer::GetTextExtent(f, "Orvel");
    EXPECT_GT(big.x, small.x);
    EXPECT_GT(big.y, small.y);
    TextFont bold;
    bold.size = 20;
    bold.bold = true;
    EXPECT_GT(Buffer::GetTextExtent(bold, "Orvel Paint").x,
              Buffer::GetTextExtent(f, "Orvel Paint").x);
    EXPECT_GT(Buffer::GetTextExtent(f, "Orvel Paint").x, big.x);
    EXPECT_EQ(Buffer::GetTextExtent(f, "").x, 0);
}

TEST(Text, GlyphsAreOneColourWithoutAntiAliasingInsideTheirCell) {
    TextFont f;
    f.size = 24;
    f.italic = true;
    const Pair ext = Buffer::GetTextExtent(f, "Wg");
    Buffer b;
    ASSERT_TRUE(b.Alloc({ext.x + 20, ext.y + 20}));
    b.Box(b.Bounds(), 0x000000);
    b.OutText(f, {10, 10}, "Wg", 0x00FF00);
    std::set<uint32_t> seen;
    int inked = 0;
    for (int y = 0; y <= b.bottom; ++y)
        for (int x = 0; x <= b.right; ++x) {
            seen.insert(b.At(x, y));
            if (b.At(x, y) != 0) {
                ++inked;
                EXPECT_TRUE(x >= 10 && x < 10 + ext.x && y >= 10 && y < 10 + ext.y)
                    << x << "," << y;
            }
        }
    EXPECT_EQ(seen, (std::set<uint32_t>{0x000000, 0x00FF00}));
    EXPECT_GT(inked, 20);
}

TEST(Text, ClippedAndExclusiveOrTextRestoresWhenDrawnTwice) {
    TextFont f;
    f.size = 16;
    f.underline = true;
    Buffer b;
    ASSERT_TRUE(b.Alloc({33, 17}));
    for (int y = 0; y <= b.bottom; ++y)
        for (int x = 0; x <= b.right; ++x) b.At(x, y) = uint32_t(x * 7 + y * 131) & 0xFFFFFF;
    const Buffer before = b;
    Buffer view(b, {4, 2, 25, 14});
    view.OutText(f, {-6, -3}, "Xor text", Pixel::Preview);
    bool changed = false, outsideTouched = false;
    for (int y = 0; y <= b.bottom; ++y)
        for (int x = 0; x <= b.right; ++x)
            if (b.At(x, y) != before.At(x, y)) {
                changed = true;
                if (!view.Contains(x, y)) outsideTouched = true;
            }
    EXPECT_TRUE(changed);
    EXPECT_FALSE(outsideTouched);
    view.OutText(f, {-6, -3}, "Xor text", Pixel::Preview);
    for (int y = 0; y <= b.bottom; ++y)
        for (int x = 0; x <= b.right; ++x) ASSERT_EQ(b.At(x, y), before.At(x, y));
}

} // namespace
