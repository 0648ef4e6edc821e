#include "document/DocumentTable.h"

bool DocumentTable::ConfirmDiscard() {
    ImageDoc& doc = CurrentDoc();
    if (!doc.Changed()) return false;
    const QString text =
        DisplayName(doc) + " [" + QString::number(current_ + 1) + "] " + Translate("Changed");
    const int answer = prompts_.Prompt(text, Translate("Warn"), MessageCode::YesNoCancelQuestion);
    if (answer == MessageCode::Yes) {
        if (!hooks.save || !hooks.save()) return true;
    } else if (answer == MessageCode::No) {
        doc.changeCount = 0;
    } else {
        return true; // Cancel, or the box closed without an answer
    }
    // The undo copy may hold the state before a save or the discarded edits: neither is to come
    // back by Undo.
    undo_.FreePixels();
    return false;
}

bool DocumentTable::ConfirmClose() {
    if (updateMode_) {
        ImageDoc& first = slots_[0];
        if (!first.untitled && !first.Changed()) return true;
        const int answer =
            messages_.MessageByKey("Update", "Warn", MessageCode::YesNoCancelQuestion);
        if (answer == MessageCode::No) return true;
        if (answer != MessageCode::Yes || !hooks.writeUpdateTarget) return false;
        Call(hooks.hideFeedback);
        TakeUndoSnapshot(first);
        hooks.writeUpdateTarget();
        return true;
    }

    // Each slot is made current only so that the prompt and Save act on it; the view keeps
    // showing the earlier one.
    const int earlier = current_;
    bool close = true;
    for (int i = 0; i < kSlotCount && close; ++i) {
        current_ = i;
        close = !ConfirmDiscard();
    }
    current_ = earlier;
    UpdateFileLabel(); // a Save as on another slot may have relabelled
    return close;
}
