#include "tools/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <array>
#include <cmath>
#include <functional>

namespace {

const QColor kInk(32, 32, 40);
const QColor kBlue(62, 124, 208);
const QColor kRed(214, 74, 52);
const QColor kGreen(56, 160, 84);
const QColor kPaper(250, 250, 246);
const QColor kGrey(150, 150, 156);

using Draw = std::function<void(QPainter&)>;

QPen Ink(double width = 1.5, Qt::PenStyle style = Qt::SolidLine) {
    return QPen(kInk, width, style, Qt::RoundCap, Qt::RoundJoin);
}

void Dot(QPainter& p, QPointF c, double r, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(c, r, r);
}

// The freehand stroke shared by the pen icons.
QPainterPath Squiggle() {
    QPainterPath path(QPointF(3, 17));
    path.cubicTo(6, 4, 11, 4, 12, 12);
    path.cubicTo(13, 20, 18, 20, 21, 7);
    return path;
}

// Size arrows under the built-in brushes that take the current size.
void SizeArrows(QPainter& p) {
    p.setPen(Ink(1.2));
    p.drawLine(QPointF(4, 21), QPointF(20, 21));
    p.drawLine(QPointF(4, 21), QPointF(7, 19));
    p.drawLine(QPointF(4, 21), QPointF(7, 23));
    p.drawLine(QPointF(20, 21), QPointF(17, 19));
    p.drawLine(QPointF(20, 21), QPointF(17, 23));
}

void Shape(QPainter& p, bool filled, const std::function<void(QPainter&)>& figure) {
    p.setPen(Ink(1.5));
    p.setBrush(filled ? QBrush(kBlue) : Qt::NoBrush);
    figure(p);
}

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

void Bucket(QPainter& p, const QBrush& pour) {
    // A pail tipped to the right, its paint running down into a pool.
    p.save();
    p.translate(9, 11);
    p.rotate(50);
    p.setPen(Ink(1.4));
    p.setBrush(kPaper);
    p.drawPolygon(QPolygonF({{-6, -5}, {6, -5}, {4.5, 6}, {-4.5, 6}}));
    p.setBrush(pour);
    p.drawEllipse(QPointF(0, -5), 6, 2.2);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-7.5, -5, 15, 16), 180 * 16, 180 * 16);
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(pour);
    QPainterPath run(QPointF(16.5, 12));
    run.cubicTo(19.5, 13, 20.5, 16, 20.5, 20);
    run.lineTo(18, 20);
    run.cubicTo(18, 17, 17.5, 15, 15.5, 14);
    p.drawPath(run);
    p.drawRoundedRect(QRectF(11, 19.5, 12, 3.5), 1.5, 1.5);
}

QBrush Checker() {
    QImage tile(4, 4, QImage::Format_ARGB32_Premultiplied);
    tile.fill(kPaper);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            if ((x / 2 + y / 2) % 2) tile.setPixelColor(x, y, kGreen);
    return QBrush(tile);
}

void Pipette(QPainter& p, double scale) {
    p.save();
    p.scale(scale, scale);
    p.translate(14, 10);
    p.rotate(45);
    p.setPen(Ink(1.4));
    p.setBrush(kInk);
    p.drawRoundedRect(QRectF(-3, -9, 6, 5), 1.5, 1.5);
    p.drawRect(QRectF(-4.5, -4, 9, 2));
    p.setBrush(kPaper);
    QPolygonF tube({{-2, -2}, {2, -2}, {2, 9}, {0, 13}, {-2, 9}});
    p.drawPolygon(tube);
    p.restore();
}

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

void SprayCan(QPainter& p) {
    p.setPen(Ink(1.4));
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(3, 10, 8, 12), 1.5, 1.5);
    p.setBrush(kInk);
    p.drawRect(QRectF(5, 6, 4, 4));
    const std::array<QPointF, 9> dots = {
        {{14, 4}, {17, 6}, {20, 3}, {15, 8.5}, {19, 9}, {22, 7}, {17, 12}, {21, 13}, {14, 13}}};
    for (QPointF d : dots) Dot(p, d, 0.9, kInk);
}

void Airbrush(QPainter& p) {
    QRadialGradient cloud(QPointF(16, 8), 7);
    cloud.setColorAt(0, QColor(62, 124, 208, 230));
    cloud.setColorAt(1, QColor(62, 124, 208, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(cloud);
    p.drawEllipse(QPointF(16, 8), 7, 7);
    p.setPen(Ink(1.4));
    p.setBrush(kGrey);
    QPolygonF body({{2, 22}, {9, 15}, {11.5, 17.5}, {4.5, 24}});
    p.drawPolygon(body);
    p.drawLine(QPointF(10, 16), QPointF(13, 12));
}

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

void SwapColours(QPainter& p) {
    p.setPen(Ink(1.3));
    p.setBrush(kRed);
    p.drawRect(QRectF(2.5, 2.5, 9, 9));
    p.setBrush(kGreen);
    p.drawRect(QRectF(12.5, 12.5, 9, 9));
    p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 6, 14, 14), 30 * 16, 80 * 16); // top right, from red toward green
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({{16.5, 9}, {21.5, 9}, {19, 12.5}}));
}

struct IconEntry {
    const char* name;
    Draw draw;
};

const std::vector<IconEntry>& Icons() {
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
        {"SPRAY1", SprayCan},
        {"SPRAY2", Airbrush},
        {"FILL1", [](QPainter& p) { Bucket(p, kBlue); }},
        {"FILL2", [](QPainter& p) { Bucket(p, Checker()); }},
        {"TEXT", LetterA},
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
        {"CLONE", Stamp},
        {"GETCOL", [](QPainter& p) { Pipette(p, 1.0); }},
        {"CHCOL", SwapColours},
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

QImage Blank(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

QStringList ToolIconNames() {
    QStringList names;
    for (const IconEntry& e : Icons()) names << e.name;
    return names;
}

QImage ToolIcon(const QString& name) {
    for (const IconEntry& e : Icons()) {
        if (name != e.name) continue;
        QImage image = Blank(ToolIconSize);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        e.draw(p);
        return image;
    }
    return {};
}

QStringList ToolCursorNames() {
    QStringList names;
    for (const CursorEntry& e : Cursors()) names << e.name;
    return names;
}

ToolCursorImage DrawToolCursor(const QString& name) {
    for (const CursorEntry& e : Cursors()) {
        if (name != e.name) continue;
        QImage image = Blank(ToolCursorSize);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        e.draw(p);
        return {image, e.hotspot};
    }
    return {};
}
