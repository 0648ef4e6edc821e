#include "tools/ToolIconArt.h"

namespace toolicons {

QPen Ink(double width, Qt::PenStyle style) {
    return QPen(kInk, width, style, Qt::RoundCap, Qt::RoundJoin);
}

void Dot(QPainter& p, QPointF c, double r, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(c, r, r);
}

QImage Paint(int size, const Draw& draw) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return image;
}

} // namespace toolicons
