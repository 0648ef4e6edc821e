#include "raster/Dib.h"
#include "raster/GFXInternal.h"
#include "raster/RasterError.h"

#include <QFile>

namespace GFXInternal {

bool IsBmpFile(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "BM";
}

// Bitmaps go through our own decoder: it refuses, or hands back with a flaw reported, every
// damaged file that Qt's reader would silently take for a whole picture.
void LoadBmp(Buffer& dst, const QString& name, const ProgressScope& progress) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) throw FileIOError("cannot open " + name.toStdString());
    const qint64 size = file.size();
    constexpr qint64 FileHeader = 14;
    // Largest sensible file: every pixel at 32 bits plus headers and a full colour table.
    if (size > Buffer::MaxPixels * 4 + (1 << 20)) throw ImageTooLargeError("bitmap file too large");
    if (size < FileHeader) throw InvalidImageError("bitmap file header cut short", false);
    const uchar* data = file.map(0, size);
    QByteArray copy;
    if (!data) { // not every file system maps
        copy = file.readAll();
        if (copy.size() != size) throw FileIOError("cannot read " + name.toStdString());
        data = reinterpret_cast<const uchar*>(copy.constData());
    }
    progress.Step(0);
    BitmapFromFileBytes(dst, std::span<const uint8_t>(data, size_t(size)));
    progress.Step(100);
}

} // namespace GFXInternal
