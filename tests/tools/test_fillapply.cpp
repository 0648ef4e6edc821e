// The apply steps of the fills: what marked pixels become, that no mark survives in the
// rectangle, and that patterns sit on image coordinates.
#include "color/Hsv.h"
#include "raster/FillTestUtil.h"
#include "tools/FillApply.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace filltest;

constexpr uint32_t Colour = 0x3080C0, Background = 0x102030;

uint32_t Shade(uint32_t hueOf, int value) {
    const HsvValue hsv = RgbToHsv(RgbValue::FromPixel(hueOf));
    return HsvToRgb(hsv.h, hsv.s, value).Pixel();
}

int MaxChannel(uint32_t p) {
    return std::max({int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255)});
}

TEST(FillApply, MarkedPixelsPaintedAndEveryMarkCleared) {
    std::mt19937 rng(5);
    Buffer brush = rastertest::Make(7, 5, 0);
    for (int i = 0; i < 35; ++i) brush.pixels[i] = rng() % 5 ? rng() & 0xFFFFFF : Mark;
    const fill::Pattern pattern{&brush, {3, 9}, Background}, none{};
    for (int k = 0; k < 6; ++k) {
        const bool shade = k & 1, usePattern = k & 2, noBrush = k & 4;
        SCOPED_TRACE(k);
        Buffer image = rastertest::Make(40, 30, 0);
        for (int i = 0; i < 40 * 30; ++i) image.pixels[i] = rng() & 0x03FFFFFF;
        const Buffer before = image;
        Buffer work(image, {5, 4, 34, 25}); // clipped, in image coordinates
        const Rect area{-3, 6, 30, 40};
        if (usePattern || noBrush)
            fill::PaintMarkedPattern(work, area, Colour, noBrush ? none : pattern, shade);
        else
            fill::PaintMarkedSolid(work, area, Colour, shade);
        const Rect inside = area.Intersect(work.Bounds());
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                const uint32_t was = before.At(x, y), b = brush.At((x + 3) % 7, (y + 9) % 5);
                // Transparent brush pixels stand for the background; without a brush the
                // pattern fill is a colour fill.
                const uint32_t q = !usePattern ? Colour : b == Mark ? Background : b;
                const int value =
                    usePattern ? (MaxChannel(was) + MaxChannel(q)) / 2 : MaxChannel(was);
                const uint32_t want = !inside.Contains(x, y) ? was
                                      : !(was & Mark)        ? was & 0xFFFFFF
                                      : shade                ? Shade(q, value)
                                                             : q;
                ASSERT_EQ(image.At(x, y), want) << x << "," << y;
            }
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

// The shaded pattern's per-colour split of the conversion must not drift from the conversion.
TEST(FillApply, HueShadeIsTheConversion) {
    for (int h = -1; h <= 360; ++h)
        for (int s = 0; s <= 256; ++s)
            for (int v : {0, 1, 2, 77, 128, 200, 254, 255})
                ASSERT_EQ(fill::HueShade({h, s, 0}).At(v), HsvToRgb(h, s, v).Pixel())
                    << h << " " << s << " " << v;
}

// Origin mode 1 puts the brush back exactly where it was cut, also when cut partly left of or
// above the image (the remainder keeps the dividend's sign).
TEST(FillApply, SourceOriginReproducesTheCutArea) {
    Buffer image = rastertest::Make(50, 40, 0);
    rastertest::Pattern(image, 77);
    for (Pair origin : {Pair{12, 7}, Pair{0, 0}, Pair{-3, -2}})
        for (Pair size : {Pair{5, 3}, Pair{17, 19}}) {
            Buffer brush = rastertest::Make(size.x, size.y, 0);
            for (int y = 0; y < size.y; ++y)
                for (int x = 0; x < size.x; ++x)
                    brush.At(x, y) = image.Get(origin.x + x, origin.y + y);
            Buffer marked = image;
            marked.Bool(2, Mark);
            const Pair offset = fill::PatternOffset(fill::OriginSource, size, origin, {});
            fill::PaintMarkedPattern(marked, marked.Bounds(), 0, {&brush, offset, 0}, false);
            const Rect cut =
                Rect{origin.x, origin.y, origin.x + size.x - 1, origin.y + size.y - 1}.Intersect(
                    image.Bounds());
            for (int y = cut.top; y <= cut.bottom; ++y)
                for (int x = cut.left; x <= cut.right; ++x)
                    ASSERT_EQ(marked.At(x, y), image.At(x, y));
        }
    EXPECT_EQ(fill::PatternOffset(fill::OriginStored, {8, 8}, {3, 3}, {5, 6}), (Pair{5, 6}));
    EXPECT_EQ(fill::PatternOffset(fill::OriginImage, {8, 8}, {3, 3}, {5, 6}), (Pair{0, 0}));
}

// Set Fill Origin: with its offset the pattern pixel at press - handle + (i, j) is brush pixel
// (i, j), as if the brush were stamped there; the offset is never negative.
TEST(FillApply, FillOriginMatchesAStampAtThePress) {
    const Pair cases[][3] = {{{2, 3}, {10, 4}, {4, 5}},
                             {{6, 1}, {2, 100}, {13, 3}},
                             {{3, 3}, {1000, 2}, {1, 1}}}; // handle, press, size
    for (const auto& [handle, press, size] : cases) {
        const Pair o = fill::FillOriginOffset(handle, press, size);
        ASSERT_GE(std::min(o.x, o.y), 0);
        for (int i = 0; i < size.x; ++i) EXPECT_EQ((press.x - handle.x + i + o.x) % size.x, i);
        for (int j = 0; j < size.y; ++j) EXPECT_EQ((press.y - handle.y + j + o.y) % size.y, j);
    }
}

} // namespace
