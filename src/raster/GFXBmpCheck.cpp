#include "raster/GFXInternal.h"

#include <QFile>
#include <QtEndian>

namespace GFXInternal {

std::optional<BmpLayout> ReadBmpLayout(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray h = file.read(34);
    if (h.size() < 26 || !h.startsWith("BM")) return std::nullopt;
    const auto* p = reinterpret_cast<const uchar*>(h.constData());
    BmpLayout b;
    b.fileSize = file.size();
    b.dataOffset = qFromLittleEndian<quint32>(p + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(p + 14);
    if (infoSize == 12) { // OS/2 core header: never compressed
        b.width = qFromLittleEndian<quint16>(p + 18);
        b.height = qFromLittleEndian<quint16>(p + 20);
        b.bits = qFromLittleEndian<quint16>(p + 24);
    } else if (infoSize >= 40 && h.size() >= 34) {
        b.width = qFromLittleEndian<qint32>(p + 18);
        b.height = qAbs(int64_t(qFromLittleEndian<qint32>(p + 22))); // negative: top-down
        b.bits = qFromLittleEndian<quint16>(p + 28);
        b.compression = qFromLittleEndian<quint32>(p + 30);
    } else {
        return std::nullopt;
    }
    return b;
}

bool BmpDataShort(const BmpLayout& b) {
    // Run-length data has no size known in advance; BI_RGB, BITFIELDS and ALPHABITFIELDS do.
    if (b.compression != 0 && b.compression != 3 && b.compression != 6) return false;
    if (b.width <= 0 || b.height <= 0 || b.bits <= 0 || b.bits > 64) return false;
    const int64_t stride = (b.width * b.bits + 31) / 32 * 4;
    return b.fileSize < b.dataOffset + stride * b.height;
}

} // namespace GFXInternal
