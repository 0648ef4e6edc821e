#include "document/ImageDoc.h"

#include <utility>

bool ImageDoc::MakeBlank(Pair size, uint32_t colour) {
    Buffer fresh;
    if (colour == 0) {
        if (!fresh.AllocZeroed(size)) return false;
    } else {
        if (!fresh.Alloc(size)) return false;
        fresh.Box(fresh.Bounds(), colour);
    }
    image = std::move(fresh);
    return true;
}

bool CopyImageDoc(const ImageDoc& from, ImageDoc& to) {
    if (&from == &to) return from.HasPixels();
    to.fileName = from.fileName;
    to.changeCount = from.changeCount;
    to.untitled = from.untitled;
    to.imageNumber = from.imageNumber;
    // Same size: copied in place. Fresh pages would cost a page fault each, and the undo copy is
    // taken at every action.
    if (from.HasPixels() && to.image.Width() == from.image.Width() &&
        to.image.Height() == from.image.Height() && !to.image.SharesPixelsWith(from.image)) {
        to.image.Copy(from.image, {to.image.left, to.image.top}, Pixel::CopyAll);
        return true;
    }
    Buffer pixels;
    const bool ok = from.HasPixels() && pixels.Alloc({from.image.Width(), from.image.Height()});
    if (ok) pixels.Copy(from.image, {0, 0}, Pixel::CopyAll);
    to.image = std::move(pixels);
    return ok;
}

void SwapImageDocs(ImageDoc& a, ImageDoc& b) {
    std::swap(a.image, b.image);
    std::swap(a.untitled, b.untitled);
    std::swap(a.changeCount, b.changeCount);
    std::swap(a.fileName, b.fileName);
    std::swap(a.imageNumber, b.imageNumber);
}
