#include "tools/ToolIconArt.h"

#include <QPainterPath>
#include <QPolygonF>

namespace toolicons {
namespace {

void Shape(QPainter& p, bool filled, const std::function<void(QPainter&)>& figure) {
    p.setPen(Ink(1.5));
    p.setBrush(filled ? QBrush(kBlue) : Qt::NoBrush);
    figure(p);
}

} // namespace

const std::vector<IconEntry>& ShapeIcons() {
    static const std::vector<IconEntry> icons = {
        {"RECT1",
         [](QPainter& p) {
             Shape(p, true, [](QPainter& q) { q.drawRect(QRectF(2.5, 6.5, 19, 11)); });
         }},
        {"RECT2",
         [](QPainter& p) {
             Shape(p, false, [](QPainter& q) { q.drawRect(QRectF(2.5, 6.5, 19, 11)); });
         }},
        {"RECT3",
         [](QPainter& p) {
             Shape(p, true, [](QPainter& q) { q.drawRect(QRectF(4.5, 4.5, 15, 15)); });
         }},
        {"RECT4",
         [](QPainter& p) {
             Shape(p, false, [](QPainter& q) { q.drawRect(QRectF(4.5, 4.5, 15, 15)); });
         }},
        {"CRC1",
         [](QPainter& p) {
             Shape(p, false, [](QPainter& q) { q.drawEllipse(QPointF(12, 12), 8.5, 8.5); });
         }},
        {"CRC2",
         [](QPainter& p) {
             Shape(p, true, [](QPainter& q) { q.drawEllipse(QPointF(12, 12), 8.5, 8.5); });
         }},
        {"CRC3",
         [](QPainter& p) {
             Shape(p, false, [](QPainter& q) { q.drawEllipse(QPointF(12, 12), 10, 6); });
         }},
        {"CRC4",
         [](QPainter& p) {
             Shape(p, true, [](QPainter& q) { q.drawEllipse(QPointF(12, 12), 10, 6); });
         }},
        {"FILLDRAW",
         [](QPainter& p) {
             QPainterPath blob(QPointF(4, 12));
             blob.cubicTo(2, 2, 14, 0, 16, 7);
             blob.cubicTo(24, 8, 23, 21, 13, 20);
             blob.cubicTo(7, 22, 5, 18, 4, 12);
             Shape(p, true, [&](QPainter& q) { q.drawPath(blob); });
         }},
        {"FILLPOLY",
         [](QPainter& p) {
             Shape(p, true, [](QPainter& q) {
                 q.drawPolygon(QPolygonF({{3, 20}, {6, 4}, {13, 10}, {21, 3}, {20, 20}}));
             });
         }},
    };
    return icons;
}

} // namespace toolicons
