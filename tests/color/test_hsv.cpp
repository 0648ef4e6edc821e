#include "color/Hsv.h"
#include "color/HsvPicture.h"
#include "raster/Buffer.h"

#include <gtest/gtest.h>

namespace {

HsvValue Hsv(int h, int s, int v) {
    return {h, s, v};
}
RgbValue Rgb(int r, int g, int b) {
    return {r, g, b};
}

TEST(HsvConversion, PrimariesAndGreys) {
    EXPECT_EQ(RgbToHsv(255, 0, 0), Hsv(0, 255, 255));
    EXPECT_EQ(RgbToHsv(0, 255, 0), Hsv(120, 255, 255));
    EXPECT_EQ(RgbToHsv(0, 0, 255), Hsv(240, 255, 255));
    EXPECT_EQ(RgbToHsv(255, 255, 255), Hsv(0, 0, 255));
    EXPECT_EQ(RgbToHsv(90, 90, 90), Hsv(0, 0, 90));
    EXPECT_EQ(RgbToHsv(0, 0, 0), Hsv(0, 0, 0));
}

TEST(HsvConversion, RgbToHsvTruncates) {
    // d = 150: S = 150 * 255 / 200 = 191.25.
    EXPECT_EQ(RgbToHsv(200, 100, 50), Hsv(20, 191, 200));
    // Hue -30.1 truncates to -30 (not -31) before wrapping: 330.
    EXPECT_EQ(RgbToHsv(255, 0, 128).h, 330);
    // Exactly 80 and 125 degrees, but 2 - 2/3 and 2 + 1/12 in single precision land just below.
    EXPECT_EQ(RgbToHsv(2, 3, 0).h, 79);
    EXPECT_EQ(RgbToHsv(0, 60, 7).h, 126);
}

TEST(HsvConversion, HsvToRgbEverySector) {
    // V 200, S 100, f 1/3: p = 200 * 155/255 = 121.6, q = 200 * (1 - 100/765) = 173.9,
    // t = 200 * (1 - 200/765) = 147.7.
    EXPECT_EQ(HsvToRgb(20, 100, 200), Rgb(200, 147, 121));
    EXPECT_EQ(HsvToRgb(80, 100, 200), Rgb(173, 200, 121));
    EXPECT_EQ(HsvToRgb(140, 100, 200), Rgb(121, 200, 147));
    EXPECT_EQ(HsvToRgb(200, 100, 200), Rgb(121, 173, 200));
    EXPECT_EQ(HsvToRgb(260, 100, 200), Rgb(147, 121, 200));
    EXPECT_EQ(HsvToRgb(320, 100, 200), Rgb(200, 121, 173));
    EXPECT_EQ(HsvToRgb(360, 255, 255), Rgb(255, 0, 0));
    EXPECT_EQ(HsvToRgb(30, 255, 255), Rgb(255, 127, 0));
    EXPECT_EQ(HsvToRgb(123, 0, 77), Rgb(77, 77, 77));
    // 255 * (1 - 101/255) is 154, but 1 - s in single precision is a hair below 154/255.
    EXPECT_EQ(HsvToRgb(0, 101, 255), Rgb(255, 153, 153));
}

TEST(HsvConversion, OutOfRangeInputsStayInRange) {
    EXPECT_EQ(HsvToRgb(-120, 255, 255), HsvToRgb(240, 255, 255));
    EXPECT_EQ(HsvToRgb(720 + 80, 100, 200), Rgb(173, 200, 121));
    EXPECT_EQ(HsvToRgb(0, 999, -5), Rgb(0, 0, 0));
    EXPECT_EQ(RgbToHsv(300, -4, 0), Hsv(0, 255, 255));
}

TEST(HsvConversion, RoundTripWithinTruncation) {
    EXPECT_EQ(RgbToHsv(128, 64, 0), Hsv(30, 255, 128));
    EXPECT_EQ(HsvToRgb(RgbToHsv(128, 64, 0)), Rgb(128, 64, 0));
    for (const RgbValue c : {Rgb(10, 200, 30), Rgb(250, 251, 3), Rgb(77, 0, 140), Rgb(1, 2, 3)}) {
        const RgbValue back = HsvToRgb(RgbToHsv(c));
        EXPECT_NEAR(back.r, c.r, 3) << c.r << "," << c.g << "," << c.b;
        EXPECT_NEAR(back.g, c.g, 3) << c.r << "," << c.g << "," << c.b;
        EXPECT_NEAR(back.b, c.b, 3) << c.r << "," << c.g << "," << c.b;
    }
}

TEST(HsvConversion, PixelPacking) {
    EXPECT_EQ(RgbValue::FromPixel(0x03123456), Rgb(0x12, 0x34, 0x56));
    EXPECT_EQ(Rgb(0x12, 0x34, 0x56).Pixel(), 0x123456u);
}

Buffer Picture(int hue) {
    Buffer b;
    EXPECT_TRUE(b.Alloc({HsvPicture::Size, HsvPicture::Size}));
    b.Box({0, 0, 127, 127}, 0x00ABCDEF);
    HsvPicture::Draw(b, hue);
    return b;
}

TEST(HsvPictureDraw, CornersAndFixedPointSteps) {
    const Buffer b90 = Picture(90);
    EXPECT_EQ(b90.At(0, 0), 0x000000u);
    EXPECT_EQ(b90.At(127, 0), 0x000000u); // value 0 row
    // Column 0 is unsaturated: grey of value 2 * row.
    EXPECT_EQ(b90.At(0, 100), 0xC8C8C8u);
    // Row 127: v 254, k = 254 * 131072 / 255 = 130557, hue 90: sector 1, k2 = 30 * k / 60 = 65278.
    // Column 127: q = (254 << 16) - 127 * 65278 = 8355838 -> 127; p = 16646144 - 127 * k -> 0.
    EXPECT_EQ(b90.At(127, 127), 0x7FFE00u);
    // Row 64: v 128, k = 65793; hue 200: sector 3, k2 = 20 * k / 60 = 21931. Column 32:
    // p = 8388608 - 32 * 65793 -> 95, q = 8388608 - 32 * 21931 -> 117, (p, q, v).
    const Buffer b200 = Picture(200);
    EXPECT_EQ(b200.At(32, 64), uint32_t(95 << 16 | 117 << 8 | 128));
    EXPECT_EQ(Picture(360).At(127, 127), 0xFE0000u);
}

TEST(HsvPictureDraw, ClipsToSmallAndOffsetBuffers) {
    Buffer small;
    ASSERT_TRUE(small.Alloc({5, 3}));
    HsvPicture::Draw(small, 90);
    // v 4, k 2056, k2 1028: q = 262144 - 4 * 1028 -> 3, p = 262144 - 4 * 2056 -> 3.
    EXPECT_EQ(small.At(4, 2), 0x030403u);
    HsvPicture::DrawMarker(small, 255, 255, 0); // outside: clipped, no crash

    Buffer big;
    ASSERT_TRUE(big.Alloc({200, 200}));
    big.Box({0, 0, 199, 199}, 0x123456);
    Buffer view(big, {10, 20, 199, 199});
    HsvPicture::Draw(view, 0);
    EXPECT_EQ(big.At(10, 20), 0x000000u);
    EXPECT_EQ(big.At(137, 147), 0xFE0000u);
    EXPECT_EQ(big.At(138, 147), 0x123456u);
    EXPECT_EQ(big.At(137, 148), 0x123456u);
}

TEST(HsvPictureDraw, MarkerBlackOnLightWhiteOnDark) {
    // 30 * 26 + 59 * 200 + 11 * 20 = 12800; 30 * 30 + 59 * 200 + 11 * 9 = 12799.
    EXPECT_EQ(HsvPicture::MarkerColour(0x1AC814), 0x000000u);
    EXPECT_EQ(HsvPicture::MarkerColour(0x1EC809), 0xFFFFFFu);
    EXPECT_EQ(HsvPicture::MarkerColour(0xFFFFFF), 0x000000u);
    EXPECT_EQ(HsvPicture::MarkerColour(0x400000), 0xFFFFFFu);

    Buffer b = Picture(0);
    HsvPicture::DrawMarker(b, 101, 200, 0xFFFFFF);
    EXPECT_EQ(b.At(50, 100), 0x000000u);
    HsvPicture::DrawMarker(b, 255, 255, 0x101010);
    EXPECT_EQ(b.At(127, 127), 0xFFFFFFu);
}

} // namespace
