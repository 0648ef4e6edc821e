#include "document/ui/TBuffer.h"

#include "document/Zoom.h"
#include "raster/Buffer.h"

#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// A region split finer than this is painted as its bounding rectangle: one pass over a
// slightly larger area beats thousands of tiny ones.
constexpr int kMaxRegionRects = 3070;
constexpr int kBandBytes = 256 * 1024;

// Screen pixels are opaque and never show the mark or XOR bits.
inline uint32_t Shown(uint32_t p) {
    return 0xFF000000u | (p & 0x00FFFFFFu);
}

// Device coordinate to source coordinate: cell v / n starts at source (v / n) * d, and the n
// device pixels of a cell pick evenly among its d source pixels.
inline int SourceOf(int v, ZoomRatio r) {
    return (v / r.n) * r.d + int(int64_t(v % r.n) * r.d / r.n);
}

} // namespace

TBuffer::TBuffer(QWidget* parent) : QWidget(parent) {
    // Every pixel of an update is painted, so Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void TBuffer::SetBuffer(Buffer* buffer) {
    if (buffer == buffer_) return;
    buffer_ = buffer;
    updateGeometry();
    update();
}

void TBuffer::SetZoom(int packed) {
    const int normalized = NormalizePackedZoom(packed);
    if (normalized == zoom_) return;
    zoom_ = normalized;
    updateGeometry();
    update();
}

QSize TBuffer::sizeHint() const {
    if (!buffer_ || buffer_->Empty()) return QWidget::sizeHint();
    const Pair s = ZoomedViewSize({buffer_->Width(), buffer_->Height()}, UnpackZoom(zoom_));
    return {s.x, s.y};
}

void TBuffer::paintEvent(QPaintEvent* event) {
    if (!active_) return;
    QPainter painter(this);
    PaintRegion(painter, event->region());
}

void TBuffer::PaintRegion(QPainter& painter, const QRegion& region) {
    if (!buffer_ || buffer_->Empty()) {
        PaintNoImage(painter);
    } else {
        const QRegion clipped = region.intersected(rect());
        if (clipped.rectCount() > kMaxRegionRects)
            PaintRect(painter, clipped.boundingRect());
        else
            for (const QRect& r : clipped) PaintRect(painter, r);
    }
    if (onPaint) onPaint(painter);
}

void TBuffer::PaintNoImage(QPainter& painter) {
    painter.fillRect(rect(), Qt::black);
    painter.setPen(QPen(Qt::white, 0));
    const int right = width() - 1, bottom = height() - 1;
    // A pen-drawn QRect covers one pixel more than its size, hence the smaller rectangle.
    painter.drawRect(QRect(0, 0, right, bottom));
    painter.drawLine(0, 0, right, bottom);
    painter.drawLine(0, bottom, right, 0);
}

bool TBuffer::EnsureBand(int width, int rows) {
    if (band_.width() >= width && band_.height() >= rows) return true;
    QImage grown(std::max(width, band_.width()), std::max(rows, band_.height()),
                 QImage::Format_RGB32);
    if (grown.isNull()) return false;
    band_ = std::move(grown);
    return true;
}

void TBuffer::FillRow(uint32_t* out, int sy, int x0, int width) const {
    const ZoomRatio r = UnpackZoom(zoom_);
    const uint32_t* src = buffer_->Row(buffer_->top + sy);
    if (r.n == r.d) {
        src += x0;
        for (int x = 0; x < width; ++x) out[x] = Shown(src[x]);
    } else if (r.d == 1) {
        // Enlarging: each source pixel becomes a run of n screen pixels.
        int i = x0 / r.n, k = x0 % r.n;
        for (int x = 0; x < width; k = 0) {
            const int run = std::min(r.n - k, width - x);
            std::fill_n(out + x, run, Shown(src[i++]));
            x += run;
        }
    } else {
        const int* column = columns_.data();
        for (int x = 0; x < width; ++x) out[x] = Shown(src[column[x]]);
    }
}

// Whether an RGB32 image drawn with painter is copied as it is into a target whose top byte
// nobody reads: an opaque RGB32 raster target, one device pixel per pixel, moved only.
bool TBuffer::BlitsUnconverted(QPainter& painter) {
    QPaintEngine* engine = painter.paintEngine();
    QPaintDevice* target = engine ? engine->paintDevice() : nullptr;
    if (!target || target->devType() != QInternal::Image) return false;
    const auto* image = static_cast<const QImage*>(target);
    return image->format() == QImage::Format_RGB32 && image->devicePixelRatio() == 1.0 &&
           painter.transform().type() <= QTransform::TxTranslate &&
           painter.compositionMode() == QPainter::CompositionMode_SourceOver &&
           painter.opacity() == 1.0;
}

void TBuffer::PaintRect(QPainter& painter, const QRect& rect) {
    const ZoomRatio r = UnpackZoom(zoom_);
    const Buffer& b = *buffer_;
    const Pair view = ZoomedViewSize({b.Width(), b.Height()}, r);
    const QRect image(0, 0, view.x, view.y);
    // A view larger than its zoomed image shows black around it.
    for (const QRect& rest : QRegion(rect).subtracted(QRegion(image)))
        painter.fillRect(rest, Qt::black);
    const QRect area = rect.intersected(image);
    if (area.isEmpty()) return;

    const int width = area.width();
    if (r.n == r.d && BlitsUnconverted(painter)) {
        // The target ignores the top byte that holds our marks: the pixels go straight in.
        const QImage pixels(reinterpret_cast<const uchar*>(b.Row(b.top + area.top()) + area.left()),
                            width, area.height(), qsizetype(b.stride) * qsizetype(sizeof(uint32_t)),
                            QImage::Format_RGB32);
        painter.drawImage(area.topLeft(), pixels);
        return;
    }
    if (r.n < r.d) {
        // Zoomed out: the source column of each device column, found once per rectangle.
        columns_.resize(size_t(width));
        int i = area.left() / r.n, k = area.left() % r.n;
        std::vector<int> offsets(size_t(r.n));
        for (int j = 0; j < r.n; ++j) offsets[size_t(j)] = int(int64_t(j) * r.d / r.n);
        for (int x = 0; x < width; ++x) {
            columns_[size_t(x)] = i * r.d + offsets[size_t(k)];
            if (++k == r.n) {
                k = 0;
                ++i;
            }
        }
    }

    // Bands start as tall as the rectangle, but no larger than the cache comfortably holds
    // between converting and drawing; a band whose buffer cannot be had is halved, and when even
    // one cell row fails the rest of this rectangle stays unpainted.
    const int cachedRows = std::max(1, kBandBytes / (width * 4) / r.n) * r.n;
    int bandRows = std::min(area.height(), cachedRows);
    for (int y = area.top(); y <= area.bottom();) {
        int rows = std::min(bandRows, area.bottom() - y + 1);
        while (!EnsureBand(width, rows)) {
            if (rows <= r.n) return;
            rows = (rows + 1) / 2;
            bandRows = rows;
        }
        int previous = -1;
        for (int j = 0; j < rows; ++j) {
            auto* out = reinterpret_cast<uint32_t*>(band_.scanLine(j));
            const int sy = SourceOf(y + j, r);
            if (sy == previous)
                std::memcpy(out, band_.scanLine(j - 1), sizeof(uint32_t) * size_t(width));
            else
                FillRow(out, sy, area.left(), width);
            previous = sy;
        }
        painter.drawImage(QPoint(area.left(), y), band_, QRect(0, 0, width, rows));
        y += rows;
    }
}

void TBuffer::enterEvent(QEnterEvent* event) {
    if (onMouseEnter)
        onMouseEnter();
    else
        QWidget::enterEvent(event);
}

void TBuffer::leaveEvent(QEvent* event) {
    if (onMouseLeave)
        onMouseLeave();
    else
        QWidget::leaveEvent(event);
}
