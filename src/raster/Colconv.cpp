#include "raster/Colconv.h"

namespace Colconv {

void RGB32RGB24s(const uint32_t* src, uint8_t* dst, size_t count) {
    for (size_t i = 0; i < count; ++i, dst += 3) {
        const uint32_t p = src[i];
        dst[0] = uint8_t(p);
        dst[1] = uint8_t(p >> 8);
        dst[2] = uint8_t(p >> 16);
    }
}

} // namespace Colconv
