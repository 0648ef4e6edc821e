#pragma once

// What the icon files share: the palette's colours, the pens and the pictures that cursors reuse.
// Each tool family draws its own icons in <Family>ToolIcons.cpp; ToolIcons.cpp looks them up.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>

#include <functional>
#include <vector>

namespace toolicons {

inline const QColor kInk(32, 32, 40);
inline const QColor kBlue(62, 124, 208);
inline const QColor kRed(214, 74, 52);
inline const QColor kGreen(56, 160, 84);
inline const QColor kPaper(250, 250, 246);
inline const QColor kGrey(150, 150, 156);

using Draw = std::function<void(QPainter&)>;

struct IconEntry {
    const char* name;
    Draw draw;
};

QPen Ink(double width = 1.5, Qt::PenStyle style = Qt::SolidLine);
void Dot(QPainter& p, QPointF c, double r, const QColor& colour);
// A size x size square, transparent around the antialiased drawing.
QImage Paint(int size, const Draw& draw);

// Each family's icons in palette order; ToolIcons.cpp strings the families together.
const std::vector<IconEntry>& BrushIcons();
const std::vector<IconEntry>& FreehandIcons();
const std::vector<IconEntry>& LineIcons();
const std::vector<IconEntry>& CurveIcons();
const std::vector<IconEntry>& ShapeIcons(); // boxes, ellipses and the filled shapes
const std::vector<IconEntry>& SprayIcons();
const std::vector<IconEntry>& FillIcons();
const std::vector<IconEntry>& TextIcons();
const std::vector<IconEntry>& CutIcons();
const std::vector<IconEntry>& CloneIcons();
const std::vector<IconEntry>& ColourIcons();
const std::vector<IconEntry>& CommandIcons(); // grid, undo, clear and the empty placeholder

// Pictures the cursors draw larger.
void SprayCan(QPainter& p);
void Wand(QPainter& p, double scale);
void Pipette(QPainter& p, double scale);

} // namespace toolicons
