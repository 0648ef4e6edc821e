// Box and ellipse arithmetic, the filled ellipse's spans and the ellipse figure.
#include "brush/Brush.h"
#include "raster/FillTestUtil.h"
#include "tools/FigureSink.h"
#include "tools/ShapeGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace {

using namespace filltest;

TEST(ShapeGeometry, SquareAndRadii) {
    const Pair squares[][3] = {// first, pointer, constrained
                               {{10, 10}, {13, 20}, {20, 20}},
                               {{10, 10}, {4, 2}, {2, 2}},
                               {{10, 10}, {10, 20}, {10, 20}}, // no width: a line
                               {{10, 10}, {13, 10}, {13, 10}}};
    for (const auto& [first, p, want] : squares) EXPECT_EQ(shape::ConstrainSquare(first, p), want);
    EXPECT_EQ(shape::CircleRadius({5, 5}, {5, 36}), 31);
    EXPECT_EQ(shape::CircleRadius({0, 0}, {1, 1}), 1); // 1.414
    EXPECT_EQ(shape::EllipseRadii({0, 0}, {10, -5}), (Pair{14, 7}));
}

TEST(ShapeGeometry, ChordCounts) {
    const std::pair<int, int> cases[] = {
        {0, 16},
        {31, 16},
        {32, 32},
        {191, 512},
        {192, 1024},
        {864, 1024},
        {2000, 1024},
        {1024, 1024}, // no wrap of the shift count
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
    // 31 · 195 / 512 = 11.8 and 31 · 473 / 512 = 28.6, both truncated.
    const Pair corners[][2] = {{p[0], {100, 69}},  {p[1], {89, 72}},    {p[4], {69, 100}},
                               {p[8], {100, 131}}, {p[12], {131, 100}}, {p[16], {100, 69}}};
    for (const auto& [got, want] : corners) EXPECT_EQ(got, want);
    const auto big = shape::EllipsePolygon({0, 0}, 2000, 1500);
    ASSERT_EQ(big.size(), 1025u);
    EXPECT_EQ(big[256], (Pair{-2000, 0}));
    EXPECT_EQ(shape::PolygonLength({{0, 0}, {3, -7}, {10, -7}}), 14);
}

// One span per row, symmetric about the centre, within the radius, widening to the middle row
// and narrowing after it. Below the middle each row starts where the walk first reaches it, the
// outer end of a flat run, so it covers the circle but for a chord's sag and the table's 1/512.
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
            const double dy = y - c.y, inner = r - 2.0 - r / 512.0;
            ASSERT_LE((l - c.x) * (l - c.x) + dy * dy, (r + 0.5) * (r + 0.5));
            ASSERT_TRUE(dy <= 0 ? l <= aboveLeft : l >= aboveLeft);
            if (dy >= 0 && dy < inner) {
                ASSERT_LE(l, c.x - int(std::sqrt(inner * inner - dy * dy)));
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
    // The rubber band: an exclusive-or value twice restores the image.
    EXPECT_EQ(shape::FillEllipse(view, {30, 25}, 40, 12, Pixel::Preview), (Rect{-10, 13, 70, 37}));
    EXPECT_NE(Values(image), before);
    shape::FillEllipse(view, {30, 25}, 40, 12, Pixel::Preview);
    EXPECT_EQ(Values(image), before);
    // Marking keeps colours, stays in the view and covers what a colour fill covers; so does a box.
    Buffer coloured = image;
    shape::FillEllipse(coloured, {30, 25}, 40, 12, 0xABCDEF);
    shape::MarkEllipse(view, {30, 25}, 40, 12);
    shape::MarkBox(view, {0, 45}, {12, 12});
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool mark =
                view.Contains(x, y) && (coloured.At(x, y) == 0xABCDEF || (x <= 12 && y >= 12));
            ASSERT_EQ(image.At(x, y), before[size_t(y * 60 + x)] | (mark ? Mark : 0))
                << x << "," << y;
        }
}

// A corner walked twice would be exclusive-ored away again in the rubber band.
TEST(ShapeGeometry, EllipseFigurePlotsEachCornerOnce) {
    struct Plot : FigureSink {
        Buffer image = rastertest::Make(80, 80, 0);
        int pieces = 0;
        double Piece(Pair a, Pair b, double spacing, double phase) override {
            EXPECT_EQ(phase, pieces++ ? 1.0 + 1.0 : 2.0); // spacing 1 leaves phase 1 each time
            return Brush::PreviewLine(image, a, b, spacing, phase, Pixel::Preview);
        }
    } sink;
    figure::Ellipse(sink, {40, 40}, 33, 20, {});
    EXPECT_EQ(sink.pieces, 32);
    for (const Pair& p : shape::EllipsePolygon({40, 40}, 33, 20))
        EXPECT_EQ(sink.image.At(p.x, p.y), Pixel::Preview & 0xFFFFFF);
}

} // namespace
