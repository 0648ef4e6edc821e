#include "files/PrintLayout.h"

#include "raster/ImageConvert.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Extent of size picture pixels at scale, in whole page pixels: round(size x scale - 1) + 1.
int Extent(int size, double scale) {
    const double last = std::round(double(size) * scale - 1.0);
    return int(std::clamp(last, 0.0, double(INT32_MAX - 1))) + 1;
}

int Align(PrintAlign align, int page, int extent) {
    switch (align) {
    case PrintAlign::Start:
        return 0;
    case PrintAlign::End:
        return page - extent;
    default:
        return (page - extent) / 2; // truncated toward zero, also when the picture is larger
    }
}

} // namespace

QRect PlaceOnPage(QSize page, QSize image, const PrintSettings& s) {
    if (page.width() <= 0 || page.height() <= 0 || image.width() <= 0 || image.height() <= 0)
        return {};
    const double scale = s.stretchToFit ? std::min(double(page.width()) / image.width(),
                                                   double(page.height()) / image.height())
                                        : std::clamp(s.imageZoom, 1, 9999) * 3 * 0.01;
    const int w = Extent(image.width(), scale), h = Extent(image.height(), scale);
    return {Align(s.horizontal, page.width(), w), Align(s.vertical, page.height(), h), w, h};
}

QFont PageFont(const QFont& font) {
    QFont f(font);
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : 10.0;
    f.setPixelSize(std::max(1, int(points * kPrintDpi / 72.0)));
    return f;
}

bool RenderPage(QPainter& painter, QSize page, const Buffer& image, const PrintSettings& s) {
    const QRect target = PlaceOnPage(page, {image.Width(), image.Height()}, s);
    QImage picture;
    if (!target.isEmpty()) {
        picture = BufferToImage(image, {});
        if (picture.isNull()) return false;
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (!picture.isNull()) painter.drawImage(target, picture);
    painter.setPen(Qt::black);
    const auto line = [&](const QString& text, const QFont& font, bool top) {
        if (text.isEmpty()) return;
        const QFont f = PageFont(font);
        painter.setFont(f);
        const int height = QFontMetrics(f).height();
        const QRect box(0, top ? 0 : page.height() - height, page.width(), height);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, text);
    };
    line(s.header, s.headerFont, true);
    line(s.footer, s.footerFont, false);
    painter.restore();
    return true;
}
