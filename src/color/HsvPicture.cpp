#include "color/HsvPicture.h"

#include "color/Hsv.h"
#include "raster/Buffer.h"

#include <algorithm>

namespace HsvPicture {

void Draw(Buffer& target, int hue) {
    if (target.Empty()) return;
    hue %= 360;
    if (hue < 0) hue += 360;
    const int sector = hue / 60;
    const int rows = std::min(Size, target.Height());
    const int columns = std::min(Size, target.Width());
    for (int row = 0; row < rows; ++row) {
        const int v = 2 * row;
        // Saturation rises by 2 per column; k is V * 2 / 255 in 16.16.
        const int k = v * 131072 / 255;
        const int k2 = (hue % 60) * k / 60;
        int p = v << 16, q = v << 16, t = v << 16;
        uint32_t* out = target.Row(target.top + row);
        for (int c = 0; c < columns; ++c) {
            const int pc = p >> 16, qc = q >> 16, tc = t >> 16;
            out[c] = FromSector(sector, v, pc, qc, tc).Pixel();
            p -= k;
            q -= k2;
            t -= k - k2;
        }
    }
}

uint32_t MarkerColour(uint32_t pixel) {
    const int r = int((pixel >> 16) & 0xFF), g = int((pixel >> 8) & 0xFF), b = int(pixel & 0xFF);
    return 30 * r + 59 * g + 11 * b > 12799 ? 0x000000 : 0xFFFFFF;
}

void DrawMarker(Buffer& target, int s, int v, uint32_t currentColour) {
    const int x = std::clamp(s, 0, 255) >> 1, y = std::clamp(v, 0, 255) >> 1;
    target.PutPixel({target.left + x, target.top + y}, MarkerColour(currentColour));
}

} // namespace HsvPicture
