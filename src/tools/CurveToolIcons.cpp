#include "tools/ToolIconArt.h"

#include <QPainterPath>

namespace toolicons {

const std::vector<IconEntry>& CurveIcons() {
    static const std::vector<IconEntry> icons = {
        {"SPLINE1",
         [](QPainter& p) {
             QPainterPath c(QPointF(3, 20));
             c.cubicTo(5, 2, 19, 2, 21, 20);
             p.setPen(Ink(2));
             p.drawPath(c);
         }},
        {"SPLINE2",
         [](QPainter& p) {
             QPainterPath c(QPointF(2, 18));
             c.cubicTo(4, 4, 10, 4, 12, 12);
             c.cubicTo(14, 20, 20, 20, 22, 6);
             p.setPen(Ink(2));
             p.drawPath(c);
             Dot(p, {12, 12}, 1.8, kBlue);
         }},
    };
    return icons;
}

} // namespace toolicons
