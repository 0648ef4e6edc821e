#include "tools/Palette.h"

#include "tools/ToolRegistry.h"

#include <algorithm>

Palette::Palette(TranslateFn translate) : translate_(std::move(translate)) {}

QString KeyCodeName(int keyCode, const TranslateFn& translate) {
    auto tr = [&](const char* key) { return translate ? translate(key) : QString(key); };
    QString name;
    if (keyCode & KeyMod::Alt) name += tr("Alt") + "+";
    if (keyCode & KeyMod::Ctrl) name += tr("Ctrl") + "+";
    if (keyCode & KeyMod::Shift) name += tr("Shift") + "+";
    const int vk = keyCode & 0xFF;
    if (vk >= 0x70 && vk <= 0x87) // function keys share codes with lower-case letters
        name += "F" + QString::number(vk - 0x6F);
    else if (vk > 0x20 && vk < 0x7F)
        name += QChar(vk);
    return name;
}

QString Palette::MakeHint(const PaletteVariant& v) const {
    if (v.hintKey.isEmpty()) return {};
    QString hint = translate_ ? translate_(v.hintKey) : v.hintKey;
    if (v.key != 0) hint += " (" + KeyCodeName(v.key, translate_) + ")";
    return hint;
}

int Palette::RegisterVariant(const QString& icon, PaintTool* tool, int key,
                             PaletteButtonGroup buttonGroup, const QString& hintKey, int perRow,
                             int hintIndex, const QImage& iconImage) {
    PaletteVariant v;
    v.icon = icon;
    v.iconImage = iconImage;
    v.tool = tool;
    v.key = key;
    v.hintKey = hintKey;
    v.hintIndex = hintIndex;
    v.hint = MakeHint(v);
    const int index = int(variants_.size());
    variants_.push_back(std::move(v));
    // A continuation before any group has nowhere to go; it opens one of its own.
    if (perRow != 0 || groups_.empty()) {
        PaletteGroup g;
        g.first = g.current = index;
        g.perRow = std::max(1, perRow);
        g.key = key;
        g.buttonGroup = buttonGroup;
        groups_.push_back(g);
    }
    groups_.back().count++;
    return int(groups_.size()) - 1;
}

void Palette::RegisterAlternate(PaintTool* tool, int key) {
    if (groups_.empty()) return;
    groups_.back().alternate = tool;
    groups_.back().alternateKey = key;
}

void Palette::DisableLastGroup() {
    if (!groups_.empty()) groups_.back().enabled = false;
}

void Palette::Retranslate(TranslateFn translate) {
    translate_ = std::move(translate);
    for (PaletteVariant& v : variants_) v.hint = MakeHint(v);
    for (int g = 0; g < GroupCount(); ++g) Changed(g);
}

void Palette::DisableGroupsWithoutTools() {
    for (PaletteGroup& g : groups_) {
        bool any = false;
        for (int v = g.first; v < g.first + g.count; ++v) any = any || variants_[size_t(v)].tool;
        // An alternate alone keeps its key (Shift+B restores the brush before any cut tool
        // exists) but not the button, whose left click would select no tool.
        if (!any) g.enabled = false;
    }
}

QPoint Palette::ButtonPosition(int group) {
    return {(group % 2) * ButtonSize, (group / 2) * ButtonSize};
}

void Palette::Changed(int group) {
    if (changed_ && group >= 0 && group < GroupCount()) changed_(group);
}

bool Palette::Select(PaintTool* tool, int variant) {
    if (!tool) return false;
    if (select_) select_(tool, variant);
    return true;
}

bool Palette::ClickGroup(int group) {
    if (group < 0 || group >= GroupCount() || !Group(group).enabled) return false;
    const int v = Group(group).current;
    return Select(Variant(v).tool, v);
}

bool Palette::AlternateGroup(int group) {
    if (group < 0 || group >= GroupCount() || !Group(group).enabled) return false;
    return Select(Group(group).alternate, -1);
}

bool Palette::ChooseVariant(int group, int index) {
    if (group < 0 || group >= GroupCount()) return false;
    PaletteGroup& g = groups_[size_t(group)];
    if (!g.enabled || index < 0 || index >= g.count) return false;
    g.current = g.first + index;
    Changed(group);
    return Select(Variant(g.current).tool, g.current);
}

bool Palette::WantsPanel(int group) const {
    return group >= 0 && group < GroupCount() && Group(group).enabled && Group(group).count >= 2;
}

bool Palette::LookupKey(int keyCode, const PaintTool* currentTool, bool actionInProgress) {
    if (keyCode == 0) return false;
    for (int i = 0; i < GroupCount(); ++i) {
        PaletteGroup& g = groups_[size_t(i)];
        if (g.alternate && g.alternateKey == keyCode) {
            Select(g.alternate, -1);
            return true;
        }
        if (g.key != keyCode || !g.enabled) continue;
        if (currentTool && Variant(g.current).tool == currentTool && !actionInProgress) {
            g.current = g.first + (g.current - g.first + 1) % g.count;
            Changed(i);
        }
        Select(Variant(g.current).tool, g.current);
        return true;
    }
    return false;
}

int Palette::ShowTool(const PaintTool* tool, int variant) {
    if (!tool) return -1;
    int v = -1;
    if (variant >= 0 && variant < VariantCount() && Variant(variant).tool == tool) v = variant;
    for (int i = 0; v < 0 && i < VariantCount(); ++i)
        if (Variant(i).tool == tool) v = i;
    if (v < 0) return -1;
    int group = 0;
    while (group + 1 < GroupCount() && Group(group + 1).first <= v) ++group;
    groups_[size_t(group)].current = v;
    if (Group(group).buttonGroup == PaletteButtonGroup::Tools) {
        const int old = downGroup_;
        downGroup_ = group;
        if (old != group) Changed(old);
    }
    Changed(group);
    return group;
}

void Palette::SetGridDown(bool down) {
    gridDown_ = down;
    for (int g = 0; g < GroupCount(); ++g)
        if (Group(g).buttonGroup == PaletteButtonGroup::Grid) Changed(g);
}

IconPanelLayout Palette::LayoutPanel(int variantCount, int perRow, QPoint button,
                                     const QRect& screen) {
    IconPanelLayout layout;
    const int count = std::clamp(variantCount, 0, PanelButtons);
    perRow = std::max(1, perRow);
    const int columns = std::min(count, perRow);
    const int rows = (count + perRow - 1) / perRow;
    const int width = columns * PanelButtonSize + 2 * PanelMargin;
    const int height = rows * PanelButtonSize + 2 * PanelMargin;
    int left = button.x() + ButtonSize;
    if (button.x() + width > screen.x() + screen.width()) left = button.x() - width;
    layout.panel = QRect(left, button.y(), width, height);
    for (int i = 0; i < count; ++i)
        layout.buttons.emplace_back((i % perRow) * PanelButtonSize + PanelMargin,
                                    (i / perRow) * PanelButtonSize + PanelMargin);
    return layout;
}

const std::vector<QString>& PaletteHintTable() {
    static const std::vector<QString> table = {"Circular Brush",
                                               "Rectangular Brush",
                                               "Continuous Freehand",
                                               "Dotted Freehand",
                                               "Single Freehand",
                                               "Single Line",
                                               "Continuous Line",
                                               "Single Curve",
                                               "Continuous Curve",
                                               "Filled Rectangle",
                                               "Rectangle",
                                               "Filled Square",
                                               "Square",
                                               "Circle",
                                               "Filled Circle",
                                               "Ellipse",
                                               "Filled Ellipse",
                                               "Filled Shape",
                                               "Filled Polygon",
                                               "Solid Fill",
                                               "Pattern Fill",
                                               "Spray",
                                               "Airbrush",
                                               "Cut Rectangle",
                                               "Cut Predefined Rectangle",
                                               "Cut Freehand",
                                               "Cut Polygon",
                                               "Cut with Magic Wand",
                                               "Write Text",
                                               "Get Color",
                                               "Change Color",
                                               "Grid",
                                               "Undo Last Action",
                                               "Clear Image",
                                               "3x3",
                                               "11x11",
                                               "21x21",
                                               "3x3",
                                               "11x11",
                                               "21x21",
                                               "Clone"};
    return table;
}

namespace {

void AddEntry(Palette& palette, const PaletteTools& tools, const ToolEntry& e) {
    const auto& hints = PaletteHintTable();
    PaintTool* tool = tools.toolOf ? tools.toolOf(e) : nullptr;
    palette.RegisterVariant(e.icon, tool, e.key, e.buttonGroup, hints[size_t(e.hint)], e.perRow,
                            e.hint);
}

} // namespace

void RegisterStandardPalette(Palette& palette, const PaletteTools& tools) {
    RegisterToolGroups(palette, tools);
    RegisterComponentsAndCommands(palette, tools);
}

void RegisterToolGroups(Palette& palette, const PaletteTools& tools) {
    for (const ToolEntry& e : toolregistry::ToolGroups()) {
        AddEntry(palette, tools, e);
        const QString icon = e.icon;
        if (icon == "BRUSH23") palette.RegisterAlternate(tools.brushAlternate, 0);
        if (icon == "CUT5") palette.RegisterAlternate(tools.cutAlternate, KeyMod::Shift + 'B');
    }
}

void RegisterComponentsAndCommands(Palette& palette, const PaletteTools& tools) {
    int perRow = 8;
    for (const PaletteComponent& c : tools.components) {
        if (!c.tool) continue;
        palette.RegisterVariant({}, c.tool, 'I', PaletteButtonGroup::Tools, c.name, perRow, -1,
                                c.icon);
        perRow = 0;
    }
    if (perRow != 0) {
        palette.RegisterVariant("EMPTY", nullptr, 0, PaletteButtonGroup::Command, {}, 4);
        palette.DisableLastGroup();
    }
    for (const ToolEntry& e : toolregistry::Commands()) AddEntry(palette, tools, e);
}
