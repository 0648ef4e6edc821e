#pragma once

#include "tools/PaintTool.h"

// The tools of the framework itself: the two image commands, the grid switch and the grid
// origin picker. The engine owns one of each.

// Swaps the image and the undo copy, so a second Undo redoes.
class UndoTool : public PaintTool {
public:
    UndoTool();
    void Activate(ToolContext& context) override;
};

// Fills the image with the background colour and makes it untitled.
class ClearTool : public PaintTool {
public:
    ClearTool();
    void Activate(ToolContext& context) override;
};

// Grid snapping on or off; the state is phaseCount, as for every Toggle tool.
class GridTool : public PaintTool {
public:
    GridTool();
    void Activate(ToolContext& context) override;
    void Deactivate(ToolContext& context, PaintTool* next) override;
};

// The next press sets the grid origin, then the previous tool returns.
class GridOriginTool : public PaintTool {
public:
    GridOriginTool();
    void ShowFeedback(ToolContext& context) override;
    void HideFeedback(ToolContext& context) override;
    void Click(ToolContext& context) override;
    void Activate(ToolContext& context) override;
};
