#include "files/ClipboardPicture.h"

#include "raster/ImageConvert.h"
#include "raster/RasterError.h"

#include <QBuffer>
#include <QImage>

namespace {

const QString kQtImage = QStringLiteral("application/x-qt-image");
const QString kPng = QStringLiteral("image/png"); // what most programs paste
// Types under which other programs offer a bitmap with its file header.
const QStringList kBmpTypes{QStringLiteral("image/bmp"), QStringLiteral("image/x-bmp"),
                            QStringLiteral("image/x-MS-bmp")};

} // namespace

const QString ClipboardPicture::kBmpType = QStringLiteral("image/bmp");

ClipboardPicture::ClipboardPicture(Buffer pixels) : pixels_(std::move(pixels)) {}

QStringList ClipboardPicture::formats() const {
    return {kBmpType, kPng, kQtImage};
}

bool ClipboardPicture::hasFormat(const QString& type) const {
    return type == kBmpType || type == kPng || type == kQtImage;
}

QVariant ClipboardPicture::retrieveData(const QString& type, QMetaType) const {
    if (type == kBmpType) return BmpFileFromBuffer(pixels_);
    if (type == kQtImage) return BufferToImage(pixels_, {});
    if (type == kPng) {
        QByteArray png;
        QBuffer out(&png);
        out.open(QIODevice::WriteOnly);
        BufferToImage(pixels_, {}).save(&out, "PNG");
        return png;
    }
    return {};
}

bool ClipboardHasPicture(const QMimeData* data) {
    if (!data) return false;
    for (const QString& type : kBmpTypes)
        if (data->hasFormat(type)) return true;
    return data->hasImage();
}

DibImport ReadClipboardPicture(const QMimeData* data, uint32_t background, Buffer& out) {
    if (!data) return DibImport::Failed;
    for (const QString& type : kBmpTypes) {
        if (!data->hasFormat(type)) continue;
        const QByteArray bytes = data->data(type);
        const DibImport result = ImportDib(
            std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())),
            out);
        if (result != DibImport::Failed) return result;
    }
    if (!data->hasImage()) return DibImport::Failed;
    const QImage image = qvariant_cast<QImage>(data->imageData());
    if (image.isNull() || int64_t(image.width()) * image.height() > Buffer::MaxPixels)
        return DibImport::Failed;
    Buffer scratch;
    if (!scratch.Alloc({image.width(), image.height()})) return DibImport::Failed;
    try {
        ImageToBuffer(image, scratch, AlphaRule{false, background}, {});
    } catch (const RasterError&) {
        return DibImport::Failed;
    }
    out = std::move(scratch);
    return DibImport::Ok;
}
