#include "tools/ToolIconArt.h"

#include <QPainterPath>

namespace toolicons {
namespace {

void LetterA(QPainter& p) {
    QPainterPath a;
    a.moveTo(4, 21);
    a.lineTo(12, 3);
    a.lineTo(20, 21);
    a.moveTo(7.5, 14);
    a.lineTo(16.5, 14);
    p.setPen(QPen(kInk, 2.8, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(a);
}

} // namespace

const std::vector<IconEntry>& TextIcons() {
    static const std::vector<IconEntry> icons = {{"TEXT", LetterA}};
    return icons;
}

} // namespace toolicons
