#include "document/WorkArea.h"
#include "raster/Buffer.h"

#include <gtest/gtest.h>

namespace {

Buffer Filled(int w, int h, uint32_t colour) {
    Buffer b;
    b.Alloc({w, h});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.At(x, y) = colour;
    return b;
}

} // namespace

TEST(WorkArea, ClippingOnIsTheVisiblePartOfAScrolledView) {
    // At 2:1, scrolled to (300, 150) in a 400 x 300 box: image 150..349 by 75..224.
    EXPECT_EQ(WorkBufferRect(true, {300, 150}, {400, 300}, {2, 1}), (Rect{150, 75, 349, 224}));
    // At 2/3: 10 * 3/2 = 15, trunc(109 * 3/2) = 163, trunc(49 * 3/2) = 73.
    EXPECT_EQ(WorkBufferRect(true, {10, 0}, {100, 50}, {2, 3}), (Rect{15, 0, 163, 73}));
    // At 3:1 the last visible view pixel 299 is inside image pixel 99.
    EXPECT_EQ(WorkBufferRect(true, {0, 0}, {300, 300}, {3, 1}), (Rect{0, 0, 99, 99}));
}

TEST(WorkArea, ClippedWorkBufferPaintsOnlyWhatIsVisible) {
    Buffer image = Filled(1000, 800, 0x000000);
    Buffer work;
    ASSERT_TRUE(RefreshWorkBuffer(work, image, true, {300, 150}, {400, 300}, {2, 1}));
    EXPECT_TRUE(work.SharesPixelsWith(image));
    EXPECT_EQ(work.Bounds(), (Rect{150, 75, 349, 224}));

    // A tool fills "everything" through the work buffer: only the visible part changes.
    work.Box({-5000, -5000, 5000, 5000}, 0x00FF00);
    for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 1000; ++x) {
            const bool visible = x >= 150 && x <= 349 && y >= 75 && y <= 224;
            ASSERT_EQ(image.At(x, y), visible ? 0x00FF00u : 0u) << x << "," << y;
        }
}

TEST(WorkArea, ClippingOffCoversTheWholeImage) {
    EXPECT_EQ(WorkBufferRect(false, {300, 150}, {400, 300}, {2, 1}),
              (Rect{-2147483647, -2147483647, 2147483647, 2147483647}));
    Buffer image = Filled(50, 40, 0x123456);
    Buffer work;
    ASSERT_TRUE(RefreshWorkBuffer(work, image, false, {300, 150}, {400, 300}, {2, 1}));
    EXPECT_EQ(work.Bounds(), image.Bounds());
    work.PutPixel({49, 39}, 0xABCDEF);
    EXPECT_EQ(image.At(49, 39), 0xABCDEFu);
}

TEST(WorkArea, BoxLargerThanImageOrScrolledAway) {
    Buffer image = Filled(100, 100, 0);
    Buffer work;
    // A centred small view: the rectangle reaches past the image and is cut to it.
    ASSERT_TRUE(RefreshWorkBuffer(work, image, true, {0, 0}, {800, 600}, {1, 1}));
    EXPECT_EQ(work.Bounds(), image.Bounds());
    // Nothing of the image visible: no work buffer rather than a wrong one.
    EXPECT_FALSE(RefreshWorkBuffer(work, image, true, {5000, 0}, {800, 600}, {1, 1}));
    EXPECT_TRUE(work.Empty());
    Buffer none;
    EXPECT_FALSE(RefreshWorkBuffer(work, none, false, {0, 0}, {800, 600}, {1, 1}));
}
