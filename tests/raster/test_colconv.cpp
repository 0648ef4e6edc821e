#include "raster/Colconv.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ColconvTest, RGB32ToRGB24Rows) {
    for (size_t count : {0u, 1u, 7u, 8u, 9u, 33u}) {
        std::vector<uint32_t> src(count);
        for (size_t i = 0; i < count; ++i)
            src[i] = uint32_t(i * 0x010305 + 0x00A0B0C0) | (i % 3 ? 0x03000000u : 0u);
        std::vector<uint8_t> dst(3 * count + 2, 0xEE);
        Colconv::RGB32RGB24s(src.data(), dst.data(), count);
        for (size_t i = 0; i < count; ++i) {
            EXPECT_EQ(dst[3 * i], uint8_t(src[i])) << i;           // blue
            EXPECT_EQ(dst[3 * i + 1], uint8_t(src[i] >> 8)) << i;  // green
            EXPECT_EQ(dst[3 * i + 2], uint8_t(src[i] >> 16)) << i; // red
        }
        EXPECT_EQ(dst[3 * count], 0xEE) << "wrote past the row";
        EXPECT_EQ(dst[3 * count + 1], 0xEE);
    }
    const uint32_t px = 0x02123456;
    uint8_t bgr[3];
    Colconv::RGB32RGB24s(&px, bgr, 1);
    EXPECT_EQ(bgr[0], 0x56);
    EXPECT_EQ(bgr[1], 0x34);
    EXPECT_EQ(bgr[2], 0x12);
}
