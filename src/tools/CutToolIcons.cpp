#include "tools/ToolIconArt.h"

#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

namespace toolicons {
namespace {

// Small scissors in the lower right corner of the cut icons.
void Scissors(QPainter& p) {
    p.setPen(QPen(kRed, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(15.5, 20), 2.2, 2.2);
    p.drawEllipse(QPointF(21, 20), 2.2, 2.2);
    p.setPen(Ink(1.4));
    p.drawLine(QPointF(16.5, 18), QPointF(22, 11));
    p.drawLine(QPointF(20, 18), QPointF(14.5, 11));
}

QPen Marquee() {
    QPen pen(kInk, 1.2, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setDashPattern({2, 1.5});
    return pen;
}

} // namespace

void Wand(QPainter& p, double scale) {
    p.save();
    p.scale(scale, scale);
    p.setPen(QPen(kInk, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3, 21), QPointF(13, 11));
    p.setPen(QPen(kPaper, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.5, 13.5), QPointF(12.5, 11.5));
    p.setPen(QPen(kBlue, 1.3, Qt::SolidLine, Qt::RoundCap));
    const QPointF star(16, 8);
    for (int i = 0; i < 4; ++i) {
        const double a = i * M_PI / 4;
        const QPointF d(std::cos(a) * 4, std::sin(a) * 4);
        p.drawLine(star - d, star + d);
    }
    p.restore();
}

const std::vector<IconEntry>& CutIcons() {
    static const std::vector<IconEntry> icons = {
        {"CUT1",
         [](QPainter& p) {
             p.setPen(Marquee());
             p.drawRect(QRectF(1.5, 1.5, 14, 10));
             Scissors(p);
         }},
        {"CUT2",
         [](QPainter& p) {
             p.setPen(Marquee());
             p.drawRect(QRectF(1.5, 1.5, 14, 10));
             p.setPen(QPen(kBlue, 1.2));
             p.drawLine(QPointF(1.5, 14.5), QPointF(15.5, 14.5));
             p.drawLine(QPointF(1.5, 13), QPointF(1.5, 16));
             p.drawLine(QPointF(15.5, 13), QPointF(15.5, 16));
             Scissors(p);
         }},
        {"CUT3",
         [](QPainter& p) {
             QPainterPath loop(QPointF(3, 8));
             loop.cubicTo(1, 0, 14, 0, 15, 6);
             loop.cubicTo(16, 12, 8, 10, 6, 14);
             loop.cubicTo(4, 16, 4, 11, 3, 8);
             p.setPen(Marquee());
             p.drawPath(loop);
             Scissors(p);
         }},
        {"CUT4",
         [](QPainter& p) {
             p.setPen(Marquee());
             p.drawPolygon(QPolygonF({{2, 14}, {3, 2}, {9, 7}, {15, 1}, {13, 12}}));
             Scissors(p);
         }},
        {"CUT5", [](QPainter& p) { Wand(p, 1.0); }},
    };
    return icons;
}

} // namespace toolicons
