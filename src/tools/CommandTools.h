#pragma once

#include "tools/PaintTool.h"

// The tools of the framework itself: the two image commands, the grid switch and the grid
// origin picker. The engine owns one of each.

// Swaps the image and the undo copy, so a second Undo redoes.
class UndoTool : public PaintTool {
public:
    UndoTool();
    void Activate(ToolEngine& engine) override;
};

// Fills the image with the background colour and makes it untitled.
class ClearTool : public PaintTool {
public:
    ClearTool();
    void Activate(ToolEngine& engine) override;
};

// Grid snapping on or off; the state is phaseCount, as for every Toggle tool.
class GridTool : public PaintTool {
public:
    GridTool();
    void Activate(ToolEngine& engine) override;
    void Deactivate(ToolEngine& engine, PaintTool* next) override;
};

// The next press sets the grid origin, then the previous tool returns.
class GridOriginTool : public PaintTool {
public:
    GridOriginTool();
    void ShowFeedback(ToolEngine& engine) override;
    void HideFeedback(ToolEngine& engine) override;
    void Click(ToolEngine& engine) override;
    void Activate(ToolEngine& engine) override;
};
