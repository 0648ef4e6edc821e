#include "FilterTestUtil.h"

#include "filters/AcfFile.h"
#include "filters/BandRun.h"
#include "filters/Convolution.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using filtertest::RandomPicture;

namespace {

// The kernel written out plainly: every pixel in double precision, edges clamped.
uint32_t Expected(const ConvolutionSettings& s, int size, const Buffer& src, int x, int y,
                  bool single) {
    const int r = size / 2, off = (5 - size) / 2;
    uint32_t pixel = 0;
    for (int shift = 16; shift >= 0; shift -= 8) {
        double sum = s.bias;
        float fsum = float(s.bias);
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx) {
                const float w =
                    float(s.cells[size_t((dy + r + off) * 5 + dx + r + off)]) / float(s.divisor);
                const int xx = std::clamp(x + dx, 0, src.Width() - 1);
                const int yy = std::clamp(y + dy, 0, src.Height() - 1);
                const float c = float((src.At(xx, yy) >> shift) & 255);
                sum += double(w) * c;
                fsum += w * c;
            }
        const double v = std::nearbyint(single ? double(fsum) : sum);
        pixel = pixel << 8 | uint32_t(std::clamp(v, 0.0, 255.0));
    }
    return pixel;
}

void Check(const ConvolutionSettings& s, int size, int w, int h) {
    const Buffer src = RandomPicture(w, h, uint32_t(w * 31 + h));
    Buffer dest;
    dest.Alloc({w, h});
    const conv::Kernel k = conv::MakeKernel(s);
    ASSERT_EQ(k.size, size);
    conv::Rows(k, src, dest, 0, h);
    const int r = size / 2;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool border = x < r || y < r || x >= w - r || y >= h - r;
            ASSERT_EQ(dest.At(x, y), Expected(s, size, src, x, y, border)) << x << "," << y;
        }
}

TEST(Convolution, KernelSizeFollowsTheOuterWeights) {
    ConvolutionSettings s; // the nine centre ones over 9
    Check(s, 3, 40, 9);
    s.cells[0] = 1;
    s.divisor = 9999; // 0.0001 counts as zero
    Check(s, 3, 33, 8);
    s.cells[0] = 1;
    s.divisor = 256; // exactly 1/256 does not
    s.bias = -7;
    Check(s, 5, 33, 8);
    s.cells = {-3, 5, 0, 7, 999, 0, -999, 2, 0, 1, 4, 4, 40, 4, 4, 0, 0, 3, 0, 0, 1, 2, 3, 4, 5};
    s.divisor = 37;
    s.bias = 9999;
    Check(s, 5, 17, 12);
}

// Random kernels on pictures wide enough for the 16-pixel blocks: even divisors that are not
// powers of two give quotients of exactly a half, where the single-precision weights decide
// the side; negative cells and biases give negative sums.
TEST(Convolution, RandomKernelsMatchTheDoubleSums) {
    struct Case {
        int divisor, cellRange, bias;
        bool outer;
    };
    const Case cases[] = {
        {6, 3, 64, false},     {10, 5, 100, true},       {100, 40, -30, true}, {2, 4, 7, false},
        {9998, 999, 0, true},  {7, 9, -200, true},       {12, 6, 128, false},  {1, 1, 128, false},
        {37, 999, 9999, true}, {9999, 999, -9999, true}, {30, 8, 0, true},     {4, 2, 1, false},
    };
    std::mt19937 rng(11);
    for (const Case& c : cases) {
        ConvolutionSettings s;
        std::uniform_int_distribution<int> cell(-c.cellRange, c.cellRange);
        for (int i = 0; i < 25; ++i) {
            const bool outer = i / 5 == 0 || i / 5 == 4 || i % 5 == 0 || i % 5 == 4;
            s.cells[size_t(i)] = int16_t(outer && !c.outer ? 0 : cell(rng));
        }
        s.cells[0] = int16_t(c.outer ? c.cellRange : 0);
        s.divisor = c.divisor;
        s.bias = c.bias;
        SCOPED_TRACE(c.divisor);
        Check(s, c.outer ? 5 : 3, 61, 9);
    }
}

TEST(Convolution, TinyPicturesAreAllBorder) {
    ConvolutionSettings s;
    s.cells[24] = 5;
    for (int side : {1, 2, 4}) Check(s, 5, side, side);
    Check(ConvolutionSettings{}, 3, 2, 2);
}

TEST(Convolution, OnlyTheDrawingAreaChanges) {
    const Buffer src = RandomPicture(20, 10, 3);
    Buffer image = src;
    Buffer view(image, {5, 2, 11, 6});
    conv::Rows(conv::MakeKernel(ConvolutionSettings{}), src, view, 0, 10);
    const ConvolutionSettings s;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 5 && x <= 11 && y >= 2 && y <= 6;
            ASSERT_EQ(image.At(x, y), inside ? Expected(s, 3, src, x, y, false) : src.At(x, y));
        }
}

TEST(Convolution, StopMidwayLeavesTheFinishedRowsFiltered) {
    const Buffer src = RandomPicture(12, 30, 5);
    Buffer image = src;
    const conv::Kernel k = conv::MakeKernel(ConvolutionSettings{});
    const int done = bands::Run(
        30, 4, [&](int y0, int y1) { conv::Rows(k, src, image, y0, y1); },
        [](int rows) { return rows < 8; });
    EXPECT_EQ(done, 8);
    for (int y = 0; y < 30; ++y)
        EXPECT_EQ(image.At(6, y), y < 8 ? Expected({}, 3, src, 6, y, y == 0) : src.At(6, y)) << y;
}

TEST(AcfFile, RoundTripAndClamps) {
    ConvolutionSettings s;
    for (int i = 0; i < 25; ++i) s.cells[size_t(i)] = int16_t(i * 83 - 999);
    s.divisor = 9999;
    s.bias = -9999;
    const QByteArray bytes = acf::Write(s);
    ASSERT_EQ(bytes.size(), 54);
    EXPECT_EQ(uint8_t(bytes[0]), 0xFC); // -999 high byte first
    ConvolutionSettings back;
    acf::Read(bytes, back);
    EXPECT_EQ(back.cells, s.cells);
    EXPECT_EQ(back.divisor, 9999);
    EXPECT_EQ(back.bias, -9999);

    QByteArray wild = bytes;
    wild[0] = 0x05, wild[1] = char(0xDC);   // 1500
    wild[50] = 0, wild[51] = 0;             // divisor 0
    wild[52] = 0x7F, wild[53] = char(0xFF); // bias 32767
    acf::Read(wild, back);
    EXPECT_EQ(back.cells[0], 999);
    EXPECT_EQ(back.divisor, 1);
    EXPECT_EQ(back.bias, 9999);

    ConvolutionSettings shortFile;
    acf::Read(bytes.left(5), shortFile); // two cells; the rest stays
    EXPECT_EQ(shortFile.cells[0], -999);
    EXPECT_EQ(shortFile.cells[2], 0);
    EXPECT_EQ(shortFile.divisor, 9);

    QTemporaryDir dir;
    ASSERT_TRUE(acf::Save(dir.filePath(QStringLiteral("k.acf")), s));
    EXPECT_EQ(acf::Load(dir.filePath(QStringLiteral("k.acf")), back), AcfResult::Ok);
    EXPECT_EQ(back.cells, s.cells);
    EXPECT_EQ(acf::Load(dir.filePath(QStringLiteral("none.acf")), back), AcfResult::CantOpen);
}

} // namespace
