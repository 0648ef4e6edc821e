#include "color/QuickPalette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <vector>

TEST(QuickPalette, WantedCountsRoundUpToAPaletteSize) {
    const struct {
        int wanted, cells, index;
    } cases[] = {{INT_MIN, 8, 0}, {-3, 8, 0},  {0, 8, 0},   {8, 8, 0},       {9, 12, 1},
                 {12, 12, 1},     {13, 16, 2}, {16, 16, 2}, {17, 24, 3},     {24, 24, 3},
                 {25, 32, 4},     {32, 32, 4}, {33, 32, 4}, {INT_MAX, 32, 4}};
    for (const auto& c : cases) {
        EXPECT_EQ(QuickPalette::AdjustCount(c.wanted), c.cells) << c.wanted;
        EXPECT_EQ(QuickPalette::SizeIndex(c.wanted), c.index) << c.wanted;
    }
    EXPECT_EQ(QuickPalette::Layout(-1).cells, 8);
    EXPECT_EQ(QuickPalette::Layout(9).cells, 32);
}

TEST(QuickPalette, CellsTileTheBlockAboveTheButtons) {
    EXPECT_EQ(QuickPalette::CellGeometry(QuickPalette::Layout(0), 5), (CellRect{28, 56, 28, 28}));
    EXPECT_EQ(QuickPalette::CellGeometry(QuickPalette::Layout(1), 11), (CellRect{28, 90, 28, 18}));
    EXPECT_EQ(QuickPalette::CellGeometry(QuickPalette::Layout(2), 6), (CellRect{28, 28, 14, 28}));
    EXPECT_EQ(QuickPalette::CellGeometry(QuickPalette::Layout(4), 31), (CellRect{42, 98, 14, 14}));

    // Every size: each pixel of the 56-wide block is covered at most once, no cell reaches the
    // buttons at y 112, and whole rows are covered.
    for (int index = 0; index < QuickPalette::kSizeCount; ++index) {
        const PaletteLayout& layout = QuickPalette::Layout(index);
        std::vector<int> covered(56 * 112, 0);
        int bottom = 0;
        for (int i = 0; i < layout.cells; ++i) {
            const CellRect r = QuickPalette::CellGeometry(layout, i);
            ASSERT_GE(r.left, 0);
            ASSERT_LE(r.left + r.width, 56);
            ASSERT_LE(r.top + r.height, 112) << index << " " << i;
            for (int y = r.top; y < r.top + r.height; ++y)
                for (int x = r.left; x < r.left + r.width; ++x) ++covered[size_t(y * 56 + x)];
            bottom = std::max(bottom, r.top + r.height);
        }
        for (int y = 0; y < 112; ++y)
            for (int x = 0; x < 56; ++x)
                ASSERT_EQ(covered[size_t(y * 56 + x)], y < bottom ? 1 : 0) << index;
    }
}

TEST(QuickPalette, StartsWithTheEightDefaultsAndHintsRedGreenBlue) {
    QuickPalette p;
    EXPECT_EQ(p.Colours(), (std::vector<uint32_t>{0x000000, 0x00FFFF, 0x0000FF, 0xFF00FF, 0x00FF00,
                                                  0xFFFF00, 0xFF0000, 0xFFFFFF}));
    EXPECT_EQ(QuickPalette::Hint(0x00FFFF), QStringLiteral("(0,255,255)"));
    EXPECT_EQ(QuickPalette::Hint(0x123456), QStringLiteral("(18,52,86)"));
    EXPECT_EQ(p.Colour(8), 0u);
    EXPECT_EQ(p.Colour(-1), 0u);
    p.SetColour(3, 0x01ABCDEF); // the transparent mark must never reach a cell
    EXPECT_EQ(p.Colour(3), 0xABCDEFu);
    p.SetColour(8, 0x111111);
    EXPECT_EQ(p.Count(), 8);
}

TEST(QuickPalette, RebuildKeepsExistingCellsAndGivesNewOnesTheirDefaults) {
    QuickPalette p;
    p.SetColour(3, 0x123456);
    EXPECT_EQ(p.Rebuild(10), 1);
    ASSERT_EQ(p.Count(), 12);
    EXPECT_EQ(p.Colour(3), 0x123456u);
    EXPECT_EQ(p.Colour(7), 0xFFFFFFu);
    EXPECT_EQ(p.Colour(8), 0x888888u);
    EXPECT_EQ(p.Colour(11), 0x880088u);

    EXPECT_EQ(p.Rebuild(100), 4);
    ASSERT_EQ(p.Count(), 32);
    EXPECT_EQ(p.Colour(31), 0x88FFFFu);
    p.SetColour(20, 0x010203);
    // Shrinking removes the cells; growing again brings back defaults, not the lost colours.
    EXPECT_EQ(p.Rebuild(8), 0);
    EXPECT_EQ(p.Rebuild(24), 3);
    EXPECT_EQ(p.Colour(20), 0x00CC00u);
    EXPECT_EQ(p.Colour(3), 0x123456u);
}

TEST(QuickPalette, PressesOnCellsPickOrStoreSwatchColours) {
    QuickPalette p;
    std::array<uint32_t, 2> swatches{0xAAAAAA, 0x555555};

    FastColorOutcome o = p.SelectFastColor(2, CellButton::Left, false, swatches);
    EXPECT_EQ(o.kind, FastColorOutcome::SwatchTook);
    EXPECT_EQ(o.swatch, DrawSwatch);
    EXPECT_EQ(swatches, (std::array<uint32_t, 2>{0x0000FF, 0x555555}));

    o = p.SelectFastColor(6, CellButton::Right, false, swatches);
    EXPECT_EQ(o.kind, FastColorOutcome::SwatchTook);
    EXPECT_EQ(o.swatch, BackSwatch);
    EXPECT_EQ(swatches, (std::array<uint32_t, 2>{0x0000FF, 0xFF0000}));

    o = p.SelectFastColor(4, CellButton::Middle, false, swatches);
    EXPECT_EQ(o.kind, FastColorOutcome::Nothing);
    o = p.SelectFastColor(4, CellButton::Middle, true, swatches);
    EXPECT_EQ(o.kind, FastColorOutcome::Nothing);
    EXPECT_EQ(swatches, (std::array<uint32_t, 2>{0x0000FF, 0xFF0000}));
    EXPECT_EQ(p.Colour(4), 0x00FF00u);

    // With a modifier the cell takes the swatch's colour and the swatch stays.
    swatches = {0x102030, 0x405060};
    o = p.SelectFastColor(0, CellButton::Left, true, swatches);
    EXPECT_EQ(o.kind, FastColorOutcome::CellTook);
    EXPECT_EQ(o.swatch, DrawSwatch);
    EXPECT_EQ(p.Colour(0), 0x102030u);
    o = p.SelectFastColor(7, CellButton::Right, true, swatches);
    EXPECT_EQ(o.swatch, BackSwatch);
    EXPECT_EQ(p.Colour(7), 0x405060u);
    EXPECT_EQ(swatches, (std::array<uint32_t, 2>{0x102030, 0x405060}));

    for (int outside : {-1, 8, INT_MAX})
        EXPECT_EQ(p.SelectFastColor(outside, CellButton::Left, false, swatches).kind,
                  FastColorOutcome::Nothing);
    EXPECT_EQ(swatches, (std::array<uint32_t, 2>{0x102030, 0x405060}));
}
