#pragma once

#include "raster/Buffer.h"

#include <QString>

#include <cstdint>

// One image: a document slot, the undo copy, the custom brush and its mask, the open dialog's
// previews all use this record.
struct ImageDoc {
    Buffer image;
    // No file that Save may write to: Save acts as Save as.
    bool untitled = true;
    // Editing operations since the last load, New or save; 0 means unchanged.
    int32_t changeCount = 0;
    QString fileName;        // full path; empty for a new image
    int32_t imageNumber = 1; // within a multi-image file, from 1

    bool Changed() const { return changeCount != 0; }
    // One more editing operation. Wraps like the 32-bit counter it is rather than overflowing.
    void AddChange() { changeCount = int32_t(uint32_t(changeCount) + 1u); }
    bool HasPixels() const { return !image.Empty(); }
    void FreePixels() { image.Free(); }

    // Pixels of size filled with colour. On failure the record keeps its old pixels.
    bool MakeBlank(Pair size, uint32_t colour = 0);
};

// Makes to a copy of from: pixels (copy-all), file name, change count, untitled flag and image
// number. When from has no pixels, or the pixels cannot be allocated, to ends without pixels
// (never with stale ones) and false is returned; the other fields are copied either way.
bool CopyImageDoc(const ImageDoc& from, ImageDoc& to);

// Exchanges everything the two records hold.
void SwapImageDocs(ImageDoc& a, ImageDoc& b);
