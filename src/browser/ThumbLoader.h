#pragma once

#include "raster/Buffer.h"
#include "raster/Geometry.h"

#include <QString>

#include <cstdint>

// The browser worker's own picture loader: straight from the file coders to a thumbnail, with no
// document, no progress display and no message, so it may run on any thread. Formats whose
// decoder can scale (JPEG decodes at 1/2 to 1/8 in the decoder) are decoded near thumbnail size.
struct ThumbLoad {
    Buffer thumb;         // browse::ThumbnailSize of the picture
    Pair imageSize{0, 0}; // as the file's header gives it
};

struct ThumbLoadOptions {
    bool scaledDecode = true;       // false: always decode in full (the benchmark's comparison)
    uint32_t background = 0xFFFFFF; // under transparent pixels
};

// False when name is no readable picture (also for anything but a regular file).
bool LoadThumbnail(const QString& name, ThumbLoad& out, const ThumbLoadOptions& options = {});
