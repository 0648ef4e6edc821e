#pragma once

#include "tools/BrushDragTool.h"
#include "tools/ImagePreviewTool.h"

// Image > Stretch / Mirror (STRETCHBAR) and Image > Rotate (ROTATEBAR): the whole picture
// rebuilt from the undo copy, previewed and applied through ImagePreviewTool.

class StretchImageTool : public ImagePreviewTool {
public:
    // STRETCHBAR controls.
    enum Control {
        WidthPixels,
        HeightPixels,
        WidthPercent,
        HeightPercent,
        Keep,
        PreviewButton,
        ApplyButton
    };
    const ReshapeSettings* settings = nullptr;
    bool keepProportions = true;

    // The picture rebuilt at the signed size (a negative side mirrors; a side of 0 counts as 1),
    // cleared to fill first; false when it cannot be allocated.
    static bool Stretched(const Buffer& source, Pair size, bool smooth, uint32_t fill, Buffer& out);

protected:
    Settings Read(ToolContext& context) override;
    bool Render(ToolContext& context, const Buffer& source, const Settings& s,
                Buffer& out) override;
    void Started(ToolContext& context) override;

private:
    // A field changed: the others follow (percent from pixels and back, and the other axis's
    // percent under keep proportions).
    void Linked(ToolContext& context, Control changed);
    Pair original_{1, 1};
};

class RotateImageTool : public ImagePreviewTool {
public:
    enum Control { KeepSize, Angle, PreviewButton, ApplyButton };
    const ReshapeSettings* settings = nullptr;
    bool keepSize = false;
    double angle = 0; // degrees

    // The picture turned by degrees about its centre into its turned size (or its own size with
    // keepSize), the uncovered corners in fill; false when it cannot be allocated.
    static bool Rotated(const Buffer& source, double degrees, bool keepSize, bool smooth,
                        uint32_t fill, Buffer& out);

protected:
    Settings Read(ToolContext& context) override;
    bool Render(ToolContext& context, const Buffer& source, const Settings& s,
                Buffer& out) override;
    void Started(ToolContext& context) override;
};
