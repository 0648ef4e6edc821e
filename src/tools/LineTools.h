#pragma once

#include "raster/Geometry.h"
#include "tools/Figures.h"
#include "tools/PaintTool.h"

class FigureSink;
class ToolContext;

// The three values of LINEBAR and CURVEBAR, as a line or curve tool keeps them.
struct StrokeSettings : figure::Stroke {
    // Bar index 0 mode, 1 value, 2 arrowhead size.
    void ReadBar(ToolContext& context);
    void ShowInBar(ToolContext& context) const;
    // Every change of the three controls moves the rubber band along.
    static void AttachBarHandlers(ToolContext& context);
};

// What lines and curves share: the bar's three values, kept by the tool while another is
// current, and a rubber band drawn in the preview colour that hiding draws again.
class BarStrokeTool : public PaintTool {
public:
    StrokeSettings settings;

    void HideFeedback(ToolContext& context) override;
    void Activate(ToolContext& context) override;
    void Deactivate(ToolContext& context, PaintTool* next) override;
    // The next stroke starts where this one ended.
    virtual bool KeepsGoing() const { return continuous_; }

protected:
    BarStrokeTool(bool continuous, const char* startStatus);
    // The figure as it stands with its end at p, traced into sink: the rubber band at the
    // position the feedback was shown at (so hiding draws the same figure), the final strokes
    // at the pressed position.
    virtual void Trace(ToolContext& context, FigureSink& sink, Pair p) = 0;
    // The rubber band: the figure in the preview colour at the shown position.
    void RubberBand(ToolContext& context);
    // The final strokes at the pressed position with the pressed button's colour; one change.
    void Stamp(ToolContext& context);

private:
    bool continuous_;
    const char* startStatus_;
};

// Single and Continuous Line: press at the start, release or press again at the end.
class LineTool : public BarStrokeTool {
public:
    explicit LineTool(bool continuous);

    Pair first{0, 0};

    void ShowFeedback(ToolContext& context) override;
    void Click(ToolContext& context) override;

private:
    void Trace(ToolContext& context, FigureSink& sink, Pair p) override;
};
