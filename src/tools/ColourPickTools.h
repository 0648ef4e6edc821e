#pragma once

#include "tools/PaintTool.h"

// Get Color and Change Color. Both show the colour under the pointer in status panel 3 as
// "[R,G,B]"; the left button works with the drawing colour, the right with the background one.
class ColourPickTool : public PaintTool {
public:
    void ShowFeedback(ToolContext& context) override;

protected:
    explicit ColourPickTool(const char* status) : status_(status) {}
    void ShowStatus(ToolContext& context);

private:
    const char* status_;
};

// Get Color: the pixel under the pointer (colour bits only) becomes a swatch colour; then the
// previous tool is current again.
class GetColourTool final : public ColourPickTool {
public:
    GetColourTool();
    void Click(ToolContext& context) override;
    void Activate(ToolContext& context) override;
};

// Change Color (CHBAR: 0 tolerance, 0..765): every pixel of the work buffer within the tolerance
// of the pressed pixel's colour becomes the swatch colour, wherever it lies.
class ChangeColourTool final : public ColourPickTool {
public:
    ChangeColourTool();

    int tolerance = 0;

    void Click(ToolContext& context) override;
    void Activate(ToolContext& context) override;
    void Deactivate(ToolContext& context, PaintTool* next) override;
};
