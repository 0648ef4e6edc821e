#include "tools/ToolIconArt.h"

#include <QPolygonF>
#include <QRadialGradient>

#include <array>

namespace toolicons {

void SprayCan(QPainter& p) {
    p.setPen(Ink(1.4));
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(3, 10, 8, 12), 1.5, 1.5);
    p.setBrush(kInk);
    p.drawRect(QRectF(5, 6, 4, 4));
    const std::array<QPointF, 9> dots = {
        {{14, 4}, {17, 6}, {20, 3}, {15, 8.5}, {19, 9}, {22, 7}, {17, 12}, {21, 13}, {14, 13}}};
    for (QPointF d : dots) Dot(p, d, 0.9, kInk);
}

namespace {

void Airbrush(QPainter& p) {
    QRadialGradient cloud(QPointF(16, 8), 7);
    cloud.setColorAt(0, QColor(62, 124, 208, 230));
    cloud.setColorAt(1, QColor(62, 124, 208, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(cloud);
    p.drawEllipse(QPointF(16, 8), 7, 7);
    p.setPen(Ink(1.4));
    p.setBrush(kGrey);
    QPolygonF body({{2, 22}, {9, 15}, {11.5, 17.5}, {4.5, 24}});
    p.drawPolygon(body);
    p.drawLine(QPointF(10, 16), QPointF(13, 12));
}

} // namespace

const std::vector<IconEntry>& SprayIcons() {
    static const std::vector<IconEntry> icons = {
        {"SPRAY1", SprayCan},
        {"SPRAY2", Airbrush},
    };
    return icons;
}

} // namespace toolicons
