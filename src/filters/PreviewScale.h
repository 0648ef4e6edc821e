#pragma once

#include "raster/Geometry.h"

class Buffer;

// The small previews of the filter windows and the components: the picture scaled to fit
// 120 x 90, each side at least one pixel.
namespace previewscale {

inline constexpr int BoxWidth = 120;
inline constexpr int BoxHeight = 90;

Pair FitSize(Pair picture);
// Scales picture into source and gives result the same size; on failure both are left empty.
bool Make(const Buffer& picture, Buffer& source, Buffer& result);

} // namespace previewscale
