// The outline fill by parity against an even-odd rule computed from the polygon itself: every
// pixel not on the outline carries the fill mark exactly when it is inside.
#include "raster/FillTestUtil.h"
#include "tools/OutlineFill.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace filltest;

constexpr uint32_t Ground = 0x404040, Colour = 0x00C060;

// A ray to the left of the pixel; an edge counts on the rows from its upper end to just above its
// lower end, so a corner the outline passes through counts once, a peak or valley 0 or 2 times.
bool Inside(const std::vector<Pair>& polygon, int px, int py) {
    bool inside = false;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const Pair a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        if (py < std::min(a.y, b.y) || py >= std::max(a.y, b.y)) continue;
        // The crossing lies left of px when (crossing - px) · (b.y - a.y) is negative.
        const int64_t num = int64_t(a.x - px) * (b.y - a.y) + int64_t(py - a.y) * (b.x - a.x);
        if (num != 0 && (num < 0) != (b.y < a.y)) inside = !inside;
    }
    return inside;
}

// Fills the polygon in work (image or a view of it) and checks every pixel of image.
void CheckPolygon(const std::vector<Pair>& polygon, Buffer& image, Buffer& work) {
    const Buffer before = image;
    OutlineFill f;
    f.Start(polygon[0]);
    for (size_t i = 1; i < polygon.size(); ++i) f.AddEdge(work, polygon[i], Colour);
    f.Close(work, Colour);
    for (int y = image.top; y <= image.bottom; ++y)
        for (int x = image.left; x <= image.right; ++x) {
            const uint32_t p = image.At(x, y);
            if (p != before.At(x, y)) {
                ASSERT_TRUE(f.Marked().Contains(x, y) && work.Contains(x, y));
            }
            if (!work.Contains(x, y) || (p & Edge)) continue; // the outline itself
            ASSERT_EQ((p & Mark) != 0, Inside(polygon, x, y)) << x << "," << y;
            ASSERT_EQ(p & 0xFFFFFF, Ground);
        }
}

TEST(OutlineFill, FillsByParity) {
    const std::vector<Pair> shapes[] = {
        {{5, 5}, {30, 5}, {30, 20}, {5, 20}},                                 // horizontal edges
        {{5, 20}, {10, 3}, {14, 20}, {20, 18}, {25, 30}, {30, 12}, {36, 22}}, // spikes
        {{20, 2}, {32, 30}, {3, 12}, {37, 12}, {8, 30}},                      // pentagram
        {{10, 10}, {20, 20}, {30, 10}, {25, 30}, {10, 30}},                   // closing flat
        {{6, 6}, {6, 6}, {25, 8}, {25, 8}, {12, 28}},                         // repeated corners
        {{10, 4}, {47, 10}, {47, 30}, {20, 20}},                              // last column
    };
    for (const auto& shape : shapes) {
        Buffer image = rastertest::Make(48, 40, Ground);
        CheckPolygon(shape, image, image);
    }
    // Random outlines on few rows, so flat edges and shared corner rows are common; in a clipped
    // view they wander outside it.
    std::mt19937 rng(3);
    for (int run = 0; run < 400 && !HasFatalFailure(); ++run) {
        const bool clipped = run % 2;
        Buffer image = rastertest::Make(48, 40, Ground);
        Buffer work(image, clipped ? Rect{8, 6, 39, 33} : image.Bounds());
        std::vector<Pair> polygon(3 + rng() % 8);
        for (Pair& p : polygon)
            p = clipped ? Pair{int(rng() % 56) - 4, int(rng() % 12) * 4 - 4}
                        : Pair{int(rng() % 48), int(rng() % 10) * 4 + int(rng() % 2)};
        SCOPED_TRACE(run);
        CheckPolygon(polygon, image, work);
    }
}

TEST(OutlineFill, ClosingDistanceInScreenPixels) {
    struct Case {
        double zoom;
        Pair first, pointer;
        bool closes;
    };
    const Case cases[] = {
        {1, {10, 10}, {19, 10}, true},  {1, {10, 10}, {20, 10}, false},  // 9 and 10 pixels
        {1, {10, 10}, {16, 17}, true},                                   // 36 + 49
        {4, {10, 10}, {51, 42}, true},  {4, {10, 10}, {52, 42}, false},  // the pixel's middle
        {0.5, {10, 10}, {14, 5}, true}, {0.5, {10, 10}, {15, 5}, false}, // 5.25 truncated
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClosesPolygon(c.first, c.pointer, c.zoom), c.closes)
            << c.zoom << " " << c.pointer.x;
}

} // namespace
