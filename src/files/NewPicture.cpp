#include "files/NewPicture.h"

bool NewPicture(DocumentTable& docs, Pair size, uint32_t backColour) {
    ImageDoc& doc = docs.CurrentDoc();
    if (!doc.MakeBlank(size, backColour)) return false;
    doc.fileName.clear();
    doc.imageNumber = 1;
    doc.changeCount = 0;
    doc.untitled = true;
    if (docs.hooks.showCurrent) docs.hooks.showCurrent(true);
    docs.TakeUndoSnapshot(doc);
    docs.UpdateFileLabel();
    return true;
}
