#include "raster/GFXInternal.h"
#include "raster/SafeFile.h"

#include <QFile>
#include <QRgba64>
#include <QtEndian>

namespace GFXInternal {

namespace {

constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
constexpr qsizetype kSignatureSize = 8;
constexpr qsizetype kChunkOverhead = 12; // length, type, CRC

uint32_t Get32(const char* p) {
    return qFromBigEndian<quint32>(p);
}

} // namespace

std::optional<KeyedDeepPng> ReadKeyedDeepPng(const QString& name) {
    QFile file;
    if (!OpenRegularFile(file, name)) return std::nullopt;
    // Signature and IHDR tell whether the file could need it at all; only then is it read whole.
    const QByteArray head = file.read(kSignatureSize + 8 + 13);
    if (head.size() < kSignatureSize + 8 + 13 || !head.startsWith(QByteArray(kSignature, 8)) ||
        head.mid(12, 4) != "IHDR")
        return std::nullopt;
    const int depth = uchar(head[24]), colourType = uchar(head[25]);
    if (depth != 16 || colourType != 2) return std::nullopt;
    if (!file.seek(0)) return std::nullopt;
    QByteArray bytes = file.readAll();
    for (qsizetype at = kSignatureSize; at + kChunkOverhead <= bytes.size();) {
        const uint32_t length = Get32(bytes.constData() + at);
        const QByteArray type = bytes.mid(at + 4, 4);
        if (length > uint32_t(bytes.size() - at - kChunkOverhead) || type == "IDAT") break;
        if (type == "tRNS") {
            if (length != 6) return std::nullopt;
            const char* v = bytes.constData() + at + 8;
            KeyedDeepPng keyed;
            keyed.red = qFromBigEndian<quint16>(v);
            keyed.green = qFromBigEndian<quint16>(v + 2);
            keyed.blue = qFromBigEndian<quint16>(v + 4);
            bytes.remove(at, kChunkOverhead + 6);
            keyed.bytes = std::move(bytes);
            return keyed;
        }
        at += kChunkOverhead + qsizetype(length);
    }
    return std::nullopt;
}

void ApplyPngKey(QImage& img, const KeyedDeepPng& key) {
    if (img.format() != QImage::Format_RGBX64 && img.format() != QImage::Format_RGBA64)
        img.convertTo(QImage::Format_RGBX64);
    // RGBX64 keeps its filler at 0xFFFF, so it already is opaque RGBA64.
    img.reinterpretAsFormat(QImage::Format_RGBA64);
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgba64*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (row[x].red() == key.red && row[x].green() == key.green && row[x].blue() == key.blue)
                row[x].setAlpha(0);
    }
}

} // namespace GFXInternal
