#include "tools/ToolIconArt.h"

#include <QPainterPath>

namespace toolicons {
namespace {

// The freehand stroke shared by the pen icons.
QPainterPath Squiggle() {
    QPainterPath path(QPointF(3, 17));
    path.cubicTo(6, 4, 11, 4, 12, 12);
    path.cubicTo(13, 20, 18, 20, 21, 7);
    return path;
}

} // namespace

const std::vector<IconEntry>& FreehandIcons() {
    static const std::vector<IconEntry> icons = {
        {"PEN1",
         [](QPainter& p) {
             p.setPen(Ink(2.2));
             p.drawPath(Squiggle());
         }},
        {"PEN2",
         [](QPainter& p) {
             const QPainterPath s = Squiggle();
             for (int i = 0; i <= 10; ++i) Dot(p, s.pointAtPercent(i / 10.0), 1.25, kInk);
         }},
        {"PEN3",
         [](QPainter& p) {
             p.setPen(Ink(1.2));
             p.drawPath(Squiggle());
             Dot(p, {3, 17}, 2.4, kBlue);
             Dot(p, {21, 7}, 2.4, kBlue);
         }},
    };
    return icons;
}

} // namespace toolicons
