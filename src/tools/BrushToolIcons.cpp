#include "tools/ToolIconArt.h"

namespace toolicons {
namespace {

// Size arrows under the built-in brushes that take the current size.
void SizeArrows(QPainter& p) {
    p.setPen(Ink(1.2));
    p.drawLine(QPointF(4, 21), QPointF(20, 21));
    p.drawLine(QPointF(4, 21), QPointF(7, 19));
    p.drawLine(QPointF(4, 21), QPointF(7, 23));
    p.drawLine(QPointF(20, 21), QPointF(17, 19));
    p.drawLine(QPointF(20, 21), QPointF(17, 23));
}

} // namespace

const std::vector<IconEntry>& BrushIcons() {
    static const std::vector<IconEntry> icons = {
        {"BRUSH1",
         [](QPainter& p) {
             Dot(p, {12, 9}, 6, kInk);
             SizeArrows(p);
         }},
        {"BRUSH11",
         [](QPainter& p) {
             Dot(p, {12, 12}, 1.6, kInk);
         }},
        {"BRUSH12",
         [](QPainter& p) {
             Dot(p, {12, 12}, 5.5, kInk);
         }},
        {"BRUSH13",
         [](QPainter& p) {
             Dot(p, {12, 12}, 10.5, kInk);
         }},
        {"BRUSH2",
         [](QPainter& p) {
             p.fillRect(QRectF(6, 3, 12, 12), kInk);
             SizeArrows(p);
         }},
        {"BRUSH21", [](QPainter& p) { p.fillRect(QRectF(10.5, 10.5, 3, 3), kInk); }},
        {"BRUSH22", [](QPainter& p) { p.fillRect(QRectF(6.5, 6.5, 11, 11), kInk); }},
        {"BRUSH23", [](QPainter& p) { p.fillRect(QRectF(1.5, 1.5, 21, 21), kInk); }},
    };
    return icons;
}

} // namespace toolicons
