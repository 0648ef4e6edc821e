#pragma once

#include "raster/Geometry.h"
#include "raster/TextFont.h"

#include <QString>
#include <QStringList>

#include <cstdint>

class Buffer;

// A block of text lines as the Write Text tool draws it: the text in the drawing colour, scaled
// separately across and down, with an optional drop shadow and an optional one-pixel outline in
// the background colour, anti-aliased by drawing at double size and scaling down.
struct TextStyle {
    TextFont font; // at drawing size: twice the chosen size with anti-aliasing
    bool shadow = false;
    bool outline = false;
    int depth = 2;       // shadow offset in pixels
    double scaleX = 100; // percent
    double scaleY = 100; // percent
    bool antiAlias = false;
    uint32_t draw = 0xFFFFFF, back = 0, shadowColour = 0x808080;

    // The factors from the font's pixels to the picture's.
    double Sx() const { return scaleX * 0.01 / (antiAlias ? 2 : 1); }
    double Sy() const { return scaleY * 0.01 / (antiAlias ? 2 : 1); }
    int Outline() const { return outline ? 1 : 0; }
    int Shadow() const { return shadow ? depth : 0; }
};

// The measured block: line height, width and height. It covers columns x .. x + width − 1 and
// rows y − height + 1 .. y for the bottom-left corner (x, y).
struct TextLayout {
    int lineHeight = 1, width = 1, height = 1;
    Rect At(Pair bottomLeft) const {
        return {bottomLeft.x, bottomLeft.y - height + 1, bottomLeft.x + width - 1, bottomLeft.y};
    }
};

namespace textblock {
// The block's lines are separated by CR LF.
inline QStringList Lines(const QString& text) {
    return text.split(QStringLiteral("\r\n"));
}
TextLayout Measure(const TextStyle& style, const QStringList& lines);
// Draws the lines from the block's top with its bottom-left corner at bottomLeft into target,
// never outside the block's rectangle. A line too large to render (more than MaxLinePixels in its
// unscaled cell) or scaled to nothing is left out.
void Draw(Buffer& target, const TextStyle& style, const QStringList& lines, Pair bottomLeft,
          const TextLayout& layout);
inline constexpr int64_t MaxLinePixels = int64_t(1) << 24;
// The fonts of the bar's font list, in its order: "Times New Roman" first, as the bar lists it
// whether installed or not, then the installed families.
QStringList FontNames();
} // namespace textblock
