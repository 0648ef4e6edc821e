#include "tools/ToolIconArt.h"

namespace toolicons {
namespace {

void Stamp(QPainter& p) {
    p.setPen(Ink(1.4));
    p.setBrush(kRed);
    p.drawEllipse(QPointF(12, 5), 3.5, 3.5);
    p.drawRect(QRectF(10.5, 8, 3, 6));
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(5, 14, 14, 4), 1, 1);
    p.setPen(QPen(kGreen, 2));
    p.drawLine(QPointF(5, 21.5), QPointF(19, 21.5));
}

} // namespace

const std::vector<IconEntry>& CloneIcons() {
    static const std::vector<IconEntry> icons = {{"CLONE", Stamp}};
    return icons;
}

} // namespace toolicons
