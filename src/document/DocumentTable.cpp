#include "document/DocumentTable.h"

#include <algorithm>
#include <utility>

DocumentTable::DocumentTable(MessageHost& messages, PromptHost& prompts, StatusHost& status)
    : messages_(messages), prompts_(prompts), status_(status) {}

ImageDoc& DocumentTable::Slot(int index) {
    return slots_[std::clamp(index, 0, kSlotCount - 1)];
}

const ImageDoc& DocumentTable::Slot(int index) const {
    return slots_[std::clamp(index, 0, kSlotCount - 1)];
}

int DocumentTable::IndexOf(const ImageDoc& doc) const {
    for (int i = 0; i < kSlotCount; ++i)
        if (&slots_[i] == &doc) return i;
    return -1;
}

void DocumentTable::SetUpdateMode(const QString& title) {
    updateMode_ = true;
    updateTitle_ = title;
}

bool DocumentTable::SwitchToDocument(int index) {
    if (index < 0 || index >= kSlotCount) return false;
    Call(hooks.hideFeedback);
    Call(hooks.deactivateTool);

    // The slot being entered gets its pixels before the one being left gives up its own, so a
    // failed switch leaves the current image as it was.
    ImageDoc& target = slots_[index];
    if (Blank(target) && !target.MakeBlank(blankSize)) {
        messages_.MessageByKey("ImgBig", "Err", MessageCode::OkWarning);
        ShowCurrent(false);
        Call(hooks.activateTool);
        return false;
    }
    // An untouched untitled image is not worth keeping: it comes back fresh when re-entered.
    if (index != current_ && Blank(CurrentDoc())) CurrentDoc().FreePixels();

    current_ = index;
    TakeUndoSnapshot(CurrentDoc());
    UpdateFileLabel();
    ShowCurrent(true);
    Call(hooks.activateTool);
    return true;
}

bool DocumentTable::NextImage() {
    return current_ < kSlotCount - 1 && SwitchToDocument(current_ + 1);
}

bool DocumentTable::PrevImage() {
    return current_ > 0 && SwitchToDocument(current_ - 1);
}

bool DocumentTable::TakeUndoSnapshot(const ImageDoc& doc) {
    if (&doc == &undo_) return undo_.HasPixels();
    // A shared copy would be overwritten in place, and with it the document it shares.
    if (undoShared_) undo_.image.Free();
    undoShared_ = false;
    return CopyImageDoc(doc, undo_);
}

void DocumentTable::ShareUndoSnapshot(ImageDoc& doc) {
    if (&doc == &undo_) return;
    undo_.fileName = doc.fileName;
    undo_.changeCount = doc.changeCount;
    undo_.untitled = doc.untitled;
    undo_.imageNumber = doc.imageNumber;
    if (doc.HasPixels())
        undo_.image.Alloc(doc.image, doc.image.Bounds());
    else
        undo_.image.Free();
    undoShared_ = undo_.HasPixels();
}

bool DocumentTable::DetachUndo() {
    if (!undoShared_) return true;
    undoShared_ = false;
    if (!undo_.HasPixels()) return true;
    Buffer own;
    if (!own.Alloc({undo_.image.Width(), undo_.image.Height()})) {
        undo_.image.Free();
        return false;
    }
    own.Copy(undo_.image, {0, 0}, Pixel::CopyAll);
    undo_.image = std::move(own);
    return true;
}

int DocumentTable::RestoreFromUndo(ImageDoc& doc) {
    if (&doc == &undo_ || !undo_.HasPixels()) return 1;
    ImageDoc restored;
    if (!CopyImageDoc(undo_, restored)) return 1;
    restored.image.Bool(1, Pixel::ClearMarks);
    doc = std::move(restored);
    if (IndexOf(doc) == current_) ShowCurrent(true);
    return 0;
}

bool DocumentTable::ExchangeWithUndo(ImageDoc& doc) {
    if (&doc == &undo_ || !undo_.HasPixels()) return false;
    SwapImageDocs(doc, undo_);
    doc.image.Bool(1, Pixel::ClearMarks);
    return true;
}

QString DocumentTable::Translate(const QString& key) const {
    return hooks.translate ? hooks.translate(key) : key;
}

QString DocumentTable::NameOrUntitled(const ImageDoc& doc) const {
    return doc.fileName.isEmpty() ? Translate("Untitled") : doc.fileName;
}

QString DocumentTable::DisplayName(const ImageDoc& doc) const {
    return updateMode_ ? updateTitle_ : NameOrUntitled(doc);
}

void DocumentTable::UpdateFileLabel() {
    status_.SetPanel(StatusPanel::File,
                     "[" + QString::number(current_ + 1) + "] " + DisplayName(CurrentDoc()));
}

std::array<DocumentTable::WindowMenuItem, DocumentTable::kSlotCount>
DocumentTable::WindowMenuItems() const {
    std::array<WindowMenuItem, kSlotCount> items;
    for (int i = 0; i < kSlotCount; ++i) {
        // The tenth item keeps its accelerator on the 0 so that Alt+0 reaches it.
        const QString number = i < 9 ? "  &" + QString::number(i + 1) : QString("1&0");
        items[i].caption = number + " " + NameOrUntitled(slots_[i]);
        items[i].checked = i == current_;
    }
    return items;
}
