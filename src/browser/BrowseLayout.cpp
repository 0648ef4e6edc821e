#include "browser/BrowseLayout.h"

#include <algorithm>
#include <cmath>

namespace browse {

Pair ThumbnailSize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    const double s = std::min(double(ThumbWidth) / width, double(ThumbHeight) / height);
    // The smaller side of a thin picture rounds to 0; it still gets one row or column.
    const int w = int(std::clamp<long>(std::lround(width * s), 1, ThumbWidth));
    const int h = int(std::clamp<long>(std::lround(height * s), 1, ThumbHeight));
    return {w, h};
}

Pair ThumbOrigin(int k) {
    return {(k % Columns) * CellWidth + Margin, (k / Columns) * CellHeight + Margin};
}

Pair CaptionOrigin(int k) {
    return {(k % Columns) * CellWidth + Margin, (k / Columns) * CellHeight + CaptionTop};
}

Pair CentredThumb(int k, Pair size) {
    const Pair o = ThumbOrigin(k);
    return {o.x + (ThumbWidth - size.x) / 2, o.y + (ThumbHeight - size.y) / 2};
}

int PanelHeight(int count) {
    return (std::max(count, 0) + Columns - 1) / Columns * CellHeight;
}

Range VisibleRange(int top, int viewHeight) {
    const int shown = std::max(-top, 0);
    const int bottom = shown + viewHeight - 9;
    Range r;
    r.first = shown / CellHeight * Columns;
    r.last = bottom < shown ? r.first + Columns - 1 : bottom / CellHeight * Columns + Columns - 1;
    return r;
}

int64_t KBytes(int64_t fileSize) {
    return fileSize <= 0 ? 0 : (fileSize - 1) / 1024 + 1;
}

QString FileCaption(Pair imageSize, int64_t fileSize, const QString& pixels,
                    const QString& kbytes) {
    return QStringLiteral("%1 x %2 %3\r\n%4 %5")
        .arg(imageSize.x)
        .arg(imageSize.y)
        .arg(pixels)
        .arg(KBytes(fileSize))
        .arg(kbytes);
}

Buffer FolderPicture(bool parent) {
    constexpr uint32_t Back = 0xFFFFFF, Line = 0x000000, Body = 0xF0D060, Tab = 0xD8B040;
    Buffer b;
    b.Alloc({32, 28});
    b.Box({0, 0, 31, 27}, Back);
    // The tab, then the body with its outline.
    b.Box({2, 3, 13, 7}, Tab);
    b.Line({2, 3}, {13, 3}, Line);
    b.Line({2, 3}, {2, 7}, Line);
    b.Line({13, 3}, {15, 6}, Line);
    b.Box({1, 7, 30, 25}, Body);
    b.Line({1, 7}, {30, 7}, Line);
    b.Line({1, 25}, {30, 25}, Line);
    b.VLine(1, 7, 25, Line);
    b.VLine(30, 7, 25, Line);
    if (parent) {
        // An arrow pointing up and out.
        b.Box({15, 13, 16, 22}, Line);
        for (int i = 0; i < 5; ++i) b.Line({15 - i, 11 + i}, {16 + i, 11 + i}, Line);
    }
    return b;
}

Buffer FolderThumbnail(bool parent) {
    constexpr double Factor = 3.2142856;
    const Buffer src = FolderPicture(parent);
    const Pair size{std::max(1, int(src.Width() * Factor)),
                    std::max(1, int(src.Height() * Factor))};
    Buffer out;
    out.Alloc(size);
    out.Scale(src, size, {0, 0}, Pixel::CopyAll, false);
    return out;
}

} // namespace browse
