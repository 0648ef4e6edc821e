#include "files/ClipboardDib.h"
#include "files/ClipboardPicture.h"
#include "raster/RasterTestUtil.h"
#include "support/DibFields.h"

#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace dibfields;

std::span<const uint8_t> View(const QByteArray& b) {
    return {reinterpret_cast<const uint8_t*>(b.constData()), size_t(b.size())};
}

uint32_t Le32(const QByteArray& b, int at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}

DibFields Fields(int w, int h, unsigned bpp, std::vector<uint32_t> raw, uint32_t compression = 0,
                 std::vector<uint32_t> masks = {}) {
    DibFields s;
    s.width = w;
    s.height = h;
    s.bpp = bpp;
    s.raw = std::move(raw);
    s.compression = compression;
    s.masks = std::move(masks);
    return s;
}

// The picture that a failed import must leave as it was.
Buffer Sentinel() {
    return rastertest::Make(2, 2, 0x123456);
}

} // namespace

TEST(ClipboardExport, ThreeByTwoIsTheHeaderThenTheRowsBottomFirstWithoutMarkBits) {
    Buffer b = rastertest::Make(3, 2, 0);
    const uint32_t top[3] = {0x010203, 0x01FFFFFF, 0x02A0B0C0}; // mark bits on two pixels
    const uint32_t bottom[3] = {0x112233, 0x445566, 0x778899};
    for (int x = 0; x < 3; ++x) {
        b.At(x, 0) = top[x];
        b.At(x, 1) = bottom[x];
    }
    const QByteArray dib = PackedDibFromBuffer(b);
    ASSERT_EQ(dib.size(), 40 + 24);
    EXPECT_EQ(Le32(dib, 0), 40u);
    EXPECT_EQ(Le32(dib, 4), 3u);
    EXPECT_EQ(Le32(dib, 8), 2u); // positive: bottom-up
    EXPECT_EQ(Le32(dib, 12), 1u | 32u << 16);
    EXPECT_EQ(Le32(dib, 16), 0u);
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(Le32(dib, 40 + 4 * x), bottom[x]) << x;
        EXPECT_EQ(Le32(dib, 52 + 4 * x), top[x] & 0xFFFFFF) << x;
    }
    const QByteArray file = BmpFileFromBuffer(b);
    ASSERT_EQ(file.size(), 14 + dib.size());
    EXPECT_EQ(file.left(2), "BM");
    EXPECT_EQ(Le32(file, 2), uint32_t(file.size()));
    EXPECT_EQ(Le32(file, 10), 54u);
    EXPECT_EQ(file.mid(14), dib);
}

TEST(ClipboardImport, ReadsWhatExportWroteInBothLayouts) {
    Buffer b = rastertest::Make(33, 7, 0);
    rastertest::Pattern(b, 5, 0xFFFFFF);
    for (const QByteArray& bytes : {PackedDibFromBuffer(b), BmpFileFromBuffer(b)}) {
        Buffer out;
        ASSERT_EQ(ImportDib(View(bytes), out), DibImport::Ok);
        ASSERT_EQ(out.Width(), 33);
        ASSERT_EQ(out.Height(), 7);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 33; ++x) ASSERT_EQ(out.At(x, y), b.At(x, y)) << x << "," << y;
    }
}

TEST(ClipboardImport, TopDownAndBitFieldBitmaps) {
    struct Case {
        const char* name;
        DibFields fields;
    };
    const std::vector<uint32_t> rgb = {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x0A0B0C};
    const DibFields topDown = Fields(3, -2, 32, rgb);
    const DibFields rgb565 = Fields(3, 2, 16, {0x0000, 0xFFFF, 0xF800, 0x07E0, 0x001F, 0x1234}, 3,
                                    {0xF800, 0x07E0, 0x001F});
    const DibFields swapped32 = Fields(3, 2, 32, rgb, 3, {0x000000FF, 0x0000FF00, 0x00FF0000});
    DibFields v5 = Fields(3, -2, 32, rgb, 3, {0x3FF00000, 0x000FFC00, 0x000003FF});
    v5.headerSize = 124;
    for (const Case& c : {Case{"top-down", topDown}, Case{"565", rgb565},
                          Case{"swapped masks", swapped32}, Case{"10-bit masks", v5}}) {
        const Bytes packed = Packed(c.fields);
        Buffer out;
        ASSERT_EQ(ImportDib(packed, out), DibImport::Ok) << c.name;
        const DibFields& s = c.fields;
        const DibFields expect =
            s.masks.empty() ? Fields(3, 2, 32, {}, 0, {0xFF0000, 0xFF00, 0xFF}) : s;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(out.At(x, y), Expected(expect, s.raw[size_t(y) * 3 + x]))
                    << c.name << " " << x << "," << y;
    }
}

TEST(ClipboardImport, HostileBitmapsLeaveThePictureAndCutOnesArePartial) {
    const DibFields good = Fields(4, 4, 24, std::vector<uint32_t>(16, 0xABCDEF));
    const Bytes whole = Packed(good);
    auto with32 = [&](size_t at, uint32_t v) {
        Bytes b = whole;
        Put32(b, at, v);
        return b;
    };
    struct Case {
        const char* name;
        Bytes bytes;
        DibImport want;
    };
    const Case cases[] = {
        {"empty", {}, DibImport::Failed},
        {"header only", Bytes(whole.begin(), whole.begin() + 40), DibImport::Failed},
        {"header size past the data", with32(0, 0x7FFFFFF0), DibImport::Failed},
        {"zero height", with32(8, 0), DibImport::Failed},
        {"most negative height", with32(8, 0x80000000u), DibImport::Failed},
        {"negative width", with32(4, uint32_t(-4)), DibImport::Failed},
        {"32-bit overflow of the size",
         [&] {
             Bytes b = with32(4, 0x10000001);
             Put32(b, 8, 0x10000001);
             return b;
         }(),
         DibImport::Failed},
        {"bit-field masks missing",
         [&] {
             Bytes b(whole.begin(), whole.begin() + 40);
             Put16(b, 14, 32);
             Put32(b, 16, 3);
             return b;
         }(),
         DibImport::Failed},
        {"colour count past the table",
         [&] {
             DibFields s = Fields(2, 1, 8, {0, 0});
             s.colorsUsed = 200;
             s.palette = {0xFF0000};
             return Packed(s);
         }(),
         DibImport::Failed},
        {"last rows cut", Bytes(whole.begin(), whole.end() - 20), DibImport::Partial},
        {"not a bitmap file",
         [] {
             Bytes b(60, 0);
             b[0] = 'B';
             b[1] = 'M';
             Put32(b, 10, 0xFFFFFF00u); // pixels past the end
             return b;
         }(),
         DibImport::Failed},
    };
    for (const Case& c : cases) {
        Buffer out = Sentinel();
        EXPECT_EQ(ImportDib(c.bytes, out), c.want) << c.name;
        if (c.want == DibImport::Failed) {
            ASSERT_EQ(out.Width(), 2) << c.name;
            EXPECT_EQ(out.At(1, 1), 0x123456u) << c.name;
        } else {
            ASSERT_EQ(out.Width(), 4) << c.name;
            EXPECT_EQ(out.At(0, 3), 0xABCDEFu) << c.name; // the bottom row came first
            EXPECT_EQ(out.At(0, 0), 0u) << c.name;        // the top row was cut
        }
    }
}

TEST(ClipboardPicture, OffersBmpAndImageAndPrefersOurBitmap) {
    Buffer b = rastertest::Make(2, 1, 0x01FF0000); // a mark bit that must not travel
    b.At(1, 0) = 0x0000FF;
    ClipboardPicture data(b);
    EXPECT_TRUE(ClipboardHasPicture(&data));
    const QImage image = qvariant_cast<QImage>(data.imageData());
    ASSERT_EQ(image.size(), QSize(2, 1));
    EXPECT_EQ(image.pixel(0, 0), 0xFFFF0000u);
    Buffer out;
    ASSERT_EQ(ReadClipboardPicture(&data, 0, out), DibImport::Ok);
    EXPECT_EQ(out.At(0, 0), 0xFF0000u);
    EXPECT_EQ(out.At(1, 0), 0x0000FFu);
}

TEST(ClipboardPicture, AnotherProgramsImageIsCompositedOverTheBackground) {
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, 0x00FF0000); // fully transparent
    image.setPixel(1, 0, 0xFF00FF00);
    QMimeData data;
    data.setImageData(image);
    Buffer out;
    ASSERT_EQ(ReadClipboardPicture(&data, 0x0000FF, out), DibImport::Ok);
    EXPECT_EQ(out.At(0, 0), 0x0000FFu);
    EXPECT_EQ(out.At(1, 0), 0x00FF00u);

    QMimeData text;
    text.setText(QStringLiteral("no picture"));
    EXPECT_FALSE(ClipboardHasPicture(&text));
    Buffer kept = Sentinel();
    EXPECT_EQ(ReadClipboardPicture(&text, 0, kept), DibImport::Failed);
    EXPECT_EQ(kept.At(0, 0), 0x123456u);
}
