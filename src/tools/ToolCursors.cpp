#include "tools/ToolIcons.h"

#include "tools/ToolIconArt.h"

#include <QPolygonF>

namespace {

using namespace toolicons;

// Cursors: a white halo under the black figure keeps them visible on any image.
void Haloed(QPainter& p, const std::function<void(QPainter&, const QColor&, double)>& figure) {
    figure(p, Qt::white, 3.5);
    figure(p, Qt::black, 1.2);
}

void Cross(QPainter& p) {
    Haloed(p, [](QPainter& q, const QColor& c, double w) {
        q.setPen(QPen(c, w, Qt::SolidLine, Qt::FlatCap));
        q.drawLine(QPointF(15.5, 3), QPointF(15.5, 12));
        q.drawLine(QPointF(15.5, 19), QPointF(15.5, 28));
        q.drawLine(QPointF(3, 15.5), QPointF(12, 15.5));
        q.drawLine(QPointF(19, 15.5), QPointF(28, 15.5));
    });
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(15, 15, 1, 1), Qt::black);
}

struct CursorEntry {
    const char* name;
    QPoint hotspot;
    Draw draw;
};

const std::vector<CursorEntry>& Cursors() {
    static const std::vector<CursorEntry> cursors = {
        {"CROSS", {15, 15}, Cross},
        {"CROSSOK",
         {15, 15},
         [](QPainter& p) {
             Cross(p);
             Haloed(p, [](QPainter& q, const QColor& c, double w) {
                 q.setPen(QPen(c, w));
                 q.setBrush(Qt::NoBrush);
                 q.drawEllipse(QPointF(24, 24), 4.5, 4.5);
             });
         }},
        {"FILL",
         {27, 29},
         [](QPainter& p) {
             p.save();
             p.scale(1.25, 1.25);
             p.drawImage(0, 0, ToolIcon("FILL1"));
             p.restore();
         }},
        {"ROTATE",
         {15, 15},
         [](QPainter& p) {
             Haloed(p, [](QPainter& q, const QColor& c, double w) {
                 q.setPen(QPen(c, w + 0.8, Qt::SolidLine, Qt::FlatCap));
                 q.setBrush(Qt::NoBrush);
                 q.drawArc(QRectF(6, 6, 19, 19), 100 * 16, 290 * 16);
                 q.setPen(QPen(c, w * 0.6));
                 q.setBrush(c);
                 q.drawPolygon(QPolygonF({{9, 1}, {18, 6.5}, {9, 12}}));
             });
             p.fillRect(QRectF(15, 15, 1, 1), Qt::black);
         }},
        {"SPRAY",
         {25, 6},
         [](QPainter& p) {
             p.save();
             p.scale(1.25, 1.25);
             SprayCan(p);
             p.restore();
         }},
        {"AIRBRUSH",
         {4, 28},
         [](QPainter& p) {
             Haloed(p, [](QPainter& q, const QColor& c, double w) {
                 q.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                 q.setBrush(c == Qt::black ? QBrush(kGrey) : QBrush(c));
                 q.drawPolygon(QPolygonF({{4, 28}, {8, 20}, {26, 2}, {30, 6}, {12, 24}}));
                 q.drawLine(QPointF(18, 10), QPointF(24, 16));
             });
         }},
        {"WAND", {21, 11}, [](QPainter& p) { Wand(p, 1.3); }},
        {"PIPETTE", {6, 25}, [](QPainter& p) { Pipette(p, 1.3); }},
    };
    return cursors;
}

} // namespace

QStringList ToolCursorNames() {
    QStringList names;
    for (const CursorEntry& e : Cursors()) names << e.name;
    return names;
}

ToolCursorImage DrawToolCursor(const QString& name) {
    for (const CursorEntry& e : Cursors())
        if (name == e.name) return {Paint(ToolCursorSize, e.draw), e.hotspot};
    return {};
}
