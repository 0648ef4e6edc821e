#pragma once

#include "tools/LineTools.h"

// Single and Continuous Curve: start, end, then the bend point the curve passes through.
class CurveTool : public BarStrokeTool {
public:
    explicit CurveTool(bool continuous);

    Pair start{0, 0};
    Pair end{0, 0};

    void ShowFeedback(ToolContext& context) override;
    void Click(ToolContext& context) override;

private:
    void Trace(ToolContext& context, FigureSink& sink, Pair p) override;
};
