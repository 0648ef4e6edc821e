#include "brush/BrushTestUtil.h"

#include <climits>
#include <cstdlib>

using namespace brushtest;
using rastertest::Make;

namespace {

// Columns [first, last] of every row, rows top to bottom.
struct Span {
    int first, last;
};

void ExpectSpans(const Buffer& b, const std::vector<Span>& spans, uint32_t colour) {
    ASSERT_EQ(b.Height(), int(spans.size()));
    ASSERT_EQ(b.Width(), b.Height());
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const bool in = x >= spans[size_t(y)].first && x <= spans[size_t(y)].last;
            EXPECT_EQ(b.At(x, y), in ? colour : T) << "at " << x << "," << y;
        }
}

TEST(BrushBuiltIn, CircleRadiusOneIsAPlusAndTakesColorTechnique) {
    Brush brush;
    ASSERT_TRUE(brush.SelectBuiltIn(BrushShape::Circular, 1, 0x123456, kBack));
    ExpectSpans(brush.source, {{1, 1}, {0, 2}, {1, 1}}, 0x123456);
    EXPECT_FALSE(brush.custom);
    EXPECT_EQ(brush.technique, Technique::Color);
    EXPECT_EQ(brush.shape, BrushShape::Circular);
    EXPECT_EQ(brush.radius, 1);
    EXPECT_EQ(Pixels(brush.stamp), Pixels(brush.source));
}

TEST(BrushBuiltIn, LargerCirclesFollowTheMidpointSpans) {
    // Worked through the decision term by hand: rows r ± i span the half-width rr of that step.
    Brush brush;
    ASSERT_TRUE(brush.SelectBuiltIn(BrushShape::Circular, 5, 0xABCDEF, kBack));
    ExpectSpans(
        brush.source,
        {{4, 6}, {3, 7}, {2, 8}, {1, 9}, {0, 10}, {0, 10}, {0, 10}, {1, 9}, {2, 8}, {3, 7}, {4, 6}},
        0xABCDEF);

    ASSERT_TRUE(brush.SelectBuiltIn(BrushShape::Circular, 10, 0xABCDEF, kBack));
    std::vector<Span> r10(21, Span{0, 20});
    const Span top[] = {{8, 12}, {6, 14}, {5, 15}, {4, 16}, {3, 17}, {2, 18}, {1, 19}, {1, 19}};
    for (int i = 0; i < 8; ++i) r10[size_t(i)] = r10[size_t(20 - i)] = top[i];
    ExpectSpans(brush.source, r10, 0xABCDEF);

    ASSERT_TRUE(brush.SelectBuiltIn(BrushShape::Circular, 0, 0xABCDEF, kBack));
    ExpectSpans(brush.source, {{0, 0}}, 0xABCDEF);
}

TEST(BrushBuiltIn, SquareIsSolidAndNegativeRadiusKeepsTheSize) {
    Brush brush;
    ASSERT_TRUE(brush.SelectBuiltIn(BrushShape::Square, 2, 0x010203, kBack));
    EXPECT_EQ(Pixels(brush.source), std::vector<uint32_t>(25, 0x010203));
    ASSERT_TRUE(brush.SelectBuiltIn(BrushShape::Circular, -1, 0x010203, kBack));
    EXPECT_EQ(brush.source.Width(), 5);
    EXPECT_EQ(brush.shape, BrushShape::Circular);
}

TEST(BrushBuiltIn, TooLargeIsRefusedAndTheBrushStays) {
    Brush brush;
    ASSERT_TRUE(brush.SelectBuiltIn(BrushShape::Square, 3, 0x111111, kBack));
    EXPECT_FALSE(brush.SelectBuiltIn(BrushShape::Circular, 20000, 0x222222, kBack));
    EXPECT_FALSE(brush.SelectBuiltIn(BrushShape::Circular, INT_MAX, 0x222222, kBack));
    EXPECT_EQ(brush.shape, BrushShape::Square);
    EXPECT_EQ(brush.radius, 3);
    EXPECT_EQ(Pixels(brush.stamp), std::vector<uint32_t>(49, 0x111111));
}

TEST(BrushTechnique, PaintAndReplaceNeedACustomBrush) {
    Brush brush;
    ASSERT_TRUE(brush.SelectBuiltIn(BrushShape::Square, 1, kDraw, kBack));
    EXPECT_FALSE(brush.SetTechnique(Technique::Paint, kDraw, kBack));
    EXPECT_FALSE(brush.SetTechnique(Technique::Replace, kDraw, kBack));
    EXPECT_FALSE(brush.SetTechnique(7, kDraw, kBack));
    EXPECT_EQ(brush.technique, Technique::Color);
    EXPECT_TRUE(brush.SetTechnique(Technique::Color, kDraw, kBack));

    Brush cut = CustomFrom({{1, T}});
    EXPECT_EQ(cut.technique, Technique::Paint);
    EXPECT_TRUE(cut.SetTechnique(Technique::Replace, kDraw, kBack));
    EXPECT_EQ(cut.technique, Technique::Replace);
    EXPECT_STREQ(Brush::TechniqueLetter(Technique::Paint), "P");
    EXPECT_STREQ(Brush::TechniqueLetter(Technique::Color), "C");
    EXPECT_STREQ(Brush::TechniqueLetter(Technique::Replace), "R");
}

TEST(BrushTechnique, StampForEachTechniqueAndButton) {
    const uint32_t red = 0xFF0000, blue = 0x0000FF, key = 0x00FF00;
    const uint32_t draw = 0x111111, back = 0x222222, paper = 0x808080;
    Brush brush = CustomFrom({{red, T, blue}}, 1, key);
    const auto stamped = [&](int technique, bool right) {
        brush.technique = technique;
        EXPECT_TRUE(brush.PrepareStamp(right, draw, back));
        Buffer work = Make(3, 1, paper);
        brush.StampAt(work, 0, 0);
        return Pixels(work);
    };
    using V = std::vector<uint32_t>;
    EXPECT_EQ(stamped(Technique::Paint, false), (V{red, paper, blue}));
    EXPECT_EQ(stamped(Technique::Color, false), (V{draw, paper, draw}));
    // The key colour captured with the brush, not today's background.
    EXPECT_EQ(stamped(Technique::Replace, false), (V{red, key, blue}));
    EXPECT_EQ(stamped(Technique::Paint, true), (V{back, paper, back}));
    EXPECT_EQ(stamped(Technique::Color, true), (V{back, paper, back}));
    EXPECT_EQ(stamped(Technique::Replace, true), (V{back, back, back}));
    // The source is never touched by preparing.
    EXPECT_EQ(Pixels(brush.source), (V{red, T, blue}));
}

TEST(BrushHandle, StampPutsTheHandlePixelOnThePointer) {
    // Brush pixel (x, y) holds 100 + 10y + x, so the pixel under the pointer names itself.
    const auto make = [](int handle) {
        Brush brush = CustomFrom({{100, 101, 102, 103},
                                  {110, 111, 112, 113},
                                  {120, 121, 122, 123},
                                  {130, 131, 132, 133}},
                                 handle);
        return brush;
    };
    const uint32_t expected[] = {122, 100, 103, 133, 130};
    for (int handle = 0; handle <= 4; ++handle) {
        const Brush brush = make(handle);
        Buffer work = Make(20, 20, 0);
        brush.StampAt(work, 10, 10);
        EXPECT_EQ(work.At(10, 10), expected[handle]) << "handle " << handle;
        const Rect r = brush.StampRect({10, 10});
        EXPECT_EQ(r.Width(), 4);
        EXPECT_EQ(work.At(r.left, r.top), 100u) << "handle " << handle;
        EXPECT_EQ(work.At(r.right, r.bottom), 133u) << "handle " << handle;
    }
}

TEST(BrushStamp, ClipsAtTheEdgesAndToAView) {
    Brush brush;
    ASSERT_TRUE(brush.SelectBuiltIn(BrushShape::Square, 2, 0xFFFFFF, kBack));

    Buffer small = Make(4, 4, 0);
    const Pair spots[] = {
        {-1, -1}, {5, 5}, {-100, 2}, {INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}, {INT_MAX, INT_MAX}};
    for (Pair p : spots) brush.StampAt(small, p.x, p.y);
    // Only the first two reach the buffer: (0..1, 0..1) and (3, 3).
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(small.At(x, y), (x <= 1 && y <= 1) || (x == 3 && y == 3) ? 0xFFFFFFu : 0u);

    Buffer parent = Make(20, 20, 0);
    Buffer view(parent, {5, 6, 9, 10});
    ASSERT_EQ(view.left, 5);
    brush.StampAt(view, 4, 4); // covers (2..6, 2..6): only (5..6, 6) lies inside the view
    brush.StampLine(view, {-50, -50}, {70, 70}, 1, 1);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            // The diagonal stamps cover |x - y| <= 4 inside the view; the first one adds nothing.
            const bool inView = x >= 5 && x <= 9 && y >= 6 && y <= 10;
            const bool hit = inView && (std::abs(x - y) <= 4 || (y == 6 && x <= 6));
            EXPECT_EQ(parent.At(x, y), hit ? 0xFFFFFFu : 0u) << x << "," << y;
        }
}

TEST(BrushStamp, EmptyBrushStampsNothing) {
    Brush brush;
    Buffer work = Make(3, 3, 5);
    brush.StampAt(work, 1, 1);
    Rect covered;
    EXPECT_EQ(brush.StampLine(work, {0, 0}, {2, 2}, 1, 1, &covered), 1.0);
    EXPECT_EQ(Pixels(work), std::vector<uint32_t>(9, 5));
    EXPECT_EQ(covered, (Rect{0, 0, 2, 2}));
}

} // namespace
