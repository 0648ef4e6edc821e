#include "tools/PaintTool.h"

void PaintTool::ShowFeedback(ToolContext&) {}
void PaintTool::Repaint(ToolContext&) {}
void PaintTool::HideFeedback(ToolContext&) {}
void PaintTool::Click(ToolContext&) {}
void PaintTool::Activate(ToolContext&) {}
void PaintTool::Deactivate(ToolContext&, PaintTool*) {}
