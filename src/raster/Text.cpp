#include "raster/Buffer.h"
#include "raster/TextFont.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
// Points at 96 pixels per inch, so sizes do not depend on the screen the program runs on.
QFont MakeQFont(const TextFont& f) {
    QFont q(f.name);
    q.setPixelSize(std::max(1, int(std::lround(std::max(f.size, 1) * 96.0 / 72.0))));
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    q.setStyleStrategy(QFont::NoAntialias);
    q.setHintingPreference(QFont::PreferFullHinting);
    return q;
}
} // namespace

Pair Buffer::GetTextExtent(const TextFont& font, const QString& text) {
    const QFontMetrics fm(MakeQFont(font));
    int w = fm.horizontalAdvance(text);
    if (!text.isEmpty()) w = std::max(w, fm.boundingRect(text).right() + 1); // italic overhang
    return {w, fm.height()};
}

void Buffer::OutText(const TextFont& font, Pair p, const QString& text, uint32_t colour) {
    if (Empty() || text.isEmpty()) return;
    const Pair ext = GetTextExtent(font, text);
    // Render only the part of the text cell that lands inside this buffer.
    const Rect cell{p.x, p.y, p.x + ext.x - 1, p.y + ext.y - 1};
    const Rect vis = cell.Intersect(Bounds());
    if (vis.Empty()) return;
    QImage mask(vis.Width(), vis.Height(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(MakeQFont(font));
        painter.setPen(Qt::black);
        const QFontMetrics fm(painter.font());
        painter.drawText(QPointF(p.x - vis.left, p.y - vis.top + fm.ascent()), text);
    }
    const bool xorMode = colour & Pixel::XorFlag;
    for (int y = 0; y < mask.height(); ++y) {
        const auto* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        uint32_t* d = &At(vis.left, vis.top + y);
        for (int x = 0; x < mask.width(); ++x) {
            if (qAlpha(m[x]) < 128) continue;
            d[x] = xorMode ? d[x] ^ (colour & 0xFFFFFF) : colour;
        }
    }
}
