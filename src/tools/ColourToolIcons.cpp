#include "tools/ToolIconArt.h"

#include <QPolygonF>

namespace toolicons {
namespace {

void SwapColours(QPainter& p) {
    p.setPen(Ink(1.3));
    p.setBrush(kRed);
    p.drawRect(QRectF(2.5, 2.5, 9, 9));
    p.setBrush(kGreen);
    p.drawRect(QRectF(12.5, 12.5, 9, 9));
    p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 6, 14, 14), 30 * 16, 80 * 16); // top right, from red toward green
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({{16.5, 9}, {21.5, 9}, {19, 12.5}}));
}

} // namespace

void Pipette(QPainter& p, double scale) {
    p.save();
    p.scale(scale, scale);
    p.translate(14, 10);
    p.rotate(45);
    p.setPen(Ink(1.4));
    p.setBrush(kInk);
    p.drawRoundedRect(QRectF(-3, -9, 6, 5), 1.5, 1.5);
    p.drawRect(QRectF(-4.5, -4, 9, 2));
    p.setBrush(kPaper);
    QPolygonF tube({{-2, -2}, {2, -2}, {2, 9}, {0, 13}, {-2, 9}});
    p.drawPolygon(tube);
    p.restore();
}

const std::vector<IconEntry>& ColourIcons() {
    static const std::vector<IconEntry> icons = {
        {"GETCOL", [](QPainter& p) { Pipette(p, 1.0); }},
        {"CHCOL", SwapColours},
    };
    return icons;
}

} // namespace toolicons
