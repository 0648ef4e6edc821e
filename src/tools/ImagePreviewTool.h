#pragma once

#include "document/PreviewSession.h"
#include "tools/PaintTool.h"

#include <vector>

class Buffer;
class ToolContext;

// The image-wide tools with an option bar and Preview / Apply buttons (Stretch / Mirror, Rotate)
// on the shared PreviewSession: Activate starts it (the undo copy), the bar's buttons preview
// and apply the bar's settings, leaving the tool leaves the session.
// A derived tool says what its settings are (read from the bar) and how the picture is rebuilt.
// A press on the picture leaves the tool like any OneShot tool.
class ImagePreviewTool : public PaintTool {
public:
    using Settings = PreviewSession::Settings;

    ImagePreviewTool();

    void Activate(ToolContext& context) override;
    void Deactivate(ToolContext& context, PaintTool* next) override;

    void Preview(ToolContext& context);
    void Apply(ToolContext& context);
    bool Applied() const { return session_.Applied(); }

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
    PreviewSession::Outcome Show(ToolContext& context, const Settings& s);
    PreviewSession::Run Shower(ToolContext& context);

    PreviewSession session_;
};
