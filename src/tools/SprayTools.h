#pragma once

#include "raster/Geometry.h"
#include "tools/PaintTool.h"
#include "tools/SeededRandom.h"

#include <cstdint>
#include <vector>

class Buffer;

// Spray and Airbrush (SPRAYBAR, AIRBRUSHBAR: 0 the spray-size button, 1 the radius shared by both
// through ProgramState::sprayRadius, 2 the tool's density or strength). Both paint for as long as
// the button is held inside the picture, once on each pointer move and on each 50 ms activity
// tick; the timer runs only while a press lasts.
class SprayFamilyTool : public PaintTool, public TickingTool {
public:
    static constexpr int MaxRadius = 16384;

    int value = 10;                // density (spray) or strength (airbrush)
    PaintTool* sizeTool = nullptr; // the spray-size tool the bar's first button selects

    void Activate(ToolContext& context) override;
    void Deactivate(ToolContext& context, PaintTool* next) override;
    void Tick(ToolContext& context) override;

    SeededRandom random;

protected:
    SprayFamilyTool(const char* status, int maxValue, int minValue);
    // One burst at the pointer.
    virtual void Paint(ToolContext& context) = 0;
    // The radius and value the bar holds now, kept by the tool.
    void ReadBar(ToolContext& context);
    int Radius(ToolContext& context) const;
    // The press that starts painting and the press or release that ends it.
    void Begin(ToolContext& context);
    void End(ToolContext& context);

    bool right_ = false; // the button of the press being painted

private:
    const char* status_;
    int minValue_, maxValue_;
};

class SprayTool final : public SprayFamilyTool {
public:
    SprayTool();

    void ShowFeedback(ToolContext& context) override;
    void HideFeedback(ToolContext& context) override;
    void Click(ToolContext& context) override;

private:
    void Paint(ToolContext& context) override;
};

class AirbrushTool final : public SprayFamilyTool {
public:
    AirbrushTool();

    void ShowFeedback(ToolContext& context) override;
    void HideFeedback(ToolContext& context) override;
    void Click(ToolContext& context) override;

private:
    void Paint(ToolContext& context) override;
    void TogglePointerPixel(ToolContext& context);

    bool pixelShown_ = false;
    Pair pixelAt_{0, 0};
};

namespace spray {
// The dab centres of one spray burst around centre: 2·density − 1 of them, at a triangular
// distance −a .. a − 2 (a = radius) in a random whole-degree direction.
std::vector<Pair> Dabs(SeededRandom& random, Pair centre, int radius, int density);
// Airbrush strength from the bar's 0..100.
inline int Strength(int value) {
    return int(value * 2.4 + 12);
}
// One airbrush burst: the disc of radius around centre inside work blends towards colour with
// random centre-weighted weights (0..256) for strength e; every row once.
void Airbrush(Buffer& work, Pair centre, int radius, int strength, uint32_t colour,
              SeededRandom& random);
} // namespace spray
