#include "raster/GFXFile.h"

#include "raster/GFXInternal.h"
#include "raster/ImageConvert.h"
#include "raster/RasterError.h"
#include "raster/SafeFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPixelFormat>

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>

using namespace GFXInternal;

namespace {

std::string Utf8(const QString& s) {
    return s.toUtf8().toStdString();
}

// The file must be a regular file we may open; anything else is an I/O fault, not a format one.
void RequireReadableFile(const QString& name) {
    const QFileInfo info(name);
    if (!info.exists()) throw FileIOError("file not found: " + Utf8(name));
    if (!IsRegularFile(name)) throw FileIOError("not a readable regular file: " + Utf8(name));
}

struct DepthInfo {
    int bitsPerPixel = 0;
    int bitsPerComponent = 0;
    bool grey = false;
    bool palette = false;
};

// What a decoder's pixel layout says about the file: padding bytes do not count as depth.
DepthInfo DescribeFormat(QImage::Format f) {
    switch (f) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return {1, 1, false, true};
    case QImage::Format_Indexed8:
        return {8, 8, false, true};
    case QImage::Format_Alpha8:
    case QImage::Format_Grayscale8:
        return {8, 8, true, false};
    case QImage::Format_Grayscale16:
        return {16, 16, true, false};
    case QImage::Format_RGB32:
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
    case QImage::Format_RGBX8888:
        return {24, 8, false, false};
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return {32, 8, false, false};
    case QImage::Format_RGB16:
        return {16, 5, false, false};
    case QImage::Format_RGB555:
        return {15, 5, false, false};
    case QImage::Format_RGB444:
        return {12, 4, false, false};
    case QImage::Format_ARGB4444_Premultiplied:
        return {16, 4, false, false};
    case QImage::Format_BGR30:
    case QImage::Format_RGB30:
        return {30, 10, false, false};
    case QImage::Format_A2BGR30_Premultiplied:
    case QImage::Format_A2RGB30_Premultiplied:
        return {32, 10, false, false};
    case QImage::Format_RGBX64:
    case QImage::Format_RGBX16FPx4:
        return {48, 16, false, false};
    case QImage::Format_RGBA64:
    case QImage::Format_RGBA64_Premultiplied:
    case QImage::Format_RGBA16FPx4:
    case QImage::Format_RGBA16FPx4_Premultiplied:
        return {64, 16, false, false};
    case QImage::Format_RGBX32FPx4:
        return {96, 32, false, false};
    case QImage::Format_RGBA32FPx4:
    case QImage::Format_RGBA32FPx4_Premultiplied:
        return {128, 32, false, false};
    default:
        break;
    }
    const QPixelFormat p = QImage::toPixelFormat(f);
    const int channels = std::max(1, int(p.channelCount()));
    return {int(p.bitsPerPixel()), int(p.bitsPerPixel()) / channels, false, false};
}

// Qt's GIF reader tells no pixel layout before decoding; the logical screen descriptor does.
std::optional<DepthInfo> GifDepth(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray head = file.read(13);
    if (head.size() < 13 || !head.startsWith("GIF")) return std::nullopt;
    const auto packed = uint8_t(head[10]);
    const int bits = (packed & 0x80) ? (packed & 7) + 1 : 8; // local tables hold up to 8 bits
    return DepthInfo{bits, 8, false, true};
}

// Refuses, before decoding, what could not be held or whose decoding Qt would refuse for size.
void CheckSize(QSize size, QImage::Format format) {
    const int64_t pixels = int64_t(size.width()) * size.height();
    if (pixels > Buffer::MaxPixels)
        throw ImageTooLargeError("image too large: " + std::to_string(size.width()) + " x " +
                                 std::to_string(size.height()));
    if (format != QImage::Format_Invalid) {
        const int64_t bytes = pixels * QImage::toPixelFormat(format).bitsPerPixel() / 8;
        if (bytes > int64_t(kAllocationLimitMB) << 20)
            throw ImageTooLargeError("image too large for its pixel format");
    }
}

// Positions a fresh reader on image n (from 1) of count. Formats that cannot jump are read frame
// by frame, which is also what composited animation frames need.
void SeekImage(QImageReader& reader, int n, int count) {
    if (n < 1 || (count > 0 && n > count))
        throw InvalidImageError("the file has no image " + std::to_string(n), false);
    if (n == 1 || reader.jumpToImage(n - 1)) return;
    for (int i = 1; i < n; ++i) {
        if (reader.jumpToNextImage()) continue;
        QImage skipped;
        if (!reader.read(&skipped))
            throw InvalidImageError("the file has no image " + std::to_string(n), false);
    }
}

std::optional<uint32_t> ParseColour(const QString& text) {
    if (text.size() != 6) return std::nullopt;
    bool ok = false;
    const uint32_t v = text.toUInt(&ok, 16);
    return ok ? std::optional<uint32_t>(v) : std::nullopt;
}

std::optional<std::pair<int16_t, int16_t>> ParseHandle(const QString& text) {
    const QStringList parts = text.split(',');
    if (parts.size() != 2) return std::nullopt;
    bool okX = false, okY = false;
    const int x = parts[0].trimmed().toInt(&okX), y = parts[1].trimmed().toInt(&okY);
    if (!okX || !okY || x < INT16_MIN || x > INT16_MAX || y < INT16_MIN || y > INT16_MAX)
        return std::nullopt;
    return std::pair{int16_t(x), int16_t(y)};
}

bool AnyPixelWritten(const QImage& cleared) {
    const uchar* bytes = cleared.constBits();
    return std::any_of(bytes, bytes + cleared.sizeInBytes(), [](uchar b) { return b != 0; });
}

// Our keys, from the image or else from what the reader found in the header before the read
// (asking the reader afterwards makes it parse the file again from its end).
QString TextOf(const QImage& img, const QString& fromHeader, const char* key) {
    const QString v = img.text(QLatin1String(key));
    return v.isEmpty() ? fromHeader : v;
}

} // namespace

bool GFXFile::Test(const QString& name, GFXFileDesc* desc) {
    if (!QFileInfo(name).isFile()) return false;
    QImageReader reader(name);
    if (!reader.canRead()) return false;
    const QByteArray qtFormat = reader.format(); // empty once an image has been read
    QSize size = reader.size();
    QImage::Format format = reader.imageFormat();
    std::optional<DepthInfo> depth;
    if (format != QImage::Format_Invalid)
        depth = DescribeFormat(format);
    else if (qtFormat == "gif")
        depth = GifDepth(name);
    if (!depth || !size.isValid()) {
        // Nothing in the header: decode the first image, unless it is too large to try.
        if (size.isValid() && int64_t(size.width()) * size.height() > Buffer::MaxPixels)
            return false;
        QImageReader::setAllocationLimit(kAllocationLimitMB);
        QImage img;
        if (!reader.read(&img) || img.isNull()) return false;
        size = img.size();
        depth = DescribeFormat(img.format());
    }
    if (desc) {
        const GFXFormat* f = FormatForQt(qtFormat);
        desc->format = f ? f->description : QString::fromLatin1(qtFormat.toUpper());
        desc->width = size.width();
        desc->height = size.height();
        desc->bitsPerPixel = depth->bitsPerPixel;
        desc->bitsPerComponent = depth->bitsPerComponent;
        desc->greyScale = depth->grey;
        desc->palette = depth->palette;
    }
    return true;
}

int GFXFile::GetImgCount(const QString& name) {
    if (!QFileInfo(name).isFile()) return 0;
    QImageReader reader(name);
    if (!reader.canRead()) return 0;
    return std::max(1, reader.imageCount());
}

void GFXFile::Load(Buffer& dst, const QString& name, GFXtra32* extra) {
    GFXtra32 unused;
    GFXtra32& io = extra ? *extra : unused;
    ProgressScope progress;
    dst.Free();
    RequireReadableFile(name);

    if (IsBmpFile(name)) {
        if (io.image != 1)
            throw InvalidImageError("the file has no image " + std::to_string(io.image), false);
        LoadBmp(dst, name, progress);
        io.x = io.y = 0;
        return;
    }
    QImageReader::setAllocationLimit(kAllocationLimitMB);
    // Qt 6.4's TIFF reader miscounts its images once it has read a header, so the count comes
    // from a reader of its own.
    int count = 0;
    const std::optional<KeyedDeepPng> keyed = ReadKeyedDeepPng(name);
    QBuffer probeBytes, readBytes;
    const auto source = [&](QImageReader& r, QBuffer& bytes) {
        if (!keyed) {
            r.setFileName(name);
            return;
        }
        bytes.setData(keyed->bytes);
        bytes.open(QIODevice::ReadOnly);
        r.setDevice(&bytes);
        r.setFormat("png");
    };
    {
        QImageReader probe;
        source(probe, probeBytes);
        if (!probe.canRead())
            throw InvalidImageError("not an image in a known format: " + Utf8(name), false);
        count = probe.imageCount();
        // Frames skipped on the way to image n are decoded, so the first size must be sane too.
        const QSize first = probe.size();
        if (first.isValid()) CheckSize(first, probe.imageFormat());
    }
    QImageReader reader;
    source(reader, readBytes);
    const QByteArray qtFormat = reader.format(); // empty once an image has been read
    SeekImage(reader, io.image, count);
    const QSize size = reader.size();
    const QImage::Format format = reader.imageFormat();
    if (size.isValid()) CheckSize(size, format);
    const QString headerHandle = reader.text(QLatin1String(kHandleKey));
    const QString headerColourA = reader.text(QLatin1String(kColourAKey));
    const QString headerColourB = reader.text(QLatin1String(kColourBKey));
    progress.Step(0);

    // Decoders reuse an image of the right size and layout. When that layout is ours they write
    // straight into the buffer, so a large image needs one copy in memory, not two. Either way
    // the image starts black: rows a broken file never reaches must not show stale memory.
    Buffer out;
    QImage img;
    if (size.isValid() && !size.isEmpty() && format != QImage::Format_Invalid) {
        if (IsDirectFormat(format)) {
            if (!out.Alloc({size.width(), size.height()}))
                throw ImageTooLargeError("out of memory");
            img = QImage(reinterpret_cast<uchar*>(out.pixels), size.width(), size.height(),
                         out.stride * int(sizeof(uint32_t)), format);
        } else {
            img = QImage(size, format);
            if (img.isNull()) throw ImageTooLargeError("out of memory");
        }
        std::memset(img.bits(), 0, size_t(img.sizeInBytes()));
    }
    // A failed decode counts as partial only when pixels came out: the key changes whenever the
    // decoder writes to the image, and in an image we cleared any pixel written shows.
    const qint64 keyBefore = img.cacheKey();
    bool ok = reader.read(&img);
    bool decoded = !img.isNull() && (ok || img.cacheKey() != keyBefore);
    if (decoded && !ok && img.size() == size && img.format() == format)
        decoded = AnyPixelWritten(img);
    if (!decoded)
        throw InvalidImageError("cannot decode " + Utf8(name) + ": " + Utf8(reader.errorString()),
                                false);

    if (out.Width() != img.width() || out.Height() != img.height()) {
        CheckSize(img.size(), QImage::Format_Invalid);
        if (!out.Alloc({img.width(), img.height()})) throw ImageTooLargeError("out of memory");
    }
    const auto handle = ParseHandle(TextOf(img, headerHandle, kHandleKey));
    const auto colourA = ParseColour(TextOf(img, headerColourA, kColourAKey));
    const auto colourB = ParseColour(TextOf(img, headerColourB, kColourBKey));
    AlphaRule rule;
    rule.brush = io.colourB == Pixel::Transparent;
    rule.background = io.colourB;
    rule.transparent = colourB.value_or(Pixel::Transparent);
    if (keyed) ApplyPngKey(img, *keyed);
    ImageToBuffer(img, out, rule, [&](int percent) { progress.Step(percent); });
    img = QImage(); // let go of the pixels before handing them over
    dst = std::move(out);

    io.x = handle ? handle->first : 0;
    io.y = handle ? handle->second : 0;
    if (colourA) io.colourA = *colourA;
    if (colourB) io.colourB = *colourB;
    if (!ok)
        throw InvalidImageError("the image data of " + Utf8(name) + " ends early or is damaged",
                                true);
}
