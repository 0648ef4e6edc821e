#pragma once

#include "raster/Buffer.h"

#include <cstdint>

// Distinct colours of a buffer (a view is fine). Only the 24 colour bits count, so mark bits
// never make two pixels differ.
//
// Small buffers (fewer than 524288 pixels) take 32 passes over a 64 KB table, one per value of
// the lowest five colour bits; larger ones one pass over a 2 MB table of one bit per colour.
// Both tables are the counter's own: nothing else is borrowed or disturbed. 0 when the table
// cannot be allocated.
struct ColourCountOptions {
    // Pixels holding the transparent brush value are left out rather than counted as black.
    bool skipTransparent = false;
};

int64_t CountColours(const Buffer& pixels, ColourCountOptions options = {});

// True when a buffer of that many pixels takes the one-pass table.
constexpr bool CountsWithFullTable(int64_t pixels) {
    return 4 * pixels >= 0x200000;
}
