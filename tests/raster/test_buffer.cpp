#include "raster/Buffer.h"
#include "raster/BufferSpare.h"
#include "raster/RasterTestUtil.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <utility>
#include <vector>

namespace {

const int kSizes[] = {1, 7, 8, 9, 31, 32, 33};

void Pattern(Buffer& b, uint32_t seed = 0) {
    rastertest::Pattern(b, seed, 0xFFFFFF);
}

std::vector<uint32_t> Snapshot(const Buffer& b) {
    std::vector<uint32_t> v;
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x) v.push_back(b.At(x, y));
    return v;
}

TEST(Buffer, AllocGivesBoundsAndRefusesBadSizesWithoutChange) {
    Buffer b;
    EXPECT_TRUE(b.Empty());
    ASSERT_TRUE(b.Alloc({7, 9}));
    EXPECT_EQ(b.Bounds(), (Rect{0, 0, 6, 8}));
    EXPECT_EQ(b.stride, 7);
    Pattern(b);
    const auto before = Snapshot(b);
    EXPECT_FALSE(b.Alloc({0, 5}));
    EXPECT_FALSE(b.Alloc({-3, 5}));
    EXPECT_FALSE(b.Alloc({16385, 16384}));
    EXPECT_FALSE(b.Alloc({0x7FFFFFFF, 0x7FFFFFFF}));
    EXPECT_EQ(b.Bounds(), (Rect{0, 0, 6, 8}));
    EXPECT_EQ(Snapshot(b), before);
    b.Free();
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 0);
}

// Large stores come from their own aligned mapping; every pixel of them must be usable and a
// view must keep the mapping alive after its parent is gone.
TEST(Buffer, LargeStoresAreWholeAndOutliveTheirParentInAView) {
    for (Pair size : {Pair{1024, 1024}, Pair{1025, 1023}, Pair{4099, 2049}}) {
        Buffer view;
        {
            Buffer big;
            ASSERT_TRUE(big.Alloc(size));
            big.Box(big.Bounds(), 0x010203);
            big.At(size.x - 1, size.y - 1) = 0xABCDEF;
            view.Alloc(big, {size.x - 2, size.y - 2, size.x - 1, size.y - 1});
        }
        EXPECT_EQ(view.At(size.x - 1, size.y - 1), 0xABCDEFu);
        EXPECT_EQ(view.At(size.x - 2, size.y - 2), 0x010203u);
    }
}

TEST(Buffer, ViewSharesPixelsKeepsCoordinatesAndClipsToParent) {
    Buffer parent;
    ASSERT_TRUE(parent.Alloc({33, 31}));
    Pattern(parent);
    Buffer view(parent, {5, 3, 40, 10});
    EXPECT_EQ(view.Bounds(), (Rect{5, 3, 32, 10}));
    EXPECT_EQ(view.stride, 33);
    EXPECT_EQ(view.At(5, 3), parent.At(5, 3));
    view.PutPixel({6, 4}, 0x123456);
    EXPECT_EQ(parent.At(6, 4), 0x123456u);
    // Drawing outside the view must not reach the parent.
    const uint32_t outside = parent.At(4, 4);
    view.Box({0, 0, 4, 30}, 0xABCDEF);
    EXPECT_EQ(parent.At(4, 4), outside);
    // The view keeps the pixels alive after the parent lets go of them.
    parent.Free();
    EXPECT_EQ(view.At(6, 4), 0x123456u);
    // A rectangle outside the parent gives an empty view.
    Buffer p2;
    ASSERT_TRUE(p2.Alloc({8, 8}));
    Buffer none(p2, {20, 20, 30, 30});
    EXPECT_TRUE(none.Empty());
}

TEST(Buffer, DeepCopyOfViewIsIndependentAndKeepsBounds) {
    Buffer parent;
    ASSERT_TRUE(parent.Alloc({9, 9}));
    Pattern(parent);
    Buffer view(parent, {2, 3, 6, 7});
    Buffer copy = view;
    EXPECT_FALSE(copy.SharesPixelsWith(parent));
    EXPECT_EQ(copy.Bounds(), view.Bounds());
    EXPECT_EQ(Snapshot(copy), Snapshot(view));
    copy.At(2, 3) = 7;
    EXPECT_NE(parent.At(2, 3), 7u);
    Buffer assigned;
    assigned = parent;
    EXPECT_EQ(Snapshot(assigned), Snapshot(parent));
}

// Copy against a plain reference loop, for every size and target offset, both key modes.
TEST(BufferCopy, MatchesReferenceAtRowBoundarySizes) {
    for (int w : kSizes)
        for (int h : {1, 8, 33}) {
            Buffer src;
            ASSERT_TRUE(src.Alloc({w, h}));
            Pattern(src, 77);
            // Every third pixel is the transparent key.
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    if ((x + 2 * y) % 3 == 0) src.At(x, y) = Pixel::Transparent;
            for (Pair pos : {Pair{0, 0}, Pair{-3, 2}, Pair{5, -1}, Pair{30, 30}})
                for (uint32_t key : {Pixel::Transparent, Pixel::CopyAll}) {
                    Buffer dst;
                    ASSERT_TRUE(dst.Alloc({34, 35}));
                    Pattern(dst, 5);
                    std::vector<uint32_t> expect = Snapshot(dst);
                    for (int y = 0; y < h; ++y)
                        for (int x = 0; x < w; ++x) {
                            const int tx = pos.x + x, ty = pos.y + y;
                            if (tx < 0 || ty < 0 || tx >= 34 || ty >= 35) continue;
                            if (key != Pixel::CopyAll && src.At(x, y) == key) continue;
                            expect[ty * 34 + tx] = src.At(x, y);
                        }
                    dst.Copy(src, pos, key);
                    ASSERT_EQ(Snapshot(dst), expect)
                        << w << "x" << h << " at " << pos.x << "," << pos.y << " key " << key;
                }
        }
}

TEST(BufferCopy, ViewsWithOffsetsAndOverlappingViewsOfOneStore) {
    Buffer img;
    ASSERT_TRUE(img.Alloc({32, 32}));
    Pattern(img);
    const Buffer original = img;
    // Source view at (4, 4); copying it into the same image at (6, 5) overlaps itself.
    Buffer srcView(img, {4, 4, 12, 12});
    img.Copy(srcView, {6, 5}, Pixel::CopyAll);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool inside = x >= 6 && x <= 14 && y >= 5 && y <= 13;
            const uint32_t want = inside ? original.At(x - 2, y - 1) : original.At(x, y);
            ASSERT_EQ(img.At(x, y), want) << x << "," << y;
        }
    // A target view clips to its own bounds while using image coordinates.
    Buffer dstView(img, {10, 10, 15, 15});
    Buffer red;
    ASSERT_TRUE(red.Alloc({20, 20}));
    red.Box(red.Bounds(), 0xFF0000);
    const Buffer before = img;
    dstView.Copy(red, {0, 0}, Pixel::CopyAll);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool inside = x >= 10 && x <= 15 && y >= 10 && y <= 15;
            ASSERT_EQ(img.At(x, y), inside ? 0xFF0000u : before.At(x, y));
        }
}

// A stroke's repeated copies against a plain loop: each stamp partly over the one before, widths
// around the vector sizes and the masked-row limit, a source view with its own stride, clipped at
// every edge of a target view away from (0, 0), and positions far outside.
TEST(BufferStamper, RepeatedCopiesMatchAPlainLoopAtEveryEdge) {
    const int64_t far = int64_t(INT_MAX) + 10;
    for (int w : {3, 11, 15, 16, 17, 101, 256, 257, 300})
        for (uint32_t key : {Pixel::Transparent, Pixel::CopyAll}) {
            Buffer parent;
            ASSERT_TRUE(parent.Alloc({w + 3, 7}));
            Pattern(parent, 9);
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < w + 3; ++x)
                    if ((3 * x + y) % 4 == 0) parent.At(x, y) = Pixel::Transparent;
            const Buffer src(parent, {1, 1, w, 5});
            Buffer image;
            ASSERT_TRUE(image.Alloc({w + 20, 30}));
            Pattern(image, 3);
            Buffer view(image, {4, 3, w + 14, 24});
            std::vector<uint32_t> expect = Snapshot(image);
            const std::pair<int64_t, int64_t> spots[] = {
                {4, 3},      {5, 3},       {5, 4},   {13, 20}, // inside, overlapping
                {2, 8},      {-w + 6, 9},                      // over the left edge
                {17, 8},     {w + 14, 9},                      // over the right edge
                {6, 0},      {6, -1},                          // over the top
                {7, 22},     {7, 24},                          // over the bottom
                {1, 1},      {w + 12, 22},                     // two corners
                {-w + 3, 8}, {w + 15, 8},  {6, -2},  {6, 25},  // just outside
                {-far, 5},   {far, far},   {5, -far}};
            Stamper stamper(view, src, key);
            for (auto [x, y] : spots) {
                stamper.At(x, y);
                for (int j = 0; j < 5; ++j)
                    for (int i = 0; i < w; ++i) {
                        const int64_t tx = x + i, ty = y + j;
                        const uint32_t p = src.At(src.left + i, src.top + j);
                        if (tx < 4 || tx > w + 14 || ty < 3 || ty > 24 || p == key) continue;
                        expect[size_t(ty * (w + 20) + tx)] = p;
                    }
                ASSERT_EQ(Snapshot(image), expect)
                    << w << " wide at " << x << "," << y << " key " << key;
            }
        }
}

TEST(BufferDraw, LineCoversBresenhamPixelsIncludingEndsAndClips) {
    Buffer b;
    ASSERT_TRUE(b.Alloc({9, 7}));
    b.Box(b.Bounds(), 0);
    b.Line({6, 2}, {0, 0}, 0xFFFFFF);
    // Hand-drawn: slope 1/3 has no ties, so the nearest row of each column is unambiguous.
    const char* want[] = {"##.......", "..###....", ".....##.."};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(b.At(x, y), want[y][x] == '#' ? 0xFFFFFFu : 0u) << x << "," << y;
    // Reversed direction draws the same pixel count; far-off points are clipped, not wrapped.
    Buffer c;
    ASSERT_TRUE(c.Alloc({8, 8}));
    c.Box(c.Bounds(), 0);
    c.Line({-100, 3}, {100, 3}, 1);
    for (int x = 0; x < 8; ++x) EXPECT_EQ(c.At(x, 3), 1u);
    c.Line({-2000000000, 5}, {2000000000, 5}, 4); // walks only the part inside
    for (int x = 0; x < 8; ++x) EXPECT_EQ(c.At(x, 5), 4u);
    c.Line({-5, -5}, {-1, 20}, 2); // wholly left of the buffer
    c.VLine(2, 6, 1, 3);           // reversed ends
    for (int y = 0; y < 8; ++y) EXPECT_EQ(c.At(2, y), (y >= 1 && y <= 6) ? 3u : 0u);
}

// Drawing any figure twice in the preview colour restores every pixel; once changes it.
TEST(BufferDraw, ExclusiveOrFiguresDrawnTwiceRestore) {
    std::mt19937 rng(7);
    for (int s : kSizes) {
        Buffer b;
        ASSERT_TRUE(b.Alloc({s, s + 2}));
        Pattern(b, s);
        Buffer view(b, {1, 1, s, s});
        const auto before = Snapshot(b);
        for (int round = 0; round < 20; ++round) {
            std::uniform_int_distribution<int> d(-4, s + 4);
            const Pair a{d(rng), d(rng)}, c{d(rng), d(rng)};
            for (Buffer* t : {&b, &view}) {
                t->Line(a, c, Pixel::Preview);
                t->Box({a.x, a.y, c.x, c.y}, Pixel::Preview);
                t->VLine(a.x, a.y, c.y, Pixel::Preview);
                t->PutPixel(c, Pixel::Preview);
                t->PutPixel(c, Pixel::Preview);
                t->VLine(a.x, a.y, c.y, Pixel::Preview);
                t->Box({a.x, a.y, c.x, c.y}, Pixel::Preview);
                t->Line(c, a, Pixel::Preview); // reverse direction: same pixel set
                ASSERT_EQ(Snapshot(b), before) << "size " << s << " round " << round;
            }
        }
        b.Line({0, 0}, {s - 1, 0}, Pixel::Preview);
        EXPECT_NE(Snapshot(b), before);
        EXPECT_EQ(b.At(0, 0), before[0] ^ 0x8F8F8Fu);
    }
}

TEST(BufferDraw, ChColorAndBoolTouchExactValuesOnly) {
    Buffer b;
    ASSERT_TRUE(b.Alloc({9, 3}));
    const uint32_t values[] = {0x000010,   0x01000010, 0x03000010, 0x02ABCDEF, 0x00ABCDEF,
                               0x01000000, 0xFFFFFF,   0x000010,   0x02000010};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 9; ++x) b.At(x, y) = values[x];
    Buffer view(b, {0, 1, 8, 1});
    view.ChColor(0x000010, 0x777777); // only row 1, only the exact 32-bit value
    EXPECT_EQ(b.At(0, 1), 0x777777u);
    EXPECT_EQ(b.At(7, 1), 0x777777u);
    EXPECT_EQ(b.At(1, 1), 0x01000010u);
    EXPECT_EQ(b.At(0, 0), 0x000010u);
    b.Bool(1, Pixel::ClearEdgeMark);
    EXPECT_EQ(b.At(2, 2), 0x01000010u);
    EXPECT_EQ(b.At(3, 2), 0x00ABCDEFu);
    EXPECT_EQ(b.At(5, 2), 0x01000000u);
    b.Bool(1, Pixel::ClearMarks);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(b.At(x, y) & 0xFF000000u, 0u);
    const auto before = Snapshot(b);
    b.Bool(0, 0); // unknown operation
    b.Bool(7, 0);
    EXPECT_EQ(Snapshot(b), before);
}

} // namespace

// A large store freed is taken again only by a store of its very size (its old pixels show
// it); one of another size gets fresh zeroed pages, and every pixel of either can be written.
TEST(BufferSpare, OnlyTheSameSizeTakesAFreedStore) {
    struct Case {
        Pair first, second;
        bool same;
    };
    const Case cases[] = {{{1024, 1100}, {1024, 1100}, true},
                          {{1024, 1100}, {1100, 1024}, true}, // the same number of pixels
                          {{1024, 1100}, {1024, 2300}, false},
                          {{1024, 2300}, {1024, 1100}, false}};
    for (const Case& c : cases) {
        buffers::DropSpare();
        Buffer first;
        ASSERT_TRUE(first.Alloc(c.first));
        first.At(0, 0) = 0x00777777;
        first.Free();
        Buffer second;
        ASSERT_TRUE(second.Alloc(c.second));
        EXPECT_EQ(second.At(0, 0), c.same ? 0x00777777u : 0u) << c.second.x << "x" << c.second.y;
        second.Box(second.Bounds(), 0x00ABCDEF);
        EXPECT_EQ(second.At(c.second.x - 1, c.second.y - 1), 0x00ABCDEFu);
    }
    buffers::DropSpare();
}

// A zeroed buffer is zero even where its memory is a freed store taken again.
TEST(BufferSpare, AZeroedBufferIsZeroOnAReusedStore) {
    for (const Pair size : {Pair{1024, 1100}, Pair{64, 48}}) {
        buffers::DropSpare();
        for (int round = 0; round < 2; ++round) {
            Buffer b;
            ASSERT_TRUE(b.AllocZeroed(size));
            EXPECT_EQ(b.At(0, 0) | b.At(size.x / 2, size.y / 2) | b.At(size.x - 1, size.y - 1), 0u)
                << size.x << " round " << round;
            b.Box(b.Bounds(), 0x00777777);
        }
    }
    buffers::DropSpare();
}
