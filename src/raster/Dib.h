#pragma once

#include "raster/Buffer.h"

#include <cstdint>
#include <span>

// Device-independent bitmaps as found on the clipboard, from scanners and inside .bmp files.
//
// info: the header (12-byte core header or a 40/52/56/108/124-byte info header), followed by the
// bit-field masks when the compression asks for them and the colour table.
// bits: the pixel rows, bottom-up for a positive height, top-down for a negative one.
// dst is allocated at the bitmap's size. Every size, offset and count is checked against the
// bytes present; a malformed bitmap throws InvalidImageError (partial when rows were decoded),
// a bitmap too large to allocate throws LibraryError. Never reads outside the two spans.
void BitmapFromStream(Buffer& dst, std::span<const uint8_t> info, std::span<const uint8_t> bits);

// A packed bitmap (header, masks, colour table, then the pixels in one block), split and decoded.
void BitmapFromPacked(Buffer& dst, std::span<const uint8_t> packed);

// The bytes of a .bmp file: the 14-byte file header, whose pixel offset splits the rest into
// header block and pixels. A file that claims to be longer than it is reports a partial error
// after decoding in full.
void BitmapFromFileBytes(Buffer& dst, std::span<const uint8_t> file);
