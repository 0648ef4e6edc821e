#include "tools/ToolIcons.h"

#include "tools/ToolIconArt.h"

#include <QHash>

#include <array>
#include <mutex>

namespace {

using Family = const std::vector<toolicons::IconEntry>& (*)();

// In palette order, so that ToolIconNames() lists the icons as the palette shows them.
constexpr std::array<Family, 12> kFamilies = {
    toolicons::BrushIcons, toolicons::FreehandIcons, toolicons::LineIcons,
    toolicons::CurveIcons, toolicons::ShapeIcons,    toolicons::SprayIcons,
    toolicons::FillIcons,  toolicons::TextIcons,     toolicons::CutIcons,
    toolicons::CloneIcons, toolicons::ColourIcons,   toolicons::CommandIcons};

// Painted icons by name: the palette shows them again at each rebuild.
std::mutex gCacheMutex;
QHash<QString, QImage> gCache;

} // namespace

QStringList ToolIconNames() {
    QStringList names;
    for (Family family : kFamilies)
        for (const toolicons::IconEntry& e : family()) names << e.name;
    return names;
}

QImage ToolIcon(const QString& name) {
    {
        const std::lock_guard lock(gCacheMutex);
        if (const auto it = gCache.constFind(name); it != gCache.cend()) return *it;
    }
    for (Family family : kFamilies)
        for (const toolicons::IconEntry& e : family())
            if (name == e.name) {
                const QImage image = toolicons::Paint(ToolIconSize, e.draw);
                const std::lock_guard lock(gCacheMutex);
                gCache.insert(name, image);
                return image;
            }
    return {};
}

void PaintToolIcons() {
    for (const QString& name : ToolIconNames()) ToolIcon(name);
}
