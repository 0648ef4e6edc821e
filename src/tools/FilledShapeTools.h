#pragma once

#include "raster/Buffer.h"
#include "raster/Geometry.h"
#include "tools/OutlineFill.h"
#include "tools/PaintTool.h"

#include <cstdint>

class FillTool;

// What Filled Shape and Filled Polygon share: an outline filled by parity (OutlineFill) in a work
// buffer fixed at the outline's first press, so scrolling mid-shape neither splits the parity nor
// leaves marks where the apply step does not look; the current fill variant paints it; and
// feedback drawn into the whole image as exclusive-or lines, hidden at the place it was shown.
class OutlineFillTool : public PaintTool {
public:
    FillTool* fallbackFill = nullptr; // when the palette has no fill variant (StandardTools)

    void ShowFeedback(ToolContext& context) override;
    void HideFeedback(ToolContext& context) override;
    // Leaving with an outline open puts the picture back from the undo copy.
    void Deactivate(ToolContext& context, PaintTool* next) override;

    bool Open() const { return open_; }
    const OutlineFill& Outline() const { return outline_; }

protected:
    explicit OutlineFillTool(const char* status);
    // A new outline at p in the work buffer as it is now, in the pressed button's colour.
    void Begin(ToolContext& context, Pair p);
    void AddEdge(ToolContext& context, Pair to);
    // Closes the outline (or, single, marks only its first pixel) and hands the marks to Complete.
    void Finish(ToolContext& context, bool single);
    // What becomes of the marked pixels of area in region: painted by the current fill variant,
    // one change counted. The cut tools make a brush of them instead.
    virtual void Complete(ToolContext& context, Buffer& region, Rect area, uint32_t colour);
    QString Status(ToolContext& context) const;
    // The band while the outline is open; a single pixel at the pointer otherwise.
    virtual Pair BandStart(ToolContext& context) const;

    bool open_ = false;

private:
    void Band(ToolContext& context);

    const char* status_;
    OutlineFill outline_;
    Buffer region_; // a view of the image, fixed at Begin
    uint32_t colour_ = 0;
    bool bandShown_ = false;
    Pair bandA_, bandB_;
};

// Filled Shape: the outline follows the pointer while the button is held; the release closes
// and fills it. A quick click on the first point fills just that pixel.
class FilledShapeTool : public OutlineFillTool {
public:
    FilledShapeTool();

    void ShowFeedback(ToolContext& context) override;
    void Click(ToolContext& context) override;
    void Activate(ToolContext& context) override;

protected:
    explicit FilledShapeTool(const char* status) : OutlineFillTool(status) {}
};

// Filled Polygon: each click adds a corner; a click within 10 screen pixels of the first corner
// closes and fills it (the activity ticks show CROSSOK while the pointer is that close). Leaving
// the tool with a polygon open puts the picture back from the undo copy taken at its first corner.
class FilledPolygonTool : public OutlineFillTool, public TickingTool {
public:
    FilledPolygonTool();

    void ShowFeedback(ToolContext& context) override;
    void Click(ToolContext& context) override;
    void Activate(ToolContext& context) override;
    void Deactivate(ToolContext& context, PaintTool* next) override;
    void Tick(ToolContext& context) override;

protected:
    explicit FilledPolygonTool(const char* status);

private:
    Pair BandStart(ToolContext& context) const override;
    bool NearFirst(ToolContext& context) const;
};
