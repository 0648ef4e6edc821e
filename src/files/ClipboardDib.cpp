#include "files/ClipboardDib.h"

#include "raster/Dib.h"
#include "raster/RasterError.h"

#include <new>

namespace {

constexpr int kInfoSize = 40;
constexpr int kFileHeaderSize = 14;

void Put16(char* p, uint32_t v) {
    p[0] = char(v);
    p[1] = char(v >> 8);
}
void Put32(char* p, uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

// Header and rows at out + at; out already has room for them.
void WriteDib(const Buffer& image, char* out) {
    const int w = image.Width(), h = image.Height();
    std::fill_n(out, kInfoSize, 0);
    Put32(out, kInfoSize);
    Put32(out + 4, uint32_t(w));
    Put32(out + 8, uint32_t(h));
    Put16(out + 12, 1);
    Put16(out + 14, 32);
    Put32(out + 20, uint32_t(w) * uint32_t(h) * 4);
    auto* dst = reinterpret_cast<uint8_t*>(out + kInfoSize);
    for (int y = image.bottom; y >= image.top; --y) {
        const uint32_t* row = image.Row(y);
        for (int x = 0; x < w; ++x, dst += 4) {
            const uint32_t p = row[x]; // blue, green, red, then a clear reserved byte
            dst[0] = uint8_t(p);
            dst[1] = uint8_t(p >> 8);
            dst[2] = uint8_t(p >> 16);
            dst[3] = 0;
        }
    }
}

QByteArray Pack(const Buffer& image, int prefix) {
    if (image.Empty()) return {};
    const int64_t size = prefix + kInfoSize + int64_t(image.Width()) * image.Height() * 4;
    if (size > INT32_MAX) return {};
    QByteArray out;
    try {
        out = QByteArray(qsizetype(size), Qt::Uninitialized);
    } catch (const std::bad_alloc&) {
        return {};
    }
    if (out.size() != size) return {};
    WriteDib(image, out.data() + prefix);
    return out;
}

} // namespace

QByteArray PackedDibFromBuffer(const Buffer& image) {
    return Pack(image, 0);
}

QByteArray BmpFileFromBuffer(const Buffer& image) {
    QByteArray out = Pack(image, kFileHeaderSize);
    if (out.isEmpty()) return out;
    char* p = out.data();
    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, uint32_t(out.size()));
    Put32(p + 6, 0);
    Put32(p + 10, kFileHeaderSize + kInfoSize);
    return out;
}

DibImport ImportDib(std::span<const uint8_t> bytes, Buffer& out) {
    Buffer scratch;
    DibImport result = DibImport::Ok;
    try {
        if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
            BitmapFromFileBytes(scratch, bytes);
        else
            BitmapFromPacked(scratch, bytes);
    } catch (const InvalidImageError& e) {
        if (!e.Partial() || scratch.Empty()) return DibImport::Failed;
        result = DibImport::Partial;
    } catch (const RasterError&) {
        return DibImport::Failed;
    } catch (const std::bad_alloc&) {
        return DibImport::Failed;
    }
    if (scratch.Empty()) return DibImport::Failed;
    out = std::move(scratch);
    return result;
}
