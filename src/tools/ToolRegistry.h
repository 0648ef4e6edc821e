#pragma once

// The palette's tools in one table: where each sits in the palette, its hint and hot key, the
// settings its tool object gets, and where that object lives. A new tool is its own files plus
// one entry here. Entries whose tool is not built yet stay in the table with no tool, so the
// palette keeps its shape and shows them disabled.

#include "tools/PaintTool.h"
#include "tools/Palette.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

class ToolEngine;
struct StandardTools;

// Where the entries find their tool objects. Either may be missing; its entries then have none.
struct ToolObjects {
    StandardTools* standard = nullptr;
    ToolEngine* engine = nullptr; // owns Undo, Clear and Grid
};

// What an entry gives its tool object when the object is built.
struct ToolSettings {
    int32_t helpContext = 100;
    const char* optionBar = nullptr; // bar key, nullptr for none
    int32_t cursor = ToolCursor::Cross;
};

struct ToolEntry {
    const char* icon;
    int hint;   // index in PaletteHintTable()
    int perRow; // variants per pop-up row, starting a group; 0 continues the group above
    int key;    // hot key (KeyMod added), 0 for none
    PaletteButtonGroup buttonGroup;
    // None: the object keeps what it sets itself (the engine's own commands) or is not built yet.
    std::optional<ToolSettings> settings;
    // nullptr: not built yet, deliberately disabled.
    PaintTool* (*tool)(const ToolObjects&);

    bool Built() const { return tool != nullptr; }
    PaintTool* Resolve(const ToolObjects& objects) const { return tool ? tool(objects) : nullptr; }
};

// The tool of an entry, as the palette asks for it; nullptr leaves the entry without one.
using ToolResolver = std::function<PaintTool*(const ToolEntry&)>;

namespace toolregistry {
// The tool groups in palette order; the components and the commands follow them.
std::span<const ToolEntry> ToolGroups();
// Undo and Clear, the palette's last buttons.
std::span<const ToolEntry> Commands();
// Entries resolved against these objects.
ToolResolver ResolverFor(ToolObjects objects);
// The Brushes group's right-button alternate: the brush-resize tool.
PaintTool* BrushAlternate(const ToolObjects& objects);
// Every entry that resolves to an object and has settings gives them to it.
void ApplySettings(const ToolObjects& objects);
} // namespace toolregistry
