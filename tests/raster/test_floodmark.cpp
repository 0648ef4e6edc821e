// Flood marking against a plain breadth-first fill, on random pictures at sizes around word and
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

// The reference: breadth-first from the seed over pixels without the fill mark whose colour is
// within tolerance of the seed's; expected holds the image after marking, the result the bounds.
Rect ReferenceFill(Buffer& b, Pair seed, int tolerance, bool diagonal) {
    if (!b.Contains(seed.x, seed.y) || (b.At(seed.x, seed.y) & Mark)) return {};
    const uint32_t s = b.At(seed.x, seed.y);
    const auto near = [&](uint32_t p) {
        const int d = std::abs(int(p >> 16 & 255) - int(s >> 16 & 255)) +
                      std::abs(int(p >> 8 & 255) - int(s >> 8 & 255)) +
                      std::abs(int(p & 255) - int(s & 255));
        return !(p & Mark) && d <= tolerance;
    };
    Rect r{seed.x, seed.y, seed.x, seed.y};
    std::deque<Pair> queue{seed};
    b.At(seed.x, seed.y) |= Mark;
    while (!queue.empty()) {
        const Pair p = queue.front();
        queue.pop_front();
        r = {std::min(r.left, p.x), std::min(r.top, p.y), std::max(r.right, p.x),
             std::max(r.bottom, p.y)};
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                if ((dx == 0 && dy == 0) || (!diagonal && dx != 0 && dy != 0)) continue;
                const Pair n{p.x + dx, p.y + dy};
                if (b.Contains(n.x, n.y) && near(b.At(n.x, n.y))) {
                    b.At(n.x, n.y) |= Mark;
                    queue.push_back(n);
                }
            }
    }
    return r;
}

// Colours 30 apart on each channel's sum chain, a far one, and some pixels already marked or
// carrying the edge mark, so regions have holes, barriers and corner contacts.
void RandomPicture(Buffer& b, std::mt19937& rng) {
    static constexpr uint32_t colours[] = {0x000000, 0x0A0A0A, 0x141414, 0xFF0000};
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x) {
            uint32_t p = colours[rng() % 4];
            if (rng() % 16 == 0) p |= Mark;
            if (rng() % 16 == 0) p |= Edge;
            b.At(x, y) = p;
        }
}

TEST(FloodMark, MarksWhatABreadthFirstFillMarks) {
    std::mt19937 rng(11);
    const int sizes[] = {1, 7, 8, 9, 31, 32, 33};
    // Tolerance 35 joins the seed's neighbours 30 away but not those 60 away, even through a
    // chain: distance is always to the seed. 5000 and -3 are clamped.
    const int tolerances[] = {0, 35, 765, 5000, -3};
    fill::FloodMarker marker; // one marker throughout: its kept stack must not leak state
    for (int w : sizes)
        for (int h : sizes)
            for (int tolerance : tolerances)
                for (bool diagonal : {false, true})
                    for (bool view : {false, true}) {
                        Buffer image = rastertest::Make(w + 6, h + 4, 0);
                        RandomPicture(image, rng);
                        // A view keeps image coordinates; nothing outside it may change.
                        Buffer work = view ? Buffer(image, {3, 2, w + 2, h + 1})
                                           : Buffer(image, image.Bounds());
                        const Pair seed{work.left + int(rng() % unsigned(w)),
                                        work.top + int(rng() % unsigned(h))};
                        Buffer expected = image;
                        Buffer expectedWork(expected, work.Bounds());
                        const Rect want = ReferenceFill(expectedWork, seed,
                                                        std::clamp(tolerance, 0, 765), diagonal);
                        const Rect got = marker.Mark(work, seed, tolerance, diagonal);
                        SCOPED_TRACE(testing::Message()
                                     << w << "x" << h << " tol " << tolerance << " diag "
                                     << diagonal << " view " << view);
                        ASSERT_EQ(Values(image), Values(expected));
                        EXPECT_EQ(got, want);
                    }
}

struct PictureCase {
    const char* name;
    std::vector<std::string> picture; // '.' and 'S' one colour, '#' another
    bool diagonal;
    std::vector<std::string> marked;
};

TEST(FloodMark, Pictures) {
    const PictureCase cases[] = {
        // Opened downwards: from the right leg the fill must come back above and left of the
        // seed and down the left leg.
        {"u shape",
         {"#######", "#.....#", "#.###.#", "#.#.#.#", "#.#.#S#"},
         false,
         {".......", ".mmmmm.", ".m...m.", ".m...m.", ".m...m."}},
        {"corner contact separates", {"S#", "#."}, false, {"m.", ".."}},
        {"corner contact joins", {"S#", "#."}, true, {"m.", ".m"}},
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.name);
        Buffer b = Picture(c.picture, {{'.', 0x336699}, {'S', 0x336699}, {'#', 0x000000}});
        Pair seed;
        for (int y = 0; y < b.Height(); ++y)
            if (auto x = c.picture[size_t(y)].find('S'); x != std::string::npos) seed = {int(x), y};
        fill::FloodMarker().Mark(b, seed, 0, c.diagonal);
        EXPECT_EQ(Marks(b), c.marked);
    }
}

TEST(FloodMark, MarkedSeedOrSeedOutsideMarksNothing) {
    Buffer b = rastertest::Make(9, 9, 0x102030);
    b.At(4, 4) |= Mark;
    const auto before = Values(b);
    fill::FloodMarker marker;
    EXPECT_TRUE(marker.Mark(b, {4, 4}, 765, true).Empty());
    EXPECT_TRUE(marker.Mark(b, {9, 0}, 765, true).Empty());
    Buffer view(b, {0, 0, 3, 3});
    EXPECT_TRUE(marker.Mark(view, {5, 5}, 765, true).Empty());
    EXPECT_EQ(Values(b), before);
}

TEST(FloodMark, SeedIsFillColourComparesAllBits) {
    Buffer b = rastertest::Make(2, 1, 0x112233);
    b.At(1, 0) |= Pixel::EdgeMark;
    EXPECT_TRUE(fill::SeedIsFillColour(b, {0, 0}, 0x112233));
    EXPECT_FALSE(fill::SeedIsFillColour(b, {1, 0}, 0x112233));
    EXPECT_FALSE(fill::SeedIsFillColour(b, {2, 0}, 0));
}

TEST(SineTable, EntriesAndCosineOffset) {
    const auto t = sine::Table();
    // 512·sin(π/8) = 195.9, 512·sin(π/4) = 362.04, negative values truncate toward zero.
    const std::pair<int, int> entries[] = {{0, 0},      {64, 195},   {128, 362},  {256, 512},
                                           {512, 0},    {640, -362}, {768, -512}, {1024, 0},
                                           {1088, 195}, {1279, 511}};
    for (auto [k, v] : entries) EXPECT_EQ(t[size_t(k)], v) << k;
    for (int k = 0; k < 1024; ++k) ASSERT_EQ(t[size_t(k) + 256], t[size_t((k + 256) % 1024)]) << k;
}

} // namespace
