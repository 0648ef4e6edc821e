// The apply steps of the fills: what marked pixels become, that no mark survives in the
// rectangle, and that patterns sit on image coordinates.
#include "color/Hsv.h"
#include "raster/FillTestUtil.h"
#include "tools/FillApply.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <span>

namespace {

using namespace filltest;

constexpr uint32_t Colour = 0x3080C0, Background = 0x102030;

// A random brush with some transparent pixels.
Buffer RandomBrush(int w, int h, std::mt19937& rng) {
    Buffer b = rastertest::Make(w, h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.At(x, y) = rng() % 5 ? rng() & 0xFFFFFF : Pixel::Transparent;
    return b;
}

uint32_t Shade(uint32_t hueOf, int value) {
    const HsvValue hsv = RgbToHsv(RgbValue::FromPixel(hueOf));
    return HsvToRgb(hsv.h, hsv.s, value).Pixel();
}

int MaxChannel(uint32_t p) {
    return std::max({int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255)});
}

TEST(FillApply, MarkedPixelsPaintedAndEveryMarkCleared) {
    std::mt19937 rng(5);
    const Buffer brush = RandomBrush(7, 5, rng);
    const Pair offset{3, 9};
    // The brush pixel at image (x, y), transparent standing for the background.
    const auto pattern = [&](int x, int y) {
        const uint32_t p = brush.At((x + offset.x) % 7, (y + offset.y) % 5);
        return p == Pixel::Transparent ? Background : p;
    };
    struct Case {
        const char* name;
        std::function<void(Buffer&, Rect)> apply;
        std::function<uint32_t(int x, int y, uint32_t before)> expected;
    };
    const fill::Pattern withBrush{&brush, offset, Background};
    const Buffer empty;
    const Case cases[] = {
        {"solid", [](Buffer& b, Rect r) { fill::PaintMarkedSolid(b, r, Colour, false); },
         [](int, int, uint32_t) { return Colour; }},
        {"shaded solid", [](Buffer& b, Rect r) { fill::PaintMarkedSolid(b, r, Colour, true); },
         [](int, int, uint32_t p) { return Shade(Colour, MaxChannel(p)); }},
        {"pattern",
         [&](Buffer& b, Rect r) { fill::PaintMarkedPattern(b, r, Colour, withBrush, false); },
         [&](int x, int y, uint32_t) { return pattern(x, y); }},
        {"shaded pattern",
         [&](Buffer& b, Rect r) { fill::PaintMarkedPattern(b, r, Colour, withBrush, true); },
         [&](int x, int y, uint32_t p) {
             const uint32_t q = pattern(x, y);
             return Shade(q, (MaxChannel(p) + RgbToHsv(RgbValue::FromPixel(q)).v) / 2);
         }},
        {"empty brush is a colour fill",
         [&](Buffer& b, Rect r) {
             fill::PaintMarkedPattern(b, r, Colour, {&empty, offset, Background}, true);
         },
         [](int, int, uint32_t p) { return Shade(Colour, MaxChannel(p)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Buffer image = rastertest::Make(40, 30, 0);
        for (uint32_t& p : std::span(image.pixels, 40 * 30)) p = rng() & 0x03FFFFFF;
        const Buffer before = image;
        Buffer work(image, {5, 4, 34, 25}); // a clipped work buffer, image coordinates
        const Rect area{-3, 6, 30, 40};     // reaches outside the work buffer
        c.apply(work, area);
        const Rect inside = area.Intersect(work.Bounds());
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                const uint32_t was = before.At(x, y), now = image.At(x, y);
                const uint32_t want = !inside.Contains(x, y) ? was
                                      : (was & Mark)         ? c.expected(x, y, was)
                                                             : was & 0xFFFFFF;
                ASSERT_EQ(now, want) << x << "," << y;
            }
    }
}

// The shaded pattern's per-colour split of the conversion must not drift from the conversion.
TEST(FillApply, HueShadeIsTheConversion) {
    for (int h = -1; h <= 360; ++h)
        for (int s = 0; s <= 256; ++s)
            for (int v : {0, 1, 2, 77, 128, 200, 254, 255}) {
                const uint32_t want = HsvToRgb(h, s, v).Pixel();
                ASSERT_EQ(fill::HueShade({h, s, 0}).At(v), want) << h << " " << s << " " << v;
            }
}

TEST(FillApply, ShadeWithGreyKeepsBrightness) {
    Buffer b = rastertest::Make(3, 1, 0);
    b.At(0, 0) = 0xC8320A | Mark; // max channel 200
    b.At(1, 0) = 0x0000FF | Mark;
    b.At(2, 0) = 0x000000 | Mark;
    fill::PaintMarkedSolid(b, b.Bounds(), 0x808080, true);
    EXPECT_EQ(Values(b), (std::vector<uint32_t>{0xC8C8C8, 0xFFFFFF, 0x000000}));
}

TEST(FillApply, SourceOriginReproducesTheCutArea) {
    Buffer image = rastertest::Make(50, 40, 0);
    rastertest::Pattern(image, 77);
    const Buffer original = image;
    for (Pair origin : {Pair{12, 7}, Pair{0, 0}, Pair{33, 21}}) {
        for (Pair size : {Pair{5, 3}, Pair{8, 8}, Pair{17, 19}}) {
            Buffer brush = rastertest::Make(size.x, size.y, 0);
            for (int y = 0; y < size.y; ++y)
                for (int x = 0; x < size.x; ++x)
                    brush.At(x, y) = original.At(origin.x + x, origin.y + y);
            image.Bool(2, Mark);
            const Pair offset = fill::PatternOffset(fill::OriginSource, size, origin, {});
            fill::PaintMarkedPattern(image, image.Bounds(), 0, {&brush, offset, 0}, false);
            for (int y = origin.y; y < origin.y + size.y; ++y)
                for (int x = origin.x; x < origin.x + size.x; ++x)
                    ASSERT_EQ(image.At(x, y), original.At(x, y)) << x << "," << y;
            image = original;
        }
    }
}

TEST(FillApply, OffsetsOfTheOriginModes) {
    EXPECT_EQ(fill::PatternOffset(fill::OriginImage, {8, 8}, {3, 3}, {5, 5}), (Pair{0, 0}));
    EXPECT_EQ(fill::PatternOffset(fill::OriginStored, {8, 8}, {3, 3}, {5, 6}), (Pair{5, 6}));
    // The remainder keeps the dividend's sign: a cut 3 left of the image gives w + 3.
    EXPECT_EQ(fill::PatternOffset(fill::OriginSource, {8, 6}, {-3, 14}, {}), (Pair{11, 4}));
    EXPECT_EQ(fill::PatternOffset(fill::OriginSource, {8, 6}, {16, 0}, {}), (Pair{8, 6}));
}

// Set Fill Origin: with its offset, the pattern pixel at press - handle + (i, j) is brush pixel
// (i, j), as if the brush were stamped there; and the offset is never negative.
TEST(FillApply, FillOriginMatchesAStampAtThePress) {
    struct Case {
        Pair handle, press, size;
    };
    const Case cases[] = {{{2, 3}, {10, 4}, {4, 5}},
                          {{0, 0}, {0, 0}, {7, 7}},
                          {{6, 1}, {2, 100}, {13, 3}},
                          {{3, 3}, {1000, 2}, {1, 1}}};
    for (const Case& c : cases) {
        const Pair o = fill::FillOriginOffset(c.handle, c.press, c.size);
        EXPECT_GE(o.x, 0);
        EXPECT_GE(o.y, 0);
        for (int i = 0; i < c.size.x; ++i)
            EXPECT_EQ((c.press.x - c.handle.x + i + o.x) % c.size.x, i);
        for (int j = 0; j < c.size.y; ++j)
            EXPECT_EQ((c.press.y - c.handle.y + j + o.y) % c.size.y, j);
    }
}

} // namespace
