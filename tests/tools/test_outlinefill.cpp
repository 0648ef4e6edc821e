// The outline fill by parity, checked against an even-odd rule computed from the polygon itself:
// every pixel that is not on the outline must carry the fill mark exactly when it is inside.
#include "raster/FillTestUtil.h"
#include "tools/OutlineFill.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace filltest;

constexpr uint32_t Ground = 0x404040, Colour = 0x00C060;

// Even-odd with a ray to the left of the pixel centre; an edge counts on rows from its upper end
// to just above its lower end, so a vertex the outline passes through counts once and a peak or
// valley twice or not at all. Horizontal and empty edges count nothing.
bool Inside(const std::vector<Pair>& polygon, int px, int py) {
    bool inside = false;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const Pair a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        if (a.y == b.y || py < std::min(a.y, b.y) || py >= std::max(a.y, b.y)) continue;
        // The crossing lies left of px when (crossing - px) · (b.y - a.y) is negative.
        const int64_t num = int64_t(a.x - px) * (b.y - a.y) + int64_t(py - a.y) * (b.x - a.x);
        if (num != 0 && ((num < 0) != (b.y - a.y < 0))) inside = !inside;
    }
    return inside;
}

// Draws the polygon into work (a view of image or all of it) and checks every pixel of image.
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
                ASSERT_TRUE(work.Contains(x, y)) << x << "," << y;
                ASSERT_TRUE(f.Marked().Contains(x, y)) << x << "," << y;
            }
            if (!work.Contains(x, y) || (p & Edge)) continue; // outline pixels
            ASSERT_EQ((p & Mark) != 0, Inside(polygon, x, y)) << x << "," << y;
            ASSERT_EQ(p & 0xFFFFFF, Ground) << x << "," << y;
        }
}

TEST(OutlineFill, ShapesFillByParity) {
    struct Case {
        const char* name;
        std::vector<Pair> polygon;
    };
    const Case cases[] = {
        {"box with horizontal edges", {{5, 5}, {30, 5}, {30, 20}, {5, 20}}},
        {"steps going down", {{5, 5}, {12, 5}, {12, 10}, {20, 10}, {20, 15}, {5, 25}}},
        {"spikes up and down",
         {{5, 20}, {10, 3}, {14, 20}, {20, 18}, {25, 30}, {30, 12}, {36, 22}}},
        {"bow tie", {{5, 5}, {30, 25}, {30, 5}, {5, 25}}},
        {"pentagram", {{20, 2}, {32, 30}, {3, 12}, {37, 12}, {8, 30}}},
        {"flat and steep mixed", {{2, 10}, {40, 12}, {41, 30}, {3, 31}, {20, 20}}},
        {"closing edge horizontal", {{10, 10}, {20, 20}, {30, 10}, {25, 30}, {10, 30}}},
        {"repeated points", {{6, 6}, {6, 6}, {25, 8}, {25, 8}, {12, 28}}},
        {"reaching the last column", {{10, 4}, {47, 10}, {47, 30}, {20, 20}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Buffer image = rastertest::Make(48, 40, Ground);
        CheckPolygon(c.polygon, image, image);
    }
}

TEST(OutlineFill, RandomPolygonsInBuffersAndClippedViews) {
    std::mt19937 rng(3);
    for (int run = 0; run < 400; ++run) {
        const bool clipped = run % 2 == 1;
        Buffer image = rastertest::Make(48, 40, Ground);
        Buffer work = clipped ? Buffer(image, {8, 6, 39, 33}) : Buffer(image, image.Bounds());
        // Few distinct rows, so horizontal edges and shared vertex rows are common; in a clipped
        // view the outline wanders outside it.
        std::vector<Pair> polygon(3 + rng() % 8);
        for (Pair& p : polygon)
            p = clipped ? Pair{int(rng() % 56) - 4, int(rng() % 12) * 4 - 4}
                        : Pair{int(rng() % 48), int(rng() % 10) * 4 + int(rng() % 2)};
        SCOPED_TRACE(run);
        CheckPolygon(polygon, image, work);
        if (HasFatalFailure()) return;
    }
}

TEST(OutlineFill, Directions) {
    Buffer image = rastertest::Make(20, 20, Ground);
    OutlineFill f;
    f.Start({2, 2});
    f.AddEdge(image, {9, 2}, Colour); // horizontal: no direction yet
    EXPECT_EQ(f.FirstDirection(), OutlineFill::Unknown);
    EXPECT_EQ(f.LatestDirection(), 0);
    f.AddEdge(image, {9, 9}, Colour);
    f.AddEdge(image, {5, 4}, Colour);
    EXPECT_EQ(f.FirstDirection(), 1);
    EXPECT_EQ(f.LatestDirection(), -1);
    EXPECT_EQ(f.Last(), (Pair{5, 4}));
    EXPECT_EQ(f.First(), (Pair{2, 2}));
}

TEST(OutlineFill, ClosingDistanceInScreenPixels) {
    struct Case {
        double zoom;
        Pair first, pointer;
        bool closes;
    };
    const Case cases[] = {
        {1, {10, 10}, {19, 10}, true},  // 9 screen pixels
        {1, {10, 10}, {20, 10}, false}, // 10
        {1, {10, 10}, {16, 17}, true},  // 36 + 49
        {4, {10, 10}, {51, 42}, true},  // corner's screen pixel middle at 42
        {4, {10, 10}, {52, 42}, false},  {0.5, {10, 10}, {14, 5}, true}, // 5.25 truncated to 5
        {0.5, {10, 10}, {15, 5}, false}, {3, {1, 1}, {4, 13}, true},     // 4.5 truncated to 4
        {3, {1, 1}, {4, 14}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClosesPolygon(c.first, c.pointer, c.zoom), c.closes)
            << c.zoom << " " << c.pointer.x << "," << c.pointer.y;
}

} // namespace
