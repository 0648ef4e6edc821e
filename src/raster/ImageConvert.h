#pragma once

#include "raster/Buffer.h"

#include <QImage>

#include <cstdint>
#include <functional>

// Pixel conversion between Qt images and buffers, row by row, for the file coding.

// Called with the share of rows done (percent, rising, ending at 100). It may throw to abort.
using RowProgress = std::function<void(int percent)>;

// What becomes of pixels that are not fully opaque.
struct AlphaRule {
    // true: alpha < 128 becomes transparent, the others keep their colour (a brush is loaded);
    // false: every pixel is composited over background.
    bool brush = false;
    uint32_t background = 0;
    uint32_t transparent = Pixel::Transparent;
};

// Writes img into dst, which must have img's size. img may already sit in dst's own pixels
// (decoded in place); the rows are then fixed up where they are. LibraryError when out of memory.
void ImageToBuffer(const QImage& img, Buffer& dst, const AlphaRule& rule,
                   const RowProgress& progress);

// The pixels of src (a view is fine) as an opaque RGB image, mark bits dropped.
// A null image when there is no memory for it.
QImage BufferToImage(const Buffer& src, const RowProgress& progress);

// Sets the top byte of every pixel of src to 0xFF, so that Qt can read the pixels as an RGB32
// image where they are, when every top byte is clear; false (src as it was) when one is not.
// Progress as for the conversions; if it throws, src is put back first.
bool MarkOpaque(Buffer& src, const RowProgress& progress);
// Clears the top byte of every pixel.
void ClearTopBytes(Buffer& src);
// Clears the edge mark, writing only the rows that hold one.
void ClearEdgeMarks(Buffer& src, const RowProgress& progress);
// Clears the edge mark in the n pixels of row, writing them only when one holds it. Eight pixels
// a step: a plain loop is not vectorised at our optimisation level and would cost a quarter of
// a JPEG save.
void ClearRowEdgeMarks(uint32_t* row, int n);

// True when pixels of this format can be used as they are (no strip conversion).
bool IsDirectFormat(QImage::Format format);
