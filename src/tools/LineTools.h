#pragma once

#include "raster/Geometry.h"
#include "tools/PaintTool.h"

#include <array>

class Buffer;
class ToolEngine;

// The three values of LINEBAR and CURVEBAR, as a line or curve tool keeps them.
struct StrokeSettings {
    int arrow = 0;   // arrowhead size index, 0 none
    int mode = 0;    // spacing mode
    int value = 2;   // spacing, or number of stamps

    // Bar index 0 mode, 1 value, 2 arrowhead size.
    void ReadBar(ToolEngine& engine);
    void ShowInBar(ToolEngine& engine) const;
    // Every change of the three controls moves the rubber band along.
    static void AttachBarHandlers(ToolEngine& engine);
};

namespace stroke {
// Stamps the arrowheads at e for a stroke from s (spacing 1, phase 1) and invalidates them.
void StampArrows(ToolEngine& engine, Buffer& work, Pair s, Pair e, int arrow);
// The same strokes as preview-colour lines.
void PreviewArrows(ToolEngine& engine, Buffer& image, Pair s, Pair e, int arrow);
} // namespace stroke

// Single and Continuous Line: press at the start, release or press again at the end.
class LineTool : public PaintTool {
public:
    explicit LineTool(bool continuous);

    Pair first{0, 0};
    StrokeSettings settings;

    void ShowFeedback(ToolEngine& engine) override;
    void HideFeedback(ToolEngine& engine) override;
    void Click(ToolEngine& engine) override;
    void Activate(ToolEngine& engine) override;
    void Deactivate(ToolEngine& engine, PaintTool* next) override;
    // The next line starts where this one ended.
    virtual bool KeepsGoing() const { return continuous_; }

private:
    void RubberBand(ToolEngine& engine);
    bool continuous_;
};
