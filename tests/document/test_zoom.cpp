#include "document/Grid.h"
#include "document/Zoom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

ViewGeometry Geometry(Pair image, Pair client, Pair viewOrigin = {0, 0}) {
    return {image, client, viewOrigin};
}

} // namespace

TEST(ZoomTable, StepsFactorsAndCaptions) {
    struct Row {
        int step, n, d;
        const char* caption;
    };
    const Row rows[] = {{-4, 1, 4, "1/4"}, {-3, 1, 3, "1/3"}, {-2, 1, 2, "1/2"},
                        {-1, 2, 3, "2/3"}, {0, 3, 4, "3/4"},  {1, 1, 1, "1"},
                        {2, 2, 1, "2"},    {17, 17, 1, "17"}, {32, 32, 1, "32"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.step);
        EXPECT_EQ(ZoomRatioOfStep(r.step), (ZoomRatio{r.n, r.d}));
        EXPECT_DOUBLE_EQ(ZoomFactorOfStep(r.step), double(r.n) / r.d);
        EXPECT_EQ(ZoomStepCaption(r.step), QString::fromLatin1(r.caption));
    }
    EXPECT_EQ(ZoomLabelText(QStringLiteral("Zm"), -1), QStringLiteral("Zm 2/3"));
    EXPECT_EQ(ZoomLabelText(QStringLiteral("Zm"), 4), QStringLiteral("Zm 4"));
    EXPECT_EQ(ZoomLabelText(QStringLiteral("Vergr."), 0), QStringLiteral("Vergr. 3/4"));
    // Out-of-range steps never index outside the table.
    EXPECT_EQ(ZoomRatioOfStep(-9), (ZoomRatio{1, 4}));
    EXPECT_EQ(ZoomRatioOfStep(40), (ZoomRatio{32, 1}));
}

TEST(ZoomTable, StepForFactorIsLargestNotAbove) {
    EXPECT_EQ(ZoomStepForFactor(1.0), 1);
    EXPECT_EQ(ZoomStepForFactor(1.99), 1);
    EXPECT_EQ(ZoomStepForFactor(16.0), 16);
    EXPECT_EQ(ZoomStepForFactor(32.9), 32);
    EXPECT_EQ(ZoomStepForFactor(1e12), 32);
    EXPECT_EQ(ZoomStepForFactor(std::numeric_limits<double>::infinity()), 32);
    EXPECT_EQ(ZoomStepForFactor(0.999), 0);
    EXPECT_EQ(ZoomStepForFactor(0.75), 0);
    EXPECT_EQ(ZoomStepForFactor(0.74), -1);
    EXPECT_EQ(ZoomStepForFactor(0.6), -2);
    EXPECT_EQ(ZoomStepForFactor(0.5), -2);
    EXPECT_EQ(ZoomStepForFactor(0.34), -3);
    EXPECT_EQ(ZoomStepForFactor(0.3), -4);
    EXPECT_EQ(ZoomStepForFactor(0.0), -4);
    EXPECT_EQ(ZoomStepForFactor(-3.0), -4);
    EXPECT_EQ(ZoomStepForFactor(std::nan("")), -4);
    // A factor computed as a fraction of whole numbers reaches its own step.
    EXPECT_EQ(ZoomStepForFactor(800.0 / 1200.0), -1);
    EXPECT_EQ(ZoomStepForFactor(100.0 / 300.0), -3);
    for (int step = MinZoomStep; step <= MaxZoomStep; ++step)
        EXPECT_EQ(ZoomStepForFactor(ZoomFactorOfStep(step)), step);
}

TEST(ZoomTable, KeypadStepsStopAtTheEnds) {
    EXPECT_EQ(ZoomStepIn(1), 2);
    EXPECT_EQ(ZoomStepIn(31), 32);
    EXPECT_EQ(ZoomStepIn(32), 32);
    EXPECT_EQ(ZoomStepOut(-3), -4);
    EXPECT_EQ(ZoomStepOut(-4), -4);
    EXPECT_EQ(ZoomStepOut(0), -1);
}

TEST(ZoomPacking, ReducedWithUnitDenominatorStoredAsZero) {
    EXPECT_EQ(PackZoom({6, 4}), 3 | (2 << 16));
    EXPECT_EQ(PackZoom({5, 5}), 1);
    EXPECT_EQ(PackZoom({4, 1}), 4);
    EXPECT_EQ(PackZoom({2, 6}), 1 | (3 << 16));
    EXPECT_EQ(NormalizePackedZoom(8 | (4 << 16)), 2);
    EXPECT_EQ(UnpackZoom(0), (ZoomRatio{1, 1}));
    EXPECT_EQ(UnpackZoom(0x00020000), (ZoomRatio{1, 2}));
    EXPECT_EQ(UnpackZoom(3), (ZoomRatio{3, 1}));
    EXPECT_EQ(UnpackZoom(int(0xFFFF0000u)), (ZoomRatio{1, 0xFFFF}));
}

TEST(ZoomCoordinates, ViewToImageTruncatesAtEveryRatio) {
    const ZoomRatio twoThirds{2, 3}, threeQuarters{3, 4}, third{1, 3}, three{3, 1};
    EXPECT_EQ(ViewToImage({2, 2}, twoThirds), (Pair{3, 3}));
    EXPECT_EQ(ViewToImage({1, 5}, twoThirds), (Pair{1, 7})); // 1.5 -> 1, 7.5 -> 7
    EXPECT_EQ(ViewToImage({3, 4}, threeQuarters), (Pair{4, 5}));
    EXPECT_EQ(ViewToImage({1, 2}, third), (Pair{3, 6}));
    EXPECT_EQ(ViewToImage({5, 8}, three), (Pair{1, 2}));
    // Left of or above the view (a captured drag) truncates toward zero: -1.5 -> -1.
    EXPECT_EQ(ViewToImage({-1, -4}, twoThirds), (Pair{-1, -6}));
    EXPECT_EQ(ViewToImage({-2, -3}, three), (Pair{0, -1}));
    EXPECT_EQ(ImageToView({7, 3}, twoThirds), (Pair{4, 2}));
    EXPECT_EQ(ImageToView({7, 3}, three), (Pair{21, 9}));
    // No overflow at the limits.
    EXPECT_EQ(ViewToImage({std::numeric_limits<int>::max(), 0}, {1, 4}).x,
              std::numeric_limits<int>::max());
}

TEST(ZoomCoordinates, PointerPositionSnapsAndPrints) {
    GridSettings grid;
    grid.SetOrigin(3, 0);
    // View 10 at 2/3 is image 15; the grid through 3 with spacing 8 has lines 11 and 19.
    EXPECT_EQ(PointerImagePosition({10, 10}, {2, 3}, nullptr), (Pair{15, 15}));
    EXPECT_EQ(PointerImagePosition({10, 10}, {2, 3}, &grid), (Pair{19, 16}));
    EXPECT_EQ(CoordinatesText({120, 45}), QStringLiteral("120,45"));
    EXPECT_EQ(CoordinatesText({-1, -1}), QStringLiteral("-1,-1"));
}

TEST(ZoomView, SizeDropsPartialCellsWhenZoomedOut) {
    EXPECT_EQ(ZoomedViewSize({101, 7}, {1, 2}), (Pair{50, 3}));
    EXPECT_EQ(ZoomedViewSize({101, 7}, {2, 3}), (Pair{66, 4}));
    EXPECT_EQ(ZoomedViewSize({101, 7}, {3, 1}), (Pair{303, 21}));
    EXPECT_EQ(ZoomedViewSize({0, 0}, {3, 1}), (Pair{0, 0}));
}

TEST(ZoomView, MaxSizeResizeScrollsOrCentres) {
    EXPECT_EQ(MaxSizeResize(300, 500, 100), (ScrollAxis{500, 0}));
    EXPECT_EQ(MaxSizeResize(300, 500, -50), (ScrollAxis{500, -50}));
    EXPECT_EQ(MaxSizeResize(500, 301, -20), (ScrollAxis{0, 99}));
    EXPECT_EQ(MaxSizeResize(500, 500, 0), (ScrollAxis{0, 0}));
}

TEST(ApplyZoom, ExtentCapLowersTheStep) {
    ZoomState z;
    z.SetStep(17);
    const ZoomChange c = z.ApplyZoom(Geometry({2000, 100}, {800, 600}));
    EXPECT_EQ(z.Step(), 16); // 2000 x 16 = 32000 is allowed
    EXPECT_EQ(c.viewSize, (Pair{32000, 1600}));
    EXPECT_EQ(c.packedZoom, 16);

    z.SetStep(16);
    z.ApplyZoom(Geometry({100, 2001}, {800, 600})); // the larger side counts
    EXPECT_EQ(z.Step(), 15);

    z.SetStep(1);
    z.ApplyZoom(Geometry({100000, 10}, {800, 600})); // 1/4 is the floor even if still too large
    EXPECT_EQ(z.Step(), -4);
}

TEST(ApplyZoom, TinyImagesAreNeverShrunk) {
    ZoomState z;
    z.SetStep(-2);
    ZoomChange c = z.ApplyZoom(Geometry({100, 3}, {800, 600}));
    EXPECT_EQ(z.Step(), 1);
    EXPECT_EQ(c.viewSize, (Pair{100, 3}));
    EXPECT_EQ(c.packedZoom, 1);

    z.SetStep(-4);
    z.ApplyZoom(Geometry({2, 50}, {800, 600}));
    EXPECT_EQ(z.Step(), 1);

    z.SetStep(-2); // 4 pixels is enough
    c = z.ApplyZoom(Geometry({4, 4}, {800, 600}));
    EXPECT_EQ(z.Step(), -2);
    EXPECT_EQ(c.viewSize, (Pair{2, 2}));
    EXPECT_EQ(c.packedZoom, 1 | (2 << 16));

    z.SetStep(3); // enlarging a tiny image is fine
    z.ApplyZoom(Geometry({3, 3}, {800, 600}));
    EXPECT_EQ(z.Step(), 3);
}

TEST(ApplyZoom, KeepsThePointedPixelInPlace) {
    ZoomState z;
    // 1000 x 1000 at 1:1 in a 400 x 300 box, scrolled to (200, 100); first application sizes it.
    z.ApplyZoom(Geometry({1000, 1000}, {400, 300}));
    z.SetPointer({350, 250}); // image pixel (350, 250), at client (150, 150)
    z.SetStep(4);
    ZoomChange c = z.ApplyZoom(Geometry({1000, 1000}, {400, 300}, {-200, -100}));
    ASSERT_TRUE(c.resized);
    // (150 + 200) * 4 - 150 and (150 + 100) * 4 - 150.
    EXPECT_EQ(c.scroll, (Pair{1250, 850}));
    EXPECT_EQ(c.viewOrigin, (Pair{-1250, -850}));
    EXPECT_EQ(c.range, (Pair{4000, 4000}));
    EXPECT_EQ(ViewToImage({c.scroll.x + 150, c.scroll.y + 150}, z.Ratio()), (Pair{350, 250}));

    // Down to 2/3 with the pointer still over that pixel (now view (1400, 1000)):
    // trunc(1400 * (2/3) / 4 - 150) = 83, trunc(1000 * (2/3) / 4 - 150) = 16.
    z.SetPointer({1400, 1000});
    z.SetStep(-1);
    c = z.ApplyZoom(Geometry({1000, 1000}, {400, 300}, c.viewOrigin));
    EXPECT_EQ(c.scroll, (Pair{83, 16}));
    EXPECT_EQ(c.viewSize, (Pair{666, 666}));
    EXPECT_DOUBLE_EQ(z.LastFactor(), 2.0 / 3.0);
}

TEST(ApplyZoom, AStillPointerKeepsItsPixelThroughEveryKeypadStep) {
    ZoomState z;
    const Pair client{400, 300};
    ViewGeometry g = Geometry({2000, 2000}, client);
    ZoomChange c = z.ApplyZoom(g);
    z.SetPointer({30, 20}); // no further moves: the pointer stays where it is on the screen
    for (int press = 1; press <= 9; ++press) {
        z.SetStep(ZoomStepIn(z.Step()));
        g.viewOrigin = c.viewOrigin;
        c = z.ApplyZoom(g);
        const Pair underPointer{30 - c.viewOrigin.x, 20 - c.viewOrigin.y};
        EXPECT_EQ(ViewToImage(underPointer, z.Ratio()), (Pair{30, 20})) << "press " << press;
    }
}

TEST(ApplyZoom, WithoutPointerTheMiddleStaysAndEdgesClamp) {
    ZoomState z;
    z.ApplyZoom(Geometry({1000, 1000}, {400, 300}));
    z.SetStep(2);
    ZoomChange c = z.ApplyZoom(Geometry({1000, 1000}, {400, 300}));
    EXPECT_EQ(c.scroll, (Pair{200, 150})); // 200 * 2 - 200, 150 * 2 - 150

    // Zooming out near the top-left would go negative: 0.
    z.SetPointer({10, 10});
    z.SetStep(1);
    c = z.ApplyZoom(Geometry({1000, 1000}, {400, 300}, {0, 0}));
    EXPECT_EQ(c.scroll, (Pair{0, 0}));

    // In at the bottom-right pixel, scrolled to the end: (399 + 600) * 8 - 399.
    z.SetPointer({999, 999});
    z.SetStep(8);
    c = z.ApplyZoom(Geometry({1000, 1000}, {400, 300}, {-600, -700}));
    EXPECT_EQ(c.scroll, (Pair{7593, 7693}));

    // Back out from the far end: (200 + 7600) / 8 - 200 = 775 and (150 + 7700) / 8 - 150 = 831
    // lie past the last positions 600 and 700, where the scroll bars stop.
    z.ForgetPointer();
    z.SetStep(1);
    c = z.ApplyZoom(Geometry({1000, 1000}, {400, 300}, {-7600, -7700}));
    EXPECT_EQ(c.scroll, (Pair{600, 700}));
}

TEST(ApplyZoom, SmallViewIsCentredAndRepeatDoesNothing) {
    ZoomState z;
    z.SetStep(2);
    ZoomChange c = z.ApplyZoom(Geometry({100, 40}, {400, 301}));
    EXPECT_TRUE(c.resized);
    EXPECT_EQ(c.viewSize, (Pair{200, 80}));
    EXPECT_EQ(c.viewOrigin, (Pair{100, 110}));
    EXPECT_EQ(c.range, (Pair{0, 0}));
    EXPECT_EQ(c.scroll, (Pair{0, 0}));

    c = z.ApplyZoom(Geometry({100, 40}, {400, 301}, {100, 110}));
    EXPECT_FALSE(c.resized);
    EXPECT_EQ(c.viewOrigin, (Pair{100, 110}));

    // Another image of a different size at the same step is resized again.
    EXPECT_TRUE(z.ApplyZoom(Geometry({100, 41}, {400, 301})).resized);
}

TEST(FitZoom, LargestStepThatShowsTheWholeImage) {
    ZoomState z;
    z.SetPointer({5, 5});
    auto c = z.FitZoom(Geometry({100, 50}, {800, 600}));
    ASSERT_TRUE(c);
    EXPECT_EQ(z.Step(), 8); // min(600 / 50, 800 / 100)
    EXPECT_EQ(z.Pointer(), (Pair{-1, -1}));
    EXPECT_EQ(c->viewSize, (Pair{800, 400}));

    z.FitZoom(Geometry({1200, 900}, {800, 600}));
    EXPECT_EQ(z.Step(), -1);
    z.FitZoom(Geometry({1600, 1000}, {800, 600}));
    EXPECT_EQ(z.Step(), -2);
    z.FitZoom(Geometry({4000, 3000}, {800, 600}));
    EXPECT_EQ(z.Step(), -4);
    z.FitZoom(Geometry({7, 9}, {800, 600}));
    EXPECT_EQ(z.Step(), 32);
    z.FitZoom(Geometry({1, 2000}, {800, 600})); // too tall to shrink a 1-pixel-wide image
    EXPECT_EQ(z.Step(), 1);

    const int before = z.Step();
    EXPECT_FALSE(z.FitZoom(Geometry({0, 0}, {800, 600})));
    EXPECT_EQ(z.Step(), before);
}

TEST(FitZoom, ToggleTwiceReturnsToTheStep) {
    ZoomState z;
    const ViewGeometry g = Geometry({100, 100}, {800, 600});
    // Already fits, nothing remembered: nothing happens.
    EXPECT_FALSE(z.FitToggle(g));
    EXPECT_EQ(z.Step(), 1);

    z.SetStep(9);
    z.ApplyZoom(g);
    ASSERT_TRUE(z.FitToggle(g));
    EXPECT_EQ(z.Step(), 6);
    EXPECT_DOUBLE_EQ(z.RememberedFactor(), 9);
    ASSERT_TRUE(z.FitToggle(g));
    EXPECT_EQ(z.Step(), 9);
    EXPECT_DOUBLE_EQ(z.RememberedFactor(), 9); // kept for the next round
    z.FitToggle(g);
    EXPECT_EQ(z.Step(), 6);

    // From a zoomed-out fraction too.
    ZoomState out;
    const ViewGeometry big = Geometry({3000, 3000}, {800, 600}); // fit 0.2
    out.SetStep(0);
    out.ApplyZoom(big);
    out.FitToggle(big);
    EXPECT_EQ(out.Step(), -4);
    out.FitToggle(big);
    EXPECT_EQ(out.Step(), 0);
    // At 1/4 such an image is as fitted as it gets: with nothing remembered, nothing happens.
    ZoomState floor;
    floor.SetStep(-4);
    floor.ApplyZoom(big);
    EXPECT_FALSE(floor.FitToggle(big));
    EXPECT_EQ(floor.Step(), -4);
}
