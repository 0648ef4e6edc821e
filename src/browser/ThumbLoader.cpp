#include "browser/ThumbLoader.h"

#include "browser/BrowseLayout.h"
#include "raster/Dib.h"
#include "raster/ImageConvert.h"
#include "raster/RasterError.h"
#include "raster/SafeFile.h"

#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>

namespace {

// The whole picture scaled to its thumbnail.
bool Shrink(const Buffer& full, ThumbLoad& out) {
    const Pair size = browse::ThumbnailSize(full.Width(), full.Height());
    Buffer thumb;
    if (!thumb.Alloc(size)) return false;
    thumb.Scale(full, size, {0, 0}, Pixel::CopyAll, true);
    out.thumb = std::move(thumb);
    return true;
}

// Bitmaps go through our own decoder, as when they are opened.
bool LoadBitmap(QFile& file, ThumbLoad& out) {
    const qint64 size = file.size();
    if (size < 14 || size > Buffer::MaxPixels * 4 + (1 << 20)) return false;
    const QByteArray bytes = file.readAll();
    if (bytes.size() != size) return false;
    Buffer full;
    try {
        BitmapFromFileBytes(
            full, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                           size_t(bytes.size())));
    } catch (const InvalidImageError& e) {
        if (!e.Partial() || full.Empty()) return false; // a damaged bitmap shows what it holds
    } catch (const RasterError&) {
        return false;
    }
    out.imageSize = {full.Width(), full.Height()};
    return Shrink(full, out);
}

} // namespace

bool LoadThumbnail(const QString& name, ThumbLoad& out, const ThumbLoadOptions& options) {
    out = ThumbLoad{};
    QFile file;
    if (!OpenRegularFile(file, name)) return false;
    if (file.peek(2) == "BM") return LoadBitmap(file, out);

    QImageReader reader(&file);
    if (!reader.canRead()) return false;
    const QSize header = reader.size();
    if (header.isValid() && int64_t(header.width()) * header.height() > Buffer::MaxPixels)
        return false;
    const bool scaled = options.scaledDecode && header.isValid() && !header.isEmpty() &&
                        reader.supportsOption(QImageIOHandler::ScaledSize);
    Pair target{0, 0};
    if (scaled) {
        target = browse::ThumbnailSize(header.width(), header.height());
        reader.setScaledSize(QSize(target.x, target.y));
    }
    QImage img;
    if (!reader.read(&img) && img.isNull()) return false;
    if (img.isNull()) return false;
    out.imageSize = header.isValid() && !header.isEmpty() ? Pair{header.width(), header.height()}
                                                          : Pair{img.width(), img.height()};
    AlphaRule rule;
    rule.background = options.background;
    Buffer decoded;
    if (!decoded.Alloc({img.width(), img.height()})) return false;
    ImageToBuffer(img, decoded, rule, {});
    img = QImage();
    if (scaled && decoded.Width() == target.x && decoded.Height() == target.y) {
        out.thumb = std::move(decoded);
        return true;
    }
    return Shrink(decoded, out);
}
