#include "raster/GFXFile.h"

#include "raster/GFXInternal.h"
#include "raster/ImageConvert.h"
#include "raster/RasterError.h"
#include "raster/SafeFile.h"

#include <QImageWriter>

using namespace GFXInternal;

namespace {

// Qt's icon writers silently rescale what they cannot store; we refuse instead, so that a saved
// file always holds the pixels that were saved.
bool FormatHolds(const QByteArray& qtFormat, int w, int h) {
    if (qtFormat == "ico" || qtFormat == "cur") return w <= 256 && h <= 256;
    if (qtFormat == "icns") return w == h && w >= 16 && w <= 1024 && (w & (w - 1)) == 0;
    return true;
}

// Writers that take only red, green and blue from an RGB32 image, so our mark bits in the top
// byte cannot reach the file (the tests hold each of them to it). Others, such as XPM, read it
// as alpha and get the top byte set first.
bool IgnoresTopByte(const QByteArray& qtFormat) {
    static const QByteArray kFormats[] = {"png", "jpg",  "jpeg", "bmp", "ppm", "pgm", "pbm",
                                          "tif", "tiff", "webp", "ico", "cur", "icns"};
    for (const QByteArray& f : kFormats)
        if (f == qtFormat) return true;
    return false;
}

constexpr int kJpegQuality = 90;

bool IsJpeg(const QByteArray& qtFormat) {
    return qtFormat == "jpg" || qtFormat == "jpeg";
}

void Configure(QImageWriter& writer, const QByteArray& qtFormat) {
    if (IsJpeg(qtFormat)) writer.setQuality(kJpegQuality);
    // Painted pictures have hard edges that lossy WebP smears; quality 100 is lossless.
    if (qtFormat == "webp") writer.setQuality(100);
    if (qtFormat == "tiff" || qtFormat == "tif") writer.setCompression(1); // LZW
}

} // namespace

namespace {

const GFXFormat& CheckSavable(const Buffer& src, const QString& name) {
    const GFXFormat* format = GFXFile::GetDefaultFormat(name);
    if (!format || !format->canSave || src.Empty() ||
        !FormatHolds(format->qtFormat, src.Width(), src.Height()))
        throw InvalidImageError("the format cannot hold this image", false);
    return *format;
}

// The texts a saved file carries, in key order (the order Qt's writers store them in).
QList<std::pair<QString, QString>> Texts(const GFXtra32& extra) {
    const auto hex = [](uint32_t colour) {
        return QStringLiteral("%1").arg(colour & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
    };
    return {{QLatin1String(kColourAKey), hex(extra.colourA)},
            {QLatin1String(kColourBKey), hex(extra.colourB)},
            {QLatin1String(kHandleKey), QStringLiteral("%1,%2").arg(extra.x).arg(extra.y)}};
}

// Writes through a SafeFile: write(device) fills it, the commit moves it into place.
void WriteSafely(const QString& name, const std::function<void()>& beforeReplace,
                 const std::function<void(QIODevice&)>& write) {
    SafeFile file(name);
    if (!file.Open())
        throw FileIOError("cannot create a file beside " + name.toUtf8().toStdString());
    write(file.Device());
    // The codecs do not look at what their writes returned: only the commit knows.
    if (!file.Commit(beforeReplace))
        throw FileIOError("cannot complete " + name.toUtf8().toStdString());
}

void Write(const QImage& img, const QString& name, const GFXFormat& format, GFXtra32* extra,
           const std::function<void()>& beforeReplace) {
    WriteSafely(name, beforeReplace, [&](QIODevice& device) {
        QImageWriter writer(&device, format.qtFormat);
        Configure(writer, format.qtFormat);
        if (extra && writer.supportsOption(QImageIOHandler::Description))
            for (const auto& [key, value] : Texts(*extra)) writer.setText(key, value);
        if (!writer.write(img)) {
            const std::string why = writer.errorString().toUtf8().toStdString();
            if (writer.error() == QImageWriter::UnsupportedFormatError)
                throw InvalidImageError("the format cannot hold this image: " + why, false);
            throw FileIOError("cannot write " + name.toUtf8().toStdString() + ": " + why);
        }
    });
}

// The JPEG writer's settings as Configure gives them to Qt's, and the density Qt's writer takes
// from a new image.
void WriteJpeg(Buffer& src, const QString& name, GFXtra32* extra,
               const std::function<void()>& beforeReplace, const ProgressScope& progress) {
    QList<QByteArray> comments;
    if (extra)
        for (const auto& [key, value] : Texts(*extra))
            comments.append(key.toUtf8() + ": " + value.toUtf8());
    const int dpi = qMax(1, qRound(QImage(1, 1, QImage::Format_RGB32).dotsPerMeterX() * 0.0254));
    const int height = src.Height();
    int reported = -1;
    WriteSafely(name, beforeReplace, [&](QIODevice& device) {
        WriteJpegDirect(src, device, kJpegQuality, dpi, comments, [&](int rows) {
            const int percent = int(int64_t(rows) * 100 / height);
            if (percent > reported) progress.Step(reported = percent);
        });
    });
}

// Clears the top bytes MarkOpaque set, also when the write throws.
struct OpaqueScope {
    Buffer& src;
    ~OpaqueScope() { ClearTopBytes(src); }
};

} // namespace

void GFXFile::Save(const Buffer& src, const QString& name, GFXtra32* extra, Buffer* /*scratch*/,
                   const std::function<void()>& beforeReplace) {
    ProgressScope progress;
    const GFXFormat& format = CheckSavable(src, name);
    progress.Step(0);
    const QImage img = BufferToImage(src, [&](int percent) { progress.Step(percent); });
    if (img.isNull()) throw LibraryError("out of memory");
    Write(img, name, format, extra, beforeReplace);
}

void GFXFile::Save(Buffer& src, const QString& name, GFXtra32* extra, Buffer* scratch,
                   const std::function<void()>& beforeReplace) {
    {
        ProgressScope progress;
        const GFXFormat& format = CheckSavable(src, name);
        progress.Step(0);
        if (IsJpeg(format.qtFormat) && CanWriteJpegDirect()) {
            WriteJpeg(src, name, extra, beforeReplace, progress);
            return;
        }
        if (IgnoresTopByte(format.qtFormat)) {
            // One pass, reading: the writer's own conversion then takes the pixels as they are.
            ClearEdgeMarks(src, [&](int percent) { progress.Step(percent); });
            const QImage img(reinterpret_cast<const uchar*>(src.pixels), src.Width(), src.Height(),
                             qsizetype(src.stride) * qsizetype(sizeof(uint32_t)),
                             QImage::Format_RGB32);
            Write(img, name, format, extra, beforeReplace);
            return;
        }
        ClearEdgeMarks(src, {});
        if (MarkOpaque(src, [&](int percent) { progress.Step(percent); })) {
            // Written straight from the pixels: a copy of a large image costs more than the
            // coding itself.
            OpaqueScope restore{src};
            const QImage img(reinterpret_cast<const uchar*>(src.pixels), src.Width(), src.Height(),
                             qsizetype(src.stride) * qsizetype(sizeof(uint32_t)),
                             QImage::Format_RGB32);
            Write(img, name, format, extra, beforeReplace);
            return;
        }
    }
    Save(static_cast<const Buffer&>(src), name, extra, scratch, beforeReplace);
}
