#include "tools/PaintTool.h"

void PaintTool::ShowFeedback(ToolEngine&) {}
void PaintTool::Repaint(ToolEngine&) {}
void PaintTool::HideFeedback(ToolEngine&) {}
void PaintTool::Click(ToolEngine&) {}
void PaintTool::Activate(ToolEngine&) {}
void PaintTool::Deactivate(ToolEngine&, PaintTool*) {}
