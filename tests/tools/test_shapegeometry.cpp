// Box and ellipse arithmetic, the filled ellipse's spans and the outline figures.
#include "brush/Brush.h"
#include "raster/FillTestUtil.h"
#include "tools/FigureSink.h"
#include "tools/ShapeGeometry.h"
#include "tools/StrokeGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace {

using namespace filltest;

TEST(ShapeGeometry, SquareConstraint) {
    struct Case {
        Pair first, p, want;
    };
    const Case cases[] = {
        {{10, 10}, {13, 20}, {20, 20}}, {{10, 10}, {5, 12}, {5, 15}},
        {{10, 10}, {4, 2}, {2, 2}},     {{10, 10}, {10, 20}, {10, 20}}, // no width: a line
        {{10, 10}, {13, 10}, {13, 10}},
    };
    for (const Case& c : cases) EXPECT_EQ(shape::ConstrainSquare(c.first, c.p), c.want);
    EXPECT_EQ(shape::BoxRect({9, 2}, {3, 7}), (Rect{3, 2, 9, 7}));
}

TEST(ShapeGeometry, Radii) {
    EXPECT_EQ(shape::CircleRadius({0, 0}, {3, 4}), 5);
    EXPECT_EQ(shape::CircleRadius({5, 5}, {5, 36}), 31);
    EXPECT_EQ(shape::CircleRadius({0, 0}, {1, 1}), 1); // 1.414
    EXPECT_EQ(shape::EllipseRadii({0, 0}, {10, -5}), (Pair{14, 7}));
    EXPECT_EQ(shape::EllipseRadii({3, 3}, {3, 3}), (Pair{0, 0}));
}

TEST(ShapeGeometry, ChordCounts) {
    const std::pair<int, int> cases[] = {
        {0, 16},
        {31, 16},
        {32, 32},
        {63, 32},
        {64, 64},
        {191, 512},
        {192, 1024},
        {200, 1024},
        {864, 1024},
        {1023, 1024},
        {2000, 1024},
        {1024, 16}, // the shift count wraps at 32
        {2147483647, 1024},
    };
    for (auto [r, n] : cases) {
        EXPECT_EQ(shape::ChordCount(r, 0), n) << r;
        EXPECT_EQ(shape::ChordCount(0, r), n) << r;
    }
}

TEST(ShapeGeometry, PolygonCorners) {
    const auto p = shape::EllipsePolygon({100, 100}, 31, 31);
    ASSERT_EQ(p.size(), 17u);
    EXPECT_EQ(p[0], (Pair{100, 69}));
    // 31 · 195 / 512 = 11.8 and 31 · 473 / 512 = 28.6, both truncated.
    EXPECT_EQ(p[1], (Pair{89, 72}));
    EXPECT_EQ(p[4], (Pair{69, 100}));
    EXPECT_EQ(p[8], (Pair{100, 131}));
    EXPECT_EQ(p[12], (Pair{131, 100}));
    EXPECT_EQ(p[16], p[0]);

    const auto big = shape::EllipsePolygon({0, 0}, 2000, 1500);
    ASSERT_EQ(big.size(), 1025u);
    EXPECT_EQ(big[256], (Pair{-2000, 0}));
    EXPECT_EQ(big[512], (Pair{0, 1500}));
    EXPECT_EQ(shape::PolygonLength({{0, 0}, {3, -7}, {10, -7}}), 14);
}

TEST(ShapeGeometry, EllipseSpacing) {
    EXPECT_EQ(shape::EllipseSpacing(stroke::EveryPixel, 9, 100), 1);
    EXPECT_EQ(shape::EllipseSpacing(stroke::Distance, 9, 100), 9);
    EXPECT_EQ(shape::EllipseSpacing(stroke::Count, 8, 100), 12.5);
    EXPECT_EQ(shape::EllipseSpacing(stroke::Count, 0, 100), 100);
}

// The filled circle lies within its radius, one span per row, symmetric about the centre, widening
// to the middle row and narrowing after it. In the lower half each row starts where the walk
// first reaches it, the outer end of a flat run, so it covers the circle but for a chord's sag
// and the table's rounding; in the upper half that first point is the inner end.
TEST(ShapeGeometry, FilledCircleSpans) {
    for (int r : {0, 1, 5, 31, 32, 100, 300, 2000}) {
        SCOPED_TRACE(r);
        const Pair c{r + 3, r + 5};
        int rows = 0, lastRow = c.y - r - 1, lastLeft = c.x;
        shape::EllipseSpans(c, r, r, [&](int y, int l, int rt) {
            const int aboveRow = std::exchange(lastRow, y), aboveLeft = std::exchange(lastLeft, l);
            ++rows;
            ASSERT_EQ(y, aboveRow + 1);
            ASSERT_EQ(l + rt, 2 * c.x);
            // The table's 1/512 steps cost up to r/512 pixels besides the sag.
            const double dy = y - c.y, inner = r - 2.0 - r / 512.0;
            ASSERT_LE((l - c.x) * (l - c.x) + dy * dy, (r + 0.5) * (r + 0.5));
            if (dy >= 0 && dy < inner) {
                ASSERT_LE(l, c.x - int(std::sqrt(inner * inner - dy * dy)));
            }
            if (dy <= 0) {
                ASSERT_LE(l, aboveLeft);
            } else {
                ASSERT_GE(l, aboveLeft);
            }
        });
        EXPECT_EQ(rows, 2 * r + 1);
    }
}

TEST(ShapeGeometry, FilledEllipseInBuffers) {
    Buffer image = rastertest::Make(60, 50, 0);
    rastertest::Pattern(image, 3);
    const auto before = Values(image);
    Buffer view(image, {10, 10, 49, 39});
    // The rubber band: an exclusive-or value twice restores, the rectangle is the bounding box.
    EXPECT_EQ(shape::FillEllipse(view, {30, 25}, 40, 12, Pixel::Preview), (Rect{-10, 13, 70, 37}));
    EXPECT_NE(Values(image), before);
    shape::FillEllipse(view, {30, 25}, 40, 12, Pixel::Preview);
    EXPECT_EQ(Values(image), before);

    // Marking keeps colours and stays in the view; colouring fills the same pixels.
    Buffer coloured = image;
    shape::MarkEllipse(view, {30, 25}, 40, 12);
    shape::FillEllipse(coloured, {30, 25}, 40, 12, 0xABCDEF);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 60; ++x) {
            const uint32_t p = image.At(x, y);
            ASSERT_EQ(p & 0xFFFFFF, before[size_t(y * 60 + x)]);
            const bool shouldMark = view.Contains(x, y) && coloured.At(x, y) == 0xABCDEF;
            ASSERT_EQ((p & Mark) != 0, shouldMark) << x << "," << y;
        }
}

TEST(ShapeGeometry, MarkBoxClipsAndKeepsColours) {
    Buffer image = rastertest::Make(10, 8, 0x123456);
    Buffer view(image, {2, 2, 7, 5});
    EXPECT_EQ(shape::MarkBox(view, {9, 4}, {0, 3}), (Rect{0, 3, 9, 4}));
    EXPECT_EQ(Marks(image),
              (std::vector<std::string>{"..........", "..........", "..........", "..mmmmmm..",
                                        "..mmmmmm..", "..........", "..........", ".........."}));
    EXPECT_EQ(image.At(4, 4), 0x123456 | Mark);
}

// Records each piece and plots its walk positions like a preview.
struct RecordingSink : FigureSink {
    struct Call {
        Pair a, b;
        double spacing, phase;
    };
    std::vector<Call> calls;
    Buffer* plot = nullptr;
    double Piece(Pair a, Pair b, double spacing, double phase) override {
        calls.push_back({a, b, spacing, phase});
        return plot ? Brush::PreviewLine(*plot, a, b, spacing, phase, Pixel::Preview) : 1;
    }
};

TEST(ShapeGeometry, EllipseFigureStampsEachCornerOnce) {
    Buffer image = rastertest::Make(80, 80, 0);
    RecordingSink sink;
    sink.plot = &image;
    figure::Ellipse(sink, {40, 40}, 33, 20, {stroke::EveryPixel, 2, 0});
    ASSERT_EQ(sink.calls.size(), 32u);
    EXPECT_EQ(sink.calls[0].phase, 2);
    const auto corners = shape::EllipsePolygon({40, 40}, 33, 20);
    // A corner walked twice would be exclusive-ored away again.
    for (const Pair& p : corners) EXPECT_EQ(image.At(p.x, p.y), Pixel::Preview & 0xFFFFFF);
    for (size_t i = 1; i < sink.calls.size(); ++i) EXPECT_EQ(sink.calls[i].a, sink.calls[i - 1].b);
}

TEST(ShapeGeometry, OutlineBoxIsFourStrokesRoundTheBox) {
    RecordingSink sink;
    figure::OutlineBox(sink, {2, 3}, {9, 7});
    ASSERT_EQ(sink.calls.size(), 4u);
    const Pair path[] = {{2, 3}, {9, 3}, {9, 7}, {2, 7}, {2, 3}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(sink.calls[i].a, path[i]);
        EXPECT_EQ(sink.calls[i].b, path[i + 1]);
        EXPECT_EQ(sink.calls[i].spacing, 1);
        EXPECT_EQ(sink.calls[i].phase, 1);
    }
}

} // namespace
