#include "raster/Buffer.h"
#include "raster/Dib.h"
#include "raster/RasterError.h"
#include "support/DibFields.h"
#include "testdata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

namespace {

using namespace dibfields;

// Checks every pixel; returns the number of mismatches so loops can stop early.
int CompareImage(const Buffer& b, const DibFields& s, const std::string& label) {
    const int h = std::abs(s.height);
    EXPECT_EQ(b.Width(), s.width) << label;
    EXPECT_EQ(b.Height(), h) << label;
    if (b.Width() != s.width || b.Height() != h) return 1;
    int bad = 0;
    for (int y = 0; y < h && bad < 3; ++y)
        for (int x = 0; x < s.width && bad < 3; ++x) {
            const uint32_t want = Expected(s, s.raw[size_t(y) * s.width + x]);
            if (b.At(x, y) != want) {
                ADD_FAILURE() << label << " at " << x << "," << y << ": " << std::hex << b.At(x, y)
                              << " want " << want;
                ++bad;
            }
        }
    return bad;
}

// Runs a decode that must report a flaw yet deliver its whole picture.
void ExpectFlawed(const std::function<void()>& decode, const std::string& label) {
    try {
        decode();
        ADD_FAILURE() << label << ": flaw not reported";
    } catch (const InvalidImageError& e) {
        EXPECT_TRUE(e.Partial()) << label;
    }
}

// Decodes through both entry points and compares; flawed bitmaps must say so.
void CheckBothRoutes(const DibFields& s, const std::string& label, bool flawed = false) {
    Buffer packed, stream;
    const auto run = [&](const std::function<void()>& decode, const std::string& what) {
        if (flawed)
            ExpectFlawed(decode, what);
        else
            decode();
    };
    run([&] { BitmapFromPacked(packed, Packed(s)); }, label + " packed");
    CompareImage(packed, s, label + " packed");
    run([&] { BitmapFromStream(stream, Info(s), Bits(s)); }, label + " stream");
    CompareImage(stream, s, label + " stream");
}

std::mt19937 rng(12345);

std::vector<uint32_t> RandomValues(size_t n, uint32_t mask) {
    std::vector<uint32_t> v(n);
    for (auto& x : v) x = uint32_t(rng()) & mask;
    return v;
}

std::string Label(const DibFields& s) {
    return "bpp " + std::to_string(s.bpp) + " w " + std::to_string(s.width) + " h " +
           std::to_string(s.height) + " hdr " + std::to_string(s.headerSize);
}

const int Widths[] = {1, 7, 8, 9, 31, 32, 33};

template <typename E> void ExpectThrow(const std::function<void()>& f, const std::string& label) {
    try {
        f();
        ADD_FAILURE() << label << ": no exception";
    } catch (const E&) {
    } catch (const std::exception& e) {
        ADD_FAILURE() << label << ": wrong exception " << e.what();
    }
}

} // namespace

TEST(DibTest, PalettedDepthsAtRowBoundaries) {
    for (unsigned bpp : {1u, 2u, 4u, 8u})
        for (int w : Widths)
            for (int h : {3, -3}) {
                DibFields s;
                s.bpp = bpp;
                s.width = w;
                s.height = h;
                s.palette = RandomValues(size_t(1) << bpp, 0xFFFFFF);
                s.raw = RandomValues(size_t(w) * 3, (1u << bpp) - 1);
                CheckBothRoutes(s, Label(s));
                s.headerSize = 12; // core header: 16-bit sizes, three-byte table entries
                if (h > 0) CheckBothRoutes(s, Label(s));
            }
}

TEST(DibTest, TrueColourDepthsAtRowBoundaries) {
    for (unsigned bpp : {16u, 24u, 32u})
        for (int w : Widths)
            for (int h : {2, -2}) {
                DibFields s;
                s.bpp = bpp;
                s.width = w;
                s.height = h;
                // Without bit fields: 5-5-5 and 8-8-8 (expected only, not written). The unused
                // top bit or byte holds garbage.
                if (bpp == 16) s.masks = {0x7C00, 0x03E0, 0x001F};
                if (bpp == 32) s.masks = {0xFF0000, 0x00FF00, 0x0000FF};
                s.raw = RandomValues(size_t(w) * 2, bpp == 24 ? 0xFFFFFF : 0xFFFFFFFF);
                CheckBothRoutes(s, Label(s));
            }
}

TEST(DibTest, BitFieldMasks) {
    struct Case {
        unsigned bpp;
        std::vector<uint32_t> masks;
        bool flawed = false; // a channel without bits decodes, but is reported
    };
    const Case cases[] = {
        {16, {0xF800, 0x07E0, 0x001F}},             // 5-6-5
        {16, {0x8000, 0x7FE0, 0x001F}},             // 1-10-5
        {16, {0x000F, 0x00F0, 0x0F00}},             // 4-4-4, reversed order, top nibble unused
        {16, {0xF0000, 0x00FF, 0}, true},           // a mask past the 16 bits, a missing channel
        {32, {0x3FF00000, 0x000FFC00, 0x000003FF}}, // 10-10-10
        {32, {0x000000FF, 0x0000FF00, 0x00FF0000}}, // blue and red swapped
        {32, {0xFFFFFF00, 0x000000F0, 0x0000000C}}, // 24-bit channel, 4 and 2 bits
        {32, {0x80000000, 0, 0x7FFFFFFF}, true},    // 1 bit and 31 bits, no green
    };
    for (const Case& c : cases)
        for (uint32_t header : {40u, 52u, 56u, 108u, 124u})
            for (int w : {1, 7, 33})
                for (int h : {2, -2}) {
                    DibFields s;
                    s.headerSize = header;
                    s.compression = 3;
                    s.bpp = c.bpp;
                    s.width = w;
                    s.height = h;
                    s.masks = c.masks;
                    s.raw = RandomValues(size_t(w) * 2, c.bpp == 16 ? 0xFFFF : 0xFFFFFFFF);
                    CheckBothRoutes(s, Label(s), c.flawed);
                    if (header == 40) {
                        // Alpha bit fields: a fourth mask follows the three, and is ignored.
                        s.compression = 6;
                        s.masks.push_back(0xFFFF0000);
                        CheckBothRoutes(s, Label(s) + " alpha", c.flawed);
                    }
                }
    // Images with more pixels than channel values are decoded through lookup tables.
    for (const Case& c : cases) {
        DibFields s;
        s.compression = 3;
        s.bpp = c.bpp;
        s.width = 259;
        s.height = -260;
        s.masks = c.masks;
        s.raw = RandomValues(size_t(259) * 260, c.bpp == 16 ? 0xFFFF : 0xFFFFFFFF);
        CheckBothRoutes(s, Label(s), c.flawed);
    }
}

TEST(DibTest, ChannelScalingByHand) {
    DibFields s;
    s.bpp = 16;
    s.width = 4;
    s.compression = 3;
    s.masks = {0xF800, 0x07E0, 0x001F};
    s.raw = {0xFFFF, 0x8410, 0x0821, 0x0000};
    Buffer b;
    BitmapFromPacked(b, Packed(s));
    // 16/31 -> 131.6, 32/63 -> 129.5, 1/31 -> 8.2, 1/63 -> 4.05
    EXPECT_EQ(b.At(0, 0), 0xFFFFFFu);
    EXPECT_EQ(b.At(1, 0), 0x848284u);
    EXPECT_EQ(b.At(2, 0), 0x080408u);
    EXPECT_EQ(b.At(3, 0), 0x000000u);

    // Masks in a V5 header count only with bit fields; without them 5-5-5 applies.
    s.headerSize = 124;
    s.compression = 0;
    s.raw = {0x7FFF, 0x8000, 0x0400, 0x0001};
    BitmapFromPacked(b, Packed(s));
    EXPECT_EQ(b.At(0, 0), 0xFFFFFFu);
    EXPECT_EQ(b.At(1, 0), 0x000000u);
    EXPECT_EQ(b.At(2, 0), 0x080000u);
    EXPECT_EQ(b.At(3, 0), 0x000008u);
}

TEST(DibTest, ColourTableSizes) {
    // Fewer colours than the depth allows: indices past them are black, and reported.
    DibFields s;
    s.bpp = 8;
    s.width = 5;
    s.colorsUsed = 3;
    s.palette = {0x102030, 0x405060, 0x708090};
    s.raw = {0, 1, 2, 3, 255};
    CheckBothRoutes(s, "three colours", true);
    s.raw = {0, 1, 2, 2, 0};
    CheckBothRoutes(s, "three colours used");

    // A table on a true-colour bitmap moves the pixels but is not used for them.
    s.bpp = 24;
    s.raw = {0x010203, 0xFFFFFF, 0, 0xABCDEF, 0x808080};
    CheckBothRoutes(s, "24 bits with table");

    s.bpp = 16;
    s.compression = 3;
    s.masks = {0xF800, 0x07E0, 0x001F};
    s.raw = {0x1234, 0xFFFF, 0, 0x8000, 0x0001};
    CheckBothRoutes(s, "masks then table");

    // The stream's table may stop short of 2^bpp when the count is not given: the rest is black.
    DibFields t;
    t.bpp = 4;
    t.width = 3;
    t.palette = {0x111111, 0x222222};
    t.raw = {0, 1, 15};
    for (uint32_t header : {12u, 40u}) {
        t.headerSize = header;
        Buffer b;
        ExpectFlawed([&] { BitmapFromStream(b, Info(t), Bits(t)); }, "short table");
        CompareImage(b, t, "short table");
        // Packed, the table must be complete or the pixels would be taken from it.
        ExpectThrow<InvalidImageError>([&] { BitmapFromPacked(b, Packed(t)); }, "short packed");
    }
}

TEST(DibTest, TruncatedPixelData) {
    DibFields s;
    s.bpp = 8;
    s.width = 9; // 9 bytes of pixels, 12 with padding
    s.palette = RandomValues(256, 0xFFFFFF);
    for (auto& c : s.palette) c |= 0x010101; // nothing black, so undecoded rows stand out
    s.raw = RandomValues(9 * 5, 0xFF);
    for (int h : {5, -5}) {
        s.height = h;
        const Bytes info = Info(s), bits = Bits(s);
        for (size_t keep : {size_t(12 * 2 + 5), size_t(12 * 4 + 9), size_t(12 * 4 + 11)}) {
            Buffer b;
            try {
                BitmapFromStream(b, info, std::span(bits).first(keep));
                EXPECT_GE(keep, size_t(12 * 4 + 9)) << "a row was missing";
            } catch (const InvalidImageError& e) {
                EXPECT_TRUE(e.Partial());
                EXPECT_LT(keep, size_t(12 * 4 + 9)) << "only padding was missing";
            }
            const int rows = int((keep - 9) / 12 + 1);
            ASSERT_EQ(b.Height(), 5);
            for (int y = 0; y < 5; ++y) {
                const int fileRow = h < 0 ? y : 4 - y;
                for (int x = 0; x < 9; ++x) {
                    const uint32_t want = fileRow < rows ? s.palette[s.raw[y * 9 + x]] : 0;
                    ASSERT_EQ(b.At(x, y), want) << "keep " << keep << " at " << x << "," << y;
                }
            }
        }
        // Not one whole row: nothing decoded, and the target keeps what it had.
        Buffer b;
        ASSERT_TRUE(b.Alloc(Pair{2, 2}));
        const uint32_t* before = b.pixels;
        try {
            BitmapFromStream(b, info, std::span(bits).first(8));
            ADD_FAILURE() << "no exception";
        } catch (const InvalidImageError& e) {
            EXPECT_FALSE(e.Partial());
        }
        EXPECT_EQ(b.pixels, before);
        EXPECT_EQ(b.Width(), 2);
    }
}

TEST(DibTest, LyingHeadersThrow) {
    DibFields base;
    base.bpp = 8;
    base.width = 4;
    base.height = 2;
    base.colorsUsed = 2;
    base.palette = {0xFF0000, 0x00FF00};
    base.raw = {0, 1, 0, 1, 1, 0, 1, 0};
    const Bytes good = Packed(base);
    Buffer b;
    BitmapFromPacked(b, good); // the base itself is valid

    auto patched = [&](size_t at, uint32_t v, int bytes = 4) {
        Bytes p = good;
        for (int i = 0; i < bytes; ++i) p[at + i] = uint8_t(v >> (8 * i));
        return p;
    };
    auto invalid = [&](const Bytes& p, const std::string& label) {
        ExpectThrow<InvalidImageError>([&] { BitmapFromPacked(b, p); }, label);
    };
    auto library = [&](const Bytes& p, const std::string& label) {
        ExpectThrow<LibraryError>([&] { BitmapFromPacked(b, p); }, label);
    };
    invalid(patched(4, 0), "width 0");
    invalid(patched(4, uint32_t(-4)), "negative width");
    invalid(patched(8, 0), "height 0");
    library(patched(4, 0x7FFFFFFF), "huge width");
    library(patched(8, 0x80000000), "most negative height");
    Bytes over = patched(4, 16384);
    Put32(over, 8, 16385);
    library(over, "one row over the pixel limit");
    invalid(patched(0, 0xFFFFFFFF), "header size past the end");
    invalid(patched(0, 1000), "header size larger than the data");
    invalid(patched(0, 13), "unknown header size");
    invalid(Bytes{40, 0, 0}, "no header");
    invalid(Bytes{}, "empty");
    invalid(patched(12, 2, 2), "two planes");
    invalid(patched(14, 3, 2), "3 bits per pixel");
    invalid(patched(14, 0, 2), "0 bits per pixel");
    library(patched(14, 64, 2), "64 bits per pixel");
    library(patched(16, 4), "JPEG inside");
    library(patched(16, 5), "PNG inside");
    invalid(patched(16, 9), "unknown compression");
    invalid(patched(16, 2), "RLE4 at 8 bits");
    invalid(patched(32, 0x7FFFFFFF), "colour count 0x7FFFFFFF");
    invalid(patched(32, 200), "colour count past the data");
    DibFields many = base;
    many.colorsUsed = 257;
    many.palette.resize(257);
    ExpectThrow<InvalidImageError>([&] { BitmapFromStream(b, Info(many), Bits(many)); },
                                   "more colours than 8 bits allow");
    DibFields shortTable = base;
    shortTable.colorsUsed = 3; // two entries written
    ExpectThrow<InvalidImageError>([&] { BitmapFromStream(b, Info(shortTable), Bits(shortTable)); },
                                   "colour count lies");

    // Bit fields whose masks are missing.
    DibFields m = base;
    m.bpp = 32;
    m.compression = 3;
    m.palette.clear();
    m.raw.assign(8, 0x123456);
    Bytes info = Info(m); // no masks written
    ExpectThrow<InvalidImageError>([&] { BitmapFromStream(b, info, Bits(m)); }, "no masks");
    ExpectThrow<InvalidImageError>([&] { BitmapFromPacked(b, info); }, "packed: no masks");

    // The stream route: a header promising more than the info block holds.
    info = Info(base);
    ExpectThrow<InvalidImageError>(
        [&] { BitmapFromStream(b, std::span(info).first(39), Bits(base)); }, "cut header");
    ExpectThrow<InvalidImageError>([&] { BitmapFromStream(b, info, {}); }, "no pixels");
}

namespace {

DibFields RleFields(uint32_t compression, int w, int h) {
    DibFields s;
    s.compression = compression;
    s.bpp = compression == 1 ? 8 : 4;
    s.width = w;
    s.height = h;
    s.palette = {0x0000C0, 0x00C000, 0xC00000, 0xC0C0C0};
    return s;
}

Buffer DecodeRle(const DibFields& s, const Bytes& data, bool flawed = false) {
    Buffer b;
    if (flawed)
        ExpectFlawed([&] { BitmapFromStream(b, Info(s), data); }, "RLE");
    else
        BitmapFromStream(b, Info(s), data);
    return b;
}

void ExpectRows(const Buffer& b, const std::vector<std::vector<uint32_t>>& rows) {
    ASSERT_EQ(b.Height(), int(rows.size()));
    for (int y = 0; y < b.Height(); ++y) {
        ASSERT_EQ(b.Width(), int(rows[y].size()));
        for (int x = 0; x < b.Width(); ++x) EXPECT_EQ(b.At(x, y), rows[y][x]) << x << "," << y;
    }
}

} // namespace

TEST(DibTest, Rle8Codes) {
    const DibFields s = RleFields(1, 6, 3);
    const uint32_t c0 = s.palette[0], c1 = s.palette[1], c2 = s.palette[2], c3 = s.palette[3];
    const Bytes data = {
        3, 1,             // run of three 1s
        0, 3, 2, 3, 0, 0, // three literal pixels and the pad byte
        0, 0,             // end of line
        2, 2,             // run of two 2s
        0, 2, 3, 1,       // move right 3, up 1: (5, row 2)
        4, 3,             // run of four 3s, clipped at the right edge
        0, 1,             // end of bitmap
    };
    // Top row first: the data's first line is the bottom one. Skipped pixels are black; the run
    // past the edge is reported.
    ExpectRows(DecodeRle(s, data, true),
               {{0, 0, 0, 0, 0, c3}, {c2, c2, 0, 0, 0, 0}, {c1, c1, c1, c2, c3, c0}});

    // Data ending right after the last line needs no end-of-bitmap code.
    const DibFields one = RleFields(1, 2, 1);
    ExpectRows(DecodeRle(one, {2, 3, 0, 0}), {{c3, c3}});

    // Cut inside a literal run: what came before is kept and reported as partial.
    Buffer b;
    try {
        BitmapFromStream(b, Info(s), Bytes{2, 1, 0, 4, 2, 2});
        ADD_FAILURE() << "no exception";
    } catch (const InvalidImageError& e) {
        EXPECT_TRUE(e.Partial());
    }
    ExpectRows(b, {{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {c1, c1, 0, 0, 0, 0}});
    try {
        BitmapFromStream(b, Info(s), Bytes{0, 0, 0});
        ADD_FAILURE() << "no exception";
    } catch (const InvalidImageError& e) {
        EXPECT_FALSE(e.Partial());
    }
    // Runs and moves far past the image are clipped, not written.
    ExpectRows(DecodeRle(one, {255, 1, 255, 1, 0, 2, 255, 255, 0, 0, 0, 1}, true), {{c1, c1}});
    // A run that ends exactly at the edge is sound.
    ExpectRows(DecodeRle(one, {2, 1, 0, 1}), {{c1, c1}});
}

TEST(DibTest, Rle4Codes) {
    const DibFields s = RleFields(2, 5, 2);
    const uint32_t c0 = s.palette[0], c1 = s.palette[1], c2 = s.palette[2], c3 = s.palette[3];
    const Bytes data = {
        5, 0x12,                      // 1 2 1 2 1
        0, 0,                         // end of line
        0, 5,    0x30, 0x12, 0x30, 0, // five literal nibbles 3 0 1 2 3, padded to a word
        0, 1,
    };
    ExpectRows(DecodeRle(s, data), {{c3, c0, c1, c2, c3}, {c1, c2, c1, c2, c1}});
    // Literal nibble runs of odd length: three nibbles in two bytes, no pad.
    ExpectRows(DecodeRle(RleFields(2, 3, 1), {0, 3, 0x21, 0x30, 0, 1}), {{c2, c1, c3}});

    DibFields top = s;
    top.height = -2;
    Buffer b;
    ExpectThrow<InvalidImageError>([&] { BitmapFromStream(b, Info(top), data); }, "top-down");
}

namespace {

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A .bmp file decoded the way its file header lays it out: header block up to the pixel offset.
void DecodeBmpFile(Buffer& b, const QByteArray& all) {
    ASSERT_GE(all.size(), 14);
    const auto* p = reinterpret_cast<const uint8_t*>(all.constData());
    const size_t offBits = p[10] | p[11] << 8 | p[12] << 16 | size_t(p[13]) << 24;
    ASSERT_GE(offBits, 14u);
    ASSERT_LE(offBits, size_t(all.size()));
    const std::span<const uint8_t> file(p, size_t(all.size()));
    BitmapFromStream(b, file.subspan(14, offBits - 14), file.subspan(offBits));
}

void ExpectSameAsReference(const Buffer& b, const QString& png) {
    const QImage img = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(img.isNull()) << png.toStdString();
    ASSERT_EQ(b.Width(), img.width());
    ASSERT_EQ(b.Height(), img.height());
    int bad = 0;
    for (int y = 0; y < img.height() && bad < 3; ++y)
        for (int x = 0; x < img.width() && bad < 3; ++x)
            if (b.At(x, y) != (img.pixel(x, y) & 0xFFFFFF)) {
                ADD_FAILURE() << x << "," << y << ": " << std::hex << b.At(x, y) << " want "
                              << (img.pixel(x, y) & 0xFFFFFF);
                ++bad;
            }
}

} // namespace

TEST(DibTest, BmpSuiteMatchesReferences) {
    REQUIRE_TESTDATA();
    const QString suite = TestDataDir() + "/bmpsuite/";
    // Files drawn the same as a reference of another name.
    const QHash<QString, QString> sameAs = {
        {"pal1wb", "pal1"},
        {"pal4rle", "pal4"},
        {"pal8-0", "pal8"},
        {"pal8nonsquare", "pal8nonsquare-e"},
        {"pal8os2", "pal8"},
        {"pal8rle", "pal8"},
        {"pal8topdown", "pal8"},
        {"pal8v4", "pal8"},
        {"pal8v5", "pal8"},
        {"rgb16-565pal", "rgb16-565"},
        {"rgb16bfdef", "rgb16"},
        {"rgb24pal", "rgb24"},
        {"rgb32", "rgb24"},
        {"rgb32bf", "rgb24"},
        {"rgb32bfdef", "rgb24"},
        // Questionable files this decoder reads.
        {"q/pal1p1", "pal1p1"},
        {"q/pal2", "pal2"},
        {"q/pal2color", "pal2color"},
        {"q/pal4rlecut", "pal4rlecut-b"},
        {"q/pal8rlecut", "pal8rlecut-b"},
        {"q/pal4rletrns", "pal4rletrns-b"},
        {"q/pal8rletrns", "pal8rletrns-b"},
        {"q/pal8os2v2-16", "pal8"},
        {"q/pal8os2v2", "pal8"},
        {"q/pal8offs", "pal8"},
        {"q/rgb16-231", "rgb16-231"},
        {"q/rgb16-3103", "rgb16-3103"},
        {"q/rgb32-7187", "rgb32-7187"},
        {"q/rgb32h52", "rgb24"},
        {"q/rgb32-xbgr", "rgb24"},
    };
    QStringList files;
    for (const QString& name : QDir(suite + "g").entryList({"*.bmp"}, QDir::Files))
        files << "g/" + QFileInfo(name).completeBaseName();
    ASSERT_EQ(files.size(), 27);
    for (auto it = sameAs.begin(); it != sameAs.end(); ++it)
        if (it.key().startsWith("q/")) files << it.key();
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        Buffer b;
        DecodeBmpFile(b, ReadFile(suite + file + ".bmp"));
        const QString base = file.mid(2);
        const QString ref = suite + "reference/" + sameAs.value(base, sameAs.value(file, base));
        ExpectSameAsReference(b, ref + ".png");
    }
}

// Bad and questionable files: an error or an image, never a crash or a read past the data
// (the sanitizer build checks the latter). Both entry points are tried.
TEST(DibTest, BmpSuiteBadFilesFailCleanly) {
    REQUIRE_TESTDATA();
    for (const char* folder : {"b", "q"}) {
        const QString dir = TestDataDir() + "/bmpsuite/" + folder + "/";
        for (const QString& name : QDir(dir).entryList({"*.bmp"}, QDir::Files)) {
            SCOPED_TRACE(name.toStdString());
            QFile f(dir + name);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            const QByteArray all = f.readAll();
            const std::span<const uint8_t> file(reinterpret_cast<const uint8_t*>(all.constData()),
                                                size_t(all.size()));
            const std::span<const uint8_t> dib = file.subspan(std::min<size_t>(14, file.size()));
            Buffer b;
            try {
                BitmapFromPacked(b, dib);
            } catch (const RasterError&) {
            }
            size_t offBits = file.size() >= 14 ? file[10] | file[11] << 8 | file[12] << 16 |
                                                     size_t(file[13]) << 24
                                               : 14;
            offBits = std::clamp<size_t>(offBits, 14, std::max<size_t>(14, file.size()));
            try {
                BitmapFromStream(b, dib.first(offBits - 14), dib.subspan(offBits - 14));
            } catch (const RasterError&) {
            }
        }
    }
}
