#include "filters/PreviewScale.h"

#include "raster/Buffer.h"

#include <algorithm>
#include <cmath>

namespace previewscale {

Pair FitSize(Pair picture) {
    double f = double(BoxWidth) / std::max(picture.x, 1);
    f = std::min(f, double(BoxHeight) / std::max(picture.y, 1));
    return {std::max(1, int(std::lround(picture.x * f))),
            std::max(1, int(std::lround(picture.y * f)))};
}

bool Make(const Buffer& picture, Buffer& source, Buffer& result) {
    const Pair size = FitSize({picture.Width(), picture.Height()});
    if (picture.Empty() || !source.Alloc(size) || !result.Alloc(size)) {
        source.Free();
        result.Free();
        return false;
    }
    source.Scale(picture, size, {0, 0}, Pixel::CopyAll, true);
    return true;
}

} // namespace previewscale
