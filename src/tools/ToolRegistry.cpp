#include "tools/ToolRegistry.h"

#include "tools/StandardTools.h"
#include "tools/ToolEngine.h"

#include <array>

namespace {

template <size_t I> PaintTool* Brush(const ToolObjects& o) {
    return o.standard ? &o.standard->brushes[I] : nullptr;
}
template <auto Member> PaintTool* Standard(const ToolObjects& o) {
    return o.standard ? &(o.standard->*Member) : nullptr;
}
template <auto Member> PaintTool* Engine(const ToolObjects& o) {
    return o.engine ? &(o.engine->*Member) : nullptr;
}

constexpr auto T = PaletteButtonGroup::Tools;
constexpr int Shift = KeyMod::Shift;
constexpr int Ctrl = KeyMod::Ctrl;
constexpr std::nullopt_t NoSettings = std::nullopt;
constexpr PaintTool* (*NotBuilt)(const ToolObjects&) = nullptr;

constexpr ToolSettings kBrush{2000};
constexpr ToolSettings kFreehand{2100};
constexpr ToolSettings kLine{2200, "LINEBAR"};
constexpr ToolSettings kCurve{2300, "CURVEBAR"};
constexpr ToolSettings kBox{2400};
constexpr ToolSettings kCircle{2500, "CIRCLEBAR"};
constexpr ToolSettings kEllipse{2500, "ELLIPSEBAR"};
constexpr ToolSettings kFilledEllipse{2500};
constexpr ToolSettings kFilledShape{2600};
constexpr ToolSettings kSolidFill{2800, "SFILLBAR", ToolCursor::Fill};
constexpr ToolSettings kPatternFill{2800, "PFILLBAR", ToolCursor::Fill};
constexpr ToolSettings kCut{3000};
constexpr ToolSettings kCutPredefined{3000, "CUTBAR"};
constexpr ToolSettings kCutWand{3000, "WANDBAR", ToolCursor::Wand};
constexpr ToolSettings kSpray{2900, "SPRAYBAR", ToolCursor::Spray};
constexpr ToolSettings kAirbrush{2900, "AIRBRUSHBAR", ToolCursor::Airbrush};
constexpr ToolSettings kText{3100, "TEXTBAR"};
constexpr ToolSettings kClone{2700, "CLONEBAR"};
constexpr ToolSettings kGetColour{3200, nullptr, ToolCursor::Pipette};
constexpr ToolSettings kChangeColour{3300, "CHBAR", ToolCursor::Pipette};

// icon, hint, per row, key, button group, settings, tool
constexpr std::array<ToolEntry, 39> kToolGroups = {{
    {"BRUSH1", 0, 4, 0, T, kBrush, Brush<0>},
    {"BRUSH11", 34, 0, 0, T, kBrush, Brush<1>},
    {"BRUSH12", 35, 0, 0, T, kBrush, Brush<2>},
    {"BRUSH13", 36, 0, 0, T, kBrush, Brush<3>},
    {"BRUSH2", 1, 0, 0, T, kBrush, Brush<4>},
    {"BRUSH21", 37, 0, 0, T, kBrush, Brush<5>},
    {"BRUSH22", 38, 0, 0, T, kBrush, Brush<6>},
    {"BRUSH23", 39, 0, 0, T, kBrush, Brush<7>},
    {"PEN1", 2, 4, 'P', T, kFreehand, Standard<&StandardTools::continuousFreehand>},
    {"PEN2", 3, 0, 'P', T, kFreehand, Standard<&StandardTools::dottedFreehand>},
    {"PEN3", 4, 0, 'P', T, kFreehand, Standard<&StandardTools::singleFreehand>},
    {"LINE1", 5, 4, 'L', T, kLine, Standard<&StandardTools::singleLine>},
    {"LINE2", 6, 0, 'L', T, kLine, Standard<&StandardTools::continuousLine>},
    {"SPLINE1", 7, 4, 'U', T, kCurve, Standard<&StandardTools::singleCurve>},
    {"SPLINE2", 8, 0, 'U', T, kCurve, Standard<&StandardTools::continuousCurve>},
    {"RECT1", 9, 4, 'R', T, kBox, Standard<&StandardTools::filledRectangle>},
    {"RECT2", 10, 0, 'R', T, kBox, Standard<&StandardTools::rectangle>},
    {"RECT3", 11, 0, 'R', T, kBox, Standard<&StandardTools::filledSquare>},
    {"RECT4", 12, 0, 'R', T, kBox, Standard<&StandardTools::square>},
    {"CRC1", 13, 4, 'C', T, kCircle, Standard<&StandardTools::circle>},
    {"CRC2", 14, 0, 'C', T, kFilledEllipse, Standard<&StandardTools::filledCircle>},
    {"CRC3", 15, 0, 'C', T, kEllipse, Standard<&StandardTools::ellipse>},
    {"CRC4", 16, 0, 'C', T, kFilledEllipse, Standard<&StandardTools::filledEllipse>},
    {"FILLDRAW", 17, 4, 'D', T, kFilledShape, Standard<&StandardTools::filledShape>},
    {"FILLPOLY", 18, 0, 'D', T, kFilledShape, Standard<&StandardTools::filledPolygon>},
    {"SPRAY1", 21, 4, 'S', T, kSpray, Standard<&StandardTools::spray>},
    {"SPRAY2", 22, 0, 'S', T, kAirbrush, Standard<&StandardTools::airbrush>},
    {"FILL1", 19, 4, 'F', T, kSolidFill, Standard<&StandardTools::solidFill>},
    {"FILL2", 20, 0, 'F', T, kPatternFill, Standard<&StandardTools::patternFill>},
    {"TEXT", 28, 4, 'T', T, kText, Standard<&StandardTools::writeText>},
    {"CUT1", 23, 5, 'B', T, kCut, Standard<&StandardTools::cutRectangle>},
    {"CUT2", 24, 0, 'B', T, kCutPredefined, Standard<&StandardTools::cutPredefined>},
    {"CUT3", 25, 0, 'B', T, kCut, Standard<&StandardTools::cutFreehand>},
    {"CUT4", 26, 0, 'B', T, kCut, Standard<&StandardTools::cutPolygon>},
    {"CUT5", 27, 0, 'B', T, kCutWand, Standard<&StandardTools::cutWand>},
    {"CLONE", 40, 4, 'O', T, kClone, Standard<&StandardTools::clone>},
    {"GETCOL", 29, 4, 'G', T, kGetColour, Standard<&StandardTools::getColour>},
    {"CHCOL", 30, 4, 'H', T, kChangeColour, Standard<&StandardTools::changeColour>},
    {"GRID", 31, 4, Shift + '3', PaletteButtonGroup::Grid, NoSettings,
     Engine<&ToolEngine::gridTool>},
}};

constexpr std::array<ToolEntry, 2> kCommands = {{
    {"UNDO", 32, 4, Ctrl + 'Z', PaletteButtonGroup::Command, NoSettings,
     Engine<&ToolEngine::undoTool>},
    {"CLEAR", 33, 4, Ctrl + 'C', PaletteButtonGroup::Command, NoSettings,
     Engine<&ToolEngine::clearTool>},
}};

} // namespace

namespace toolregistry {

std::span<const ToolEntry> ToolGroups() {
    return kToolGroups;
}

std::span<const ToolEntry> Commands() {
    return kCommands;
}

ToolResolver ResolverFor(ToolObjects objects) {
    return [objects](const ToolEntry& entry) { return entry.Resolve(objects); };
}

PaintTool* BrushAlternate(const ToolObjects& objects) {
    return objects.standard ? &objects.standard->transform.brushResize : nullptr;
}

void ApplySettings(const ToolObjects& objects) {
    for (std::span<const ToolEntry> part : {ToolGroups(), Commands()})
        for (const ToolEntry& entry : part) {
            PaintTool* tool = entry.Resolve(objects);
            if (!tool || !entry.settings) continue;
            tool->helpContext = entry.settings->helpContext;
            tool->optionBar = entry.settings->optionBar
                                  ? QString::fromLatin1(entry.settings->optionBar)
                                  : QString();
            tool->cursor = entry.settings->cursor;
        }
}

} // namespace toolregistry
