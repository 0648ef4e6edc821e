#include "tools/ToolIconArt.h"

#include <QPainterPath>
#include <QPolygonF>

namespace toolicons {
namespace {

void Grid(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    for (int i = 0; i < 4; ++i) {
        const double v = 3.5 + i * 5.5;
        p.drawLine(QPointF(v, 3), QPointF(v, 20.5));
        p.drawLine(QPointF(3, v), QPointF(20.5, v));
    }
    Dot(p, QPointF(14.5, 9), 2, kRed);
}

void UndoArrow(QPainter& p, double scale, const QPointF& at) {
    p.save();
    p.translate(at);
    p.scale(scale, scale);
    QPainterPath arc;
    arc.moveTo(6, 8);
    arc.cubicTo(12, 2, 22, 6, 20, 14);
    arc.cubicTo(19, 18, 15, 20, 11, 20);
    p.setPen(QPen(kBlue, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF({{2, 4}, {10, 4}, {5, 12}}));
    p.restore();
}

void ClearPage(QPainter& p) {
    p.setPen(Ink(1.3));
    p.setBrush(kPaper);
    p.drawPolygon(QPolygonF({{4, 2}, {15, 2}, {20, 7}, {20, 22}, {4, 22}}));
    p.drawPolyline(QPolygonF({{15, 2}, {15, 7}, {20, 7}}));
    p.setPen(QPen(kRed, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 11), QPointF(16, 19));
    p.drawLine(QPointF(16, 11), QPointF(8, 19));
}

} // namespace

const std::vector<IconEntry>& CommandIcons() {
    static const std::vector<IconEntry> icons = {
        {"GRID", Grid},
        {"UNDO",
         [](QPainter& p) {
             UndoArrow(p, 0.95, {0, 1});
         }},
        {"CLEAR", ClearPage},
        {"EMPTY",
         [](QPainter& p) {
             QPen pen(kGrey, 1, Qt::DotLine);
             p.setPen(pen);
             p.drawRect(QRectF(3.5, 3.5, 16, 16));
         }},
    };
    return icons;
}

} // namespace toolicons
