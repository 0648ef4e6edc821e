#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// The quick palette beside the colour swatches: 8, 12, 16, 24 or 32 colour cells (0xRRGGBB)
// laid out in a fixed 56-pixel-wide block. Headless; the widget only shows it.

struct PaletteLayout {
    int cells, columns, width, height;
};

struct CellRect {
    int left, top, width, height;
    friend bool operator==(const CellRect&, const CellRect&) = default;
};

// The two swatches a cell can be taken into or from; the values index swatch arrays.
enum Swatch : int { DrawSwatch = 0, BackSwatch = 1 };

enum class CellButton { Left, Right, Middle };

// What a press on a cell did.
struct FastColorOutcome {
    enum Kind { Nothing, SwatchTook, CellTook } kind = Nothing;
    int swatch = DrawSwatch;
};

class QuickPalette {
public:
    static constexpr int kSizeCount = 5;
    static constexpr int kMaxCells = 32;
    static constexpr PaletteLayout kLayouts[kSizeCount] = {
        {8, 2, 28, 28}, {12, 2, 28, 18}, {16, 4, 14, 28}, {24, 4, 14, 18}, {32, 4, 14, 14}};
    static constexpr std::array<uint32_t, kMaxCells> kDefaultColours = {
        0x000000, 0x00FFFF, 0x0000FF, 0xFF00FF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFFFFFF,
        0x888888, 0x008888, 0x000088, 0x880088, 0x008800, 0x888800, 0x880000, 0xAAAAAA,
        0xCCCCCC, 0x00CCCC, 0x0000CC, 0xCC00CC, 0x00CC00, 0xCCCC00, 0xCC0000, 0x444444,
        0xFF8800, 0x88FF00, 0x00FF88, 0x0088FF, 0xFF0088, 0x8800FF, 0xFF88FF, 0x88FFFF};

    // Any wanted number rounded up to the next size (8 at the least, 32 at the most).
    static int AdjustCount(int wanted);
    // The size index (the Palette preference) of an adjusted count.
    static int SizeIndex(int wanted);
    // Out-of-range indices are clamped to the table.
    static const PaletteLayout& Layout(int sizeIndex);
    static CellRect CellGeometry(const PaletteLayout& layout, int cell);
    static QString Hint(uint32_t colour);

    QuickPalette(); // the 8 default cells

    int Count() const { return int(colours_.size()); }
    const PaletteLayout& Layout() const { return Layout(SizeIndex(Count())); }
    CellRect CellGeometry(int cell) const { return CellGeometry(Layout(), cell); }
    // 0 outside the palette.
    uint32_t Colour(int cell) const;
    // Ignored outside the palette; only the colour bits are kept.
    void SetColour(int cell, uint32_t colour);
    const std::vector<uint32_t>& Colours() const { return colours_; }

    // The cells are made anew at the adjusted size: each keeps its colour where it existed,
    // new ones take their default colour. Returns the size index.
    int Rebuild(int wanted);

    // A press on a cell. Left addresses the drawing swatch, right the background one, middle
    // neither. With a modifier key the cell takes the swatch's colour, otherwise the swatch takes
    // the cell's. Presses outside the palette do nothing.
    FastColorOutcome SelectFastColor(int cell, CellButton button, bool modifier,
                                     std::array<uint32_t, 2>& swatches);

private:
    std::vector<uint32_t> colours_;
};
