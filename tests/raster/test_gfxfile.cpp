#include "raster/GFXFile.h"
#include "raster/ImageConvert.h"
#include "raster/RasterError.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

// ---- hand-made files -------------------------------------------------------------------------

uint32_t Crc32(const QByteArray& data) {
    uint32_t c = 0xFFFFFFFFu;
    for (char ch : data) {
        c ^= uint8_t(ch);
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

QByteArray Be32(uint32_t v) {
    QByteArray b(4, 0);
    qToBigEndian(v, b.data());
    return b;
}

QByteArray Chunk(const char* type, const QByteArray& data) {
    const QByteArray body = QByteArray(type) + data;
    return Be32(uint32_t(data.size())) + body + Be32(Crc32(body));
}

QByteArray Ihdr(uint32_t w, uint32_t h, int depth, int colourType) {
    const char tail[] = {char(depth), char(colourType), 0, 0, 0};
    return Chunk("IHDR", Be32(w) + Be32(h) + QByteArray(tail, 5));
}

// A PNG from raw scanlines (each already led by its filter byte).
QByteArray Png(const QByteArray& ihdr, const QByteArray& raw, const QByteArray& extra = {}) {
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + ihdr + extra +
           Chunk("IDAT", qCompress(raw).mid(4)) + Chunk("IEND", {});
}

// A zlib stream of n zero bytes without holding them: one literal, then matches of 258 bytes at
// distance 1, in a fixed-Huffman block.
QByteArray ZlibOfZeros(uint64_t n) {
    QByteArray out("\x78\x01", 2);
    uint32_t acc = 0;
    int bits = 0;
    auto put = [&](uint32_t v, int count) { // LSB first
        acc |= v << bits;
        bits += count;
        while (bits >= 8) {
            out.append(char(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    };
    auto code = [&](uint32_t c, int count) { // Huffman codes go most significant bit first
        for (int i = count - 1; i >= 0; --i) put((c >> i) & 1, 1);
    };
    put(1, 1); // final block
    put(1, 2); // fixed Huffman
    uint64_t left = n;
    code(0x30, 8); // literal 0
    --left;
    for (; left >= 258; left -= 258) {
        code(0xC5, 8); // length 258
        code(0, 5);    // distance 1
    }
    for (; left > 0; --left) code(0x30, 8);
    code(0, 7); // end of block
    if (bits) put(0, 8 - bits);
    out += Be32(uint32_t((n % 65521) << 16 | 1)); // Adler-32 of zeros
    return out;
}

// Two-colour GIF of 1 x 1 frames; frame k shows colour index indices[k] (0 red, 1 blue).
QByteArray TinyGif(const std::vector<int>& indices) {
    QByteArray g("GIF89a\x01\x00\x01\x00\x80\x00\x00", 13);
    g += QByteArray("\xFF\x00\x00\x00\x00\xFF", 6);
    for (int i : indices) {
        g += QByteArray("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02", 11);
        g += i ? QByteArray("\x02\x4C\x01\x00", 4) : QByteArray("\x02\x44\x01\x00", 4);
    }
    return g + "\x3B";
}

// ---- helpers ---------------------------------------------------------------------------------

class GFXTemp : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Path(const QString& name) const { return dir.filePath(name); }
    QString Write(const QString& name, const QByteArray& bytes) const {
        QFile f(Path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return Path(name);
    }
    void TearDown() override { GFXFile::SetProgFunc({}, {}, {}); }
};

enum class Kind { Exact, Grey, Mono, Lossy, SizeOnly };

Kind KindOf(const QByteArray& f) {
    if (f == "png" || f == "bmp" || f == "tiff" || f == "ppm" || f == "webp" || f == "xpm" ||
        f == "ico" || f == "cur" || f == "icns")
        return Kind::Exact;
    if (f == "pgm") return Kind::Grey;
    if (f == "pbm" || f == "xbm") return Kind::Mono;
    if (f == "jpeg") return Kind::Lossy;
    return Kind::SizeOnly; // a plug-in this test does not know
}

// Colours for each kind, carrying mark and XOR bits that saving must drop: most writers are
// handed our pixels as they are and must ignore the top byte.
uint32_t PatternPixel(Kind kind, int x, int y) {
    const uint32_t h = (uint32_t(x) * 2654435761u) ^ (uint32_t(y) * 40503u);
    const uint32_t marks[] = {0, Pixel::Transparent, Pixel::EdgeMark, Pixel::XorFlag};
    const uint32_t mark = marks[(x + y) & 3];
    switch (kind) {
    case Kind::Grey:
        return (h & 0xFF) * 0x010101u | mark;
    case Kind::Mono:
        return ((x * 3 + y) % 5 < 2 ? 0xFFFFFF : 0) | mark;
    case Kind::Lossy:
        return uint32_t(x * 6) << 16 | uint32_t(y * 6) << 8 | 0x80 | mark;
    default:
        return (h & 0xFFFFFF) | mark;
    }
}

std::vector<Pair> SizesFor(const QByteArray& f) {
    if (f == "icns") return {{16, 16}, {32, 32}};
    return {{1, 1}, {7, 9}, {33, 32}};
}

// ---- formats ---------------------------------------------------------------------------------

TEST(GFXFormats, OneEntryPerReadableFormatBmpFirst) {
    const auto& formats = GFXFile::Formats();
    ASSERT_FALSE(formats.empty());
    EXPECT_EQ(formats[0].extensions.split(';').first(), "*.bmp");
    std::set<QString> patterns, descriptions;
    for (const GFXFormat& f : formats) {
        EXPECT_FALSE(f.description.isEmpty());
        EXPECT_TRUE(descriptions.insert(f.description).second) << f.description.toStdString();
        for (const QString& p : f.extensions.split(';')) {
            EXPECT_TRUE(p.startsWith("*.")) << p.toStdString();
            EXPECT_TRUE(patterns.insert(p.toLower()).second) << p.toStdString();
        }
        if (f.canSave) {
            EXPECT_TRUE(QImageWriter::supportedImageFormats().contains(f.qtFormat))
                << f.qtFormat.data();
        }
    }
    // Every format Qt reads here is reachable by its own extension.
    for (const QByteArray& q : QImageReader::supportedImageFormats())
        EXPECT_NE(GFXFile::GetDefaultFormat("a." + QString::fromLatin1(q)), nullptr) << q.data();
    EXPECT_EQ(GFXFile::GetDefaultFormat("a.jpg"), GFXFile::GetDefaultFormat("b.jpeg"));
    EXPECT_EQ(GFXFile::GetDefaultFormat("a.tif"), GFXFile::GetDefaultFormat("b.tiff"));
    EXPECT_EQ(GFXFile::GetDefaultFormat("a.png")->description, "Portable Network Graphics");
    EXPECT_EQ(GFXFile::GetDefaultFormat("a.bmp")->description, "Windows Bitmap");
    EXPECT_EQ(GFXFile::GetDefaultFormat("a.jpg")->description, "JPEG Image");
    if (const GFXFormat* svg = GFXFile::GetDefaultFormat("a.svg")) {
        EXPECT_FALSE(svg->canSave);
    }
    EXPECT_FALSE(GFXFile::GetDefaultFormat("a.gif")->canSave); // Qt has no GIF writer
}

TEST(GFXFormats, DefaultFormatByExtensionIgnoringCase) {
    EXPECT_EQ(GFXFile::GetDefaultFormat("/x/Photo.JPEG"), GFXFile::GetDefaultFormat("y.jpg"));
    EXPECT_EQ(GFXFile::GetDefaultFormat("C.Png")->qtFormat, "png");
    EXPECT_EQ(GFXFile::GetDefaultFormat("old.DIB"), GFXFile::GetDefaultFormat("new.bmp"));
    EXPECT_EQ(GFXFile::GetDefaultFormat("archive.tar.gz"), nullptr);
    EXPECT_EQ(GFXFile::GetDefaultFormat("noextension"), nullptr);
    EXPECT_EQ(GFXFile::GetDefaultFormat("/folder.png/noextension"), nullptr);
    EXPECT_EQ(GFXFile::GetDefaultFormat(""), nullptr);
}

// ---- save and load ---------------------------------------------------------------------------

TEST_F(GFXTemp, RoundTripEveryWritableFormat) {
    int tried = 0;
    for (const GFXFormat& f : GFXFile::Formats()) {
        if (!f.canSave) continue;
        const Kind kind = KindOf(f.qtFormat);
        const QString ext = f.extensions.split(';').first().mid(2);
        for (Pair size : SizesFor(f.qtFormat)) {
            SCOPED_TRACE(f.qtFormat.toStdString() + " " + std::to_string(size.x) + "x" +
                         std::to_string(size.y));
            Buffer src;
            ASSERT_TRUE(src.Alloc(size));
            for (int y = 0; y < size.y; ++y)
                for (int x = 0; x < size.x; ++x) src.At(x, y) = PatternPixel(kind, x, y);
            const QString name = Path("rt." + ext);
            GFXtra32 extra;
            ASSERT_NO_THROW(GFXFile::Save(src, name, &extra, nullptr));
            Buffer back;
            GFXtra32 in;
            in.colourB = 0x123456;
            ASSERT_NO_THROW(GFXFile::Load(back, name, &in));
            ASSERT_EQ(back.Width(), size.x);
            ASSERT_EQ(back.Height(), size.y);
            int64_t error = 0;
            for (int y = 0; y < size.y; ++y)
                for (int x = 0; x < size.x; ++x) {
                    const uint32_t want = src.At(x, y) & 0xFFFFFF, got = back.At(x, y);
                    ASSERT_EQ(got & 0xFF000000u, 0u) << "mark bits on a loaded pixel";
                    if (kind == Kind::Exact || kind == Kind::Grey || kind == Kind::Mono) {
                        ASSERT_EQ(got, want) << "at " << x << "," << y;
                    }
                    for (int s = 0; s < 24; s += 8)
                        error += std::abs(int((got >> s) & 0xFF) - int((want >> s) & 0xFF));
                }
            if (kind == Kind::Lossy) {
                EXPECT_LT(double(error) / (3.0 * size.x * size.y), 6.0);
            }
            ++tried;
        }
    }
    EXPECT_GE(tried, 3 * 6); // png, bmp, jpeg, tiff, ppm, webp at least
}

TEST_F(GFXTemp, ViewIsSavedFromItsOwnCorner) {
    Buffer parent;
    ASSERT_TRUE(parent.Alloc({40, 30}));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            parent.At(x, y) = uint32_t(x * 5) << 16 | uint32_t(y * 7) << 8 | 9;
    const Buffer view(parent, {5, 7, 20, 16});
    for (const char* ext : {"png", "bmp"}) {
        const QString name = Path(QString("view.") + ext);
        GFXFile::Save(view, name, nullptr, nullptr);
        Buffer back;
        GFXFile::Load(back, name, nullptr);
        ASSERT_EQ(back.Bounds(), (Rect{0, 0, 15, 9}));
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 16; ++x) ASSERT_EQ(back.At(x, y), parent.At(x + 5, y + 7)) << ext;
    }
}

TEST_F(GFXTemp, SavedBrushLoadsBackHandleAndColours) {
    Buffer brush;
    ASSERT_TRUE(brush.Alloc({7, 5}));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) brush.At(x, y) = (x + y) % 3 ? 0x00C000 : 0xFF0000;
    for (const char* ext : {"png", "jpg"}) {
        SCOPED_TRACE(ext);
        const QString name = Path(QString("brush.") + ext);
        GFXtra32 out{3, -2, 0x112233, 0xFF0000, 1};
        GFXFile::Save(brush, name, &out, nullptr);
        GFXtra32 in;
        in.colourA = 0xABCDEF;
        in.colourB = Pixel::Transparent;
        Buffer back;
        GFXFile::Load(back, name, &in);
        EXPECT_EQ(in.x, 3);
        EXPECT_EQ(in.y, -2);
        EXPECT_EQ(in.colourA, 0x112233u);
        EXPECT_EQ(in.colourB, 0xFF0000u);
        if (QString(ext) == "png") {
            EXPECT_EQ(back.At(0, 0), 0xFF0000u);
        }
    }
    // Without our keys the handle is 0, 0 and the colours stay as given.
    const QString bmp = Path("brush.bmp");
    GFXtra32 out{3, 4, 0x112233, 0xFF0000, 1};
    GFXFile::Save(brush, bmp, &out, nullptr);
    GFXtra32 in{9, 9, 0xABCDEF, Pixel::Transparent, 1};
    Buffer back;
    GFXFile::Load(back, bmp, &in);
    EXPECT_EQ(in.x, 0);
    EXPECT_EQ(in.y, 0);
    EXPECT_EQ(in.colourA, 0xABCDEFu);
    EXPECT_EQ(in.colourB, Pixel::Transparent);
}

// Alpha written by Qt itself, so the expectation does not come from our writer.
TEST_F(GFXTemp, AlphaBecomesTransparentForBrushesAndIsCompositedOtherwise) {
    const int alphas[] = {0, 1, 100, 127, 128, 200, 254, 255};
    QImage img(8, 1, QImage::Format_ARGB32);
    for (int i = 0; i < 8; ++i) img.setPixel(i, 0, qRgba(0xF0, 0x80, 0x10, alphas[i]));
    const QString plain = Path("alpha.png");
    ASSERT_TRUE(img.save(plain));
    QImageWriter keyed(Path("alpha-keyed.png"));
    keyed.setText("OrvelPaint.ColourB", "00FF00");
    ASSERT_TRUE(keyed.write(img));

    Buffer b;
    GFXtra32 brush{0, 0, 0, Pixel::Transparent, 1};
    GFXFile::Load(b, plain, &brush);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(b.At(i, 0), alphas[i] < 128 ? Pixel::Transparent : 0xF08010u) << alphas[i];
    EXPECT_EQ(brush.colourB, Pixel::Transparent);

    GFXtra32 keyedBrush{0, 0, 0, Pixel::Transparent, 1};
    GFXFile::Load(b, Path("alpha-keyed.png"), &keyedBrush);
    EXPECT_EQ(keyedBrush.colourB, 0x00FF00u);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(b.At(i, 0), alphas[i] < 128 ? 0x00FF00u : 0xF08010u) << alphas[i];

    GFXtra32 doc{0, 0, 0, 0x0000FF, 1};
    GFXFile::Load(b, plain, &doc);
    for (int i = 0; i < 8; ++i) {
        const double a = alphas[i] / 255.0;
        const double want[] = {0xF0 * a, 0x80 * a, 0x10 * a + 0xFF * (1 - a)};
        const uint32_t p = b.At(i, 0);
        const int got[] = {int(p >> 16), int(p >> 8 & 0xFF), int(p & 0xFF)};
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], want[c], 1.0) << alphas[i] << " " << c;
    }
}

TEST_F(GFXTemp, ImagesOfAMultiImageFileByNumber) {
    const QString gif = Write("three.gif", TinyGif({0, 1, 0}));
    EXPECT_EQ(GFXFile::GetImgCount(gif), 3);
    const uint32_t want[] = {0xFF0000, 0x0000FF, 0xFF0000};
    for (int n = 1; n <= 3; ++n) {
        Buffer b;
        GFXtra32 extra;
        extra.image = n;
        GFXFile::Load(b, gif, &extra);
        ASSERT_EQ(b.Bounds(), (Rect{0, 0, 0, 0}));
        EXPECT_EQ(b.At(0, 0), want[n - 1]) << n;
    }
    for (int bad : {0, 4, -1}) {
        Buffer b;
        GFXtra32 extra;
        extra.image = bad;
        try {
            GFXFile::Load(b, gif, &extra);
            ADD_FAILURE() << "image " << bad << " loaded";
        } catch (const InvalidImageError& e) {
            EXPECT_FALSE(e.Partial());
        }
        EXPECT_TRUE(b.Empty());
    }
}

// ---- failures --------------------------------------------------------------------------------

template <class E> E Caught(const std::function<void()>& f) {
    try {
        f();
    } catch (const E& e) {
        return e;
    } catch (const std::exception& e) {
        ADD_FAILURE() << "wrong error: " << e.what();
        throw;
    }
    ADD_FAILURE() << "no error";
    throw std::runtime_error("no error");
}

TEST_F(GFXTemp, LoadFailuresAreTypedAndLeaveTheTargetEmpty) {
    Buffer b;
    ASSERT_TRUE(b.Alloc({3, 3}));
    Caught<FileIOError>([&] { GFXFile::Load(b, Path("missing.png"), nullptr); });
    EXPECT_TRUE(b.Empty());
    Caught<FileIOError>([&] { GFXFile::Load(b, dir.path(), nullptr); });

    const QString text = Write("text.png", "This is not a picture.\n");
    EXPECT_FALSE(Caught<InvalidImageError>([&] { GFXFile::Load(b, text, nullptr); }).Partial());
    EXPECT_TRUE(b.Empty());
    const QString empty = Write("empty.bmp", {});
    EXPECT_FALSE(Caught<InvalidImageError>([&] { GFXFile::Load(b, empty, nullptr); }).Partial());
    // A damaged header (wrong IHDR checksum) is not an image either.
    QByteArray png = Png(Ihdr(4, 4, 8, 0), QByteArray(4 * 5, 0));
    png[29] = char(png[29] ^ 0x55);
    const QString broken = Write("crc.png", png);
    EXPECT_FALSE(Caught<InvalidImageError>([&] { GFXFile::Load(b, broken, nullptr); }).Partial());
}

TEST_F(GFXTemp, TruncatedPngKeepsTheRowsDecodedBeforeTheCut) {
    // Noise, so that half of the file holds about half of the rows; libpng reads 8 KB at a time,
    // so the file must be larger than that for any row to come out.
    const int side = 128;
    QImage img(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            img.setPixel(x, y, 0xFF000000u | ((x * 2654435761u) ^ (y * 40503u)));
    const QString full = Path("full.png");
    ASSERT_TRUE(img.save(full));
    QFile f(full);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const QString cut = Write("cut.png", bytes.left(bytes.size() / 2));
    Buffer b;
    const InvalidImageError e = Caught<InvalidImageError>([&] { GFXFile::Load(b, cut, nullptr); });
    // Qt 6.4 hands back the image with the rows it decoded: the caller may keep them.
    ASSERT_TRUE(e.Partial());
    ASSERT_EQ(b.Bounds(), (Rect{0, 0, side - 1, side - 1}));
    int good = 0;
    while (good < side && b.At(7, good) == (img.pixel(7, good) & 0xFFFFFFu)) ++good;
    EXPECT_GT(good, side / 8);
    EXPECT_LT(good, side);
    for (int x = 0; x < side; ++x) EXPECT_EQ(b.At(x, side - 1), 0u) << "never decoded: black";
}

TEST_F(GFXTemp, OversizedImagesAreRefusedFromTheHeader) {
    const QString huge = Write("huge.png", Png(Ihdr(100000, 100000, 8, 2), QByteArray(4, 0)));
    Buffer b;
    Caught<LibraryError>([&] { GFXFile::Load(b, huge, nullptr); });
    EXPECT_TRUE(b.Empty());
    GFXFileDesc desc;
    ASSERT_TRUE(GFXFile::Test(huge, &desc)); // it is an image, only too large to load
    EXPECT_EQ(desc.width, 100000);
    const QString wide = Write("wide.png", Png(Ihdr(16385, 16384, 8, 0), QByteArray(4, 0)));
    Caught<LibraryError>([&] { GFXFile::Load(b, wide, nullptr); });
}

// The largest image a buffer holds is four times Qt's default allocation limit.
TEST_F(GFXTemp, LargestImageLoads) {
    const uint32_t side = 16384;
    const QByteArray file = QByteArray("\x89PNG\r\n\x1a\n", 8) + Ihdr(side, side, 8, 2) +
                            Chunk("IDAT", ZlibOfZeros(uint64_t(side) * (3 * side + 1))) +
                            Chunk("IEND", {});
    const QString name = Write("largest.png", file);
    Buffer b;
    GFXFile::Load(b, name, nullptr);
    ASSERT_EQ(b.Bounds(), (Rect{0, 0, int(side) - 1, int(side) - 1}));
    EXPECT_EQ(b.At(0, 0), 0u);
    EXPECT_EQ(b.At(side - 1, side - 1), 0u);
}

TEST_F(GFXTemp, SaveFailures) {
    Buffer b;
    ASSERT_TRUE(b.Alloc({7, 9}));
    b.Box({0, 0, 6, 8}, 0x336699);
    for (const char* name : {"a.xyz", "noextension", "a.gif", "a.icns"})
        EXPECT_FALSE(Caught<InvalidImageError>([&] {
                         GFXFile::Save(b, Path(name), nullptr, nullptr);
                     }).Partial())
            << name;
    Buffer wide;
    ASSERT_TRUE(wide.Alloc({300, 2}));
    Caught<InvalidImageError>([&] { GFXFile::Save(wide, Path("a.ico"), nullptr, nullptr); });
    Caught<InvalidImageError>([&] { GFXFile::Save(Buffer(), Path("a.png"), nullptr, nullptr); });
    Caught<FileIOError>([&] { GFXFile::Save(b, Path("no/such/folder/a.png"), nullptr, nullptr); });
    EXPECT_FALSE(QFile::exists(Path("a.xyz")));
}

TEST_F(GFXTemp, SavingFromTheBuffersOwnPixelsLeavesThemAsTheyWere) {
    // A view with an offset, so rows do not follow each other in memory.
    Buffer whole;
    ASSERT_TRUE(whole.Alloc({50, 40}));
    whole.Box(whole.Bounds(), 0x0000FF);
    Buffer view(whole, {5, 3, 44, 36});
    for (int y = view.top; y <= view.bottom; ++y)
        for (int x = view.left; x <= view.right; ++x)
            view.At(x, y) = (uint32_t(x) * 7919u + uint32_t(y) * 104729u) & 0xFFFFFF;
    const Buffer before = whole;
    for (const bool marked : {false, true}) {
        SCOPED_TRACE(marked ? "a marked pixel" : "clear top bytes");
        if (marked) view.At(20, 10) |= Pixel::Transparent; // the copying path then
        const Buffer expect = whole;
        GFXFile::Save(view, Path("v.png"), nullptr, nullptr);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 50; ++x)
                ASSERT_EQ(whole.At(x, y), expect.At(x, y)) << x << "," << y;
        const QImage saved(Path("v.png"));
        ASSERT_EQ(saved.size(), QSize(40, 34));
        for (int y = 0; y < 34; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(saved.pixel(x, y) & 0xFFFFFF, before.At(x + 5, y + 3) & 0xFFFFFF);
    }
    // Stopped by the progress callback half-way: the pixels are put back too.
    view.At(20, 10) &= 0xFFFFFF;
    GFXFile::SetProgFunc({}, [](int p) { return p < 50; }, {});
    Caught<LibraryError>([&] { GFXFile::Save(view, Path("w.png"), nullptr, nullptr); });
    GFXFile::SetProgFunc({}, {}, {});
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 50; ++x) ASSERT_EQ(whole.At(x, y), before.At(x, y));
}

// The direct JPEG writer must make the very file Qt's writer makes of the same picture, so that
// the speed-up changes nothing saved; and it must take the edge marks off the picture.
TEST_F(GFXTemp, JpegIsByteForByteQtsAndClearsEdgeMarks) {
    Buffer whole;
    ASSERT_TRUE(whole.Alloc({61, 45}));
    for (int y = 0; y < 45; ++y)
        for (int x = 0; x < 61; ++x)
            whole.At(x, y) = PatternPixel(Kind::Exact, x, y); // marks and XOR bits among them
    Buffer view(whole, {3, 2, 52, 40});                       // rows apart in memory
    QImage expectImage(view.Width(), view.Height(), QImage::Format_RGB32);
    for (int y = 0; y < view.Height(); ++y)
        for (int x = 0; x < view.Width(); ++x)
            expectImage.setPixel(x, y, 0xFF000000u | view.At(view.left + x, view.top + y));
    QBuffer expect;
    expect.open(QIODevice::WriteOnly);
    QImageWriter writer(&expect, "jpg");
    writer.setQuality(90);
    writer.setText("OrvelPaint.Handle", "3,-2");
    writer.setText("OrvelPaint.ColourA", "112233");
    writer.setText("OrvelPaint.ColourB", "FF00A0");
    ASSERT_TRUE(writer.write(expectImage));

    GFXtra32 extra{3, -2, 0x112233, 0xFF00A0, 1};
    GFXFile::Save(view, Path("same.jpg"), &extra, nullptr);
    QFile saved(Path("same.jpg"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll() == expect.data()) << "differs from Qt's own JPEG";
    for (int y = view.top; y <= view.bottom; ++y)
        for (int x = view.left; x <= view.right; ++x)
            ASSERT_EQ(view.At(x, y) & Pixel::EdgeMark, 0u) << x << "," << y;
    EXPECT_EQ(whole.At(2, 0), PatternPixel(Kind::Exact, 2, 0)) << "outside the view";
}

// ---- progress --------------------------------------------------------------------------------

struct ProgressLog {
    std::vector<std::string> events;
    int stopAt = 1000;
    void Install() {
        GFXFile::SetProgFunc([this] { events.push_back("start"); },
                             [this](int p) {
                                 events.push_back(std::to_string(p));
                                 return p < stopAt;
                             },
                             [this] { events.push_back("stop"); });
    }
    // The steps between start and stop rise from 0 to 100.
    void ExpectWholeRun() const {
        ASSERT_GE(events.size(), 4u);
        EXPECT_EQ(events.front(), "start");
        EXPECT_EQ(events.back(), "stop");
        EXPECT_EQ(events[1], "0");
        EXPECT_EQ(events[events.size() - 2], "100");
        for (size_t i = 2; i + 1 < events.size(); ++i)
            EXPECT_GT(std::stoi(events[i]), std::stoi(events[i - 1]));
    }
};

TEST_F(GFXTemp, ProgressRunsFromStartToStopAroundLoadAndSave) {
    Buffer b;
    ASSERT_TRUE(b.Alloc({33, 200}));
    b.Box({0, 0, 32, 199}, 0x102030);
    ProgressLog log;
    log.Install();
    GFXFile::Save(b, Path("p.png"), nullptr, nullptr);
    log.ExpectWholeRun();
    EXPECT_GE(log.events.size(), 20u) << "the steps come with the rows";
    log.events.clear();
    Buffer back;
    GFXFile::Load(back, Path("p.png"), nullptr);
    log.ExpectWholeRun();

    log.events.clear();
    EXPECT_THROW(GFXFile::Load(back, Path("missing.png"), nullptr), FileIOError);
    EXPECT_EQ(log.events, (std::vector<std::string>{"start", "stop"}));

    // A step that says stop aborts the load with a library error and no image.
    log.events.clear();
    log.stopAt = 50;
    EXPECT_THROW(GFXFile::Load(back, Path("p.png"), nullptr), LibraryError);
    EXPECT_TRUE(back.Empty());
    EXPECT_EQ(log.events.back(), "stop");
    EXPECT_GE(std::stoi(log.events[log.events.size() - 2]), 50);
}

// ---- test and count --------------------------------------------------------------------------

TEST_F(GFXTemp, TestDescribesWithoutLoading) {
    // 3 x 2 paletted PNG: palette red, green, blue.
    const QByteArray plte = Chunk("PLTE", QByteArray("\xFF\0\0\0\xFF\0\0\0\xFF", 9));
    const QString pal =
        Write("pal.png", Png(Ihdr(3, 2, 8, 3), QByteArray("\0\0\1\2\0\2\1\0", 8), plte));
    GFXFileDesc d;
    ASSERT_TRUE(GFXFile::Test(pal, &d));
    EXPECT_EQ(d.format, "Portable Network Graphics");
    EXPECT_EQ(d.width, 3);
    EXPECT_EQ(d.height, 2);
    EXPECT_EQ(d.bitsPerPixel, 8);
    EXPECT_EQ(d.bitsPerComponent, 8);
    EXPECT_TRUE(d.palette);
    EXPECT_FALSE(d.greyScale);
    Buffer b;
    GFXFile::Load(b, pal, nullptr);
    const uint32_t want[] = {0xFF0000, 0x00FF00, 0x0000FF, 0x0000FF, 0x00FF00, 0xFF0000};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(b.At(i % 3, i / 3), want[i]) << i;

    const QString grey =
        Write("grey.png", Png(Ihdr(2, 2, 8, 0), QByteArray("\0\x10\x80\0\xFF\0", 6)));
    d = {};
    ASSERT_TRUE(GFXFile::Test(grey, &d));
    EXPECT_EQ(d.bitsPerPixel, 8);
    EXPECT_TRUE(d.greyScale);
    EXPECT_FALSE(d.palette);
    GFXFile::Load(b, grey, nullptr);
    EXPECT_EQ(b.At(0, 0), 0x101010u);
    EXPECT_EQ(b.At(1, 0), 0x808080u);
    EXPECT_EQ(b.At(0, 1), 0xFFFFFFu);

    QImage rgb(5, 4, QImage::Format_RGB32);
    rgb.fill(QColor(200, 30, 60));
    ASSERT_TRUE(rgb.save(Path("rgb.jpg")));
    d = {};
    ASSERT_TRUE(GFXFile::Test(Path("rgb.jpg"), &d));
    EXPECT_EQ(d.format, "JPEG Image");
    EXPECT_EQ(d.width, 5);
    EXPECT_EQ(d.height, 4);
    EXPECT_EQ(d.bitsPerPixel, 24);
    EXPECT_EQ(d.bitsPerComponent, 8);
    EXPECT_FALSE(d.greyScale);
    EXPECT_FALSE(d.palette);

    const QString gif = Write("two.gif", TinyGif({0, 1}));
    d = {};
    ASSERT_TRUE(GFXFile::Test(gif, &d));
    EXPECT_EQ(d.format, "Graphics Interchange Format");
    EXPECT_EQ(d.bitsPerPixel, 1); // two-colour table
    EXPECT_TRUE(d.palette);

    EXPECT_FALSE(GFXFile::Test(Write("text.png", "no picture"), &d));
    EXPECT_FALSE(GFXFile::Test(Path("missing.png"), nullptr));
    EXPECT_EQ(GFXFile::GetImgCount(Path("missing.png")), 0);
    EXPECT_EQ(GFXFile::GetImgCount(Path("text.png")), 0);
    EXPECT_EQ(GFXFile::GetImgCount(pal), 1);
    EXPECT_EQ(GFXFile::GetImgCount(gif), 2);
}

} // namespace

// A lone edge mark anywhere in a row is found, in the eight-pixel steps and in the rest, and
// nothing else in the row changes.
TEST(EdgeMarks, ALoneMarkIsClearedWhereverItSits) {
    for (const int n : {1, 7, 8, 9, 16, 17, 50}) {
        for (int at = 0; at < n; ++at) {
            std::vector<uint32_t> row(size_t(n) + 1, 0x00ABCDEFu | Pixel::Transparent);
            row[size_t(at)] |= Pixel::EdgeMark;
            row[size_t(n)] |= Pixel::EdgeMark; // past the row: left alone
            ClearRowEdgeMarks(row.data(), n);
            for (int i = 0; i < n; ++i)
                ASSERT_EQ(row[size_t(i)], 0x00ABCDEFu | Pixel::Transparent) << n << " " << at;
            ASSERT_NE(row[size_t(n)] & Pixel::EdgeMark, 0u);
        }
    }
}
