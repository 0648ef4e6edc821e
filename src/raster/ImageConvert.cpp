#include "raster/ImageConvert.h"

#include "raster/RasterError.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kColour = 0x00FFFFFF;

inline uint32_t Blend(uint32_t c, uint32_t bg, uint32_t a) {
    const uint32_t inv = 255 - a;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t v = (((c >> shift) & 0xFF) * a + ((bg >> shift) & 0xFF) * inv + 127) / 255;
        out |= v << shift;
    }
    return out;
}

// s and d may be the same row (in-place decoding): each pixel is read before it is written.
void ConvertRow(const uint32_t* s, uint32_t* d, int n, bool alpha, const AlphaRule& rule) {
    if (!alpha) {
        for (int i = 0; i < n; ++i) d[i] = s[i] & kColour;
        return;
    }
    const uint32_t bg = rule.background & kColour;
    for (int i = 0; i < n; ++i) {
        const uint32_t p = s[i];
        const uint32_t a = p >> 24;
        if (rule.brush)
            d[i] = a < 128 ? rule.transparent : p & kColour;
        else
            d[i] = a == 255 ? p & kColour : Blend(p, bg, a);
    }
}

// Rows per conversion strip: small enough to stay in cache and to report progress about fifty
// times per image, at least one row.
int StripRows(int width, int height) {
    return std::max(1, std::min((1 << 16) / std::max(1, width), height / 50));
}

// Reports progress only when the percentage has grown.
class ProgressTicker {
public:
    ProgressTicker(const RowProgress& progress, int rows) : progress_(progress), rows_(rows) {}
    void Done(int rowsDone) {
        const int percent = int(int64_t(rowsDone) * 100 / std::max(1, rows_));
        if (progress_ && percent > last_) {
            last_ = percent;
            progress_(percent);
        }
    }

private:
    const RowProgress& progress_;
    int rows_;
    int last_ = -1;
};

} // namespace

bool IsDirectFormat(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32;
}

void ImageToBuffer(const QImage& img, Buffer& dst, const AlphaRule& rule,
                   const RowProgress& progress) {
    const int w = img.width(), h = img.height();
    if (w != dst.Width() || h != dst.Height()) return;
    ProgressTicker ticker(progress, h);
    const int strip = StripRows(w, h);
    if (IsDirectFormat(img.format())) {
        const bool alpha = img.format() == QImage::Format_ARGB32;
        for (int y = 0; y < h; ++y) {
            ConvertRow(reinterpret_cast<const uint32_t*>(img.constScanLine(y)),
                       dst.Row(dst.top + y), w, alpha, rule);
            if ((y + 1) % strip == 0) ticker.Done(y + 1);
        }
        ticker.Done(h);
        return;
    }
    // Other layouts go through Qt's converter a strip at a time, so a large image never needs a
    // second full-size copy.
    const bool alpha = img.hasAlphaChannel();
    const QImage::Format target = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    const QList<QRgb> table = img.colorTable();
    for (int y0 = 0; y0 < h; y0 += strip) {
        const int rows = std::min(strip, h - y0);
        QImage view(img.constScanLine(y0), w, rows, img.bytesPerLine(), img.format());
        if (!table.isEmpty()) view.setColorTable(table);
        const QImage part = view.convertToFormat(target);
        if (part.isNull()) throw LibraryError("out of memory while converting the image");
        for (int r = 0; r < rows; ++r)
            ConvertRow(reinterpret_cast<const uint32_t*>(part.constScanLine(r)),
                       dst.Row(dst.top + y0 + r), w, alpha, rule);
        ticker.Done(y0 + rows);
    }
}

QImage BufferToImage(const Buffer& src, const RowProgress& progress) {
    const int w = src.Width(), h = src.Height();
    QImage img(w, h, QImage::Format_RGB32);
    if (img.isNull()) return img;
    ProgressTicker ticker(progress, h);
    const int strip = StripRows(w, h);
    for (int y = 0; y < h; ++y) {
        const uint32_t* s = src.Row(src.top + y);
        auto* d = reinterpret_cast<uint32_t*>(img.scanLine(y));
        for (int i = 0; i < w; ++i) d[i] = (s[i] & kColour) | 0xFF000000u;
        if ((y + 1) % strip == 0) ticker.Done(y + 1);
    }
    ticker.Done(h);
    return img;
}

void ClearTopBytes(Buffer& src) {
    for (int y = src.top; y <= src.bottom && !src.Empty(); ++y) {
        uint32_t* row = src.Row(y);
        for (int i = 0, w = src.Width(); i < w; ++i) row[i] &= kColour;
    }
}

void ClearRowEdgeMarks(uint32_t* row, int n) {
    using Four = uint32_t __attribute__((vector_size(16))); // one register on every x86-64
    Four a{}, b{};
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        Four v, w;
        std::memcpy(&v, row + i, sizeof v);
        std::memcpy(&w, row + i + 4, sizeof w);
        a |= v;
        b |= w;
    }
    a |= b;
    uint32_t any = a[0] | a[1] | a[2] | a[3];
    for (; i < n; ++i) any |= row[i];
    if (any & Pixel::EdgeMark)
        for (i = 0; i < n; ++i) row[i] &= Pixel::ClearEdgeMark;
}

void ClearEdgeMarks(Buffer& src, const RowProgress& progress) {
    const int w = src.Width(), h = src.Height();
    ProgressTicker ticker(progress, h);
    const int strip = StripRows(w, h);
    for (int y = 0; y < h; ++y) {
        ClearRowEdgeMarks(src.Row(src.top + y), w);
        if ((y + 1) % strip == 0) ticker.Done(y + 1);
    }
    ticker.Done(h);
}

bool MarkOpaque(Buffer& src, const RowProgress& progress) {
    const int w = src.Width(), h = src.Height();
    ProgressTicker ticker(progress, h);
    const int strip = StripRows(w, h);
    // Rows up to y are undone when a mark is found or the progress stops the work.
    const auto undo = [&](int rows) {
        for (int r = 0; r < rows; ++r) {
            uint32_t* row = src.Row(src.top + r);
            for (int i = 0; i < w; ++i) row[i] &= kColour;
        }
    };
    int y = 0;
    try {
        for (; y < h; ++y) {
            uint32_t* row = src.Row(src.top + y);
            uint32_t marks = 0;
            for (int i = 0; i < w; ++i) marks |= row[i];
            if (marks & ~kColour) {
                undo(y);
                return false;
            }
            for (int i = 0; i < w; ++i) row[i] |= ~kColour;
            if ((y + 1) % strip == 0) ticker.Done(y + 1);
        }
        ticker.Done(h);
    } catch (...) {
        undo(std::min(y + 1, h));
        throw;
    }
    return true;
}
