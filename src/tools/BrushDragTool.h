#pragma once

#include "raster/Buffer.h"
#include "tools/BrushGhost.h"
#include "tools/PaintTool.h"

#include <functional>

class ToolContext;

// What the brush-reshaping tools read from the program beyond their ToolContext; the shell wires
// it, tests set it.
struct ReshapeSettings {
    std::function<bool()> antiAlias; // the AntiAlias preference: smooth resampling
    int* sprayRadius = nullptr;      // the spray and airbrush radius the spray-size tool drags

    bool Smooth() const { return antiAlias && antiAlias(); }
};

namespace reshape {
// Makes made the brush: backup, swap in, trim; the pointer moves so that made's top-left corner
// lands on topLeft (or stays where it is when topLeft is null). When made cannot become the brush
// the user hears "BrTooBig" and the brush and its backup stay as they were. A failed build
// (made empty) is reported the same way.
bool Install(ToolContext& context, Buffer& made, const Pair* topLeft);
// "BrTooBig", nothing else changed.
void TooBig(ToolContext& context);
} // namespace reshape

// A press on the brush, a drag with a live preview of the reshaped brush, the new brush on the
// release (or on the next press after a quick click). OneShot: the previous tool comes back.
class BrushDragTool : public PaintTool {
public:
    // Status keys shown when the tool is chosen and while the button is down.
    BrushDragTool(const char* idleKey, const char* dragKey);

    const ReshapeSettings* settings = nullptr;

    void ShowFeedback(ToolContext& context) override;
    void HideFeedback(ToolContext& context) override;
    void Click(ToolContext& context) override;
    void Activate(ToolContext& context) override;
    void Deactivate(ToolContext& context, PaintTool* next) override;

protected:
    bool Smooth() const { return settings && settings->Smooth(); }
    // Whether a press needs a brush to work on.
    virtual bool NeedsBrush() const { return true; }
    // The press: by default the brush's placed top-left corner is kept in left / top.
    virtual void Pressed(ToolContext& context);
    // The preview for the pointer's position, through the ghost.
    virtual void Preview(ToolContext& context) = 0;
    // The release: the new brush.
    virtual void Finish(ToolContext& context) = 0;

    Pair corner_{0, 0}; // the brush's placed top-left corner at the press
    Pair size_{0, 0};   // the brush's size at the press
    BrushGhost ghost_;

private:
    const char* idleKey_;
    const char* dragKey_;
};
