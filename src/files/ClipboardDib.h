#pragma once

#include "raster/Buffer.h"

#include <QByteArray>

#include <cstdint>
#include <span>

// The picture as a device-independent bitmap for other programs, and bitmaps from them.

// A 40-byte header (32 bits per pixel, bottom-up, no compression) and the rows, the last one
// first, each pixel's mark bits cleared. Empty when there is no memory for it.
QByteArray PackedDibFromBuffer(const Buffer& image);
// The same behind the 14-byte file header ("image/bmp").
QByteArray BmpFileFromBuffer(const Buffer& image);

enum class DibImport {
    Ok,
    Partial, // some rows or colours could not be read; the rest is there
    Failed,  // nothing usable: out is untouched
};

// Decodes bytes that come from outside (a .bmp file's bytes when they start with "BM", else a
// packed bitmap) into a scratch buffer and moves it into out only when something was read.
// Every length is checked against the bytes present.
DibImport ImportDib(std::span<const uint8_t> bytes, Buffer& out);
