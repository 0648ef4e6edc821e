#pragma once

// The palette's icons and the tools' pointer shapes, drawn in code so that they stay sharp and
// share one look. Names are those the palette registers ("LINE1", "CUT5", "EMPTY", ...). Each
// tool family draws its icons beside it, in <Family>ToolIcons.cpp; the cursors are ToolCursors.cpp.

#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>

constexpr int ToolIconSize = 24;
constexpr int ToolCursorSize = 32;

// Every icon name, in palette order.
QStringList ToolIconNames();
// A ToolIconSize square, transparent around the drawing; a null image for an unknown name.
QImage ToolIcon(const QString& name);
// Paints every icon ahead, on any thread, so that ToolIcon only looks them up.
void PaintToolIcons();

struct ToolCursorImage {
    QImage image; // ToolCursorSize square, null for an unknown name
    QPoint hotspot;
};

// CROSS, CROSSOK, FILL, ROTATE, SPRAY, AIRBRUSH, WAND, PIPETTE.
QStringList ToolCursorNames();
ToolCursorImage DrawToolCursor(const QString& name);
