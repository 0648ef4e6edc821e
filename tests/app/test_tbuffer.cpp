#include "document/ui/TBuffer.h"
#include "raster/Buffer.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <gtest/gtest.h>

#include <vector>

namespace {

// Distinct colours per pixel, with mark and XOR bits sprinkled in that must never show.
Buffer Pattern(int w, int h) {
    Buffer b;
    b.Alloc({w, h});
    const uint32_t marks[] = {0, Pixel::Transparent, Pixel::EdgeMark, Pixel::XorFlag, 0x03000000};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.At(x, y) =
                marks[(x + 2 * y) % 5] | uint32_t((x * 40 + 7) << 16 | (y * 30 + 5) << 8 | (x ^ y));
    return b;
}

QImage Grab(TBuffer& view) {
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

uint32_t Rgb(const QImage& img, int x, int y) {
    return img.pixel(x, y) & 0xFFFFFFu;
}

// The screen image as rows of colours, for readable failures.
void ExpectImage(const QImage& got, const std::vector<std::vector<uint32_t>>& want) {
    ASSERT_EQ(got.height(), int(want.size()));
    for (int y = 0; y < got.height(); ++y) {
        ASSERT_EQ(got.width(), int(want[size_t(y)].size()));
        for (int x = 0; x < got.width(); ++x)
            ASSERT_EQ(Rgb(got, x, y), want[size_t(y)][size_t(x)]) << "at " << x << "," << y;
    }
}

} // namespace

TEST(TBufferPaint, EnlargedThreeToOneShowsBlocks) {
    Buffer image = Pattern(4, 3);
    TBuffer view;
    view.resize(12, 9);
    view.SetBuffer(&image);
    view.SetZoom(3);
    // Every source pixel becomes a 3 x 3 block of its colour, marks removed.
    std::vector<std::vector<uint32_t>> want(9, std::vector<uint32_t>(12));
    for (int sy = 0; sy < 3; ++sy)
        for (int sx = 0; sx < 4; ++sx)
            for (int j = 0; j < 3; ++j)
                for (int i = 0; i < 3; ++i)
                    want[size_t(sy * 3 + j)][size_t(sx * 3 + i)] = image.At(sx, sy) & 0xFFFFFF;
    ExpectImage(Grab(view), want);
}

TEST(TBufferPaint, HalvedShowsEverySecondPixelAndDropsTheOddEdge) {
    Buffer image = Pattern(7, 5);
    TBuffer view;
    view.resize(3, 2); // 7 div 2 by 5 div 2
    view.SetBuffer(&image);
    view.SetZoom(1 | (2 << 16));
    const uint32_t m = 0xFFFFFF;
    ExpectImage(Grab(view), {{image.At(0, 0) & m, image.At(2, 0) & m, image.At(4, 0) & m},
                             {image.At(0, 2) & m, image.At(2, 2) & m, image.At(4, 2) & m}});
}

TEST(TBufferPaint, TwoThirdsPicksTwoOfEveryThree) {
    Buffer image = Pattern(7, 7);
    TBuffer view;
    view.resize(4, 4);
    view.SetBuffer(&image);
    view.SetZoom(2 | (3 << 16));
    // Cells of 2 screen pixels over 3 image pixels: columns and rows 0, 1 | 3, 4.
    const int src[] = {0, 1, 3, 4};
    std::vector<std::vector<uint32_t>> want(4, std::vector<uint32_t>(4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            want[size_t(y)][size_t(x)] = image.At(src[x], src[y]) & 0xFFFFFF;
    ExpectImage(Grab(view), want);
}

TEST(TBufferPaint, OnlyTheUpdateRegionIsPainted) {
    Buffer image = Pattern(10, 8);
    TBuffer view;
    view.resize(30, 24);
    view.SetBuffer(&image);
    view.SetZoom(3);
    // Two rectangles starting inside cells, painted over a sentinel colour.
    QImage target(30, 24, QImage::Format_RGB32);
    target.fill(0xFF0000FFu);
    const QRegion region = QRegion(4, 2, 7, 5) + QRegion(20, 16, 9, 8);
    {
        QPainter p(&target);
        view.PaintRegion(p, region);
    }
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 30; ++x) {
            const uint32_t want =
                region.contains(QPoint(x, y)) ? image.At(x / 3, y / 3) & 0xFFFFFF : 0x0000FFu;
            ASSERT_EQ(Rgb(target, x, y), want) << "at " << x << "," << y;
        }
}

TEST(TBufferPaint, PartialRepaintsMatchTheWholePicture) {
    Buffer image = Pattern(37, 29);
    TBuffer view;
    view.SetBuffer(&image);
    // A region cut into more rectangles than one paint handles is painted as a whole.
    QRegion checkerboard;
    for (int y = 0; y < 80; ++y)
        for (int x = (y & 1); x < 80; x += 2) checkerboard += QRect(x, y, 1, 1);
    ASSERT_GT(checkerboard.rectCount(), 3070);
    const QRegion regions[] = {QRegion(5, 3, 11, 7), QRegion(1, 1, 2, 9) + QRegion(7, 4, 13, 1),
                               checkerboard};
    for (int packed : {1, 3, 5, 1 | (2 << 16), 2 | (3 << 16), 3 | (4 << 16), 1 | (4 << 16)}) {
        view.SetZoom(packed);
        view.resize(view.sizeHint());
        const QImage whole = Grab(view);
        for (const QRegion& region : regions) {
            QImage part(view.size(), QImage::Format_RGB32);
            part.fill(0xFF0000FFu);
            {
                QPainter p(&part);
                view.PaintRegion(p, region);
            }
            const QRegion inside = region.intersected(view.rect());
            for (int y = 0; y < part.height(); ++y)
                for (int x = 0; x < part.width(); ++x)
                    if (inside.contains(QPoint(x, y))) {
                        ASSERT_EQ(Rgb(part, x, y), Rgb(whole, x, y))
                            << "zoom " << packed << " at " << x << "," << y;
                    }
        }
    }
}

TEST(TBufferPaint, MarkBitsNeverShow) {
    Buffer image;
    image.Alloc({5, 5});
    const uint32_t values[] = {0x01ABCDEF, 0x02ABCDEF, 0x03ABCDEF, 0x80ABCDEF, 0xFFABCDEF};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) image.At(x, y) = values[(x + y) % 5];
    TBuffer view;
    view.SetBuffer(&image);
    for (int packed : {1, 2, 1 | (2 << 16)}) {
        view.SetZoom(packed);
        const QSize size = view.sizeHint();
        view.resize(size);
        const QImage shown = Grab(view);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                ASSERT_EQ(Rgb(shown, x, y), 0xABCDEFu)
                    << "zoom " << packed << " at " << x << "," << y;
    }
}

TEST(TBufferPaint, NoImageIsBlackWithFrameAndDiagonals) {
    TBuffer view;
    view.resize(20, 20);
    Buffer empty;
    for (Buffer* shown : {static_cast<Buffer*>(nullptr), &empty}) {
        view.SetBuffer(shown);
        const QImage img = Grab(view);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const bool white = x == 0 || y == 0 || x == 19 || y == 19 || x == y || x == 19 - y;
                ASSERT_EQ(Rgb(img, x, y), white ? 0xFFFFFFu : 0u) << "at " << x << "," << y;
            }
    }
}

TEST(TBufferPaint, AroundAnImageSmallerThanTheViewIsBlack) {
    Buffer image = Pattern(2, 2);
    TBuffer view;
    view.resize(9, 7);
    view.SetBuffer(&image);
    view.SetZoom(2);
    const QImage img = Grab(view);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) {
            const uint32_t want = x < 4 && y < 4 ? image.At(x / 2, y / 2) & 0xFFFFFF : 0;
            ASSERT_EQ(Rgb(img, x, y), want) << "at " << x << "," << y;
        }
}

TEST(TBufferPaint, HookDrawsOverTheImageOnlyWhileActive) {
    Buffer image = Pattern(4, 4);
    TBuffer view;
    view.resize(4, 4);
    view.SetBuffer(&image);
    int calls = 0;
    view.onPaint = [&](QPainter& p) {
        ++calls;
        p.fillRect(1, 1, 1, 1, QColor(0xFF, 0, 0));
    };
    QImage img = Grab(view);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Rgb(img, 1, 1), 0xFF0000u);
    EXPECT_EQ(Rgb(img, 2, 1), image.At(2, 1) & 0xFFFFFF);

    view.SetActive(false);
    Grab(view);
    EXPECT_EQ(calls, 1);
}

TEST(TBufferZoom, PackedRatioIsStoredReduced) {
    TBuffer view;
    EXPECT_EQ(view.Zoom(), 1);
    view.SetZoom(6 | (4 << 16));
    EXPECT_EQ(view.Zoom(), 3 | (2 << 16));
    view.SetZoom(5 | (5 << 16));
    EXPECT_EQ(view.Zoom(), 1);
    view.SetZoom(0x00040000); // numerator 0 means 1
    EXPECT_EQ(view.Zoom(), 1 | (4 << 16));
    view.SetZoom(7); // denominator 0 means 1, stored as 0
    EXPECT_EQ(view.Zoom(), 7);

    Buffer image = Pattern(101, 9);
    view.SetBuffer(&image);
    view.SetZoom(1 | (2 << 16));
    EXPECT_EQ(view.sizeHint(), QSize(50, 4));
}
