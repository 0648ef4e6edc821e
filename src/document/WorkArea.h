#pragma once

#include "document/Zoom.h"
#include "raster/Geometry.h"

class Buffer;

// The work buffer: the view of the current image into which tools paint. With Clipping on it is
// the part of the image visible in the scroll box, so tools cannot change what the user cannot
// see; with Clipping off the rectangle is unbounded and the whole image is drawable.

inline constexpr int UnboundedCoord = 2147483647;

// In image pixels, inclusive; scroll positions and client size in view pixels.
Rect WorkBufferRect(bool clipping, Pair scroll, Pair client, ZoomRatio r);

// Makes work a view onto image (sharing its pixels) over WorkBufferRect. False, with work left
// empty, when nothing of the image lies inside.
bool RefreshWorkBuffer(Buffer& work, Buffer& image, bool clipping, Pair scroll, Pair client,
                       ZoomRatio r);
