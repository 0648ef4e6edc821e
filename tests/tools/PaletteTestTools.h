#pragma once

#include "tools/ToolRegistry.h"

#include <QStringList>

#include <array>
#include <cstddef>

class PaintTool;

namespace palettetest {

// Stand-ins for tools: the palette only compares and hands on their addresses.
inline std::array<char, 64> toolStorage;
inline PaintTool* FakeTool(int i) {
    return reinterpret_cast<PaintTool*>(&toolStorage[size_t(i)]);
}

// Every standard entry gets a tool numbered by its place in this list.
inline const QStringList kIcons = {
    "BRUSH1",  "BRUSH11", "BRUSH12",  "BRUSH13",  "BRUSH2", "BRUSH21", "BRUSH22",
    "BRUSH23", "PEN1",    "PEN2",     "PEN3",     "LINE1",  "LINE2",   "SPLINE1",
    "SPLINE2", "RECT1",   "RECT2",    "RECT3",    "RECT4",  "CRC1",    "CRC2",
    "CRC3",    "CRC4",    "FILLDRAW", "FILLPOLY", "SPRAY1", "SPRAY2",  "FILL1",
    "FILL2",   "TEXT",    "CUT1",     "CUT2",     "CUT3",   "CUT4",    "CUT5",
    "CLONE",   "GETCOL",  "CHCOL",    "GRID",     "UNDO",   "CLEAR"};

inline PaintTool* ToolFor(const QString& icon) {
    return kIcons.contains(icon) ? FakeTool(int(kIcons.indexOf(icon))) : nullptr;
}

// Stands in for the registry's resolver: every entry has a tool, built or not.
inline PaintTool* EntryTool(const ToolEntry& entry) {
    return ToolFor(entry.icon);
}

} // namespace palettetest
