#include "tools/ToolIcons.h"

#include "tools/ToolIconArt.h"

#include <array>

namespace {

using Family = const std::vector<toolicons::IconEntry>& (*)();

// In palette order, so that ToolIconNames() lists the icons as the palette shows them.
constexpr std::array<Family, 12> kFamilies = {
    toolicons::BrushIcons, toolicons::FreehandIcons, toolicons::LineIcons,
    toolicons::CurveIcons, toolicons::ShapeIcons,    toolicons::SprayIcons,
    toolicons::FillIcons,  toolicons::TextIcons,     toolicons::CutIcons,
    toolicons::CloneIcons, toolicons::ColourIcons,   toolicons::CommandIcons};

} // namespace

QStringList ToolIconNames() {
    QStringList names;
    for (Family family : kFamilies)
        for (const toolicons::IconEntry& e : family()) names << e.name;
    return names;
}

QImage ToolIcon(const QString& name) {
    for (Family family : kFamilies)
        for (const toolicons::IconEntry& e : family())
            if (name == e.name) return toolicons::Paint(ToolIconSize, e.draw);
    return {};
}
