// Flood marking against a plain breadth-first fill on random pictures at sizes around word and
// row boundaries, in whole buffers and in views; and the sine table every ellipse reads.
#include "raster/FillTestUtil.h"
#include "raster/FloodMark.h"
#include "raster/SineTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>

namespace {

using namespace filltest;

// Breadth-first from the seed over unmarked pixels within tolerance of the seed's colour.
Rect ReferenceFill(Buffer& b, Pair seed, int tolerance, bool diagonal) {
    if (!b.Contains(seed.x, seed.y) || (b.At(seed.x, seed.y) & Mark)) return {};
    const uint32_t s = b.At(seed.x, seed.y);
    Rect r{seed.x, seed.y, seed.x, seed.y};
    std::deque<Pair> queue{seed};
    for (b.At(seed.x, seed.y) |= Mark; !queue.empty(); queue.pop_front()) {
        const Pair p = queue.front();
        r = {std::min(r.left, p.x), std::min(r.top, p.y), std::max(r.right, p.x),
             std::max(r.bottom, p.y)};
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const Pair n{p.x + dx, p.y + dy};
                if ((!diagonal && dx * dy != 0) || !b.Contains(n.x, n.y)) continue;
                uint32_t& q = b.At(n.x, n.y);
                int d = 0;
                for (int shift : {0, 8, 16})
                    d += std::abs(int(q >> shift & 255) - int(s >> shift & 255));
                if (!(q & Mark) && d <= tolerance) {
                    q |= Mark;
                    queue.push_back(n);
                }
            }
    }
    return r;
}

TEST(FloodMark, MarksWhatABreadthFirstFillMarks) {
    std::mt19937 rng(11);
    // 30 apart per channel: tolerance 35 takes the seed's neighbours but never the colour 60
    // away, even through a chain. Marked pixels are barriers; the edge mark is no colour.
    const uint32_t colours[] = {0x000000, 0x0A0A0A, 0x141414, 0xFF0000, Mark, 0x0A0A0A | Edge};
    fill::FloodMarker marker; // one marker throughout: its kept stack must carry nothing over
    for (int w : {1, 7, 8, 9, 31, 32, 33})
        for (int h : {1, 7, 8, 9, 31, 32, 33})
            for (int tolerance : {0, 35, 765, 5000, -3})
                for (int k = 0; k < 4; ++k) {
                    const bool diagonal = k & 1, view = k & 2;
                    Buffer image = rastertest::Make(w + 6, h + 4, 0);
                    for (int i = 0; i < (w + 6) * (h + 4); ++i)
                        image.pixels[i] = colours[rng() % 6];
                    // A view keeps image coordinates; nothing outside it may change.
                    Buffer work(image, view ? Rect{3, 2, w + 2, h + 1} : image.Bounds());
                    const Pair seed{work.left + int(rng() % unsigned(w)),
                                    work.top + int(rng() % unsigned(h))};
                    Buffer expected = image;
                    Buffer expectedWork(expected, work.Bounds());
                    const Rect want =
                        ReferenceFill(expectedWork, seed, std::clamp(tolerance, 0, 765), diagonal);
                    SCOPED_TRACE(testing::Message()
                                 << w << "x" << h << " tolerance " << tolerance << " diagonal "
                                 << diagonal << " view " << view);
                    EXPECT_EQ(marker.Mark(work, seed, tolerance, diagonal), want);
                    ASSERT_EQ(Values(image), Values(expected));
                }
}

// Opened downwards: from the right leg the fill comes back above and left of the seed.
TEST(FloodMark, UShapeAndSeedsThatMarkNothing) {
    Buffer b = rastertest::Make(7, 5, 0x336699);
    for (Rect r : {Rect{0, 0, 6, 0}, Rect{0, 0, 0, 4}, Rect{6, 0, 6, 4}, Rect{2, 2, 4, 4}})
        b.Box(r, 0);
    fill::FloodMarker marker;
    EXPECT_EQ(marker.Mark(b, {5, 4}, 0, false), (Rect{1, 1, 5, 4}));
    EXPECT_EQ(Marks(b),
              (std::vector<std::string>{".......", ".mmmmm.", ".m...m.", ".m...m.", ".m...m."}));
    const auto before = Values(b);
    EXPECT_TRUE(marker.Mark(b, {1, 1}, 765, true).Empty()); // the seed carries the mark
    EXPECT_TRUE(marker.Mark(b, {7, 0}, 765, true).Empty()); // outside
    EXPECT_EQ(Values(b), before);
    EXPECT_FALSE(fill::SeedIsFillColour(b, {1, 1}, 0x336699)); // all 32 bits count
    EXPECT_TRUE(fill::SeedIsFillColour(b, {3, 3}, 0));
}

TEST(SineTable, EntriesAndCosineOffset) {
    const auto t = sine::Table();
    // 512·sin(π/8) = 195.9, 512·sin(π/4) = 362.04; negative values truncate toward zero.
    const std::pair<int, int> entries[] = {{0, 0},      {64, 195},   {128, 362},  {256, 512},
                                           {512, 0},    {640, -362}, {768, -512}, {1024, 0},
                                           {1088, 195}, {1279, 511}};
    for (auto [k, v] : entries) EXPECT_EQ(t[size_t(k)], v) << k;
}

} // namespace
