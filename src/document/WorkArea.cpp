#include "document/WorkArea.h"

#include "raster/Buffer.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

int ClampToInt(int64_t v) {
    return int(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

} // namespace

Rect WorkBufferRect(bool clipping, Pair scroll, Pair client, ZoomRatio r) {
    if (!clipping) return {-UnboundedCoord, -UnboundedCoord, UnboundedCoord, UnboundedCoord};
    const Pair topLeft = ViewToImage(scroll, r);
    const Pair bottomRight = ViewToImage({ClampToInt(int64_t(client.x) + scroll.x - 1),
                                          ClampToInt(int64_t(client.y) + scroll.y - 1)},
                                         r);
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

bool RefreshWorkBuffer(Buffer& work, Buffer& image, bool clipping, Pair scroll, Pair client,
                       ZoomRatio r) {
    return work.Alloc(image, WorkBufferRect(clipping, scroll, client, r));
}
