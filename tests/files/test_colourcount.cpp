#include "files/ColourCount.h"
#include "raster/RasterTestUtil.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

int64_t Reference(const Buffer& b, bool skipTransparent) {
    std::vector<bool> seen(1 << 24);
    int64_t count = 0;
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x) {
            const uint32_t p = b.At(x, y);
            if (skipTransparent && p == Pixel::Transparent) continue;
            count += !seen[p & 0xFFFFFF];
            seen[p & 0xFFFFFF] = true;
        }
    return count;
}

} // namespace

TEST(ColourCount, OneColourCountsOneOnEitherPathWhateverTheMarks) {
    for (const auto& [w, h] : {std::pair{1, 1}, {33, 7}, {512, 1024}}) {
        Buffer b = rastertest::Make(w, h, 0x808080);
        b.At(0, 0) = 0x03808080; // both mark bits
        EXPECT_EQ(CountColours(b), 1) << w << "x" << h;
    }
    EXPECT_TRUE(CountsWithFullTable(512 * 1024));
    EXPECT_FALSE(CountsWithFullTable(512 * 1024 - 1));
}

TEST(ColourCount, BothPathsAgreeWithASetAroundTheLimit) {
    std::mt19937 random(7);
    for (const auto& [w, h, range] :
         {std::tuple{31, 9, 64u}, {1023, 512, 1u << 24}, {512, 1024, 1u << 24}}) {
        Buffer b = rastertest::Make(w, h, 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) b.At(x, y) = random() % range;
        EXPECT_EQ(CountColours(b), Reference(b, false)) << w << "x" << h;
    }
}

TEST(ColourCount, TransparentBrushPixelsAreNotBlack) {
    Buffer brush = rastertest::Make(5, 5, Pixel::Transparent);
    brush.At(2, 2) = 0xFF0000;
    brush.At(3, 2) = 0x00FF00;
    EXPECT_EQ(CountColours(brush, {.skipTransparent = true}), 2);
    EXPECT_EQ(CountColours(brush), 3); // as an image, the key is black
    brush.At(0, 0) = 0;
    EXPECT_EQ(CountColours(brush, {.skipTransparent = true}), Reference(brush, true));
}

TEST(ColourCount, AViewCountsOnlyItsOwnPixels) {
    Buffer b = rastertest::Make(40, 40, 0x111111);
    b.At(39, 39) = 0x222222;
    Buffer view(b, Rect{0, 0, 19, 19});
    EXPECT_EQ(CountColours(view), 1);
}
