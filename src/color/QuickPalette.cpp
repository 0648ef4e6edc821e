#include "color/QuickPalette.h"

#include <algorithm>

namespace {
constexpr uint32_t kColourBits = 0xFFFFFF;
}

int QuickPalette::AdjustCount(int wanted) {
    if (wanted > 24) return 32;
    if (wanted > 16) return 24;
    if (wanted > 12) return 16;
    if (wanted > 8) return 12;
    return 8;
}

int QuickPalette::SizeIndex(int wanted) {
    const int cells = AdjustCount(wanted);
    for (int i = 0; i < kSizeCount; ++i)
        if (kLayouts[i].cells == cells) return i;
    return 0;
}

const PaletteLayout& QuickPalette::Layout(int sizeIndex) {
    return kLayouts[std::clamp(sizeIndex, 0, kSizeCount - 1)];
}

CellRect QuickPalette::CellGeometry(const PaletteLayout& layout, int cell) {
    return {(cell % layout.columns) * layout.width, (cell / layout.columns) * layout.height,
            layout.width, layout.height};
}

QString QuickPalette::Hint(uint32_t colour) {
    return QStringLiteral("(%1,%2,%3)")
        .arg((colour >> 16) & 0xFF)
        .arg((colour >> 8) & 0xFF)
        .arg(colour & 0xFF);
}

QuickPalette::QuickPalette()
    : colours_(kDefaultColours.begin(), kDefaultColours.begin() + kLayouts[0].cells) {}

uint32_t QuickPalette::Colour(int cell) const {
    return cell >= 0 && cell < Count() ? colours_[size_t(cell)] : 0;
}

void QuickPalette::SetColour(int cell, uint32_t colour) {
    if (cell >= 0 && cell < Count()) colours_[size_t(cell)] = colour & kColourBits;
}

int QuickPalette::Rebuild(int wanted) {
    const int cells = AdjustCount(wanted);
    std::vector<uint32_t> next(kDefaultColours.begin(), kDefaultColours.begin() + cells);
    std::copy_n(colours_.begin(), std::min(cells, Count()), next.begin());
    colours_ = std::move(next);
    return SizeIndex(cells);
}

FastColorOutcome QuickPalette::SelectFastColor(int cell, CellButton button, bool modifier,
                                               std::array<uint32_t, 2>& swatches) {
    if (cell < 0 || cell >= Count() || button == CellButton::Middle) return {};
    const int swatch = button == CellButton::Left ? DrawSwatch : BackSwatch;
    if (modifier) {
        SetColour(cell, swatches[size_t(swatch)]);
        return {FastColorOutcome::CellTook, swatch};
    }
    swatches[size_t(swatch)] = colours_[size_t(cell)];
    return {FastColorOutcome::SwatchTook, swatch};
}
