#pragma once

#include "tools/PaintTool.h"

#include <vector>

class Buffer;
class ToolContext;

// The image-wide tools with an option bar and Preview / Apply buttons (Stretch / Mirror, Rotate,
// the filters to come) share this pattern:
// - Activate takes the undo copy of the picture and forgets what was shown or applied before.
// - Preview rebuilds the picture from the undo copy with the bar's current settings, unless the
//   picture already shows exactly those.
// - Apply does the same, then marks the result applied and counts one change, every time.
// - Leaving the tool puts back the last applied result (rebuilt if a later preview replaced it),
//   or the undo copy when nothing was applied. So the picture never keeps an unapplied preview
//   and an applied one is never thrown away.
// A derived tool says what its settings are (read from the bar) and how the picture is rebuilt.
// A press on the picture leaves the tool like any OneShot tool.
class ImagePreviewTool : public PaintTool {
public:
    using Settings = std::vector<double>;

    ImagePreviewTool();

    void Activate(ToolContext& context) override;
    void Deactivate(ToolContext& context, PaintTool* next) override;

    void Preview(ToolContext& context);
    void Apply(ToolContext& context);
    bool Applied() const { return applied_; }

protected:
    // The bar's settings now.
    virtual Settings Read(ToolContext& context) = 0;
    // Builds the new picture from source (the undo copy) into out (allocated here); false when
    // it cannot be allocated ("ImgBig" is then shown and the picture kept).
    virtual bool Render(ToolContext& context, const Buffer& source, const Settings& s,
                        Buffer& out) = 0;
    // After Activate's undo copy: fill the bar and hook up its controls.
    virtual void Started(ToolContext& context) = 0;
    // Binds the bar's preview and apply buttons.
    void BindButtons(ToolContext& context, int previewIndex, int applyIndex);

private:
    bool Show(ToolContext& context, const Settings& s);
    void PutBack(ToolContext& context);

    bool started_ = false; // the undo copy holds the picture as it was at activation
    bool shown_ = false;   // the picture shows shownSettings_ rather than the undo copy
    bool applied_ = false;
    Settings shownSettings_, appliedSettings_;
};
