#pragma once

#include "tools/LineTools.h"

// Single and Continuous Curve: start, end, then the bend point the curve passes through.
class CurveTool : public PaintTool {
public:
    explicit CurveTool(bool continuous);

    Pair start{0, 0};
    Pair end{0, 0};
    StrokeSettings settings;

    void ShowFeedback(ToolEngine& engine) override;
    void HideFeedback(ToolEngine& engine) override;
    void Click(ToolEngine& engine) override;
    void Activate(ToolEngine& engine) override;
    void Deactivate(ToolEngine& engine, PaintTool* next) override;
    virtual bool KeepsGoing() const { return continuous_; }

private:
    void RubberBand(ToolEngine& engine);
    bool continuous_;
};
