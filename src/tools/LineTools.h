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

// What lines and curves share: the bar's three values, kept by the tool while another is
// current, and a rubber band drawn in the preview colour that hiding draws again.
class BarStrokeTool : public PaintTool {
public:
    StrokeSettings settings;

    void HideFeedback(ToolEngine& engine) override;
    void Activate(ToolEngine& engine) override;
    void Deactivate(ToolEngine& engine, PaintTool* next) override;
    // The next stroke starts where this one ended.
    virtual bool KeepsGoing() const { return continuous_; }

protected:
    BarStrokeTool(bool continuous, const char* startStatus);
    // Drawn at the position the feedback was shown at, so that hiding draws the same figure.
    virtual void RubberBand(ToolEngine& engine) = 0;

private:
    bool continuous_;
    const char* startStatus_;
};

// Single and Continuous Line: press at the start, release or press again at the end.
class LineTool : public BarStrokeTool {
public:
    explicit LineTool(bool continuous);

    Pair first{0, 0};

    void ShowFeedback(ToolEngine& engine) override;
    void Click(ToolEngine& engine) override;

private:
    void RubberBand(ToolEngine& engine) override;
};
