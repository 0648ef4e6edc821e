#include "tools/ToolIconArt.h"

#include <QImage>
#include <QPainterPath>
#include <QPolygonF>

namespace toolicons {
namespace {

void Bucket(QPainter& p, const QBrush& pour) {
    // A pail tipped to the right, its paint running down into a pool.
    p.save();
    p.translate(9, 11);
    p.rotate(50);
    p.setPen(Ink(1.4));
    p.setBrush(kPaper);
    p.drawPolygon(QPolygonF({{-6, -5}, {6, -5}, {4.5, 6}, {-4.5, 6}}));
    p.setBrush(pour);
    p.drawEllipse(QPointF(0, -5), 6, 2.2);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-7.5, -5, 15, 16), 180 * 16, 180 * 16);
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(pour);
    QPainterPath run(QPointF(16.5, 12));
    run.cubicTo(19.5, 13, 20.5, 16, 20.5, 20);
    run.lineTo(18, 20);
    run.cubicTo(18, 17, 17.5, 15, 15.5, 14);
    p.drawPath(run);
    p.drawRoundedRect(QRectF(11, 19.5, 12, 3.5), 1.5, 1.5);
}

QBrush Checker() {
    QImage tile(4, 4, QImage::Format_ARGB32_Premultiplied);
    tile.fill(kPaper);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            if ((x / 2 + y / 2) % 2) tile.setPixelColor(x, y, kGreen);
    return QBrush(tile);
}

} // namespace

const std::vector<IconEntry>& FillIcons() {
    static const std::vector<IconEntry> icons = {
        {"FILL1", [](QPainter& p) { Bucket(p, kBlue); }},
        {"FILL2", [](QPainter& p) { Bucket(p, Checker()); }},
    };
    return icons;
}

} // namespace toolicons
