#include "document/Grid.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

namespace {

// Brute force: the grid line nearest to v, the higher one on a tie.
int NearestLine(int v, int spacing, int origin) {
    int best = 0, bestDistance = INT_MAX;
    for (int line = origin % spacing - 4 * spacing; line <= v + 2 * spacing; line += spacing) {
        const int distance = std::abs(line - v);
        if (distance <= bestDistance) {
            best = line;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

TEST(GridSnap, KnownPoints) {
    GridSettings g; // 8 x 8 at (0, 0)
    EXPECT_EQ(g.Snap({3, 3}), (Pair{0, 0}));
    EXPECT_EQ(g.Snap({4, 12}), (Pair{8, 16}));
    g.SetOrigin(3, 0);
    EXPECT_EQ(g.Snap({6, 6}), (Pair{3, 8}));
    EXPECT_EQ(g.Snap({7, 2}), (Pair{11, 0}));
    // Each axis has its own spacing and origin.
    g.SetSpacing(8, 5);
    g.SetOrigin(3, 1);
    EXPECT_EQ(g.Snap({7, 4}), (Pair{11, 6}));
    EXPECT_EQ(g.Snap({7, 3}), (Pair{11, 1}));
}

TEST(GridSnap, NearestLineTiesUpOnTheImage) {
    const int spacings[] = {1, 2, 3, 5, 8, 13, 16};
    const int origins[] = {0, 1, 4, 7, 20, 100};
    for (int a : spacings)
        for (int c : origins)
            // From the first line at or above zero on, the formula's truncation is a floor.
            for (int v = c % a; v < 120; ++v) {
                SCOPED_TRACE(testing::Message()
                             << "spacing " << a << " origin " << c << " v " << v);
                ASSERT_EQ(SnapToGrid(v, a, c), NearestLine(v, a, c));
            }
}

TEST(GridSnap, LeftOfTheImageTruncatesTowardZero) {
    // The division truncates, so points just left of the first line still go to it.
    EXPECT_EQ(SnapToGrid(-3, 8, 0), 0);
    EXPECT_EQ(SnapToGrid(-5, 8, 0), 0);
    EXPECT_EQ(SnapToGrid(-13, 8, 0), -8);
    EXPECT_EQ(SnapToGrid(-1, 8, 3), 3);
}

TEST(GridSnap, ExtremesStaySafe) {
    EXPECT_EQ(SnapToGrid(INT_MAX, 16384, 0), INT_MAX); // 2^31 would overflow: clamped
    EXPECT_EQ(SnapToGrid(INT_MIN, 16384, 0), -2147467264);
    EXPECT_EQ(SnapToGrid(17, 0, 0), 17); // a spacing below 1 counts as 1
    EXPECT_EQ(SnapToGrid(17, -8, 0), 17);
}

TEST(GridSettings, BarValuesAreClamped) {
    GridSettings g;
    EXPECT_EQ(g.dx, 8);
    EXPECT_EQ(g.dy, 8);
    EXPECT_EQ(g.px, 0);
    EXPECT_EQ(g.py, 0);
    g.SetSpacing(0, 20000);
    EXPECT_EQ(g.dx, 1);
    EXPECT_EQ(g.dy, 16384);
    g.SetOrigin(-5, 99999);
    EXPECT_EQ(g.px, 0);
    EXPECT_EQ(g.py, 16384);
    g.SetSpacingFromBrush({21, 11});
    EXPECT_EQ(g.dx, 21);
    EXPECT_EQ(g.dy, 11);
    g.SetSpacingFromBrush({0, 40000}); // an empty brush
    EXPECT_EQ(g.dx, 1);
    EXPECT_EQ(g.dy, 16384);
}
