#pragma once

#include "raster/Buffer.h"
#include "tools/PaintTool.h"
#include "tools/TextBlock.h"

#include <QString>

#include <cstdint>

// Write Text (TEXTBAR: 0 font, 1 size, 2..6 bold, italic, underline, shadow, outline, 7 shadow
// colour, 8 shadow depth, 9 and 10 horizontal and vertical scale in percent). A click places a
// block, typed characters appear at once followed by the caret "|", and until Enter commits the
// line the block can be moved by clicking elsewhere.
//
// The block is drawn into the picture over a private copy of what lies under it (the save-under),
// so erasing it never reaches into lines committed before; the undo copy stays the picture as it
// was before the first block. Every change of the number of lines moves the anchor (the
// bottom-left corner) by whole line heights, so the block's top never creeps.
class TextTool final : public PaintTool, public ColourFollower {
public:
    enum Style : uint32_t { Bold = 1, Italic = 2, Underline = 4, Shadow = 8, Outline = 16 };
    static constexpr int PasteLimit = 254;
    static constexpr int MaxSize = 500;

    TextTool();

    // Settings, written into the bar on activation and read back on leaving.
    int fontIndex = -1; // -1: the list's current entry
    int size = 16;
    uint32_t styles = 0;
    uint32_t shadowColour = 0x808080;
    int depth = 2;
    double scaleX = 100, scaleY = 100;

    // Block state: the text always ends with the caret; no block while the anchor's x is -1.
    QString text = QStringLiteral("|");
    Pair anchor{-1, -1};
    bool Typing() const { return anchor.x != -1; }

    void Click(ToolContext& context) override;
    void Activate(ToolContext& context) override;
    void Deactivate(ToolContext& context, PaintTool* next) override;
    void ColoursChanged(ToolContext& context) override;

    // A bar control, Ctrl+T or the AntiAlias preview changed the font: the block is drawn again.
    void FontChanged(ToolContext& context);
    // A key while typing: a command (Backspace 8, Enter 13, Shift+Enter, Shift+Insert, Ctrl+Insert,
    // Shift+Delete, Ctrl+Delete, and Ctrl+V, Ctrl+C, Ctrl+X) or the characters it typed. True when
    // used.
    bool Key(ToolContext& context, int code, const QString& typed);
    // One of the command keys above that take Ctrl or Shift (the window's menu shortcuts must
    // leave them to the text while typing).
    static bool IsCommand(int code);

    TextStyle CurrentStyle(ToolContext& context) const;
    const TextLayout& Layout() const { return layout_; }

private:
    void ReadBar(ToolContext& context);
    void DrawBlock(ToolContext& context, bool commit);
    void EraseBlock(ToolContext& context);
    // Runs edit on the text without its caret, then moves the anchor by the lines it added.
    template <typename Edit> void EditText(ToolContext& context, Edit edit);
    void Commit(ToolContext& context);
    void Paste(ToolContext& context);

    bool active_ = false;
    bool editingShadow_ = false;
    TextLayout layout_;
    Buffer saveUnder_;
    Rect savedAt_;
    const uint32_t* savedPixels_ = nullptr; // the picture the save-under belongs to
};
