#pragma once

#include "raster/Buffer.h"
#include "raster/Geometry.h"

#include <QString>

#include <cstdint>

// The grid of the browser window: four columns of 140 x 120 cells, each a 120 x 90 thumbnail
// area above a 120 x 20 caption.
namespace browse {

inline constexpr int Columns = 4;
inline constexpr int CellWidth = 140;
inline constexpr int CellHeight = 120;
inline constexpr int ThumbWidth = 120;
inline constexpr int ThumbHeight = 90;
inline constexpr int CaptionTop = 100;
inline constexpr int CaptionHeight = 20;
inline constexpr int Margin = 4;
// The panel top is this many pixels per scroll-bar step.
inline constexpr int ScrollUnit = 4;
// Fewest display cells; more are made when the window shows more.
inline constexpr int MinCells = 20;

// A picture of width x height scaled by min(120 / width, 90 / height), each side rounded and at
// least 1. Sizes below 1 are taken as 1.
Pair ThumbnailSize(int width, int height);

// Top-left corner of entry k's thumbnail area and of its caption, in panel coordinates.
Pair ThumbOrigin(int k);
Pair CaptionOrigin(int k);
// Where a thumbnail of size sits: centred in its entry's 120 x 90 area.
Pair CentredThumb(int k, Pair size);
// Height of the scrolling panel for count entries.
int PanelHeight(int count);

// Entries [first, last] are (partly) visible when the panel top is top (0 or below) in a view
// of viewHeight pixels. last may pass the end of the list.
struct Range {
    int first = 0;
    int last = -1;
    int Size() const { return last >= first ? last - first + 1 : 0; }
    bool operator==(const Range&) const = default;
};
Range VisibleRange(int top, int viewHeight);

// (size + 1023) div 1024, for any file size.
int64_t KBytes(int64_t fileSize);
// "W x H Pixels\r\nN KBytes" with the two words given (translated by the caller).
QString FileCaption(Pair imageSize, int64_t fileSize, const QString& pixels, const QString& kbytes);

// The 32 x 28 folder picture (parent: the parent-folder one, with an arrow).
Buffer FolderPicture(bool parent);
// A folder picture as its cell shows it: scaled by 3.2142856 each way, truncated, at least 1.
Buffer FolderThumbnail(bool parent);

} // namespace browse
