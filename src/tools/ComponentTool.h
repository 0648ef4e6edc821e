#pragma once

#include "raster/Geometry.h"
#include "tools/FreehandTools.h"
#include "tools/PaintTool.h"

#include <functional>

class Buffer;

// What the component tools ask of the program: starting and ending the component's session,
// and the two things the picture sends it (a click, a brush stamp). Unset hooks are skipped.
struct ComponentToolHooks {
    // The tool became current (brush: used as a drawing mode) / stops being current.
    std::function<void(int component, bool brush)> started;
    std::function<void(int component)> ended;
    // A press on the picture while the component runs as an image-wide tool.
    std::function<void(Pair image, Pair size, bool right)> click;
    // One stamp of the brush whose top-left lands at `at`.
    std::function<void(const Buffer& brush, Pair at)> stamp;
    // The colour-change notice: the dialog's preview shows the new colours.
    std::function<void()> coloursChanged;
};

// A component picked from its menu entry: an image-wide tool whose dialog does the work. It
// stays current through presses on the picture, each of which is a click for the component, and
// leaves like any OneShot tool when the component ends.
class ComponentImageTool : public PaintTool, public ColourFollower {
public:
    ComponentImageTool(int component, const ComponentToolHooks& hooks);

    const int component;

    void Click(ToolContext& context) override;
    void Activate(ToolContext& context) override;
    void Deactivate(ToolContext& context, PaintTool* next) override;
    void ColoursChanged(ToolContext& context) override;

private:
    const ComponentToolHooks& hooks_;
};

// A component picked from the palette: the component is the brush. The stroke follows the
// pointer as Continuous Freehand does; every stamp runs the component over the pixels under the
// brush instead of painting it.
class ComponentBrushTool : public FreehandTool {
public:
    ComponentBrushTool(int component, const ComponentToolHooks& hooks);

    const int component;

    void Activate(ToolContext& context) override;
    void Deactivate(ToolContext& context, PaintTool* next) override;
    bool DrawSegment(ToolContext& context, Pair a, Pair b) override;

private:
    const ComponentToolHooks& hooks_;
    double phase_ = 1; // the stamp walk's phase, so strokes of several segments stay even
};
