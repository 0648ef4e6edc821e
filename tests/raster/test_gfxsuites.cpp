#include "raster/GFXFile.h"
#include "raster/RasterError.h"
#include "testdata.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QtEndian>
#include <gtest/gtest.h>

#include <png.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

// The public suites (PngSuite, BMP Suite, libtiff's images, the GIF suite) through GFXFile.
// Expectations come from the files themselves (header bytes parsed here, reference PNGs read
// with QImage), never from GFXFile.

namespace {

QString Suite(const QString& sub) {
    return TestDataDir() + "/" + sub;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::string Std(const QString& s) {
    return s.toStdString();
}

// Loads, turning any typed error into its name; anything untyped escapes and fails the test.
std::string TryLoad(Buffer& b, const QString& path, GFXtra32* extra = nullptr) {
    try {
        GFXFile::Load(b, path, extra);
        return "ok";
    } catch (const InvalidImageError& e) {
        return e.Partial() ? "partial" : "invalid";
    } catch (const LibraryError&) {
        return "library";
    } catch (const FileIOError&) {
        return "io";
    }
}

// Reference pixels as our pixels: alpha < 128 is transparent (what a brush load gives).
uint32_t Expected(QRgb p) {
    return qAlpha(p) < 128 ? Pixel::Transparent : p & 0xFFFFFFu;
}

// ---- PngSuite --------------------------------------------------------------------------------

// libpng itself, as the independent decode: every file as 16-bit RGBA, no gamma applied (neither
// do we), transparent colours as alpha 0.
struct DeepRgba {
    int w = 0, h = 0;
    std::vector<uint16_t> samples; // r, g, b, a per pixel
};

bool DecodeWithLibpng(const QString& path, DeepRgba& out) {
    FILE* f = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!f) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_expand_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFFFF, PNG_FILLER_AFTER);
    if (QSysInfo::ByteOrder == QSysInfo::LittleEndian) png_set_swap(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    out.w = int(png_get_image_width(png, info));
    out.h = int(png_get_image_height(png, info));
    out.samples.assign(size_t(out.w) * size_t(out.h) * 4, 0);
    rows.resize(size_t(out.h));
    for (int y = 0; y < out.h; ++y)
        rows[size_t(y)] = reinterpret_cast<png_bytep>(out.samples.data() + size_t(y) * out.w * 4);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    return true;
}

// What a document load shows of a 16-bit pixel: 8-bit channels, blended over background.
uint32_t Shown(const uint16_t* p, uint32_t background) {
    const auto to8 = [](uint16_t v) { return uint32_t((v + 128) / 257); };
    const uint32_t a = to8(p[3]);
    uint32_t out = 0;
    for (int c = 0; c < 3; ++c) {
        const uint32_t bg = (background >> (16 - 8 * c)) & 0xFF;
        out |= ((to8(p[c]) * a + bg * (255 - a) + 127) / 255) << (16 - 8 * c);
    }
    return out;
}

int ChannelDistance(uint32_t a, uint32_t b) {
    int most = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        most = std::max(most, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    return most;
}

TEST(GFXSuites, PngSuiteMatchesLibpngPixelForPixel) {
    REQUIRE_TESTDATA();
    const QDir dir(Suite("pngsuite"));
    constexpr uint32_t background = 0x2050A0;
    int compared = 0;
    for (const QString& name : dir.entryList({"*.png"}, QDir::Files, QDir::Name)) {
        if (name.startsWith('x')) continue;
        SCOPED_TRACE(Std(name));
        DeepRgba want;
        ASSERT_TRUE(DecodeWithLibpng(dir.filePath(name), want));
        Buffer b;
        GFXtra32 extra;
        extra.colourB = background;
        ASSERT_EQ(TryLoad(b, dir.filePath(name), &extra), "ok");
        ASSERT_EQ(b.Width(), want.w);
        ASSERT_EQ(b.Height(), want.h);
        int wrong = 0;
        for (int y = 0; y < want.h; ++y)
            for (int x = 0; x < want.w; ++x) {
                const uint32_t expected =
                    Shown(&want.samples[(size_t(y) * want.w + x) * 4], background);
                // Rounding of 16-bit channels and of the blend may differ by a step or two.
                if (ChannelDistance(b.At(x, y) & 0xFFFFFF, expected) > 2) ++wrong;
            }
        EXPECT_EQ(wrong, 0);
        ++compared;
    }
    EXPECT_EQ(compared, 161);
}

TEST(GFXSuites, PngSuiteLoadsAtItsHeaderSizeAndInterlacingChangesNothing) {
    REQUIRE_TESTDATA();
    const QDir dir(Suite("pngsuite"));
    const QStringList files = dir.entryList({"*.png"}, QDir::Files, QDir::Name);
    int loaded = 0;
    for (const QString& name : files) {
        if (name.startsWith('x')) continue;
        SCOPED_TRACE(Std(name));
        const QByteArray bytes = ReadAll(dir.filePath(name));
        ASSERT_GE(bytes.size(), 24);
        ASSERT_EQ(bytes.mid(12, 4), "IHDR");
        const int w = int(qFromBigEndian<quint32>(bytes.constData() + 16));
        const int h = int(qFromBigEndian<quint32>(bytes.constData() + 20));
        Buffer b;
        ASSERT_EQ(TryLoad(b, dir.filePath(name)), "ok");
        EXPECT_EQ(b.Width(), w);
        EXPECT_EQ(b.Height(), h);
        ++loaded;
        // The fourth letter tells interlaced (i) from not (n); both hold the same picture.
        if (name.size() > 3 && name[3] == 'i') {
            QString plain = name;
            plain[3] = 'n';
            if (!dir.exists(plain)) continue;
            Buffer p;
            ASSERT_EQ(TryLoad(p, dir.filePath(plain)), "ok");
            ASSERT_EQ(p.Bounds(), b.Bounds());
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) ASSERT_EQ(b.At(x, y), p.At(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(loaded, 161);
}

TEST(GFXSuites, PngSuiteCorruptFilesGiveTypedErrors) {
    REQUIRE_TESTDATA();
    const QDir dir(Suite("pngsuite"));
    const QStringList files = dir.entryList({"x*.png"}, QDir::Files);
    EXPECT_EQ(files.size(), 14);
    for (const QString& name : files) {
        Buffer b;
        const std::string r = TryLoad(b, dir.filePath(name));
        EXPECT_NE(r, "ok") << Std(name);
        if (r == "invalid") {
            EXPECT_TRUE(b.Empty()) << Std(name);
        }
    }
}

// ---- BMP Suite -------------------------------------------------------------------------------

TEST(GFXSuites, BmpSuiteGoodFilesMatchTheirReferences) {
    REQUIRE_TESTDATA();
    const QDir good(Suite("bmpsuite/g")), ref(Suite("bmpsuite/reference"));
    // Files that store the picture of another reference (the suite's own page pairs them so).
    const std::map<QString, QString> sameAs = {
        {"pal1wb", "pal1"},
        {"pal4rle", "pal4"},
        {"pal8-0", "pal8"},
        {"pal8os2", "pal8"},
        {"pal8rle", "pal8"},
        {"pal8topdown", "pal8"},
        {"pal8v4", "pal8"},
        {"pal8v5", "pal8"},
        {"pal8nonsquare", "pal8nonsquare-e"},
        {"rgb16-565pal", "rgb16-565"},
        {"rgb16bfdef", "rgb16"},
        {"rgb24pal", "rgb24"},
        {"rgb32", "rgb24"},
        {"rgb32bf", "rgb24"},
        {"rgb32bfdef", "rgb24"},
    };
    int compared = 0;
    for (const QString& file : good.entryList({"*.bmp"}, QDir::Files)) {
        SCOPED_TRACE(Std(file));
        const QString base = file.chopped(4);
        Buffer b;
        ASSERT_EQ(TryLoad(b, good.filePath(file)), "ok");
        const auto alias = sameAs.find(base);
        const QString refName = (alias != sameAs.end() ? alias->second : base) + ".png";
        if (!ref.exists(refName)) continue;
        const QImage want = QImage(ref.filePath(refName)).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(b.Width(), want.width());
        ASSERT_EQ(b.Height(), want.height());
        // Qt 6.4 widens 5- and 6-bit fields by shifting (v << 3), the suite's PNGs by scaling
        // to 0..255: they differ by up to 7 per channel. Every other file matches exactly.
        const int tolerance = base.startsWith("rgb16") ? 7 : 0;
        for (int y = 0; y < want.height(); ++y)
            for (int x = 0; x < want.width(); ++x)
                for (int s = 0; s < 24; s += 8) {
                    const int got = int(b.At(x, y) >> s & 0xFF);
                    const int exp = int(want.pixel(x, y) >> s & 0xFF);
                    ASSERT_LE(std::abs(got - exp), tolerance) << x << "," << y;
                }
        ++compared;
    }
    EXPECT_GE(compared, 25);
}

// Bad files never crash or hang, and none passes for a sound picture: broken headers are refused,
// the absurd size is a library error, and files whose flaws still leave a picture (wrong size
// fields, absurd densities, runs off the image, indices past the palette, 8-8-0 bit fields, a
// file shorter than it claims) come back with their pixels and the invalid-image error.
TEST(GFXSuites, BmpSuiteBadFilesAreRefusedOrLoadSafely) {
    REQUIRE_TESTDATA();
    const QDir bad(Suite("bmpsuite/b"));
    const std::map<QString, std::string> refused = {
        {"badbitcount", "invalid"}, {"badpalettesize", "invalid"}, {"badplanes", "invalid"},
        {"badwidth", "invalid"},    {"rletopdown", "invalid"},     {"reallybig", "library"},
    };
    const QStringList files = bad.entryList({"*.bmp"}, QDir::Files);
    EXPECT_EQ(files.size(), 20);
    for (const QString& file : files) {
        SCOPED_TRACE(Std(file));
        Buffer b;
        const std::string r = TryLoad(b, bad.filePath(file));
        const auto it = refused.find(file.chopped(4));
        if (it != refused.end()) {
            EXPECT_EQ(r, it->second);
            EXPECT_TRUE(b.Empty());
        } else {
            ASSERT_EQ(r, "partial");
            const QByteArray h = ReadAll(bad.filePath(file));
            EXPECT_EQ(b.Width(), qFromLittleEndian<qint32>(h.constData() + 18));
            EXPECT_EQ(b.Height(), std::abs(qFromLittleEndian<qint32>(h.constData() + 22)));
            for (int y = 0; y < b.Height(); ++y)
                for (int x = 0; x < b.Width(); ++x)
                    ASSERT_EQ(b.At(x, y) & 0xFF000000u, 0u)
                        << "mark bits leaked at " << x << "," << y;
        }
    }
    // The short file is pal1.bmp cut inside its 14th bottom-up row of 16 bytes: the whole rows in
    // the file are there, the rest is black.
    Buffer b;
    ASSERT_EQ(TryLoad(b, bad.filePath("shortfile.bmp")), "partial");
    const QImage pal1(Suite("bmpsuite/reference/pal1.png"));
    const int bytesIn = int(ReadAll(bad.filePath("shortfile.bmp")).size()) - 62;
    int whiteMissing = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 127; ++x) {
            const int fileRow = 63 - y;
            if ((fileRow + 1) * 16 <= bytesIn) {
                ASSERT_EQ(b.At(x, y), pal1.pixel(x, y) & 0xFFFFFFu) << x << "," << y;
            } else {
                ASSERT_EQ(b.At(x, y), 0u) << x << "," << y;
                whiteMissing += (pal1.pixel(x, y) & 0xFFFFFF) != 0;
            }
        }
    EXPECT_GT(whiteMissing, 0); // so the black is the missing part, not the picture
}

TEST(GFXSuites, BmpSuiteQuestionableFilesLoadOrFailTyped) {
    REQUIRE_TESTDATA();
    const QDir q(Suite("bmpsuite/q"));
    for (const QString& file : q.entryList({"*.bmp"}, QDir::Files)) {
        Buffer b;
        const std::string r = TryLoad(b, q.filePath(file));
        if (r == "ok") {
            EXPECT_FALSE(b.Empty()) << Std(file);
        }
    }
}

// ---- TIFF ------------------------------------------------------------------------------------

// Directories in the main chain, counted here with a loop guard of our own.
int TiffDirectories(const QByteArray& d) {
    if (d.size() < 8) return 0;
    const bool le = d.startsWith("II");
    auto u16 = [&](qsizetype at) {
        return le ? qFromLittleEndian<quint16>(d.constData() + at)
                  : qFromBigEndian<quint16>(d.constData() + at);
    };
    auto u32 = [&](qsizetype at) {
        return le ? qFromLittleEndian<quint32>(d.constData() + at)
                  : qFromBigEndian<quint32>(d.constData() + at);
    };
    std::set<quint32> seen;
    quint32 at = u32(4);
    while (at != 0 && !seen.count(at) && qsizetype(at) + 2 <= d.size()) {
        seen.insert(at);
        const qsizetype next = qsizetype(at) + 2 + 12 * qsizetype(u16(at));
        if (next + 4 > d.size()) break;
        at = u32(next);
    }
    return int(seen.size());
}

TEST(GFXSuites, TiffImagesCountAndLoadWithoutHangingOnLoops) {
    REQUIRE_TESTDATA();
    const QDir dir(Suite("tiff"));
    for (const QString& file : dir.entryList({"*.tif", "*.tiff"}, QDir::Files)) {
        SCOPED_TRACE(Std(file));
        const QString path = dir.filePath(file);
        const int count = GFXFile::GetImgCount(path);
        EXPECT_EQ(count, TiffDirectories(ReadAll(path)));
        std::vector<uint32_t> firstPixels;
        for (int n = 1; n <= count; ++n) {
            Buffer b;
            GFXtra32 extra;
            extra.image = n;
            const std::string r = TryLoad(b, path, &extra);
            if (count > 1) {
                ASSERT_EQ(r, "ok") << "image " << n;
                firstPixels.push_back(b.At(0, 0));
            }
        }
        GFXtra32 beyond;
        beyond.image = count + 1;
        Buffer b;
        EXPECT_EQ(TryLoad(b, path, &beyond), "invalid");
        // Each directory of the loop file has its own colour: image n must be the n-th one.
        if (file == "test_ifd_loop_subifd.tif") {
            EXPECT_EQ(std::set<uint32_t>(firstPixels.begin(), firstPixels.end()).size(), 5u);
        }
    }
}

// ---- GIF suite -------------------------------------------------------------------------------

struct GifFrame {
    int left, top, width, height;
    int disposal;
    bool transparent;
};

// Frame rectangles and disposal methods, read from the file here.
std::vector<GifFrame> GifFrames(const QByteArray& d) {
    std::vector<GifFrame> frames;
    auto u8 = [&](qsizetype at) { return at < d.size() ? int(uint8_t(d[at])) : 0; };
    auto u16 = [&](qsizetype at) { return u8(at) | u8(at + 1) << 8; };
    const int packed = u8(10);
    qsizetype at = 13;
    if (packed & 0x80) at += 3 * (2 << (packed & 7));
    auto skipBlocks = [&] {
        while (at < d.size() && u8(at)) at += 1 + u8(at);
        ++at;
    };
    int disposal = 0;
    bool transparent = false;
    while (at < d.size()) {
        const int kind = u8(at);
        if (kind == 0x21) {
            if (u8(at + 1) == 0xF9) {
                disposal = (u8(at + 3) >> 2) & 7;
                transparent = u8(at + 3) & 1;
            }
            at += 2;
            skipBlocks();
        } else if (kind == 0x2C) {
            frames.push_back(
                {u16(at + 1), u16(at + 3), u16(at + 5), u16(at + 7), disposal, transparent});
            const int local = u8(at + 9);
            at += 10 + ((local & 0x80) ? 3 * (2 << (local & 7)) : 0) + 1;
            skipBlocks();
            disposal = 0;
            transparent = false;
        } else {
            break;
        }
    }
    return frames;
}

// A "restore to background" frame without a transparent index should leave its rectangle
// cleared for the next frame (to transparent in the suite's frames and in browsers, to the
// background colour in the GIF89a text). Qt 6.4's GIF reader leaves it as it was, so later frames
// still show the old pixels there. Our loader gets the frames composited by Qt and cannot undo
// that without a GIF decoder of its own; such pixels are accepted, and only they.
bool InDisposedRect(const std::vector<GifFrame>& frames, int before, int x, int y) {
    for (int k = 0; k < before; ++k) {
        const GifFrame& f = frames[size_t(k)];
        if (f.disposal == 2 && !f.transparent && x >= f.left && x < f.left + f.width &&
            y >= f.top && y < f.top + f.height)
            return true;
    }
    return false;
}

TEST(GFXSuites, GifAnimationsLoadEveryFrameAsANumberedImage) {
    REQUIRE_TESTDATA();
    const QDir dir(Suite("gifsuite")), framesDir(Suite("gifsuite/frames"));
    int checkedFrames = 0, stalePixels = 0;
    for (const QString& file : dir.entryList({"*.gif"}, QDir::Files)) {
        SCOPED_TRACE(Std(file));
        const QString base = file.chopped(4);
        QStringList refs;
        while (framesDir.exists(QString("%1-%2.png").arg(base).arg(refs.size())))
            refs << framesDir.filePath(QString("%1-%2.png").arg(base).arg(refs.size()));
        if (refs.isEmpty() && framesDir.exists(base + ".png"))
            refs << framesDir.filePath(base + ".png");
        ASSERT_FALSE(refs.isEmpty());
        const QString path = dir.filePath(file);
        EXPECT_EQ(GFXFile::GetImgCount(path), refs.size());
        const std::vector<GifFrame> frames = GifFrames(ReadAll(path));
        ASSERT_EQ(frames.size(), size_t(refs.size()));
        Buffer previous;
        for (int n = 1; n <= refs.size(); ++n) {
            SCOPED_TRACE("frame " + std::to_string(n));
            Buffer b;
            GFXtra32 extra{0, 0, 0, Pixel::Transparent, n};
            ASSERT_EQ(TryLoad(b, path, &extra), "ok");
            const QImage want = QImage(refs[n - 1]).convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(b.Width(), want.width());
            ASSERT_EQ(b.Height(), want.height());
            for (int y = 0; y < want.height(); ++y)
                for (int x = 0; x < want.width(); ++x) {
                    const uint32_t got = b.At(x, y), exp = Expected(want.pixel(x, y));
                    if (got != exp && exp == Pixel::Transparent &&
                        InDisposedRect(frames, n - 1, x, y) && got == previous.Get(x, y, ~got)) {
                        ++stalePixels;
                        continue;
                    }
                    ASSERT_EQ(got, exp) << x << "," << y;
                }
            previous = b;
            ++checkedFrames;
        }
    }
    EXPECT_EQ(checkedFrames, 11 * 4 + 2);
    std::cout << "[ INFO     ] GIF pixels Qt left undisposed: " << stalePixels << "\n";
}

} // namespace
