#pragma once

#include <QString>

#include <cstdint>

class ToolContext;

// Cursors registered by the palette; the tools only name them.
namespace ToolCursor {
inline constexpr int32_t Cross = 0;
inline constexpr int32_t CrossOk = 1; // closing a polygon
inline constexpr int32_t Fill = 2;
inline constexpr int32_t Wand = 3;
inline constexpr int32_t Pipette = 4;
inline constexpr int32_t Spray = 5;
inline constexpr int32_t Airbrush = 6;
inline constexpr int32_t Rotate = 7; // turning the brush
} // namespace ToolCursor

// The phases of a tool's action. A press starts it from Idle; a release within the drag time
// leaves Placed (the next press or the feedback completes the step); a held press is Held until
// its release; three-step tools place their second point in Second.
namespace ToolPhase {
inline constexpr int Idle = 0, Placed = 1, Second = 2, Held = 3;
} // namespace ToolPhase

// Base of every tool. The common fields come first and in this order because every tool family
// extends the record; the virtual operations keep their slot order for the same reason. All
// operations are empty here.
class PaintTool {
public:
    enum Flag : uint16_t {
        OneShot = 1,   // after one complete action the previous tool becomes current again
        Immediate = 2, // a command run when selected; never current
        Toggle = 4,    // selecting it flips its state (kept in phaseCount)
    };

    uint16_t flags = 0;
    bool keepsUndo = true;  // a press that starts an action takes the undo copy first
    bool snapToGrid = true; // positions snap while the grid is on
    int32_t helpContext = 100;
    QString optionBar;      // bar key, empty for none
    int32_t phaseCount = 2; // 1, 2 or 3; a Toggle tool's on/off state
    int32_t cursor = ToolCursor::Cross;
    QString statusText; // translated, set by Activate

    PaintTool() = default;
    PaintTool(const PaintTool&) = delete;
    PaintTool& operator=(const PaintTool&) = delete;
    virtual ~PaintTool() = default;

    bool Is(Flag f) const { return (flags & f) != 0; }

    virtual void ShowFeedback(ToolContext& context);
    virtual void Repaint(ToolContext& context);
    virtual void HideFeedback(ToolContext& context);
    virtual void Click(ToolContext& context);
    virtual void Activate(ToolContext& context);
    virtual void Deactivate(ToolContext& context, PaintTool* next);
    // Family operations follow in the derived classes of each tool family.
};

// A tool that works on the 50 ms activity ticks while it is current: the shell's activity hook
// hands each tick to the current tool when it is one of these.
class TickingTool {
public:
    virtual void Tick(ToolContext& context) = 0;

protected:
    ~TickingTool() = default;
};

// A tool that shows the swatch colours in what it has placed: the colour-change notice hands it
// the change instead of rebuilding the stamp brush.
class ColourFollower {
public:
    virtual void ColoursChanged(ToolContext& context) = 0;

protected:
    ~ColourFollower() = default;
};
