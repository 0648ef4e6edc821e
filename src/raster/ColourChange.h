#pragma once

#include "raster/Buffer.h"

#include <cstdint>

namespace fill {

// Change Color over the whole buffer (a view changes only its part). Tolerance 0: exactly the
// pixels equal to source in all 32 bits become target. Above 0 (clamped to 765): every pixel
// whose colour distance to source is within it, where a pixel or a source carrying the fill
// mark is as far as 1024 from everything. Returns how many pixels changed.
int64_t ChangeColour(Buffer& work, uint32_t source, uint32_t target, int tolerance);

} // namespace fill
