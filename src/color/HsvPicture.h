#pragma once

// The colour selector's saturation/value picture: for a hue, the pixel in column c and row r
// (0 to 127) shows saturation 2c and value 2r, so black runs along the top and the pure hue sits
// at the bottom right.

#include <cstdint>

class Buffer;

namespace HsvPicture {
inline constexpr int Size = 128;

// Fills the picture for hue (360 counts as 0; other values are taken modulo 360) into the
// target's top-left Size x Size pixels, clipped to its bounds. Uses 16.16 fixed-point steps along
// each row rather than the per-pixel conversion, so it is fast but not identical to HsvToRgb.
void Draw(Buffer& target, int hue);

// Black on a light colour (30R + 59G + 11B above 12799), else white.
uint32_t MarkerColour(uint32_t pixel);

// Sets the picture pixel at (s >> 1, v >> 1) to the marker colour of the current colour.
// s and v are clamped to 0 to 255.
void DrawMarker(Buffer& target, int s, int v, uint32_t currentColour);
} // namespace HsvPicture
