#include "tools/TextBlock.h"

#include "raster/Buffer.h"

#include <QFontDatabase>

#include <algorithm>
#include <cmath>

namespace {

// Sizes from doubles that a runaway scale may push past int.
int ToInt(double v) {
    return int(std::clamp(std::trunc(v), -1e9, 1e9));
}

} // namespace

namespace textblock {

QStringList FontNames() {
    const QString first = QStringLiteral("Times New Roman");
    QStringList names = QFontDatabase::families();
    names.removeAll(first);
    names.prepend(first);
    return names;
}

TextLayout Measure(const TextStyle& style, const QStringList& lines) {
    const double sx = style.Sx(), sy = style.Sy();
    const int o = style.Outline(), s = style.Shadow();
    const int xHeight = Buffer::GetTextExtent(style.font, QStringLiteral("X")).y;
    int widest = 1;
    for (const QString& line : lines)
        widest = std::max(widest, Buffer::GetTextExtent(style.font, line).x);
    TextLayout l;
    l.lineHeight = std::max(1, ToInt(2 * o + sy * xHeight + 1));
    l.width = std::max(1, ToInt(s + 2 * o + sx * widest + 0.5));
    l.height = std::max(1, ToInt(s + 1 + double(l.lineHeight) * double(lines.size())));
    return l;
}

void Draw(Buffer& target, const TextStyle& style, const QStringList& lines, Pair bottomLeft,
          const TextLayout& layout) {
    const Rect block = layout.At(bottomLeft).Intersect(target.Bounds());
    if (block.Empty()) return;
    Buffer work(target, block); // nothing lands outside the block
    const double sx = style.Sx(), sy = style.Sy();
    const int o = style.Outline(), s = style.Shadow();
    const bool smooth = style.antiAlias;
    const uint32_t draw = style.draw & 0xFFFFFF, back = style.back & 0xFFFFFF,
                   shade = style.shadowColour & 0xFFFFFF;
    const int a = bottomLeft.x;
    int b = bottomLeft.y - layout.height + 1;
    for (const QString& line : lines) {
        const Pair ext = Buffer::GetTextExtent(style.font, line);
        const Pair size{ToInt(ext.x * sx + 0.5), ToInt(ext.y * sy + 0.5)};
        Buffer cell;
        if (!line.isEmpty() && size.x > 0 && size.y > 0 &&
            int64_t(ext.x) * ext.y <= MaxLinePixels && cell.Alloc(ext)) {
            cell.Box(cell.Bounds(), Pixel::Transparent);
            cell.OutText(style.font, {0, 0}, line, draw);
            work.Scale(cell, size, {a + o, b + o}, Pixel::Transparent, false);
            uint32_t now = draw;
            if (s) {
                cell.ChColor(now, shade);
                now = shade;
                for (int i = 0; i <= 2 * o; ++i)
                    for (int j = 0; j <= 2 * o; ++j)
                        work.Scale(cell, size, {a + s + i, b + s + j}, Pixel::Transparent, smooth);
            }
            if (o) {
                cell.ChColor(now, back);
                now = back;
                for (int i = 0; i <= 2; ++i)
                    for (int j = 0; j <= 2; ++j)
                        work.Scale(cell, size, {a + i, b + j}, Pixel::Transparent, smooth);
            }
            cell.ChColor(now, draw);
            work.Scale(cell, size, {a + o, b + o}, Pixel::Transparent, smooth);
        }
        b += layout.lineHeight;
    }
}

} // namespace textblock
