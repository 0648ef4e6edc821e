#include "tools/ToolIconArt.h"

#include <QPolygonF>

namespace toolicons {

const std::vector<IconEntry>& LineIcons() {
    static const std::vector<IconEntry> icons = {
        {"LINE1",
         [](QPainter& p) {
             p.setPen(Ink(2));
             p.drawLine(QPointF(4, 20), QPointF(20, 4));
         }},
        {"LINE2",
         [](QPainter& p) {
             p.setPen(Ink(2));
             p.drawPolyline(QPolygonF({{3, 20}, {9, 6}, {15, 17}, {21, 4}}));
         }},
    };
    return icons;
}

} // namespace toolicons
