#include "brush/BrushTestUtil.h"
#include "brush/StampLine.h"

#include <cstdlib>
#include <random>

using namespace brushtest;
using rastertest::Make;

namespace {

using Points = std::vector<Pair>;

Points Walk(Pair a, Pair b, double spacing, double phase, double* rest = nullptr) {
    Points got;
    const double r = WalkStampLine(a, b, spacing, phase, [&](int x, int y) {
        got.push_back({x, y});
    });
    if (rest) *rest = r;
    return got;
}

// The ideal line rounded half up along the direction of travel: what the error-term walk
// produces, written the obvious way.
Points Reference(Pair a, Pair b) {
    const long dx = std::labs(long(b.x) - a.x), dy = std::labs(long(b.y) - a.y);
    const int sx = b.x < a.x ? -1 : 1, sy = b.y < a.y ? -1 : 1;
    const long major = std::max(dx, dy), minor = std::min(dx, dy);
    Points out;
    for (long i = 0; i <= major; ++i) {
        const long m = major == 0 ? 0 : (2 * i * minor + major) / (2 * major);
        const long ox = dx >= dy ? i : m, oy = dx >= dy ? m : i;
        out.push_back({int(a.x + sx * ox), int(a.y + sy * oy)});
    }
    return out;
}

TEST(BrushStampLine, SpacingThreeOverTenPositions) {
    double rest = 0;
    const Points got = Walk({0, 0}, {9, 0}, 3, 1, &rest);
    EXPECT_EQ(got, (Points{{0, 0}, {3, 0}, {6, 0}, {9, 0}}));
    EXPECT_EQ(rest, 3.0);
}

// Spacing 1 with phase 1 stamps every position of the line.
TEST(BrushStampLine, SpacingOnePhaseOneStampsEveryPositionInEveryDirection) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-40, 40);
    for (int n = 0; n < 400; ++n) {
        const Pair a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)};
        const Points got = Walk(a, b, 1, 1);
        ASSERT_EQ(got, Reference(a, b)) << a.x << "," << a.y << " -> " << b.x << "," << b.y;
        EXPECT_EQ(got.back(), b);
    }
    EXPECT_EQ(Walk({7, 7}, {7, 7}, 1, 1), (Points{{7, 7}}));
    // A steep negative case worked by hand.
    EXPECT_EQ(Walk({0, 0}, {2, -5}, 1, 1),
              (Points{{0, 0}, {0, -1}, {1, -2}, {1, -3}, {2, -4}, {2, -5}}));
}

TEST(BrushStampLine, PhaseCarriesAcrossSegments) {
    double rest = 0;
    Points all = Walk({0, 0}, {9, 0}, 3, 1, &rest);
    const Points second = Walk({9, 0}, {20, 0}, 3, rest + 1, &rest);
    all.insert(all.end(), second.begin(), second.end());
    // The joint is not stamped twice and the rhythm of 3 runs on.
    EXPECT_EQ(all, (Points{{0, 0}, {3, 0}, {6, 0}, {9, 0}, {12, 0}, {15, 0}, {18, 0}}));
    EXPECT_EQ(rest, 1.0);

    // A phase above one delays the first stamp.
    EXPECT_EQ(Walk({0, 0}, {0, 6}, 4, 2.5), (Points{{0, 2}, {0, 6}}));
    // Fractional spacing: 2.5 alternates gaps of 3 and 2.
    EXPECT_EQ(Walk({0, 0}, {10, 0}, 2.5, 1), (Points{{0, 0}, {3, 0}, {5, 0}, {8, 0}, {10, 0}}));
}

TEST(BrushStampLine, SurvivesAbsurdArguments) {
    const double odd[] = {0, -5, 1e300, -1e300, std::nan("")};
    for (double v : odd) {
        EXPECT_FALSE(Walk({0, 0}, {3, 0}, v, 1).empty());
        (void)Walk({0, 0}, {3, 0}, 1, v);
    }
    // A huge phase puts the first stamp far beyond the line.
    EXPECT_TRUE(Walk({0, 0}, {3, 0}, 1, 1e300).empty());
}

TEST(BrushStampLine, StampsTheBrushAndReportsTheCoveredRectangle) {
    Brush brush;
    ASSERT_TRUE(brush.SelectBuiltIn(BrushShape::Square, 1, 0xFFFFFF, kBack));
    Buffer work = Make(16, 8, 0);
    Rect covered;
    brush.StampLine(work, {2, 3}, {10, 1}, 4, 1, &covered);
    EXPECT_EQ(covered, (Rect{1, 0, 11, 4}));
    // Stamps at x = 2, 6, 10 (rows 3, 2, 1 by the rounded line), each 3 x 3.
    Buffer expected = Make(16, 8, 0);
    const Pair centres[] = {{2, 3}, {6, 2}, {10, 1}};
    for (Pair c : centres) expected.Box({c.x - 1, c.y - 1, c.x + 1, c.y + 1}, 0xFFFFFF);
    EXPECT_EQ(Pixels(work), Pixels(expected));
}

// A stroke of a brush with transparent pixels and its handle in a corner, run out past every edge
// of the picture: each position of the walk gets the brush's opaque pixels, placed by hand.
TEST(BrushStampLine, KeyedBrushWithCornerHandleClipsAtEveryEdge) {
    const uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF, paper = 0x808080;
    const std::vector<std::vector<uint32_t>> rows = {{red, T, blue}, {T, green, T}};
    Brush brush = CustomFrom({rows[0], rows[1]}, 2, 0x123456); // handle: top-right pixel
    Buffer work = Make(10, 8, paper);
    Buffer expected = Make(10, 8, paper);
    const Points corners = {{-4, -3}, {13, 2}, {6, 11}, {-3, 5}, {4, 0}};
    double phase = 1;
    for (size_t i = 1; i < corners.size(); ++i) {
        for (Pair p : Walk(corners[i - 1], corners[i], 1, phase))
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 3; ++x)
                    if (rows[size_t(y)][size_t(x)] != T && expected.Contains(p.x - 2 + x, p.y + y))
                        expected.At(p.x - 2 + x, p.y + y) = rows[size_t(y)][size_t(x)];
        phase = brush.StampLine(work, corners[i - 1], corners[i], 1, phase) + 1;
    }
    EXPECT_EQ(Pixels(work), Pixels(expected));
}

TEST(BrushStampLine, RubberBandMarksStampPositionsAndDrawingTwiceRemovesIt) {
    Buffer work = Make(12, 12, 0);
    rastertest::Pattern(work);
    const auto before = Pixels(work);
    Rect covered;
    Brush::PreviewLine(work, {11, 1}, {1, 4}, 3, 1, Pixel::Preview, &covered);
    EXPECT_EQ(covered, (Rect{1, 1, 11, 4}));
    Buffer expected = Make(12, 12, 0);
    rastertest::Pattern(expected);
    for (Pair p : Walk({11, 1}, {1, 4}, 3, 1)) expected.At(p.x, p.y) ^= 0x8F8F8F;
    EXPECT_EQ(Pixels(work), Pixels(expected));
    Brush::PreviewLine(work, {11, 1}, {1, 4}, 3, 1, Pixel::Preview);
    EXPECT_EQ(Pixels(work), before);
}

} // namespace
